#include "platform/rt/DocumentationBuilder.h"

#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/FdtDocument.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

std::string DocumentationBuilder::BuildDocument(const P<DTMContext>& ctx, const std::string& docId, int32_t mask,
                                                const std::string& text) {
    auto& params = com::Deref(com::Deref(ctx).Parameters());
    auto doc = std::make_shared<xml::Document>();
    auto documentation = NewFdtDocument(*doc, "DtmDocumentation");
    auto root = doc->DocumentElement();
    root->SetAttribute("id", docId);
    if (!text.empty()) root->SetAttribute("title", text);
    if (mask != 0) {
        for (const auto& el : params) {
            if ((el->ElementMode() & mask) == 0) continue;
            const std::string name = el->Name();
            if (!name.empty() && name.back() == '/') continue;  // a record header has no value of its own
            AppendDtmVariable(
                *doc, documentation, name, [&](const P<xml::Element>& node) { el->WriteToDocVariable(node, ctx); },
                "DocumentationBuilder-BuildDocument");
        }
    }
    return doc->Xml();
}

}  // namespace platform::rt
