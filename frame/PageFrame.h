#pragma once
// The test frame of the pages: a DTM created and started as a frame does,
// and the pages it opens by function id or by program id.
#include <memory>
#include <string>
#include <vector>

#include "frame/DeviceChannel.h"
#include "frame/FrameSession.h"
#include "frame/PageHost.h"
#include "frame/SimulatedDevice.h"
#include "platform/com/ClassRegistry.h"

namespace dtm::frame {

class PageFrame {
public:
    // Registers the component's classes and starts a new RXD 218 instance
    // (`deviceTypeDocument` for another device type); Started() tells.
    // The simulated device on the frame's channel is a `deviceModel`.
    explicit PageFrame(const std::string& deviceTypeDocument = DeviceTypeDocument(kManufacturerId, kRxd218),
                       SimulatedDevice::Model deviceModel = SimulatedDevice::Model::RXD218);
    ~PageFrame();
    bool Started() const { return started_; }

    // SetCommunication with the simulated device (created on the first use);
    // True when already connected.
    bool Connect();
    // The frame's release of the communication; True when not connected.
    bool Disconnect();
    bool Connected() const { return connected_; }
    SimulatedDevice& Device();
    // The channel to the device (null before the device's first use).
    DeviceChannel* Channel() const { return channel_.get(); }

    // The page the function manager names for the function (the window-limit
    // page when the window rule applies), with `controlPath` pending; null
    // when the function has no page or its Init fails.
    std::shared_ptr<PageSession> Open(int32_t functionId, const std::string& controlPath = "");
    // The program id of the page the function manager names for the function
    // ("" for a function without a page).
    std::string ProgIdFor(int32_t functionId);
    // IDtm_InvokeFunctionRequest of a function without a page (the print
    // function); answers what the DTM answered.
    bool Invoke(int32_t functionId);
    std::shared_ptr<PageSession> OpenProgId(const std::string& progId, const std::string& functionCall = "");
    // The program id the last Open asked for ("" before).
    const std::string& LastProgId() const { return lastProgId_; }
    bool Close(PageSession& session);
    // The registry's CloseAllGuis; the pages it released are dropped.
    bool CloseAll();

    // Replaces the instance by one loaded from a data-set file, as a frame
    // opens a stored project: every open page asked whether it would close,
    // the stored instance started, then the pages closed, the communication
    // and the instance released, and the stored one in its place, under the
    // frame's lock when it held one. A file that is no data set of this DTM
    // (no regular file, or no identity entries naming a device type the DTM
    // supports), a page that would not close, and a stored instance that
    // does not start (`attempted`, not `loaded`) leave the current instance
    // and its pages as they are. `refusal` says why the current instance
    // stays ("" when it was replaced).
    LoadReport LoadInstance(const std::string& path, std::string& refusal);

    FrameSession& Session() { return session_; }
    platform::rt::DTMContext& Ctx() const;
    platform::com::ClassRegistry& Registry() { return registry_; }

private:
    // A page's granted close request: the page is closed as by Close once the
    // request has returned, on the next pump of the event loop.
    void PostClose(const std::string& invokeId);

    platform::com::ClassRegistry registry_;
    FrameSession session_;
    std::string deviceTypeDocument_;
    bool started_ = false;
    bool connected_ = false;
    SimulatedDevice::Model deviceModel_;
    std::unique_ptr<SimulatedDevice> device_;
    std::unique_ptr<DeviceChannel> channel_;
    std::string lastProgId_;
    std::vector<std::shared_ptr<PageSession>> open_;
};

}  // namespace dtm::frame
