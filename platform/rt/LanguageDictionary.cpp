#include "platform/rt/LanguageDictionary.h"

#include <cmath>
#include <filesystem>
#include <mutex>
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

// A parsed dictionary file and what was found in it, shared by the instances
// that load it. The document is never changed; the language look-ups and
// indexes are added under the lock as they are first asked for.
class LanguageDictionary::File {
public:
    explicit File(P<xml::Document> document) : document_(std::move(document)), languages_(Languages(*document_)) {}

    const P<xml::Document>& Document() const { return document_; }
    bool Empty() const { return languages_.empty(); }

    // The language `lcid` selects (FindLanguage), or null when none does.
    std::shared_ptr<const LanguageIndex> Language(int32_t lcid) const {
        const std::lock_guard lock(mutex_);
        const auto [it, added] = byLcid_.try_emplace(lcid);
        if (added) it->second = IndexLocked(FindLanguage(languages_, lcid));
        return it->second;
    }
    // The first language.
    std::shared_ptr<const LanguageIndex> FirstLanguage() const {
        const std::lock_guard lock(mutex_);
        return IndexLocked(languages_.front());
    }

    // The file at `path` as parsed before, while some instance still holds it
    // and the file is unchanged; else parsed now. Null when it cannot be read
    // or holds no language.
    static std::shared_ptr<const File> Load(const std::string& path) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        const auto changed = std::filesystem::last_write_time(path, ec);
        if (ec) return nullptr;
        static std::mutex cacheMutex;
        static std::unordered_map<std::string, Cached> cache;
        const std::lock_guard lock(cacheMutex);
        auto& cached = cache[path];
        if (auto file = cached.file.lock(); file && cached.size == size && cached.changed == changed) return file;
        auto document = std::make_shared<xml::Document>();
        if (!document->Load(path)) return nullptr;
        auto file = std::make_shared<const File>(std::move(document));
        if (file->Empty()) return nullptr;
        cached = {file, size, changed};
        return file;
    }

private:
    struct Cached {
        std::weak_ptr<const File> file;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type changed;
    };

    std::shared_ptr<const LanguageIndex> IndexLocked(const P<xml::Element>& language) const {
        if (!language) return nullptr;
        const auto [it, added] = indexes_.try_emplace(language.get());
        if (added) it->second = BuildIndex(*language);
        return it->second;
    }

    static std::shared_ptr<const LanguageIndex> BuildIndex(const xml::Element& language) {
        auto index = std::make_shared<LanguageIndex>();
        index->lcid = LcidOf(language).value_or(0);
        for (auto& node : language.ChildElements()) {
            Section section;
            for (auto& entry : node->ChildElements()) {
                if (entry->Name() != kEntryTag) continue;
                const Variant key = entry->GetAttribute("key");
                if (key.IsString()) section.entries.try_emplace(key.StrRef(), std::move(entry));
            }
            section.node = std::move(node);
            const std::string sectionName = section.node->Name();
            index->sections.try_emplace(sectionName, std::move(section));
        }
        return index;
    }

    const P<xml::Document> document_;
    const std::vector<P<xml::Element>> languages_;
    mutable std::mutex mutex_;
    mutable std::unordered_map<int32_t, std::shared_ptr<const LanguageIndex>> byLcid_;
    mutable std::unordered_map<const xml::Element*, std::shared_ptr<const LanguageIndex>> indexes_;
};

bool LanguageDictionary::LoadDictionary(const P<DTMContext>& ctx, const std::string& name) {
    const auto& context = com::Deref(ctx);
    auto file = File::Load(com::Deref(context.PathInfo()).XmlDataPath() + name + ".xml");
    if (!file) return false;

    const auto registry = context.GuiRegistry();
    const int32_t wanted = registry ? registry->LanguageId() : 0;
    auto language = file->Language(wanted);
    if (!language) language = file->FirstLanguage();
    file_ = std::move(file);
    language_ = std::move(language);
    return true;
}

P<xml::Document> LanguageDictionary::DictionaryDocument() const { return file_ ? file_->Document() : nullptr; }

int32_t LanguageDictionary::SelectedLcid() const { return language_ ? language_->lcid : 0; }

bool LanguageDictionary::HasLanguage(int32_t lcid) const { return file_ && file_->Language(lcid) != nullptr; }

bool LanguageDictionary::SelectLanguage(int32_t lcid, int32_t flag) {
    if (!file_) return false;
    auto language = file_->Language(lcid);
    if (!language) return false;
    flag_ = flag;
    language_ = std::move(language);
    return true;
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
    if (!language_) return nullptr;
    const auto it = language_->sections.find(name);
    return it == language_->sections.end() ? nullptr : it->second.node;
}

const LanguageDictionary::Section* LanguageDictionary::IndexOf(const P<xml::Element>& section) const {
    if (!language_) return nullptr;
    const auto it = language_->sections.find(section->Name());
    if (it != language_->sections.end() && it->second.node->IsSameNode(section)) return &it->second;
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
