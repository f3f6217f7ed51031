#include <gtest/gtest.h>

#include <string>

#include "ErrorOf.h"
#include "TempFolder.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/xml/Dom.h"

namespace {

using platform::P;
using platform::Variant;
using platform::rt::DTMContext;
using platform::rt::LanguageDictionary;

// A context whose data folder holds the test dictionary, loaded.
struct Loaded {
    Loaded() {
        ctx->PathInfo()->XmlDataPath(std::string(DTM_TEST_DATA_DIR) + "/dictionary/");
        loaded = dict().LoadDictionary(ctx, "TestDictionary");
    }
    LanguageDictionary& dict() { return *ctx->Dictionary(); }
    std::string Text(const std::string& key) {
        const Variant v = dict().LookupText("keys", key, "text");
        return v.IsString() ? v.StrRef() : "<Empty>";
    }

    P<DTMContext> ctx = DTMContext::Create();
    bool loaded = false;
};

TEST(LanguageDictionaryTest, LoadSelectsTheRegistryLanguage) {
    Loaded d;
    ASSERT_TRUE(d.loaded);
    EXPECT_NE(d.dict().DictionaryDocument(), nullptr);
    EXPECT_EQ(d.dict().SelectedLcid(), 1033);
    EXPECT_EQ(d.Text("key_RXD214"), "RXD 214");
}

TEST(LanguageDictionaryTest, LoadFailuresLeaveTheDictionaryAsItWas) {
    TempFolder dir;
    dir.Write("Broken.xml", "<Dictionary><Language lcid='1033'>");
    dir.Write("NoLanguage.xml", "<Dictionary><keys/></Dictionary>");
    auto ctx = DTMContext::Create();
    ctx->PathInfo()->XmlDataPath(dir.Dir().string() + "/");
    auto& dict = *ctx->Dictionary();
    for (const char* name : {"Missing", "Broken", "NoLanguage"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(dict.LoadDictionary(ctx, name));
        EXPECT_EQ(dict.DictionaryDocument(), nullptr);
        EXPECT_EQ(dict.SectionNode("keys"), nullptr);
    }
    EXPECT_FALSE(dict.SelectLanguage(1033, 0));
    EXPECT_TRUE(dict.LookupText("keys", "key_RXD214", "text").IsEmpty());
}

TEST(LanguageDictionaryTest, LoadFallsBackToTheFirstLanguage) {
    TempFolder dir;
    dir.Write("Other.xml",
              "<Dictionary><Language lcid='1036'><keys><entry key='k' text='fr'/></keys></Language>"
              "<Language lcid='1040'><keys><entry key='k' text='it'/></keys></Language></Dictionary>");
    auto ctx = DTMContext::Create();
    ctx->PathInfo()->XmlDataPath(dir.Dir().string() + "/");
    ASSERT_TRUE(ctx->Dictionary()->LoadDictionary(ctx, "Other"));
    EXPECT_EQ(ctx->Dictionary()->SelectedLcid(), 1036);
    EXPECT_EQ(ctx->Dictionary()->LookupText("keys", "k", "text").StrRef(), "fr");
}

TEST(LanguageDictionaryTest, SelectLanguageTakesTheExactThenTheSamePrimaryLanguage) {
    struct Case {
        int32_t lcid;
        bool selected;
        int32_t expected;  // lcid selected afterwards
        const char* text;  // of key_RXD214
    };
    const Case cases[] = {
        {1031, true, 1031, "RXD 214"},      {2057, true, 2057, "RXD 214 (UK)"},
        {3081, true, 1033, "RXD 214"},      // en-AU: the first English one
        {2055, true, 1031, "RXD 214"},      // de-CH
        {1036, false, 1033, "RXD 214"},     // French: none, nothing changes
        {0, false, 1033, "RXD 214"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lcid);
        Loaded d;
        ASSERT_TRUE(d.dict().SelectLanguage(1033, 0));
        EXPECT_EQ(d.dict().SelectLanguage(c.lcid, 5), c.selected);
        EXPECT_EQ(d.dict().SelectedLcid(), c.expected);
        EXPECT_EQ(d.dict().Flag(), c.selected ? 5 : 0);
        EXPECT_EQ(d.Text("key_RXD214"), c.text);
    }
}

TEST(LanguageDictionaryTest, LookupTextAnswersEmptyForWhatIsMissing) {
    Loaded d;
    EXPECT_EQ(d.Text("inner"), "Inner");
    EXPECT_EQ(d.Text("nested"), "$(inner)");  // the dictionary does not expand
    EXPECT_EQ(d.Text("empty"), "");
    EXPECT_EQ(d.Text("no_text"), "<Empty>");
    EXPECT_EQ(d.Text("unknown"), "<Empty>");
    EXPECT_EQ(d.Text("twice"), "first");
    EXPECT_TRUE(d.dict().LookupText("nosection", "inner", "text").IsEmpty());
    EXPECT_TRUE(d.dict().LookupText("keys", "inner", "label").IsEmpty());

    const auto keys = d.dict().SectionNode("keys");
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(d.dict().LookupText(keys, "inner", "text").StrRef(), "Inner");
    const auto entry = d.dict().KeyNode(keys, "twice");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetAttribute("text").StrRef(), "first");
    EXPECT_TRUE(entry->GetAttribute("label").IsNull());
    EXPECT_EQ(d.dict().KeyNode(keys, "unknown"), nullptr);
    EXPECT_EQ(d.dict().KeyNode(keys, "INNER"), nullptr);  // keys are case-sensitive

    EXPECT_EQ(ErrorOf([&] { d.dict().KeyNode(nullptr, "inner"); }), 91);
    EXPECT_EQ(ErrorOf([&] { d.dict().LookupText(P<platform::xml::Element>(), "inner", "text"); }), 91);
}

TEST(LanguageDictionaryTest, SectionOfAFormerLanguageStillAnswers) {
    Loaded d;
    const auto english = d.dict().SectionNode("keys");
    ASSERT_TRUE(d.dict().SelectLanguage(1031, 0));
    EXPECT_EQ(d.dict().LookupText(english, "denied", "text").StrRef(), "Access denied");
    EXPECT_EQ(d.dict().LookupText(english, "twice", "text").StrRef(), "first");
    EXPECT_EQ(d.Text("denied"), "Zugriff verweigert");
    EXPECT_EQ(d.dict().SectionNode("parameters_manu_spec")->ChildElements().size(), 0u);
}

TEST(LanguageDictionaryTest, TranslateReplacesReferencesInOnePass) {
    Loaded d;
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"<a t=\"$(inner)\">$(inner)</a>", "<a t=\"Inner\">Inner</a>"},
        {"<a>$(unknown) $(inner)</a>", "<a>$(unknown) Inner</a>"},
        {"<a>$(nested)</a>", "<a>$(inner)</a>"},  // inserted text is not scanned again
        {"<a t=\"$(amp)\"/>", "<a t=\"A &amp; &quot;B&quot;\"/>"},
        {"<a>$(inner</a>", "<a>$(inner</a>"},
        {"<a>$()$(inner)</a>", "<a>$()Inner</a>"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(d.dict().Translate(c.in, d.ctx, "keys", "text"), c.out);
    }
    EXPECT_EQ(d.dict().Translate("<a>$(inner)</a>", d.ctx, "nosection", "text"), "<a>$(inner)</a>");
}

}  // namespace
