#pragma once
// The VB text functions on UTF-8 strings. Lengths and positions count
// characters (code points), not bytes; positions are 1-based as in VB. Each
// byte of an invalid UTF-8 sequence counts as one character and is kept as it
// is by the functions that cut or copy text.
//
// Arguments VB rejects raise error 5 (invalid procedure call) as VB does:
// a start below 1, a negative length or count, an empty Asc argument, a
// character code out of range, a compare mode other than 0 or 1.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::com::vb {

// Compare modes of InStr, InStrRev, Replace, Split and StrComp. Text compare
// ignores the case of ASCII and Latin-1 letters.
constexpr int32_t vbBinaryCompare = 0;
constexpr int32_t vbTextCompare = 1;

int32_t Len(const std::string& s);

std::string Mid(const std::string& s, int32_t start);
std::string Mid(const std::string& s, int32_t start, int32_t length);
std::string Left(const std::string& s, int32_t length);
std::string Right(const std::string& s, int32_t length);

// Position of s2 in s1 from `start` on, 0 when absent. An empty s1 or a start
// beyond Len(s1) gives 0; otherwise an empty s2 gives start.
int32_t InStr(const std::string& s1, const std::string& s2);
int32_t InStr(int32_t start, const std::string& s1, const std::string& s2,
              int32_t compare = vbBinaryCompare);
// Position of the last s2 lying wholly within the first `start` characters of
// s1 (start -1 = the whole text). start 0 or below -1 raises 5.
int32_t InStrRev(const std::string& s1, const std::string& s2, int32_t start = -1,
                 int32_t compare = vbBinaryCompare);

// As VB, the result begins at `start`: the characters before it are dropped.
// count -1 replaces every occurrence. An empty `find` replaces nothing.
std::string Replace(const std::string& s, const std::string& find, const std::string& with,
                    int32_t start = 1, int32_t count = -1, int32_t compare = vbBinaryCompare);

// Remove blanks (U+0020 only).
std::string Trim(const std::string& s);
std::string LTrim(const std::string& s);
std::string RTrim(const std::string& s);

// Case of ASCII letters and of the Latin-1 letters U+00C0..U+00DE / U+00E0..U+00FE
// (without × and ÷); other characters, invalid bytes included, are unchanged.
std::string UCase(const std::string& s);
std::string LCase(const std::string& s);

// Windows-1252 code of the first character; 63 when the code page has none.
int32_t Asc(const std::string& s);
// Code point of the first character.
int32_t AscW(const std::string& s);
// Character of a Windows-1252 code 0..255.
std::string Chr(int32_t code);
// Character of a code point 0..U+10FFFF (surrogates raise 5).
std::string ChrW(int32_t codePoint);

std::string Space(int32_t count);
// `count` times the first character of `character` (which must not be empty).
std::string String(int32_t count, const std::string& character);
std::string StrReverse(const std::string& s);

// An empty text gives no elements; an empty delimiter gives the text as the
// only element. limit -1: all parts; limit n > 0: at most n parts, the last
// holding the rest; limit 0: no elements; below -1 raises 5.
std::vector<std::string> Split(const std::string& s, const std::string& delimiter = " ",
                               int32_t limit = -1, int32_t compare = vbBinaryCompare);
std::string Join(const std::vector<std::string>& parts, const std::string& delimiter = " ");

// The leading number of a text: blanks, tabs and line feeds are skipped
// anywhere; "." is the decimal point; exponent E or D; "&H"/"&O" read hex or
// octal (up to 4 digits' worth as a 16-bit Integer, so "&HFFFF" is -1, else as
// a 32-bit Long; beyond 32 bits raises 6). No number gives 0.
double Val(const std::string& s);
// " " before a number >= 0, then NumberText(v, 15) with ".".
std::string Str(double v);

// CStr text of a number: at most `significantDigits` significant digits, no
// trailing zeros, and the exponent form when the decimal exponent is below -4
// or at least `significantDigits` (C's %G rule): "0.0001", "1E-05", "1E+15",
// "123456789012345", "1.5E-05", at least two exponent digits. -0 gives "0";
// NaN gives "NaN", infinities "Infinity" / "-Infinity". CStr of a Double uses
// 15 digits, of a Single 7.
std::string NumberText(double v, int significantDigits, char decimalSeparator = '.');

// Hexadecimal/octal text, upper case. Negative values are shown as 32-bit
// two's complement (Hex(-1) = "FFFFFFFF"); values outside
// -2147483648..4294967295 raise 6.
std::string Hex(int64_t value);
std::string Oct(int64_t value);

// -1, 0 or 1.
int32_t StrComp(const std::string& a, const std::string& b, int32_t compare = vbBinaryCompare);
// StrComp(a, b, vbTextCompare) = 0 (and UCase(a) = UCase(b)), without a copy of either.
bool TextEquals(std::string_view a, std::string_view b) noexcept;

// VB `text Like pattern` (Option Compare Binary): "?" one character, "*" any
// run, "#" one digit 0-9, "[abc]", "[a-z]", "[!a-z]" one character of (not
// of) the list; "[]" matches nothing. An unclosed "[" or a descending range
// raises 93. Runs in O(len(text) * len(pattern)).
bool Like(const std::string& text, const std::string& pattern);

// VB Format of a number with a digit pattern:
//   [#0]* [ "." [0#]* ] [ ("E+"|"E-"|"e+"|"e-") [0#]+ ] [ "%" ]
// "0" is a digit always shown, "#" one shown only when needed (trailing
// decimals that are zero are dropped down to the last "0"); "E+" shows the
// exponent's sign always, "E-" only when negative; "%" multiplies by 100.
// The decimal point of the result is DecimalSeparator(). Rounding is half
// away from zero on the value's 15-significant-digit decimal text, so 0.125
// with "0.00" gives "0.13" and 1.005 gives "1.01". A result that shows only
// zeros has no minus sign. An empty format gives the CStr text; any other
// format raises 5.
std::string Format(double value, const std::string& format);

}  // namespace platform::com::vb
