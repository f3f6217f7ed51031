#include "frame/PageFrame.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/module/ComponentClasses.h"
#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmFunctionCall.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/Parameters.h"
#include "platform/fdt/IDtmActiveXControl.h"
#include "platform/win/Guid.h"

namespace dtm::frame {

namespace rt = platform::rt;
namespace com = platform::com;

PageFrame::PageFrame(const std::string& deviceTypeDocument, SimulatedDevice::Model deviceModel)
    : deviceTypeDocument_(deviceTypeDocument), deviceModel_(deviceModel) {
    RegisterComponentClasses(registry_);
    // Pages create their child controls by program id through the component's
    // own registry, as in the loaded module.
    RegisterComponentClasses(com::ClassRegistry::Global());
    started_ = session_.StartNew(registry_, deviceTypeDocument_);
    session_.Container()->onCloseGranted = [this](const std::string& invokeId) { PostClose(invokeId); };
}

SimulatedDevice& PageFrame::Device() {
    if (!device_) {
        device_ = std::make_unique<SimulatedDevice>(deviceModel_);
        channel_ = std::make_unique<DeviceChannel>(*session_.Communication(), *device_);
    }
    return *device_;
}

bool PageFrame::Connect() {
    if (connected_) return true;
    Device();
    connected_ = session_.Dtm() && session_.SetCommunication();
    return connected_;
}

bool PageFrame::Disconnect() {
    if (!connected_) return true;
    connected_ = !session_.ReleaseCommunication();
    return !connected_;
}

PageFrame::~PageFrame() {
    session_.Container()->onCloseGranted = nullptr;
    for (const auto& page : open_)
        if (!page->Dropped()) ClosePage(*page);
    open_.clear();
}

rt::DTMContext& PageFrame::Ctx() const { return com::Deref(session_.Context()); }

namespace {

std::shared_ptr<rt::DtmFunctionCall> FunctionCall(int32_t functionId) {
    auto call = std::make_shared<rt::DtmFunctionCall>();
    call->FunctionId(functionId);
    return call;
}

}  // namespace

std::string PageFrame::ProgIdFor(int32_t functionId) {
    const auto ctx = session_.Context();
    return com::Deref(com::Deref(ctx).Functions()).GetActiveXProgId(ctx, FunctionCall(functionId));
}

std::shared_ptr<PageSession> PageFrame::Open(int32_t functionId, const std::string& controlPath) {
    lastProgId_ = ProgIdFor(functionId);
    if (lastProgId_.empty()) return nullptr;
    Ctx().Functions()->ControlPfad(controlPath);
    return OpenProgId(lastProgId_, FunctionCall(functionId)->Render(session_.Context()));
}

bool PageFrame::Invoke(int32_t functionId) {
    return session_.IDtm().IDtm_InvokeFunctionRequest(platform::win::NewGuidString(),
                                                      FunctionCall(functionId)->Render(session_.Context()));
}

std::shared_ptr<PageSession> PageFrame::OpenProgId(const std::string& progId, const std::string& functionCall) {
    auto page = OpenPage(registry_, progId, functionCall, session_.Dtm());
    if (page) {
        std::erase_if(open_, [](const auto& p) { return p->Dropped(); });  // closed on their own request
        open_.push_back(page);
    }
    return page;
}

void PageFrame::PostClose(const std::string& invokeId) {
    for (const auto& page : open_) {
        if (page->Dropped() || page->InvokeId() != invokeId) continue;
        // Weak: a page closed or a frame gone meanwhile is no longer closed here.
        std::weak_ptr<PageSession> weak = page;
        platform::app::EventLoop::Instance().Post([weak] {
            if (const auto session = weak.lock(); session && !session->Dropped()) ClosePage(*session);
        });
        return;
    }
}

bool PageFrame::Close(PageSession& session) {
    const bool released = ClosePage(session);
    if (released)
        open_.erase(std::remove_if(open_.begin(), open_.end(), [&](const auto& p) { return p.get() == &session; }),
                    open_.end());
    return released;
}

namespace {

// Why the file at `path` is no data set of the DTM of `ctx`: "" when it is
// one, a regular file whose identity entries name a device type the DTM supports.
std::string DataSetRefusal(const std::string& path, const std::shared_ptr<rt::DTMContext>& ctx) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    // A name the system refuses to look up (one too long) gives the system's reason.
    if (ec && status.type() != std::filesystem::file_type::not_found)
        return path + " is no data-set file: it cannot be read: " + ec.message();
    if (!std::filesystem::exists(status)) return path + " is no data-set file: there is none";
    // Not a pipe or a device, whose read may never end.
    if (!std::filesystem::is_regular_file(status)) return path + " is no data-set file: it is no regular file";
    rt::DtmRuntimeGlobal identity;
    try {
        com::PropertyBag bag = com::PropertyBag::LoadFromFile(path);
        identity.LoadFromBag(bag);
    } catch (const com::ComError& error) {
        return path + (error.number == com::errFileNotFound ? " is no data-set file: it cannot be read"
                                                              : " is no data-set file: its device type cannot be read");
    }
    if (identity.ManufacturerId().IsEmpty() || identity.DeviceTypeId().IsEmpty())
        return path + " is no data-set file: it names no device type";
    if (!identity.FindSupportedType(ctx))
        return path + " is no data-set file of this DTM: it names device type " + com::CStr(identity.DeviceTypeId()) +
               " of manufacturer " + com::CStr(identity.ManufacturerId());
    return "";
}

}  // namespace

LoadReport PageFrame::LoadInstance(const std::string& path, std::string& refusal) {
    LoadReport report;
    refusal = DataSetRefusal(path, session_.Context());
    if (!refusal.empty()) return report;
    // The frame's lock of the data set holds for the instance that replaces this one.
    const bool locked = com::Deref(Ctx().GuiRegistry()).LockState();
    // Every page is asked before any is closed: a refusal leaves them all open.
    if (!com::Deref(Ctx().GuiRegistry()).AllGuisMayClose()) {
        refusal = "a page would not close";
        return report;
    }
    // The stored instance starts beside this one, which stays, with its pages
    // and its changes, when the stored one does not start or this one does
    // not let go.
    const auto current = session_.Dtm();
    report = session_.StartStored(registry_, path);
    const auto stored = report.loaded ? session_.Dtm() : nullptr;
    session_.SetDtm(current);
    if (!stored) refusal = "the DTM did not start from " + path;
    else if (!CloseAll()) refusal = "a page did not close";
    else if (!Disconnect()) refusal = "the DTM did not release the communication";
    else if (!session_.Release()) refusal = "the DTM did not agree to its release";
    if (!refusal.empty()) return report;
    platform::app::EventLoop::Instance().RunUntilOnlyTicks();  // what the release posted
    session_.SetDtm(stored);
    if (locked) com::Deref(Ctx().Parameters()).OnLockDataSet(session_.SystemTag());
    return report;
}

bool PageFrame::CloseAll() {
    const bool closed = com::Deref(Ctx().GuiRegistry()).CloseAllGuis();
    for (const auto& page : open_) {
        if (!com::Deref(Ctx().GuiRegistry()).FindGui(page->InvokeId())) page->Drop();
    }
    open_.erase(std::remove_if(open_.begin(), open_.end(), [](const auto& p) { return p->Dropped(); }), open_.end());
    return closed;
}

}  // namespace dtm::frame
