#include "frame/ModelInstance.h"

#include <utility>

#include "platform/rt/DtmRuntimeGlobal.h"

namespace dtm::frame {

ModelInstance NewModelInstance(const std::string& deviceTypeName, bool initialise) {
    return NewModelInstance(std::make_shared<clsDataModel>(), deviceTypeName, initialise);
}

ModelInstance NewModelInstance(std::shared_ptr<clsDataModel> model, const std::string& deviceTypeName,
                               bool initialise) {
    ModelInstance instance{platform::rt::DTMContext::Create(), std::move(model)};
    instance.ctx->InitContext(nullptr, instance.model, nullptr, nullptr);
    instance.ctx->DeviceType()->DeviceTypeName(platform::Variant(deviceTypeName));
    instance.model->CreateModel(instance.ctx);
    if (initialise) instance.ctx->InitNewInstance(instance.ctx->DeviceType());
    return instance;
}

}  // namespace dtm::frame
