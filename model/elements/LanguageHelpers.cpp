#include "model/elements/LanguageHelpers.h"

#include <optional>

#include "model/elements/clsDataElement.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {
using namespace platform;

namespace {

constexpr const char* kKeysSection = "keys";
constexpr const char* kTextField = "text";

// Every occurrence of `placeholder`, case-sensitive.
void ReplaceAll(std::string& text, const std::string& placeholder, const std::string& with) {
    for (size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + with.size())) {
        text.replace(at, placeholder.size(), with);
    }
}

}  // namespace

std::string GetLangText(const P<rt::DTMContext>& DTMContext, const std::string& key, const Variant& arg1,
                        const Variant& arg2, const Variant& arg3) {
    const auto& dictionary = com::Deref(com::Deref(DTMContext).Dictionary());
    const Variant found = dictionary.LookupText(kKeysSection, key, kTextField);
    if (!found.IsString()) return key;
    std::string text = found.StrRef();
    const Variant* args[] = {&arg1, &arg2, &arg3};
    for (int i = 0; i < 3; ++i) {
        if (!args[i]->IsMissing()) ReplaceAll(text, "%" + std::to_string(i + 1), com::CStr(*args[i]));
    }
    return ExpandTextRefs(text, DTMContext, dictionary.SectionNode(kKeysSection));
}

std::string ExpandTextRefs(const std::string& text, const P<rt::DTMContext>& DTMContext,
                           const P<xml::Element>& keys) {
    return com::Deref(com::Deref(DTMContext).Dictionary()).ExpandReferences(text, keys, kTextField);
}

void SetLangCaptions(const P<rt::DTMContext>& DTMContext, const std::string& prefix,
                     const std::vector<P<ui::Control>>& controls) {
    const auto& dictionary = com::Deref(com::Deref(DTMContext).Dictionary());
    const auto keys = dictionary.SectionNode(kKeysSection);
    // The caption text of `key`, if the dictionary has one.
    const auto textOf = [&](const std::string& key) -> std::optional<std::string> {
        const Variant text = dictionary.LookupText(keys, key, kTextField);
        if (!text.IsString()) return std::nullopt;
        return dictionary.ExpandReferences(text.StrRef(), keys, kTextField);
    };
    for (const auto& control : controls) {
        if (!control) continue;
        std::string key = prefix + control->Name;
        if (control->Index) key += "_" + std::to_string(*control->Index);
        if (key.size() <= prefix.size()) continue;
        if (auto* captioned = dynamic_cast<ui::CaptionedControl*>(control.get())) {
            if (auto text = textOf(key)) captioned->Caption(std::move(*text));
        } else if (auto* strip = dynamic_cast<ui::TabStrip*>(control.get())) {
            const int32_t count = strip->Tabs().Count();
            for (int32_t i = 1; i <= count; ++i)
                if (auto text = textOf(key + "." + std::to_string(i))) strip->Tabs().Item(i)->Caption(std::move(*text));
        }
    }
}

std::string GetValueListText(const clsDataElement& element) {
    if (element.ValueList.empty() || !com::IsNumeric(element.TransientValue)) return "";
    const int32_t value = com::CLng(element.TransientValue);
    for (const std::string& item : com::vb::Split(element.ValueList, "|")) {
        const size_t colon = item.find(':');
        if (colon == std::string::npos) continue;
        int32_t number = 0;
        try {
            number = com::CLng(Variant(item.substr(0, colon)));
        } catch (const com::ComError&) {
            continue;
        }
        if (number == value) return item.substr(colon + 1);
    }
    return "";
}

}  // namespace dtm
