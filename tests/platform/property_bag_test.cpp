// The property bag: exact round trips of every subtype through the text form,
// damaged texts, default suppression, names and order.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "TempFolder.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/com/Variant.h"

namespace {

using namespace platform::com;

struct Thing : Object {};

float FloatFromBits(uint32_t bits) { return std::bit_cast<float>(bits); }
double DoubleFromBits(uint64_t bits) { return std::bit_cast<double>(bits); }

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

// Every subtype, its limits and its awkward values.
std::vector<std::pair<std::string, Variant>> EveryKindOfValue() {
    Variant strings = Variant::Array(VarType::String, 0, 2);
    strings.Set(0, Variant("tab\there"));
    strings.Set(1, Variant("|1:2:x|"));
    Variant integers = Variant::Array(VarType::Integer, -2, 0);
    integers.Set(-2, Variant::Int(-32768));
    Variant singles = Variant::Array(VarType::Single, 0, 1);
    singles.Set(1, Variant::Sng(FloatFromBits(0xFFFFFFFFu)));
    Variant currencies = Variant::Array(VarType::Currency, 0, 0);
    currencies.Set(0, Variant::Cur(-1.0001));
    Variant dates = Variant::Array(VarType::Date, 0, 0);
    dates.Set(0, Variant::Date(-1.25));
    return {
        {"Empty", Variant()},
        {"Null", Variant::Null()},
        {"Missing", Variant::Missing()},
        {"IntMin", Variant::Int(-32768)},
        {"IntMax", Variant::Int(32767)},
        {"LongMin", Variant::Lng(std::numeric_limits<int32_t>::min())},
        {"LongMax", Variant::Lng(std::numeric_limits<int32_t>::max())},
        {"Byte0", Variant::Byte(0)},
        {"Byte255", Variant::Byte(255)},
        {"BoolTrue", Variant::Bool(true)},
        {"BoolFalse", Variant::Bool(false)},
        {"Sng0.1", Variant::Sng(0.1f)},
        {"SngMinus0", Variant::Sng(-0.0f)},
        {"SngMax", Variant::Sng(FLT_MAX)},
        {"SngDenormal", Variant::Sng(std::numeric_limits<float>::denorm_min())},
        {"SngInf", Variant::Sng(std::numeric_limits<float>::infinity())},
        {"SngMinusInf", Variant::Sng(-std::numeric_limits<float>::infinity())},
        {"SngNaN7F", Variant::Sng(FloatFromBits(0x7FFFFFFFu))},
        {"SngNaNFF", Variant::Sng(FloatFromBits(0xFFFFFFFFu))},
        {"Dbl0.1", Variant::Dbl(0.1)},
        {"DblThird", Variant::Dbl(1.0 / 3)},
        {"DblMinus0", Variant::Dbl(-0.0)},
        {"DblMax", Variant::Dbl(DBL_MAX)},
        {"DblDenormal", Variant::Dbl(std::numeric_limits<double>::denorm_min())},
        {"DblInf", Variant::Dbl(std::numeric_limits<double>::infinity())},
        {"DblNaN", Variant::Dbl(DoubleFromBits(0x7FF8000000000123ull))},
        {"CurMin", Variant::Cur(-922337203685477.0)},
        {"CurFraction", Variant::Cur(1.2345)},
        {"CurSmall", Variant::Cur(0.0001)},
        {"DecLarge", Variant::Dec(7.9e28)},
        {"DecFraction", Variant::Dec(-1.5)},
        {"DateNoon", Variant::Date(45000.5)},
        {"DateNegative", Variant::Date(-1.25)},
        {"DateLast", Variant::Date(2958465 + 86399 / 86400.0)},
        {"DateOdd", Variant::Date(45000.123456789)},
        {"StrEmpty", Variant("")},
        {"StrPlain", Variant("plain text")},
        {"StrAllBytes", Variant(AllBytes())},
        {"Nothing", Variant::Obj(nullptr)},
        {"BytesEmpty", Variant::ByteArray({})},
        {"Bytes", Variant::ByteArray({0x0A, 0xFF, 0x00})},
        {"BytesLbound", Variant::ByteArray({1}, -3)},
        {"VariantsEmpty", Variant::VariantArray({}, 0)},
        {"Variants",
         Variant::VariantArray({Variant::Int(1), Variant("a|b:c\n"), Variant(), Variant::Null(),
                                Variant::ByteArray({0xAB}, 2), Variant::Missing(), Variant::Obj(nullptr),
                                Variant::VariantArray({Variant::Dbl(std::nan("")), Variant::Cur(2)}, 5)},
                               1)},
        {"Strings", strings},
        {"Integers", integers},
        {"Singles", singles},
        {"Currencies", currencies},
        {"Dates", dates},
        {"Booleans", Variant::Array(VarType::Boolean, 0, 1)},
        {"Decimals", Variant::Array(VarType::Decimal, 0, 0)},
        {"Objects", Variant::Array(VarType::Object, 0, 1)},
        {"Longs", Variant::Array(VarType::Long, 7, 8)},
        {"Doubles", Variant::Array(VarType::Double, 0, 0)},
    };
}

bool SameBits(const Variant& a, const Variant& b) {
    if (a.Type() == VarType::Single) {
        return std::bit_cast<uint32_t>(CSng(a)) == std::bit_cast<uint32_t>(CSng(b));
    }
    if (a.Type() == VarType::Double) {
        return std::bit_cast<uint64_t>(CDbl(a)) == std::bit_cast<uint64_t>(CDbl(b));
    }
    return true;
}

TEST(PropertyBag, EveryValueRoundTripsExactlyThroughText) {
    const auto values = EveryKindOfValue();
    PropertyBag bag;
    for (const auto& [name, value] : values) bag.WriteProperty(name, value);
    const std::string text = bag.ToText();
    const PropertyBag back = PropertyBag::FromText(text);
    for (const auto& [name, value] : values) {
        SCOPED_TRACE(name);
        Variant read;
        const std::string& key = name;  // clang 14 cannot capture a structured binding
        ASSERT_EQ(ErrorOf([&] { read = back.ReadProperty(key); }), 0);
        EXPECT_EQ(read.VarTypeCode(), value.VarTypeCode());
        EXPECT_TRUE(Identical(read, value));
        EXPECT_TRUE(SameBits(read, value));  // NaN payloads survive
    }
    EXPECT_EQ(back.ToText(), text);
    EXPECT_EQ(back.Names(), bag.Names());
}

TEST(PropertyBag, TextIsPlainAsciiOneLinePerEntry) {
    PropertyBag bag;
    for (const auto& [name, value] : EveryKindOfValue()) bag.WriteProperty(name, value);
    const std::string text = bag.ToText();
    size_t lines = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') ++lines;
        EXPECT_TRUE(c == '\t' || c == '\n' || (byte >= 0x20 && byte < 0x7F)) << static_cast<int>(byte);
    }
    EXPECT_EQ(lines, bag.Names().size());
}

