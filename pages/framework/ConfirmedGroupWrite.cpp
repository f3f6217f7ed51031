#include "pages/framework/ConfirmedGroupWrite.h"

#include <map>
#include <utility>

#include "core/services/ProjectHelpers.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransactionResult.h"

namespace dtm {

namespace app = platform::app;
namespace com = platform::com;
namespace rt = platform::rt;

namespace {

// A value set for the device and not yet written: a read that lands before
// the write leaves it in the element (the write's answer clears the flag).
constexpr int32_t kFlagChangedOnline = 0x20;

void TraceIf(const PageBase& page, const std::string& member, const char* detail) {
    if (detail) page.Trace(member, detail);
}

clsDataElement& ElementOf(const rt::El& write) { return com::Deref(std::dynamic_pointer_cast<clsDataElement>(write)); }

// The commands on their way to one element (of open pages, or of pages closed
// after they went out), in the order of their clicks, and what the element
// gets back when none of them is carried out.
struct CommandsOnTheWay {
    // The value before the first of them, or the last one the device carried out.
    platform::Variant before;
    // The device's value at that point: another value there is a read since.
    platform::Variant deviceBefore;
    bool changedOnlineBefore = false;
    std::vector<std::pair<uint64_t, platform::Variant>> commands;  // serial, value sent
};

std::map<const clsDataElement*, CommandsOnTheWay>& OnTheWay() {
    static std::map<const clsDataElement*, CommandsOnTheWay> elements;
    return elements;
}

uint64_t NextSerial() {
    static uint64_t last = 0;
    return ++last;
}

// Takes the command off the element's list; the list, or none.
CommandsOnTheWay* TakeOff(uint64_t serial, const clsDataElement& element) {
    const auto it = OnTheWay().find(&element);
    if (it == OnTheWay().end()) return nullptr;
    std::erase_if(it->second.commands, [&](const auto& command) { return command.first == serial; });
    return &it->second;
}

// Whether the process's own result for the write says the device took it: a
// transfer cut short before the write has no result for it.
bool TakenIn(const platform::P<rt::DTMContext>& ctx, const std::string& invokeId, const rt::El& write) {
    for (const auto& result : com::Deref(com::Deref(ctx).CommService()).GetTransactionResults(invokeId))
        if (result.IsWrite && result.DataElement == write && !result.Failed) return true;
    return false;
}

}  // namespace

GroupWriteResult ConfirmedGroupWriter::Write(PageBase& page, rt::TransGrp& group, const GroupWriteRequest& request) {
    const auto callback = std::dynamic_pointer_cast<rt::IPrivateProcess>(page.weak_from_this().lock());
    if (!callback) com::Raise(13, "The page takes no process callback", page.TypeName());
    const auto ctx = page.GetContext();
    auto& element = ElementOf(request.write);
    TraceIf(page, request.traceMember, request.traceAtEntry);
    if (com::Deref(ctx).UserLevel() < element.RequiredUserLevel) {
        element.TransientValue = request.previous;
        ctx->MsgBox(GetLangText(ctx, "error_user_level_too_low"), app::kButtonsOKExclamation);
        return GroupWriteResult::NotAllowed;
    }
    // Nothing goes on the wire: the value goes back before any notice told
    // anyone of it. While the group is busy, the running transfer is not
    // joined: the click asks nothing and says why.
    if (group.IsBusy()) {
        element.TransientValue = request.previous;
        ctx->MsgBox(GetLangText(ctx, "error_command_running", platform::Variant::Str(request.arg1)),
                    app::kButtonsOKExclamation);
        return GroupWriteResult::Busy;
    }
    const std::string prompt = GetLangText(ctx, request.promptKey, platform::Variant::Str(request.arg1));
    const bool confirmed = ctx->MsgBox(prompt, app::kButtonsYesNoQuestionDefaultNo) == app::kAnswerYes;
    if (!confirmed) {
        element.TransientValue = request.previous;
        return GroupWriteResult::Declined;
    }
    TraceIf(page, request.traceMember, request.traceConfirmed);
    if (request.beforeWrite) request.beforeWrite();
    if (group.OpenConnection() == 0) {
        group.AddRequest(request.write, true);
        for (const auto& read : request.reads) group.AddRequest(read, false);
        TraceIf(page, request.traceMember, request.traceOpened);
    }
    const bool changedOnline = (element.StatusFlags() & kFlagChangedOnline) != 0;
    if (group.Execute(callback, true, true) == 0) {
        // A cyclic read of the element may still be on its way: it must not
        // replace the command before the write takes it.
        element.SetStatusFlag(kFlagChangedOnline);
        auto& way = OnTheWay()[&element];
        if (way.commands.empty()) {
            way.before = request.previous;
            way.deviceBefore = element.DeviceValue;
            way.changedOnlineBefore = changedOnline;
        }
        const uint64_t serial = NextSerial();
        way.commands.emplace_back(serial, element.TransientValue);
        running_ = Running{request.write,       element.TransientValue, serial,
                           group.GroupInvokeId(), request.arg1,         request.sayNotTaken,
                           request.whenTaken,   request.traceMember,    request.traceNotTaken};
        return GroupWriteResult::Started;
    }
    group.CloseConnection();
    element.TransientValue = request.previous;
    ctx->MsgBox(GetLangText(ctx, "error_at_write_status"), app::kButtonsOKOnly);
    TraceIf(page, request.traceMember, request.traceRefused);
    return GroupWriteResult::Refused;
}

GroupWriteEnd ConfirmedGroupWriter::Finished(PageBase& page, const rt::TransGrp& group, const std::string& invokeId) {
    if (!running_ || !group.OwnsInvokeId(invokeId)) return GroupWriteEnd::None;
    const Running write = std::move(*running_);
    running_.reset();
    const auto ctx = page.GetContext();
    const bool taken = TakenIn(ctx, invokeId, write.write);
    Judge(ctx, write, taken, &page);
    return taken ? GroupWriteEnd::Taken : GroupWriteEnd::NotTaken;
}

void ConfirmedGroupWriter::PageClosed(PageBase& page) {
    if (!running_) return;
    const Running write = std::move(*running_);
    running_.reset();
    // Asked before the page releases its group, which drops a write not yet sent.
    const auto ctx = page.GetContext();
    const auto online = ctx ? ctx->OnlineService() : nullptr;
    const bool waits = online && online->WriteWaits(*write.write, write.invokeId);
    // A secret, which its page forgets as it closes, is not judged either.
    if (!online || waits || ElementOf(write.write).Secret) {
        Ended(ctx, write, false);
        if (waits)
            ctx->MsgBox(GetLangText(ctx, "error_command_not_sent", platform::Variant::Str(write.command)),
                        app::kButtonsOKExclamation);
        return;
    }
    // The write has gone out: the device's answer judges it, now or when it
    // comes. A judge that goes unheard (the instance released before the
    // answer) takes the command off its element's list all the same, so that
    // no entry outlives the element.
    struct Unjudged {
        Running write;
        bool judged = false;
        ~Unjudged() {
            if (!judged) Forget(write);
        }
    };
    const auto pending = std::make_shared<Unjudged>();
    pending->write = write;
    const platform::W<rt::DTMContext> weak = ctx;
    const bool followed = online->FollowWrite(*write.write, write.invokeId, [weak, pending](bool taken) {
        const auto context = weak.lock();
        if (!context) return;
        pending->judged = true;
        Judge(context, pending->write, taken, nullptr);
    });
    // Otherwise the transfer has ended and its end not yet reached the page.
    if (!followed) {
        pending->judged = true;
        Judge(ctx, write, TakenIn(ctx, write.invokeId, write.write), nullptr);
    }
}

ConfirmedGroupWriter::~ConfirmedGroupWriter() {
    if (running_) Forget(*running_);
}

size_t ConfirmedGroupWriter::ElementsWithCommandsOnTheirWay() { return OnTheWay().size(); }

void ConfirmedGroupWriter::Forget(const Running& write) {
    const auto* element = dynamic_cast<const clsDataElement*>(write.write.get());
    if (const auto* way = element ? TakeOff(write.serial, *element) : nullptr; way && way->commands.empty())
        OnTheWay().erase(element);
}

void ConfirmedGroupWriter::Judge(const platform::P<rt::DTMContext>& ctx, const Running& write, bool taken,
                                 const PageBase* page) {
    Ended(ctx, write, taken);
    if (taken) {
        if (write.whenTaken) write.whenTaken();
        return;
    }
    if (page) TraceIf(*page, write.traceMember, write.traceNotTaken);
    if (!ctx) return;
    // A command that a disconnect cut short is said whatever the request asks.
    const auto& comm = ctx->CommService();
    if (write.sayNotTaken || (comm && (!comm->IsOnline() || comm->DisconnectPending())))
        ctx->MsgBox(GetLangText(ctx, "error_command_not_taken", platform::Variant::Str(write.command)),
                    app::kButtonsOKExclamation);
}

void ConfirmedGroupWriter::Ended(const platform::P<rt::DTMContext>& ctx, const Running& write, bool taken) {
    auto& element = ElementOf(write.write);
    CommandsOnTheWay* way = TakeOff(write.serial, element);
    if (!way) return;
    if (taken) {
        way->before = write.sent;
        way->deviceBefore = element.DeviceValue;
    }
    platform::Variant value;
    if (!way->commands.empty()) {
        // Another page's command is still on its way: the element holds the latest.
        value = way->commands.back().second;
    } else {
        const CommandsOnTheWay last = std::move(*way);
        OnTheWay().erase(&element);
        // The element holds what the device carried out, or read back since.
        if (taken) return;
        if (!last.changedOnlineBefore) element.ClearStatusFlag(kFlagChangedOnline);
        // A value read from the device since the first click is the device's: it takes the place.
        const bool read = !com::Identical(element.DeviceValue, last.deviceBefore);
        value = read ? platform::Variant(element.DeviceValue) : last.before;
    }
    if (com::Identical(element.TransientValue, value)) return;
    element.TransientValue = value;
    // The state of the data set is evaluated again and the rows redrawn; the
    // data set is as before, unless a save stored the command meanwhile.
    if (!ctx || !ctx->Parameters()) return;
    auto& params = *ctx->Parameters();
    params.NotifyRestored(write.write, "", !IsSameValue(value, params.ProjectValue(element)));
}

}  // namespace dtm
