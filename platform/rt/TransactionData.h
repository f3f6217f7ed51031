#pragma once
// A 0-based byte buffer with a cursor, in which the data of one PROFIBUS
// DP-V1 read or write transaction are coded and decoded.
//
// Writers write at Position, overwrite what is there, grow the buffer
// (zero-filling any gap) and advance Position. Readers check the remaining
// length before each read, raise 9 when the buffer is too short and advance.
// Values out of a coding's range raise 6. Integers and floats are big-endian
// unless the byte-order flag is True (then little-endian); 24-bit signed
// integers and floats are always big-endian.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {

class TransactionData {
public:
    // Largest buffer a writer may grow to; beyond it writers raise 6.
    static constexpr int32_t kMaxLength = 65535;

    // String coding arguments of ReadString/WriteString.
    static constexpr int32_t kPackedCoding = 0;   // 6 bits per character
    static constexpr int32_t kVisibleCoding = 1;  // one ISO 8859-1 byte per character

    // Date format argument: the 7-octet PROFIBUS Date padded to 8 bytes.
    static constexpr int32_t kDateFormatProfibus = 1;

    // All bytes as a Byte array (lower bound 0).
    Variant Bytes() const;
    // Copies a Byte array (any lower bound) and sets Position to 0. Empty
    // gives an empty buffer; anything else raises 13.
    void Bytes(const Variant& bytes);
    const std::vector<uint8_t>& Raw() const noexcept { return buf_; }

    int32_t Position() const noexcept { return pos_; }
    // May point beyond the end; negative raises 5.
    void Position(int32_t position);
    int32_t Length() const noexcept { return static_cast<int32_t>(buf_.size()); }

    uint8_t ReadByte();
    void WriteByte(uint8_t value);
    // Boolean True gives 0xFF, False 0x00; anything else as CByte (range → 6).
    void WriteByte(const Variant& value);

    // `count` bytes as a Byte array (lower bound 0); negative count raises 5.
    Variant ReadBytes(int32_t count);
    // Writes exactly `count` bytes of a Byte array, padding a shorter one with
    // 0x00; a longer array raises 5. Empty writes zeros; other values raise 13.
    void WriteBytes(const Variant& bytes, int32_t count);

    int32_t ReadUnsigned16(bool rawByteOrder);
    void WriteUnsigned16(int32_t value, bool rawByteOrder);
    int32_t ReadUnsigned24(bool rawByteOrder);
    void WriteUnsigned24(int32_t value, bool rawByteOrder);
    // Unsigned32 is held as a Double; writing rounds half to even.
    double ReadUnsigned32(bool rawByteOrder);
    void WriteUnsigned32(double value, bool rawByteOrder);

    int16_t ReadInteger16(bool rawByteOrder);
    void WriteInteger16(int32_t value, bool rawByteOrder);
    int32_t ReadInteger24();
    void WriteInteger24(int32_t value);
    int32_t ReadInteger32(bool rawByteOrder);
    void WriteInteger32(int32_t value, bool rawByteOrder);

    // IEEE 754 binary32, big-endian.
    float ReadFloat();
    void WriteFloat(float value);

    // Date serial (days since 1899-12-30). Reading all-zero octets gives 0
    // (no time stamp) and writing 0 gives all-zero octets; a field out of
    // range raises 13. Writing any other date outside 1950-2049 raises 6.
    // A format other than kDateFormatProfibus raises 5.
    double ReadDate(int32_t format);
    void WriteDate(double serial, int32_t format);

    // Visible (coding 1) or packed (coding 0) string of `byteLength` bytes,
    // as UTF-8. A negative length reads to the end of the buffer and writes
    // the text's own length. A text that does not fit raises 5.
    std::string ReadString(int32_t byteLength, int32_t coding);
    void WriteString(const std::string& text, int32_t byteLength, int32_t coding);

private:
    const uint8_t* Take(int32_t count);  // checks, returns the bytes, advances
    uint8_t* Place(int32_t count);       // grows, returns the place, advances
    uint64_t ReadOrdered(int32_t count, bool littleEndian);
    void WriteOrdered(uint64_t value, int32_t count, bool littleEndian);

    std::vector<uint8_t> buf_;
    int32_t pos_ = 0;
};

}  // namespace platform::rt
