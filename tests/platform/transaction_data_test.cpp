#include "platform/rt/TransactionData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "ErrorOf.h"
#include "platform/com/Error.h"

namespace {

using platform::Variant;
using platform::com::ComError;
using platform::rt::TransactionData;
using Bytes = std::vector<uint8_t>;

TransactionData FromBytes(const Bytes& bytes) {
    TransactionData td;
    td.Bytes(Variant::ByteArray(bytes));
    return td;
}

// ---- integer and float codings: exact bytes in both byte orders, and back ----

struct NumberCase {
    const char* name;
    std::function<void(TransactionData&)> write;
    std::function<double(TransactionData&)> read;
    double value;
    Bytes bytes;
};

class TransactionDataNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(TransactionDataNumber, WritesTheBytesAndReadsTheValueBack) {
    const NumberCase& c = GetParam();
    TransactionData td;
    c.write(td);
    EXPECT_EQ(td.Raw(), c.bytes);
    EXPECT_EQ(td.Position(), static_cast<int32_t>(c.bytes.size()));

    td.Position(0);
    EXPECT_EQ(c.read(td), c.value);
    EXPECT_EQ(td.Position(), static_cast<int32_t>(c.bytes.size()));

    // One byte short: the reader refuses (9) instead of reading zeros.
    Bytes shorter(c.bytes.begin(), c.bytes.end() - 1);
    TransactionData shortTd = FromBytes(shorter);
    EXPECT_EQ(ErrorOf([&] { c.read(shortTd); }), 9);
    EXPECT_EQ(shortTd.Position(), 0);
}

const NumberCase kNumberCases[] = {
    {"U16BigEndian", [](TransactionData& t) { t.WriteUnsigned16(0x1234, false); },
     [](TransactionData& t) { return double(t.ReadUnsigned16(false)); }, 0x1234, {0x12, 0x34}},
    {"U16LittleEndian", [](TransactionData& t) { t.WriteUnsigned16(0xFFFE, true); },
     [](TransactionData& t) { return double(t.ReadUnsigned16(true)); }, 0xFFFE, {0xFE, 0xFF}},
    {"U24BigEndian", [](TransactionData& t) { t.WriteUnsigned24(0xABCDEF, false); },
     [](TransactionData& t) { return double(t.ReadUnsigned24(false)); }, 0xABCDEF, {0xAB, 0xCD, 0xEF}},
    {"U24LittleEndian", [](TransactionData& t) { t.WriteUnsigned24(0x010203, true); },
     [](TransactionData& t) { return double(t.ReadUnsigned24(true)); }, 0x010203, {0x03, 0x02, 0x01}},
    {"U32Max", [](TransactionData& t) { t.WriteUnsigned32(4294967295.0, false); },
     [](TransactionData& t) { return t.ReadUnsigned32(false); }, 4294967295.0, {0xFF, 0xFF, 0xFF, 0xFF}},
    {"U32LittleEndian", [](TransactionData& t) { t.WriteUnsigned32(0x80000001, true); },
     [](TransactionData& t) { return t.ReadUnsigned32(true); }, double(0x80000001u), {0x01, 0x00, 0x00, 0x80}},
    {"U32RoundsHalfToEven", [](TransactionData& t) { t.WriteUnsigned32(2.5, false); },
     [](TransactionData& t) { return t.ReadUnsigned32(false); }, 2.0, {0, 0, 0, 2}},
    {"I16Negative", [](TransactionData& t) { t.WriteInteger16(-2, false); },
     [](TransactionData& t) { return double(t.ReadInteger16(false)); }, -2, {0xFF, 0xFE}},
    {"I16LittleEndian", [](TransactionData& t) { t.WriteInteger16(-32768, true); },
     [](TransactionData& t) { return double(t.ReadInteger16(true)); }, -32768, {0x00, 0x80}},
    {"I24Negative", [](TransactionData& t) { t.WriteInteger24(-8388608); },
     [](TransactionData& t) { return double(t.ReadInteger24()); }, -8388608, {0x80, 0x00, 0x00}},
    {"I24Positive", [](TransactionData& t) { t.WriteInteger24(0x7FFFFF); },
     [](TransactionData& t) { return double(t.ReadInteger24()); }, 0x7FFFFF, {0x7F, 0xFF, 0xFF}},
    {"I32Min", [](TransactionData& t) { t.WriteInteger32(INT32_MIN, false); },
     [](TransactionData& t) { return double(t.ReadInteger32(false)); }, double(INT32_MIN), {0x80, 0, 0, 0}},
    {"I32LittleEndian", [](TransactionData& t) { t.WriteInteger32(-2, true); },
     [](TransactionData& t) { return double(t.ReadInteger32(true)); }, -2, {0xFE, 0xFF, 0xFF, 0xFF}},
    {"FloatBigEndian", [](TransactionData& t) { t.WriteFloat(12.5f); },
     [](TransactionData& t) { return double(t.ReadFloat()); }, 12.5, {0x41, 0x48, 0x00, 0x00}},
    {"FloatNegative", [](TransactionData& t) { t.WriteFloat(-1.0f); },
     [](TransactionData& t) { return double(t.ReadFloat()); }, -1.0, {0xBF, 0x80, 0x00, 0x00}},
};

INSTANTIATE_TEST_SUITE_P(Codings, TransactionDataNumber, testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TransactionData, WritersRefuseValuesOutsideTheirRange) {
    const std::function<void(TransactionData&)> cases[] = {
        [](TransactionData& t) { t.WriteUnsigned16(65536, false); },
        [](TransactionData& t) { t.WriteUnsigned16(-1, false); },
        [](TransactionData& t) { t.WriteUnsigned24(0x1000000, false); },
        [](TransactionData& t) { t.WriteUnsigned32(4294967295.5 + 1, false); },
        [](TransactionData& t) { t.WriteUnsigned32(-0.6, false); },
        [](TransactionData& t) { t.WriteUnsigned32(std::nan(""), false); },
        [](TransactionData& t) { t.WriteInteger16(32768, false); },
        [](TransactionData& t) { t.WriteInteger24(-8388609); },
        [](TransactionData& t) { t.WriteByte(Variant::Lng(256)); },
        [](TransactionData& t) { t.WriteByte(Variant::Bool(true)); t.Position(70000); t.WriteByte(1); },
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TransactionData td;
        EXPECT_EQ(ErrorOf([&] { cases[i](td); }), 6) << "case " << i;
    }
}

TEST(TransactionData, FloatNoValuePatternsAndNaNsReadAsNaN) {
    for (const Bytes& bytes : {Bytes{0x7F, 0xFF, 0xFF, 0xFF}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}}) {
        TransactionData td = FromBytes(bytes);
        EXPECT_TRUE(std::isnan(td.ReadFloat()));
    }
    TransactionData td;
    td.WriteFloat(std::numeric_limits<float>::infinity());
    EXPECT_EQ(td.Raw(), (Bytes{0x7F, 0x80, 0x00, 0x00}));
}

