#pragma once
// The XML DOM: documents and elements over libxml2, owned by RAII handles.
//
// Parsing is locked down: a DOCTYPE is refused, no DTD or external entity is
// ever loaded, the network is never touched and elements nest at most 256 deep.
// Malformed input makes Load/LoadXML answer False; parser messages are never
// printed.
//
// Names are qualified names as written ("fdt:DtmVariable"): prefixes are kept
// and matched literally, whether a namespace is declared for them or not.
//
// Values and texts are stored so that the document always serialises as
// well-formed XML: an invalid UTF-8 byte is taken as its Windows-1252
// character, and a control character XML does not allow (other than TAB, LF,
// CR) is stored as "?".
//
// An element handle keeps its whole document alive, so it stays valid however
// long it is held, also after its document was reloaded or it was moved.
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::xml {

class Element;
struct DocImpl;  // the libxml2 document and the detached nodes it owns

// Nesting depth the parser accepts; a deeper document fails to load.
inline constexpr int kMaxDepth = 256;

class Document : public com::Object {
public:
    Document();  // empty: no document element
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    ~Document() override;

    // Parses a file (its bytes are decoded as its XML declaration says) or a
    // text (always taken as UTF-8, whatever its declaration says). On success
    // the document is replaced; on failure it is left empty and False is
    // returned. Handles into the former content stay valid.
    bool Load(const std::string& path);
    bool LoadXML(const std::string& text);

    // The document as UTF-8 text: `<?xml version="1.0" encoding="UTF-8"?>`, a
    // line feed, then the content without a trailing line feed. Attribute
    // values escape < > & " (and CR, LF, TAB as character references); text
    // escapes < > &. A document without a document element gives "".
    std::string Xml() const;

    P<Element> DocumentElement() const;  // nullptr when empty
    // Replaces the document element by `root`, an element of this document.
    // Nothing raises 91; an element of another document raises 5.
    void SetDocumentElement(const P<Element>& root);
    // A new, detached element of this document. The name is kept as written,
    // prefix included; a name that is not a qualified name raises 5.
    P<Element> CreateElement(const std::string& qname);

    // Paths: qualified names separated by "/", matched literally from the
    // document node (the first step names the document element). "*" matches
    // any element; a step after "//" matches at any depth below; a leading "/"
    // is allowed. Anything else ("@", "[", "..", blanks) raises 5.
    P<Element> SelectSingleNode(const std::string& path) const;  // first match or nullptr
    std::vector<P<Element>> SelectNodes(const std::string& path) const;

private:
    friend class Element;
    explicit Document(std::shared_ptr<DocImpl> impl);
    bool Parse(const std::string& bytes, bool forceUtf8);

    std::shared_ptr<DocImpl> impl_;
};

class Element : public com::Object {
public:
    struct Key;  // only the DOM constructs elements
    Element(const Key&, std::shared_ptr<DocImpl> doc, void* node);
    ~Element() override;

    std::string Name() const;  // qualified name as written

    // Attributes by qualified name, matched literally. A namespace declaration
    // ("xmlns", "xmlns:fdt") is an attribute like any other here.
    com::Variant GetAttribute(const std::string& name) const;  // String, or Null when missing
    bool HasAttribute(const std::string& name) const;
    // Sets or adds an attribute (added at the end); a name that is not a
    // qualified name raises 5.
    void SetAttribute(const std::string& name, const std::string& value);
    void RemoveAttribute(const std::string& name);  // no-op when missing
    // Namespace declarations first, then the other attributes in document order.
    std::vector<std::pair<std::string, std::string>> Attributes() const;

    std::vector<P<Element>> ChildElements() const;
    // Moves `child` (an element of this document) to the end of this element's
    // children. Nothing raises 91; an element of another document, or this
    // element or one of its ancestors, raises 5.
    void AppendChild(const P<Element>& child);

    // The text of all descendant text and CDATA nodes, concatenated.
    std::string Text() const;
    // Replaces all children by one text node ("" leaves no child).
    void SetText(const std::string& text);

    P<Element> ParentElement() const;   // nullptr for the document element or a detached one
    P<Document> OwnerDocument() const;  // a handle to the same document
    bool IsSameNode(const P<Element>& other) const;

    // Paths as for Document, relative to this element; a leading "/" or "//"
    // starts from the document.
    P<Element> SelectSingleNode(const std::string& path) const;
    std::vector<P<Element>> SelectNodes(const std::string& path) const;

private:
    friend class Document;
    std::shared_ptr<DocImpl> doc_;
    void* node_;
};

}  // namespace platform::xml
