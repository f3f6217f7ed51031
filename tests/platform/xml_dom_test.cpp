#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "platform/TempFolder.h"
#include "platform/xml/Dom.h"

using namespace std::string_literals;
using platform::P;
using platform::com::ComError;
using platform::xml::Document;
using platform::xml::Element;

namespace {

const char* const kDeviceTypes = R"(<?xml version="1.0" encoding="UTF-8"?>
<FDT xmlns:fdt="urn:fdt:types">
  <DtmInfo>
    <DtmDeviceTypes>
      <fdt:DtmDeviceType manufacturerId="69" deviceTypeId="1" name="RXD 214">
        <fdt:VersionInformation name="V1"/>
      </fdt:DtmDeviceType>
      <!-- a comment between elements -->
      <fdt:DtmDeviceType manufacturerId="69" deviceTypeId="2" name="RXD 218"/>
    </DtmDeviceTypes>
  </DtmInfo>
</FDT>)";

std::vector<std::string> NamesOf(const std::vector<P<Element>>& elements, const std::string& attribute) {
    std::vector<std::string> out;
    for (const auto& e : elements) {
        const auto v = e->GetAttribute(attribute);
        out.push_back(v.IsNull() ? e->Name() : v.StrRef());
    }
    return out;
}

std::string Nested(int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += "<e>";
    for (int i = 0; i < depth; ++i) s += "</e>";
    return s;
}

class XmlDomFile : public ::testing::Test {
protected:
    TempFolder folder_;
};

}  // namespace

TEST(XmlDom, NavigatesAParsedNamespacedDocumentByLiteralPrefixes) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML(kDeviceTypes));
    const auto types = doc.SelectNodes("FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType");
    ASSERT_EQ(NamesOf(types, "name"), (std::vector<std::string>{"RXD 214", "RXD 218"}));
    EXPECT_EQ(types[0]->Name(), "fdt:DtmDeviceType");
    EXPECT_EQ(types[0]->GetAttribute("manufacturerId").StrRef(), "69");
    EXPECT_TRUE(types[0]->GetAttribute("missing").IsNull());
    EXPECT_FALSE(types[0]->HasAttribute("missing"));

    // The local name alone, or another prefix, does not match.
    EXPECT_TRUE(doc.SelectNodes("FDT/DtmInfo/DtmDeviceTypes/DtmDeviceType").empty());
    EXPECT_EQ(doc.SelectSingleNode("FDT/DtmInfo/DtmDeviceTypes/x:DtmDeviceType"), nullptr);

    const auto version = types[0]->SelectSingleNode("fdt:VersionInformation");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->GetAttribute("name").StrRef(), "V1");
    EXPECT_TRUE(version->ParentElement()->IsSameNode(types[0]));
    EXPECT_EQ(doc.DocumentElement()->ParentElement(), nullptr);
    EXPECT_TRUE(version->OwnerDocument()->DocumentElement()->IsSameNode(doc.DocumentElement()));

    // Comments and blank text are no child elements.
    EXPECT_EQ(types[0]->ParentElement()->ChildElements().size(), 2u);
    // The namespace declaration reads like an attribute.
    EXPECT_EQ(doc.DocumentElement()->GetAttribute("xmlns:fdt").StrRef(), "urn:fdt:types");
}

TEST(XmlDom, PathForms) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<r><a n='1'><b n='2'><c n='3'/></b><c n='4'/></a><a n='5'><c n='6'/></a></r>"));
    const auto a1 = doc.DocumentElement()->ChildElements().at(0);
    struct Case {
        std::string path;
        bool fromElement;  // relative to the first <a>, else the document
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"r/a", false, {"1", "5"}},
        {"/r/a/c", false, {"4", "6"}},
        {"r/*/c", false, {"4", "6"}},
        {"//c", false, {"3", "4", "6"}},
        {"r//c", false, {"3", "4", "6"}},
        {"//a/c", false, {"4", "6"}},
        {"r/a/*", false, {"2", "4", "6"}},
        {"*", false, {"r"}},
        {"a", false, {}},
        {"b/c", true, {"3"}},
        {"c", true, {"4"}},
        {"*", true, {"2", "4"}},
        {"//c", true, {"3", "4", "6"}},
        {"/r/a", true, {"1", "5"}},
        {"r", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto found = c.fromElement ? a1->SelectNodes(c.path) : doc.SelectNodes(c.path);
        EXPECT_EQ(NamesOf(found, "n"), c.expected);
        const auto first = c.fromElement ? a1->SelectSingleNode(c.path) : doc.SelectSingleNode(c.path);
        if (c.expected.empty()) {
            EXPECT_EQ(first, nullptr);
        } else {
            EXPECT_TRUE(first && first->IsSameNode(found.front()));
        }
    }
}