// ---- buffer behaviour ----

TEST(TransactionData, WritersZeroFillGapsOverwriteAndNeverShrink) {
    TransactionData td;
    td.Position(4);
    td.WriteByte(0x11);
    EXPECT_EQ(td.Raw(), (Bytes{0, 0, 0, 0, 0x11}));
    td.Position(1);
    td.WriteUnsigned16(0xAABB, false);
    EXPECT_EQ(td.Raw(), (Bytes{0, 0xAA, 0xBB, 0, 0x11}));
    EXPECT_EQ(td.Position(), 3);
    EXPECT_EQ(td.Length(), 5);
}

TEST(TransactionData, BytesLetCopiesAnyByteArrayAndRewinds) {
    TransactionData td;
    td.WriteUnsigned16(1, false);
    td.Bytes(Variant::ByteArray({7, 8, 9}, 1));  // lower bound 1
    EXPECT_EQ(td.Position(), 0);
    EXPECT_EQ(td.Length(), 3);
    EXPECT_EQ(td.ReadByte(), 7);
    const Variant back = td.Bytes();
    EXPECT_EQ(back.LBound(), 0);
    EXPECT_EQ(back.ToBytes(), (Bytes{7, 8, 9}));

    td.Bytes(Variant());  // an error answer carries no data
    EXPECT_EQ(td.Length(), 0);
    EXPECT_EQ(ErrorOf([&] { td.ReadByte(); }), 9);
    EXPECT_EQ(ErrorOf([&] { td.Bytes(Variant("0102")); }), 13);
    EXPECT_EQ(ErrorOf([&] { td.Position(-1); }), 5);
}

TEST(TransactionData, ReadingBeyondTheEndOrFromAPositionPastItRaises9) {
    TransactionData td = FromBytes({1, 2, 3});
    td.Position(10);
    EXPECT_EQ(ErrorOf([&] { td.ReadByte(); }), 9);
    td.Position(3);
    EXPECT_EQ(ErrorOf([&] { td.ReadBytes(1); }), 9);
    EXPECT_EQ(td.ReadBytes(0).Count(), 0);
    EXPECT_EQ(ErrorOf([&] { td.ReadBytes(-1); }), 5);
}

