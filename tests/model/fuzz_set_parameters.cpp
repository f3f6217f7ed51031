// Fuzz target: parameter documents of any text, applied to a whole model
// instance.
//
// Checked for every input: SetParameters neither throws nor crashes, the data
// set update has ended afterwards, and every value the document changed fits
// its element (type, range, length). The changed elements are then put back,
// so that every input meets the same model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/ModelInstance.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/ParameterService.h"
#include "platform/rt/Parameters.h"

namespace {

using platform::Variant;

struct Saved {
    Variant value;
    int16_t unit;
    bool validity;
    std::string description;
};

[[noreturn]] void Fail() { std::abort(); }

dtm::frame::ModelInstance& Instance() {
    static dtm::frame::ModelInstance instance = dtm::frame::NewModelInstance("RXD 218");
    return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& instance = Instance();
    auto& params = instance.Parameters();
    std::vector<std::shared_ptr<dtm::clsDataElement>> elements;
    std::vector<Saved> saved;
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<dtm::clsDataElement>(item);
        elements.push_back(el);
        saved.push_back({el->TransientValue, el->nTransientUnit, el->Validity(), el->Description});
    }

    const std::string document(reinterpret_cast<const char*>(data), size);
    try {
        instance.ctx->ParameterService()->SetParameters(document, instance.ctx, "", 64);
    } catch (...) {
        Fail();  // no document may make the service raise
    }
    if (params.UpdateInProgress()) Fail();

    for (size_t i = 0; i < elements.size(); ++i) {
        auto& el = *elements[i];
        if (!platform::com::Identical(el.TransientValue, saved[i].value) && el.Name != "~/DataStatus" &&
            el.Name != "~/Tag" && !el.FitsElement(el.TransientValue, instance.ctx))
            Fail();
        el.TransientValue = saved[i].value;
        el.nTransientUnit = saved[i].unit;
        el.Validity(saved[i].validity);
        el.Description = saved[i].description;
    }
    return 0;
}
