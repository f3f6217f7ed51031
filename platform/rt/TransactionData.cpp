#include "platform/rt/TransactionData.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/com/Error.h"
#include "platform/com/TextCoding.h"

namespace platform::rt {

using com::Raise;

namespace {

constexpr int32_t kDateOctets = 7;
constexpr int32_t kDateBytes = 8;  // the 7 octets plus one pad byte
constexpr uint8_t kBlank = 0x20;

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) return 29;
    return kDays[month - 1];
}

// Packed characters: 6 bits each, the first character in the high bits.
// 64-bit, so that no length overflows.
int64_t PackedCapacity(int64_t byteLength) { return byteLength * 8 / 6; }
int64_t PackedByteLength(int64_t chars) { return (chars * 6 + 7) / 8; }

// A byte count for Place: one beyond the largest buffer is refused there (6).
int32_t ByteCount(int64_t count) {
    return static_cast<int32_t>(std::min<int64_t>(count, TransactionData::kMaxLength + int64_t{1}));
}

uint8_t PackedCode(uint8_t latin1) {
    if (latin1 >= 'a' && latin1 <= 'z') latin1 = static_cast<uint8_t>(latin1 - 'a' + 'A');
    if (latin1 < 0x20 || latin1 > 0x5F) latin1 = '?';
    return latin1 & 0x3F;
}

}  // namespace

// ---- buffer ----

Variant TransactionData::Bytes() const { return Variant::ByteArray(buf_, 0); }

void TransactionData::Bytes(const Variant& bytes) {
    if (bytes.IsEmpty()) {
        buf_.clear();
    } else {
        if (!bytes.IsByteArray()) Raise(com::errTypeMismatch);
        buf_ = bytes.BytesRef();
    }
    pos_ = 0;
}

void TransactionData::Position(int32_t position) {
    if (position < 0) Raise(com::errInvalidArgument);
    pos_ = position;
}

const uint8_t* TransactionData::Take(int32_t count) {
    if (count < 0) Raise(com::errInvalidArgument);
    if (pos_ > Length() || count > Length() - pos_) Raise(com::errSubscript);
    const uint8_t* p = buf_.data() + pos_;
    pos_ += count;
    return p;
}

uint8_t* TransactionData::Place(int32_t count) {
    if (count < 0) Raise(com::errInvalidArgument);
    if (pos_ > kMaxLength || count > kMaxLength - pos_) Raise(com::errOverflow);
    const auto end = static_cast<size_t>(pos_ + count);
    if (buf_.size() < end) buf_.resize(end, 0x00);
    uint8_t* p = buf_.data() + pos_;
    pos_ += count;
    return p;
}

uint64_t TransactionData::ReadOrdered(int32_t count, bool littleEndian) {
    const uint8_t* p = Take(count);
    uint64_t v = 0;
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t b = littleEndian ? p[count - 1 - i] : p[i];
        v = (v << 8) | b;
    }
    return v;
}

void TransactionData::WriteOrdered(uint64_t value, int32_t count, bool littleEndian) {
    uint8_t* p = Place(count);
    for (int32_t i = 0; i < count; ++i) {
        const auto b = static_cast<uint8_t>(value >> (8 * (count - 1 - i)));
        p[littleEndian ? count - 1 - i : i] = b;
    }
}

// ---- bytes ----

uint8_t TransactionData::ReadByte() { return *Take(1); }

void TransactionData::WriteByte(uint8_t value) { *Place(1) = value; }

void TransactionData::WriteByte(const Variant& value) {
    if (value.Type() == com::VarType::Boolean) {
        WriteByte(static_cast<uint8_t>(com::CBool(value) ? 0xFF : 0x00));
    } else {
        WriteByte(com::CByte(value));
    }
}

Variant TransactionData::ReadBytes(int32_t count) {
    const uint8_t* p = Take(count);
    return Variant::ByteArray(std::vector<uint8_t>(p, p + count), 0);
}

void TransactionData::WriteBytes(const Variant& bytes, int32_t count) {
    if (count < 0) Raise(com::errInvalidArgument);
    std::vector<uint8_t> data;
    if (!bytes.IsEmpty()) {
        if (!bytes.IsByteArray()) Raise(com::errTypeMismatch);
        data = bytes.ToBytes();
    }
    if (static_cast<int64_t>(data.size()) > count) Raise(com::errInvalidArgument);
    uint8_t* p = Place(count);
    std::fill(p, p + count, 0x00);
    std::copy(data.begin(), data.end(), p);
}

