#pragma once
// The frame's documents the runtime writes: root "FDT" with the fdt namespace.
#include <string>

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

}  // namespace platform::rt
