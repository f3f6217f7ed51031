#include "platform/win/ProfileString.h"

#include "platform/com/TextCoding.h"
#include "platform/win/Files.h"

namespace platform::win {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string TrimRight(std::string s) {
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    return s;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string ReadText(const std::string& file, bool& found) {
    std::string bytes;
    found = ReadFileBytes(file, bytes);
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    return com::IsValidUtf8(bytes) ? bytes : com::Utf8FromCp1252(bytes);
}

}  // namespace

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& deflt) {
    bool found = false;
    const std::string text = ReadText(file, found);
    if (!found || key.empty()) return TrimRight(deflt);
    const std::string wantedSection = Trim(section), wantedKey = Trim(key);

    bool inSection = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;

        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.rfind(']');
            if (close != std::string::npos) inSection = SameIgnoringCase(Trim(line.substr(1, close - 1)), wantedSection);
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (SameIgnoringCase(Trim(line.substr(0, eq)), wantedKey)) return Unquote(Trim(line.substr(eq + 1)));
    }
    return TrimRight(deflt);
}

}  // namespace platform::win
