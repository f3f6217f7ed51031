#pragma once
// The model build: every element one DTM instance will ever have, in a fixed
// order: the DTM-internal variables, the device directory, the slave parameter
// set variables, every block with its manufacturer-specific part, slot and
// index of every element, and the process-data channels.
#include <memory>

namespace platform::rt {
class DTMContext;
}

namespace dtm {

// Resets the context's collection and builds the whole model into it. Errors of
// the builders reach the caller; only the trace-file size check ignores them.
void CreateDataModel(const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

}  // namespace dtm
