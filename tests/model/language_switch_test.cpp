// Switching the language of a built instance: the shipped dictionary with a
// small German language added (tests/data/second_language). The switch gives
// the elements that have a German entry, and the units, their German texts;
// switching back restores every text of the model.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "frame/ModelInstance.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/app/Path.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kEnglish = 1033;
constexpr int32_t kGerman = 1031;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every text the language gives the model: the element texts by path and
// the unit texts by code.
struct ModelTexts {
    using ElementTexts = std::tuple<std::string, std::string, std::string, std::string, std::string,
                                    std::string, std::string>;
    std::map<std::string, ElementTexts> elements;
    std::map<int, std::string> units;

    bool operator==(const ModelTexts&) const = default;
};

ModelTexts TextsOf(const frame::ModelInstance& instance) {
    ModelTexts texts;
    for (const auto& item : instance.Parameters()) {
        const auto& e = dynamic_cast<const clsDataElement&>(*item);
        const std::string valueLists = e.ValueLists;
        texts.elements.emplace(e.Name, ModelTexts::ElementTexts{e.Label, e.Description, e.Help, e.ValueList,
                                                                valueLists, e.IconList, e.CmdErrList});
    }
    const auto& units = *instance.model->PROFIBUSProfil3Units();
    for (int code = pp3MinConstUnitIdx; code <= pp3MaxUnitIdx; ++code)
        texts.units.emplace(code, units.PROFIBUSProfil3UnitString(code));
    return texts;
}

enum class SwitchBy { GuiRegistry, DataModel };

class LanguageSwitch : public ::testing::TestWithParam<SwitchBy> {
protected:
    void SetUp() override {
        // The shipped dictionary with the German language added, in a folder of its own.
        folder_ = fs::temp_directory_path() / ("dtm_second_language_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        std::string dictionary = ReadFile(fs::path(platform::app::Path()) / "XMLData" / "DTMDictionary.xml");
        std::string german = ReadFile(fs::path(DTM_TEST_DATA_DIR) / "second_language" / "Deutsch.xml");
        german.erase(0, german.find("<Language "));
        const size_t end = dictionary.rfind("</Dictionary>");
        ASSERT_NE(end, std::string::npos);
        dictionary.insert(end, german + "\n");
        std::ofstream(folder_ / "DTMDictionary.xml") << dictionary;

        instance_ = frame::NewModelInstance();
        instance_.ctx->PathInfo()->XmlDataPath(folder_.string() + "/");
        // The registry offers only languages of the loaded dictionary: it is
        // read again from the new folder. The data model reloads it itself.
        if (GetParam() == SwitchBy::GuiRegistry) {
            ASSERT_TRUE(instance_.ctx->Dictionary()->LoadDictionary(instance_.ctx, "DTMDictionary"));
        }
    }
    void TearDown() override {
        instance_ = {};
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void Switch(int32_t lcid) {
        if (GetParam() == SwitchBy::GuiRegistry) instance_.ctx->GuiRegistry()->LanguageId(lcid);
        else instance_.model->SetLanguage(instance_.ctx, lcid);
        EXPECT_TRUE(instance_.ctx->ReportedErrors().empty()) << instance_.ctx->ReportedErrors().front();
        EXPECT_EQ(instance_.ctx->Dictionary()->SelectedLcid(), lcid);
    }

    const clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<const clsDataElement&>(*instance_.Parameters().Item(path));
    }

    fs::path folder_;
    frame::ModelInstance instance_;
};

TEST_P(LanguageSwitch, ChangesTheTextsOfElementsAndUnitsAndSwitchingBackRestoresThem) {
    const ModelTexts english = TextsOf(instance_);
    ASSERT_EQ(Element("PHYS/TAG_DESC").Label, "Tag description");

    Switch(kGerman);
    // Profile and manufacturer-specific entries; a block's entry serves every block of its kind.
    EXPECT_EQ(Element("PHYS/TAG_DESC").Label, "Messstellenbeschreibung");
    EXPECT_EQ(Element("PHYS/TAG_DESC").Help, "Ein Text von bis zu 32 Zeichen, der den Block in der Anlage benennt.");
    EXPECT_EQ(Element("PHYS/MANU/SERVICE_PASSWORD").Label, "Service-Passwort");
    for (const char* path : {"FUNC/1/AI/PV_FTIME", "FUNC/7/AI/PV_FTIME"})
        EXPECT_EQ(Element(path).Description, "Zeitkonstante des Ausgangsfilters") << path;
    // A value list with its reference expanded, and the text of the current value from it.
    const auto& mode = Element("FUNC/3/AI/TARGET_MODE");
    EXPECT_EQ(mode.Label, "Soll-Betriebsart");
    EXPECT_EQ(mode.ValueList, "128:Außer Betrieb (O/S)|16:Hand (Man)|8:Automatik (Auto)");
    // An entry without its own error list takes the default list of "~/Tag" in German;
    // an element without a German entry keeps all its texts.
    EXPECT_EQ(Element("PHYS/TAG_DESC").CmdErrList, "182:Zugriff verweigert|183:Ungültiger Bereich");
    EXPECT_TRUE(TextsOf(instance_).elements.at("PHYS/SOFTWARE_REVISION") ==
                english.elements.at("PHYS/SOFTWARE_REVISION"));
    // Unit texts of the table, and as an element shows its unit.
    const auto& units = *instance_.model->PROFIBUSProfil3Units();
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(902), "Tage");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1998), "Unbekannt");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1001), english.units.at(1001));
    EXPECT_EQ(Element("PHYS/MANU/OPERATION_HOUR/days").UnitString(instance_.ctx), "Tage");
    EXPECT_EQ(GetLangText(instance_.ctx, "key_RXD218"), "RXD 218");

    Switch(kEnglish);
    const ModelTexts back = TextsOf(instance_);
    EXPECT_TRUE(back.elements == english.elements);
    for (const auto& [path, texts] : english.elements)
        EXPECT_TRUE(back.elements.at(path) == texts) << path << " keeps a German text";
    EXPECT_TRUE(back.units == english.units);
    for (const auto& [code, text] : english.units)
        EXPECT_EQ(back.units.at(code), text) << "unit_" << code;
}

