#include "pages/framework/ConfirmedGroupWrite.h"

#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"

namespace dtm {

namespace app = platform::app;
namespace com = platform::com;
namespace rt = platform::rt;

namespace {

// A value set for the device and not yet written: a read that lands before
// the write leaves it in the element (the write's answer clears the flag).
constexpr int32_t kFlagChangedOnline = 0x20;

void TraceIf(const PageBase& page, const GroupWriteRequest& request, const char* detail) {
    if (detail) page.Trace(request.traceMember, detail);
}

}  // namespace

GroupWriteResult ConfirmedGroupWrite(PageBase& page, rt::TransGrp& group, const GroupWriteRequest& request) {
    const auto callback = std::dynamic_pointer_cast<rt::IPrivateProcess>(page.weak_from_this().lock());
    if (!callback) com::Raise(13, "The page takes no process callback", page.TypeName());
    const auto ctx = page.GetContext();
    auto& element = com::Deref(std::dynamic_pointer_cast<clsDataElement>(request.write));
    TraceIf(page, request, request.traceAtEntry);
    if (com::Deref(ctx).UserLevel() < element.RequiredUserLevel) {
        element.TransientValue = request.previous;
        ctx->MsgBox(GetLangText(ctx, "error_user_level_too_low"), app::kButtonsOKExclamation);
        return GroupWriteResult::NotAllowed;
    }
    const std::string prompt = GetLangText(ctx, request.promptKey, platform::Variant::Str(request.arg1));
    const bool confirmed = ctx->MsgBox(prompt, app::kButtonsYesNoQuestionDefaultNo) == app::kAnswerYes;
    if (confirmed) TraceIf(page, request, request.traceConfirmed);
    if (group.IsBusy()) {
        // The running transfer codes its elements only when it sends them: a
        // click now, whatever the answer, leaves the element as it was.
        element.TransientValue = request.previous;
        return confirmed ? GroupWriteResult::Busy : GroupWriteResult::Declined;
    }
    if (!confirmed) return GroupWriteResult::Declined;
    if (request.beforeWrite) request.beforeWrite();
    if (group.OpenConnection() == 0) {
        group.AddRequest(request.write, true);
        for (const auto& read : request.reads) group.AddRequest(read, false);
        TraceIf(page, request, request.traceOpened);
    }
    if (group.Execute(callback, true, true) == 0) {
        // A cyclic read of the element may still be on its way: it must not
        // replace the command before the write takes it.
        element.SetStatusFlag(kFlagChangedOnline);
        return GroupWriteResult::Started;
    }
    group.CloseConnection();
    ctx->MsgBox(GetLangText(ctx, "error_at_write_status"), app::kButtonsOKOnly);
    TraceIf(page, request, request.traceRefused);
    return GroupWriteResult::Refused;
}

}  // namespace dtm
