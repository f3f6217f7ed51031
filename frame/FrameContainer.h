#pragma once
// The test frame's container of one DTM instance: it answers the DTM's requests
// and records the events the DTM sends, so tests and the command-line frame can
// see what happened.
#include <functional>
#include <string>
#include <vector>

#include "frame/RecentLog.h"
#include "platform/fdt/FrameInterfaces.h"

namespace dtm::frame {

struct FrameEvent {
    std::string name;               // "OnProgress", "SaveRequest", ...
    std::string systemTag;
    std::vector<std::string> args;  // the further arguments as text
};

class FrameContainer : public platform::fdt::IFdtContainer, public platform::fdt::IDtmEvents {
public:
    // IFdtContainer
    bool SaveRequest(const std::string& systemTag) override;
    bool CloseRequest(const std::string& invokeId) override;

    // IDtmEvents
    void OnFunctionChanged(const std::string& systemTag) override;
    void OnPreparedToRelease(const std::string& systemTag) override;
    void OnPreparedToReleaseCommunication(const std::string& systemTag) override;
    void OnPrint(const std::string& systemTag, const std::string& functionCall) override;
    void OnInvokedFunctionFinished(const std::string& systemTag, const std::string& invokeId, bool ok) override;
    void OnUploadFinished(const std::string& systemTag, const std::string& invokeId, bool ok) override;
    void OnDownloadFinished(const std::string& systemTag, const std::string& invokeId, bool ok) override;
    void OnErrorMessage(const std::string& systemTag, const std::string& text) override;
    void OnProgress(const std::string& systemTag, const std::string& title, int32_t percent, bool show) override;
    void OnParameterChanged(const std::string& systemTag, const std::string& xml) override;

    // The last events (RecentLog::kDefaultCapacity unless KeepLast says otherwise).
    const RecentLog<FrameEvent>& Events() const { return events_; }
    std::vector<FrameEvent> EventsNamed(const std::string& name) const;
    // An event of that name at position `from` or later.
    bool HasEventSince(size_t from, const std::string& name) const;
    void ClearEvents() { events_.clear(); }
    void KeepLast(size_t events) { events_.Keep(events); }

    // What the next save and close requests answer (True unless a test says otherwise).
    bool saveAnswer = true;
    bool closeAnswer = true;
    // Told the invoke id of a page whose close request is granted, while the
    // request runs: the frame that hosts the page closes it afterwards.
    std::function<void(const std::string& invokeId)> onCloseGranted;

private:
    void Record(std::string name, const std::string& tag, std::vector<std::string> args = {});
    RecentLog<FrameEvent> events_;
};

}  // namespace dtm::frame
