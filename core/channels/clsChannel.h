#pragma once
// One process-data channel: towards the frame an FDT channel (its path and its
// channel parameters as XML), towards the runtime an IPrivateChannel (parent
// list, id, active flag, protocol). It owns its PROFIBUS channel parameters.
#include <memory>
#include <string>

#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/IPrivateChannel.h"

namespace platform::rt {
class ProfibusChannelParameter;
}

namespace dtm {

// The FDT protocol id of PROFIBUS DP/V1, answered by every channel.
inline constexpr const char* kProfibusDPV1ProtocolId = "036D1497-387B-11D4-86E1-00E0987270B9";

class clsChannel : public platform::rt::IPrivateChannel, public platform::fdt::IFdtChannel {
public:
    using Ctx = std::shared_ptr<platform::rt::DTMContext>;

    // Active, with new channel parameters whose protocol id is set.
    clsChannel();

    // Never null.
    std::shared_ptr<platform::rt::ProfibusChannelParameter> ProfibusChannelParameter() const { return m_Params; }

    // The parent list's context; null without a parent or when it is gone.
    Ctx Context() const;

    // ---- IPrivateChannel ----
    void Parent(const std::shared_ptr<platform::rt::ChannelList>& parent) override { m_Parent = parent; }
    std::shared_ptr<platform::rt::ChannelList> Parent() override { return m_Parent.lock(); }
    // The 9th channel parameter, as a String.
    void ChannelId(const std::string& id) override;
    std::string ChannelId() override;
    void Active(bool active) override { m_Active = active; }
    bool Active() override { return m_Active; }
    std::string ProtocolId() override { return kProfibusDPV1ProtocolId; }
    // Channels are made anew with the model. Only channel parameters the frame
    // set (SetChannelParameters) are stored with the data set, as the XML of
    // GetChannelParameters under "Channel." and the channel id; a data set
    // without them, or with ones that do not load or name another channel,
    // leaves the model's own. Reading answers whether stored ones were taken.
    bool InitNew(const std::shared_ptr<platform::rt::DtmRuntimeGlobal>&, const Ctx&) override { return true; }
    bool ReadFromPropBag(platform::com::PropertyBag& PropBag, const Ctx& DTMContext) override;
    bool WriteToPropBag(platform::com::PropertyBag& PropBag, const Ctx& DTMContext) override;
    bool ReadFromChannelParameter(const std::shared_ptr<platform::xml::Element>&, const Ctx&) override {
        return false;
    }
    bool WriteToChannelParameter(const std::shared_ptr<platform::xml::Element>&, const Ctx&) override {
        return false;
    }

    // ---- IFdtChannel ----
    // System tag, "/" and the channel id; without a context → 91.
    std::string GetChannelPath() override;
    // The channel parameters as XML (both arguments ignored); "" without a context.
    std::string GetChannelParameters(const std::string& parameterPath, const std::string& protocolId) override;
    // Takes over the 23 channel parameters of the XML when the protocol id is
    // PROFIBUS DP/V1 (case ignored) and the XML loads and names this channel's
    // id; the list is told of the change. Any refusal answers False and
    // changes nothing.
    bool SetChannelParameters(const std::string& parameterPath, const std::string& protocolId,
                              const std::string& xmlDocument) override;

private:
    // The channel parameters of the XML when it loads and names this channel;
    // null otherwise.
    std::shared_ptr<platform::rt::ProfibusChannelParameter> LoadOwn(const std::string& xmlDocument,
                                                                    const Ctx& DTMContext);
    void TakeOver(const platform::rt::ProfibusChannelParameter& loaded);
    std::string BagEntry();

    bool m_Active = true;
    bool m_SetByFrame = false;  // the channel parameters came from the frame
    std::shared_ptr<platform::rt::ProfibusChannelParameter> m_Params;
    std::weak_ptr<platform::rt::ChannelList> m_Parent;
};

}  // namespace dtm