TEST(TransactionData, OctetStringsArePaddedAndNeverTruncated) {
    TransactionData td;
    td.WriteBytes(Variant::ByteArray({0x0A, 0xFF}), 4);
    EXPECT_EQ(td.Raw(), (Bytes{0x0A, 0xFF, 0, 0}));
    td.Position(0);
    EXPECT_EQ(td.ReadBytes(4).ToBytes(), (Bytes{0x0A, 0xFF, 0, 0}));

    TransactionData empty;
    empty.WriteBytes(Variant(), 2);
    EXPECT_EQ(empty.Raw(), (Bytes{0, 0}));

    TransactionData refused;
    EXPECT_EQ(ErrorOf([&] { refused.WriteBytes(Variant::ByteArray({1, 2, 3}), 2); }), 5);
    EXPECT_EQ(ErrorOf([&] { refused.WriteBytes(Variant::Lng(1), 2); }), 13);
    EXPECT_EQ(refused.Length(), 0);
}

TEST(TransactionData, BooleanByteIsAllOnesOrZero) {
    TransactionData td;
    td.WriteByte(Variant::Bool(true));
    td.WriteByte(Variant::Bool(false));
    td.WriteByte(Variant::Int(200));
    EXPECT_EQ(td.Raw(), (Bytes{0xFF, 0x00, 200}));
}

// ---- dates ----

TEST(TransactionData, DateIsSevenOctetsPaddedToEight) {
    using platform::com::DateSerial;
    // Tuesday 2003-01-21 12:34:56.789
    const double serial = DateSerial(2003, 1, 21) + (12 * 3600000.0 + 34 * 60000.0 + 56789) / 86400000.0;
    TransactionData td;
    td.WriteDate(serial, 1);
    EXPECT_EQ(td.Raw(), (Bytes{0xDD, 0xD5, 34, 12, 21 | (2 << 5), 1, 3, 0}));
    td.Position(0);
    EXPECT_NEAR(td.ReadDate(1), serial, 1e-9);
    EXPECT_EQ(td.Position(), 8);
}

TEST(TransactionData, DateYearWindowAndWeekday) {
    using platform::com::DateSerial;
    struct {
        int year, month, day;
        uint8_t yearOctet, weekday;
    } cases[] = {{1950, 1, 1, 50, 7}, {1999, 12, 31, 99, 5}, {2000, 2, 29, 0, 2}, {2049, 12, 31, 49, 5}};
    for (const auto& c : cases) {
        TransactionData td;
        td.WriteDate(DateSerial(c.year, c.month, c.day), 1);
        EXPECT_EQ(td.Raw()[6], c.yearOctet) << c.year;
        EXPECT_EQ(td.Raw()[4] >> 5, c.weekday) << c.year;
        td.Position(0);
        EXPECT_EQ(td.ReadDate(1), DateSerial(c.year, c.month, c.day)) << c.year;
    }
    TransactionData td;
    EXPECT_EQ(ErrorOf([&] { td.WriteDate(DateSerial(1949, 12, 31), 1); }), 6);
    EXPECT_EQ(ErrorOf([&] { td.WriteDate(DateSerial(2050, 1, 1), 1); }), 6);
    EXPECT_EQ(ErrorOf([&] { td.WriteDate(0.0, 2); }), 5);
    EXPECT_EQ(td.Length(), 0);
}

TEST(TransactionData, DateReadingIgnoresFlagsAndRefusesBadFields) {
    // All zeros: no time stamp.
    EXPECT_EQ(FromBytes(Bytes(8, 0)).ReadDate(1), 0.0);
    // Invalid and summer-time flags and the weekday are ignored.
    TransactionData flagged = FromBytes({0, 0, 0x80 | 5, 0x80 | 6, 0xE0 | 7, 8, 9, 0xAA});
    EXPECT_NEAR(flagged.ReadDate(1),
                platform::com::DateSerial(2009, 8, 7) + (6 * 60 + 5) / 1440.0, 1e-9);

    const Bytes bad[] = {
        {0xEA, 0x60, 0, 0, 1, 1, 3, 0},  // 60000 ms
        {0, 0, 60, 0, 1, 1, 3, 0},       // minute 60
        {0, 0, 0, 24, 1, 1, 3, 0},       // hour 24
        {0, 0, 0, 0, 0, 1, 3, 0},        // day 0
        {0, 0, 0, 0, 30, 2, 3, 0},       // 30 February
        {0, 0, 0, 0, 1, 13, 3, 0},       // month 13
        {0, 0, 0, 0, 1, 1, 100, 0},      // year 100
    };
    for (const Bytes& b : bad) {
        TransactionData td = FromBytes(b);
        EXPECT_EQ(ErrorOf([&] { td.ReadDate(1); }), 13);
    }
    TransactionData seven = FromBytes({0, 0, 0, 0, 1, 1, 3});
    EXPECT_EQ(ErrorOf([&] { seven.ReadDate(1); }), 9);
}