TEST(PropertyBag, TextFormOfTypicalEntries) {
    PropertyBag bag;
    bag.WriteProperty("BlockIndex", Variant::Int(4));
    bag.WriteProperty("PHYS/TAG_DESC", Variant("Line 1\tA\\B"));
    bag.WriteProperty("PHYS/TAG_DESC.Flags", Variant::Lng(0x01000008));
    bag.WriteProperty("Octets", Variant::ByteArray({0x0A, 0xFF}));
    bag.WriteProperty("Level", Variant::Sng(12.5f));
    bag.WriteProperty("List", Variant::VariantArray({Variant::Int(7), Variant("ab")}, 1));
    EXPECT_EQ(bag.ToText(),
              "BlockIndex\t2\t4\n"
              "PHYS/TAG_DESC\t8\tLine 1\\tA\\\\B\n"
              "PHYS/TAG_DESC.Flags\t3\t16777224\n"
              "Octets\t8209\t0:0AFF\n"
              "Level\t4\t12.5\n"
              "List\t8204\t1:2|2:1:7|8:2:ab\n");
}

TEST(PropertyBag, HostileStringsAndNamesRoundTrip) {
    const std::string hostile[] = {
        "tab\there",
        "line\nfeed",
        "cr\r\nlf",
        "back\\slash",
        "\\t is not a tab",
        "trailing backslash\\",
        std::string("nul\0inside", 10),
        std::string(1, '\0'),
        "\xC3\xBCmlaut \xE2\x82\xAC",
        "\xFF\xFE invalid UTF-8",
        "\x7F\x01\x1F",
        "|1:2:3|",
        "?",
        "\\x41",
        AllBytes(),
    };
    PropertyBag bag;
    for (size_t i = 0; i < std::size(hostile); ++i) {
        bag.WriteProperty("value" + std::to_string(i), Variant(hostile[i]));
        bag.WriteProperty(hostile[i] + "#" + std::to_string(i), Variant::Lng(static_cast<int32_t>(i)));
    }
    const PropertyBag back = PropertyBag::FromText(bag.ToText());
    for (size_t i = 0; i < std::size(hostile); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Identical(back.ReadProperty("value" + std::to_string(i)), Variant(hostile[i])));
        EXPECT_TRUE(Identical(back.ReadProperty(hostile[i] + "#" + std::to_string(i)),
                              Variant::Lng(static_cast<int32_t>(i))));
    }
    EXPECT_EQ(back.Names(), bag.Names());
}

