// The progress line of the command-line frame: redrawn in place on a terminal,
// a line per tenth elsewhere, so that a log holds no run of 101 figures.
#include <gtest/gtest.h>

#include <sstream>

#include "frame/ProgressLine.h"

namespace dtm::frame {
namespace {

// A whole transfer: 0 to 99 % shown, then 100 % with the display ended.
std::string Transfer(bool terminal) {
    std::ostringstream out;
    ProgressLine line(out, "Upload", terminal);
    for (int32_t percent = 0; percent < 100; ++percent) line(percent, true);
    line(100, false);
    return out.str();
}

TEST(ProgressLine, ElsewhereALinePerTenth) {
    std::string expected;
    for (const char* figure : {"  0", " 10", " 20", " 30", " 40", " 50", " 60", " 70", " 80", " 90", "100"})
        expected += std::string("  Upload ") + figure + " %\n";
    EXPECT_EQ(Transfer(false), expected);
}

TEST(ProgressLine, OnATerminalOneLineRedrawnInPlace) {
    const std::string text = Transfer(true);
    EXPECT_EQ(text.rfind("\r  Upload   0 %\r  Upload   1 %", 0), 0u) << text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    EXPECT_NE(text.find("\r  Upload 100 %\n"), std::string::npos) << text;
}

TEST(ProgressLine, ARepeatedFigureIsNotWrittenAgain) {
    std::ostringstream out;
    ProgressLine line(out, "Download", true);
    line(50, true);
    line(50, true);
    line(100, true);
    line(100, false);
    EXPECT_EQ(out.str(), "\r  Download  50 %\r  Download 100 %\r  Download 100 %\n");
}

}  // namespace
}  // namespace dtm::frame
