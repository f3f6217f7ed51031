#include "frame/ModelInstance.h"

#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"

namespace dtm::frame {

namespace {
constexpr int32_t kEnglish = 1033;
}

ModelInstance NewModelInstance(const std::string& deviceTypeName, bool initialise) {
    ModelInstance instance{platform::rt::DTMContext::Create(), std::make_shared<clsDataModel>()};
    instance.ctx->InitContext(nullptr, instance.model, nullptr, nullptr);
    instance.ctx->DeviceType()->DeviceTypeName(platform::Variant(deviceTypeName));
    instance.model->CreateModel(instance.ctx);
    if (initialise) {
        auto registry = instance.ctx->GuiRegistry();
        if (registry->LanguageId() == 0) registry->LanguageId(kEnglish);
        instance.ctx->InitNewInstance(instance.ctx->DeviceType());
    }
    return instance;
}

}  // namespace dtm::frame
