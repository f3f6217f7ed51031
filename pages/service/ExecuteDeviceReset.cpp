#include "pages/service/ExecuteDeviceReset.h"

#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;

GroupWriteResult ExecuteDeviceReset(PageBase& page, const platform::P<platform::rt::DTMContext>& ctx,
                                    platform::rt::TransGrp& group, const platform::Variant& previous) {
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    GroupWriteRequest request;
    request.promptKey = "acknowledge_reset";
    request.write = params.Item(kFactoryResetPath);
    request.arg1 = GetValueListText(com::Deref(std::dynamic_pointer_cast<clsDataElement>(request.write)));
    request.previous = previous;
    request.reads = {params.Item("PHYS/DIAGNOSIS"), params.Item("PHYS/DIAGNOSIS_EXTENSION")};
    return ConfirmedGroupWrite(page, group, request);
}

}  // namespace dtm
