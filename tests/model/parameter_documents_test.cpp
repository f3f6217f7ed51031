// Parameter documents of a whole model instance: out, changed, in again, and
// hostile documents that must leave the model as it was.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "core/channels/SlaveBusParamSet.h"
#include "core/services/ConvStr.h"
#include "core/services/ProjectHelpers.h"
#include "frame/ModelInstance.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/ErrorSink.h"
#include "platform/rt/DocumentationBuilder.h"
#include "platform/rt/ParameterService.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace {

using dtm::clsDataElement;
using dtm::frame::ModelInstance;
using platform::P;
using platform::Variant;
namespace xml = platform::xml;

constexpr int32_t kFlags = 64;

struct ElementState {
    Variant value;
    int16_t unit;
    bool validity;
    std::string description;

    bool operator==(const ElementState& o) const {
        return dtm::IsSameValue(value, o.value) && unit == o.unit && validity == o.validity &&
               description == o.description;
    }
};

// One instance for the suite; each test starts from a snapshot of its state.
class ParameterDocuments : public ::testing::Test {
protected:
    static void SetUpTestSuite() { shared = std::make_unique<ModelInstance>(dtm::frame::NewModelInstance("RXD 218")); }
    static void TearDownTestSuite() { shared.reset(); }

    void SetUp() override {
        for (auto& el : Elements()) saved.push_back(StateOf(*el));
        params().Modified(false);
    }
    void TearDown() override {
        auto elements = Elements();
        for (size_t i = 0; i < elements.size(); ++i) {
            elements[i]->TransientValue = saved[i].value;
            elements[i]->nTransientUnit = saved[i].unit;
            elements[i]->Validity(saved[i].validity);
            elements[i]->Description = saved[i].description;
        }
    }

    // A float element's value as the element types it (a Double initial value
    // comes back from a document as a Single).
    static ElementState StateOf(const clsDataElement& el) {
        Variant value = el.TransientValue;
        if (el.ValueType == 8 && value.IsNumberType()) value = Variant::Sng(platform::com::CSng(value));
        return {value, el.nTransientUnit, el.Validity(), el.Description};
    }
    static std::vector<P<clsDataElement>> Elements() {
        std::vector<P<clsDataElement>> all;
        for (const auto& item : shared->Parameters()) all.push_back(std::dynamic_pointer_cast<clsDataElement>(item));
        return all;
    }
    // Paths of the elements whose state differs from the snapshot, but for the
    // data-set status that the model evaluates at the end of every document.
    std::vector<std::string> Changed() const {
        std::vector<std::string> changed;
        auto elements = Elements();
        for (size_t i = 0; i < elements.size(); ++i)
            if (!(StateOf(*elements[i]) == saved[i]) && elements[i]->Name != "~/DataStatus")
                changed.push_back(elements[i]->Name);
        return changed;
    }

    static platform::rt::Parameters& params() { return shared->Parameters(); }
    static P<clsDataElement> El(const std::string& path) {
        return std::dynamic_pointer_cast<clsDataElement>(params().Item(path));
    }
    static std::string Get(const std::string& path) {
        return shared->ctx->ParameterService()->GetParameters(shared->ctx, path, kFlags);
    }
    static bool Set(const std::string& doc, const std::string& path = "") {
        return shared->ctx->ParameterService()->SetParameters(doc, shared->ctx, path, kFlags);
    }

    // A document of one variable node, its value given as display text.
    static std::string OneNode(const std::string& name, const std::string& display, const std::string& extra = "") {
        return "<FDT xmlns:fdt=\"urn:fdt:types\"><DtmParameter><ParameterSet><fdt:DtmVariable name=\"" + name + "\" " +
               extra + "><fdt:Value><fdt:Display string=\"" + display +
               "\"/></fdt:Value></fdt:DtmVariable></ParameterSet></DtmParameter></FDT>";
    }

    std::vector<ElementState> saved;
    static std::unique_ptr<ModelInstance> shared;
};

std::unique_ptr<ModelInstance> ParameterDocuments::shared;

