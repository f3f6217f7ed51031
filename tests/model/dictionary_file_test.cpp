// The shipped language dictionary: well-formed, complete for the unit table,
// for every element of a built model and for every key the code looks up,
// every parameter entry with its three texts, and every value list and text
// reference usable as the model reads them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/ModelInstance.h"
#include "model/build/DataModelLanguage.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/app/Path.h"
#include "platform/ctl/ctlParameter.h"
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

// The constant units 951..958 carry the text of their AI block's
// OUT_UNIT_TEXT, the user's own text: the dictionary must not hold them.
bool IsBlockOwnUnitText(int code) { return code > 950 && code <= 958; }

// Keys the component looks up in the general texts, also those the code
// builds or names through a constant (the source scan below cannot see
// them): the device-type names expanded by the model build, the messages of
// the DTM object, the help-file message and the data-set states.
const std::vector<std::string> kMessageKeys = {
    "key_RXD214", "key_RXD218", "devtype_not_supported", "devicetype_not_supported",
    "devicetype_expected", "error_help_file_not_found", "k_saved", "k_online", "k_changed", "k_mixed",
    // The tool tips of the parameter rows' status pictures, named in a table.
    "paramicon_CommErr", "paramicon_AnyErr", "paramicon_RangeErr", "paramicon_InputErr", "paramicon_Needed",
    "paramicon_Changed", "paramicon_Dynamic", "paramicon_Optional", "paramicon_Locked", "paramicon_Initial",
    "paramicon_Saved", "paramicon_OnlineValue",
    // The cyclic refresh's caption and messages, the status bar's panel texts.
    "ctlCycle_chkCycle", "error_at_connect", "error_at_read_status", "key_connected", "key_notConnected",
    "ctlStatus_stbar_panel_3", "ctlStatus_stbar_panel_4",
    // The identification page's frame captions (built from the page's prefix)
    // and the window-limit page's warning.
    "ctlIdent_frmOperUnit", "ctlIdent_frmDevice", "txt_warning_max_two_controls"};

// The folders of component code whose text look-ups must all be answered.
const std::vector<std::string> kComponentFolders = {"core", "model", "blocks", "pages"};

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

