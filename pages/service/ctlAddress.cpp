#include "pages/service/ctlAddress.h"

#include "core/channels/clsChannel.h"
#include "core/services/HelpFile.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/clsParamLink.h"
#include "pages/service/ExecuteDeviceReset.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm {

namespace app = platform::app;
namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
namespace ctl = platform::ctl;
using platform::Variant;

namespace {

constexpr int32_t kReadOnlyFlag = 1;
constexpr int32_t kChannelCount = 16;

clsDataElement& ElementOf(const rt::Parameters& params, const std::string& path) {
    return com::Deref(std::dynamic_pointer_cast<clsDataElement>(params.Item(path)));
}

// Raises the page's flag of its own change for a notice.
class ChangingScope {
public:
    explicit ChangingScope(bool& changing) : changing_(changing), was_(changing) { changing_ = true; }
    ~ChangingScope() { changing_ = was_; }
    ChangingScope(const ChangingScope&) = delete;
    ChangingScope& operator=(const ChangingScope&) = delete;

private:
    bool& changing_;
    bool was_;
};

// The persistent value, or the transient one while there is none.
Variant SavedValueOf(const clsDataElement& element) {
    return element.PersistentValue.IsEmpty() ? element.TransientValue : element.PersistentValue;
}

}  // namespace

ctlAddress::ctlAddress() : NavigablePage(PageTraits{.className = "ctlAddress", .container = true}) {}

void ctlAddress::BuildForm() {
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    HelpButton = Place<ui::CommandButton>("HelpButton");
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
    com::PropertyBag statusDesign;
    statusDesign.WriteProperty("CyclicRefresh", Variant::Bool(false));
    ctlStatus = Place<dtm::ctlStatus>("ctlStatus", std::nullopt, nullptr, &statusDesign);
    frmAddress = Place<ui::Frame>("frmAddress");
    const auto row = [this](const char* name, const char* tag) {
        auto r = Place<ctl::ctlParameter>(name, std::nullopt, frmAddress.get());
        r->parameterTag(tag);
        r->LabelText(tag);
        r->ControlType(ctl::kRowPlain);
        return r;
    };
    ctlParameter1 = row("ctlParameter1", kAddressPath);
    ctlParameter2 = row("ctlParameter2", kNewAddressPath);
    // No code reads the option buttons.
    Place<ui::OptionButton>("optAddrChange", 0, frmAddress.get());
    Place<ui::OptionButton>("optAddrChange", 1, frmAddress.get());
    cmdChange = Place<ui::CommandButton>("cmdChange", std::nullopt, frmAddress.get());
    cmdChange->Click.Connect([this] { cmdChange_Click(); });
    cmdAddrReset = Place<ui::CommandButton>("cmdAddrReset", std::nullopt, frmAddress.get());
    cmdAddrReset->Click.Connect([this] { cmdAddrReset_Click(); });
    cmdCancel = Place<ui::CommandButton>("cmdCancel");
    cmdCancel->Click.Connect([this] { cmdCancel_Click(); });
    PlaceTemplateControls();
}

void ctlAddress::InitControls() {
    NavigablePage::InitControls();
    m_TransGrp = std::make_shared<rt::TransGrp>();
    m_TransGrp->InitGroup(GetContext());
    // Until the first validation request Cancel restores the values the page opened with.
    SaveValues();
}

bool ctlAddress::ExitControls() {
    NavigablePage::ExitControls();
    writer_.PageClosed(*this);
    if (m_TransGrp) m_TransGrp->ReleaseGroup();
    return true;
}

void ctlAddress::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
    HelpButton->Caption(KeyText("help_button_text"));
}

void ctlAddress::AfterInit() { UpdateAddressLock(); }

void ctlAddress::UpdateAddressLock() {
    const auto ctx = GetContext();
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    const auto newAddress = params.Item(kNewAddressPath);
    const auto address = params.Item(kAddressPath);
    const auto& channels = com::Deref(params.Channels());
    bool locked = false;
    for (int32_t i = 1; i <= kChannelCount && i <= channels.Count(); ++i) {
        const auto channel = std::dynamic_pointer_cast<clsChannel>(channels.Item(i));
        if (channel && com::Deref(channel->ProfibusChannelParameter()).ChannelLocked()) locked = true;
    }
    for (const auto& element : {newAddress, address}) {
        auto& el = dynamic_cast<clsDataElement&>(com::Deref(element));
        if (locked)
            el.SetStatusFlag(kReadOnlyFlag);
        else
            el.ClearStatusFlag(kReadOnlyFlag);
    }
    // Flags only: the pages redraw, the data set stays unmodified.
    ctx->GuiRegistry()->NotifyParameterChanged(newAddress, "");
    ctx->GuiRegistry()->NotifyParameterChanged(address, "");
}

void ctlAddress::ValidateAllParameterCtls() {
    NavigablePage::ValidateAllParameterCtls();
    SaveValues();
}

