#include "model/build/DataModelLanguage.h"

#include "core/services/ProjectHelpers.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace dtm {
using namespace platform;

namespace {

constexpr const char* kDiagnosis = "PHYS/DIAGNOSIS";
constexpr const char* kDiagnosisMask = "PHYS/DIAGNOSIS_MASK";

// A section of the selected language; a missing one raises 91.
P<xml::Element> RequiredSection(const rt::LanguageDictionary& dictionary, const std::string& name) {
    auto section = dictionary.SectionNode(name);
    if (!section) com::Raise(com::errObjectNotSet, "The dictionary has no section \"" + name + "\"");
    return section;
}

// Runs one optional step; its failure leaves what it would have set.
template <class Step>
void Optional(Step&& step) {
    try {
        step();
    } catch (const com::ComError&) {
    }
}

// The fields of one entry, expanded.
struct EntryTexts {
    SharedText label;
    SharedText description;
    SharedText help;
    std::optional<SharedText> valueLists;
    std::optional<SharedText> valueList;
    std::optional<SharedText> iconList;
    std::optional<SharedText> cmdErrList;
};

// The expanded texts of one language of a dictionary, made as the elements
// ask for them and shared by every instance in that language, so that all
// hold one copy of each text.
struct LanguageTexts {
    std::unordered_map<std::string, SharedText> byContent;
    std::unordered_map<const xml::Element*, EntryTexts> byEntry;
    std::optional<SharedText> defaultCmdErrList;
};

// The texts of the language whose "parameters" section this is; they live as
// long as the section (the parsed dictionary) does.
std::shared_ptr<LanguageTexts> TextsOfLanguage(const P<xml::Element>& section) {
    static std::mutex mutex;
    static std::map<std::weak_ptr<const void>, std::shared_ptr<LanguageTexts>, std::owner_less<>> languages;
    const std::lock_guard lock(mutex);
    if (const auto it = languages.find(section); it != languages.end()) return it->second;
    std::erase_if(languages, [](const auto& entry) { return entry.first.expired(); });
    auto texts = std::make_shared<LanguageTexts>();
    languages.emplace(section, texts);
    return texts;
}

class TextSetter {
public:
    explicit TextSetter(const P<rt::DTMContext>& ctx)
        : ctx_(ctx),
          dictionary_(com::Deref(com::Deref(ctx).Dictionary())),
          parameters_(com::Deref(com::Deref(ctx).Parameters())),
          profile_(RequiredSection(dictionary_, "parameters")),
          manuSpec_(RequiredSection(dictionary_, "parameters_manu_spec")),
          keys_(RequiredSection(dictionary_, "keys")),
          language_(TextsOfLanguage(profile_)) {
        if (!language_->defaultCmdErrList) {
            const Variant list = dictionary_.LookupText(profile_, "~/Tag", "cmdErrList");
            language_->defaultCmdErrList = list.IsString() ? Shared(Expand(list.StrRef())) : SharedText();
        }
        defaultCmdErrList_ = *language_->defaultCmdErrList;
    }

    void SetAll() {
        for (const auto& item : parameters_) {
            if (auto* element = dynamic_cast<clsDataElement*>(item.get())) Set(*element);
        }
    }

private:
    std::string Expand(const std::string& text) const { return ExpandTextRefs(text, ctx_, keys_); }

    // The one copy of `text` that every element with this text holds.
    SharedText Shared(std::string&& text) {
        auto [it, added] = language_->byContent.try_emplace(text);
        if (added) it->second = SharedText(std::move(text));
        return it->second;
    }

    // The expanded field of the entry; a missing field raises 94.
    SharedText Field(const xml::Element& entry, const char* field) {
        const Variant text = entry.GetAttribute(field);
        if (!text.IsString()) {
            com::Raise(com::errInvalidNull, "Dictionary entry \"" + com::CStr(entry.GetAttribute("key")) +
                                                "\" has no \"" + field + "\"");
        }
        return Shared(Expand(text.StrRef()));
    }

    // The expanded field, or nothing when the entry has no such field.
    std::optional<SharedText> OptionalField(const xml::Element& entry, const char* field) {
        const Variant text = entry.GetAttribute(field);
        if (!text.IsString()) return std::nullopt;
        return Shared(Expand(text.StrRef()));
    }

