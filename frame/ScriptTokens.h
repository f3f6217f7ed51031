#pragma once
// The words of one command line of a page script: separated by blanks, a
// double-quoted word keeps its blanks and takes the C escapes \" \\ \n \t \r
// \0 and \xHH; "#" outside quotes starts a comment.
#include <string>
#include <vector>

namespace dtm::frame {

struct ScriptToken {
    std::string text;
    bool quoted = false;
};

struct ScriptLine {
    std::vector<ScriptToken> tokens;
    std::string error;  // why the line cannot be read ("" when it can)
};

ScriptLine TokenizeScriptLine(const std::string& line);

}  // namespace dtm::frame
