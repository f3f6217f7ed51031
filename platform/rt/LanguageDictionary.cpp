#include "platform/rt/LanguageDictionary.h"

#include <cmath>
#include <optional>

#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

constexpr const char* kLanguageTag = "Language";
constexpr const char* kEntryTag = "entry";

// The lcid attribute of a language node; none when it is missing or no whole number.
std::optional<int32_t> LcidOf(const xml::Element& language) {
    const Variant attr = language.GetAttribute("lcid");
    double value = 0;
    if (!attr.IsString() || !com::ParseNumber(attr.StrRef(), value)) return std::nullopt;
    if (value != std::floor(value) || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::vector<P<xml::Element>> Languages(const xml::Document& document) {
    std::vector<P<xml::Element>> languages;
    if (const auto root = document.DocumentElement()) {
        for (auto& child : root->ChildElements())
            if (child->Name() == kLanguageTag) languages.push_back(std::move(child));
    }
    return languages;
}

// The first language with exactly `lcid`, else the first with its primary language.
P<xml::Element> FindLanguage(const std::vector<P<xml::Element>>& languages, int32_t lcid) {
    P<xml::Element> samePrimary;
    for (const auto& language : languages) {
        const auto own = LcidOf(*language);
        if (!own) continue;
        if (*own == lcid) return language;
        if (!samePrimary && *own % 1024 == lcid % 1024) samePrimary = language;
    }
    return samePrimary;
}

// Text with & < > " ' escaped, for insertion into XML text or attribute values.
void AppendEscaped(std::string& out, const std::string& text) {
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
}

}  // namespace

bool LanguageDictionary::LoadDictionary(const P<DTMContext>& ctx, const std::string& name) {
    const auto& context = com::Deref(ctx);
    auto document = std::make_shared<xml::Document>();
    if (!document->Load(com::Deref(context.PathInfo()).XmlDataPath() + name + ".xml")) return false;
    const auto languages = Languages(*document);
    if (languages.empty()) return false;

    const auto registry = context.GuiRegistry();
    const int32_t wanted = registry ? registry->LanguageId() : 0;
    auto language = FindLanguage(languages, wanted);
    if (!language) language = languages.front();
    document_ = std::move(document);
    Select(language, LcidOf(*language).value_or(0));
    return true;
}

bool LanguageDictionary::HasLanguage(int32_t lcid) const {
    return document_ && FindLanguage(Languages(*document_), lcid) != nullptr;
}

bool LanguageDictionary::SelectLanguage(int32_t lcid, int32_t flag) {
    if (!document_) return false;
    const auto language = FindLanguage(Languages(*document_), lcid);
    if (!language) return false;
    flag_ = flag;
    Select(language, LcidOf(*language).value_or(0));
    return true;
}

void LanguageDictionary::Select(const P<xml::Element>& language, int32_t lcid) {
    sections_.clear();
    for (auto& node : language->ChildElements()) {
        Section section;
        for (auto& entry : node->ChildElements()) {
            if (entry->Name() != kEntryTag) continue;
            const Variant key = entry->GetAttribute("key");
            if (key.IsString()) section.entries.try_emplace(key.StrRef(), std::move(entry));
        }
        section.node = std::move(node);
        const std::string sectionName = section.node->Name();
        sections_.try_emplace(sectionName, std::move(section));
    }
    language_ = language;
    selectedLcid_ = lcid;
}

std::string LanguageDictionary::Translate(const std::string& document, const P<DTMContext>&,
                                          const std::string& section, const std::string& field) {
    const auto node = SectionNode(section);
    return node ? ExpandReferences(document, node, field, true) : document;
}

std::string LanguageDictionary::ExpandReferences(const std::string& text, const P<xml::Element>& section,
                                                 const std::string& field, bool xmlEscape) const {
    size_t open = text.find("$(");
    if (open == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;  // start of the part of `text` not yet copied
    for (; open != std::string::npos; open = text.find("$(", pos)) {
        const size_t close = text.find(')', open + 2);
        if (close == std::string::npos) break;
        const Variant found = LookupText(section, text.substr(open + 2, close - open - 2), field);
        out.append(text, pos, open - pos);
        if (!found.IsString()) out.append(text, open, close + 1 - open);
        else if (xmlEscape) AppendEscaped(out, found.StrRef());
        else out += found.StrRef();
        pos = close + 1;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

Variant LanguageDictionary::LookupText(const std::string& section, const std::string& key,
                                       const std::string& field) const {
    const auto node = SectionNode(section);
    return node ? LookupText(node, key, field) : Variant();
}

Variant LanguageDictionary::LookupText(const P<xml::Element>& section, const std::string& key,
                                       const std::string& field) const {
    const auto entry = KeyNode(section, key);
    if (!entry) return {};
    Variant text = entry->GetAttribute(field);
    return text.IsString() ? text : Variant();
}

P<xml::Element> LanguageDictionary::SectionNode(const std::string& name) const {
    const auto it = sections_.find(name);
    return it == sections_.end() ? nullptr : it->second.node;
}

const LanguageDictionary::Section* LanguageDictionary::IndexOf(const P<xml::Element>& section) const {
    const auto it = sections_.find(section->Name());
    if (it != sections_.end() && it->second.node->IsSameNode(section)) return &it->second;
    return nullptr;
}

P<xml::Element> LanguageDictionary::KeyNode(const P<xml::Element>& section, const std::string& key) const {
    const auto& node = com::Deref(section);
    if (const auto* index = IndexOf(section)) {
        const auto it = index->entries.find(key);
        return it == index->entries.end() ? nullptr : it->second;
    }
    // A section of a language that is no longer selected: searched in place.
    for (auto& entry : node.ChildElements()) {
        if (entry->Name() != kEntryTag) continue;
        const Variant own = entry->GetAttribute("key");
        if (own.IsString() && own.StrRef() == key) return entry;
    }
    return nullptr;
}

}  // namespace platform::rt
