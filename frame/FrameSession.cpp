#include "frame/FrameSession.h"

#include <algorithm>

#include "core/dtm/DTMState.h"
#include "core/dtm/PageInterfaces.h"
#include "frame/FrameTime.h"
#include "platform/app/EventLoop.h"
#include "platform/archive/Archive.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/Error.h"
#include "platform/com/IPersistPropertyBag.h"
#include "platform/fdt/Boundary.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateDataElement.h"
#include "platform/rt/Parameters.h"
#include "platform/win/Guid.h"

namespace dtm::frame {

using platform::fdt::InvokeFromFrame;

namespace {
constexpr const char* kDtmProgId = "RG38N226_4_07.DTMMain";
}

std::string DeviceTypeDocument(int manufacturerId, int deviceTypeId) {
    return "<FDT xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\"><fdt:DtmDeviceType manufacturerId=\"" +
           std::to_string(manufacturerId) + "\" deviceTypeId=\"" + std::to_string(deviceTypeId) + "\"/></FDT>";
}

std::string ElementsWithoutEntryText(const LoadReport& report) {
    constexpr size_t kNamed = 3;
    const auto& names = report.elementsWithoutEntry;
    if (names.empty()) return "";
    std::string text = std::to_string(names.size()) +
                       (names.size() == 1 ? " element had no entry in the file and holds its default: "
                                          : " elements had no entry in the file and hold their defaults: ");
    for (size_t i = 0; i < names.size() && i < kNamed; ++i) text += (i ? ", \"" : "\"") + names[i] + "\"";
    if (names.size() > kNamed) text += ", …";
    return text;
}

FrameSession::FrameSession(std::string systemTag)
    : systemTag_(std::move(systemTag)),
      container_(std::make_shared<FrameContainer>()),
      communication_(std::make_shared<FrameCommunication>()) {}

bool FrameSession::Create(platform::com::ClassRegistry& factory) {
    dtm_ = InvokeFromFrame("frame-Create", [&] { return factory.CreateObject(kDtmProgId); }, nullptr);
    if (!std::dynamic_pointer_cast<platform::fdt::IDtm>(dtm_)) dtm_.reset();
    return dtm_ != nullptr;
}

platform::fdt::IDtm& FrameSession::IDtm() const {
    return platform::com::Deref(std::dynamic_pointer_cast<platform::fdt::IDtm>(dtm_));
}

std::shared_ptr<platform::rt::DTMContext> FrameSession::Context() const {
    auto provider = std::dynamic_pointer_cast<IDtmContextProvider>(dtm_);
    return provider ? provider->DTMContext() : nullptr;
}

bool FrameSession::Environment() { return IDtm().IDtm_Environment(systemTag_, container_); }
bool FrameSession::InitNew(const std::string& deviceTypeDocument) { return IDtm().IDtm_InitNew(deviceTypeDocument); }
bool FrameSession::Config(const std::string& userInfo) { return IDtm().IDtm_Config(userInfo); }
bool FrameSession::SetCommunication() { return IDtm().IDtm_SetCommunication(communication_); }

bool FrameSession::ReleaseCommunication() {
    const size_t before = container_->Events().size();
    if (!IDtm().IDtm_PrepareToReleaseCommunication()) return false;
    auto& loop = platform::app::EventLoop::Instance();
    while (!container_->HasEventSince(before, "OnPreparedToReleaseCommunication") && loop.PendingCount() > 0)
        loop.Advance(1);
    return IDtm().IDtm_ReleaseCommunication();
}

bool FrameSession::Release() {
    if (!IDtm().IDtm_PrepareToRelease()) return false;
    dtm_.reset();
    return true;
}

bool FrameSession::Persist(const char* where, bool store, platform::com::PropertyBag& bag) {
    auto persist = std::dynamic_pointer_cast<platform::com::IPersistPropertyBag>(dtm_);
    if (!persist) return false;
    return InvokeFromFrame(where, [&] {
        if (store)
            persist->Class_WriteProperties(bag);
        else
            persist->Class_ReadProperties(bag);
        return true;
    }, false);
}

bool FrameSession::Save(platform::com::PropertyBag& bag) { return Persist("frame-Save", true, bag); }
bool FrameSession::Load(platform::com::PropertyBag& bag) { return Persist("frame-Load", false, bag); }

bool FrameSession::SaveToFile(const std::string& path, std::string* why) {
    // The DTM counts itself saved once it has stored into the bag: when the
    // file is not written, its modified mark and data-set state come back.
    const auto ctx = Context();
    const auto parameters = ctx ? ctx->Parameters() : nullptr;
    const bool modified = parameters && parameters->Modified();
    const auto status = parameters ? parameters->Find("~/DataStatus") : nullptr;
    const platform::Variant state = status ? status->TransientValue() : platform::Variant();
    platform::com::PropertyBag bag;
    if (!Save(bag)) {
        if (why) *why = "the DTM did not store its data set";
        return false;
    }
    std::string reason;
    if (bag.SaveToFile(path, &reason)) return true;
    if (why) *why = "the file cannot be written: " + reason;
    if (parameters) parameters->Modified(modified);
    if (status) {
        status->TransientValue(state);
        platform::com::Deref(ctx->GuiRegistry()).NotifyParameterChanged(status, "");
    }
    return false;
}

LoadReport FrameSession::LoadFromFile(const std::string& path) {
    LoadReport report;
    platform::com::PropertyBag bag;
    try {
        bag = platform::com::PropertyBag::LoadFromFile(path);
        report.fileRead = true;
    } catch (const platform::com::ComError&) {
        return report;
    }
    for (const auto& name : bag.Names()) {
        bool damaged = false;
        try {
            damaged = !platform::com::HoldsDataValue(bag.ReadProperty(name));
        } catch (const platform::com::ComError&) {
            damaged = true;
        }
        if (damaged) report.damagedEntries.push_back(name);
    }
    report.loaded = Load(bag);
    // A value that reads well but that its element does not take (out of its
    // range or length) leaves the element at its default too.
    if (report.loaded)
        for (const auto& name : Context()->EntriesNotTaken())
            if (std::find(report.damagedEntries.begin(), report.damagedEntries.end(), name) ==
                report.damagedEntries.end())
                report.damagedEntries.push_back(name + " (a value its element does not take)");
    // A file cut short loads all the same: what it lacks holds its default.
    if (report.loaded)
        for (const auto& element : *Context()->Parameters())
            if (!bag.Contains(element->Name())) report.elementsWithoutEntry.push_back(element->Name());
    // The archive drops the journal lines it cannot read; the entry as a whole read well.
    if (report.loaded)
        if (const auto state = std::dynamic_pointer_cast<dtm::DTMState>(Context()->StateObject()); state && state->Archive)
            if (const size_t lines = state->Archive->DamagedLines(); lines > 0)
                report.damagedEntries.push_back("Archive.Journal (" + std::to_string(lines) +
                                                (lines == 1 ? " line" : " lines") + " dropped)");
    return report;
}

bool FrameSession::StartNew(platform::com::ClassRegistry& factory, const std::string& deviceTypeDocument) {
    return Create(factory) && Environment() && InitNew(deviceTypeDocument) && Config();
}

LoadReport FrameSession::StartStored(platform::com::ClassRegistry& factory, const std::string& path) {
    LoadReport report;
    report.attempted = true;
    if (!Create(factory)) return report;
    report = LoadFromFile(path);
    report.attempted = true;
    if (report.loaded) report.loaded = Environment() && Config();
    return report;
}

}  // namespace dtm::frame