// A damaged line between two good ones.
struct DamagedCase {
    const char* label;
    std::string line;
    bool nameKept;  // false: the name itself cannot be read, the line is skipped
};

TEST(PropertyBag, DamagedLineMakesOnlyItsEntryUnreadable) {
    const DamagedCase cases[] = {
        {"empty integer", "X\t2\t\n", true},
        {"integer out of range", "X\t2\t40000\n", true},
        {"integer with junk", "X\t2\t12abc\n", true},
        {"integer with blank", "X\t2\t 12\n", true},
        {"no value field", "X\t2\n", true},
        {"vartype not a number", "X\tabc\t1\n", true},
        {"empty vartype", "X\t\t1\n", true},
        {"unknown vartype", "X\t99\t1\n", true},
        {"negative vartype", "X\t-8\t1\n", true},
        {"unreadable marker", "X\t?\t\n", true},
        {"bad escape", "X\t8\tbad\\q\n", true},
        {"cut hex escape", "X\t8\tcut\\x4\n", true},
        {"non-hex escape", "X\t8\tcut\\xZZ\n", true},
        {"escape at the end", "X\t8\tends\\\n", true},
        {"raw tab in value", "X\t8\ta\tb\n", true},
        {"boolean word", "X\t11\tyes\n", true},
        {"boolean number", "X\t11\t-1\n", true},
        {"single nan word", "X\t4\tnan\n", true},
        {"single short nan", "X\t4\tnan:7F\n", true},
        {"single nan bits not a NaN", "X\t4\tnan:3F800000\n", true},
        {"single out of range", "X\t4\t1e39\n", true},
        {"single infinity word", "X\t4\tinfinity\n", true},
        {"double out of range", "X\t5\t1e999\n", true},
        {"double plus sign", "X\t5\t+1\n", true},
        {"double blank", "X\t5\t 1\n", true},
        {"double empty", "X\t5\t\n", true},
        {"double hex junk", "X\t5\t0x10\n", true},
        {"currency out of range", "X\t6\t1e300\n", true},
        {"date out of range", "X\t7\t1e10\n", true},
        {"decimal out of range", "X\t14\t1e30\n", true},
        {"empty with a value", "X\t0\tjunk\n", true},
        {"null with a value", "X\t1\t0\n", true},
        {"object with a value", "X\t9\t1\n", true},
        {"odd hex", "X\t8209\t0:0AF\n", true},
        {"non-hex byte", "X\t8209\t0:0G\n", true},
        {"byte array without lbound", "X\t8209\t0AFF\n", true},
        {"byte array ubound overflow", "X\t8209\t2147483647:0102\n", true},
        {"array count too high", "X\t8204\t0:2|2:1:1\n", true},
        {"array count too low", "X\t8204\t0:1|2:1:1|2:1:2\n", true},
        {"array length past end", "X\t8204\t0:1|2:5:1\n", true},
        {"array length short", "X\t8204\t0:1|2:1:12\n", true},
        {"array trailing separator", "X\t8204\t0:1|2:1:1|\n", true},
        {"array no count", "X\t8204\t0:\n", true},
        {"array huge count", "X\t8204\t0:99999999999\n", true},
        {"array damaged element", "X\t8204\t0:1|2:3:abc\n", true},
        {"empty array at the lowest Long", "X\t8204\t-2147483648:0\n", true},
        {"empty typed array at the lowest Long", "X\t8195\t-2147483648:0\n", true},
        {"empty byte array at the lowest Long", "X\t8209\t-2147483648:\n", true},
        {"array ubound overflow", "X\t8195\t2147483647:2|3:1:1|3:1:2\n", true},
        {"typed array with other element", "X\t8194\t0:1|8:1:a\n", true},
        {"array of Empty", "X\t8192\t0:0\n", true},
        {"array of arrays as element type", "X\t16384\t0:0\n", true},
        {"object array with a value", "X\t8201\t0:1|9:1:x\n", true},
        {"bad name escape", "\\q\t2\t1\n", false},
        {"no tab at all", "X\n", false},
        {"name with raw text only", "just some words\n", false},
    };
    for (const DamagedCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string text = "Before\t3\t1\n" + c.line + "After\t8\tok\n";
        PropertyBag bag;
        ASSERT_NO_THROW(bag = PropertyBag::FromText(text));
        EXPECT_TRUE(Identical(bag.ReadProperty("Before"), Variant::Lng(1)));
        EXPECT_TRUE(Identical(bag.ReadProperty("After"), Variant("ok")));
        EXPECT_EQ(bag.Contains("X"), c.nameKept);
        if (c.nameKept) {
            EXPECT_EQ(ErrorOf([&] { bag.ReadProperty("X"); }), 13);
            EXPECT_EQ(ErrorOf([&] { bag.ReadProperty("X", Variant::Int(5)); }), 13);
            EXPECT_EQ(bag.Names(), (std::vector<std::string>{"Before", "X", "After"}));
        } else {
            EXPECT_EQ(bag.Names().size(), 2u);
        }
    }
}