TEST(TransactionData, DateZeroIsNoTimeStampBothWays) {
    TransactionData td = FromBytes(Bytes(10, 0xFF));
    td.Position(1);
    td.WriteDate(0.0, 1);  // overwrites what was there
    EXPECT_EQ(td.Raw(), (Bytes{0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF}));
    EXPECT_EQ(td.Position(), 9);
    td.Position(1);
    EXPECT_EQ(td.ReadDate(1), 0.0);
}

// ---- strings ----

TEST(TransactionData, VisibleStringIsLatin1PaddedWithBlanks) {
    TransactionData td;
    td.WriteString("\xC3\xA9t\xE2\x82\xAC", 5, 1);  // "ét€": € has no Latin-1 code
    EXPECT_EQ(td.Raw(), (Bytes{0xE9, 't', '?', ' ', ' '}));
    td.Position(0);
    EXPECT_EQ(td.ReadString(5, 1), "\xC3\xA9t?  ");
}

TEST(TransactionData, VisibleStringTooLongIsRefusedAndNothingWritten) {
    TransactionData td;
    td.WriteUnsigned16(0x1234, false);
    td.Position(0);
    EXPECT_EQ(ErrorOf([&] { td.WriteString("abc", 2, 1); }), 5);
    EXPECT_EQ(td.Raw(), (Bytes{0x12, 0x34}));
    // Characters count, not UTF-8 bytes: two umlauts fit two bytes.
    td.WriteString("\xC3\xA4\xC3\xB6", 2, 1);
    EXPECT_EQ(td.Raw(), (Bytes{0xE4, 0xF6}));
}

TEST(TransactionData, VisibleStringOfOpenLengthUsesTheTextOrTheRest) {
    TransactionData td;
    td.WriteByte(1);
    td.WriteString("abc", -1, 1);
    EXPECT_EQ(td.Length(), 4);
    td.Position(1);
    EXPECT_EQ(td.ReadString(-1, 1), "abc");
    EXPECT_EQ(td.ReadString(-1, 1), "");  // at the end: nothing left
    td.Position(9);
    EXPECT_EQ(ErrorOf([&] { td.ReadString(-1, 1); }), 9);
}

TEST(TransactionData, PackedStringHoldsFourCharactersInThreeBytes) {
    TransactionData td;
    td.WriteString("ab", 3, 0);  // upper-cased, padded with blanks
    EXPECT_EQ(td.Raw(), (Bytes{0x04, 0x28, 0x20}));
    td.Position(0);
    EXPECT_EQ(td.ReadString(3, 0), "AB  ");

    TransactionData full;
    full.WriteString("TAG_{0123456789}", 12, 0);
    EXPECT_EQ(full.Length(), 12);
    full.Position(0);
    EXPECT_EQ(full.ReadString(12, 0), "TAG_?0123456789?");

    TransactionData tooLong;
    EXPECT_EQ(ErrorOf([&] { tooLong.WriteString("ABCDE", 3, 0); }), 5);
    // A byte length that is not a multiple of three: 4 bytes hold 5 characters.
    TransactionData odd;
    odd.WriteString("HELLO", 4, 0);
    odd.Position(0);
    EXPECT_EQ(odd.ReadString(4, 0), "HELLO");
    EXPECT_EQ(ErrorOf([&] { odd.WriteString("x", 1, 2); }), 5);
}

// Lengths far beyond the buffer are refused with an error, never computed
// with an overflow (the sanitizer build checks the arithmetic).
TEST(TransactionData, HugeLengthsAreRefused) {
    constexpr int32_t kHuge = 2147483647;
    const std::function<void(TransactionData&)> calls[] = {
        [](TransactionData& td) { td.WriteString("a", kHuge, TransactionData::kPackedCoding); },
        [](TransactionData& td) { td.WriteString("a", kHuge, TransactionData::kVisibleCoding); },
        [](TransactionData& td) { td.WriteString("a", 400000000, TransactionData::kPackedCoding); },
        [](TransactionData& td) { td.WriteString("a", TransactionData::kMaxLength + 1, TransactionData::kVisibleCoding); },
        [](TransactionData& td) { td.WriteBytes(Variant(), kHuge); },
        [](TransactionData& td) { td.Position(kHuge); td.WriteByte(uint8_t{1}); },
        [](TransactionData& td) { td.Position(kHuge - 1); td.WriteUnsigned32(1, false); },
    };
    for (const auto& call : calls) {
        TransactionData td;
        EXPECT_EQ(ErrorOf([&] { call(td); }), 6);
        EXPECT_EQ(td.Length(), 0);  // nothing was written
    }
    TransactionData small;
    small.WriteString("AB", 3, TransactionData::kPackedCoding);
    for (int32_t coding : {TransactionData::kPackedCoding, TransactionData::kVisibleCoding}) {
        small.Position(0);
        EXPECT_EQ(ErrorOf([&] { small.ReadString(kHuge, coding); }), 9);
    }
}

}  // namespace