// The source text without its comments; string and character literals stay.
std::string WithoutComments(const std::string& source) {
    std::string out;
    out.reserve(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '"' || c == '\'') {
            const size_t start = i;
            for (++i; i < source.size() && source[i] != c && source[i] != '\n'; ++i)
                if (source[i] == '\\') ++i;
            out.append(source, start, i - start + 1);
        } else if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
            out += '\n';
        } else if (source.compare(i, 2, "/*") == 0) {
            i = source.find("*/", i + 2);
            if (i == std::string::npos) break;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// The literal keys of the text look-ups in one source text:
// GetLangText(ctx, "key"...), LangText("key"...), LookupText("keys", "key"...), GetDictText("key")
// and every $(key) reference inside a string literal. Comments are skipped.
std::set<std::string> LiteralKeys(const std::string& source) {
    static const std::vector<std::regex> calls = {
        std::regex(R"re(GetLangText\(\s*[A-Za-z_][\w.>()-]*\s*,\s*"([^"]+)")re"),
        std::regex(R"re(\bLangText\(\s*"([^"]+)")re"),
        std::regex(R"re(LookupText\(\s*"keys"\s*,\s*"([^"]+)")re"),
        std::regex(R"re(\bGetDictText\(\s*"([^"]+)")re"),
    };
    static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    static const std::regex reference(R"re(\$\(([A-Za-z0-9_.]+)\))re");
    const std::string code = WithoutComments(source);
    std::set<std::string> keys;
    for (const auto& call : calls)
        for (std::sregex_iterator it(code.begin(), code.end(), call), end; it != end; ++it)
            keys.insert((*it)[1].str());
    for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it) {
        const std::string text = (*it)[1].str();
        for (std::sregex_iterator ref(text.begin(), text.end(), reference); ref != end; ++ref)
            keys.insert((*ref)[1].str());
    }
    return keys;
}

// Every literal key of the component's sources, with the first file using it.
std::map<std::string, std::string> KeysInSources() {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> keys;
    for (const auto& folder : kComponentFolders) {
        const fs::path root = fs::path(platform::app::Path()) / folder;
        if (!fs::exists(root)) continue;
        for (const auto& file : fs::recursive_directory_iterator(root)) {
            const auto ext = file.path().extension();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(file.path());
            std::stringstream text;
            text << in.rdbuf();
            for (const auto& key : LiteralKeys(text.str()))
                keys.emplace(key, fs::relative(file.path(), platform::app::Path()).string());
        }
    }
    return keys;
}

TEST(DictionarySourceScan, FindsEveryLookUpForm) {
    const std::string source = R"src(
        const std::string a = GetLangText(DTMContext, "probe_a", Variant(1));
        if (ctx->LangText("probe_b", text)) {}
        dictionary.LookupText("keys", "probe_c", "text");
        ExpandTextRefs("Unit $(probe_d) and $(probe_e)", ctx, keys);
        dictionary.LookupText("parameters", "not_a_key", "label");
        // GetLangText(ctx, "in_a_comment") and "$(in_a_comment)" are no look-ups.
        const std::string b = GetLangText(ctx, name);  /* "$(in_a_comment)" */
        const char* quote = "\"$(probe_f)\"";
        ctx->MsgBox(GetDictText("probe_g"), 0);
    )src";
    EXPECT_EQ(LiteralKeys(source),
              (std::set<std::string>{"probe_a", "probe_b", "probe_c", "probe_d", "probe_e", "probe_f", "probe_g"}));
}

TEST_F(DictionaryFile, EveryKeyTheSourcesLookUpHasAText) {
    const auto keys = KeysInSources();
    for (const auto& l : languages_)
        for (const auto& [key, file] : keys)
            EXPECT_TRUE(l.Section("keys").count(key)) << l.name << ": no text for \"" << key << "\" used in " << file;
}

// The frame lists the functions of "DTMFunctions.xml" by their text keys.
TEST_F(DictionaryFile, EveryFunctionTextKeyHasAText) {
    Document functions;
    ASSERT_TRUE(functions.Load(platform::app::Path() + "/XMLData/DTMFunctions.xml"));
    const auto entries = functions.SelectNodes("DTMFunctions/Function");
    ASSERT_FALSE(entries.empty());
    for (const auto& l : languages_)
        for (const auto& entry : entries) {
            const std::string key = Attr(entry, "textKey");
            EXPECT_TRUE(l.Section("keys").count(key)) << l.name << ": no text for function key \"" << key << "\"";
        }
}

// A new instance of each device type, in English.
class BuiltModelTexts : public DictionaryFile, public ::testing::WithParamInterface<const char*> {};

TEST_P(BuiltModelTexts, EveryElementHasItsEntryAndFullTexts) {
    const auto instance = frame::NewModelInstance(GetParam());
    const Language* english = nullptr;
    for (const auto& l : languages_) if (l.lcid == "1033") english = &l;
    ASSERT_NE(english, nullptr);
    int checked = 0;
    for (const auto& item : instance.Parameters()) {
        const auto& el = dynamic_cast<const clsDataElement&>(*item);
        const std::string key = LanguageEntryKey(el);
        for (const auto& l : languages_) EXPECT_TRUE(l.HasParameterEntry(key)) << l.name << ": no entry " << key << " for " << el.Name;
        EXPECT_FALSE(el.Label.empty()) << el.Name << ": no label";
        EXPECT_FALSE(el.Description.empty()) << el.Name << ": no description";
        EXPECT_FALSE(el.Help.empty()) << el.Name << ": no help";
        const std::string valueLists = el.ValueLists;
        for (const std::string* text : {&el.Label.str(), &el.Description.str(), &el.Help.str(), &el.ValueList.str(),
                                        &valueLists, &el.IconList.str(), &el.CmdErrList.str()})
            EXPECT_EQ(text->find("$("), std::string::npos) << el.Name << ": unexpanded reference in \"" << *text << "\"";
        ++checked;
    }
    EXPECT_EQ(checked, 864);
}

INSTANTIATE_TEST_SUITE_P(DeviceTypes, BuiltModelTexts, ::testing::Values("RXD 218", "RXD 214"));

// A command's value list names exactly the codes that the pages write, each
// with the text the confirmation shows.
TEST_F(DictionaryFile, CommandValueListsNameTheCodesThePagesWrite) {
    const auto instance = frame::NewModelInstance();
    const std::map<std::string, std::map<int64_t, std::string>> commands = {
        {"TRANS/1/FlowCori/MANU/_resets", {{0, "Instrument reset"}, {1, "Totaliser reset"}, {2, "Acknowledge errors"}}},
        {"PHYS/FACTORY_RESET", {{1, "Restore factory settings"}, {2506, "Warm start"}, {2712, "Reset bus address to 126"}}},
    };
    for (const auto& [path, expected] : commands) {
        const auto& el = dynamic_cast<const clsDataElement&>(*instance.Parameters().Item(path));
        std::map<int64_t, std::string> actual;
        for (const auto& entry : platform::ctl::ParseValueList(el.ValueList.str())) actual[entry.code] = entry.text;
        EXPECT_EQ(actual, expected) << path;
    }
}

// An element that is only read from the device cannot be changed in the DTM:
// its help must not say what changing it does.
TEST_F(DictionaryFile, UploadOnlyElementsPromiseNoChange) {
    const auto instance = frame::NewModelInstance();
    int uploadOnly = 0;
    for (const auto& item : instance.Parameters()) {
        const auto& el = dynamic_cast<const clsDataElement&>(*item);
        const int32_t mode = el.ElementMode;
        if ((mode & clsDataElement::kModeUpload) == 0 || (mode & clsDataElement::kModeDownload) != 0) continue;
        ++uploadOnly;
        EXPECT_EQ(el.Help.str().find("Changing it"), std::string::npos) << el.Name << ": " << el.Help.str();
    }
    EXPECT_GT(uploadOnly, 100);
}

// The codes registered in a unit table: a copy is probed by writing a text,
// which only a registered row takes.
std::set<int> RegisteredUnitCodes(const clsPROFIBUSProfil3Units& units) {
    clsPROFIBUSProfil3Units probe = units;
    std::set<int> codes;
    for (int code = pp3MinConstUnitIdx; code <= pp3MaxUnitIdx; ++code) {
        probe.PROFIBUSProfil3UnitString(code, "\x01");
        if (probe.PROFIBUSProfil3UnitString(code) == "\x01") codes.insert(code);
    }
    return codes;
}

TEST_F(DictionaryFile, EveryUnitTheModelRegistersHasAText) {
    const auto instance = frame::NewModelInstance();
    const auto codes = RegisteredUnitCodes(*instance.model->PROFIBUSProfil3Units());
    ASSERT_TRUE(codes.count(900) && codes.count(904) && codes.count(1001)) << "unit table probe sees nothing";
    for (const auto& l : languages_) {
        for (int code : codes) {
            const bool present = l.Section("units").count("unit_" + std::to_string(code)) > 0;
            if (IsBlockOwnUnitText(code)) {
                EXPECT_FALSE(present) << l.name << ": unit_" << code << " would overwrite the block's own unit text";
            } else {
                EXPECT_TRUE(present) << l.name << ": no unit_" << code;
            }
        }
    }
}

}  // namespace
}  // namespace dtm
