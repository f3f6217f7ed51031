#include "frame/FrameContainer.h"

#include <algorithm>

#include "frame/FrameTime.h"

namespace dtm::frame {

namespace {
std::string BoolText(bool b) { return b ? "True" : "False"; }
}  // namespace

void FrameContainer::Record(std::string name, const std::string& tag, std::vector<std::string> args) {
    const FrameTime::Charge frameTime;
    events_.push_back({std::move(name), tag, std::move(args)});
}

std::vector<FrameEvent> FrameContainer::EventsNamed(const std::string& name) const {
    std::vector<FrameEvent> out;
    for (const auto& e : events_)
        if (e.name == name) out.push_back(e);
    return out;
}

bool FrameContainer::HasEventSince(size_t from, const std::string& name) const {
    for (size_t i = std::max(from, events_.first()); i < events_.size(); ++i)
        if (events_[i].name == name) return true;
    return false;
}

bool FrameContainer::SaveRequest(const std::string& systemTag) {
    Record("SaveRequest", systemTag);
    return saveAnswer;
}

bool FrameContainer::CloseRequest(const std::string& invokeId) {
    Record("CloseRequest", "", {invokeId});
    if (closeAnswer && onCloseGranted) onCloseGranted(invokeId);
    return closeAnswer;
}

void FrameContainer::OnFunctionChanged(const std::string& tag) { Record("OnFunctionChanged", tag); }
void FrameContainer::OnPreparedToRelease(const std::string& tag) { Record("OnPreparedToRelease", tag); }
void FrameContainer::OnPreparedToReleaseCommunication(const std::string& tag) {
    Record("OnPreparedToReleaseCommunication", tag);
}
void FrameContainer::OnPrint(const std::string& tag, const std::string& functionCall) {
    Record("OnPrint", tag, {functionCall});
}
void FrameContainer::OnInvokedFunctionFinished(const std::string& tag, const std::string& invokeId, bool ok) {
    Record("OnInvokedFunctionFinished", tag, {invokeId, BoolText(ok)});
}
void FrameContainer::OnUploadFinished(const std::string& tag, const std::string& invokeId, bool ok) {
    Record("OnUploadFinished", tag, {invokeId, BoolText(ok)});
}
void FrameContainer::OnDownloadFinished(const std::string& tag, const std::string& invokeId, bool ok) {
    Record("OnDownloadFinished", tag, {invokeId, BoolText(ok)});
}
void FrameContainer::OnErrorMessage(const std::string& tag, const std::string& text) {
    Record("OnErrorMessage", tag, {text});
}
void FrameContainer::OnProgress(const std::string& tag, const std::string& title, int32_t percent, bool show) {
    Record("OnProgress", tag, {title, std::to_string(percent), BoolText(show)});
}
void FrameContainer::OnParameterChanged(const std::string& tag, const std::string& xml) {
    Record("OnParameterChanged", tag, {xml});
}

}  // namespace dtm::frame
