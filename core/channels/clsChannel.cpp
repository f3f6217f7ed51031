// clsChannel: a process-data channel and its FDT channel parameters.
#include "core/channels/clsChannel.h"

#include "core/services/APIHelpers.h"
#include "model/elements/DataModelHelpers.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm {

namespace com = platform::com;
using platform::Variant;
using ChannelParams = platform::rt::ProfibusChannelParameter;

clsChannel::clsChannel() : m_Params(std::make_shared<ChannelParams>()) {
    m_Params->ProtocolId(Variant::Str(ProtocolId()));
}

clsChannel::Ctx clsChannel::Context() const {
    auto parent = m_Parent.lock();
    return parent ? parent->Context() : nullptr;
}

void clsChannel::ChannelId(const std::string& id) { m_Params->ChannelId(Variant::Str(id)); }

std::string clsChannel::ChannelId() { return com::CStr(m_Params->ChannelId()); }

std::string clsChannel::GetChannelPath() {
    auto ctx = Context();
    return com::Deref(ctx).SystemTag() + "/" + ChannelId();
}

std::string clsChannel::GetChannelParameters(const std::string& /*parameterPath*/,
                                             const std::string& /*protocolId*/) {
    auto ctx = Context();
    return ctx ? m_Params->Render(ctx) : std::string();
}

bool clsChannel::SetChannelParameters(const std::string& /*parameterPath*/, const std::string& protocolId,
                                      const std::string& xmlDocument) {
    auto ctx = Context();
    if (!ctx) return false;
    if (!IsSameInvokeId(protocolId, ProtocolId())) return false;
    auto loaded = LoadOwn(xmlDocument, ctx);
    if (!loaded) return false;
    if (auto parent = m_Parent.lock()) parent->ChannelsChanged(1);
    TakeOver(*loaded);
    m_SetByFrame = true;
    OnChannelParamsSet(*this, ctx);
    return true;
}

bool clsChannel::WriteToPropBag(com::PropertyBag& PropBag, const Ctx& DTMContext) {
    if (m_SetByFrame) PropBag.WriteProperty(BagEntry(), Variant::Str(m_Params->Render(DTMContext)));
    return true;
}

bool clsChannel::ReadFromPropBag(com::PropertyBag& PropBag, const Ctx& DTMContext) {
    Variant stored;
    try {
        stored = PropBag.ReadProperty(BagEntry());
    } catch (const com::ComError&) {
        return false;  // an unreadable entry: the model's own stay
    }
    if (!stored.IsString()) return false;
    auto loaded = LoadOwn(stored.StrRef(), DTMContext);
    if (!loaded) return false;
    TakeOver(*loaded);
    m_SetByFrame = true;
    return true;
}

std::shared_ptr<ChannelParams> clsChannel::LoadOwn(const std::string& xmlDocument, const Ctx& DTMContext) {
    auto loaded = std::make_shared<ChannelParams>();
    if (!loaded->Load(xmlDocument, DTMContext)) return nullptr;
    try {
        if (!com::Equals(loaded->ChannelId(), m_Params->ChannelId())) return nullptr;
    } catch (const com::ComError&) {
        return nullptr;  // an id that cannot be compared (an object or an array) is another channel's
    }
    return loaded;
}

void clsChannel::TakeOver(const ChannelParams& loaded) {
    for (int32_t i = 1; i <= ChannelParams::kPropertyCount; ++i) m_Params->Property(i, loaded.Property(i));
}

std::string clsChannel::BagEntry() { return "Channel." + ChannelId(); }

}  // namespace dtm