// ---- integers ----

int32_t TransactionData::ReadUnsigned16(bool rawByteOrder) {
    return static_cast<int32_t>(ReadOrdered(2, rawByteOrder));
}

void TransactionData::WriteUnsigned16(int32_t value, bool rawByteOrder) {
    if (value < 0 || value > 0xFFFF) Raise(com::errOverflow);
    WriteOrdered(static_cast<uint64_t>(value), 2, rawByteOrder);
}

int32_t TransactionData::ReadUnsigned24(bool rawByteOrder) {
    return static_cast<int32_t>(ReadOrdered(3, rawByteOrder));
}

void TransactionData::WriteUnsigned24(int32_t value, bool rawByteOrder) {
    if (value < 0 || value > 0xFFFFFF) Raise(com::errOverflow);
    WriteOrdered(static_cast<uint64_t>(value), 3, rawByteOrder);
}

double TransactionData::ReadUnsigned32(bool rawByteOrder) {
    return static_cast<double>(ReadOrdered(4, rawByteOrder));
}

void TransactionData::WriteUnsigned32(double value, bool rawByteOrder) {
    // Round half to even before the range test, as the VB conversions do.
    const double r = std::nearbyint(value);
    if (!(r >= 0.0 && r <= 4294967295.0)) Raise(com::errOverflow);
    WriteOrdered(static_cast<uint64_t>(r), 4, rawByteOrder);
}

int16_t TransactionData::ReadInteger16(bool rawByteOrder) {
    return static_cast<int16_t>(static_cast<uint16_t>(ReadOrdered(2, rawByteOrder)));
}

void TransactionData::WriteInteger16(int32_t value, bool rawByteOrder) {
    if (value < INT16_MIN || value > INT16_MAX) Raise(com::errOverflow);
    WriteOrdered(static_cast<uint16_t>(value), 2, rawByteOrder);
}

int32_t TransactionData::ReadInteger24() {
    auto v = static_cast<int32_t>(ReadOrdered(3, false));
    if (v & 0x800000) v -= 0x1000000;
    return v;
}

void TransactionData::WriteInteger24(int32_t value) {
    if (value < -0x800000 || value > 0x7FFFFF) Raise(com::errOverflow);
    WriteOrdered(static_cast<uint32_t>(value) & 0xFFFFFFu, 3, false);
}

int32_t TransactionData::ReadInteger32(bool rawByteOrder) {
    return static_cast<int32_t>(static_cast<uint32_t>(ReadOrdered(4, rawByteOrder)));
}

void TransactionData::WriteInteger32(int32_t value, bool rawByteOrder) {
    WriteOrdered(static_cast<uint32_t>(value), 4, rawByteOrder);
}

// ---- float ----

float TransactionData::ReadFloat() {
    return std::bit_cast<float>(static_cast<uint32_t>(ReadOrdered(4, false)));
}

void TransactionData::WriteFloat(float value) {
    WriteOrdered(std::bit_cast<uint32_t>(value), 4, false);
}

// ---- date ----

double TransactionData::ReadDate(int32_t format) {
    if (format != kDateFormatProfibus) Raise(com::errInvalidArgument);
    const uint8_t* p = Take(kDateBytes);
    bool allZero = true;
    for (int32_t i = 0; i < kDateOctets; ++i) allZero = allZero && p[i] == 0;
    if (allZero) return 0.0;

    const int ms = (p[0] << 8) | p[1];
    const int minute = p[2] & 0x3F;
    const int hour = p[3] & 0x1F;
    const int day = p[4] & 0x1F;
    const int month = p[5] & 0x3F;
    const int yy = p[6] & 0x7F;
    if (ms > 59999 || minute > 59 || hour > 23 || month < 1 || month > 12 || yy > 99)
        Raise(com::errTypeMismatch);
    const int year = yy < 50 ? 2000 + yy : 1900 + yy;
    if (day < 1 || day > DaysInMonth(year, month)) Raise(com::errTypeMismatch);

    return com::DateSerial(year, month, day) +
           (hour * 3600000.0 + minute * 60000.0 + ms) / 86400000.0;
}

