#include "pages/service/ctl_TR_Monitor.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <string_view>

#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransactionDocuments.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;

namespace {

// One field of a line: its label (with the blanks before it) and the
// attribute it shows, of the response node or of its child `child`.
struct LineField {
    const char* label;
    const char* attribute;
    const char* child = nullptr;
};

struct ResponseKind {
    const char* path;
    P<ui::CheckBox> ctl_TR_Monitor::*box;  // the check box that shows the kind
    const char* head;
    std::span<const LineField> fields;
};

constexpr LineField kConnectFields[] = {{"  api=", "api"}, {"  busaddress=", "busAddress"}, {"  errcode=", "errorCode"}};
constexpr LineField kReadFields[] = {{"  slot=", "slot"},
                                     {"  index=", "index"},
                                     {"  errcode=", "errorCode"},
                                     {"  Bytes=", "byteArray", "fdt:CommunicationData"}};
constexpr LineField kWriteFields[] = {{"  slot=", "slot"}, {"  index=", "index"}, {"  errcode=", "errorCode"}};
constexpr LineField kErrorFields[] = {{"  commError=", "communicationError"},
                                      {"  tag=", "tag"},
                                      {"  errcode=", "errorCode"},
                                      {"  descriptor=", "descriptor"}};

// In the order tried: the first kind that is ticked and present builds the line.
constexpr ResponseKind kKinds[] = {
    {"FDT/ConnectResponse", &ctl_TR_Monitor::chkDisplayConnectResponse, "ConnResp", kConnectFields},
    {"FDT/DisconnectResponse", &ctl_TR_Monitor::chkDisplayDisconnectResponse, "DiscResp", kConnectFields},
    {"FDT/ReadResponse", &ctl_TR_Monitor::chkDisplayReadResponse, "ReadResp", kReadFields},
    {"FDT/WriteResponse", &ctl_TR_Monitor::chkDisplayWriteResponse, "WritResp", kWriteFields},
    {"FDT/Abort", &ctl_TR_Monitor::chkDisplayAbort, "--Abort--", {}},
    {"FDT/fdt:CommunicationError", &ctl_TR_Monitor::chkDisplayComErr, "CommErr ", kErrorFields},
};

// Whether the kind's box is placed and ticked.
bool Ticked(const ctl_TR_Monitor& page, const ResponseKind& kind) {
    const auto& box = page.*kind.box;
    return box && box->Value() == 1;
}

constexpr const char* kCaptionKeys[][2] = {
    {"cmdClearAll", "button_TR_clear"},
    {"chkDisplayAll", "chkDisplayAll"},
    {"chkDisplayAbort", "chkDisplayAbort"},
    {"chkDisplayComErr", "chkDisplayComErr"},
    {"chkDisplayConnectResponse", "chkDisplayConnectResponse"},
    {"chkDisplayDisconnectResponse", "chkDisplayDisconnectResponse"},
    {"chkDisplayReadResponse", "chkDisplayReadResponse"},
    {"chkDisplayWriteResponse", "chkDisplayWriteResponse"},
};

// Where the line break at or after `from` ends: after a CR LF, a lone LF or a
// lone CR; npos when no break follows.
size_t AfterLineBreak(std::string_view text, size_t from) {
    const size_t at = text.find_first_of("\r\n", from);
    if (at == std::string_view::npos) return at;
    return text.compare(at, 2, "\r\n") == 0 ? at + 2 : at + 1;
}

int32_t LineBreaks(std::string_view text) {
    int32_t breaks = 0;
    for (size_t at = AfterLineBreak(text, 0); at != std::string::npos; at = AfterLineBreak(text, at)) ++breaks;
    return breaks;
}

// The attribute's text; "" when the node lacks it or there is no node.
std::string GetAttrValue(const char* name, const P<platform::xml::Element>& node) {
    if (!node) return "";
    const Variant value = node->GetAttribute(name);
    return value.IsNull() ? "" : com::CStr(value);
}

// The kind's line: its head, then each field's label and the value `valueOf` gives.
template <class ValueOf>
std::string LineOf(const ResponseKind& kind, ValueOf valueOf) {
    std::string line = kind.head;
    for (const LineField& field : kind.fields) {
        line += field.label;
        line += valueOf(field);
    }
    return line;
}

}  // namespace

ctl_TR_Monitor::ctl_TR_Monitor()
    : PageBase(PageTraits{.className = "ctl_TR_Monitor", .container = true, .showHandler = false, .helpPane = false}) {}

