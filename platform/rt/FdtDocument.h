#pragma once
// The frame's documents the runtime writes: root "FDT" with the fdt namespace,
// and their variable nodes.
#include <string>

#include "platform/fdt/Boundary.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

// Makes the document's root FDT (xmlns:fdt="urn:fdt:types") with one child
// element of that name, and answers the child.
inline P<xml::Element> NewFdtDocument(xml::Document& doc, const std::string& child) {
    auto root = doc.CreateElement("FDT");
    root->SetAttribute("xmlns:fdt", "urn:fdt:types");
    doc.SetDocumentElement(root);
    auto node = doc.CreateElement(child);
    root->AppendChild(node);
    return node;
}

// Appends to `parent` an fdt:DtmVariable named `name` that `write` fills. A
// variable whose writing fails is left out of the document, and the error is
// reported as trapped at `where`, so that one element never costs the whole
// document.
template <class Write>
void AppendDtmVariable(xml::Document& doc, const P<xml::Element>& parent, const std::string& name, Write&& write,
                       const std::string& where) {
    auto node = doc.CreateElement("fdt:DtmVariable");
    node->SetAttribute("name", name);
    try {
        write(node);
    } catch (...) {
        fdt::ReportBoundaryError(where + " " + name);
        return;
    }
    parent->AppendChild(node);
}

}  // namespace platform::rt