void TransactionData::WriteDate(double serial, int32_t format) {
    if (format != kDateFormatProfibus) Raise(com::errInvalidArgument);
    if (serial == 0.0) {  // no time stamp: all zeros, as ReadDate gives it back
        uint8_t* p = Place(kDateBytes);
        std::fill(p, p + kDateBytes, 0x00);
        return;
    }
    if (!std::isfinite(serial)) Raise(com::errOverflow);
    const com::DateParts d = com::SplitDate(serial);
    if (d.year < 1950 || d.year > 2049) Raise(com::errOverflow);

    const int ms = d.second * 1000 + d.millisecond;
    const int weekday = (d.weekday + 5) % 7 + 1;  // VB 1 = Sunday → PROFIBUS 1 = Monday
    uint8_t* p = Place(kDateBytes);
    p[0] = static_cast<uint8_t>(ms >> 8);
    p[1] = static_cast<uint8_t>(ms);
    p[2] = static_cast<uint8_t>(d.minute);
    p[3] = static_cast<uint8_t>(d.hour);
    p[4] = static_cast<uint8_t>(d.day | (weekday << 5));
    p[5] = static_cast<uint8_t>(d.month);
    p[6] = static_cast<uint8_t>(d.year % 100);
    p[7] = 0x00;
}

// ---- strings ----

std::string TransactionData::ReadString(int32_t byteLength, int32_t coding) {
    if (coding != kPackedCoding && coding != kVisibleCoding) Raise(com::errInvalidArgument);
    if (byteLength < 0) byteLength = pos_ < Length() ? Length() - pos_ : 0;
    const uint8_t* p = Take(byteLength);

    std::string latin1;
    if (coding == kVisibleCoding) {
        const auto* first = reinterpret_cast<const char*>(p);
        const auto* last = first + byteLength;
        // Plain ASCII reads the same in UTF-8.
        if (std::all_of(first, last, [](char c) { return static_cast<uint8_t>(c) < 0x80; })) return {first, last};
        latin1.assign(first, last);
    } else {
        const int64_t chars = PackedCapacity(byteLength);
        latin1.reserve(static_cast<size_t>(chars));
        for (int64_t i = 0; i < chars; ++i) {
            uint32_t v = 0;
            for (int bit = 0; bit < 6; ++bit) {
                const int64_t at = i * 6 + bit;
                v = (v << 1) | ((p[at / 8] >> (7 - at % 8)) & 1u);
            }
            latin1.push_back(static_cast<char>(v < 0x20 ? v + 0x40 : v));
        }
    }
    return com::Utf8FromLatin1(latin1);
}

void TransactionData::WriteString(const std::string& text, int32_t byteLength, int32_t coding) {
    if (coding != kPackedCoding && coding != kVisibleCoding) Raise(com::errInvalidArgument);
    const std::string latin1 = com::Latin1FromUtf8(text);
    const auto chars = static_cast<int64_t>(latin1.size());

    // Lengths are worked out in 64 bits; Place refuses what the buffer cannot take.
    int64_t bytes = byteLength;
    if (coding == kVisibleCoding) {
        if (bytes < 0) bytes = chars;
        if (chars > bytes) Raise(com::errInvalidArgument);
        uint8_t* p = Place(ByteCount(bytes));
        std::fill(p, p + bytes, kBlank);
        std::copy(latin1.begin(), latin1.end(), p);
        return;
    }

    if (bytes < 0) bytes = PackedByteLength(chars);
    const int64_t capacity = PackedCapacity(bytes);
    if (chars > capacity) Raise(com::errInvalidArgument);
    uint8_t* p = Place(ByteCount(bytes));
    std::fill(p, p + bytes, 0x00);
    for (int64_t i = 0; i < capacity; ++i) {
        const uint8_t code = PackedCode(i < chars ? static_cast<uint8_t>(latin1[static_cast<size_t>(i)]) : kBlank);
        for (int bit = 0; bit < 6; ++bit) {
            const int64_t at = i * 6 + bit;
            if ((code >> (5 - bit)) & 1u) p[at / 8] |= static_cast<uint8_t>(0x80u >> (at % 8));
        }
    }
}

}  // namespace platform::rt
