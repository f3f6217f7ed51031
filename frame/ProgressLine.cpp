#include "frame/ProgressLine.h"

#include <cstdio>
#include <ostream>

namespace dtm::frame {

ProgressLine::ProgressLine(std::ostream& out, std::string title, bool terminal)
    : out_(out), title_(std::move(title)), terminal_(terminal) {}

void ProgressLine::operator()(int32_t percent, bool show) {
    if (!show) {
        if (open_ || percent != shown_) Write(percent, true);
        open_ = false;
        return;
    }
    const bool due = terminal_ ? percent != shown_ : shown_ < 0 || percent / 10 > shown_ / 10;
    if (due) Write(percent, false);
}

void ProgressLine::Write(int32_t percent, bool end) {
    char figure[16];
    std::snprintf(figure, sizeof figure, "%3d %%", static_cast<int>(percent));
    if (terminal_) {
        out_ << "\r  " << title_ << " " << figure << (end ? "\n" : "");
        open_ = !end;
    } else if (!end || percent != shown_) {
        out_ << "  " << title_ << " " << figure << "\n";
    }
    shown_ = percent;
    out_.flush();
}

}  // namespace dtm::frame
