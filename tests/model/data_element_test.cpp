// The parameter element: flags, ranges, value checks, value lists, units,
// typed values and transfer selection.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "ModelTestSupport.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/UserInfo.h"

namespace dtm {
namespace {

using platform::P;
using platform::Variant;
using platform::com::ComError;
using platform::com::Identical;
using testing::ModelContext;

TEST(DataElement, NewElementHasTheDocumentedDefaults) {
    clsDataElement el;
    EXPECT_EQ(el.Name, "");
    EXPECT_EQ(el.ValueType, 0);
    EXPECT_EQ(el.ValueTypeLength, -1);
    EXPECT_EQ(el.ElementMode, 0);
    EXPECT_EQ(el.RequiredUserLevel, 1);
    EXPECT_EQ(el.Slot, -1);
    EXPECT_EQ(el.index, -1);
    EXPECT_EQ(el.BlockType, pbfNoneBlock);
    EXPECT_EQ(el.BlockNumber, -1);
    EXPECT_EQ(el.RelIndex, -1);
    EXPECT_EQ(el.DataPosition, -1);
    EXPECT_EQ(el.AccessMask, 255);
    EXPECT_FALSE(el.RawByteOrder);
    EXPECT_TRUE(el.TransientValue.IsEmpty());
    EXPECT_TRUE(el.InitialValue.IsEmpty());
    EXPECT_EQ(el.nTransientUnit, 0);
    EXPECT_EQ(el.StatusFlags(), 0);
    EXPECT_TRUE(el.Validity());
    EXPECT_FALSE(el.ParamOptional());
    EXPECT_FALSE(el.ParamDynamic());
    EXPECT_EQ(el.ControlType(), 0);
}

TEST(DataElement, RuntimeFaceForwardsToTheFields) {
    auto el = std::make_shared<clsDataElement>();
    platform::rt::El face = el;
    face->Name("PHYS/TAG_DESC");
    face->ValueType(14);
    face->ValueTypeLength(32);
    face->ElementMode(3);
    face->TransientValue(Variant("a"));
    face->PersistentValue(Variant("b"));
    face->DeviceValue(Variant("c"));
    face->NestProcessLevel(2);
    el->Slot = 4;
    el->index = 17;
    EXPECT_EQ(el->Name, "PHYS/TAG_DESC");
    EXPECT_EQ(el->ValueType, 14);
    EXPECT_EQ(el->ValueTypeLength, 32);
    EXPECT_EQ(el->ElementMode, 3);
    EXPECT_EQ(el->TransientValue.StrRef(), "a");
    EXPECT_EQ(el->PersistentValue.StrRef(), "b");
    EXPECT_EQ(el->DeviceValue.StrRef(), "c");
    EXPECT_EQ(el->NestProcessLevel, 2);
    EXPECT_EQ(face->Slot(), 4);
    EXPECT_EQ(face->Index(), 17);
}

// ---- Status flags ----

TEST(DataElementFlags, PrivateBitsNeverShowOrChangeThroughStatusFlags) {
    clsDataElement el;
    el.ParamOptional(true);
    el.StatusFlags(static_cast<int32_t>(0xFFFFFFFF));
    EXPECT_EQ(static_cast<uint32_t>(el.StatusFlags()), 0xF0FFFFFFu);
    EXPECT_TRUE(el.Validity());
    EXPECT_TRUE(el.ParamOptional());

    el.StatusFlags(0);
    EXPECT_EQ(el.StatusFlags(), 0);
    EXPECT_TRUE(el.Validity());
    EXPECT_TRUE(el.ParamOptional());

    el.SetStatusFlag(0x0F000020);
    EXPECT_EQ(el.StatusFlags(), 0x20);
    el.Validity(false);
    el.ParamOptional(false);
    el.SetStatusFlag(0x01000000);
    EXPECT_FALSE(el.Validity());

    el.Validity(true);
    el.ClearStatusFlag(static_cast<int32_t>(0xFFFFFFFF));
    EXPECT_EQ(el.StatusFlags(), 0);
    EXPECT_TRUE(el.Validity());
}

TEST(DataElementFlags, DynamicIsAnOrdinaryStatusBit) {
    clsDataElement el;
    el.ParamDynamic(true);
    EXPECT_EQ(el.StatusFlags(), 0x2);
    el.StatusFlags(0x8);
    EXPECT_FALSE(el.ParamDynamic());
}

// ---- Ranges ----

TEST(DataElementRanges, RemovingARangeMovesTheLaterOnesDown) {
    clsDataElement el;
    for (int i = 0; i < 4; ++i) el.SetRange(i, Variant::Lng(i * 10), Variant::Lng(i * 10 + 5));
    el.SetRange(2, Variant(), Variant());

    Variant lo, hi;
    ASSERT_TRUE(el.GetRange(1, lo, hi));
    EXPECT_TRUE(Identical(lo, Variant::Lng(10)));
    ASSERT_TRUE(el.GetRange(2, lo, hi));
    EXPECT_TRUE(Identical(lo, Variant::Lng(30)));
    EXPECT_TRUE(Identical(hi, Variant::Lng(35)));
    EXPECT_FALSE(el.GetRange(3, lo, hi));
}

TEST(DataElementRanges, OpenBoundsMissingRangesAndNegativeIndexes) {
    clsDataElement el;
    Variant lo("untouched"), hi("untouched");
    EXPECT_FALSE(el.GetRange(0, lo, hi));
    EXPECT_EQ(lo.StrRef(), "untouched");

    el.SetRange(-1, Variant::Lng(1), Variant::Lng(2));
    EXPECT_FALSE(el.GetRange(0, lo, hi));
    EXPECT_FALSE(el.GetRange(-1, lo, hi));

    el.SetRange(0, Variant(), Variant::Lng(90));
    ASSERT_TRUE(el.GetRange(0, lo, hi));
    EXPECT_TRUE(lo.IsEmpty());
    EXPECT_TRUE(Identical(hi, Variant::Lng(90)));

    // Removing a range that does not exist leaves the others.
    el.SetRange(5, Variant(), Variant());
    EXPECT_TRUE(el.GetRange(0, lo, hi));
}

// ---- CalcParamErrorFlags ----

struct ErrorCase {
    const char* what;
    int32_t type;
    int32_t length;
    std::vector<std::pair<Variant, Variant>> ranges;
    int16_t transientUnit;
    int16_t initUnit;
    Variant value;
    int32_t expected;
};

class ErrorFlags : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorFlags, Table) {
    const ErrorCase& c = GetParam();
    ModelContext mc;
    clsDataElement el;
    el.ValueType = c.type;
    el.ValueTypeLength = c.length;
    for (size_t i = 0; i < c.ranges.size(); ++i)
        el.SetRange(static_cast<int32_t>(i), c.ranges[i].first, c.ranges[i].second);
    el.nTransientUnit = c.transientUnit;
    el.nInitUnit = c.initUnit;
    EXPECT_EQ(el.CalcParamErrorFlags(mc.ctx, c.value), c.expected) << c.what;
}

const Variant E;  // an open bound
const auto L = Variant::Lng;
const auto D = Variant::Dbl;

INSTANTIATE_TEST_SUITE_P(
    DataElement, ErrorFlags,
    ::testing::Values(
        ErrorCase{"record header", 0, 0, {}, 0, 0, Variant::Null(), 0},
        ErrorCase{"Null", 3, 2, {}, 0, 0, Variant::Null(), 0x2000},
        // The first rule that applies decides.
        ErrorCase{"Null string before its length", 14, 8, {}, 0, 0, Variant::Null(), 0x2000},
        ErrorCase{"Null octet string", 1, 4, {}, 0, 0, Variant::Null(), 0x2000},
        ErrorCase{"length before characters", 14, 3, {{L(65), L(90)}}, 0, 0, Variant("abcd"), 0x5000},
        ErrorCase{"not a number before the ranges", 3, 2, {{L(0), L(100)}}, 0, 0, Variant("x"), 0x2000},
        ErrorCase{"string at its length", 14, 8, {}, 0, 0, Variant("ABCDEFGH"), 0},
        ErrorCase{"string too long", 14, 8, {}, 0, 0, Variant("ABCDEFGHI"), 0x5000},
        ErrorCase{"length counts characters", 14, 3, {}, 0, 0, Variant("ÄÖÜ"), 0},
        ErrorCase{"open length", 14, -1, {}, 0, 0, Variant(std::string(300, 'x')), 0},
        ErrorCase{"character outside the range", 14, 8, {{L(65), L(90)}}, 0, 0, Variant("ABcD"), 0x6000},
        ErrorCase{"characters inside", 14, 8, {{L(65), L(90)}}, 0, 0, Variant("ABCD"), 0},
        ErrorCase{"second range admits", 14, 8, {{L(65), L(90)}, {L(97), L(122)}}, 0, 0, Variant("ABcd"), 0},
        ErrorCase{"in neither range", 14, 8, {{L(65), L(90)}, {L(97), L(122)}}, 0, 0, Variant("Ab1"), 0x6000},
        ErrorCase{"open lower bound", 14, 8, {{E, L(90)}}, 0, 0, Variant("!"), 0},
        ErrorCase{"ANSI code of a Latin-1 letter", 14, 8, {{L(32), L(126)}}, 0, 0, Variant("Ä"), 0x6000},
        ErrorCase{"ANSI code inside", 14, 8, {{L(32), L(255)}}, 0, 0, Variant("Ä"), 0},
        ErrorCase{"octet string", 1, 4, {}, 0, 0, Variant("zz"), 0},
        ErrorCase{"text with a letter", 3, 2, {}, 0, 0, Variant("12a"), 0x2000},
        ErrorCase{"unsigned 8 at limit", 2, 1, {}, 0, 0, L(255), 0},
        ErrorCase{"unsigned 8 past limit", 2, 1, {}, 0, 0, L(256), 0x4000},
        ErrorCase{"unsigned 16 at limit", 3, 2, {}, 0, 0, L(65535), 0},
        ErrorCase{"unsigned 16 past limit", 3, 2, {}, 0, 0, L(70000), 0x4000},
        ErrorCase{"unsigned 16 negative", 3, 2, {}, 0, 0, L(-1), 0x4000},
        ErrorCase{"unsigned 24 past limit", 4, 3, {}, 0, 0, L(16777216), 0x4000},
        ErrorCase{"integer 16 at limit", 5, 2, {}, 0, 0, L(-32768), 0},
        ErrorCase{"integer 16 past limit", 5, 2, {}, 0, 0, L(-32769), 0x4000},
        ErrorCase{"integer 24 past limit", 6, 3, {}, 0, 0, L(8388608), 0x4000},
        ErrorCase{"integer 32 at limit", 7, 4, {}, 0, 0, L(2147483647), 0},
        ErrorCase{"integer 32 past limit", 7, 4, {}, 0, 0, D(2147483648.0), 0x4000},
        ErrorCase{"unsigned 32 at limit", 16, 4, {}, 0, 0, D(4294967295.0), 0},
        ErrorCase{"unsigned 32 past limit", 16, 4, {}, 0, 0, D(4294967296.0), 0x4000},
        ErrorCase{"float past limit", 8, 4, {}, 0, 0, D(1e39), 0x4000},
        ErrorCase{"float NaN", 8, 4, {{L(0), L(1)}}, 0, 0, D(std::nan("")), 0},
        ErrorCase{"numeric text inside", 3, 2, {{L(0), L(100)}}, 0, 0, Variant("50"), 0},
        ErrorCase{"between two ranges", 3, 2, {{L(0), L(10)}, {L(20), L(30)}}, 0, 0, L(15), 0x4000},
        ErrorCase{"in the second range", 3, 2, {{L(0), L(10)}, {L(20), L(30)}}, 0, 0, L(25), 0},
        // Range 0..100 K; the value is entered in °C.
        ErrorCase{"range in the initial unit, inside", 8, 4, {{L(0), L(100)}}, 1001, 1000, D(-200), 0},
        ErrorCase{"range in the initial unit, outside", 8, 4, {{L(0), L(100)}}, 1001, 1000, D(50), 0x4000},
        ErrorCase{"text converted too", 8, 4, {{L(0), L(100)}}, 1001, 1000, Variant("-200"), 0},
        ErrorCase{"unknown unit is not converted", 8, 4, {{L(0), L(100)}}, 1998, 1000, D(50), 0},
        // The range admits 73.15 K, the type's limits still apply to the entry.
        ErrorCase{"limits on the entered value", 3, 2, {{L(0), L(100000)}}, 1001, 1000, L(-200), 0x4000},
        ErrorCase{"Boolean is not tested as a number", 10, 1, {}, 0, 0, Variant("yes"), 0}));

// ---- CalcParamStatusFlags ----

struct StatusCase {
    const char* what;
    Variant initial, persistent, device;
    int16_t transientUnit, initUnit, persistentUnit, deviceUnit;
    Variant value;
    int32_t expected;
};

class StatusFlagsAgainstReference : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusFlagsAgainstReference, Table) {
    const StatusCase& c = GetParam();
    clsDataElement el;
    el.ValueType = 8;
    el.InitialValue = c.initial;
    el.PersistentValue = c.persistent;
    el.DeviceValue = c.device;
    el.nTransientUnit = c.transientUnit;
    el.nInitUnit = c.initUnit;
    el.nPersistentUnit = c.persistentUnit;
    el.nDeviceUnit = c.deviceUnit;
    EXPECT_EQ(el.CalcParamStatusFlags(nullptr, c.value), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    DataElement, StatusFlagsAgainstReference,
    ::testing::Values(
        StatusCase{"initial, same", L(5), E, E, 0, 0, 0, 0, L(5), 0},
        StatusCase{"initial, other", L(5), E, E, 0, 0, 0, 0, L(6), 4},
        StatusCase{"initial, other unit", L(5), E, E, 1001, 1000, 0, 0, L(5), 4},
        StatusCase{"initial, any unit code counts", L(5), E, E, 5, 6, 0, 0, L(5), 4},
        StatusCase{"persistent, same unit", L(5), L(7), E, 1001, 1000, 1001, 0, L(7), 0},
        StatusCase{"persistent, other unit", L(5), L(7), E, 1000, 1000, 1001, 0, L(7), 4},
        StatusCase{"persistent, unit outside the table", L(5), L(7), E, 1000, 1000, 0, 0, L(7), 0},
        StatusCase{"persistent wins over device", L(5), L(7), L(9), 0, 0, 0, 0, L(9), 4},
        StatusCase{"single equals double that shows alike", E, Variant::Sng(0.1f), E, 0, 0, 0, 0, D(0.1), 0},
        StatusCase{"device, same", L(5), E, L(9), 1001, 1000, 0, 1001, L(9), 0},
        StatusCase{"device, other unit", L(5), E, L(9), 1002, 1000, 0, 1001, L(9), 4},
        StatusCase{"device, unit outside the table", L(5), E, L(9), 1002, 1000, 0, 950, L(9), 0},
        StatusCase{"device, other value", L(5), E, L(9), 0, 0, 0, 0, L(5), 4},
        StatusCase{"device +Inf, now -Inf", E, E, Variant::Sng(HUGE_VALF), 0, 0, 0, 0, Variant::Sng(-HUGE_VALF), 4},
        StatusCase{"device +Inf, still +Inf", E, E, Variant::Sng(HUGE_VALF), 0, 0, 0, 0, Variant::Sng(HUGE_VALF), 0}));

TEST(DataElement, RecordHeaderNeverDiffers) {
    clsDataElement el;
    EXPECT_EQ(el.CalcParamStatusFlags(nullptr, L(1)), 0);
}

// ---- Value lists ----

TEST(DataElementValueList, ValueModeFindsTheFirstEntryWithTheKey) {
    clsDataElement el;
    el.ValueList = "0:Off|1:On|11:Eleven|no colon|x:Not a key|2:a:b|1:Second";
    EXPECT_EQ(el.GetStrValueFromIdxList(1), "On");
    EXPECT_EQ(el.GetStrValueFromIdxList(11), "Eleven");
    EXPECT_EQ(el.GetStrValueFromIdxList(2), "a:b");
    EXPECT_EQ(el.GetStrValueFromIdxList(-1), "Not a key");
    EXPECT_EQ(el.GetStrValueFromIdxList(5), "");
}

TEST(DataElementValueList, BitModeListsEveryBitEntryInListOrder) {
    clsDataElement el;
    el.bBitEncoding = true;
    el.ValueList = "0:Low|1:High|32:Too high|31:Sign";
    EXPECT_EQ(el.GetStrValueFromIdxList(static_cast<int32_t>(0x80000001)), "[x] Low, [ ] High, [x] Sign");
    EXPECT_EQ(el.GetStrValueFromIdxList(2), "[ ] Low, [x] High, [ ] Sign");
}

TEST(DataElementValueList, CommandErrorsUseValueModeOnTheirOwnList) {
    clsDataElement el;
    el.bBitEncoding = true;
    el.ValueList = "0:Value";
    el.CmdErrList = "182:Access denied|194:Busy";
    EXPECT_EQ(el.GetStrCommandErrorFromIndex(182), "Access denied");
    EXPECT_EQ(el.GetStrCommandErrorFromIndex(0), "");
}

struct ReplaceCase {
    const char* list;
    int32_t index;
    const char* text;
    const char* expected;
};

TEST(DataElementValueList, SetStrValueReplacesOnlyTheEntryWithThatKey) {
    const ReplaceCase cases[] = {
        {"0:A|1:B|11:C", 1, "X", "0:A|1:X|11:C"},
        {"0:A|11:C|1:B", 1, "X", "0:A|11:C|1:X"},  // entry 11 is not entry 1
        {"0:A|21:C", 1, "X", "0:A|21:C"},          // nor is 21
        {"0:A|2:x1:B", 1, "X", "0:A|2:x1:B"},      // a key inside a text is no key
        {"0:A", 5, "X", "0:A"},
        {"-1:Minus|1:One", -1, "Neg", "-1:Neg|1:One"},
        {"1:B|2:C|1:B", 1, "Y", "1:Y|2:C|1:Y"},
    };
    for (const auto& c : cases) {
        clsDataElement el;
        el.ValueList = c.list;
        el.SetStrValueFromIdxList(c.index, c.text);
        EXPECT_EQ(el.ValueList, c.expected) << c.list << " / " << c.index;
    }
}

TEST(DataElementValueList, NoneKeyBecomesTheBitWidth) {
    struct Case {
        int32_t type, length;
        const char* list;
        const char* expected;
    } cases[] = {
        {1, 2, "none:All|0:Off", "16:All|0:Off"},
        {2, 1, "none:All|1:none", "8:All|1:8"},
        {5, 2, "none:All", "16:All"},
        {7, 4, "none:All", "32:All"},
        {8, 4, "none:All", "none:All"},
        {2, 1, "0:none", "0:none"},
        {2, 1, "", ""},
    };
    for (const auto& c : cases) {
        clsDataElement el;
        el.ValueType = c.type;
        el.ValueTypeLength = c.length;
        el.ValueList = c.list;
        el.ReplaceValueListEntries();
        EXPECT_EQ(el.ValueList, c.expected) << c.type << " " << c.list;
    }
}

TEST(DataElementValueList, GetValueListsSelectsByNumber) {
    clsDataElement el;
    EXPECT_EQ(el.GetValueLists(1), "");
    el.ValueLists = "1:{0:a|1:b}2:{0:c|1:d}";
    EXPECT_EQ(el.GetValueLists(1), "0:a|1:b");
    EXPECT_EQ(el.GetValueLists(2), "0:c|1:d");
    EXPECT_EQ(el.GetValueLists(3), "");
    el.ValueLists = "x:{0:a}";
    EXPECT_EQ(ErrorOf([&] { el.GetValueLists(1); }), 13);
}

// ---- GetTypedValue ----

struct TypedCase {
    int32_t type;
    Variant input;
    Variant expected;
};

TEST(DataElementTypedValue, Table) {
    const TypedCase cases[] = {
        {3, Variant(), Variant()},
        {0, Variant("5"), Variant()},
        {1, Variant::ByteArray({1, 2}), Variant::ByteArray({1, 2})},
        {1, Variant("0aFF"), Variant::ByteArray({0x0A, 0xFF})},
        {1, Variant("zz"), Variant::Null()},
        {1, L(5), Variant::Null()},
        {2, Variant("200"), Variant::Byte(200)},
        {2, L(256), Variant::Null()},
        {3, Variant("70000"), L(70000)},
        {3, Variant("abc"), Variant::Null()},
        {3, Variant::Null(), Variant::Null()},
        {5, Variant("12"), Variant::Int(12)},
        {5, L(40000), Variant::Null()},
        {8, Variant("12.5"), Variant::Sng(12.5f)},
        {8, Variant(" -1.5E+3 "), Variant::Sng(-1500.f)},
        {8, Variant(".5"), Variant::Sng(0.5f)},
        {8, Variant("5."), Variant::Sng(5.f)},
        {8, Variant("12"), Variant::Sng(12.f)},
        {8, Variant("abc.d"), Variant::Null()},
        {8, Variant("1.2.3"), Variant::Null()},
        {8, Variant("12.5kg"), Variant::Null()},
        {8, Variant("12kg"), Variant::Null()},
        {8, Variant("."), Variant::Null()},
        {8, Variant("1.0E"), Variant::Null()},
        {8, Variant("1.0e40"), Variant::Null()},
        {8, D(2.5), Variant::Sng(2.5f)},
        {9, Variant("1.25"), D(1.25)},
        {9, Variant("+.5D-1"), D(0.05)},
        {9, Variant("1.2.3"), Variant::Null()},
        {10, Variant("True"), Variant::Bool(true)},
        {10, L(0), Variant::Bool(false)},
        {10, Variant("x"), Variant::Null()},
        {11, Variant("2003-01-21"), Variant::Date(platform::com::DateSerial(2003, 1, 21))},
        {14, L(5), Variant("5")},
        {15, L(5), Variant::Dec(5)},
        {16, Variant("4294967295"), D(4294967295.0)},
        {17, L(1), Variant::Null()},
    };
    for (const auto& c : cases) {
        clsDataElement el;
        el.ValueType = c.type;
        const Variant got = el.GetTypedValue(c.input);
        EXPECT_TRUE(Identical(got, c.expected))
            << "type " << c.type << " input " << platform::com::TypeName(c.input) << " got "
            << platform::com::TypeName(got);
    }
}

TEST(DataElementTypedValue, PointTextIsReadTheSameWhateverTheDecimalSeparator) {
    clsDataElement el;
    el.ValueType = 9;
    platform::com::SetDecimalSeparator(',');
    const Variant withPoint = el.GetTypedValue(Variant("1.5"));
    const Variant withComma = el.GetTypedValue(Variant("1,5"));
    const Variant twoPoints = el.GetTypedValue(Variant("1.500,25"));
    platform::com::SetDecimalSeparator('.');
    EXPECT_TRUE(Identical(withPoint, D(1.5)));
    EXPECT_TRUE(Identical(withComma, D(1.5)));
    EXPECT_TRUE(twoPoints.IsNull());
}

// ---- Unit text ----

TEST(DataElementUnit, GetShowsTheTableTextOrTheCode) {
    ModelContext mc;
    clsDataElement el;
    EXPECT_EQ(el.UnitString(nullptr), "");  // unit 0 needs no table
    el.nTransientUnit = 1088;
    EXPECT_EQ(el.UnitString(mc.ctx), "kg");
    el.nTransientUnit = 1380;
    EXPECT_EQ(el.UnitString(mc.ctx), "#1380");
}

TEST(DataElementUnit, LetIsTheInverseOfGet) {
    ModelContext mc;
    struct Case {
        const char* text;
        int16_t expected;
    } cases[] = {{"#1380", 1380}, {"kg", 1088}, {" kg ", 1088}, {"", 0}, {"   ", 0}, {"no such unit", 0}};
    for (const auto& c : cases) {
        clsDataElement el;
        el.nTransientUnit = 1001;
        el.UnitString(mc.ctx, c.text);
        EXPECT_EQ(el.nTransientUnit, c.expected) << "'" << c.text << "'";
    }
    clsDataElement el;
    EXPECT_EQ(ErrorOf([&] { el.UnitString(mc.ctx, "#abc"); }), 13);
    EXPECT_EQ(ErrorOf([&] { el.UnitString(mc.ctx, "#70000"); }), 6);
}

TEST(DataElementUnit, NoModelIsAnError) {
    auto ctx = platform::rt::DTMContext::Create();
    clsDataElement el;
    el.nTransientUnit = 1088;
    EXPECT_EQ(ErrorOf([&] { el.UnitString(ctx); }), 91);
}

// ---- Parent record ----

TEST(DataElement, ParentParameterIsTheRecordHeader) {
    ModelContext mc;
    auto header = AddParam(mc.params(), "PHYS/MODE_BLK/", Variant(), 0, 0);
    auto field = AddParam(mc.params(), "PHYS/MODE_BLK/Actual", L(0), 2, -1);
    auto plain = AddParam(mc.params(), "TAG", Variant(""), 14, -1);
    auto rooted = AddParam(mc.params(), "/x", Variant(""), 14, -1);
    auto params = mc.ctx->Parameters();

    EXPECT_EQ(field->GetParentParameter(params), header);
    EXPECT_EQ(header->GetParentParameter(params), nullptr);  // "PHYS/" is no element
    EXPECT_EQ(plain->GetParentParameter(params), nullptr);
    EXPECT_EQ(rooted->GetParentParameter(params), nullptr);
    EXPECT_EQ(field->GetParentParameter(nullptr), nullptr);
}

// ---- InitNew ----

TEST(DataElement, InitNewStartsFromTheInitialValue) {
    clsDataElement el;
    el.InitialValue = L(5);
    el.PersistentValue = L(6);
    el.DeviceValue = L(7);
    el.nInitUnit = 1088;
    el.nTransientUnit = 1089;
    EXPECT_TRUE(el.InitNew(nullptr, nullptr));
    EXPECT_TRUE(Identical(el.TransientValue, L(5)));
    EXPECT_TRUE(el.PersistentValue.IsEmpty());
    EXPECT_TRUE(el.DeviceValue.IsEmpty());
    EXPECT_EQ(el.nTransientUnit, 1088);
}

// ---- Transfer selection ----

struct TransferCase {
    int32_t mode;
    int32_t requiredLevel;
    int32_t userLevel;
    Variant selector;
    int16_t slot;
    ProfibusBlockFlags block;
    bool upload, download, command;
};

TEST(DataElementTransfer, SelectionByModeUserLevelAndIdentNumber) {
    const Variant N = Variant::Null();
    const TransferCase cases[] = {
        {0x1, 1, 1, L(1), 5, pbfFunctionAIBlock, true, false, false},
        {0x3, 1, 1, L(1), 5, pbfFunctionAIBlock, true, true, false},
        {0x3, 1, 1, L(0), 5, pbfFunctionAIBlock, false, false, false},
        {0x3, 1, 1, L(0), 8, pbfFunctionTOTBlock, false, false, false},
        {0x3, 1, 1, L(0), 4, pbfFunctionAIBlock, true, true, false},
        {0x3, 1, 1, L(0), 5, pbfPhysicalBlock, true, true, false},
        {0x3, 1, 1, L(0), 9, pbfTransducerBlock, true, true, false},
        {0x3, 1, 1, N, 5, pbfFunctionAIBlock, true, true, false},
        {0x3, 1, 1, E, 5, pbfFunctionAIBlock, false, false, false},  // Empty compares as 0
        {0x3, 2, 1, L(1), 0, pbfPhysicalBlock, true, false, false},
        {0x3, 1, 0, L(1), 0, pbfPhysicalBlock, true, false, false},
        {0x6, 1, 1, L(1), 0, pbfPhysicalBlock, false, false, true},
        {0x4, 1, 1, L(0), 5, pbfFunctionAIBlock, false, false, true},
        {0x4, 3, 2, L(1), 0, pbfPhysicalBlock, false, false, false},
        {0x90, 1, 5, L(1), 0, pbfPhysicalBlock, false, false, false},
    };
    for (const auto& c : cases) {
        ModelContext mc;
        auto selector = AddParam(mc.params(), "PHYS/IDENT_NUMBER_SELECTOR", L(1), 2, -1);
        selector->TransientValue = c.selector;
        mc.ctx->UserInfo()->UserLevel(c.userLevel);
        clsDataElement el;
        el.ElementMode = c.mode;
        el.RequiredUserLevel = c.requiredLevel;
        el.Slot = c.slot;
        el.BlockType = c.block;
        const std::string row = "mode " + std::to_string(c.mode) + " slot " + std::to_string(c.slot) +
                                " block " + std::to_string(c.block) + " level " + std::to_string(c.userLevel);
        EXPECT_EQ(el.IsUploadParam(mc.ctx), c.upload) << row;
        EXPECT_EQ(el.IsDownloadParam(mc.ctx), c.download) << row;
        EXPECT_EQ(el.IsDeviceCommand(mc.ctx), c.command) << row;
    }
}

TEST(DataElement, ControlTypeKeepsItsValue) {
    clsDataElement el;
    el.ControlType(3);
    EXPECT_EQ(el.ControlType(), 3);
}

}  // namespace
}  // namespace dtm
