#include "pages/framework/clsParamLinkOnline.h"

#include <type_traits>

#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/OnlineService.h"

// The command members of the online service are referenced weakly, so that a
// runtime library built without them still loads: a member that is missing
// answers as a service that is not connected would (state 0, not started).
namespace {
using platform::P;
using platform::rt::IPrivateProcess;
using platform::rt::OnlineService;

static int32_t OnlineStateRef(const OnlineService*)
    __attribute__((weakref("_ZNK8platform2rt13OnlineService11OnlineStateEv")));
static bool StartCommandRef(OnlineService*, const std::string&, const std::string&, const P<IPrivateProcess>&)
    __attribute__((weakref("_ZN8platform2rt13OnlineService12StartCommandERKNSt7__cxx1112basic_stringIcSt11char_"
                           "traitsIcESaIcEEES9_RKSt10shared_ptrINS0_15IPrivateProcessEE")));
static void DropRequestRef(OnlineService*, const std::string&)
    __attribute__((weakref("_ZN8platform2rt13OnlineService11DropRequestERKNSt7__cxx1112basic_stringIcSt11char_"
                           "traitsIcESaIcEEE")));
// The names above are those of these declarations; a changed declaration must change them too.
static_assert(std::is_same_v<decltype(&OnlineService::OnlineState), int32_t (OnlineService::*)() const>);
static_assert(std::is_same_v<decltype(&OnlineService::StartCommand),
                             bool (OnlineService::*)(const std::string&, const std::string&, const P<IPrivateProcess>&)>);
static_assert(std::is_same_v<decltype(&OnlineService::DropRequest), void (OnlineService::*)(const std::string&)>);
}  // namespace

namespace dtm {

int32_t LinkOnlineState(const P<platform::rt::DTMContext>& ctx) {
    auto service = ctx ? ctx->OnlineService() : nullptr;
    if (!service || !OnlineStateRef) return 0;
    return OnlineStateRef(service.get());
}

bool LinkStartCommand(const P<platform::rt::DTMContext>& ctx, const std::string& invokeId,
                      const std::string& elementName, const P<IPrivateProcess>& callback) {
    auto service = ctx ? ctx->OnlineService() : nullptr;
    if (!service || !StartCommandRef) return false;
    return StartCommandRef(service.get(), invokeId, elementName, callback);
}

void LinkDropRequest(const P<platform::rt::DTMContext>& ctx, const std::string& invokeId) {
    auto service = ctx ? ctx->OnlineService() : nullptr;
    if (service && DropRequestRef) DropRequestRef(service.get(), invokeId);
}

bool LinkCommandsAvailable() { return StartCommandRef != nullptr; }

}  // namespace dtm
