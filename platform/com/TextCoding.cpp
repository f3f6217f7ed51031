#include "platform/com/TextCoding.h"

namespace platform::com {

namespace {

// Characters of the Windows-1252 bytes 0x80..0x9F; the undefined bytes keep
// their own value (C1 controls).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsContinuation(unsigned char b) noexcept { return (b & 0xC0) == 0x80; }

}  // namespace

Utf8Char DecodeUtf8At(std::string_view text, size_t pos) noexcept {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char b0 = byte(0);
    const Utf8Char invalid{UnicodeFromCp1252(b0), 1, false};
    if (b0 < 0x80) return {b0, 1, true};

    size_t size;
    char32_t cp;
    char32_t minimum;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        size = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        size = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        size = 4, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        return invalid;  // continuation byte, C0/C1 (always overlong) or F5..FF
    }
    if (text.size() - pos < size) return invalid;
    for (size_t i = 1; i < size; ++i) {
        if (!IsContinuation(byte(i))) return invalid;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return invalid;
    return {cp, static_cast<uint8_t>(size), true};
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t UnicodeFromCp1252(uint8_t byte) noexcept {
    if (byte >= 0x80 && byte <= 0x9F) return kCp1252High[byte - 0x80];
    return byte;
}

int Cp1252FromUnicode(char32_t cp) noexcept {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == cp) return 0x80 + i;
    }
    return -1;
}

bool IsValidUtf8(std::string_view text) noexcept {
    for (Utf8Cursor cursor(text); !cursor.AtEnd();) {
        if (!cursor.Next().valid) return false;
    }
    return true;
}

std::string Utf8FromCp1252(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) AppendUtf8(out, UnicodeFromCp1252(static_cast<uint8_t>(b)));
    return out;
}

std::string Cp1252FromUtf8(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (Utf8Cursor cursor(utf8); !cursor.AtEnd();) {
        const int code = Cp1252FromUnicode(cursor.Next().codePoint);
        out += code < 0 ? '?' : static_cast<char>(code);
    }
    return out;
}

std::string Utf8FromLatin1(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) AppendUtf8(out, static_cast<uint8_t>(b));
    return out;
}

std::string Latin1FromUtf8(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (Utf8Cursor cursor(utf8); !cursor.AtEnd();) {
        const char32_t cp = cursor.Next().codePoint;
        out += cp > 0xFF ? '?' : static_cast<char>(cp);
    }
    return out;
}

}  // namespace platform::com
