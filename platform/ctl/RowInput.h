#pragma once
// User input on a parameter row, trapped at the boundary like ui::Input: each
// answers whether the row took it; a row that is not effectively visible and
// enabled takes nothing; an error raised by the row's link is recorded in
// app::ErrorSink with where = "input <control path> <kind>" and answers False.
#include <cstdint>
#include <string>
#include <vector>

namespace platform::ctl {

class ctlParameter;

namespace RowInput {

// Starts an edit when none runs, sets the text (cut and upper-cased as the
// row says) and raises Change; plain rows (kinds 0 and 1) only.
bool Type(ctlParameter& row, const std::string& text);
// Ends the edit in progress, committed / with the value it began with.
bool Commit(ctlParameter& row);
bool Cancel(ctlParameter& row);
// Picks a code (kinds 2 and 3; kind 3 only a code of its value list).
bool Select(ctlParameter& row, int32_t code);
// Sets exactly the given bits (kind 4).
bool SetBits(ctlParameter& row, const std::vector<int32_t>& indexes);
bool Click(ctlParameter& row);
// Answers the key code the row's handler left (the code itself when refused).
int32_t Key(ctlParameter& row, int32_t keyCode, int32_t shift);
bool Menu(ctlParameter& row, int32_t item);

}  // namespace RowInput

}  // namespace platform::ctl