// Peak resident memory of this process, in bytes.
int64_t PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<int64_t>(usage.ru_maxrss) * 1024;
}

// A large Byte array (a stored octet string, a slave parameter set) keeps about
// one byte per element through the text form, so a data set holding one loads
// quickly and without gigabytes of memory. The sanitizer build, whose memory
// and speed say nothing here, runs a small array.
TEST(PropertyBag, LargeByteArrayRoundTripsWithBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr size_t kSize = size_t{1} << 20;
#else
    constexpr size_t kSize = size_t{64} << 20;
#endif
    const int64_t before = PeakResidentBytes();
    std::vector<uint8_t> bytes(kSize);
    for (size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 12));
    std::string text;
    {
        PropertyBag bag;
        bag.WriteProperty("Octets", Variant::ByteArray(bytes, 1));
        text = bag.ToText();
    }
    EXPECT_EQ(text.size(), 2 * kSize + std::string("Octets\t8209\t1:\n").size());
    const Variant back = PropertyBag::FromText(text).ReadProperty("Octets");
    EXPECT_EQ(back.LBound(), 1);
    EXPECT_TRUE(back.BytesRef() == bytes);
    // Source, stored copy, text and decoded copy: a small multiple of the size.
    EXPECT_LT(PeakResidentBytes() - before, static_cast<int64_t>(12 * kSize) + (64 << 20));
}

TEST(PropertyBag, ArraysNestedTooDeeplyAreRefusedAndUnreadable) {
    Variant deep = Variant::Int(1);
    for (int i = 0; i < 40; ++i) deep = Variant::VariantArray({deep});
    PropertyBag bag;
    EXPECT_EQ(ErrorOf([&] { bag.WriteProperty("Deep", deep); }), 13);
    EXPECT_FALSE(bag.Contains("Deep"));

    // The same nesting written by hand: too deep is unreadable, and nothing overflows.
    auto nested = [](int depth) {
        std::string element = "2:1:1";
        std::string payload;
        for (int i = 0; i < depth; ++i) {
            payload = "0:1|" + element;
            element = "8204:" + std::to_string(payload.size()) + ":" + payload;
        }
        return "Deep\t8204\t" + payload + "\n";
    };
    const PropertyBag shallow = PropertyBag::FromText(nested(3));
    EXPECT_TRUE(Identical(shallow.ReadProperty("Deep"),
                          Variant::VariantArray({Variant::VariantArray({Variant::VariantArray({Variant::Int(1)})})})));
    const PropertyBag tooDeep = PropertyBag::FromText(nested(5000));
    EXPECT_TRUE(tooDeep.Contains("Deep"));
    EXPECT_EQ(ErrorOf([&] { tooDeep.ReadProperty("Deep"); }), 13);
}

