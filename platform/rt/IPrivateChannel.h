#pragma once
// A process-data channel as the runtime's channel list sees it.
#include <string>

#include "platform/com/Variant.h"

namespace platform::com {
class PropertyBag;
}
namespace platform::xml {
class Element;
}

namespace platform::rt {

class ChannelList;
class DTMContext;
class DtmRuntimeGlobal;

class IPrivateChannel : public virtual com::Object {
public:
    // The channel list that holds the channel (the channel keeps it weakly); null until set.
    virtual void Parent(const P<ChannelList>& parent) = 0;
    virtual P<ChannelList> Parent() = 0;
    virtual void ChannelId(const std::string& id) = 0;
    virtual std::string ChannelId() = 0;
    virtual void Active(bool active) = 0;
    virtual bool Active() = 0;
    virtual std::string ProtocolId() = 0;
    virtual bool InitNew(const P<DtmRuntimeGlobal>& dtmInit, const P<DTMContext>& ctx) = 0;
    virtual bool ReadFromPropBag(com::PropertyBag& bag, const P<DTMContext>& ctx) = 0;
    virtual bool WriteToPropBag(com::PropertyBag& bag, const P<DTMContext>& ctx) = 0;
    virtual bool ReadFromChannelParameter(const P<xml::Element>& node, const P<DTMContext>& ctx) = 0;
    virtual bool WriteToChannelParameter(const P<xml::Element>& node, const P<DTMContext>& ctx) = 0;
};

}  // namespace platform::rt