    // The fields of one entry, expanded. The blocks of one kind share their
    // entries, and the instances their language, so each entry is read once.
    const EntryTexts& TextsOf(const xml::Element& entry) {
        auto& entries = language_->byEntry;
        if (const auto it = entries.find(&entry); it != entries.end()) return it->second;
        EntryTexts texts{Field(entry, "label"), Field(entry, "description"), Field(entry, "help"),
                         OptionalField(entry, "valueLists"), OptionalField(entry, "valueList"),
                         OptionalField(entry, "iconList"), OptionalField(entry, "cmdErrList")};
        return entries.emplace(&entry, std::move(texts)).first->second;
    }

    void Set(clsDataElement& element) {
        const std::string key = LanguageEntryKey(element);
        auto entry = dictionary_.KeyNode(manuSpec_, key);
        if (!entry) entry = dictionary_.KeyNode(profile_, key);
        if (!entry) return;

        const EntryTexts& texts = TextsOf(*entry);
        element.Label = texts.label;
        element.Description = texts.description;
        element.Help = texts.help;

        if (texts.valueLists) element.ValueLists = *texts.valueLists;
        if (texts.valueList) element.ValueList = *texts.valueList;
        if (!element.ValueList.empty()) {
            Optional([&] { element.ReplaceValueListEntries(); });
            if (element.Name == kDiagnosis || element.Name == kDiagnosisMask) {
                Optional([&] { ReduceDiagnosisList(); });
            }
        }
        if (texts.iconList) element.IconList = *texts.iconList;
        // An entry without its own list takes the default list of this
        // language, so no list of the former language stays behind.
        const bool ownList = texts.cmdErrList && !texts.cmdErrList->empty();
        element.CmdErrList = ownList ? *texts.cmdErrList : defaultCmdErrList_;
    }

    // The diagnosis list keeps only the bits that the mask enables.
    void ReduceDiagnosisList() {
        auto* diagnosis = dynamic_cast<clsDataElement*>(parameters_.Find(kDiagnosis).get());
        const auto* mask = dynamic_cast<clsDataElement*>(parameters_.Find(kDiagnosisMask).get());
        if (!diagnosis || !mask || diagnosis->ValueList.empty() || mask->ValueList.empty()) return;
        diagnosis->ValueList = BitsToIndexTextList(mask->TransientValue, *diagnosis);
    }

    P<rt::DTMContext> ctx_;
    const rt::LanguageDictionary& dictionary_;
    const rt::Parameters& parameters_;
    P<xml::Element> profile_;
    P<xml::Element> manuSpec_;
    P<xml::Element> keys_;
    std::shared_ptr<LanguageTexts> language_;
    SharedText defaultCmdErrList_;
};

}  // namespace

std::string LanguageEntryKey(const clsDataElement& element) {
    if (element.BlockType == pbfPhysicalBlock) return element.Name;
    const std::string number = "/" + std::to_string(element.BlockNumber) + "/";
    std::string key = element.Name;
    for (size_t at = key.find(number); at != std::string::npos; at = key.find(number, at + 3))
        key.replace(at, number.size(), "/i/");
    return key;
}

void SetLanguageTexts(const P<rt::DTMContext>& DTMContext) { TextSetter(DTMContext).SetAll(); }

void SetUnitTexts(const P<rt::DTMContext>& DTMContext, clsPROFIBUSProfil3Units& units) {
    const auto& dictionary = com::Deref(com::Deref(DTMContext).Dictionary());
    const auto section = RequiredSection(dictionary, "units");
    // The section stands for the language's texts: the instances in this
    // language share one table.
    units.SetLanguageTexts(section, [&](int32_t code) -> std::optional<std::string> {
        const auto entry = dictionary.KeyNode(section, "unit_" + std::to_string(code));
        if (!entry) return std::nullopt;
        const Variant text = entry->GetAttribute("text");
        if (!text.IsString()) return std::nullopt;
        return text.StrRef();
    });
}

std::string BitsToIndexTextList(const Variant& value, clsDataElement& element) {
    const std::vector<std::string> bits = com::vb::Split(ValueToBitString(value), "|");
    std::string out;
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i] != "1") continue;
        const bool bitEncoding = element.bBitEncoding;
        element.bBitEncoding = false;
        const std::string text = element.GetStrValueFromIdxList(static_cast<int32_t>(i));
        element.bBitEncoding = bitEncoding;
        if (text.empty()) continue;
        if (!out.empty()) out += '|';
        out += std::to_string(i) + ":" + text;
    }
    return out;
}

}  // namespace dtm
