// The element's data-set entries, its FDT parameter node and its documentation entry.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "ErrorOf.h"
#include "ModelTestSupport.h"
#include "core/services/ProjectHelpers.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/Transaction.h"
#include "platform/xml/Dom.h"

namespace dtm {
namespace {

using platform::P;
using platform::Variant;
using platform::com::Identical;
using platform::com::PropertyBag;
using platform::com::VarType;

constexpr int16_t kKgPerSecond = 1322;
constexpr int16_t kKgPerHour = 1324;

class ElementPersistence : public ::testing::Test {
protected:
    P<clsDataElement> Add(const std::string& name, int32_t type, int32_t length,
                          const Variant& initial = Variant()) {
        return AddParam(mc.params(), name, initial, type, length);
    }

    // A fresh element of the same kind, as the next instance would create it.
    P<clsDataElement> Twin(const clsDataElement& el) {
        auto twin = std::make_shared<clsDataElement>();
        twin->Name = el.Name;
        twin->ValueType = el.ValueType;
        twin->ValueTypeLength = el.ValueTypeLength;
        twin->InitialValue = el.InitialValue;
        twin->nInitUnit = el.nInitUnit;
        return twin;
    }

    static P<platform::xml::Element> Node(platform::xml::Document& doc, const std::string& xml) {
        EXPECT_TRUE(doc.LoadXML(xml));
        return doc.DocumentElement();
    }

