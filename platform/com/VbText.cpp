// VB text functions on UTF-8 strings (numbers and Format: VbNumberText.cpp).
#include "platform/com/VbText.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/com/Error.h"
#include "platform/com/TextCoding.h"

namespace platform::com::vb {

namespace {

constexpr int32_t errInvalidPattern = 93;

char32_t LowerLatin1(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    return c;
}

// A character as compared: its code point (in lower case for a text compare),
// or for an invalid byte a value above the Unicode range, so that invalid
// bytes equal only themselves.
char32_t KeyOf(const Utf8Char& c, std::string_view text, size_t pos, bool foldCase) {
    if (!c.valid) return 0x110000 + static_cast<unsigned char>(text[pos]);
    return foldCase ? LowerLatin1(c.codePoint) : c.codePoint;
}

char32_t UpperLatin1(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    return c;
}

void CheckCompare(int32_t compare) {
    if (compare != vbBinaryCompare && compare != vbTextCompare) Raise(errInvalidArgument);
}

// The characters of a text as comparison keys, with their byte offsets.
struct CharTable {
    std::vector<char32_t> keys;
    std::vector<size_t> offsets;  // offsets[i]: first byte of character i; offsets[n] = size

    CharTable(std::string_view text, bool foldCase) {
        keys.reserve(text.size());
        offsets.reserve(text.size() + 1);
        for (Utf8Cursor cursor(text); !cursor.AtEnd();) {
            const size_t pos = cursor.Position();
            const Utf8Char c = cursor.Next();
            keys.push_back(KeyOf(c, text, pos, foldCase));
            offsets.push_back(pos);
        }
        offsets.push_back(text.size());
    }
    int32_t Count() const { return static_cast<int32_t>(keys.size()); }

    // Index of the first occurrence of `needle` at or after character `from`, or -1.
    int32_t Find(const CharTable& needle, int32_t from) const {
        const auto it = std::search(keys.begin() + from, keys.end(), needle.keys.begin(),
                                    needle.keys.end());
        return it == keys.end() ? -1 : static_cast<int32_t>(it - keys.begin());
    }
    bool MatchesAt(const CharTable& needle, int32_t at) const {
        return std::equal(needle.keys.begin(), needle.keys.end(), keys.begin() + at);
    }
};

// Byte offset of character `index` (0-based), or s.size() when the text is shorter.
size_t ByteOffset(std::string_view s, int64_t index) {
    Utf8Cursor cursor(s);
    for (; index > 0 && !cursor.AtEnd(); --index) cursor.Next();
    return cursor.Position();
}

std::string ChangeCase(const std::string& s, char32_t (*change)(char32_t)) {
    std::string out;
    out.reserve(s.size());
    for (Utf8Cursor cursor(s); !cursor.AtEnd();) {
        const size_t pos = cursor.Position();
        const Utf8Char c = cursor.Next();
        if (c.valid) {
            AppendUtf8(out, change(c.codePoint));
        } else {
            out += s[pos];
        }
    }
    return out;
}

Utf8Char FirstChar(const std::string& s) {
    if (s.empty()) Raise(errInvalidArgument);
    return DecodeUtf8At(s, 0);
}

// One element of a compiled Like pattern.
struct LikeToken {
    enum class Kind { Literal, AnyChar, Digit, Set, Star } kind = Kind::Literal;
    char32_t literal = 0;
    bool negate = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;  // Set: inclusive ranges

