// The channel list of one DTM instance and the collection the frame sees.
#include "platform/rt/ChannelList.h"

#include "platform/com/Error.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateChannel.h"
#include "platform/rt/Parameters.h"

namespace platform::rt {

namespace {

// The frame's view of the list: the channels that have an FDT channel face.
class ChannelCollectionView : public fdt::IFdtChannelCollection {
public:
    explicit ChannelCollectionView(P<ChannelList> list) : list_(std::move(list)) {}
    int32_t Count() override { return list_->Count(); }
    P<fdt::IFdtChannel> Item(int32_t index) override {
        return std::dynamic_pointer_cast<fdt::IFdtChannel>(list_->Item(index));
    }

private:
    P<ChannelList> list_;
};

}  // namespace

void ChannelList::Add(const P<IPrivateChannel>& channel, const Variant& /*before*/, const Variant& /*after*/) {
    com::Deref(channel).Parent(shared_from_this());
    channels_.push_back(channel);
}

P<com::Object> ChannelList::Item(int32_t i) const {
    if (i < 1 || i > Count()) com::Raise(com::errSubscript);
    return channels_[static_cast<size_t>(i - 1)];
}

P<fdt::IFdtChannelCollection> ChannelList::ChannelCollection() {
    return std::make_shared<ChannelCollectionView>(shared_from_this());
}

void ChannelList::ChannelsChanged(int32_t /*reason*/) {
    auto ctx = Context();
    if (!ctx) return;
    if (auto params = ctx->Parameters()) params->Modified(true);
    if (auto events = ctx->DTMEvents()) events->OnParameterChanged(ctx->SystemTag(), "");
}

}  // namespace platform::rt
