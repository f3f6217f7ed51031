#pragma once
// The progress of a transfer as the command-line frame prints it: on a
// terminal one line, redrawn in place as the figure changes; elsewhere (a
// file, a pipe) a line of its own at each further tenth.
#include <cstdint>
#include <iosfwd>
#include <string>

namespace dtm::frame {

class ProgressLine {
public:
    ProgressLine(std::ostream& out, std::string title, bool terminal);
    // One OnProgress event; `show` False ends the display with the figure it brings.
    void operator()(int32_t percent, bool show);

private:
    void Write(int32_t percent, bool end);

    std::ostream& out_;
    std::string title_;
    bool terminal_;
    int32_t shown_ = -1;  // the figure written last (-1: none yet)
    bool open_ = false;   // a line is shown and not yet ended
};

}  // namespace dtm::frame