void ctlAddress::SaveValues() {
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    for (auto [value, path] : {std::pair{&m_Address, kAddressPath}, {&m_NewAddress, kNewAddressPath}}) {
        const clsDataElement& element = ElementOf(params, path);
        *value = {SavedValueOf(element), element.TransientValue, element.PersistentValue};
    }
}

bool ctlAddress::OwnChange() const {
    if (m_Changing) return true;
    if (!ctlParamSite1) return false;
    for (const auto& bound : ctlParamSite1->Links()) {
        const auto link = std::dynamic_pointer_cast<clsParamLink>(bound.link);
        if (link && link->Committing()) return true;
    }
    return false;
}

void ctlAddress::Follow(CancelValue& value, const clsDataElement& element) const {
    const bool changed = !com::Identical(element.TransientValue, value.transient) ||
                         !com::Identical(element.PersistentValue, value.persistent);
    if (changed && !OwnChange()) value.saved = element.TransientValue;
    value.transient = element.TransientValue;
    value.persistent = element.PersistentValue;
}

void ctlAddress::UpdateParameterCtl(const platform::P<rt::IPrivateDataElement>& element) {
    NavigablePage::UpdateParameterCtl(element);
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    for (auto [value, path] : {std::pair{&m_Address, kAddressPath}, {&m_NewAddress, kNewAddressPath}}) {
        const clsDataElement& own = ElementOf(params, path);
        if (element.get() == &own) Follow(*value, own);
    }
}

void ctlAddress::ParameterSetChanged() {
    NavigablePage::ParameterSetChanged();
    if (!Initialised()) return;
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    Follow(m_Address, ElementOf(params, kAddressPath));
    Follow(m_NewAddress, ElementOf(params, kNewAddressPath));
}

bool ctlAddress::UserMayChange() const {
    const auto ctx = GetContext();
    if (com::Deref(ctx).UserLevel() >= kRequiredUserLevel) return true;
    ctx->MsgBox(GetLangText(ctx, "error_user_level_too_low"), app::kButtonsOKExclamation);
    return false;
}

bool ctlAddress::AddressMayTake(const Variant& newAddress) const {
    const auto ctx = GetContext();
    const clsDataElement& address = ElementOf(com::Deref(com::Deref(ctx).Parameters()), kAddressPath);
    if (address.CalcParamErrorFlags(ctx, newAddress) == 0) return true;
    Variant lowest, highest;
    address.GetRange(0, lowest, highest);
    ctx->MsgBox(GetLangText(ctx, "error_address_out_of_range", newAddress.IsNull() ? Variant() : newAddress,
                            lowest, highest),
                app::kButtonsOKExclamation);
    return false;
}

void ctlAddress::cmdChange_Click() {
    if (!UserMayChange()) return;
    auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    const Variant newAddress = ElementOf(params, kNewAddressPath).TransientValue;
    if (!AddressMayTake(newAddress)) return;
    ElementOf(params, kAddressPath).TransientValue = newAddress;
    {
        const ChangingScope changing(m_Changing);
        params.NotifyChanged(params.Item(kAddressPath), "");
    }
    Trace("cmdChange_Click", "");
}

void ctlAddress::cmdAddrReset_Click() {
    if (!UserMayChange()) return;
    const auto ctx = GetContext();
    auto& command = ElementOf(com::Deref(com::Deref(ctx).Parameters()), kFactoryResetPath);
    const Variant previous = command.TransientValue;
    command.TransientValue = Variant::Int(kBusAddressResetCommand);
    ExecuteDeviceReset(*this, ctx, writer_, com::Deref(m_TransGrp), previous);
    Trace("cmdAddrReset_Click", "");
}

void ctlAddress::OnProcessFinished(const std::string& invokeId, const Variant&) {
    Trace("IPrivateProcess_OnProcessFinished", "Beginning");
    // A reset the device took sets "~/Address" to 126, whose notice makes 126
    // what Cancel sets back to.
    if (m_TransGrp) writer_.Finished(*this, *m_TransGrp, invokeId);
}

void ctlAddress::cmdCancel_Click() {
    Trace("cmdCancel_Click", "");
    const auto ctx = GetContext();
    auto& params = com::Deref(com::Deref(ctx).Parameters());
    for (auto [value, path] : {std::pair{&m_NewAddress, kNewAddressPath}, {&m_Address, kAddressPath}}) {
        clsDataElement& element = ElementOf(params, path);
        if (com::Identical(element.TransientValue, value->saved)) continue;
        element.TransientValue = value->saved;
        const ChangingScope changing(m_Changing);
        params.NotifyChanged(params.Item(path), "");
    }
    bool closing = true;
    try {
        if (const auto container = ctx->Container()) closing = container->CloseRequest(InvokeId());
    } catch (...) {
        // no frame to ask: the values are restored, the page stays
    }
    if (!closing) ctx->MsgBox(GetLangText(ctx, "key_IFdtActiveX_not_supported"), app::kButtonsOKOnly);
}

void ctlAddress::HelpButton_Click() {
    ShowHelpFile(GetContext(), hWnd());
    Trace("HelpButton_Click", "");
}

}  // namespace dtm
