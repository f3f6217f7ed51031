#pragma once
// The data-set state that "~/DataStatus" holds (0 saved, 1 online, 2 changed,
// 3 mixed) and the validity of the data set (1, or 2 when an element carries
// an error flag), worked out from the elements.
//
// Each element adds a share to them: changed, not online, not saved, invalid.
// The tally keeps every element's share and the number of elements with each
// kind, counts all of them once, and from then on works out anew only the
// shares of the elements written since (their change list, ElementChanges.h).
// It counts all of them again when the collection, the user level or the
// ident number selector (which decide which elements are transferred) changed
// since, or when asked to.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/elements/ElementChanges.h"
#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
class Parameters;
}

namespace dtm {

class clsDataElement;

struct DataSetStateResult {
    uint8_t state = 0;      // the value of "~/DataStatus"
    int32_t validity = 1;  // Parameters::DataSetState
    bool operator==(const DataSetStateResult&) const = default;
};

// What the elements of `parameters` give, each looked at in collection order:
// the session variables and the secrets, which the data set never keeps, do
// not count; `status` ("~/DataStatus") counts only for the validity and
// whether it is saved.
DataSetStateResult WalkDataSetState(const platform::P<platform::rt::DTMContext>& DTMContext,
                                    const platform::rt::Parameters& parameters, const clsDataElement& status,
                                    std::span<const platform::P<clsDataElement>> sessionVariables);

class DataSetStateTally {
public:
    // The same result as WalkDataSetState. False when a share could not be
    // worked out (an error on the way): the tally then counts all elements
    // next time, and the caller walks them, meeting the error where the walk
    // meets it, or not at all.
    bool Evaluate(const platform::P<platform::rt::DTMContext>& DTMContext, const platform::rt::Parameters& parameters,
                  const clsDataElement& status, std::span<const platform::P<clsDataElement>> sessionVariables,
                  DataSetStateResult& result);
    // The next evaluation counts every element.
    void Recount() noexcept { counted_ = false; }
    // The elements whose shares the last evaluation worked out.
    int32_t ElementsLookedAt() const noexcept { return lookedAt_; }

private:
    // What every element's share depends on besides the element itself.
    struct Basis {
        const platform::rt::Parameters* parameters = nullptr;
        uint64_t generation = 0;
        const clsDataElement* status = nullptr;
        int32_t userLevel = 0;
        int32_t selector = 0;  // SelectorState
        bool operator==(const Basis&) const = default;
    };
    static Basis BasisOf(const platform::P<platform::rt::DTMContext>& DTMContext,
                         const platform::rt::Parameters& parameters, const clsDataElement& status);
    void CountAll(const platform::P<platform::rt::DTMContext>& DTMContext, const platform::rt::Parameters& parameters,
                  const clsDataElement& status, std::span<const platform::P<clsDataElement>> sessionVariables);
    void CountWritten(const platform::P<platform::rt::DTMContext>& DTMContext, const clsDataElement& status,
                      std::span<const platform::P<clsDataElement>> sessionVariables);
    void Add(uint8_t share, int32_t sign) noexcept;
    DataSetStateResult Result() const noexcept;

    bool counted_ = false;
    Basis basis_;
    std::shared_ptr<ChangeList> changes_;
    std::vector<ChangeWatcher*> taken_;
    std::array<int32_t, 4> elementsWith_{};  // per share bit
    int32_t lookedAt_ = 0;
};

// For tests: when set, every result that a tally gives is handed over with
// the walk's beside it.
using DataSetStateCheck = void (*)(const DataSetStateResult& tally, const DataSetStateResult& walk);
void CheckDataSetStateWith(DataSetStateCheck check) noexcept;
DataSetStateCheck DataSetStateCheckInUse() noexcept;

}  // namespace dtm
