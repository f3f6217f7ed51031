#include "platform/xml/Dom.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <new>
#include <unordered_set>

#include "platform/com/TextCoding.h"
#include "platform/win/Files.h"

namespace platform::xml {

struct Element::Key {};

namespace {

xmlNodePtr AsNode(void* p) { return static_cast<xmlNodePtr>(p); }
const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }
std::string S(const xmlChar* s) { return s ? std::string(reinterpret_cast<const char*>(s)) : std::string(); }

// Takes ownership of a string libxml2 allocated.
std::string TakeString(xmlChar* s) {
    std::string out = S(s);
    xmlFree(s);
    return out;
}

void InitLibxml() {
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialised;
}

void SilentStructuredError(void*, xmlErrorPtr) {}
void SilentGenericError(void*, const char*, ...) {}

// Keeps libxml2's global error channels quiet while the guard lives, for the
// messages that do not go through a parser context.
class QuietErrors {
public:
    QuietErrors()
        : structured_(xmlStructuredError), structuredCtx_(xmlStructuredErrorContext),
          generic_(xmlGenericError), genericCtx_(xmlGenericErrorContext) {
        xmlSetStructuredErrorFunc(nullptr, SilentStructuredError);
        xmlSetGenericErrorFunc(nullptr, SilentGenericError);
    }
    ~QuietErrors() {
        xmlSetStructuredErrorFunc(structuredCtx_, structured_);
        xmlSetGenericErrorFunc(genericCtx_, generic_);
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    xmlStructuredErrorFunc structured_;
    void* structuredCtx_;
    xmlGenericErrorFunc generic_;
    void* genericCtx_;
};

std::string QualifiedName(const xmlChar* name, const xmlNs* ns) {
    if (ns && ns->prefix) return S(ns->prefix) + ":" + S(name);
    return S(name);
}
std::string QualifiedName(xmlNodePtr n) { return QualifiedName(n->name, n->ns); }
std::string QualifiedName(xmlAttrPtr a) { return QualifiedName(a->name, a->ns); }

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Text that serialises as well-formed XML: an invalid UTF-8 byte is read as its
// Windows-1252 character, and a character XML does not allow (a control
// character other than TAB, LF, CR) becomes "?".
std::string XmlSafe(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    com::Utf8Cursor cursor(text);
    while (!cursor.AtEnd()) {
        const com::Utf8Char c = cursor.Next();
        com::AppendUtf8(out, IsXmlChar(c.codePoint) ? c.codePoint : U'?');
    }
    return out;
}

bool IsQName(const std::string& name) {
    return !name.empty() && name.find('\0') == std::string::npos && com::IsValidUtf8(name) &&
           xmlValidateQName(X(name), 0) == 0;
}

// "xmlns" or "xmlns:p": sets `prefix` ("" for the default namespace). An
// attribute named "xmlns:" declares nothing; it is an attribute like any other.
bool IsNamespaceDeclaration(const std::string& name, std::string& prefix) {
    if (name == "xmlns") {
        prefix.clear();
        return true;
    }
    if (name.size() > 6 && name.rfind("xmlns:", 0) == 0) {
        prefix = name.substr(6);
        return true;
    }
    return false;
}

bool SamePrefix(const xmlNs* ns, const std::string& prefix) {
    return ns->prefix ? prefix == S(ns->prefix) : prefix.empty();
}

xmlAttrPtr FindProperty(xmlNodePtr node, const std::string& name) {
    for (xmlAttrPtr a = node->properties; a; a = a->next)
        if (QualifiedName(a) == name) return a;
    return nullptr;
}

// ---- Parsing ----

struct ParseState {
    int depth = 0;
    bool refused = false;
};

ParseState& StateOf(void* ctx) {
    return *static_cast<ParseState*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

void Refuse(void* ctx) {
    StateOf(ctx).refused = true;
    xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
}

// A DOCTYPE is refused before its internal subset is read.
void OnInternalSubset(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) { Refuse(ctx); }

void OnStartElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri,
                    int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                    const xmlChar** attributes) {
    if (++StateOf(ctx).depth > kMaxDepth) {
        Refuse(ctx);
        return;
    }
    xmlSAX2StartElementNs(ctx, localname, prefix, uri, nbNamespaces, namespaces, nbAttributes, nbDefaulted,
                          attributes);
}

void OnEndElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri) {
    --StateOf(ctx).depth;
    xmlSAX2EndElementNs(ctx, localname, prefix, uri);
}

// Parses `bytes`; nullptr unless the document is well-formed, has no DOCTYPE,
// nests no deeper than kMaxDepth and has a document element.
xmlDocPtr ParseDocument(const std::string& bytes, bool forceUtf8) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return nullptr;
    InitLibxml();
    QuietErrors quiet;
    xmlParserCtxtPtr ctxt = xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size()));
    if (!ctxt) return nullptr;
    ParseState state;
    ctxt->_private = &state;
    int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    if (forceUtf8) options |= XML_PARSE_IGNORE_ENC;
    xmlCtxtUseOptions(ctxt, options);
    ctxt->sax->serror = SilentStructuredError;
    ctxt->sax->internalSubset = OnInternalSubset;
    ctxt->sax->startElementNs = OnStartElement;
    ctxt->sax->endElementNs = OnEndElement;

    xmlParseDocument(ctxt);
    xmlDocPtr doc = ctxt->myDoc;
    ctxt->myDoc = nullptr;
    const bool ok = ctxt->wellFormed && !state.refused && doc && xmlDocGetRootElement(doc);
    xmlFreeParserCtxt(ctxt);
    if (!ok) {
        if (doc) xmlFreeDoc(doc);
        return nullptr;
    }
    return doc;
}

