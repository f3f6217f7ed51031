#include "platform/rt/DtmCommService.h"

#include <utility>

#include "platform/com/Error.h"
#include "platform/rt/IPrivateDataElement.h"

namespace platform::rt {

void DtmCommService::AddUploadRequest(const P<IPrivateDataElement>& element, int32_t /*arg1*/,
                                      bool /*arg2*/, int32_t /*arg3*/, int32_t& result) {
    if (!element) {
        result = com::errObjectNotSet;
        return;
    }
    readBackRequests_.push_back(element);
    result = 0;
}

bool DtmCommService::TakeRepeatRequest() { return std::exchange(repeatRequested_, false); }

std::vector<P<IPrivateDataElement>> DtmCommService::TakeReadBackRequests() {
    return std::exchange(readBackRequests_, {});
}

}  // namespace platform::rt