namespace dtm::frame {

TransferOutcome FrameSession::Upload(const std::string& path, const ProgressView& progress) {
    return Transfer(true, path, progress);
}

TransferOutcome FrameSession::Download(const std::string& path, const ProgressView& progress) {
    return Transfer(false, path, progress);
}

TransferOutcome FrameSession::Transfer(bool upload, const std::string& path, const ProgressView& progress) {
    TransferOutcome outcome;
    auto online = std::dynamic_pointer_cast<platform::fdt::IDtmOnlineParameter>(dtm_);
    if (!online) return outcome;
    const std::string invokeId = platform::win::NewGuidString();
    const char* finished = upload ? "OnUploadFinished" : "OnDownloadFinished";
    const auto& events = container_->Events();
    size_t seen = events.size();
    outcome.requested = upload ? online->IDtmOnlineParameter_UploadRequest(invokeId, path)
                               : online->IDtmOnlineParameter_DownloadRequest(invokeId, path);
    if (!outcome.requested) return outcome;
    auto& loop = platform::app::EventLoop::Instance();
    while (!outcome.finished) {
        {
            const FrameTime::Charge frameTime;  // the events read and the progress shown
            // Events the log let go meanwhile are passed over; the end is the newest.
            for (seen = std::max(seen, events.first()); seen < events.size(); ++seen) {
                const FrameEvent& e = events[seen];
                if (e.name == "OnProgress" && progress && e.args.size() == 3)
                    progress(std::stoi(e.args[1]), e.args[2] == "True");
                if (e.name == finished && !e.args.empty() && e.args[0] == invokeId) {
                    outcome.finished = true;
                    outcome.ok = e.args.size() > 1 && e.args[1] == "True";
                }
            }
        }
        if (outcome.finished || loop.PendingCount() == 0) break;
        // Straight to the next piece of work, which is where anything can happen.
        loop.Advance(std::max<int64_t>(loop.NextDueIn(), 1));
    }
    return outcome;
}

}  // namespace dtm::frame