xmlDocPtr NewEmptyDocument() {
    InitLibxml();
    xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!doc) throw std::bad_alloc();
    return doc;
}

// ---- Paths ----

struct Step {
    std::string name;  // qualified name or "*"
    bool anyDepth;     // after "//": any descendant, not only a child
};

struct Path {
    bool fromDocument = false;
    std::vector<Step> steps;
};

Path ParsePath(const std::string& text) {
    Path path;
    size_t pos = 0;
    bool anyDepth = false;
    if (text.rfind("//", 0) == 0) {
        path.fromDocument = anyDepth = true;
        pos = 2;
    } else if (text.rfind("/", 0) == 0) {
        path.fromDocument = true;
        pos = 1;
    }
    while (true) {
        const size_t slash = text.find('/', pos);
        const std::string name = text.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        if (name != "*" && !IsQName(name)) com::Raise(com::errInvalidArgument, "Unsupported XML path: " + text);
        path.steps.push_back({name, anyDepth});
        if (slash == std::string::npos) break;
        pos = slash + 1;
        anyDepth = text.compare(pos, 1, "/") == 0;
        if (anyDepth) ++pos;
    }
    return path;
}

bool Matches(xmlNodePtr n, const Step& step) {
    return n->type == XML_ELEMENT_NODE && (step.name == "*" || QualifiedName(n) == step.name);
}

// The next node after `n` in document order within `top`, entering elements only.
xmlNodePtr NextBelow(xmlNodePtr n, xmlNodePtr top) {
    if (n->type == XML_ELEMENT_NODE && n->children) return n->children;
    while (n && n != top) {
        if (n->next) return n->next;
        n = n->parent;
    }
    return nullptr;
}

struct Search {
    const std::vector<Step>& steps;
    bool firstOnly;
    std::vector<xmlNodePtr> found;
    std::unordered_set<xmlNodePtr> seen;

    // True when the search is complete.
    bool Visit(xmlNodePtr candidate, size_t i) {
        if (!Matches(candidate, steps[i])) return false;
        if (i + 1 < steps.size()) return From(candidate, i + 1);
        if (seen.insert(candidate).second) found.push_back(candidate);
        return firstOnly;
    }

    bool From(xmlNodePtr context, size_t i) {
        if (steps[i].anyDepth) {
            for (xmlNodePtr n = context->children; n; n = NextBelow(n, context))
                if (Visit(n, i)) return true;
        } else {
            for (xmlNodePtr n = context->children; n; n = n->next)
                if (Visit(n, i)) return true;
        }
        return false;
    }
};

std::vector<xmlNodePtr> Select(xmlNodePtr context, xmlDocPtr doc, const std::string& text, bool firstOnly) {
    const Path path = ParsePath(text);
    Search search{path.steps, firstOnly, {}, {}};
    search.From(path.fromDocument ? reinterpret_cast<xmlNodePtr>(doc) : context, 0);
    return std::move(search.found);
}

}  // namespace

// ---- DocImpl ----

