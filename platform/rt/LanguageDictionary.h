#pragma once
// The language texts of one DTM instance: the dictionary file, the selected
// language and text look-up by section, key and field.
//
// The file holds one <Language lcid=".." name=".."> per language; each holds
// its sections ("keys", "parameters", ...) of <entry key=".." field=".."/>.
// The parsed file is immutable and shared by every instance of the process
// that loads the same file (same path, size and time of change); so is the
// index of each language's sections by key, built on its first selection, so
// that a look-up costs one hash probe. Which language an lcid selects, or
// that none does, is found once per file. An instance's selection is its own.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::xml {
class Document;
class Element;
}  // namespace platform::xml

namespace platform::rt {

class DTMContext;

class LanguageDictionary : public com::Object {
public:
    // Null until loaded. Shared: never to be changed.
    P<xml::Document> DictionaryDocument() const;
    // Loads XmlDataPath + name + ".xml" and selects a language at once: the
    // registry's LanguageId, else its primary language, else the first.
    bool LoadDictionary(const P<DTMContext>& ctx, const std::string& name);
    // The exact lcid, else the first language with the same primary id.
    // False when neither exists; nothing changes then.
    bool SelectLanguage(int32_t lcid, int32_t flag);
    // Replaces $(key) in attribute values and texts in one pass; unknown keys stay.
    std::string Translate(const std::string& document, const P<DTMContext>& ctx,
                          const std::string& section, const std::string& field);
    // The text, or Empty when the key or the field is missing.
    Variant LookupText(const std::string& section, const std::string& key,
                       const std::string& field) const;
    Variant LookupText(const P<xml::Element>& section, const std::string& key,
                       const std::string& field) const;
    // Replaces each $(key) of `text` by the `field` of that key in `section`,
    // left to right in one pass: an inserted text is not scanned again. A key
    // without that field, and an unterminated "$(", stay as they are. With
    // `xmlEscape` the inserted texts have & < > " ' escaped. A reference
    // looked up in a null section raises 91.
    std::string ExpandReferences(const std::string& text, const P<xml::Element>& section,
                                 const std::string& field, bool xmlEscape = false) const;
    // The current language's section, or null.
    P<xml::Element> SectionNode(const std::string& name) const;
    // The entry of that key (the first duplicate wins), or null.
    P<xml::Element> KeyNode(const P<xml::Element>& section, const std::string& key) const;

    // A loaded language with this lcid or its primary language exists.
    bool HasLanguage(int32_t lcid) const;
    // The lcid of the selected language; 0 while none is selected.
    int32_t SelectedLcid() const;
    // The flag given with the last successful SelectLanguage.
    int32_t Flag() const { return flag_; }

    struct Section {
        P<xml::Element> node;
        std::unordered_map<std::string, P<xml::Element>> entries;  // first duplicate kept
    };
    // One language's sections by name.
    struct LanguageIndex {
        int32_t lcid = 0;
        std::unordered_map<std::string, Section> sections;
    };
    class File;  // a parsed dictionary file, shared

private:
    const Section* IndexOf(const P<xml::Element>& section) const;

    std::shared_ptr<const File> file_;
    std::shared_ptr<const LanguageIndex> language_;  // the selected one
    int32_t flag_ = 0;
};

}  // namespace platform::rt