TEST(PropertyBag, TruncatedTextKeepsEveryCompleteLine) {
    PropertyBag bag;
    for (const auto& [name, value] : EveryKindOfValue()) bag.WriteProperty(name, value);
    const std::string text = bag.ToText();
    const std::vector<std::string> names = bag.Names();
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        const std::string part = text.substr(0, cut);
        PropertyBag back;
        ASSERT_NO_THROW(back = PropertyBag::FromText(part)) << cut;
        // Entries whose whole line survived read back identically; a cut-off line is unreadable.
        size_t complete = 0;
        for (char c : part) complete += c == '\n' ? 1 : 0;
        for (size_t i = 0; i < names.size(); ++i) {
            if (i < complete) {
                ASSERT_TRUE(Identical(back.ReadProperty(names[i]), bag.ReadProperty(names[i]))) << cut;
            } else if (back.Contains(names[i])) {
                ASSERT_EQ(i, complete) << cut;
                ASSERT_EQ(ErrorOf([&] { back.ReadProperty(names[i]); }), 13) << cut;
            }
        }
    }
}

TEST(PropertyBag, ChangedBytesNeverCrashTheReader) {
    PropertyBag bag;
    for (const auto& [name, value] : EveryKindOfValue()) bag.WriteProperty(name, value);
    const std::string text = bag.ToText();
    for (size_t pos = 0; pos < text.size(); ++pos) {
        for (char replacement : {'\n', '\t', '|', ':', '9', '\\', '\0'}) {
            std::string damaged = text;
            damaged[pos] = replacement;
            PropertyBag back;
            ASSERT_NO_THROW(back = PropertyBag::FromText(damaged)) << pos;
            for (const std::string& name : back.Names()) {
                const int32_t error = ErrorOf([&] { back.ReadProperty(name); });
                ASSERT_TRUE(error == 0 || error == 13) << pos;
            }
        }
    }
}

TEST(PropertyBag, UnreadableEntryStaysUnreadableAfterSavingAndCanBeOverwritten) {
    PropertyBag bag = PropertyBag::FromText("A\t2\tjunk\nB\t2\t2\n");
    const PropertyBag again = PropertyBag::FromText(bag.ToText());
    EXPECT_EQ(ErrorOf([&] { again.ReadProperty("A"); }), 13);
    EXPECT_TRUE(Identical(again.ReadProperty("B"), Variant::Int(2)));
    bag.WriteProperty("a", Variant::Int(1));
    EXPECT_TRUE(Identical(bag.ReadProperty("A"), Variant::Int(1)));
    EXPECT_EQ(bag.Names(), (std::vector<std::string>{"A", "B"}));
}

TEST(PropertyBag, ReaderToleratesCrLfAndBlankLines) {
    const PropertyBag bag = PropertyBag::FromText("A\t2\t1\r\n\r\n\nB\t8\tx\r\n");
    EXPECT_TRUE(Identical(bag.ReadProperty("A"), Variant::Int(1)));
    EXPECT_TRUE(Identical(bag.ReadProperty("B"), Variant("x")));
    EXPECT_EQ(bag.Names().size(), 2u);
}

TEST(PropertyBag, DuplicateNameInTextKeepsTheLastValueAtTheFirstPlace) {
    const PropertyBag bag = PropertyBag::FromText("A\t2\t1\nB\t2\t2\na\t2\t3\n");
    EXPECT_TRUE(Identical(bag.ReadProperty("A"), Variant::Int(3)));
    EXPECT_EQ(bag.Names(), (std::vector<std::string>{"A", "B"}));
}

