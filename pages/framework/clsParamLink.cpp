#include "pages/framework/clsParamLink.h"

#include "core/services/APIHelpers.h"
#include "core/services/ProjectHelpers.h"
#include "core/services/Trace.h"
#include "model/build/ChangeDispatch.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "pages/framework/clsParamLinkBits.h"
#include "pages/framework/clsParamLinkOnline.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/ctl/ctlParamHelp.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/UserControl.h"

namespace dtm {

namespace app = platform::app;
using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace ctl = platform::ctl;

namespace {

constexpr int32_t kFlagNeeded = 0x8;
constexpr int32_t kFlagUserChangedOnline = 0x20;
constexpr int32_t kFlagsInputErrors = 0xF000;
constexpr int32_t kMaskChange = 0xFF0008;
constexpr int32_t kGreyText = static_cast<int32_t>(0x80000011u);
constexpr int32_t kMaxDescriptionLength = 70;
constexpr int32_t kKeyF1 = 112;
constexpr int32_t kShiftOnly = 1;

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The row kind the element's value type gives when neither side chose one.
int32_t KindOfValueType(int32_t valueType) {
    switch (valueType) {
        case 2: return ctl::kRowValueList;
        case 10: return ctl::kRowChosenForType10;
        case 5: case 6: case 7: case 8: case 9: case 11: case 12: case 13: case 14: case 15: case 16:
            return ctl::kRowPlain;
        default: return ctl::kRowNotChosen;
    }
}

// Keeps the link's change depth raised while it notifies its own change.
class DepthScope {
public:
    explicit DepthScope(int32_t& depth) : depth_(depth) { ++depth_; }
    ~DepthScope() { --depth_; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

private:
    int32_t& depth_;
};

}  // namespace

std::string ExpandParameterTag(const std::string& tag, int32_t index, const std::string& channel,
                               const std::string& prefix) {
    std::string out = tag;
    ReplaceAll(out, "%d", std::to_string(index));
    ReplaceAll(out, "%ch", channel);
    ReplaceAll(out, "%blk", prefix);
    return out;
}

clsParamLink::~clsParamLink() {
    if (m_ParamCtl) m_ParamCtl->EventSink(nullptr);
}

P<ctl::IPrivateParamLink> clsParamLink::GetNewParamLink() {
    auto link = std::make_shared<clsParamLink>();
    link->index = index;
    link->channel = channel;
    link->Prefix = Prefix;
    link->bDisplayDPV1Index = bDisplayDPV1Index;
    link->bOnlineMode = bOnlineMode;
    return link;
}

platform::rt::El clsParamLink::DataElement() const { return m_DataElement; }

clsParamLink::Ctx clsParamLink::Context() const {
    auto ctx = m_Context.lock();
    if (!ctx) com::Raise(com::errObjectNotSet);
    return ctx;
}

clsDataElement& clsParamLink::Element() const {
    if (!m_DataElement) com::Raise(com::errObjectNotSet);
    return *m_DataElement;
}

std::string clsParamLink::GetDictText(const std::string& key) const {
    auto dictionary = Context()->Dictionary();
    const Variant text = dictionary ? dictionary->LookupText("keys", key, "text") : Variant();
    return text.IsEmpty() || text.IsNull() ? key : com::CStr(text);
}

void clsParamLink::InitLink(const Ctx& ctx, const P<ctl::ctlParameter>& row, const P<com::Collection>& images,
                            const std::string& /*guiInvokeId*/) {
    if (!ctx || !row) com::Raise(com::errObjectNotSet);
    m_Context = ctx;
    const std::string tag = ExpandParameterTag(row->parameterTag(), index, channel, Prefix);
    P<clsDataElement> element;
    try {
        element = std::dynamic_pointer_cast<clsDataElement>(ctx->Parameters()->Item(tag));
    } catch (const com::ComError& e) {
        TraceOut("clsParamLink-InitLink", "no element \"" + tag + "\": " + e.description, ctx);
        throw;
    }
    if (!element) com::Raise(com::errTypeMismatch);
    m_DataElement = element;
    m_ParamCtl = row;
    m_Images = images;
    row->Bound(element);
    row->EventSink(shared_from_this());

    if (element->ControlType() != ctl::kRowNotChosen) {
        if (row->ControlType() != ctl::kRowCommand) row->ControlType(element->ControlType());
    } else if (row->ControlType() == ctl::kRowNotChosen) {
        row->ControlType((element->ElementMode & clsDataElement::kModeCommand) ? ctl::kRowCommand
                                                                                  : KindOfValueType(element->ValueType));
    }
    if (element->ParamOptional()) {
        row->ForeColor(kGreyText);
        row->ValueForeColor(kGreyText);
    }
    if (row->Locked()) m_bLockedByDesign = true;
    row->PasswordChar(element->Secret ? '*' : '\0');
    if (element->ValueType == 14) {
        if (element->ValueTypeLength > 0) row->ValueMaxLength(element->ValueTypeLength);
        if (element->bPackedCoding) row->ValueUpperCase(true);
    }
    row->AddMenuItem("");
    m_bEditing = false;
    if (bOnlineMode) element->ClearStatusFlag(kFlagUserChangedOnline);
}

void clsParamLink::InitLanguageDependent(int32_t /*languageId*/) {
    clsDataElement& element = Element();
    const Ctx ctx = Context();
    std::string desc = element.Description;
    if (com::vb::Len(desc) > kMaxDescriptionLength) desc = com::vb::Left(desc, kMaxDescriptionLength - 4) + " ...";
    m_ParamCtl->ParamToolTip(desc + " (-> " + GetDictText("paramhelp_shortcut") + ")");
    if (bDisplayDPV1Index && element.RelIndex >= 0)
        m_ParamCtl->LabelText(std::to_string(element.RelIndex) + ": " + element.Label);
    else
        m_ParamCtl->LabelText(element.Label);
    m_ParamCtl->ValueList(element.ValueList);
    m_ParamCtl->UnitText(element.UnitString(ctx));
    m_ParamCtl->MenuItemText(1, GetDictText("paramhelp_menuitem") + "\t" + GetDictText("paramhelp_shortcut"));
    if (!m_ParamCtl->IconToolTip().empty()) UpdateStatusIcon();
}

void clsParamLink::UpdateParameter() {
    clsDataElement& element = Element();
    const Ctx ctx = Context();
    if (bOnlineMode && m_bEditing && (LinkOnlineState(ctx) & 0x3) == 0 && ctx->Parameters()->DataSetReady() &&
        !m_ParamCtl->Locked()) {
        m_bUpdatePending = true;
        return;
    }
    m_bUpdatePending = false;
    m_bFlagsChanged = false;
    UpdateLockState();
    const Variant value = element.TransientValue;
    m_ParamCtl->ValueList(element.ValueList);
    if (m_ParamCtl->ControlType() == ctl::kRowBitList && element.ValueType != 14) {
        m_ParamCtl->Value(Variant::Str(ShowElementValue(element)));
    } else {
        if (!element.ValueFormat.empty()) m_ParamCtl->ValueFormat(element.ValueFormat);
        m_ParamCtl->Value(value);
    }
    m_ParamCtl->UnitText(element.UnitString(ctx));
    m_ParamCtl->Visible(element.Validity() && m_ParamCtl->VisibleByDesign());
    element.StatusFlags(UpdateParamFlags(value));
    UpdateStatusIcon();
}

void clsParamLink::ValidateParameter() {
    if (m_bEditing && m_nChangeDepth == 0 && m_ParamCtl && m_ParamCtl->ControlType() != ctl::kRowCommand)
        HandleParameterChange();
}

void clsParamLink::HandleParameterChange() {
    // An online edit holds back the row's updates and so its lock: the user
    // level may have dropped below the element's since the edit began.
    if (Element().RequiredUserLevel > Context()->UserLevel()) return;
    if (m_ParamCtl->ControlType() == ctl::kRowCommand)
        StartCommand();
    else if (!m_ParamCtl->Locked())
        CommitValue();
}

void clsParamLink::StartCommand() {
    const Ctx ctx = Context();
    if (!m_CmdInvokeId.empty()) {
        ctx->MsgBox(GetDictText("command_already_active"), 0);
        return;
    }
    if (m_ParamCtl->Locked()) return;
    m_CmdInvokeId = GetNewGuidString(Variant::Bool(false));
    m_ParamCtl->Locked(true);
    if (!LinkStartCommand(ctx, m_CmdInvokeId, Element().Name, shared_from_this())) {
        m_CmdInvokeId.clear();
        UpdateLockState();
        ctx->MsgBox(GetDictText("cmderr_not_connected"), 0);
    }
}

void clsParamLink::CommitValue() {
    clsDataElement& element = Element();
    const Ctx ctx = Context();
    const Variant value = RowValueForElement();
    if (value.IsNull() || (element.StatusFlags() & kFlagsInputErrors) != 0) return;
    if (IsSameValue(value, element.TransientValue)) {
        // No change reaches the row: it shows the value held in place of the text typed.
        UpdateParameter();
        return;
    }
    if (bOnlineMode) element.SetStatusFlag(kFlagUserChangedOnline);
    element.TransientValue = value;
    auto parameters = ctx->Parameters();
    {
        DepthScope depth(m_nChangeDepth);
        parameters->NotifyChange(m_DataElement, "");
    }
    try {
        OnParamLinkChange(m_DataElement, *parameters);
    } catch (const com::ComError& e) {
        ctx->ReportError("Internal Error at PostEditParameter\r\n#" + std::to_string(e.number) + ": " + e.description);
    }
}

Variant clsParamLink::RowValueForElement() const {
    const clsDataElement& element = Element();
    if (m_ParamCtl->ControlType() == ctl::kRowBitList && element.ValueType != 14)
        return ControlTextToValue(com::CStr(m_ParamCtl->Value()), element);
    return element.GetTypedValue(m_ParamCtl->Value());
}

void clsParamLink::TakeOverControlValue(int32_t mask) {
    clsDataElement& element = Element();
    const int32_t old = element.StatusFlags();
    element.StatusFlags(old & ~mask);
    if (element.ValueType != 0) element.StatusFlags(UpdateParamFlags(RowValueForElement()));
    if (element.StatusFlags() != old) {
        EvaluateDataSetState();
        m_bFlagsChanged = true;
        UpdateStatusIcon();
    }
}

void clsParamLink::EvaluateDataSetState() {
    const Ctx ctx = Context();
    if (auto model = std::dynamic_pointer_cast<clsDataModel>(ctx->Parameters()->DataModel()))
        model->EvaluateDataSetState(ctx);
}

void clsParamLink::ShowParamHelp() {
    try {
        auto* host = dynamic_cast<ctl::IParamHelpHost*>(m_ParamCtl->Parent());
        if (!host) return;
        auto help = host->GetParamHelpCtl();
        if (!help) return;
        const clsDataElement& element = Element();
        help->HelpText(element.Help.empty() ? element.Description : element.Help);
        help->ShowHelp(m_ParamCtl->hWnd());
    } catch (...) {
        // no help pane, no page member: nothing to show
    }
}

void clsParamLink::OnProcessProgress(const std::string&, int16_t, const Variant&) {}

void clsParamLink::OnProcessFinished(const std::string& invokeId, const Variant&) {
    if (!IsSameInvokeId(m_CmdInvokeId, invokeId) || !m_ParamCtl) return;
    m_CmdInvokeId.clear();
    UpdateLockState();
}

void clsParamLink::OnChange() { TakeOverControlValue(kMaskChange); }

void clsParamLink::OnClick() {
    TakeOverControlValue(kMaskChange);
    if (m_ParamCtl->ControlType() == ctl::kRowCommand && m_CmdInvokeId.empty()) {
        // A locked row with no command of its own running takes no command;
        // while one runs, a click only tells that it is still running.
        if (m_ParamCtl->Locked()) return;
        std::string prompt = GetDictText("exec_this_cmd_now");
        ReplaceAll(prompt, "%1", m_ParamCtl->LabelText());
        if (Context()->MsgBox(prompt, app::kButtonsYesNoQuestionDefaultNo) != app::kAnswerYes) return;
    }
    HandleParameterChange();
}

void clsParamLink::OnStartEdit() {
    m_bEditing = !m_ParamCtl->Locked();
    TakeOverControlValue(kFlagNeeded);
}

void clsParamLink::OnEndEdit(bool commit) {
    m_bEditing = false;
    if (commit) HandleParameterChange();
    if (m_bUpdatePending) UpdateParameter();
}

void clsParamLink::OnMenuClick(int32_t item) {
    if (item == 1) ShowParamHelp();
}

void clsParamLink::OnKeyDown(int32_t& keyCode, int32_t shift) {
    if (keyCode != kKeyF1 || shift != kShiftOnly) return;
    keyCode = 0;
    ShowParamHelp();
}

void clsParamLink::TerminateLink() {
    if (!m_DataElement || !m_ParamCtl) return;
    clsDataElement& element = Element();
    if (bOnlineMode) element.ClearStatusFlag(kFlagUserChangedOnline);
    ValidateParameter();
    if (m_bFlagsChanged) {
        const int32_t old = element.StatusFlags();
        element.StatusFlags(UpdateParamFlags(element.TransientValue));
        if (element.StatusFlags() != old) EvaluateDataSetState();
    }
    if (!m_CmdInvokeId.empty()) {
        LinkDropRequest(m_Context.lock(), m_CmdInvokeId);
        m_CmdInvokeId.clear();
    }
    if (!m_bLockedByDesign) m_ParamCtl->Locked(false);
    m_ParamCtl->RemoveMenuItems();
    m_ParamCtl->EventSink(nullptr);
    m_ParamCtl->Bound(nullptr);
    m_DataElement.reset();
    m_ParamCtl.reset();
    m_Images.reset();
    m_Context.reset();
}

}  // namespace dtm