TEST(XmlDom, UnsupportedPathsRaiseInvalidArgument) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<r><a/></r>"));
    for (const std::string path : {"", "/", "r/", "r//", "r///a", "r/a[1]", "r/@x", "..", "r/a b", "p:*", "r|a"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { doc.SelectNodes(path); }), 5);
        EXPECT_EQ(ErrorOf([&] { doc.DocumentElement()->SelectSingleNode(path); }), 5);
    }
}

TEST(XmlDom, RefusesUnsafeAndMalformedInputSilently) {
    const std::string refused[] = {
        "",
        "   ",
        "not xml",
        "<a>",
        "<a></b>",
        "<a/><b/>",
        "<a x='1' x='2'/>",
        "<a>&undefined;</a>",
        "<?xml version='1.0'?>",
        "<a>\0</a>"s,
        "\xFF\xFE<\0a\0/\0>\0",
        "<!DOCTYPE a><a/>",
        "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>",
        "<!DOCTYPE a SYSTEM 'file:///etc/passwd'><a/>",
        "<!DOCTYPE a [<!ENTITY x SYSTEM 'file:///etc/passwd'>]><a>&x;</a>",
        "<!DOCTYPE a [<!ENTITY l0 'ha'><!ENTITY l1 '&l0;&l0;&l0;&l0;&l0;&l0;&l0;&l0;'>"
        "<!ENTITY l2 '&l1;&l1;&l1;&l1;&l1;&l1;&l1;&l1;'>]><a>&l2;</a>",
        Nested(platform::xml::kMaxDepth + 1),
        Nested(100000),
    };
    ::testing::internal::CaptureStderr();
    for (const auto& text : refused) {
        SCOPED_TRACE(text.substr(0, 80));
        Document doc;
        EXPECT_FALSE(doc.LoadXML(text));
        EXPECT_EQ(doc.DocumentElement(), nullptr);
        EXPECT_EQ(doc.Xml(), "");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    Document deep;
    EXPECT_TRUE(deep.LoadXML(Nested(platform::xml::kMaxDepth)));

    // An inclusion is an element like any other; nothing is fetched.
    Document include;
    ASSERT_TRUE(include.LoadXML(
        "<a xmlns:xi='http://www.w3.org/2001/XInclude'><xi:include href='file:///etc/passwd'/></a>"));
    EXPECT_NE(include.SelectSingleNode("a/xi:include"), nullptr);
    EXPECT_EQ(include.DocumentElement()->Text(), "");
}

TEST(XmlDom, AFailedLoadEmptiesTheDocumentButKeepsOldHandlesValid) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<r><a x='1'/></r>"));
    const auto a = doc.SelectSingleNode("r/a");
    EXPECT_FALSE(doc.LoadXML("<r>"));
    EXPECT_EQ(doc.DocumentElement(), nullptr);
    EXPECT_EQ(a->GetAttribute("x").StrRef(), "1");
    EXPECT_EQ(a->ParentElement()->Name(), "r");
}

TEST(XmlDom, BuildsAndSerialisesPrefixedNamesAsWritten) {
    Document doc;
    EXPECT_EQ(doc.Xml(), "");
    const auto root = doc.CreateElement("FDT");
    doc.SetDocumentElement(root);
    root->SetAttribute("xmlns:fdt", "urn:fdt:types");
    const auto variable = doc.CreateElement("fdt:DtmVariable");
    variable->SetAttribute("name", "FUNC/1/AI/OUT");
    root->AppendChild(variable);
    const auto value = doc.CreateElement("Value");
    value->SetText("1.5");
    variable->AppendChild(value);

    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<FDT xmlns:fdt=\"urn:fdt:types\"><fdt:DtmVariable name=\"FUNC/1/AI/OUT\"><Value>1.5</Value>"
        "</fdt:DtmVariable></FDT>";
    EXPECT_EQ(doc.Xml(), expected);
    EXPECT_EQ(variable->Name(), "fdt:DtmVariable");
    EXPECT_TRUE(doc.SelectSingleNode("FDT/fdt:DtmVariable")->IsSameNode(variable));

    // Read back, the prefix is bound to the declared namespace and still matches.
    Document again;
    ASSERT_TRUE(again.LoadXML(doc.Xml()));
    EXPECT_EQ(again.SelectSingleNode("FDT/fdt:DtmVariable/Value")->Text(), "1.5");
    EXPECT_EQ(again.Xml(), expected);
}