TEST(PropertyBag, ValueEqualToTheDefaultIsNotWritten) {
    struct Case {
        const char* label;
        Variant value, deflt;
        bool written;
    };
    const Case cases[] = {
        {"same Integer", Variant::Int(1), Variant::Int(1), false},
        {"Integer against Long", Variant::Int(1), Variant::Lng(1), true},
        {"other value", Variant::Int(2), Variant::Int(1), true},
        {"empty text", Variant(""), Variant(""), false},
        {"Empty against Empty", Variant(), Variant(), false},
        {"Empty, no default", Variant(), Variant::Missing(), true},
        {"Missing, no default", Variant::Missing(), Variant::Missing(), true},
        {"NaN against NaN", Variant::Dbl(std::nan("")), Variant::Dbl(std::nan("")), false},
        {"-0 against 0", Variant::Dbl(-0.0), Variant::Dbl(0), true},
        {"same bytes", Variant::ByteArray({1, 2}), Variant::ByteArray({1, 2}), false},
        {"True against True", Variant::Bool(true), Variant::Bool(true), false},
        {"True against -1", Variant::Bool(true), Variant::Int(-1), true},
        {"text against number", Variant("1"), Variant::Int(1), true},
    };
    for (const Case& c : cases) {
        PropertyBag bag;
        bag.WriteProperty("Key", c.value, c.deflt);
        EXPECT_EQ(bag.Contains("Key"), c.written) << c.label;
        EXPECT_TRUE(Identical(bag.ReadProperty("Key", c.deflt), c.value)) << c.label;
    }
}

TEST(PropertyBag, WritingTheDefaultOverAStoredValueRemovesIt) {
    PropertyBag bag;
    bag.WriteProperty("BlockIndex", Variant::Int(3), Variant::Int(1));
    bag.WriteProperty("BlockIndex", Variant::Int(1), Variant::Int(1));
    EXPECT_FALSE(bag.Contains("BlockIndex"));
    EXPECT_TRUE(Identical(bag.ReadProperty("BlockIndex", Variant::Int(1)), Variant::Int(1)));
}

TEST(PropertyBag, MissingEntryGivesTheDefaultWithItsSubtype) {
    PropertyBag bag;
    EXPECT_TRUE(bag.ReadProperty("Nope").IsEmpty());
    EXPECT_TRUE(Identical(bag.ReadProperty("Nope", Variant::Lng(0x01000000)), Variant::Lng(0x01000000)));
    bag.WriteProperty("Stored", Variant::Byte(7));
    EXPECT_TRUE(Identical(bag.ReadProperty("Stored", Variant::Int(1)), Variant::Byte(7)));
}

TEST(PropertyBag, NamesIgnoreAsciiCase) {
    PropertyBag bag;
    bag.WriteProperty("BlockIndex", Variant::Int(2));
    EXPECT_TRUE(Identical(bag.ReadProperty("blockindex"), Variant::Int(2)));
    EXPECT_TRUE(bag.Contains("BLOCKINDEX"));
    bag.WriteProperty("BLOCKINDEX", Variant::Int(3));
    EXPECT_EQ(bag.Names(), std::vector<std::string>{"BlockIndex"});
    EXPECT_TRUE(Identical(bag.ReadProperty("BlockIndex"), Variant::Int(3)));
    // Only ASCII letters fold.
    bag.WriteProperty("\xC3\x84", Variant::Int(1));  // Ä
    EXPECT_FALSE(bag.Contains("\xC3\xA4"));          // ä
    bag.Remove("blockINDEX");
    EXPECT_FALSE(bag.Contains("BlockIndex"));
}

TEST(PropertyBag, NamesKeepInsertionOrder) {
    PropertyBag bag;
    for (const char* name : {"C", "A", "B", "D"}) bag.WriteProperty(name, Variant(name));
    bag.WriteProperty("a", Variant("again"));
    EXPECT_EQ(bag.Names(), (std::vector<std::string>{"C", "A", "B", "D"}));
    bag.Remove("A");
    bag.Remove("not there");
    EXPECT_EQ(bag.Names(), (std::vector<std::string>{"C", "B", "D"}));
    EXPECT_TRUE(Identical(bag.ReadProperty("D"), Variant("D")));  // lookup still right after removal
    bag.WriteProperty("A", Variant("new"));
    EXPECT_EQ(bag.Names(), (std::vector<std::string>{"C", "B", "D", "A"}));
    EXPECT_EQ(PropertyBag::FromText(bag.ToText()).Names(), bag.Names());
}

