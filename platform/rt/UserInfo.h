#pragma once
// The frame user of a DTM instance and the level that decides what is editable.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class UserInfo : public com::Object {
public:
    explicit UserInfo(W<DTMContext> ctx = {}) : context_(std::move(ctx)) {}

    // Takes the level from the first `userLevel` or `level` attribute of the
    // frame's user document. Role names map to 0..5 (observer, operator,
    // maintenance, planningEngineer, administrator, OEM); a plain number is
    // taken as it is. Malformed XML, no such attribute or an unknown value:
    // False, and the level stays.
    bool Config(const std::string& xml, const P<DTMContext>& ctx);

    // 0 until Config, so nothing is editable before the frame names the user.
    int32_t UserLevel() const { return userLevel_; }
    // A new level changes what the open pages may edit: they are told as of a
    // new parameter set, so that every row takes its lock again.
    void UserLevel(int32_t level);

private:
    W<DTMContext> context_;
    int32_t userLevel_ = 0;
};

}  // namespace platform::rt
