#include "pages/framework/MarkedUpload.h"

#include "core/services/APIHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;
namespace rt = platform::rt;

namespace {

constexpr int32_t kMarkedForUpload = 16;
constexpr int32_t kOkOnly = 0;

}  // namespace

MarkedUploadStart MarkedUpload(PageBase& page, std::span<const char* const> paths, const std::string& traceMember) {
    const auto callback = std::dynamic_pointer_cast<rt::IPrivateProcess>(page.weak_from_this().lock());
    if (!callback) com::Raise(13, "The page takes no process callback", page.TypeName());
    const auto ctx = page.GetContext();
    auto& params = com::Deref(com::Deref(ctx).Parameters());
    for (const char* path : paths)
        com::Deref(std::dynamic_pointer_cast<clsDataElement>(params.Item(path))).SetStatusFlag(kMarkedForUpload);
    MarkedUploadStart start;
    start.invokeId = GetNewGuidString();
    start.started =
        com::Deref(ctx->OnlineService()).StartUpload(start.invokeId, "", 0, kMarkedForUpload, 0, 0, callback);
    if (!start.started) {
        std::string text;
        ctx->LangText("cannot_start_param_upload", text);
        ctx->MsgBox(text, kOkOnly);
        if (!traceMember.empty()) page.Trace(traceMember, "Cannot start param upload");
    }
    return start;
}

}  // namespace dtm