TEST(PropertyBag, ObjectsOtherThanNothingCannotBeStored) {
    PropertyBag bag;
    const Variant object = Variant::Obj(std::make_shared<Thing>());
    EXPECT_EQ(ErrorOf([&] { bag.WriteProperty("Obj", object); }), 13);
    EXPECT_EQ(ErrorOf([&] { bag.WriteProperty("Arr", Variant::VariantArray({Variant::Int(1), object})); }), 13);
    EXPECT_TRUE(bag.Names().empty());
    bag.WriteProperty("Nothing", Variant::Obj(nullptr));
    EXPECT_TRUE(bag.ReadProperty("Nothing").IsNothing());
}

class PropertyBagFile : public ::testing::Test {
protected:
    TempFolder folder_;
    const std::filesystem::path& dir_ = folder_.Dir();
};

TEST_F(PropertyBagFile, SaveAndLoadRoundTrip) {
    PropertyBag bag;
    for (const auto& [name, value] : EveryKindOfValue()) bag.WriteProperty(name, value);
    const std::string path = (dir_ / "bag.txt").string();
    ASSERT_TRUE(bag.SaveToFile(path));
    ASSERT_TRUE(bag.SaveToFile(path));  // replaces the file
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    const PropertyBag back = PropertyBag::LoadFromFile(path);
    EXPECT_EQ(back.ToText(), bag.ToText());
}

// What a folder holds: each name with its kind, its mode and its content
// (a link's target), to see that a save touched nothing but its own file.
std::map<std::string, std::string> Listing(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> listing;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const fs::file_status status = fs::symlink_status(entry.path());
        std::string what = std::to_string(static_cast<int>(status.type())) + " " +
                           std::to_string(static_cast<unsigned>(status.permissions())) + " ";
        if (fs::is_symlink(status)) {
            what += fs::read_symlink(entry.path()).string();
        } else if (fs::is_regular_file(status)) {
            std::ifstream in(entry.path(), std::ios::binary);
            what += std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        listing[entry.path().filename().string()] = what;
    }
    return listing;
}

std::filesystem::perms ModeOf(const std::string& path) { return std::filesystem::status(path).permissions(); }

// A save refused: what the test places into its folder (answering the name
// saved to) and the reason the save gives.
struct RefusedSave {
    const char* name;
    std::string (*place)(const TempFolder& folder);
    const char* reason;
};

void PrintTo(const RefusedSave& c, std::ostream* os) { *os << c.name; }

class PropertyBagRefusedSave : public PropertyBagFile, public ::testing::WithParamInterface<RefusedSave> {};

TEST_P(PropertyBagRefusedSave, WritesNothingAndSaysWhy) {
    const RefusedSave& c = GetParam();
    const std::string path = c.place(folder_);
    const auto before = Listing(dir_);
    PropertyBag bag;
    bag.WriteProperty("A", Variant::Int(1));
    std::string why;
    EXPECT_FALSE(bag.SaveToFile(path, &why));
    EXPECT_EQ(why, c.reason);
    EXPECT_EQ(Listing(dir_), before);
}