TEST_F(ParameterDocuments, TheDocumentNamesEveryElementInScopeButTheRecordHeaders) {
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXML(Get("PHYS/")));
    EXPECT_EQ(doc.DocumentElement()->GetAttribute("xmlns:fdt").StrRef(), "urn:fdt:types");
    const auto nodes = doc.SelectNodes("FDT/DtmParameter/ParameterSet/fdt:DtmVariable");

    std::vector<std::string> expected;
    for (const auto& el : params().StartingWith("PHYS/"))
        if (el->Name().back() != '/') expected.push_back(el->Name());
    std::vector<std::string> names;
    for (const auto& node : nodes) names.push_back(node->GetAttribute("name").StrRef());
    EXPECT_EQ(names, expected);
    EXPECT_GT(names.size(), 40u);

    for (const auto& node : nodes) EXPECT_NE(node->SelectSingleNode("fdt:Value/fdt:Display"), nullptr);

    // "" is the whole instance; a path of one element gives that element.
    ASSERT_TRUE(doc.LoadXML(Get("")));
    size_t notHeaders = 0;
    for (const auto& el : params()) notHeaders += el->Name().back() != '/';
    EXPECT_EQ(doc.SelectNodes("FDT/DtmParameter/ParameterSet/fdt:DtmVariable").size(), notHeaders);
    ASSERT_TRUE(doc.LoadXML(Get("PHYS/TAG_DESC")));
    EXPECT_EQ(doc.SelectNodes("FDT/DtmParameter/ParameterSet/fdt:DtmVariable").size(), 1u);
}

TEST_F(ParameterDocuments, TheWholeInstanceGoesOutAndInAgainUnchanged) {
    const std::string doc = Get("");
    Set(doc);
    EXPECT_EQ(Changed(), std::vector<std::string>{});
    EXPECT_FALSE(params().UpdateInProgress());
}

TEST_F(ParameterDocuments, ChangedValuesComeInAndTheDataSetStateFollows) {
    const auto status = El("~/DataStatus");
    ASSERT_FALSE(dtm::IsSameValue(status->TransientValue, Variant::Byte(2)));

    const std::map<std::string, std::string> edits = {{"PHYS/TAG_DESC", "NEW TAG"},
                                                      {"PHYS/WRITE_LOCKING", "0"},
                                                      {"FUNC/1/AI/OUT_SCALE/Up_Val", "12.5[kg/s]"}};
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXML(Get("")));
    for (const auto& node : doc.SelectNodes("FDT/DtmParameter/ParameterSet/fdt:DtmVariable")) {
        auto edit = edits.find(node->GetAttribute("name").StrRef());
        if (edit != edits.end()) node->SelectSingleNode("fdt:Value/fdt:Display")->SetAttribute("string", edit->second);
    }
    EXPECT_TRUE(Set(doc.Xml()));

    EXPECT_EQ(platform::com::CStr(El("PHYS/TAG_DESC")->TransientValue), "NEW TAG");
    EXPECT_TRUE(dtm::IsSameValue(El("PHYS/WRITE_LOCKING")->TransientValue, Variant::Lng(0)));
    const auto upper = El("FUNC/1/AI/OUT_SCALE/Up_Val");
    EXPECT_TRUE(dtm::IsSameValue(upper->TransientValue, Variant::Sng(12.5f)));
    EXPECT_EQ(upper->nTransientUnit, 1322);  // kg/s
    // The DTM tag follows the block tag, as the model keeps them in step.
    EXPECT_EQ(Changed(),
              (std::vector<std::string>{"~/Tag", "PHYS/TAG_DESC", "PHYS/WRITE_LOCKING", "FUNC/1/AI/OUT_SCALE/Up_Val"}));
    // The model's data-set evaluation ran: the set is changed and still valid.
    EXPECT_TRUE(dtm::IsSameValue(status->TransientValue, Variant::Byte(2)));
    EXPECT_EQ(params().QueryDataSetState(), 1);
    EXPECT_FALSE(params().UpdateInProgress());
}

TEST_F(ParameterDocuments, ANodeReachesOnlyTheElementItNames) {
    // A short name is the end of one path in scope; a status flag goes with its node.
    EXPECT_TRUE(Set(OneNode("TAG_DESC", "SHORT", "statusFlag=\"invalid\""), "PHYS/"));
    EXPECT_EQ(Changed(), (std::vector<std::string>{"~/Tag", "PHYS/TAG_DESC"}));
    EXPECT_FALSE(El("PHYS/TAG_DESC")->Validity());
}