// One libxml2 document with the nodes the DOM detached from it (created and
// not yet appended, replaced document elements, elements removed by SetText)
// and the namespace declarations it removed; all are freed with it.
struct DocImpl {
    explicit DocImpl(xmlDocPtr d) : doc(d) {}
    DocImpl(const DocImpl&) = delete;
    DocImpl& operator=(const DocImpl&) = delete;
    ~DocImpl() {
        // Only nodes still detached are roots of their own trees; the others
        // are freed with whatever tree they were put into.
        std::unordered_set<xmlNodePtr> roots;
        for (xmlNodePtr n : detached)
            if (!n->parent) roots.insert(n);
        for (xmlNodePtr n : roots) xmlFreeNode(n);
        for (xmlNsPtr ns : retiredNamespaces) xmlFreeNs(ns);
        xmlFreeDoc(doc);
    }

    P<Element> Wrap(const std::shared_ptr<DocImpl>& self, xmlNodePtr n) const {
        if (!n) return nullptr;
        return std::make_shared<Element>(Element::Key{}, self, n);
    }

    xmlDocPtr doc;
    std::vector<xmlNodePtr> detached;
    std::vector<xmlNsPtr> retiredNamespaces;
};

namespace {

P<Element> WrapNode(const std::shared_ptr<DocImpl>& impl, xmlNodePtr n) { return impl->Wrap(impl, n); }

std::vector<P<Element>> WrapAll(const std::shared_ptr<DocImpl>& impl, const std::vector<xmlNodePtr>& nodes) {
    std::vector<P<Element>> out;
    out.reserve(nodes.size());
    for (xmlNodePtr n : nodes) out.push_back(WrapNode(impl, n));
    return out;
}

}  // namespace

// ---- Document ----

Document::Document() : impl_(std::make_shared<DocImpl>(NewEmptyDocument())) {}
Document::Document(std::shared_ptr<DocImpl> impl) : impl_(std::move(impl)) {}
Document::~Document() = default;

bool Document::Parse(const std::string& bytes, bool forceUtf8) {
    xmlDocPtr doc = ParseDocument(bytes, forceUtf8);
    impl_ = std::make_shared<DocImpl>(doc ? doc : NewEmptyDocument());
    return doc != nullptr;
}

bool Document::Load(const std::string& path) {
    std::string bytes;
    win::ReadFileBytes(path, bytes);
    return Parse(bytes, false);
}

bool Document::LoadXML(const std::string& text) { return Parse(text, true); }

std::string Document::Xml() const {
    if (!xmlDocGetRootElement(impl_->doc)) return {};
    QuietErrors quiet;
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(impl_->doc, &mem, &size, "UTF-8", 0);
    std::string out = mem ? std::string(reinterpret_cast<const char*>(mem), static_cast<size_t>(size)) : "";
    xmlFree(mem);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

P<Element> Document::DocumentElement() const { return WrapNode(impl_, xmlDocGetRootElement(impl_->doc)); }

void Document::SetDocumentElement(const P<Element>& root) {
    xmlNodePtr node = AsNode(com::Deref(root).node_);
    if (node->doc != impl_->doc) com::Raise(com::errInvalidArgument, "The element belongs to another document");
    xmlNodePtr old = xmlDocSetRootElement(impl_->doc, node);
    if (old && old != node) impl_->detached.push_back(old);
}

P<Element> Document::CreateElement(const std::string& qname) {
    if (!IsQName(qname)) com::Raise(com::errInvalidArgument, "Invalid element name: " + qname);
    xmlNodePtr node = xmlNewDocNode(impl_->doc, nullptr, X(qname), nullptr);
    if (!node) throw std::bad_alloc();
    impl_->detached.push_back(node);
    return WrapNode(impl_, node);
}

P<Element> Document::SelectSingleNode(const std::string& path) const {
    const auto found = Select(reinterpret_cast<xmlNodePtr>(impl_->doc), impl_->doc, path, true);
    return found.empty() ? nullptr : WrapNode(impl_, found.front());
}

std::vector<P<Element>> Document::SelectNodes(const std::string& path) const {
    return WrapAll(impl_, Select(reinterpret_cast<xmlNodePtr>(impl_->doc), impl_->doc, path, false));
}

// ---- Element ----

Element::Element(const Key&, std::shared_ptr<DocImpl> doc, void* node) : doc_(std::move(doc)), node_(node) {}
Element::~Element() = default;

std::string Element::Name() const { return QualifiedName(AsNode(node_)); }

com::Variant Element::GetAttribute(const std::string& name) const {
    xmlNodePtr node = AsNode(node_);
    std::string prefix;
    if (IsNamespaceDeclaration(name, prefix))
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
            if (SamePrefix(ns, prefix)) return com::Variant(S(ns->href));
    xmlAttrPtr a = FindProperty(node, name);
    if (!a) return com::Variant::Null();
    return com::Variant(TakeString(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a))));
}

