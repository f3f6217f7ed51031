#include "platform/rt/DtmPathInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "ErrorOf.h"
#include "platform/com/Error.h"
#include "platform/xml/Dom.h"

namespace {

using platform::P;
using platform::Variant;
using platform::com::ComError;
using platform::rt::DtmPathInfo;
namespace com = platform::com;
namespace xml = platform::xml;

class PathInfoTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.LoadXML(R"(<FDT><fdt:DtmVariable name="x"/></FDT>)")); }
    P<xml::Element> Node() const { return doc.SelectSingleNode("FDT/fdt:DtmVariable"); }

    xml::Document doc;
    DtmPathInfo info;
};

struct AttributeCase {
    const char* what;
    Variant value;
    const char* text;
};

TEST_F(PathInfoTest, AttributeTextOfEachSubtype) {
    const AttributeCase cases[] = {
        {"Empty", Variant(), ""},
        {"Null", Variant::Null(), ""},
        {"Boolean True", Variant::Bool(true), "true"},
        {"Boolean False", Variant::Bool(false), "false"},
        {"Integer", Variant::Int(-12), "-12"},
        {"Long", Variant::Lng(2147483647), "2147483647"},
        {"Byte", Variant::Byte(255), "255"},
        {"Single", Variant::Sng(0.1f), "0.1"},
        {"Single exponent", Variant::Sng(12345678.0f), "1.234568E+07"},
        {"Double", Variant::Dbl(-2.5), "-2.5"},
        {"Date", Variant::Date(com::DateSerial(2024, 2, 29) + com::TimeSerial(13, 5, 9)),
         "2024-02-29T13:05:09"},
        {"String", Variant("a<b & \"c\""), "a<b & \"c\""},
        {"Byte array", Variant::ByteArray({0x00, 0xAB, 0x0F}), "00AB0F"},
        {"empty Byte array", Variant::ByteArray({}), ""},
    };
    for (const auto& c : cases) {
        info.SetNodeAttribute("value", c.value, Node());
        EXPECT_EQ(com::CStr(Node()->GetAttribute("value")), c.text) << c.what;
        info.SetDocAttribute("doc", c.value, Node());
        EXPECT_EQ(com::CStr(Node()->GetAttribute("doc")), c.text) << c.what;
    }
}

TEST_F(PathInfoTest, NumbersUseAPointWhateverTheSeparator) {
    com::SetDecimalSeparator(',');
    info.SetNodeAttribute("value", Variant::Dbl(1.5), Node());
    com::SetDecimalSeparator('.');
    EXPECT_EQ(com::CStr(Node()->GetAttribute("value")), "1.5");
}

TEST_F(PathInfoTest, ValuesWithoutAnAttributeFormRaise13) {
    EXPECT_EQ(ErrorOf([&] { info.SetNodeAttribute("v", Variant::Obj(nullptr), Node()); }), 13);
    EXPECT_EQ(ErrorOf([&] {
                  info.SetNodeAttribute("v", Variant::VariantArray({Variant::Lng(1)}), Node());
              }),
              13);
    EXPECT_EQ(ErrorOf([&] { info.SetNodeAttribute("v", Variant::Missing(), Node()); }), 13);
    EXPECT_FALSE(Node()->HasAttribute("v"));
}

TEST_F(PathInfoTest, GetNodeAttributeGivesAStringOrEmpty) {
    Variant name = info.GetNodeAttribute("name", Node());
    ASSERT_TRUE(name.IsString());
    EXPECT_EQ(name.StrRef(), "x");
    EXPECT_TRUE(info.GetNodeAttribute("missing", Node()).IsEmpty());
}

TEST_F(PathInfoTest, AddChildElementKeepsThePrefixAndAppends) {
    auto first = info.AddChildElement("fdt:Value", Node());
    auto second = info.AddChildElement("Other", Node());
    ASSERT_EQ(Node()->ChildElements().size(), 2u);
    EXPECT_TRUE(Node()->ChildElements()[0]->IsSameNode(first));
    EXPECT_TRUE(Node()->ChildElements()[1]->IsSameNode(second));
    EXPECT_EQ(first->Name(), "fdt:Value");
}

TEST_F(PathInfoTest, NothingAsNodeRaises91) {
    EXPECT_EQ(ErrorOf([&] { info.GetNodeAttribute("a", nullptr); }), 91);
    EXPECT_EQ(ErrorOf([&] { info.AddChildElement("a", nullptr); }), 91);
    EXPECT_EQ(ErrorOf([&] { info.SetNodeAttribute("a", Variant::Lng(1), nullptr); }), 91);
}

}  // namespace
