#pragma once
// The observable state of a form as text or JSON. The tree follows Container
// and, below a user control, its Controls; siblings in collection order.
//
// Text form: one line per control, two blanks of indent per level:
//   <kind> <name>[.<index>] [flags] [attributes]
// By default only effectively visible controls; with `all` every control and
// the flags hidden, win-hidden, disabled. JSON form: every control.
#include <string>

namespace platform::ui {

class Control;

struct SnapshotOptions {
    bool all = false;   // every control, with flags
    bool tips = false;  // tool tips of rows
};

std::string Snapshot(const Control& root, const SnapshotOptions& options = {});
std::string SnapshotJson(const Control& root);

}  // namespace platform::ui
