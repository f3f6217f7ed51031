// The FDT parameter documents of one DTM instance.
//
// Out: <FDT xmlns:fdt="urn:fdt:types"><DtmParameter><ParameterSet> with one
// fdt:DtmVariable per element in scope, named by its full path and filled by
// the element. In: every fdt:DtmVariable of a document whose root is FDT is
// handed to the one element it names, so that a node never touches another
// element's value or validity.
#include "platform/rt/ParameterService.h"

#include <string_view>
#include <unordered_map>

#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/FdtDocument.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

const std::string kVariableNode = "fdt:DtmVariable";

bool IsRecordHeader(std::string_view path) { return !path.empty() && path.back() == '/'; }

// The elements of a scope by their full paths and by the last parts of their
// paths ("TAG_DESC", "OUT_SCALE/Unit"); an ending shared by several paths
// names none of them. Record headers take no node.
class NodeOwners {
public:
    explicit NodeOwners(const std::vector<El>& scope) {
        for (const auto& el : scope) {
            const std::string path = el->Name();
            if (IsRecordHeader(path)) continue;
            byPath_.emplace(path, el);
            for (size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
                auto [it, added] = byEnding_.try_emplace(path.substr(slash + 1), el);
                if (!added) it->second = nullptr;
            }
        }
    }

    // The exact path, else the one path that ends in "/" + name.
    El OwnerOf(const std::string& name) const {
        if (auto it = byPath_.find(name); it != byPath_.end()) return it->second;
        auto it = byEnding_.find(name);
        return it == byEnding_.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<std::string, El> byPath_;
    std::unordered_map<std::string, El> byEnding_;
};

std::vector<El> Scope(const DTMContext& ctx, const std::string& path) {
    return com::Deref(ctx.Parameters()).StartingWith(path);
}

}  // namespace

std::string ParameterService::GetParameters(const P<DTMContext>& ctx, const std::string& path, int32_t flags) {
    flags_ = flags;
    auto& context = com::Deref(ctx);
    auto doc = std::make_shared<xml::Document>();
    auto parameter = NewFdtDocument(*doc, "DtmParameter");
    auto set = doc->CreateElement("ParameterSet");
    parameter->AppendChild(set);

    for (const auto& el : Scope(context, path)) {
        const std::string name = el->Name();
        if (IsRecordHeader(name)) continue;
        AppendDtmVariable(*doc, set, name, [&](const P<xml::Element>& node) { el->WriteToDtmVariable(node, ctx); },
                          "ParameterService-GetParameters");
    }
    return doc->Xml();
}

bool ParameterService::SetParameters(const std::string& document, const P<DTMContext>& ctx,
                                     const std::string& path, int32_t flags) {
    flags_ = flags;
    auto& context = com::Deref(ctx);
    auto& params = com::Deref(context.Parameters());

    xml::Document doc;
    if (!doc.LoadXML(document)) return false;
    auto root = doc.DocumentElement();
    if (!root || root->Name() != "FDT") return false;
    const auto nodes = root->SelectNodes("//" + kVariableNode);

    params.BeginSetParameters();
    bool taken = false;
    try {
        const NodeOwners owners(Scope(context, path));
        for (const auto& node : nodes) {
            const Variant name = node->GetAttribute("name");
            if (!name.IsString()) continue;
            El owner = owners.OwnerOf(name.StrRef());
            if (owner && owner->ReadFromDtmVariable(node, ctx)) taken = true;
        }
    } catch (...) {
        params.EndSetParameters();
        throw;
    }
    params.EndSetParameters();
    return taken;
}

}  // namespace platform::rt