// Instances share the parsed dictionary and the unit table of a language, but
// each has its own selection: a switch of one never changes another's texts.
TEST_P(LanguageSwitch, OneInstancesSwitchLeavesAnotherInstanceInItsLanguage) {
    frame::ModelInstance other = frame::NewModelInstance();
    other.ctx->PathInfo()->XmlDataPath(folder_.string() + "/");
    ASSERT_TRUE(other.ctx->Dictionary()->LoadDictionary(other.ctx, "DTMDictionary"));
    other.model->SetLanguage(other.ctx, kEnglish);
    const ModelTexts english = TextsOf(other);

    Switch(kGerman);
    EXPECT_EQ(Element("PHYS/TAG_DESC").Label, "Messstellenbeschreibung");
    EXPECT_EQ(other.ctx->Dictionary()->DictionaryDocument(), instance_.ctx->Dictionary()->DictionaryDocument());
    EXPECT_EQ(other.ctx->Dictionary()->SelectedLcid(), kEnglish);
    EXPECT_TRUE(TextsOf(other) == english);
    EXPECT_EQ(GetLangText(other.ctx, "key_RXD218"), "RXD 218");

    // The other one switches too, then back: the first stays German.
    other.model->SetLanguage(other.ctx, kGerman);
    other.model->SetLanguage(other.ctx, kEnglish);
    EXPECT_EQ(instance_.model->PROFIBUSProfil3Units()->PROFIBUSProfil3UnitString(902), "Tage");
    EXPECT_EQ(Element("PHYS/MANU/OPERATION_HOUR/days").UnitString(instance_.ctx), "Tage");
    EXPECT_TRUE(TextsOf(other) == english);
}

// A language the dictionary lacks is refused without the file being read again.
TEST_P(LanguageSwitch, AMissingLanguageIsRefusedFromTheLoadedDictionary) {
    constexpr int32_t kFrench = 1036;
    // The data model loads the dictionary of the new folder on the first refusal.
    instance_.model->SetLanguage(instance_.ctx, kFrench);
    const auto document = instance_.ctx->Dictionary()->DictionaryDocument();
    ASSERT_NE(document, nullptr);
    for (int i = 0; i < 3; ++i) {
        instance_.model->SetLanguage(instance_.ctx, kEnglish);
        instance_.model->SetLanguage(instance_.ctx, kFrench);
        EXPECT_EQ(instance_.ctx->Dictionary()->DictionaryDocument(), document);
        EXPECT_EQ(instance_.ctx->Dictionary()->SelectedLcid(), kEnglish);
    }
    EXPECT_EQ(Element("PHYS/TAG_DESC").Label, "Tag description");
}

INSTANTIATE_TEST_SUITE_P(Through, LanguageSwitch, ::testing::Values(SwitchBy::GuiRegistry, SwitchBy::DataModel),
                         [](const auto& info) {
                             return info.param == SwitchBy::GuiRegistry ? "GuiRegistry" : "DataModel";
                         });

}  // namespace
}  // namespace dtm
