#include "platform/archive/Archive.h"

#include "platform/com/Error.h"

namespace platform::archive {

namespace {
const std::string kCheckCurve = "CheckCurveEnabled";
}

void Archive::Load(com::PropertyBag& bag, const std::string& prefix) {
    try {
        checkCurveEnabled_ = com::CBool(bag.ReadProperty(prefix + kCheckCurve, Variant::Bool(true)));
    } catch (const com::ComError&) {
        checkCurveEnabled_ = true;  // a damaged entry gives the default
    }
}

void Archive::Save(com::PropertyBag& bag, const std::string& prefix) {
    bag.WriteProperty(prefix + kCheckCurve, Variant::Bool(checkCurveEnabled_), Variant::Bool(true));
}

}  // namespace platform::archive
