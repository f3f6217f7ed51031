// The frame's function call and operation state, read from their XML texts.
#include "platform/rt/DtmFunctionCall.h"

#include <cmath>
#include <functional>
#include <optional>

#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/OperationPhase.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

// The element itself or its first descendant, in document order, for which `match` holds.
P<xml::Element> FindFirst(const P<xml::Element>& node, const std::function<bool(const xml::Element&)>& match) {
    if (!node) return nullptr;
    if (match(*node)) return node;
    for (const auto& child : node->ChildElements())
        if (auto found = FindFirst(child, match)) return found;
    return nullptr;
}

bool IsFunctionCall(const xml::Element& node) {
    const std::string name = node.Name();
    return name == "FunctionCall" || name == "fdt:FunctionCall";
}

std::optional<int32_t> FunctionIdOf(const xml::Element& node) {
    const Variant id = node.GetAttribute("functionId");
    if (!id.IsString() || !com::IsNumeric(id)) return std::nullopt;
    try {
        const double number = com::CDbl(id);
        // A whole number; CLng raises 6 for one beyond 32 bits (casting such a double is undefined).
        if (number != std::trunc(number)) return std::nullopt;
        return com::CLng(id);
    } catch (const com::ComError&) {
        return std::nullopt;
    }
}

}  // namespace

bool DtmFunctionCall::Parse(const std::string& xml, const P<DTMContext>& ctx) {
    try {
        xml::Document doc;
        if (!doc.LoadXML(xml)) return false;
        const auto node = FindFirst(doc.DocumentElement(), [](const xml::Element& e) {
            return IsFunctionCall(e) && e.HasAttribute("functionId");
        });
        if (!node) return false;
        const auto id = FunctionIdOf(*node);
        if (!id) return false;
        functionId_ = *id;
        argument_ = Variant();
        if (const Variant argument = node->GetAttribute("argument"); argument.IsString()) {
            argument_ = argument;
            if (com::IsNumeric(argument)) {
                try {
                    argument_ = Variant::Lng(com::CLng(argument));
                } catch (const com::ComError&) {
                }
            }
        }
        if (const Variant path = node->GetAttribute("controlPath"); path.IsString() && ctx)
            if (auto functions = ctx->Functions()) functions->ControlPfad(path.StrRef());
        return true;
    } catch (...) {
        return false;
    }
}

std::string DtmFunctionCall::Render(const P<DTMContext>&) const {
    xml::Document doc;
    auto root = doc.CreateElement("FDT");
    doc.SetDocumentElement(root);
    auto call = doc.CreateElement("FunctionCall");
    call->SetAttribute("functionId", std::to_string(functionId_));
    if (!argument_.IsEmpty() && !argument_.IsMissing()) call->SetAttribute("argument", com::CStr(argument_));
    root->AppendChild(call);
    return doc.Xml();
}

bool OperationPhase::Take(const std::string& state, const P<DTMContext>&) {
    if (state.empty()) {
        phase_.clear();
        return true;
    }
    try {
        xml::Document doc;
        if (!doc.LoadXML(state)) return false;
        const auto node = FindFirst(doc.DocumentElement(),
                                    [](const xml::Element& e) { return e.HasAttribute("operationPhase"); });
        phase_ = node ? node->GetAttribute("operationPhase").StrRef() : std::string();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace platform::rt
