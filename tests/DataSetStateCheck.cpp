// Linked into every test executable: each data-set state that the model works
// out from the elements written since its last count is checked against the
// walk over every element, in every test that evaluates the state.
#include <gtest/gtest.h>

#include "model/elements/DataSetState.h"

namespace {

void CompareWithWalk(const dtm::DataSetStateResult& tally, const dtm::DataSetStateResult& walk) {
    if (tally == walk) return;
    ADD_FAILURE() << "data-set state " << static_cast<int>(tally.state) << ", validity " << tally.validity
                  << " from the written elements; " << static_cast<int>(walk.state) << ", validity " << walk.validity
                  << " from every element";
}

const bool kCheckInstalled = [] {
    dtm::CheckDataSetStateWith(CompareWithWalk);
    return true;
}();

}  // namespace