TEST_F(ParameterDocuments, HostileDocumentsLeaveTheModelAsItWas) {
    const std::string huge(200000, 'A');
    // Cfg_Data_Len 0x40 with only four bytes of configuration behind it.
    const std::string kShortSet = std::string(dtm::kDefaultSlaveBusParamSet).substr(0, 56) + "0040" + "42840805";
    const struct {
        const char* what;
        std::string doc;
        std::string path;
    } cases[] = {
        {"empty text", "", ""},
        {"not XML", "TAG_DESC=1", ""},
        {"unclosed", "<FDT><DtmParameter><ParameterSet>", ""},
        {"other root", "<Other>" + OneNode("PHYS/TAG_DESC", "X") + "</Other>", ""},
        {"doctype with entity",
         "<!DOCTYPE FDT [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>" + OneNode("PHYS/TAG_DESC", "&e;"), ""},
        {"unknown path", OneNode("PHYS/NO_SUCH_PARAMETER", "1", "statusFlag=\"invalid\""), ""},
        {"no name", OneNode("", "X", "statusFlag=\"invalid\""), ""},
        {"name of another element's part", OneNode("DESC", "X", "statusFlag=\"invalid\""), ""},
        {"short name of several elements", OneNode("TAG_DESC", "X", "statusFlag=\"invalid\""), ""},
        {"outside the scope", OneNode("FUNC/1/AI/TAG_DESC", "X", "statusFlag=\"invalid\""), "PHYS/"},
        {"record header", OneNode("PHYS/MODE_BLK/", "8", "statusFlag=\"invalid\""), ""},
        {"text for a number", OneNode("PHYS/WRITE_LOCKING", "unlocked"), ""},
        {"number out of its type", OneNode("PHYS/WRITE_LOCKING", "70000"), ""},
        {"negative unsigned", OneNode("PHYS/WRITE_LOCKING", "-1"), ""},
        {"float as text", OneNode("FUNC/1/AI/OUT_SCALE/Up_Val", "lots[kg/s]"), ""},
        {"unknown unit", OneNode("FUNC/1/AI/OUT_SCALE/Up_Val", "12.5[furlongs]"), ""},
        {"overlong tag", OneNode("PHYS/TAG_DESC", std::string(33, 'T')), ""},
        {"huge tag", OneNode("PHYS/TAG_DESC", huge), ""},
        {"huge internal text", OneNode("InvokeId_ctl_TR_Monitor", huge), ""},
        {"long octet string", OneNode("~/BusMasterConfigurationPart", std::string(1000, 'F')), ""},
        {"slot code above the table", OneNode("SlaveBusParamSet_FB6", "99"), ""},
        {"slot code 0", OneNode("SlaveBusParamSet_FB6", "0"), ""},
        {"slave set whose configuration runs past its end", OneNode("~/BusMasterConfigurationPart", kShortSet), ""},
        {"whole slave string whose configuration runs past its end",
         OneNode("SlaveBusParamSet_WholeString", kShortSet), ""},
        {"no value", "<FDT><DtmParameter><ParameterSet><fdt:DtmVariable name=\"PHYS/TAG_DESC\"/>"
                     "</ParameterSet></DtmParameter></FDT>", ""},
        {"nested too deep", [] {
             std::string open, close;
             for (int i = 0; i < 300; ++i) open += "<a>", close += "</a>";
             return "<FDT>" + open + OneNode("PHYS/TAG_DESC", "DEEP") + close + "</FDT>";
         }(), ""},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Set(c.doc, c.path)) << c.what;
        EXPECT_EQ(Changed(), std::vector<std::string>{}) << c.what;
        EXPECT_FALSE(params().UpdateInProgress()) << c.what;
    }
}

TEST_F(ParameterDocuments, ASlotCodeFromADocumentRebuildsTheSlaveSet) {
    EXPECT_TRUE(Set(OneNode("SlaveBusParamSet_FB2", "1")));
    const std::string whole = platform::com::CStr(El(dtm::kSlaveBusParamSetWholeString)->TransientValue);
    EXPECT_EQ(whole.substr(56, 4), "001D");
    EXPECT_EQ(whole.substr(60, 10), "4284080500");
    EXPECT_EQ(dtm::BytesToHex(El(dtm::kBusMasterConfigurationPart)->TransientValue), whole);
}

// An element whose node handling fails.
class FailingElement : public clsDataElement {
public:
    bool ReadFromDtmVariable(P<xml::Element>, Ctx) override { platform::com::Raise(5); }
};