    testing::ModelContext mc;
};

// ---- property bag ----

struct BagCase {
    const char* name;
    int32_t type;
    int32_t length;
    Variant value;
};

class PropertyBagRoundTrip : public ElementPersistence, public ::testing::WithParamInterface<BagCase> {};

TEST_P(PropertyBagRoundTrip, ValueUnitAndStoredFlagsComeBack) {
    const BagCase& c = GetParam();
    auto el = Add("PHYS/VALUE", c.type, c.length);
    el->TransientValue = c.value;
    el->nTransientUnit = kKgPerHour;
    el->StatusFlags(0x8 | 0x20 | 0x4000 | 0x30000 | 0x500000);
    el->ParamOptional(true);
    el->Validity(false);

    PropertyBag bag;
    ASSERT_TRUE(el->WriteToPropBag(bag, mc.ctx));
    EXPECT_TRUE(Identical(el->PersistentValue, c.value));
    EXPECT_EQ(el->nPersistentUnit, kKgPerHour);
    EXPECT_TRUE(Identical(bag.ReadProperty("PHYS/VALUE.Unit"), Variant::Int(kKgPerHour)));
    EXPECT_TRUE(Identical(bag.ReadProperty("PHYS/VALUE.Flags"), Variant::Lng(0x02000008)));

    // Through the text form, as a saved project is.
    PropertyBag loaded = PropertyBag::FromText(bag.ToText());
    auto twin = Twin(*el);
    twin->StatusFlags(0x20 | 0x1000 | 0x80000);
    ASSERT_TRUE(twin->ReadFromPropBag(loaded, mc.ctx));
    EXPECT_TRUE(Identical(twin->TransientValue, c.value)) << platform::com::TypeName(twin->TransientValue);
    EXPECT_TRUE(Identical(twin->PersistentValue, c.value));
    EXPECT_EQ(twin->nTransientUnit, kKgPerHour);
    EXPECT_EQ(twin->nPersistentUnit, kKgPerHour);
    EXPECT_EQ(twin->StatusFlags(), 0x8 | 0x20);  // run-time error bits are cleared
    EXPECT_TRUE(twin->ParamOptional());
    EXPECT_FALSE(twin->Validity());
}

const BagCase kBagCases[] = {
    {"Octets", 1, 2, Variant::ByteArray({0x0A, 0xFF})},
    {"Unsigned8", 2, 1, Variant::Byte(200)},
    {"Unsigned16", 3, 2, Variant::Lng(65535)},
    {"Unsigned24", 4, 3, Variant::Lng(16777215)},
    {"Integer16", 5, 2, Variant::Int(-32768)},
    {"Integer24", 6, 3, Variant::Lng(-8388608)},
    {"Integer32", 7, 4, Variant::Lng(-2147483647 - 1)},
    {"Float", 8, 4, Variant::Sng(0.1f)},
    {"Double", 9, 8, Variant::Dbl(0.1)},
    {"Boolean", 10, 1, Variant::Bool(true)},
    {"Date", 11, 8, Variant::Date(37642.5)},
    {"TimeStamp", 12, 8, Variant::Date(37642.25)},
    {"VisibleString", 14, 32, Variant("Tag \xC3\xA4|\t\"")},
    {"EmptyString", 14, 32, Variant("")},
    {"Decimal", 15, 0, Variant::Dec(1.5)},
    {"Unsigned32", 16, 4, Variant::Dbl(4294967295.0)},
    {"EmptyFloat", 8, 4, Variant()},
};

INSTANTIATE_TEST_SUITE_P(ValueTypes, PropertyBagRoundTrip, ::testing::ValuesIn(kBagCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ElementPersistence, OctetStringIsStoredAsHexText) {
    auto el = Add("PHYS/DIAGNOSIS", 1, 2);
    el->TransientValue = Variant::ByteArray({0x0A, 0xFF});
    PropertyBag bag;
    el->WriteToPropBag(bag, mc.ctx);
    EXPECT_TRUE(Identical(bag.ReadProperty("PHYS/DIAGNOSIS"), Variant("0AFF")));
}

TEST_F(ElementPersistence, MissingEntriesGiveTheDefaults) {
    auto el = Add("PHYS/X", 8, 4, Variant::Sng(3.0f));
    el->nInitUnit = kKgPerSecond;
    el->SetRange(0, Variant::Dbl(0.5), Variant::Dbl(10));  // no value is no value out of it
    el->TransientValue = Variant::Sng(9.0f);
    el->PersistentValue = Variant::Sng(9.0f);
    el->nTransientUnit = kKgPerHour;
    el->StatusFlags(0x8 | 0x2000);
    el->Validity(false);

    PropertyBag empty;
    ASSERT_TRUE(el->ReadFromPropBag(empty, mc.ctx));
    EXPECT_TRUE(el->TransientValue.IsEmpty());
    EXPECT_TRUE(el->PersistentValue.IsEmpty());
    EXPECT_EQ(el->nTransientUnit, kKgPerSecond);
    EXPECT_EQ(el->StatusFlags(), 0);
    EXPECT_TRUE(el->Validity());
}

TEST_F(ElementPersistence, UnitEntryOfAnyFittingIntegerOrATableText) {
    struct {
        Variant stored;
        int16_t expected;
    } cases[] = {
        {Variant::Byte(7), 7},
        {Variant::Int(kKgPerHour), kKgPerHour},
        {Variant::Lng(kKgPerHour), kKgPerHour},
        {Variant::Lng(70000), kKgPerSecond},  // does not fit: the initial unit
        {Variant("kg/h"), kKgPerHour},
        {Variant("no such unit"), 0},
        {Variant(""), kKgPerSecond},
        {Variant::Dbl(1324), kKgPerSecond},
        {Variant::Bool(true), kKgPerSecond},
    };
    auto el = Add("PHYS/X", 8, 4);
    el->nInitUnit = kKgPerSecond;
    for (const auto& c : cases) {
        PropertyBag bag;
        bag.WriteProperty("PHYS/X.Unit", c.stored);
        el->ReadFromPropBag(bag, mc.ctx);
        EXPECT_EQ(el->nTransientUnit, c.expected) << platform::com::TypeName(c.stored);
    }
}

TEST_F(ElementPersistence, DamagedEntriesFallBackWithoutTouchingOtherElements) {
    auto el = Add("PHYS/X", 8, 4, Variant::Sng(3.0f));
    auto other = Add("PHYS/Y", 3, 2);
    el->nInitUnit = kKgPerSecond;
    el->PersistentValue = Variant::Sng(5.0f);
    el->nPersistentUnit = kKgPerHour;

    // Unreadable value, unit and flags lines; a good line for the other element.
    PropertyBag bag = PropertyBag::FromText(
        "PHYS/X\t4\tnot-a-number\nPHYS/X.Unit\t2\t1x\nPHYS/X.Flags\t3\t\\q\nPHYS/Y\t3\t42\n");
    EXPECT_FALSE(el->ReadFromPropBag(bag, mc.ctx));
    ASSERT_TRUE(other->ReadFromPropBag(bag, mc.ctx));
    EXPECT_TRUE(Identical(el->TransientValue, Variant::Sng(3.0f)));
    EXPECT_TRUE(Identical(el->PersistentValue, Variant::Sng(5.0f)));
    EXPECT_EQ(el->nPersistentUnit, kKgPerHour);
    EXPECT_EQ(el->nTransientUnit, kKgPerSecond);
    EXPECT_TRUE(el->Validity());
    EXPECT_TRUE(Identical(other->TransientValue, Variant::Lng(42)));
}

// A stored value the element would refuse when typed is not taken: the
// element holds its initial value, as after a damaged entry, the load answers
// False for it, and a save stores the initial value. Values at the ends of
// the range and the length are taken.
TEST_F(ElementPersistence, StoredValueTheElementDoesNotTakeGivesTheInitialValue) {
    struct {
        const char* name;
        int32_t type;
        int32_t length;
        bool ranged;  // range 0 to 126
        Variant stored;
        bool taken;
    } cases[] = {
        {"below the range", 2, 1, true, Variant::Lng(-5), false},
        {"above the range", 2, 1, true, Variant::Lng(999), false},
        {"lowest of the range", 2, 1, true, Variant::Lng(0), true},
        {"highest of the range", 2, 1, true, Variant::Int(126), true},
        {"Byte limit", 2, 1, false, Variant::Lng(300), false},
        {"Integer limit", 5, 2, false, Variant::Lng(40000), false},
        {"Long limit", 7, 4, false, Variant::Dbl(3e9), false},
        {"Single limit", 8, 4, false, Variant::Dbl(1e39), false},
        {"no number", 8, 4, false, Variant("abc"), false},
        {"unsigned 32-bit limit", 16, 4, false, Variant::Dbl(-1), false},
        {"longer than its length", 14, 32, false, Variant(std::string(200000, 'A')), false},
        {"as long as its length", 14, 32, false, Variant(std::string(32, 'A')), true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "PHYS/T" + std::to_string(++n);
        auto el = Add(name, c.type, c.length, c.type == 14 ? Variant("init") : Variant::Byte(9));
        if (c.ranged) el->SetRange(0, Variant::Int(0), Variant::Int(126));
        PropertyBag saved;
        saved.WriteProperty(name, c.stored);
        PropertyBag bag = PropertyBag::FromText(saved.ToText());

        EXPECT_EQ(el->ReadFromPropBag(bag, mc.ctx), c.taken);
        EXPECT_TRUE(Identical(el->TransientValue, c.taken ? c.stored : el->InitialValue));
        EXPECT_EQ(el->PersistentValue.IsEmpty(), !c.taken);
        EXPECT_EQ(el->CalcParamErrorFlags(mc.ctx, el->TransientValue), 0);

        PropertyBag again;
        el->WriteToPropBag(again, mc.ctx);
        EXPECT_TRUE(Identical(again.ReadProperty(name), el->TransientValue));
    }
}

// A value its type cannot hold, set in the element, is not coded: nothing
// goes to the device.
TEST_F(ElementPersistence, ValueItsTypeCannotHoldIsNotCoded) {
    struct {
        int32_t type;
        Variant value;
        int32_t codingError;
    } cases[] = {
        {2, Variant::Lng(300), platform::com::errOverflow},
        {5, Variant::Lng(40000), platform::com::errOverflow},
        {7, Variant::Dbl(3e9), platform::com::errOverflow},
        {8, Variant::Dbl(1e39), platform::com::errOverflow},
        {8, Variant("abc"), platform::com::errTypeMismatch},
        {16, Variant::Dbl(-1), platform::com::errOverflow},
    };
    for (const auto& c : cases) {
        const std::string name = "PHYS/T" + std::to_string(c.type) + platform::com::TypeName(c.value);
        auto el = Add(name, c.type, -1, Variant::Byte(9));
        el->Slot = 1;
        el->index = 20;
        el->DataPosition = 0;
        el->TransientValue = c.value;
        platform::xml::Document doc;
        EXPECT_EQ(ErrorOf([&] { el->WriteToDtmVariable(Node(doc, "<v name=\"T\"/>"), mc.ctx); }), 0) << name;

        auto trans = std::make_shared<platform::rt::Transaction>();
        EXPECT_EQ(ErrorOf([&] { mc.model->BuildTransactionRequest(mc.ctx, trans, true, el); }), c.codingError)
            << name;
        EXPECT_TRUE(trans->TransData().IsEmpty()) << name;
    }
}

TEST_F(ElementPersistence, UnreadableValueGivesTheInitialValue) {
    struct {
        int32_t type;
        const char* line;  // the value entry as the saved text holds it
    } cases[] = {
        {1, "8\t0G"},      // octet string that is no hex text
        {1, "3\t5"},       // octet string that is no text at all
        {8, "4\tabc"},     // a damaged Single field
        {2, "17\t300"},    // a damaged Byte field
        {3, "8204\t-2147483648:0"},  // array bounds that a Long cannot hold
        {8, "8209\t0:01"},            // an array where a single value belongs
        {3, "8204\t0:1|2:1:7"},
    };
    int n = 0;
    for (const auto& c : cases) {
        auto el = Add("PHYS/T" + std::to_string(++n), c.type, 1,
                      c.type == 1 ? Variant::ByteArray({9}) : Variant::Byte(9));
        PropertyBag bag = PropertyBag::FromText(el->Name + "\t" + c.line + "\n");
        EXPECT_FALSE(el->ReadFromPropBag(bag, mc.ctx)) << c.line;
        EXPECT_TRUE(Identical(el->TransientValue, el->InitialValue)) << c.line;
        EXPECT_TRUE(el->PersistentValue.IsEmpty()) << c.line;
    }
}

TEST_F(ElementPersistence, RecordHeaderKeepsNoValueWhateverIsStored) {
    auto header = Add("PHYS/REC/", 0, -1);
    header->RelIndex = 4;
    for (const Variant& stored : {Variant::VariantArray({Variant::Lng(1)}), Variant::Lng(7), Variant("x")}) {
        PropertyBag bag;
        bag.WriteProperty("PHYS/REC/", stored);
        ASSERT_TRUE(header->ReadFromPropBag(bag, mc.ctx));
        EXPECT_TRUE(header->TransientValue.IsEmpty()) << platform::com::TypeName(stored);
        EXPECT_TRUE(header->PersistentValue.IsEmpty()) << platform::com::TypeName(stored);

        platform::xml::Document doc;
        auto node = Node(doc, "<v name=\"REC/\"/>");
        EXPECT_TRUE(header->WriteToDtmVariable(node, mc.ctx));  // an array would not export
    }
}

TEST_F(ElementPersistence, StoredOctetStringStartsAtZero) {
    auto el = Add("PHYS/DIAGNOSIS", 1, 2);
    for (const char* line : {"8209\t3:0AFF", "8209\t-1:0AFF", "8\t0AFF"}) {
        PropertyBag bag = PropertyBag::FromText(std::string("PHYS/DIAGNOSIS\t") + line + "\n");
        el->ReadFromPropBag(bag, mc.ctx);
        EXPECT_TRUE(Identical(el->TransientValue, Variant::ByteArray({0x0A, 0xFF}))) << line;
        EXPECT_TRUE(Identical(el->PersistentValue, Variant::ByteArray({0x0A, 0xFF}))) << line;
    }
}

TEST_F(ElementPersistence, EmptyTextIsEmptyButForVisibleStrings) {
    auto number = Add("PHYS/N", 3, 2);
    auto text = Add("PHYS/S", 14, 8);
    PropertyBag bag;
    bag.WriteProperty("PHYS/N", Variant(""));
    bag.WriteProperty("PHYS/S", Variant(""));
    number->ReadFromPropBag(bag, mc.ctx);
    text->ReadFromPropBag(bag, mc.ctx);
    EXPECT_TRUE(number->TransientValue.IsEmpty());
    EXPECT_TRUE(Identical(text->TransientValue, Variant("")));
}

TEST_F(ElementPersistence, OnlyTheStoredFlagBitsAreRestored) {
    auto el = Add("PHYS/X", 3, 2);
    el->StatusFlags(0x2);
    PropertyBag bag;
    bag.WriteProperty("PHYS/X.Flags", Variant::Lng(0x4000 | 0x8 | 0x20 | 0x02000000));
    el->ReadFromPropBag(bag, mc.ctx);
    EXPECT_EQ(el->StatusFlags(), 0x8 | 0x2);
    EXPECT_TRUE(el->ParamOptional());
    EXPECT_FALSE(el->Validity());
}

// ---- FDT parameter document ----

// A comma-decimal process locale for the duration of a test, restored after it.
class CommaLocale {
public:
    CommaLocale() : separator_(platform::com::DecimalSeparator()) {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current ? current : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
            if (std::setlocale(LC_ALL, name)) break;
        platform::com::SetDecimalSeparator(',');
    }
    ~CommaLocale() {
        platform::com::SetDecimalSeparator(separator_);
        std::setlocale(LC_ALL, saved_.c_str());
    }

private:
    char separator_;
    std::string saved_;
};

TEST_F(ElementPersistence, FloatNodeCarriesItsUnitWhateverTheLocale) {
    CommaLocale comma;
    auto el = Add("TRANS/1/FlowCori/MASS_FLOW", 8, 4);
    el->TransientValue = Variant::Sng(12.5f);
    el->nTransientUnit = kKgPerSecond;
    el->Description = "mass flow";
    el->RelIndex = 3;

    platform::xml::Document doc;
    auto node = Node(doc, "<fdt:DtmVariable name=\"MASS_FLOW\"/>");
    ASSERT_TRUE(el->WriteToDtmVariable(node, mc.ctx));
    auto display = node->SelectSingleNode("fdt:Value/fdt:Display");
    ASSERT_TRUE(display);
    EXPECT_TRUE(Identical(display->GetAttribute("string"), Variant("12.5[kg/s]")));
    EXPECT_TRUE(Identical(node->GetAttribute("descriptor"), Variant("mass flow")));
    EXPECT_TRUE(Identical(node->GetAttribute("statusFlag"), Variant("ok")));
    EXPECT_TRUE(Identical(node->SelectSingleNode("fdt:Value")->GetAttribute("readAccess"), Variant("true")));

    auto twin = Twin(*el);
    ASSERT_TRUE(twin->ReadFromDtmVariable(node, mc.ctx));
    EXPECT_TRUE(Identical(twin->TransientValue, Variant::Sng(12.5f)));
    EXPECT_EQ(twin->nTransientUnit, kKgPerSecond);
    EXPECT_EQ(twin->Description, "mass flow");
}

// A float goes into the parameter document as a number, a NaN or an infinity
// as a word, that the reader takes back exactly, with its unit.
TEST_F(ElementPersistence, FloatNodeReadsBackWhatItWrote) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        int32_t type;
        Variant value;
        const char* text;
    } cases[] = {
        {8, Variant::Sng(std::numeric_limits<float>::quiet_NaN()), "NaN[kg/s]"},
        {8, Variant::Sng(static_cast<float>(inf)), "Infinity[kg/s]"},
        {8, Variant::Sng(static_cast<float>(-inf)), "-Infinity[kg/s]"},
        {9, Variant::Dbl(std::numeric_limits<double>::quiet_NaN()), "NaN[kg/s]"},
        {9, Variant::Dbl(-inf), "-Infinity[kg/s]"},
        // A number has as many digits as it needs to read back exactly, and no more.
        {8, Variant::Sng(16777216.0f), "16777216[kg/s]"},
        {8, Variant::Sng(12.5f), "12.5[kg/s]"},
        {8, Variant::Sng(0.1f), "0.1[kg/s]"},
        {8, Variant::Sng(1.2345679f), "1.2345679[kg/s]"},
        {8, Variant::Sng(-123456.79f), "-123456.79[kg/s]"},
        {8, Variant::Sng(std::numeric_limits<float>::denorm_min()), "1.401298E-45[kg/s]"},
        {9, Variant::Dbl(0.1 + 0.2), "0.30000000000000004[kg/s]"},
        {9, Variant::Dbl(1.23456), "1.23456[kg/s]"},
    };
    for (const auto& c : cases) {
        auto el = Add(std::string("PHYS/F") + std::to_string(c.type) + c.text, c.type, -1);
        el->TransientValue = c.value;
        el->nTransientUnit = kKgPerSecond;
        platform::xml::Document doc;
        auto node = Node(doc, "<v name=\"x\"/>");
        node->SetAttribute("name", el->Name);
        ASSERT_TRUE(el->WriteToDtmVariable(node, mc.ctx));
        EXPECT_TRUE(Identical(node->SelectSingleNode("fdt:Value/fdt:Display")->GetAttribute("string"),
                              Variant(c.text)));

        auto twin = Twin(*el);
        ASSERT_TRUE(twin->ReadFromDtmVariable(node, mc.ctx)) << c.text;
        EXPECT_EQ(twin->TransientValue.Type(), c.value.Type()) << c.text;
        if (std::isnan(platform::com::CDbl(c.value)))
            EXPECT_TRUE(IsSameValue(twin->TransientValue, c.value)) << c.text;
        else
            EXPECT_TRUE(Identical(twin->TransientValue, c.value)) << c.text;
        EXPECT_EQ(twin->nTransientUnit, kKgPerSecond) << c.text;
    }
}

TEST_F(ElementPersistence, InternalVariableIsNeitherReadNorWrittenByTheDevice) {
    auto el = Add("~/Tag", 14, -1);
    el->TransientValue = Variant("TT 1");
    platform::xml::Document doc;
    auto node = Node(doc, "<fdt:DtmVariable name=\"~/Tag\"/>");
    el->Validity(false);
    el->WriteToDtmVariable(node, mc.ctx);
    auto value = node->SelectSingleNode("fdt:Value");
    EXPECT_TRUE(Identical(value->GetAttribute("writeAccess"), Variant("false")));
    EXPECT_TRUE(Identical(value->SelectSingleNode("fdt:Display")->GetAttribute("string"), Variant("TT 1")));
    EXPECT_TRUE(Identical(node->GetAttribute("statusFlag"), Variant("invalid")));
}

TEST_F(ElementPersistence, NodeBelongsOnlyToTheElementItNames) {
    auto tag = Add("PHYS/TAG_DESC", 14, 32);
    auto myTag = Add("PHYS/MY_TAG_DESC", 14, 32);
    platform::xml::Document doc;
    auto node = Node(doc,
                     "<fdt:DtmVariable name=\"TAG_DESC\" statusFlag=\"invalid\">"
                     "<fdt:Value><fdt:Display string=\"new\"/></fdt:Value></fdt:DtmVariable>");
    EXPECT_FALSE(myTag->ReadFromDtmVariable(node, mc.ctx));
    EXPECT_TRUE(myTag->TransientValue.IsEmpty());
    EXPECT_TRUE(myTag->Validity());  // another element's status does not apply
    EXPECT_TRUE(tag->ReadFromDtmVariable(node, mc.ctx));
    EXPECT_TRUE(Identical(tag->TransientValue, Variant("new")));
    EXPECT_FALSE(tag->Validity());
}

TEST_F(ElementPersistence, UnusableNodesLeaveTheValueAndUnit) {
    const char* nodes[] = {
        "<v name=\"FLOW\" statusFlag=\"odd\"/>",                                      // no fdt:Value
        "<v name=\"FLOW\"><fdt:Value/></v>",                                           // no fdt:Display
        "<v name=\"FLOW\"><fdt:Value><fdt:Display/></fdt:Value></v>",                  // no string
        "<v name=\"FLOW\"><fdt:Value><fdt:Display string=\"abc[kg/h]\"/></fdt:Value></v>",
        "<v name=\"FLOW\"><fdt:Value><fdt:Display string=\"1.5[#x]\"/></fdt:Value></v>",
        "<v name=\"FLOW\"><fdt:Value><fdt:Display string=\"1.5[#99999]\"/></fdt:Value></v>",
        "<v><fdt:Value><fdt:Display string=\"1.5\"/></fdt:Value></v>",                // no name
    };
    auto el = Add("PHYS/FLOW", 8, 4);
    for (const char* xml : nodes) {
        el->TransientValue = Variant::Sng(2.0f);
        el->nTransientUnit = kKgPerSecond;
        platform::xml::Document doc;
        auto node = Node(doc, xml);
        EXPECT_FALSE(el->ReadFromDtmVariable(node, mc.ctx)) << xml;
        EXPECT_TRUE(Identical(el->TransientValue, Variant::Sng(2.0f))) << xml;
        EXPECT_EQ(el->nTransientUnit, kKgPerSecond) << xml;
        EXPECT_TRUE(el->Validity()) << xml;
    }
}

TEST_F(ElementPersistence, OctetStringNodeIsHexText) {
    auto el = Add("PHYS/DIAGNOSIS", 1, 2);
    el->TransientValue = Variant::ByteArray({0x0A, 0xFF});
    platform::xml::Document doc;
    auto node = Node(doc, "<v name=\"DIAGNOSIS\"/>");
    el->WriteToDtmVariable(node, mc.ctx);
    el->TransientValue = Variant();
    ASSERT_TRUE(el->ReadFromDtmVariable(node, mc.ctx));
    EXPECT_TRUE(Identical(el->TransientValue, Variant::ByteArray({0x0A, 0xFF})));
}

TEST_F(ElementPersistence, DateNodeReadsBackWhatItWrote) {
    auto el = Add("PHYS/INSTALL_DATE", 11, 8);
    const double serial = 45293 + (3 * 3600 + 4 * 60 + 5) / 86400.0;
    el->TransientValue = Variant::Date(serial);
    platform::xml::Document doc;
    auto node = Node(doc, "<v name=\"INSTALL_DATE\"/>");
    ASSERT_TRUE(el->WriteToDtmVariable(node, mc.ctx));
    el->TransientValue = Variant();
    ASSERT_TRUE(el->ReadFromDtmVariable(node, mc.ctx));
    ASSERT_EQ(el->TransientValue.Type(), platform::com::VarType::Date);
    EXPECT_NEAR(el->TransientValue.DateSerial(), serial, 1e-9);
}

// ---- documentation ----

TEST_F(ElementPersistence, DocumentationShowsListTextsAndUnits) {
    struct {
        int32_t type;
        Variant value;
        int16_t unit;
        std::string list;
        std::string display;
    } cases[] = {
        {16, Variant::Dbl(4294967295.0), 0, "-1:all bits|0:none", "all bits"},
        {3, Variant::Lng(2), 0, "1:one|2:two", "two"},
        {8, Variant::Sng(3.0f), 0, "", "3.0"},
        {8, Variant::Sng(12.5f), kKgPerSecond, "", "12.5 [kg/s]"},
        {9, Variant::Dbl(1.23456), 0, "", "1.235"},
        {3, Variant::Lng(5), 0, "", "5"},
        {2, Variant("x"), 0, "1:one", "x"},  // not a number: shown as it is
    };
    for (const auto& c : cases) {
        auto el = Add("PHYS/D" + std::to_string(c.type) + c.display, c.type, -1);
        el->TransientValue = c.value;
        el->nTransientUnit = c.unit;
        el->ValueList = c.list;
        el->Label = "label";
        platform::xml::Document doc;
        auto node = Node(doc, "<e/>");
        ASSERT_TRUE(el->WriteToDocVariable(node, mc.ctx));
        EXPECT_TRUE(Identical(node->GetAttribute("fdt:display"), Variant(c.display))) << c.display;
        EXPECT_TRUE(Identical(node->GetAttribute("fdt:name"), Variant("label")));
        EXPECT_TRUE(Identical(node->GetAttribute("fdt:statusFlag"), Variant("ok")));
    }
}

// A secret's value goes into no data set, parameter node or documentation
// entry (its initial value stands there), and a stored one is not loaded.
TEST_F(ElementPersistence, SecretNeverLeavesTheElement) {
    const Variant blanks = Variant::Str("         "), code = Variant::Str("SERVICE42");
    auto el = Add("PHYS/MANU/SERVICE_PASSWORD", 14, 9, blanks);
    el->Secret = true;
    el->TransientValue = code;

    PropertyBag bag;
    ASSERT_TRUE(el->WriteToPropBag(bag, mc.ctx));
    EXPECT_TRUE(Identical(bag.ReadProperty(el->Name), blanks));
    EXPECT_TRUE(Identical(el->PersistentValue, blanks));
    EXPECT_TRUE(Identical(el->TransientValue, code));  // a typed code stays until it is sent

    platform::xml::Document doc;
    auto node = Node(doc, "<fdt:DtmVariable name=\"SERVICE_PASSWORD\"/>");
    ASSERT_TRUE(el->WriteToDtmVariable(node, mc.ctx));
    EXPECT_TRUE(Identical(node->SelectSingleNode("fdt:Value/fdt:Display")->GetAttribute("string"), blanks));
    auto entry = Node(doc, "<e/>");
    ASSERT_TRUE(el->WriteToDocVariable(entry, mc.ctx));
    EXPECT_TRUE(Identical(entry->GetAttribute("fdt:display"), blanks));

    PropertyBag older;
    older.WriteProperty(el->Name, code);
    older.WriteProperty(el->Name + ".Flags", Variant::Lng(0x01000008));
    auto loaded = Twin(*el);
    loaded->Secret = true;
    ASSERT_TRUE(loaded->ReadFromPropBag(older, mc.ctx));
    EXPECT_TRUE(Identical(loaded->TransientValue, blanks));
    EXPECT_TRUE(Identical(loaded->PersistentValue, blanks));
    EXPECT_EQ(loaded->StatusFlags() & 0x8, 0x8);  // the other entries are taken as ever
}

TEST_F(ElementPersistence, DocumentationOfABitListShowsTheLow32Bits) {
    struct {
        int32_t type;
        Variant value;
        std::string display;
    } cases[] = {
        {16, Variant::Dbl(2147483649.0), "[x] low, [ ] two, [x] top"},
        {16, Variant::Dbl(1e10 + 4), "[ ] low, [x] two, [ ] top"},  // 0x540BE404
        {7, Variant::Dbl(4294967296.0 + 5), "[x] low, [x] two, [ ] top"},
        {3, Variant::Lng(-1), "[x] low, [x] two, [x] top"},
    };
    for (const auto& c : cases) {
        auto el = Add("PHYS/B" + std::to_string(c.type) + c.display, c.type, -1);
        el->TransientValue = c.value;
        el->ValueList = "0:low|2:two|31:top";
        el->bBitEncoding = true;
        platform::xml::Document doc;
        auto node = Node(doc, "<e/>");
        ASSERT_TRUE(el->WriteToDocVariable(node, mc.ctx));
        EXPECT_TRUE(Identical(node->GetAttribute("fdt:display"), Variant(c.display))) << c.display;
    }
}

}  // namespace
}  // namespace dtm
