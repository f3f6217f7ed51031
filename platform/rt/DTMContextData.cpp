// DTMContext: a new instance's data set, loading and saving the data set, and
// the instance's error reports and message boxes.
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateChannel.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/Parameters.h"

namespace platform::rt {

namespace {

std::vector<P<IPrivateChannel>> ChannelsOf(const Parameters& parameters) {
    std::vector<P<IPrivateChannel>> channels;
    if (auto list = parameters.Channels())
        for (int32_t i = 1; i <= list->Count(); ++i)
            if (auto channel = std::dynamic_pointer_cast<IPrivateChannel>(list->Item(i))) channels.push_back(channel);
    return channels;
}

// UpdateInProgress on for the scope, off again on every way out.
class UpdateScope {
public:
    explicit UpdateScope(Parameters& parameters) : parameters_(parameters) { parameters_.UpdateInProgress(true); }
    ~UpdateScope() { parameters_.UpdateInProgress(false); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    Parameters& parameters_;
};

}  // namespace

void DTMContext::InitNewInstance(const P<DtmRuntimeGlobal>& probe) {
    auto self = shared_from_this();
    if (probe) deviceType_->InitFrom(*probe);
    {
        UpdateScope update(*parameters_);
        for (const auto& element : *parameters_) element->InitNew(probe, self);
        for (const auto& channel : ChannelsOf(*parameters_)) channel->InitNew(probe, self);
        if (model_) model_->DataSetChanged(self);
    }
    if (model_) model_->SetLanguage(self, guiRegistry_->LanguageId());
    guiRegistry_->NotifyParameterSetChanged();
    parameters_->Modified(true);
}

void DTMContext::LoadData(com::PropertyBag& bag) {
    auto self = shared_from_this();
    {
        UpdateScope update(*parameters_);
        deviceType_->LoadFromBag(bag);
        entriesNotTaken_.clear();
        for (const auto& element : *parameters_)
            if (!element->ReadFromPropBag(bag, self)) entriesNotTaken_.push_back(element->Name());
        for (const auto& channel : ChannelsOf(*parameters_)) channel->ReadFromPropBag(bag, self);
        for (const auto& registered : registered_) registered.object->Load(bag, registered.typeName + ".");
        if (model_) model_->DataSetChanged(self);
    }
    if (model_) model_->SetLanguage(self, guiRegistry_->LanguageId());
    guiRegistry_->NotifyParameterSetChanged();
    parameters_->Modified(false);
}

void DTMContext::SaveData(com::PropertyBag& bag) {
    auto self = shared_from_this();
    deviceType_->SaveToBag(bag);
    for (const auto& element : *parameters_) element->WriteToPropBag(bag, self);
    for (const auto& channel : ChannelsOf(*parameters_)) channel->WriteToPropBag(bag, self);
    for (const auto& registered : registered_) registered.object->Save(bag, registered.typeName + ".");
    parameters_->Modified(false);
}

void DTMContext::RegisterObject(const P<com::IPersistable>& object, const std::string& typeName,
                                const Variant& arg1, const Variant& arg2) {
    com::Deref(object);
    registered_.push_back({object, typeName, arg1, arg2});
}

void DTMContext::ReportError(const std::string& text) noexcept {
    try {
        reportedErrors_.push_back(text);
        if (auto events = DTMEvents()) events->OnErrorMessage(systemTag_, text);
    } catch (...) {
    }
}

int32_t DTMContext::MsgBox(const std::string& prompt, int32_t buttons, const Variant&, const Variant&,
                           const Variant&) {
    return app::MessageBoxHandler::Instance().Show(prompt, buttons);
}

}  // namespace platform::rt
