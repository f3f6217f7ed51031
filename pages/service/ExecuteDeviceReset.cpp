#include "pages/service/ExecuteDeviceReset.h"

#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransactionResult.h"

namespace dtm {

namespace com = platform::com;

GroupWriteResult ExecuteDeviceReset(PageBase& page, const platform::P<platform::rt::DTMContext>& ctx,
                                    ConfirmedGroupWriter& writer, platform::rt::TransGrp& group,
                                    const platform::Variant& previous) {
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    GroupWriteRequest request;
    request.promptKey = "acknowledge_reset";
    request.write = params.Item(kFactoryResetPath);
    request.arg1 = GetValueListText(com::Deref(std::dynamic_pointer_cast<clsDataElement>(request.write)));
    request.previous = previous;
    request.reads = {params.Item("PHYS/DIAGNOSIS"), params.Item("PHYS/DIAGNOSIS_EXTENSION")};
    request.sayNotTaken = true;
    return writer.Write(page, group, request);
}

bool TakeBusAddressReset(const platform::P<platform::rt::DTMContext>& ctx, const std::string& invokeId) {
    auto& params = com::Deref(com::Deref(ctx).Parameters());
    for (const auto& result : com::Deref(ctx->CommService()).GetTransactionResults(invokeId)) {
        const auto element = std::dynamic_pointer_cast<clsDataElement>(result.DataElement);
        if (!element || element->Name != kFactoryResetPath || !result.IsWrite || result.Failed) continue;
        const auto address = params.Item("~/Address");
        auto& el = com::Deref(std::dynamic_pointer_cast<clsDataElement>(address));
        el.TransientValue = el.DeviceValue = el.PersistentValue = platform::Variant::Int(kBusAddressAfterReset);
        params.NotifyChanged(address, "");
        return true;
    }
    return false;
}

}  // namespace dtm
