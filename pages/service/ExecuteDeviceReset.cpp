#include "pages/service/ExecuteDeviceReset.h"

#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;

namespace {

// The device took a bus address reset: "~/Address" becomes 126 in its
// transient, device and persistent value, and the open pages hear of it.
void TakeBusAddressReset(const platform::P<platform::rt::DTMContext>& ctx) {
    auto& params = com::Deref(com::Deref(ctx).Parameters());
    const auto address = params.Item("~/Address");
    auto& el = com::Deref(std::dynamic_pointer_cast<clsDataElement>(address));
    el.TransientValue = el.DeviceValue = el.PersistentValue = platform::Variant::Int(kBusAddressAfterReset);
    params.NotifyChanged(address, "");
}

}  // namespace

GroupWriteResult ExecuteDeviceReset(PageBase& page, const platform::P<platform::rt::DTMContext>& ctx,
                                    ConfirmedGroupWriter& writer, platform::rt::TransGrp& group,
                                    const platform::Variant& previous) {
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    GroupWriteRequest request;
    request.promptKey = "acknowledge_reset";
    request.write = params.Item(kFactoryResetPath);
    const auto& command = com::Deref(std::dynamic_pointer_cast<clsDataElement>(request.write));
    request.arg1 = GetValueListText(command);
    request.previous = previous;
    request.reads = {params.Item("PHYS/DIAGNOSIS"), params.Item("PHYS/DIAGNOSIS_EXTENSION")};
    request.sayNotTaken = true;
    // Only the bus address reset moves the device to the default address; the
    // DTM follows it also when the page has closed before the device's answer.
    if (com::Identical(command.TransientValue, platform::Variant::Int(kBusAddressResetCommand))) {
        const platform::W<platform::rt::DTMContext> weak = ctx;
        request.whenTaken = [weak] {
            if (const auto context = weak.lock()) TakeBusAddressReset(context);
        };
    }
    return writer.Write(page, group, request);
}

}  // namespace dtm
