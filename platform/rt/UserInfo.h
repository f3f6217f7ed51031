#pragma once
// The frame user of a DTM instance and the level that decides what is editable.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class UserInfo : public com::Object {
public:
    // Takes the level from the first `userLevel` or `level` attribute of the
    // frame's user document. Role names map to 0..5 (observer, operator,
    // maintenance, planningEngineer, administrator, OEM); a plain number is
    // taken as it is. Malformed XML, no such attribute or an unknown value:
    // False, and the level stays.
    bool Config(const std::string& xml, const P<DTMContext>& ctx);

    // 0 until Config, so nothing is editable before the frame names the user.
    int32_t UserLevel() const { return userLevel_; }
    void UserLevel(int32_t level) { userLevel_ = level; }

private:
    int32_t userLevel_ = 0;
};

}  // namespace platform::rt