TEST(XmlDom, EscapesOnOutputAndRoundTripsValuesExactly) {
    const std::string attribute = "a<b>c&d\"e'f\ng\th\r\xC3\xA4\xE2\x82\xAC";
    const std::string text = "x<y>z&w\"v\xC3\xB6";
    Document doc;
    doc.SetDocumentElement(doc.CreateElement("r"));
    doc.DocumentElement()->SetAttribute("v", attribute);
    doc.DocumentElement()->SetText(text);
    const std::string xml = doc.Xml();
    EXPECT_NE(xml.find("v=\"a&lt;b&gt;c&amp;d&quot;e'f&#10;g&#9;h&#13;\xC3\xA4\xE2\x82\xAC\""), std::string::npos) << xml;
    EXPECT_NE(xml.find(">x&lt;y&gt;z&amp;w\"v\xC3\xB6</r>"), std::string::npos) << xml;

    Document again;
    ASSERT_TRUE(again.LoadXML(xml));
    EXPECT_EQ(again.DocumentElement()->GetAttribute("v").StrRef(), attribute);
    EXPECT_EQ(again.DocumentElement()->Text(), text);
}

TEST(XmlDom, TextThatXmlCannotHoldIsStoredSoTheOutputStaysReadable) {
    Document doc;
    doc.SetDocumentElement(doc.CreateElement("r"));
    doc.DocumentElement()->SetAttribute("v", "a\x01" "b\xFF" "c\0d"s);
    doc.DocumentElement()->SetText("t\x1F\xE4");
    EXPECT_EQ(doc.DocumentElement()->GetAttribute("v").StrRef(), "a?b\xC3\xBF" "c?d");
    EXPECT_EQ(doc.DocumentElement()->Text(), "t?\xC3\xA4");
    Document again;
    EXPECT_TRUE(again.LoadXML(doc.Xml()));
}

TEST(XmlDom, LoadXMLTakesTheTextAsUtf8WhateverItsDeclarationSays) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a b=\"\xC3\xA4\">\xC3\xB6</a>"));
    EXPECT_EQ(doc.DocumentElement()->GetAttribute("b").StrRef(), "\xC3\xA4");
    EXPECT_EQ(doc.DocumentElement()->Text(), "\xC3\xB6");
    EXPECT_EQ(doc.Xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a b=\"\xC3\xA4\">\xC3\xB6</a>");
}

TEST_F(XmlDomFile, LoadReadsAFileInItsDeclaredEncoding) {
    Document doc;
    EXPECT_TRUE(doc.Load(folder_.Write("latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a b=\"\xE4\"/>")));
    EXPECT_EQ(doc.DocumentElement()->GetAttribute("b").StrRef(), "\xC3\xA4");
    EXPECT_TRUE(doc.Load(folder_.Write("bom.xml", "\xEF\xBB\xBF<a b=\"\xC3\xA4\"/>")));
    EXPECT_EQ(doc.DocumentElement()->GetAttribute("b").StrRef(), "\xC3\xA4");

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(doc.Load(folder_.Path("missing.xml")));
    EXPECT_FALSE(doc.Load(folder_.Dir().string()));
    EXPECT_FALSE(doc.Load(folder_.Write("bad.xml", "<a>")));
    EXPECT_EQ(doc.DocumentElement(), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(XmlDom, AttributesKeepTheirOrderAndCanBeReplacedAndRemoved) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<a xmlns:p='urn:p' z='1' p:y='2' x='3'/>"));
    const auto a = doc.DocumentElement();
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(a->Attributes(), (Pairs{{"xmlns:p", "urn:p"}, {"z", "1"}, {"p:y", "2"}, {"x", "3"}}));

    a->SetAttribute("p:y", "two");
    a->SetAttribute("w", "4");
    a->RemoveAttribute("z");
    a->RemoveAttribute("nothing");
    a->SetAttribute("xmlns:p", "urn:q");
    EXPECT_EQ(a->Attributes(), (Pairs{{"xmlns:p", "urn:q"}, {"p:y", "two"}, {"x", "3"}, {"w", "4"}}));
    EXPECT_EQ(doc.Xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a xmlns:p=\"urn:q\" p:y=\"two\" x=\"3\" w=\"4\"/>");

    a->RemoveAttribute("xmlns:p");
    EXPECT_FALSE(a->HasAttribute("xmlns:p"));
    EXPECT_EQ(a->GetAttribute("p:y").StrRef(), "two");
}

// A parsed attribute whose name is no qualified name ("xmlns:" declares no
// prefix) is an attribute like any other, read back by the name it lists.
TEST(XmlDom, EveryListedAttributeReadsBackByItsName) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<a xmlns='urn:d' xmlns:='u' b:='v' xmlns:p='urn:p'/>"));
    const auto a = doc.DocumentElement();
    const auto attributes = a->Attributes();
    EXPECT_EQ(attributes.size(), 4u);
    for (const auto& [name, value] : attributes) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(a->HasAttribute(name));
        EXPECT_EQ(a->GetAttribute(name).StrRef(), value);
    }
    EXPECT_EQ(a->GetAttribute("xmlns:").StrRef(), "u");
    a->RemoveAttribute("xmlns:");
    EXPECT_FALSE(a->HasAttribute("xmlns:"));
    EXPECT_EQ(a->GetAttribute("xmlns").StrRef(), "urn:d");
    EXPECT_EQ(ErrorOf([&] { a->SetAttribute("xmlns:", "x"); }), 5);
}