void ctl_TR_Monitor::BuildForm() {
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    txt_TransResps = Place<ui::TextBox>("txt_TransResps");
    txt_TransResps->MultiLine(true);
    cmdClearAll = Place<ui::CommandButton>("cmdClearAll");
    cmdClearAll->Click.Connect([this] { cmdClearAll_Click(); });
    chkDisplayAll = Place<ui::CheckBox>("chkDisplayAll");
    chkDisplayAll->Click.Connect([this] { chkDisplayAll_Click(); });
    chkDisplayConnectResponse = Place<ui::CheckBox>("chkDisplayConnectResponse");
    chkDisplayDisconnectResponse = Place<ui::CheckBox>("chkDisplayDisconnectResponse");
    chkDisplayReadResponse = Place<ui::CheckBox>("chkDisplayReadResponse");
    chkDisplayWriteResponse = Place<ui::CheckBox>("chkDisplayWriteResponse");
    chkDisplayAbort = Place<ui::CheckBox>("chkDisplayAbort");
    chkDisplayComErr = Place<ui::CheckBox>("chkDisplayComErr");
    PlaceTemplateControls();
}

void ctl_TR_Monitor::InitControls() {
    // The DTM passes the responses to this page from now on.
    com::Deref(com::Deref(GetContext()).Parameters()).Item(kMonitorPath)->TransientValue(Variant::Str(InvokeId()));
    responseDocument_ = std::make_shared<platform::xml::Document>();
    PageBase::InitControls();
}

bool ctl_TR_Monitor::PrepareToRelease() {
    const auto ctx = GetContext();
    if (!PageBase::PrepareToRelease()) return false;
    if (ctx) com::Deref(ctx->Parameters()).Item(kMonitorPath)->TransientValue(Variant::Str(""));
    return true;
}

void ctl_TR_Monitor::InitLanguageDependedControls(int32_t languageId) {
    Trace("InitLanguageDependedControls", "");
    com::Deref(ctlParamSite1).SetSiteLanguage(languageId);
    FillHeadline(*ctlHeadline);
    for (const auto& [control, key] : kCaptionKeys)
        std::dynamic_pointer_cast<ui::CaptionedControl>(Controls().Item(control))->Caption(KeyText(key));
}

void ctl_TR_Monitor::cmdClearAll_Click() {
    txt_TransResps->Text("");
    lineCount_ = 0;
}

void ctl_TR_Monitor::chkDisplayAll_Click() {
    const int16_t value = chkDisplayAll->Value() == 1 ? 1 : 0;
    for (const auto& box : {chkDisplayAll, chkDisplayConnectResponse, chkDisplayDisconnectResponse,
                            chkDisplayReadResponse, chkDisplayWriteResponse, chkDisplayAbort, chkDisplayComErr})
        box->Value(value);
}

void ctl_TR_Monitor::DisplayTransactionResponse(const std::string& Response) {
    // With every kind's box clear (or none placed yet) no line can come of it:
    // the response is not read.
    if (std::none_of(std::begin(kKinds), std::end(kKinds), [this](const ResponseKind& kind) { return Ticked(*this, kind); }))
        return;
    // The compact form frames send is read without the XML parser, as the
    // communication service reads it; anything else goes to the parser.
    platform::rt::CompactResponse compact;
    if (platform::rt::ReadCompactResponse(Response, compact)) {
        for (const ResponseKind& kind : kKinds) {
            if (std::string_view(kind.path).substr(4) != compact.kind) continue;
            if (Ticked(*this, kind))
                AppendLine(LineOf(kind, [&](const LineField& field) {
                    bool found = false;
                    if (field.child) return compact.hasData ? compact.data : std::string_view();
                    return compact.Value(field.attribute, found);
                }));
            return;
        }
        return;
    }
    if (!responseDocument_ || !responseDocument_->LoadXML(Response)) return;
    for (const ResponseKind& kind : kKinds) {
        currentNode_ = responseDocument_->SelectSingleNode(kind.path);
        if (!currentNode_ || !Ticked(*this, kind)) continue;
        AppendLine(LineOf(kind, [&](const LineField& field) {
            return GetAttrValue(field.attribute, field.child ? currentNode_->SelectSingleNode(field.child) : currentNode_);
        }));
        return;
    }
}

void ctl_TR_Monitor::AppendLine(const std::string& line) {
    // An attribute value may hold line breaks of its own: every one counts.
    const std::string entry = line + "\r\n";
    txt_TransResps->AppendText(entry);
    lineCount_ += LineBreaks(entry);
    if (lineCount_ <= kMaxLines) return;
    const std::string_view text = txt_TransResps->TextView();
    size_t cut = 0;
    for (; lineCount_ > kMaxLines; --lineCount_) cut = AfterLineBreak(text, cut);
    txt_TransResps->DropFront(cut);
}

}  // namespace dtm