    bool Matches(char32_t c) const {
        switch (kind) {
            case Kind::Literal: return c == literal;
            case Kind::AnyChar: return true;
            case Kind::Digit: return c >= '0' && c <= '9';
            case Kind::Set: {
                const bool inList = std::any_of(ranges.begin(), ranges.end(), [c](const auto& r) {
                    return c >= r.first && c <= r.second;
                });
                return inList != negate;
            }
            case Kind::Star: break;
        }
        return false;
    }
};

[[noreturn]] void RaiseInvalidPattern() { Raise(errInvalidPattern, "Invalid pattern string"); }

std::vector<LikeToken> CompileLike(const std::string& pattern) {
    const CharTable chars(pattern, false);
    const std::vector<char32_t>& p = chars.keys;
    std::vector<LikeToken> tokens;
    for (size_t i = 0; i < p.size(); ++i) {
        LikeToken token;
        switch (p[i]) {
            case '*':
                if (!tokens.empty() && tokens.back().kind == LikeToken::Kind::Star) continue;
                token.kind = LikeToken::Kind::Star;
                break;
            case '?': token.kind = LikeToken::Kind::AnyChar; break;
            case '#': token.kind = LikeToken::Kind::Digit; break;
            case '[': {
                const auto close = std::find(p.begin() + static_cast<std::ptrdiff_t>(i) + 1, p.end(),
                                             U']');
                if (close == p.end()) RaiseInvalidPattern();
                std::vector<char32_t> list(p.begin() + static_cast<std::ptrdiff_t>(i) + 1, close);
                i = static_cast<size_t>(close - p.begin());
                if (list.empty()) continue;  // "[]" matches nothing (zero characters)
                token.kind = LikeToken::Kind::Set;
                size_t j = 0;
                if (list[0] == '!') {  // "[!]" alone: any one character
                    token.negate = true;
                    j = 1;
                }
                while (j < list.size()) {
                    if (j + 2 < list.size() && list[j + 1] == '-') {
                        if (list[j + 2] < list[j]) RaiseInvalidPattern();
                        token.ranges.emplace_back(list[j], list[j + 2]);
                        j += 3;
                    } else {
                        token.ranges.emplace_back(list[j], list[j]);
                        j += 1;
                    }
                }
                break;
            }
            default: token.literal = p[i]; break;
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace

int32_t Len(const std::string& s) {
    int32_t n = 0;
    for (Utf8Cursor cursor(s); !cursor.AtEnd(); cursor.Next()) ++n;
    return n;
}

std::string Mid(const std::string& s, int32_t start) {
    if (start < 1) Raise(errInvalidArgument);
    return s.substr(ByteOffset(s, start - 1));
}

std::string Mid(const std::string& s, int32_t start, int32_t length) {
    if (start < 1 || length < 0) Raise(errInvalidArgument);
    const size_t from = ByteOffset(s, start - 1);
    const size_t to = from + ByteOffset(std::string_view(s).substr(from), length);
    return s.substr(from, to - from);
}

std::string Left(const std::string& s, int32_t length) {
    if (length < 0) Raise(errInvalidArgument);
    return s.substr(0, ByteOffset(s, length));
}

std::string Right(const std::string& s, int32_t length) {
    if (length < 0) Raise(errInvalidArgument);
    const int32_t count = Len(s);
    if (length >= count) return s;
    return s.substr(ByteOffset(s, count - length));
}

int32_t InStr(const std::string& s1, const std::string& s2) { return InStr(1, s1, s2); }

int32_t InStr(int32_t start, const std::string& s1, const std::string& s2, int32_t compare) {
    if (start < 1) Raise(errInvalidArgument);
    CheckCompare(compare);
    const bool fold = compare == vbTextCompare;
    const CharTable text(s1, fold);
    if (text.Count() == 0 || start > text.Count()) return 0;
    if (s2.empty()) return start;
    const int32_t at = text.Find(CharTable(s2, fold), start - 1);
    return at < 0 ? 0 : at + 1;
}

int32_t InStrRev(const std::string& s1, const std::string& s2, int32_t start, int32_t compare) {
    if (start == 0 || start < -1) Raise(errInvalidArgument);
    CheckCompare(compare);
    const bool fold = compare == vbTextCompare;
    const CharTable text(s1, fold);
    if (start == -1) start = text.Count();
    if (text.Count() == 0 || start > text.Count()) return 0;
    if (s2.empty()) return start;
    const CharTable needle(s2, fold);
    for (int32_t at = start - needle.Count(); at >= 0; --at) {
        if (text.MatchesAt(needle, at)) return at + 1;
    }
    return 0;
}

std::string Replace(const std::string& s, const std::string& find, const std::string& with,
                    int32_t start, int32_t count, int32_t compare) {
    if (start < 1 || count < -1) Raise(errInvalidArgument);
    CheckCompare(compare);
    const bool fold = compare == vbTextCompare;
    const CharTable text(s, fold);
    if (start > text.Count()) return {};
    const size_t from = text.offsets[static_cast<size_t>(start) - 1];
    if (find.empty() || count == 0) return s.substr(from);

    const CharTable needle(find, fold);
    std::string out;
    out.reserve(s.size() - from);
    size_t copied = from;  // byte offset up to which s has been handled
    int32_t at = start - 1;
    for (int32_t done = 0; count == -1 || done < count; ++done) {
        at = text.Find(needle, at);
        if (at < 0) break;
        out.append(s, copied, text.offsets[static_cast<size_t>(at)] - copied);
        out += with;
        at += needle.Count();
        copied = text.offsets[static_cast<size_t>(at)];
    }
    out.append(s, copied);
    return out;
}

std::string Trim(const std::string& s) { return LTrim(RTrim(s)); }

std::string LTrim(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

std::string RTrim(const std::string& s) {
    const size_t last = s.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

std::string UCase(const std::string& s) { return ChangeCase(s, UpperLatin1); }
std::string LCase(const std::string& s) { return ChangeCase(s, LowerLatin1); }

int32_t Asc(const std::string& s) {
    const int code = Cp1252FromUnicode(FirstChar(s).codePoint);
    return code < 0 ? '?' : code;
}

int32_t AscW(const std::string& s) { return static_cast<int32_t>(FirstChar(s).codePoint); }

std::string Chr(int32_t code) {
    if (code < 0 || code > 255) Raise(errInvalidArgument);
    std::string out;
    AppendUtf8(out, UnicodeFromCp1252(static_cast<uint8_t>(code)));
    return out;
}

std::string ChrW(int32_t codePoint) {
    if (codePoint < 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        Raise(errInvalidArgument);
    }
    std::string out;
    AppendUtf8(out, static_cast<char32_t>(codePoint));
    return out;
}

std::string Space(int32_t count) {
    if (count < 0) Raise(errInvalidArgument);
    return std::string(static_cast<size_t>(count), ' ');
}

std::string String(int32_t count, const std::string& character) {
    if (count < 0) Raise(errInvalidArgument);
    const std::string one = character.substr(0, FirstChar(character).size);
    std::string out;
    out.reserve(one.size() * static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) out += one;
    return out;
}

std::string StrReverse(const std::string& s) {
    const CharTable chars(s, false);
    std::string out;
    out.reserve(s.size());
    for (size_t i = chars.keys.size(); i > 0; --i) {
        out.append(s, chars.offsets[i - 1], chars.offsets[i] - chars.offsets[i - 1]);
    }
    return out;
}

std::vector<std::string> Split(const std::string& s, const std::string& delimiter, int32_t limit,
                               int32_t compare) {
    if (limit < -1) Raise(errInvalidArgument);
    CheckCompare(compare);
    if (s.empty() || limit == 0) return {};
    if (delimiter.empty()) return {s};
    const bool fold = compare == vbTextCompare;
    const CharTable text(s, fold);
    const CharTable delim(delimiter, fold);
    std::vector<std::string> parts;
    size_t partStart = 0;  // byte offset
    int32_t at = 0;        // character index to search from
    while (limit == -1 || static_cast<int32_t>(parts.size()) < limit - 1) {
        const int32_t found = text.Find(delim, at);
        if (found < 0) break;
        const size_t foundByte = text.offsets[static_cast<size_t>(found)];
        parts.push_back(s.substr(partStart, foundByte - partStart));
        at = found + delim.Count();
        partStart = text.offsets[static_cast<size_t>(at)];
    }
    parts.push_back(s.substr(partStart));
    return parts;
}

std::string Join(const std::vector<std::string>& parts, const std::string& delimiter) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += delimiter;
        out += parts[i];
    }
    return out;
}

int32_t StrComp(const std::string& a, const std::string& b, int32_t compare) {
    CheckCompare(compare);
    const bool fold = compare == vbTextCompare;
    const CharTable left(a, fold);
    const CharTable right(b, fold);
    const auto order = std::lexicographical_compare_three_way(
        left.keys.begin(), left.keys.end(), right.keys.begin(), right.keys.end());
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

bool TextEquals(std::string_view a, std::string_view b) noexcept {
    Utf8Cursor left(a), right(b);
    while (!left.AtEnd() && !right.AtEnd()) {
        const size_t leftPos = left.Position(), rightPos = right.Position();
        if (KeyOf(left.Next(), a, leftPos, true) != KeyOf(right.Next(), b, rightPos, true)) return false;
    }
    return left.AtEnd() && right.AtEnd();
}

bool Like(const std::string& text, const std::string& pattern) {
    const std::vector<LikeToken> tokens = CompileLike(pattern);
    const std::vector<char32_t> t = CharTable(text, false).keys;
    constexpr size_t none = static_cast<size_t>(-1);
    // Greedy match; on a mismatch the last "*" takes one more character. Since
    // every other token takes exactly one character, going back to the last
    // star is enough, so the work is bounded by len(text) * len(pattern).
    size_t ti = 0, pi = 0, starPi = none, starTi = 0;
    while (ti < t.size()) {
        if (pi < tokens.size() && tokens[pi].kind == LikeToken::Kind::Star) {
            starPi = pi++;
            starTi = ti;
        } else if (pi < tokens.size() && tokens[pi].Matches(t[ti])) {
            ++ti;
            ++pi;
        } else if (starPi != none) {
            pi = starPi + 1;
            ti = ++starTi;
        } else {
            return false;
        }
    }
    while (pi < tokens.size() && tokens[pi].kind == LikeToken::Kind::Star) ++pi;
    return pi == tokens.size();
}

}  // namespace platform::com::vb