TEST(XmlDom, InvalidNamesRaiseInvalidArgument) {
    Document doc;
    const auto e = doc.CreateElement("e");
    for (const std::string name : {"", "1a", "a b", "a:", ":a", "a:b:c", "<a>", "a\xFF"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ErrorOf([&] { doc.CreateElement(name); }), 5);
        EXPECT_EQ(ErrorOf([&] { e->SetAttribute(name, "v"); }), 5);
    }
}

TEST(XmlDom, AppendChildMovesElementsWithinTheirDocumentOnly) {
    Document doc, other;
    ASSERT_TRUE(doc.LoadXML("<r><a><b/></a><c/></r>"));
    const auto a = doc.SelectSingleNode("r/a");
    const auto b = doc.SelectSingleNode("r/a/b");
    const auto c = doc.SelectSingleNode("r/c");

    c->AppendChild(b);
    EXPECT_TRUE(b->ParentElement()->IsSameNode(c));
    EXPECT_TRUE(a->ChildElements().empty());

    EXPECT_EQ(ErrorOf([&] { a->AppendChild(nullptr); }), 91);
    EXPECT_EQ(ErrorOf([&] { a->AppendChild(other.CreateElement("x")); }), 5);
    EXPECT_EQ(ErrorOf([&] { b->AppendChild(c); }), 5);  // its own parent
    EXPECT_EQ(ErrorOf([&] { b->AppendChild(b); }), 5);
    EXPECT_EQ(ErrorOf([&] { other.SetDocumentElement(a); }), 5);
    EXPECT_EQ(ErrorOf([&] { other.SetDocumentElement(nullptr); }), 91);
    EXPECT_EQ(doc.Xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r><a/><c><b/></c></r>");
}

TEST(XmlDom, HandlesStayValidAfterTheirNodesLeaveTheTreeOrTheDocumentIsGone) {
    P<Element> orphan, replacedRoot, clearedChild, created;
    {
        auto doc = std::make_shared<Document>();
        ASSERT_TRUE(doc->LoadXML("<r><a x='1'><b/></a></r>"));
        replacedRoot = doc->DocumentElement();
        clearedChild = doc->SelectSingleNode("r/a/b");
        doc->SelectSingleNode("r/a")->SetText("text");
        created = doc->CreateElement("never:appended");
        orphan = doc->CreateElement("new");
        orphan->AppendChild(doc->CreateElement("child"));
        doc->SetDocumentElement(orphan);
        EXPECT_EQ(doc->Xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<new><child/></new>");
        EXPECT_EQ(replacedRoot->SelectSingleNode("a")->Text(), "text");
    }
    EXPECT_EQ(replacedRoot->Name(), "r");
    EXPECT_EQ(replacedRoot->SelectSingleNode("a")->GetAttribute("x").StrRef(), "1");
    EXPECT_EQ(clearedChild->Name(), "b");
    EXPECT_EQ(clearedChild->ParentElement(), nullptr);
    EXPECT_EQ(created->Name(), "never:appended");
    EXPECT_EQ(orphan->OwnerDocument()->DocumentElement()->ChildElements().at(0)->Name(), "child");
}

TEST(XmlDom, SetTextReplacesAllContent) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<r>one<a>two</a><![CDATA[<three>]]></r>"));
    const auto r = doc.DocumentElement();
    EXPECT_EQ(r->Text(), "onetwo<three>");
    r->SetText("");
    EXPECT_EQ(r->Text(), "");
    EXPECT_TRUE(r->ChildElements().empty());
    EXPECT_EQ(doc.Xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r/>");
}
