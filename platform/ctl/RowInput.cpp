#include "platform/ctl/RowInput.h"

#include <functional>

#include "platform/ctl/ctlParameter.h"
#include "platform/ui/Input.h"

namespace platform::ctl::RowInput {

namespace {
bool On(ctlParameter& row, const std::string& kind, const std::function<bool()>& input) {
    if (!ui::TakesInput(row)) return false;
    return ui::Dispatch(ui::InputWhere(row, kind), input);
}
}  // namespace

bool Type(ctlParameter& row, const std::string& text) {
    return On(row, "Type", [&] { return row.UserType(text); });
}
bool Commit(ctlParameter& row) {
    return On(row, "Commit", [&] { return row.UserCommit(); });
}
bool Cancel(ctlParameter& row) {
    return On(row, "Cancel", [&] { return row.UserCancel(); });
}
bool Select(ctlParameter& row, int32_t code) {
    return On(row, "Select", [&] { return row.UserSelect(code); });
}
bool SetBits(ctlParameter& row, const std::vector<int32_t>& indexes) {
    return On(row, "SetBits", [&] { return row.UserSetBits(indexes); });
}
bool Click(ctlParameter& row) {
    return On(row, "Click", [&] { return row.UserClick(); });
}
int32_t Key(ctlParameter& row, int32_t keyCode, int32_t shift) {
    int32_t code = keyCode;
    On(row, "Key", [&] { return row.UserKey(code, shift); });
    return code;
}
bool Menu(ctlParameter& row, int32_t item) {
    return On(row, "Menu", [&] { return row.UserMenu(item); });
}

}  // namespace platform::ctl::RowInput
