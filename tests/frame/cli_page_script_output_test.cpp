// The command-line frame's output for a page script, through the binary
// itself: JSON that a JSON reader takes whatever bytes a text holds, the
// service code's write masked in the device log, a script that starts with a
// UTF-8 byte order mark. Each script lies in a folder of the test's own.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/TempFolder.h"

namespace {

// A strict reader of JSON text (RFC 8259), written apart from the frame's own
// coding: Whole() is True when the text is one value and nothing else, its
// strings well-formed UTF-8 without raw control characters.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}
    bool Whole() {
        Blanks();
        if (!Value()) return false;
        Blanks();
        return at_ == text_.size();
    }

private:
    bool Value() {
        if (at_ >= text_.size()) return false;
        switch (text_[at_]) {
            case '{': return Items('}', true);
            case '[': return Items(']', false);
            case '"': return String();
            case 't': return Word("true");
            case 'f': return Word("false");
            case 'n': return Word("null");
            default: return Number();
        }
    }
    bool Items(char close, bool object) {
        ++at_;
        Blanks();
        if (Take(close)) return true;
        do {
            Blanks();
            if (object) {
                if (!String()) return false;
                Blanks();
                if (!Take(':')) return false;
                Blanks();
            }
            if (!Value()) return false;
            Blanks();
        } while (Take(','));
        return Take(close);
    }
    bool String() {
        if (!Take('"')) return false;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                if (++at_ >= text_.size()) return false;
                const char escape = text_[at_++];
                if (escape == 'u') {
                    for (int i = 0; i < 4; ++i)
                        if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_++]))) return false;
                } else if (std::string_view("\"\\/bfnrt").find(escape) == std::string_view::npos) {
                    return false;
                }
                continue;
            }
            const size_t size = Utf8Size();
            if (size == 0) return false;
            at_ += size;
        }
        return false;
    }
    // The bytes of the well-formed UTF-8 character at `at_`; 0 when there is none.
    size_t Utf8Size() const {
        const auto lead = static_cast<unsigned char>(text_[at_]);
        if (lead < 0x80) return 1;
        // Its size, the bits of the lead byte and the least code point of that size.
        struct Form {
            unsigned char first, last;
            size_t size;
            unsigned char bits;
            char32_t least;
        };
        static constexpr Form kForms[] = {{0xC2, 0xDF, 2, 0x1F, 0x80}, {0xE0, 0xEF, 3, 0x0F, 0x800},
                                          {0xF0, 0xF4, 4, 0x07, 0x10000}};
        const Form* form = nullptr;
        for (const Form& f : kForms)
            if (lead >= f.first && lead <= f.last) form = &f;
        if (!form) return 0;
        const size_t size = form->size;
        char32_t code = lead & form->bits;
        if (at_ + size > text_.size()) return 0;
        for (size_t i = 1; i < size; ++i) {
            const auto next = static_cast<unsigned char>(text_[at_ + i]);
            if ((next & 0xC0) != 0x80) return 0;
            code = code << 6 | (next & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        return code < form->least || surrogate || code > 0x10FFFF ? 0 : size;
    }
    bool Number() {
        const size_t start = at_;
        Take('-');
        if (!Take('0') && !Digits()) return false;
        if (Take('.') && !Digits()) return false;
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!Digits()) return false;
        }
        return at_ > start;
    }
    bool Digits() {
        const size_t start = at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        return at_ > start;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    bool Take(char c) {
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    void Blanks() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) ++at_;
    }

    std::string_view text_;
    size_t at_ = 0;
};

TEST(JsonReader, TakesJsonAndNothingElse) {
    for (const char* good : {"{}", "[1, -0.5e+3, true, null]", R"({"a": "\u00FF\"", "b": ["\u00e9"]})",
                             "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\""})
        EXPECT_TRUE(JsonReader(good).Whole()) << good;
    for (const char* bad : {"", "{", "{} x", "[1,]", "\"\xFF\"", "\"\xC3(\"", "\"\x01\"", "\"\xED\xA0\x80\"",
                            "\"\xC0\xAF\"", "\"\\x41\"", "01", "{a: 1}"})
        EXPECT_FALSE(JsonReader(bad).Whole()) << bad;
}

struct CliRun {
    int exitCode = -1;
    std::string out;  // standard output and standard error
};

class CliPageScript : public ::testing::Test {
protected:
    // Runs the frame on `script`, written as it is into the test's folder.
    CliRun Run(const std::string& script, const std::string& options = "") {
        const std::string file = folder_.Write("script.pages", script);
        const std::string command =
            std::string(DTM_FRAME_CLI) + " pages " + options + " --script '" + file + "' 2>&1 </dev/null";
        CliRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
        const int status = ::pclose(pipe);
        if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
        return run;
    }

    TempFolder folder_;
};

TEST_F(CliPageScript, ShowJsonIsJsonWhateverBytesATextHolds) {
    const CliRun run = Run("open RG38N226_4_07.ctlIdent\n"
                           "type ctlParameter.0 \"\\xc3\\x28\\xff\\x01x\"\n"
                           "show --json\n"
                           "show ctlParameter.0 --json\n");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    int objects = 0;
    for (size_t start = 0, end; start < run.out.size(); start = end + 1) {
        end = run.out.find('\n', start);
        if (end == std::string::npos) end = run.out.size();
        const std::string line = run.out.substr(start, end - start);
        if (line.empty() || line.front() != '{') continue;
        ++objects;
        EXPECT_TRUE(JsonReader(line).Whole()) << line;
        EXPECT_NE(line.find(R"("display": "\u00C3(\u00FF\u0001x")"), std::string::npos) << line;
    }
    EXPECT_EQ(objects, 2) << run.out;
}

TEST_F(CliPageScript, DeviceLogMasksTheServiceCodeWritten) {
    const CliRun run = Run("open 10\ntab TabStrip 3\n"
                           "type ctlProtect.ctlParameter.0 \"SERVICE42\"\n"
                           "click ctlProtect.cmdServiceCode --yes\nrun\ndevice log\n",
                           "--online");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find(" w {** ** ** ** ** ** ** ** **} -> ok\n"), std::string::npos) << run.out;
    // "SERVICE42" in hex, in any part of the output.
    EXPECT_EQ(run.out.find("53 45 52 56 49 43 45 34 32"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("SERVICE42"), std::string::npos) << run.out;
}

TEST_F(CliPageScript, AByteOrderMarkBeforeTheFirstCommandIsSkipped) {
    const CliRun run = Run("\xEF\xBB\xBFpages\n", "--echo");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("\n> pages\nno page open\n"), std::string::npos) << run.out;
}

}  // namespace
