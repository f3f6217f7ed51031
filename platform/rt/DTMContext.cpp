#include "platform/rt/DTMContext.h"

#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/ParameterService.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/UserInfo.h"

namespace platform::rt {

DTMContext::DTMContext(CreateKey)
    : pathInfo_(std::make_shared<DtmPathInfo>()),
      deviceType_(std::make_shared<DtmRuntimeGlobal>()),
      parameterService_(std::make_shared<rt::ParameterService>()),
      parameters_(std::make_shared<rt::Parameters>()),
      dictionary_(std::make_shared<LanguageDictionary>()) {}

DTMContext::~DTMContext() = default;

P<DTMContext> DTMContext::Create() {
    auto ctx = std::make_shared<DTMContext>(CreateKey{});
    W<DTMContext> self = ctx;
    ctx->parameters_->Context(ctx);
    ctx->parameters_->Channels(std::make_shared<ChannelList>(self));
    ctx->onlineService_ = std::make_shared<rt::OnlineService>(self);
    ctx->guiRegistry_ = std::make_shared<DtmGuiRegistry>(self);
    ctx->userInfo_ = std::make_shared<rt::UserInfo>(self);
    ctx->commService_ = std::make_shared<DtmCommService>(self);
    return ctx;
}

void DTMContext::InitContext(const P<com::Object>& dtm, const P<IPrivateDataModel>& model,
                             const P<CommObj>& commObj, const P<IPrivateFunctions>& functions) {
    dtm_ = dtm;
    model_ = model;
    parameters_->DataModel(model);
    commService_->CommObj(commObj);
    functions_ = functions;
}

P<fdt::IFdtContainer> DTMContext::Container() const { return container_.lock(); }

void DTMContext::Container(const P<fdt::IFdtContainer>& container) {
    container_ = container;
    events_ = std::dynamic_pointer_cast<fdt::IDtmEvents>(container);
}

P<fdt::IDtmEvents> DTMContext::DTMEvents() const { return events_.lock(); }

void DTMContext::DTMEvents(const P<fdt::IDtmEvents>& events) { events_ = events; }

int32_t DTMContext::UserLevel() const { return userInfo_->UserLevel(); }

}  // namespace platform::rt

namespace platform::rt {

bool DTMContext::LangText(const std::string& key, std::string& text) {
    const auto section = dictionary_->SectionNode("keys");
    const Variant found = section ? dictionary_->LookupText(section, key, "text") : Variant();
    if (!found.IsString()) {
        text = key;
        return false;
    }
    text = dictionary_->ExpandReferences(found.StrRef(), section, "text");
    return true;
}

}  // namespace platform::rt
