#include "pages/framework/clsParamLinkOnline.h"

#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/OnlineService.h"

namespace dtm {

using platform::P;

int32_t LinkOnlineState(const P<platform::rt::DTMContext>& ctx) {
    auto service = ctx ? ctx->OnlineService() : nullptr;
    return service ? service->OnlineState() : 0;
}

bool LinkStartCommand(const P<platform::rt::DTMContext>& ctx, const std::string& invokeId,
                      const std::string& elementName, const P<platform::rt::IPrivateProcess>& callback) {
    auto service = ctx ? ctx->OnlineService() : nullptr;
    return service && service->StartCommand(invokeId, elementName, callback);
}

void LinkDropRequest(const P<platform::rt::DTMContext>& ctx, const std::string& invokeId) {
    if (auto service = ctx ? ctx->OnlineService() : nullptr) service->DropRequest(invokeId);
}

}  // namespace dtm
