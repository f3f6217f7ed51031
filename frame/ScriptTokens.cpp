#include "frame/ScriptTokens.h"

#include <cctype>

namespace dtm::frame {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the quoted word starting after the opening quote at `i`; False with
// `error` set when it is not closed or holds an unknown escape.
bool ReadQuoted(const std::string& line, size_t& i, std::string& out, std::string& error) {
    while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i >= line.size()) break;
        const char e = line[i++];
        switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case '0': out += '\0'; break;
            case '"': case '\\': case '\'': out += e; break;
            case 'x': {
                const int high = i < line.size() ? HexDigit(line[i]) : -1;
                const int low = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
                if (high < 0 || low < 0) {
                    error = "bad \\x escape";
                    return false;
                }
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                error = std::string("unknown escape \\") + e;
                return false;
        }
    }
    error = "unterminated quote";
    return false;
}

}  // namespace

ScriptLine TokenizeScriptLine(const std::string& line) {
    ScriptLine result;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            ScriptToken token{{}, true};
            ++i;
            if (!ReadQuoted(line, i, token.text, result.error)) return result;
            result.tokens.push_back(std::move(token));
        } else {
            ScriptToken token;
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != '"')
                token.text += line[i++];
            result.tokens.push_back(std::move(token));
        }
    }
    return result;
}

}  // namespace dtm::frame
