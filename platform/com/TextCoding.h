#pragma once
// Text codings: UTF-8 (the in-memory form of every string), Windows-1252 (the
// ANSI code page of Asc/Chr and of written files) and ISO 8859-1 (device
// visible strings), plus a character-by-character UTF-8 decoder that never
// fails: each byte that does not start a well-formed sequence is one character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::com {

// One decoded character of a UTF-8 text.
struct Utf8Char {
    // The code point; for an invalid byte, the Windows-1252 character of that byte.
    char32_t codePoint = 0;
    // Bytes the character occupies (1..4; 1 for an invalid byte).
    uint8_t size = 1;
    // False when the byte was not part of a well-formed sequence (stray
    // continuation byte, truncated or overlong sequence, surrogate, > U+10FFFF).
    bool valid = true;
};

// Decodes the character that starts at byte `pos` (pos < text.size()).
Utf8Char DecodeUtf8At(std::string_view text, size_t pos) noexcept;

// Walks a UTF-8 text one character at a time.
class Utf8Cursor {
public:
    explicit Utf8Cursor(std::string_view text) noexcept : text_(text) {}
    bool AtEnd() const noexcept { return pos_ >= text_.size(); }
    size_t Position() const noexcept { return pos_; }  // byte offset of the next character
    // Decodes the next character and moves past it; call only while !AtEnd().
    Utf8Char Next() noexcept {
        Utf8Char c = DecodeUtf8At(text_, pos_);
        pos_ += c.size;
        return c;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Appends the UTF-8 form of a code point (surrogates and values above
// U+10FFFF are written as U+FFFD).
void AppendUtf8(std::string& out, char32_t codePoint);

// The character of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
char32_t UnicodeFromCp1252(uint8_t byte) noexcept;
// The Windows-1252 byte of a character, or -1 when the code page has none.
int Cp1252FromUnicode(char32_t codePoint) noexcept;

bool IsValidUtf8(std::string_view text) noexcept;

// Windows-1252 bytes → UTF-8.
std::string Utf8FromCp1252(const std::string& bytes);
// UTF-8 → Windows-1252 bytes; a character without a code is written as '?'.
// An invalid UTF-8 byte is taken as the Windows-1252 byte it already is.
std::string Cp1252FromUtf8(const std::string& utf8);
// ISO 8859-1 bytes → UTF-8.
std::string Utf8FromLatin1(const std::string& bytes);
// UTF-8 → ISO 8859-1 bytes; a character above U+00FF is written as '?'.
// An invalid UTF-8 byte is read as its Windows-1252 character first.
std::string Latin1FromUtf8(const std::string& utf8);

}  // namespace platform::com
