#pragma once
// The channel list of one DTM instance: the process-data channels in creation
// order (2i-1 slot i's value channel, 2i its status channel).
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::fdt {
class IFdtChannelCollection;
}

namespace platform::rt {

class DTMContext;
class IPrivateChannel;

class ChannelList : public com::Object, public std::enable_shared_from_this<ChannelList> {
public:
    explicit ChannelList(W<DTMContext> ctx = {}) : context_(std::move(ctx)) {}

    // Appends the channel and sets its Parent to this list.
    void Add(const P<IPrivateChannel>& channel, const Variant& before = Variant::Missing(),
             const Variant& after = Variant::Missing());
    int32_t Count() const { return static_cast<int32_t>(channels_.size()); }
    // 1-based; out of range → 9.
    P<com::Object> Item(int32_t i) const;
    // Removes every channel.
    void Clear() { channels_.clear(); }

    // What the DTM hands the frame as its channels.
    P<fdt::IFdtChannelCollection> ChannelCollection();
    // The owning instance's context; null when it is gone.
    P<DTMContext> Context() const { return context_.lock(); }
    // Sets the modified mark and sends OnParameterChanged(tag, "").
    void ChannelsChanged(int32_t reason);

private:
    W<DTMContext> context_;
    std::vector<P<IPrivateChannel>> channels_;
};

}  // namespace platform::rt
