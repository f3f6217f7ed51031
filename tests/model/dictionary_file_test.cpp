// The shipped language dictionary: well-formed, complete for the unit table and
// the profile block tables, every parameter entry with its three texts, and
// every value list and text reference usable as the model reads them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "frame/ProfileBlocks.h"
#include "frame/StandaloneModel.h"
#include "model/clsDataElement.h"
#include "model/clsPROFIBUSProfil3Units.h"
#include "model/ProfibusBlockFlags.h"
#include "platform/app/Path.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace dtm {
namespace {

using platform::P;
using platform::xml::Document;
using platform::xml::Element;

// Constant units that the block builders register while the model is built.
const std::set<int> kConstantUnits = {900, 901, 902, 903, 904};

// Keys the component looks up in the general texts.
const std::vector<std::string> kMessageKeys = {
    "key_RXD214", "key_RXD218", "devtype_not_supported", "devicetype_not_supported",
    "devicetype_expected", "error_help_file_not_found", "k_saved", "k_online", "k_changed", "k_mixed"};

std::string Attr(const P<Element>& entry, const std::string& name) {
    const auto v = entry->GetAttribute(name);
    return v.IsString() ? platform::com::CStr(v) : std::string();
}

bool IsWholeNumber(const std::string& text) {
    if (text.empty()) return false;
    char* end = nullptr;
    std::strtol(text.c_str(), &end, 10);
    return *end == '\0';
}

// The items of a value list "number:text|..." that are not of that form.
std::vector<std::string> BadValueListItems(const std::string& list) {
    std::vector<std::string> bad;
    size_t start = 0;
    for (;;) {
        const size_t bar = list.find('|', start);
        const std::string item = list.substr(start, bar == std::string::npos ? bar : bar - start);
        const size_t colon = item.find(':');
        if (colon == std::string::npos || !IsWholeNumber(item.substr(0, colon))) bad.push_back(item);
        if (bar == std::string::npos) return bad;
        start = bar + 1;
    }
}

// The lists of a "selector:{list}selector:{list}..." text; false when it has another form.
bool SplitValueLists(const std::string& text, std::vector<std::string>& lists) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t open = text.find(":{", pos);
        const size_t close = open == std::string::npos ? open : text.find('}', open + 2);
        if (close == std::string::npos || !IsWholeNumber(text.substr(pos, open - pos))) return false;
        lists.push_back(text.substr(open + 2, close - open - 2));
        pos = close + 1;
    }
    return !lists.empty();
}

// One language of the file: its sections by name, each a map key -> entry.
struct Language {
    std::string name;
    std::string lcid;
    std::map<std::string, std::map<std::string, P<Element>>> sections;
    std::vector<std::string> duplicates;  // "section/key"

    const std::map<std::string, P<Element>>& Section(const std::string& s) const {
        static const std::map<std::string, P<Element>> none;
        auto it = sections.find(s);
        return it == sections.end() ? none : it->second;
    }
    bool HasParameterEntry(const std::string& key) const {
        return Section("parameters").count(key) || Section("parameters_manu_spec").count(key);
    }
    // $(key) references replaced by the text of "keys"; unknown ones are reported.
    std::string Expand(const std::string& text, std::vector<std::string>& unknown) const {
        std::string out;
        size_t pos = 0;
        for (;;) {
            const size_t open = text.find("$(", pos);
            const size_t close = open == std::string::npos ? open : text.find(')', open + 2);
            if (close == std::string::npos) return out + text.substr(pos);
            const std::string key = text.substr(open + 2, close - open - 2);
            out += text.substr(pos, open - pos);
            auto it = Section("keys").find(key);
            if (it == Section("keys").end()) {
                unknown.push_back(key);
                out += text.substr(open, close - open + 1);
            } else {
                out += Attr(it->second, "text");
            }
            pos = close + 1;
        }
    }
};

class DictionaryFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string path = platform::app::Path() + "/XMLData/DTMDictionary.xml";
        doc_ = std::make_shared<Document>();
        loaded_ = doc_->Load(path);
        if (!loaded_) return;
        for (const auto& lang : doc_->SelectNodes("Dictionary/Language")) {
            Language l;
            l.name = Attr(lang, "name");
            l.lcid = Attr(lang, "lcid");
            for (const auto& section : lang->ChildElements()) {
                auto& entries = l.sections[section->Name()];
                for (const auto& entry : section->ChildElements()) {
                    const std::string key = Attr(entry, "key");
                    if (!entries.emplace(key, entry).second) l.duplicates.push_back(section->Name() + "/" + key);
                }
            }
            languages_.push_back(std::move(l));
        }
    }
    static void TearDownTestSuite() {
        languages_.clear();
        doc_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(loaded_) << "XMLData/DTMDictionary.xml is missing or not well-formed";
        ASSERT_FALSE(languages_.empty());
    }

    static inline P<Document> doc_;
    static inline bool loaded_ = false;
    static inline std::vector<Language> languages_;
};

