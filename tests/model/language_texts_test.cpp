#include <gtest/gtest.h>

#include <string>

#include "ErrorOf.h"
#include "ModelTestSupport.h"
#include "model/elements/DataModelHelpers.h"
#include "model/build/DataModelLanguage.h"
#include "model/elements/LanguageHelpers.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {
namespace {

using platform::P;
using platform::Variant;
using testing::ModelContext;

// A model context whose dictionary is the test dictionary, English selected.
struct LangContext : ModelContext {
    LangContext() {
        ctx->PathInfo()->XmlDataPath(std::string(DTM_TEST_DATA_DIR) + "/dictionary/");
        EXPECT_TRUE(dict().LoadDictionary(ctx, "TestDictionary"));
        EXPECT_TRUE(dict().SelectLanguage(1033, 0));
    }
    platform::rt::LanguageDictionary& dict() { return *ctx->Dictionary(); }

    P<clsDataElement> Add(const std::string& path, ProfibusBlockFlags type, int16_t number) {
        auto el = AddParam(params(), path, Variant::Lng(0), 7, -1);
        el->BlockType = type;
        el->BlockNumber = number;
        return el;
    }
};

TEST(LanguageTextsTest, GetLangTextFillsPlaceholdersThenExpands) {
    LangContext lc;
    const Variant M = Variant::Missing();
    struct Case {
        const char* key;
        Variant a1, a2, a3;
        const char* expected;
    };
    const Case cases[] = {
        {"inner", M, M, M, "Inner"},
        {"device", M, M, M, "Device RXD 214"},
        {"empty", M, M, M, ""},
        {"unknown %1 $(inner)", "x", M, M, "unknown %1 $(inner)"},  // the key itself, untouched
        {"no_text", M, M, M, "no_text"},
        {"args", "A", "B", "C", "A and B, A again, then C"},
        {"args", "A", M, M, "A and %2, A again, then %3"},
        {"args", Variant::Lng(7), Variant::Dbl(0.5), Variant::Bool(true), "7 and 0.5, 7 again, then True"},
        {"one_arg", "$(inner)", M, M, "[Inner]"},  // an argument's reference is expanded too
        {"one_arg", "%1", M, M, "[%1]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(GetLangText(lc.ctx, c.key, c.a1, c.a2, c.a3), c.expected);
    }
    EXPECT_EQ(ErrorOf([&] { GetLangText(lc.ctx, "one_arg", Variant::Null()); }), 94);
    EXPECT_EQ(ErrorOf([&] { GetLangText(nullptr, "inner"); }), 91);
}

TEST(LanguageTextsTest, ExpandTextRefsScansOnceLeftToRight) {
    LangContext lc;
    const auto keys = lc.dict().SectionNode("keys");
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"a $(inner) b", "a Inner b"},
        {"a $(unknown) b", "a $(unknown) b"},
        {"$(nested)", "$(inner)"},  // the inserted text is not scanned again
        {"$(inner)$(inner)", "InnerInner"},
        {"$(unknown)$(inner)", "$(unknown)Inner"},
        {"$(inner", "$(inner"},
        {"$(inner) $(inner", "Inner $(inner"},
        {"$()", "$()"},
        {"$($(inner))", "$($(inner))"},  // the key runs to the first ")"
        {"no references", "no references"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(ExpandTextRefs(c.in, lc.ctx, keys), c.out);
    }
    EXPECT_EQ(ExpandTextRefs("plain", lc.ctx, nullptr), "plain");
    EXPECT_EQ(ErrorOf([&] { ExpandTextRefs("$(inner)", lc.ctx, nullptr); }), 91);
}

TEST(LanguageTextsTest, SetLangCaptionsCaptionsControlsByNameIndexAndTab) {
    LangContext lc;
    using namespace platform::ui;
    const auto captioned = [](auto control, const char* name, std::optional<int16_t> index) {
        control->Name = name;
        control->Index = index;
        control->Caption("design");
        return control;
    };
    auto ok = captioned(std::make_shared<CommandButton>(), "cmdOK", std::nullopt);
    auto unit1 = captioned(std::make_shared<OptionButton>(), "optUnit", 1);
    auto unit2 = captioned(std::make_shared<OptionButton>(), "optUnit", 2);
    auto unnamed = captioned(std::make_shared<Label>(), "", std::nullopt);
    auto strip = std::make_shared<TabStrip>();
    strip->Name = "TabStrip";
    for (const char* caption : {"t1", "t2", "t3"}) strip->Tabs().Add(0, "", caption);
    auto row = std::make_shared<platform::ctl::ctlParameter>();
    row->Name = "rowValue";
    row->LabelText("row");

    SetLangCaptions(lc.ctx, "ctlA_", {ok, unit1, unit2, unnamed, strip, row, nullptr});

    EXPECT_EQ(ok->Caption(), "OK Inner");
    EXPECT_EQ(unit1->Caption(), "design");  // no text for ctlA_optUnit_1
    EXPECT_EQ(unit2->Caption(), "Unit two");
    EXPECT_EQ(unnamed->Caption(), "design");  // its key would be the prefix alone
    EXPECT_EQ(strip->Tabs().Item(1)->Caption(), "First");
    EXPECT_EQ(strip->Tabs().Item(2)->Caption(), "t2");
    EXPECT_EQ(strip->Tabs().Item(3)->Caption(), "Third");
    EXPECT_EQ(row->LabelText(), "row");
}

TEST(LanguageTextsTest, GetValueListTextFindsTheCurrentValue) {
    clsDataElement el;
    struct Case {
        const char* list;
        Variant value;
        const char* expected;
    };
    const Case cases[] = {
        {"0:Off|1:On", Variant::Lng(1), "On"},
        {"0:Off|1:On", Variant("1"), "On"},
        {"0:Off|1:On", Variant::Lng(2), ""},
        {"0:Off|1:On", Variant("x"), ""},
        {"0:Off|1:On", Variant(), "Off"},  // Empty counts as 0
        {"x:y|1:On", Variant::Byte(1), "On"},
        {"noitem|1:On", Variant::Byte(1), "On"},
        {"2:a:b", Variant::Int(2), "a:b"},
        {"1:first|1:second", Variant::Int(1), "first"},
        {"", Variant::Int(1), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        el.ValueList = c.list;
        el.TransientValue = c.value;
        EXPECT_EQ(GetValueListText(el), c.expected);
    }
}

TEST(LanguageTextsTest, EntryKeyWritesTheBlockNumberAsI) {
    struct Case {
        const char* path;
        ProfibusBlockFlags type;
        int16_t number;
        const char* key;
    };
    const Case cases[] = {
        {"FUNC/3/AI/OUT/Value", pbfFunctionAIBlock, 3, "FUNC/i/AI/OUT/Value"},
        {"TRANS/1/FlowCori/DENSITY_UNITS", pbfTransducerBlock, 1, "TRANS/i/FlowCori/DENSITY_UNITS"},
        {"FUNC/4/TOT/TOTAL/Value", pbfFunctionTOTBlock, 4, "FUNC/i/TOT/TOTAL/Value"},
        {"PHYS/1/X", pbfPhysicalBlock, 1, "PHYS/1/X"},
        {"PHYS/TAG_DESC", pbfPhysicalBlock, 1, "PHYS/TAG_DESC"},
        {"~/BLOCK/3", pbfNoneBlock, -1, "~/BLOCK/3"},
        {"FUNC/1/AI/OUT/Value", pbfFunctionAIBlock, 2, "FUNC/1/AI/OUT/Value"},
    };
    for (const auto& c : cases) {
        clsDataElement el;
        el.Name = c.path;
        el.BlockType = c.type;
        el.BlockNumber = c.number;
        EXPECT_EQ(LanguageEntryKey(el), c.key) << c.path;
    }
}

TEST(LanguageTextsTest, SetLanguageTextsFillsElementsFromTheirEntries) {
    LangContext lc;
    auto tag = lc.Add("~/Tag", pbfNoneBlock, -1);
    auto tagDesc = lc.Add("PHYS/TAG_DESC", pbfPhysicalBlock, 1);
    auto out = lc.Add("FUNC/3/AI/OUT/Value", pbfFunctionAIBlock, 3);
    auto density = lc.Add("TRANS/1/FlowCori/DENSITY_UNITS", pbfTransducerBlock, 1);
    auto both = lc.Add("TRANS/1/FlowCori/MANU/BOTH", pbfTransducerBlock, 1);
    auto none = lc.Add("FUNC/5/AI/UNKNOWN", pbfFunctionAIBlock, 5);
    none->Label = "old";
    none->CmdErrList = "";
    density->IconList = "kept";
    tagDesc->CmdErrList = "1:stale";

    SetLanguageTexts(lc.ctx);

    EXPECT_EQ(tagDesc->Label, "Tag description");
    EXPECT_EQ(tagDesc->Description, "Text of the tag");
    EXPECT_EQ(tagDesc->Help, "Help on RXD 214");
    EXPECT_EQ(tagDesc->CmdErrList, "182:Access denied");  // no own list: the default one, expanded
    EXPECT_EQ(tag->CmdErrList, "182:Access denied");

    EXPECT_EQ(out->Label, "Output value");
    EXPECT_EQ(out->ValueList, "0:Bad|128:Good");
    EXPECT_EQ(out->IconList, "0:red|128:green");
    EXPECT_EQ(out->CmdErrList, "7:Busy");

    EXPECT_EQ(density->ValueList, "1097:kg/m³|1100:g/cm³");
    EXPECT_EQ(density->ValueLists, "1:{0:a}2:{0:b}");
    EXPECT_EQ(density->GetValueLists(2), "0:b");
    EXPECT_EQ(density->IconList, "kept");  // no field: left alone

    EXPECT_EQ(both->Label, "Manufacturer label");  // the manufacturer's entry first

    EXPECT_EQ(none->Label, "old");  // no entry: nothing changes
    EXPECT_EQ(none->CmdErrList, "");
}

TEST(LanguageTextsTest, DiagnosisListKeepsTheBitsTheMaskEnables) {
    LangContext lc;
    auto diagnosis = lc.Add("PHYS/DIAGNOSIS", pbfPhysicalBlock, 1);
    auto mask = lc.Add("PHYS/DIAGNOSIS_MASK", pbfPhysicalBlock, 1);
    mask->TransientValue = Variant::Lng(0x9);  // bits 0 and 3
    SetLanguageTexts(lc.ctx);
    EXPECT_EQ(diagnosis->ValueList, "0:Bit zero|3:Bit three");
    EXPECT_EQ(mask->ValueList, "0:m0|1:m1|2:m2|3:m3");
}

TEST(LanguageTextsTest, BitsToIndexTextListTakesTheTextsOfTheSetBits) {
    clsDataElement el;
    el.ValueList = "0:A|1:X|3:B|5:";
    el.bBitEncoding = true;
    struct Case {
        Variant value;
        const char* expected;
    };
    const Case cases[] = {
        {Variant::Lng(0x9), "0:A|3:B"},
        {Variant::Lng(0x24), ""},  // bit 2 has no entry, bit 5 an empty text
        {Variant::Lng(0x2B), "0:A|1:X|3:B"},
        {Variant::Lng(0), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BitsToIndexTextList(c.value, el), c.expected) << platform::com::CStr(c.value);
        EXPECT_TRUE(el.bBitEncoding);
    }
}

TEST(LanguageTextsTest, MissingRequiredFieldEndsTheCall) {
    LangContext lc;
    auto before = lc.Add("PHYS/TAG_DESC", pbfPhysicalBlock, 1);
    auto broken = lc.Add("FUNC/4/TOT/NO_HELP", pbfFunctionTOTBlock, 4);
    auto after = lc.Add("FUNC/3/AI/OUT/Value", pbfFunctionAIBlock, 3);
    broken->Label = "old label";
    EXPECT_EQ(ErrorOf([&] { SetLanguageTexts(lc.ctx); }), 94);
    EXPECT_EQ(before->Label, "Tag description");
    EXPECT_EQ(broken->Label, "old label");  // the failing element keeps all its texts
    EXPECT_EQ(after->Label, "");
}

TEST(LanguageTextsTest, MissingSectionEndsTheCall) {
    LangContext lc;
    lc.Add("PHYS/TAG_DESC", pbfPhysicalBlock, 1);
    ASSERT_TRUE(lc.dict().SelectLanguage(2057, 0));  // keys only
    EXPECT_EQ(ErrorOf([&] { SetLanguageTexts(lc.ctx); }), 91);
    EXPECT_EQ(ErrorOf([&] { SetUnitTexts(lc.ctx, *lc.model->PROFIBUSProfil3Units()); }), 91);
}

TEST(LanguageTextsTest, SwitchingTheLanguageChangesTheTexts) {
    LangContext lc;
    auto tagDesc = lc.Add("PHYS/TAG_DESC", pbfPhysicalBlock, 1);
    auto out = lc.Add("FUNC/2/AI/OUT/Value", pbfFunctionAIBlock, 2);
    out->TransientValue = Variant::Lng(128);
    auto& units = *lc.model->PROFIBUSProfil3Units();

    SetUnitTexts(lc.ctx, units);
    SetLanguageTexts(lc.ctx);
    EXPECT_EQ(tagDesc->Label, "Tag description");
    EXPECT_EQ(GetValueListText(*out), "Good");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1088), "kilogram");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1089), "g");  // entry without text: kept
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1380), "");   // never registered

    ASSERT_TRUE(lc.dict().SelectLanguage(1031, 0));
    SetUnitTexts(lc.ctx, units);
    SetLanguageTexts(lc.ctx);
    EXPECT_EQ(tagDesc->Label, "Messstellenbeschreibung");
    EXPECT_EQ(tagDesc->Help, "Hilfe");
    EXPECT_EQ(tagDesc->CmdErrList, "182:Zugriff verweigert");
    EXPECT_EQ(out->Label, "Ausgangswert");
    EXPECT_EQ(GetValueListText(*out), "Gut");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1088), "Kilogramm");
    EXPECT_EQ(GetLangText(lc.ctx, "denied"), "Zugriff verweigert");
}

}  // namespace
}  // namespace dtm