// A file without any write bit is refused to every caller, a privileged one
// too (whom the system would let write it), so these cases hold as root.
INSTANTIATE_TEST_SUITE_P(
    Files, PropertyBagRefusedSave,
    ::testing::Values(
        RefusedSave{"Fifo",
                    [](const TempFolder& f) {
                        EXPECT_EQ(::mkfifo(f.Path("pipe").c_str(), 0600), 0);
                        return f.Path("pipe");
                    },
                    "it is no regular file"},
        RefusedSave{"LinkToAFifo",
                    [](const TempFolder& f) {
                        EXPECT_EQ(::mkfifo(f.Path("pipe").c_str(), 0600), 0);
                        std::filesystem::create_symlink("pipe", f.Dir() / "link");
                        return f.Path("link");
                    },
                    "it is no regular file"},
        RefusedSave{"Folder",
                    [](const TempFolder& f) {
                        std::filesystem::create_directory(f.Dir() / "sub");
                        f.Write("sub/inner", "kept");
                        return f.Path("sub");
                    },
                    "Is a directory"},
        RefusedSave{"FolderWithASlash",
                    [](const TempFolder& f) {
                        std::filesystem::create_directory(f.Dir() / "sub");
                        return f.Path("sub") + "/";
                    },
                    "Is a directory"},
        RefusedSave{"ReadOnlyFile",
                    [](const TempFolder& f) {
                        const std::string path = f.Write("kept.txt", "old\n");
                        std::filesystem::permissions(path, std::filesystem::perms(0444));
                        return path;
                    },
                    "Permission denied"},
        RefusedSave{"LinkToAReadOnlyFile",
                    [](const TempFolder& f) {
                        const std::string path = f.Write("kept.txt", "old\n");
                        std::filesystem::permissions(path, std::filesystem::perms(0444));
                        std::filesystem::create_symlink("kept.txt", f.Dir() / "link");
                        return f.Path("link");
                    },
                    "Permission denied"},
        RefusedSave{"LinkInALoop",
                    [](const TempFolder& f) {
                        std::filesystem::create_symlink("b", f.Dir() / "a");
                        std::filesystem::create_symlink("a", f.Dir() / "b");
                        return f.Path("a");
                    },
                    "Too many levels of symbolic links"},
        RefusedSave{"FolderMissing", [](const TempFolder& f) { return f.Path("missing/bag.txt"); },
                    "No such file or directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PropertyBagFile, SaveWritesTheTargetOfASymbolicLink) {
    namespace fs = std::filesystem;
    fs::create_directory(dir_ / "sets");
    folder_.Write("sets/bag.txt", "old\n");
    fs::create_symlink("sets/bag.txt", dir_ / "link.txt");
    fs::create_symlink("sets/new.txt", dir_ / "dangling.txt");
    PropertyBag bag;
    bag.WriteProperty("A", Variant::Int(1));
    ASSERT_TRUE(bag.SaveToFile(folder_.Path("link.txt")));
    ASSERT_TRUE(bag.SaveToFile(folder_.Path("dangling.txt")));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.txt"));
    EXPECT_EQ(folder_.Read("sets/bag.txt"), bag.ToText());
    EXPECT_EQ(folder_.Read("sets/new.txt"), bag.ToText());
    EXPECT_EQ(Listing(dir_ / "sets").size(), 2u);
}

TEST_F(PropertyBagFile, SaveKeepsTheModeOfTheFileItReplaces) {
    const std::string path = folder_.Write("bag.txt", "old\n");
    for (const auto mode : {std::filesystem::perms(0600), std::filesystem::perms(0640), std::filesystem::perms(0664)}) {
        std::filesystem::permissions(path, mode);
        PropertyBag bag;
        bag.WriteProperty("Mode", Variant::Int(static_cast<int16_t>(mode)));
        ASSERT_TRUE(bag.SaveToFile(path));
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(folder_.Read("bag.txt"), bag.ToText());
    }
}

TEST_F(PropertyBagFile, SaveGivesANewFileTheModeOfAnyNewFile) {
    const std::string made = folder_.Write("made.txt", "");
    PropertyBag bag;
    ASSERT_TRUE(bag.SaveToFile(folder_.Path("bag.txt")));
    EXPECT_EQ(ModeOf(folder_.Path("bag.txt")), ModeOf(made));
}

TEST_F(PropertyBagFile, SaveLeavesEveryOtherFileOfTheFolderAlone) {
    const std::string path = folder_.Write("bag.txt", "old\n");
    folder_.Write("bag.txt.tmp", "someone else's\n");
    PropertyBag bag;
    bag.WriteProperty("A", Variant::Int(1));
    ASSERT_TRUE(bag.SaveToFile(path));
    auto after = Listing(dir_);
    EXPECT_EQ(after.size(), 2u);
    EXPECT_EQ(folder_.Read("bag.txt.tmp"), "someone else's\n");
    EXPECT_EQ(folder_.Read("bag.txt"), bag.ToText());
}

TEST_F(PropertyBagFile, FailuresAreReported) {
    PropertyBag bag;
    bag.WriteProperty("A", Variant::Int(1));
    EXPECT_FALSE(bag.SaveToFile((dir_ / "missing" / "bag.txt").string()));
    EXPECT_EQ(ErrorOf([&] { PropertyBag::LoadFromFile((dir_ / "absent.txt").string()); }), 53);
}

}  // namespace
