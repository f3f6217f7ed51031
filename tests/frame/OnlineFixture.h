#pragma once
// A new RXD 218 instance with the simulated device on its frame channel.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/DtmFixture.h"
#include "frame/DeviceChannel.h"
#include "frame/SimulatedDevice.h"
#include "platform/fdt/DtmInterfaces.h"

namespace dtm::testing {

class OnlineFixture : public DtmFixture {
protected:
    using Address = std::pair<int, int>;

    void SetUp() override {
        StartNew();
        ASSERT_TRUE(session.SetCommunication());
    }

    platform::fdt::IDtmOnlineParameter& Online() const {
        return dynamic_cast<platform::fdt::IDtmOnlineParameter&>(*session.Dtm());
    }
    platform::fdt::IDtmParameter& Parameter() const {
        return dynamic_cast<platform::fdt::IDtmParameter&>(*session.Dtm());
    }

    // The device requests the frame's channel passed on since request number `from`.
    std::vector<frame::DeviceRequest> DeviceRequests(size_t from = 0) const {
        std::vector<frame::DeviceRequest> out;
        const auto& requests = session.Communication()->Requests();
        for (size_t i = std::max(from, requests.first()); i < requests.size(); ++i) {
            frame::DeviceRequest request;
            if (requests[i].kind == "Transaction" && frame::DeviceChannel::ParseRequest(requests[i].xml, request))
                out.push_back(request);
        }
        return out;
    }
    size_t RequestCount() const { return session.Communication()->Requests().size(); }

    // A parameter document that sets the Physical Block's tag.
    static std::string TagDocument(const std::string& text) {
        return "<FDT xmlns:fdt=\"urn:fdt:types\"><DtmParameter><ParameterSet><fdt:DtmVariable name=\"PHYS/TAG_DESC\">"
               "<fdt:Value><fdt:Display string=\"" + text + "\"/></fdt:Value></fdt:DtmVariable></ParameterSet>"
               "</DtmParameter></FDT>";
    }

    // The distinct addresses of the elements the frame's upload reads.
    std::set<Address> UploadAddresses() const {
        std::set<Address> addresses;
        for (const auto& el : Params())
            if (el->IsUploadParam(session.Context())) addresses.insert({el->Slot(), el->Index()});
        return addresses;
    }

    frame::SimulatedDevice device{frame::SimulatedDevice::Model::RXD218};
    frame::DeviceChannel channel{*session.Communication(), device};
};

}  // namespace dtm::testing