// The document's unit is taken over without converting, and the values that
// follow it keep their element's type: a float element holds a Single, also
// one that still held its Double initial value.
TEST(ParameterDocumentUnits, ValuesFollowingADocumentsUnitKeepTheirElementsType) {
    const ModelInstance instance = dtm::frame::NewModelInstance("RXD 218");
    auto el = [&](const std::string& path) {
        return std::dynamic_pointer_cast<clsDataElement>(instance.Parameters().Item("FUNC/1/AI/" + path));
    };
    ASSERT_EQ(el("OUT/Value")->TransientValue.Type(), platform::com::VarType::Double);

    const std::string doc = "<FDT xmlns:fdt=\"urn:fdt:types\"><DtmParameter><ParameterSet><fdt:DtmVariable "
                            "name=\"FUNC/1/AI/OUT_SCALE/Unit\"><fdt:Value><fdt:Display string=\"2034\"/></fdt:Value>"
                            "</fdt:DtmVariable></ParameterSet></DtmParameter></FDT>";
    EXPECT_TRUE(instance.ctx->ParameterService()->SetParameters(doc, instance.ctx, "", kFlags));

    ASSERT_TRUE(dtm::IsSameValue(el("OUT_SCALE/Unit")->TransientValue, Variant::Lng(2034)));
    for (const char* path : {"OUT/Value", "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val", "ALARM_HYS", "HI_HI_LIM", "HI_LIM",
                             "LO_LIM", "LO_LO_LIM", "FSAFE_VALUE"}) {
        EXPECT_EQ(el(path)->nTransientUnit, 2034) << path;
        EXPECT_EQ(el(path)->TransientValue.Type(), platform::com::VarType::Single) << path;
    }
}

// An element that cannot write its node.
class UnwritableElement : public clsDataElement {
public:
    bool WriteToDtmVariable(P<xml::Element>, Ctx) override { platform::com::Raise(13); }
    bool WriteToDocVariable(P<xml::Element>, Ctx) override { platform::com::Raise(13); }
};

TEST(ParameterDocumentsOut, AnElementThatCannotBeWrittenIsLeftOutAndTrapped) {
    auto instance = dtm::frame::NewModelInstance("RXD 218");
    auto unwritable = std::make_shared<UnwritableElement>();
    unwritable->Name = "PHYS/UNWRITABLE";
    unwritable->ValueType = 3;
    unwritable->ElementMode = 2;
    instance.Parameters().Add(unwritable);
    platform::app::ErrorSink::Instance().Clear();

    const struct {
        const char* where;
        std::function<std::string()> build;
    } documents[] = {
        {"ParameterService-GetParameters",
         [&] { return instance.ctx->ParameterService()->GetParameters(instance.ctx, "PHYS/", kFlags); }},
        {"DocumentationBuilder-BuildDocument",
         [&] { return platform::rt::DocumentationBuilder().BuildDocument(instance.ctx, "doc", 2, ""); }},
    };
    for (const auto& d : documents) {
        const std::string text = d.build();
        xml::Document doc;
        ASSERT_TRUE(doc.LoadXML(text)) << d.where;
        EXPECT_NE(text.find("name=\"PHYS/TAG_DESC\""), std::string::npos) << d.where;
        EXPECT_EQ(text.find("PHYS/UNWRITABLE"), std::string::npos) << d.where;
        const auto& errors = platform::app::ErrorSink::Instance().Errors();
        ASSERT_EQ(errors.size(), 1u) << d.where;
        EXPECT_EQ(errors[0].number, 13);
        EXPECT_EQ(errors[0].where, std::string(d.where) + " PHYS/UNWRITABLE");
        platform::app::ErrorSink::Instance().Clear();
    }
}

TEST(ParameterDocumentsBracket, TheDataSetUpdateEndsWhenAnElementFails) {
    auto instance = dtm::frame::NewModelInstance("RXD 218");
    auto failing = std::make_shared<FailingElement>();
    failing->Name = "PHYS/FAILING";
    failing->ValueType = 3;
    instance.Parameters().Add(failing);
    auto& params = instance.Parameters();
    params.Modified(false);

    const std::string doc = "<FDT><fdt:DtmVariable name=\"PHYS/FAILING\"/></FDT>";
    EXPECT_EQ(ErrorOf([&] { instance.ctx->ParameterService()->SetParameters(doc, instance.ctx, "", kFlags); }), 5);
    EXPECT_FALSE(params.UpdateInProgress());
    EXPECT_TRUE(params.Modified());

    // Inside an outer bracket the update ends with the outer one.
    params.BeginSetParameters();
    EXPECT_FALSE(instance.ctx->ParameterService()->SetParameters("<FDT/>", instance.ctx, "", kFlags));
    EXPECT_TRUE(params.UpdateInProgress());
    params.EndSetParameters();
    EXPECT_FALSE(params.UpdateInProgress());
}

}  // namespace
