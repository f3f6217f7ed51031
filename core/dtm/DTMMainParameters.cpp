// DTMMain: parameter documents out and in (IDtmParameter), with their
// channel-trace record of the slave parameter set around a change.
#include "core/dtm/DTMMain.h"
#include "core/channels/SlaveBusParamSet.h"
#include "core/services/Trace.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/ParameterService.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace dtm {

using platform::com::Deref;
using platform::fdt::InvokeFromFrame;

namespace {

const std::string kLineBreak = "\r\n";
// The parameter service's flags for the frame's documents.
constexpr int32_t kFrameDocumentFlags = 64;

std::string Framed(const std::string& xml) {
    return kLineBreak + "XML Begin" + kLineBreak + xml + kLineBreak + "XML End" + kLineBreak;
}

// The secret that a variable node named `name` may reach: its full path, or
// any ending of it after a "/" (whatever the document's scope); else null.
const clsDataElement* SecretNamed(const std::vector<const clsDataElement*>& secrets, const std::string& name) {
    for (const clsDataElement* secret : secrets) {
        const std::string& path = secret->Name;
        if (path == name || (path.size() > name.size() && path.ends_with(name) &&
                             path[path.size() - name.size() - 1] == '/'))
            return secret;
    }
    return nullptr;
}

// Makes `entry` the masked entry of `secret`: its name, and as its value the
// secret's value as it leaves the element (masked). Nothing else the frame
// sent in the entry is kept, since its text, CDATA sections, child elements
// and attributes, namespace declarations included, may all carry the secret.
void MaskEntry(platform::xml::Document& doc, platform::xml::Element& entry, const clsDataElement& secret) {
    for (const auto& attribute : entry.Attributes())
        if (attribute.first != "name") entry.RemoveAttribute(attribute.first);
    entry.SetText("");
    auto value = doc.CreateElement("fdt:Value");
    auto display = doc.CreateElement("fdt:Display");
    display->SetAttribute("string", platform::com::CStr(secret.ExportedValue()));
    value->AppendChild(display);
    entry.AppendChild(value);
}

// The frame's document as a trace may show it: each variable node that may
// name a secret is shown as the secret's masked entry, the rest as it came. A
// document without such a node is shown as it came; one the parser refuses
// sets nothing, but its text may still carry a secret, so only its length is
// shown.
std::string SecretsMasked(const std::string& document, const platform::rt::Parameters& params) {
    std::vector<const clsDataElement*> secrets;
    for (const auto& item : params)
        if (const auto* element = dynamic_cast<const clsDataElement*>(item.get()); element && element->Secret)
            secrets.push_back(element);
    if (secrets.empty()) return document;
    platform::xml::Document doc;
    if (!doc.LoadXML(document))
        return "(no well-formed document, " + std::to_string(document.size()) + " bytes, not shown)";
    bool masked = false;
    for (const auto& node : doc.SelectNodes("//fdt:DtmVariable")) {
        const platform::Variant name = node->GetAttribute("name");
        const clsDataElement* secret = name.IsString() ? SecretNamed(secrets, name.StrRef()) : nullptr;
        if (!secret) continue;
        MaskEntry(doc, *node, *secret);
        masked = true;
    }
    return masked ? doc.Xml() : document;
}

}  // namespace

std::string DTMMain::SlaveSetDump() const {
    auto& params = Deref(Deref(m_DTMContext).Parameters());
    std::string dump;
    for (int n = 1; n <= 8; ++n) {
        const std::string number = std::to_string(n);
        dump += "FB" + number + ": " +
                platform::com::CStr(params.Item("SlaveBusParamSet_FB" + number)->TransientValue()) + kLineBreak;
    }
    dump += platform::com::CStr(params.Item("SlaveBusParamSet_WholeString")->TransientValue()) + kLineBreak;
    return dump;
}

std::string DTMMain::IDtmParameter_GetParameters(const std::string& parameterPath) {
    return InvokeFromFrame("DTMMain-IDtmParameter_GetParameters", [&] { return GetParameters(parameterPath); },
                           std::string());
}

std::string DTMMain::GetParameters(const std::string& parameterPath) {
    auto& ctx = Deref(m_DTMContext);
    Deref(ctx.GuiRegistry()).FlushInput();
    UpdateChannelSlots(m_DTMContext);
    std::string document =
        Deref(ctx.ParameterService()).GetParameters(m_DTMContext, parameterPath, kFrameDocumentFlags);
    ChannelTraceOut("DTMMain-IDtmParameter_GetParameters", Framed(document), m_DTMContext);
    Trace("-IDtmParameter_GetParameters", "");
    return document;
}

bool DTMMain::IDtmParameter_SetParameters(const std::string& parameterPath, const std::string& FdtXmlDocument) {
    return InvokeFromFrame("DTMMain-IDtmParameter_SetParameters",
                           [&] { return SetParameters(parameterPath, FdtXmlDocument); }, false);
}

bool DTMMain::SetParameters(const std::string& parameterPath, const std::string& FdtXmlDocument) {
    static const std::string kFirstText = "DTMMain-IDtmParameter_SetParameters";
    auto& ctx = Deref(m_DTMContext);
    auto& params = Deref(ctx.Parameters());
    ChannelTraceOut(kFirstText, "Parameter settings at functions begin: " + kLineBreak + SlaveSetDump(), m_DTMContext);
    ChannelTraceOut(kFirstText, "ParameterPath= " + parameterPath, m_DTMContext);
    if (ChannelTraceOn()) ChannelTraceOut(kFirstText, Framed(SecretsMasked(FdtXmlDocument, params)), m_DTMContext);

    params.BeginSetParameters();
    bool result = false;
    try {
        const BusParamSetValues slaveSetBefore = BusParamSetValuesOf(params);
        result = Deref(ctx.ParameterService())
                     .SetParameters(FdtXmlDocument, m_DTMContext, parameterPath, kFrameDocumentFlags);
        // The form of the slave parameter set that the document changed wins
        // over the forms it left as they were.
        ReportChangedBusParamForm(params, slaveSetBefore);
    } catch (...) {
        result = false;
    }
    params.EndSetParameters();
    Trace("-IDtmParameter_SetParameters", "");
    ChannelTraceOut(kFirstText, "Parameter settings at functions end: " + kLineBreak + SlaveSetDump(), m_DTMContext);
    return result;
}

}  // namespace dtm