TEST_F(DictionaryFile, EveryLanguageHasTheFourSectionsWithoutDuplicateKeys) {
    EXPECT_EQ(Attr(doc_->DocumentElement(), "name"), "DTMDictionary");
    for (const auto& l : languages_) {
        for (const char* s : {"keys", "parameters", "parameters_manu_spec", "units"})
            EXPECT_TRUE(l.sections.count(s)) << l.name << ": no section " << s;
        EXPECT_TRUE(l.duplicates.empty()) << l.name << ": duplicate " << l.duplicates.front();
    }
}

TEST_F(DictionaryFile, EveryParameterEntryHasLabelDescriptionAndHelp) {
    for (const auto& l : languages_)
        for (const char* s : {"parameters", "parameters_manu_spec"})
            for (const auto& [key, entry] : l.Section(s))
                for (const char* field : {"label", "description", "help"})
                    EXPECT_FALSE(Attr(entry, field).empty()) << l.name << " " << s << " '" << key << "': no " << field;
}

TEST_F(DictionaryFile, ModelNamesAndMessageKeysHaveTexts) {
    for (const auto& l : languages_) {
        for (const auto& key : kMessageKeys)
            EXPECT_TRUE(l.Section("keys").count(key)) << l.name << ": no text for " << key;
        ASSERT_TRUE(l.Section("keys").count("key_RXD214"));
        ASSERT_TRUE(l.Section("keys").count("key_RXD218"));
        EXPECT_EQ(Attr(l.Section("keys").at("key_RXD214"), "text"), "RXD 214");
        EXPECT_EQ(Attr(l.Section("keys").at("key_RXD218"), "text"), "RXD 218");
        // The default command-error list names the "access denied" answer of a write.
        ASSERT_TRUE(l.Section("parameters").count("~/Tag"));
        std::vector<std::string> unknown;
        const std::string errors = l.Expand(Attr(l.Section("parameters").at("~/Tag"), "cmdErrList"), unknown);
        EXPECT_NE(("|" + errors).find("|182:"), std::string::npos) << l.name;
    }
}

TEST_F(DictionaryFile, UnitEntriesMatchTheUnitTable) {
    std::map<int, std::string> profileTexts;
    for (const auto& row : ProfileUnitRows()) profileTexts.emplace(row.code, std::string(row.text));
    for (const auto& l : languages_) {
        std::set<int> present;
        for (const auto& [key, entry] : l.Section("units")) {
            ASSERT_EQ(key.rfind("unit_", 0), 0u) << l.name << ": " << key;
            const std::string digits = key.substr(5);
            ASSERT_TRUE(IsWholeNumber(digits)) << l.name << ": " << key;
            const int code = std::atoi(digits.c_str());
            EXPECT_TRUE(profileTexts.count(code) || kConstantUnits.count(code)) << l.name << ": unregistered " << key;
            EXPECT_TRUE(entry->HasAttribute("text")) << l.name << ": " << key;
            // The English texts are the table's own (the section is written from it).
            if (l.lcid == "1033" && profileTexts.count(code)) {
                EXPECT_EQ(Attr(entry, "text"), profileTexts[code]) << key;
            }
            present.insert(code);
        }
        for (const auto& [code, text] : profileTexts) EXPECT_TRUE(present.count(code)) << l.name << ": no unit_" << code;
        for (int code : kConstantUnits) EXPECT_TRUE(present.count(code)) << l.name << ": no unit_" << code;
    }
}

TEST_F(DictionaryFile, TextReferencesAndValueListsResolve) {
    for (const auto& l : languages_) {
        for (const char* s : {"keys", "parameters", "parameters_manu_spec"}) {
            for (const auto& [key, entry] : l.Section(s)) {
                for (const auto& [name, value] : entry->Attributes()) {
                    std::vector<std::string> unknown;
                    const std::string text = l.Expand(value, unknown);
                    EXPECT_TRUE(unknown.empty()) << l.name << " '" << key << "' " << name << ": no key " << unknown.front();
                    std::vector<std::string> lists;
                    if (name == "valueList" || name == "cmdErrList") lists.push_back(text);
                    if (name == "valueLists") {
                        EXPECT_TRUE(SplitValueLists(text, lists)) << l.name << " '" << key << "' valueLists";
                    }
                    for (const auto& list : lists) {
                        const auto bad = BadValueListItems(list);
                        EXPECT_TRUE(bad.empty()) << l.name << " '" << key << "' " << name << ": item '" << bad.front() << "'";
                    }
                }
            }
        }
    }
}

TEST_F(DictionaryFile, EveryProfileBlockElementHasAnEntry) {
    auto ctx = platform::rt::DTMContext::Create();
    ctx->InitContext(nullptr, std::make_shared<frame::StandaloneDataModel>(), nullptr, nullptr);
    frame::BuildProfileBlocks(ctx);
    int checked = 0;
    for (const auto& item : *ctx->Parameters()) {
        const auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        std::string key = el->Name;
        if (el->BlockType != pbfPhysicalBlock) {
            const std::string number = "/" + std::to_string(el->BlockNumber) + "/";
            for (size_t at = key.find(number); at != std::string::npos; at = key.find(number, at + 3))
                key.replace(at, number.size(), "/i/");
        }
        for (const auto& l : languages_) EXPECT_TRUE(l.HasParameterEntry(key)) << l.name << ": no entry " << key << " for " << el->Name;
        ++checked;
    }
    EXPECT_EQ(checked, 783);
}

}  // namespace
}  // namespace dtm
