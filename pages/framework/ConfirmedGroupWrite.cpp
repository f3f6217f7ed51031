#include "pages/framework/ConfirmedGroupWrite.h"

#include "core/services/ProjectHelpers.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
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
    const std::string prompt = GetLangText(ctx, request.promptKey, platform::Variant::Str(request.arg1));
    const bool confirmed = ctx->MsgBox(prompt, app::kButtonsYesNoQuestionDefaultNo) == app::kAnswerYes;
    if (confirmed) TraceIf(page, request.traceMember, request.traceConfirmed);
    // Nothing goes on the wire: the value goes back before any notice told
    // anyone of it. While the group is busy, the running transfer codes its
    // elements only when it sends them, so the click changes nothing either.
    if (!confirmed || group.IsBusy()) {
        element.TransientValue = request.previous;
        return confirmed ? GroupWriteResult::Busy : GroupWriteResult::Declined;
    }
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
        running_ = Running{request.write,  element.TransientValue, request.previous,   changedOnline,
                           request.arg1,   request.sayNotTaken,    request.traceMember, request.traceNotTaken};
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
    // Taken only when the device answered the write itself without an error:
    // a transfer cut short before the write has no result for it.
    for (const auto& result : com::Deref(com::Deref(ctx).CommService()).GetTransactionResults(invokeId))
        if (result.IsWrite && result.DataElement == write.write && !result.Failed) return GroupWriteEnd::Taken;
    Restore(page, write);
    TraceIf(page, write.traceMember, write.traceNotTaken);
    if (write.sayNotTaken)
        ctx->MsgBox(GetLangText(ctx, "error_command_not_taken", platform::Variant::Str(write.command)),
                    app::kButtonsOKExclamation);
    return GroupWriteEnd::NotTaken;
}

void ConfirmedGroupWriter::PageClosed(PageBase& page) {
    if (!running_) return;
    const Running write = std::move(*running_);
    running_.reset();
    Restore(page, write);
}

void ConfirmedGroupWriter::Restore(PageBase& page, const Running& write) {
    const auto ctx = page.GetContext();
    if (!ctx || !ctx->Parameters()) return;
    auto& element = ElementOf(write.write);
    // A value read since then is the device's: it stays.
    if (!IsSameValue(element.TransientValue, write.sent)) return;
    if (!write.changedOnlineBefore) element.ClearStatusFlag(kFlagChangedOnline);
    if (com::Identical(write.sent, write.previous)) return;
    element.TransientValue = write.previous;
    // The state of the data set is evaluated again and the rows redrawn; the
    // data set is as before, unless a save stored the command meanwhile.
    auto& params = *ctx->Parameters();
    params.NotifyRestored(write.write, "", !IsSameValue(write.previous, params.ProjectValue(element)));
}

}  // namespace dtm