bool Element::HasAttribute(const std::string& name) const { return !GetAttribute(name).IsNull(); }

void Element::SetAttribute(const std::string& name, const std::string& value) {
    if (!IsQName(name)) com::Raise(com::errInvalidArgument, "Invalid attribute name: " + name);
    xmlNodePtr node = AsNode(node_);
    std::string prefix;
    if (IsNamespaceDeclaration(name, prefix)) {
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next) {
            if (!SamePrefix(ns, prefix)) continue;
            xmlChar* href = xmlStrdup(X(XmlSafe(value)));
            if (!href) throw std::bad_alloc();
            xmlFree(const_cast<xmlChar*>(ns->href));
            ns->href = href;
            return;
        }
    }
    const std::string safe = XmlSafe(value);
    xmlAttrPtr done = nullptr;
    if (xmlAttrPtr a = FindProperty(node, name))
        done = xmlSetNsProp(node, a->ns, a->name, X(safe));
    else
        done = xmlNewProp(node, X(name), X(safe));  // the name is kept whole, prefix included
    if (!done) throw std::bad_alloc();
}

void Element::RemoveAttribute(const std::string& name) {
    xmlNodePtr node = AsNode(node_);
    std::string prefix;
    if (IsNamespaceDeclaration(name, prefix)) {
        // Nodes may still point at the declaration: keep it alive until the
        // document goes.
        for (xmlNsPtr* link = &node->nsDef; *link; link = &(*link)->next) {
            if (!SamePrefix(*link, prefix)) continue;
            xmlNsPtr ns = *link;
            *link = ns->next;
            ns->next = nullptr;
            doc_->retiredNamespaces.push_back(ns);
            return;
        }
    }
    if (xmlAttrPtr a = FindProperty(node, name)) xmlRemoveProp(a);
}

std::vector<std::pair<std::string, std::string>> Element::Attributes() const {
    xmlNodePtr node = AsNode(node_);
    std::vector<std::pair<std::string, std::string>> out;
    for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
        out.emplace_back(ns->prefix ? "xmlns:" + S(ns->prefix) : "xmlns", S(ns->href));
    for (xmlAttrPtr a = node->properties; a; a = a->next)
        out.emplace_back(QualifiedName(a), TakeString(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a))));
    return out;
}

std::vector<P<Element>> Element::ChildElements() const {
    std::vector<P<Element>> out;
    for (xmlNodePtr n = AsNode(node_)->children; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE) out.push_back(WrapNode(doc_, n));
    return out;
}

void Element::AppendChild(const P<Element>& child) {
    xmlNodePtr node = AsNode(node_);
    xmlNodePtr c = AsNode(com::Deref(child).node_);
    if (c->doc != node->doc) com::Raise(com::errInvalidArgument, "The element belongs to another document");
    for (xmlNodePtr up = node; up; up = up->parent)
        if (up == c) com::Raise(com::errInvalidArgument, "An element cannot contain itself");
    xmlUnlinkNode(c);
    xmlAddChild(node, c);
}

std::string Element::Text() const { return TakeString(xmlNodeGetContent(AsNode(node_))); }

void Element::SetText(const std::string& text) {
    xmlNodePtr node = AsNode(node_);
    // Child elements may still have handles: detach them rather than free them.
    while (xmlNodePtr c = node->children) {
        xmlUnlinkNode(c);
        if (c->type == XML_ELEMENT_NODE)
            doc_->detached.push_back(c);
        else
            xmlFreeNode(c);
    }
    const std::string safe = XmlSafe(text);
    if (safe.empty()) return;
    xmlNodePtr t = xmlNewDocText(node->doc, X(safe));
    if (!t) throw std::bad_alloc();
    xmlAddChild(node, t);
}

P<Element> Element::ParentElement() const {
    xmlNodePtr parent = AsNode(node_)->parent;
    return parent && parent->type == XML_ELEMENT_NODE ? WrapNode(doc_, parent) : nullptr;
}

P<Document> Element::OwnerDocument() const { return P<Document>(new Document(doc_)); }

bool Element::IsSameNode(const P<Element>& other) const { return other && other->node_ == node_; }

P<Element> Element::SelectSingleNode(const std::string& path) const {
    const auto found = Select(AsNode(node_), doc_->doc, path, true);
    return found.empty() ? nullptr : WrapNode(doc_, found.front());
}

std::vector<P<Element>> Element::SelectNodes(const std::string& path) const {
    return WrapAll(doc_, Select(AsNode(node_), doc_->doc, path, false));
}

}  // namespace platform::xml
