#include "platform/rt/ProfibusChannelParameter.h"

#include "platform/com/Error.h"

namespace platform::rt {

namespace {
size_t Slot0(int32_t i) {
    if (i < 1 || i > ProfibusChannelParameter::kPropertyCount) com::Raise(com::errSubscript);
    return static_cast<size_t>(i - 1);
}
}  // namespace

ProfibusChannelParameter::ProfibusChannelParameter() {
    properties_[Slot0(kChannelLocked)] = Variant::Bool(false);
}

const Variant& ProfibusChannelParameter::Property(int32_t i) const {
    return properties_[Slot0(i)];
}

void ProfibusChannelParameter::Property(int32_t i, const Variant& value) {
    properties_[Slot0(i)] = value;
}

bool ProfibusChannelParameter::ChannelLocked() const {
    return com::CBool(Property(kChannelLocked));
}

void ProfibusChannelParameter::ChannelLocked(bool locked) {
    Property(kChannelLocked, Variant::Bool(locked));
}

}  // namespace platform::rt
