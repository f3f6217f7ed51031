#include "pages/service/ctlSimuCh.h"

#include "blocks/DataModel_P3_FB_AI.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/MarkedUpload.h"
#include "pages/framework/clsParamLink.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace app = platform::app;
namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::Variant;

namespace {

constexpr int16_t kUploadRunning = 1;

constexpr FormLine kForm[] = {
    Frame("frmInputSim"),
    Row("frmInputSim", 2, "FUNC/%d/AI/SIMULATE/Value", 0, 0),
    Row("frmInputSim", 3, "FUNC/%d/AI/SIMULATE/StatusLimit", 0, 0),
    Row("frmInputSim", 1, "FUNC/%d/AI/SIMULATE/StatusQuality", 0, 0),
    Row("frmInputSim", 0, "FUNC/%d/AI/SIMULATE/Enabled", 0, 0),
    Frame("frmOutputSim"),
    Row("frmOutputSim", 4, "FUNC/%d/AI/TARGET_MODE", 0, 0),
    Row("frmOutputSim", 5, "FUNC/%d/AI/MODE_BLK/Actual", 0, 0),
    Row("frmOutputSim", 6, "FUNC/%d/AI/OUT/StatusQuality", 0, 0),
    Row("frmOutputSim", 7, "FUNC/%d/AI/OUT/Value", 0, 0),
    Row("frmOutputSim", 8, "FUNC/%d/AI/OUT/StatusLimit", 0, 0),
    HelpPane(),
    Site(),
};

// What cmdRead reads, after the block's prefix.
constexpr const char* kReadMembers[] = {"SIMULATE/", "TARGET_MODE", "OUT/", "MODE_BLK/"};

}  // namespace

ctlSimuCh::ctlSimuCh()
    : BlockIndexedPage(PageTraits{.className = "ctlSimuCh", .hideOnRelease = false}, kDefaultBlockIndex) {}

void ctlSimuCh::BuildForm() {
    PlaceForm(*this, kForm);
    cmdRead = Place<ui::CommandButton>("cmdRead");
    cmdRead->Click.Connect([this] { cmdRead_Click(); });
    cmdTransfer = Place<ui::CommandButton>("cmdTransfer");
    cmdTransfer->Click.Connect([this] { cmdTransfer_Click(); });
}

void ctlSimuCh::ConfigureLink(clsParamLink& link) { link.index = BlockIndex(); }

void ctlSimuCh::InitControls() {
    BlockIndexedPage::InitControls();
    m_TransGrp = std::make_shared<rt::TransGrp>();
    m_TransGrp->InitGroup(GetContext());
    if (!ShowsAIBlock()) {
        cmdRead->Enabled(false);
        cmdTransfer->Enabled(false);
    }
}

bool ctlSimuCh::ExitControls() {
    BlockIndexedPage::ExitControls();
    // Asked before the release, which drops a transfer whose writes have not begun.
    if (SendWaits()) {
        const auto ctx = GetContext();
        ctx->MsgBox(GetLangText(ctx, "error_command_not_sent", Variant::Str(cmdTransfer->Caption())),
                    app::kButtonsOKExclamation);
    }
    if (m_TransGrp) m_TransGrp->ReleaseGroup();
    return true;
}

bool ctlSimuCh::SendWaits() const {
    const auto ctx = GetContext();
    if (!m_TransGrp || !m_TransGrp->IsBusy() || !ctx || !ctx->OnlineService()) return false;
    // The simulation record is the transfer's first write.
    const auto simulate = com::Deref(ctx->Parameters()).Item(GetAIBlockPrefix(BlockIndex()) + "SIMULATE/");
    return ctx->OnlineService()->WriteWaits(com::Deref(simulate), m_TransGrp->GroupInvokeId());
}

bool ctlSimuCh::ShowsAIBlock() const {
    const auto ctx = GetContext();
    return ctx && FunctionBlockKind(com::Deref(ctx->Parameters()), BlockIndex()) == pbfFunctionAIBlock;
}

void ctlSimuCh::SetLockState(bool editable) {
    BlockIndexedPage::SetLockState(editable);
    const bool block = ShowsAIBlock();
    cmdRead->Enabled(block && editable);
    cmdTransfer->Enabled(block && editable && com::Deref(GetContext()).UserLevel() != 0);
}

void ctlSimuCh::cmdRead_Click() {
    if (!ShowsAIBlock()) return;
    const auto ctx = GetContext();
    if (com::Deref(com::Deref(ctx).OnlineService()).State() == kUploadRunning) {
        ctx->MsgBox(GetLangText(ctx, "error_upload_running", Variant::Str(cmdRead->Caption())),
                    app::kButtonsOKExclamation);
        return;
    }
    std::vector<std::string> paths;
    for (const char* member : kReadMembers) paths.push_back(GetAIBlockPrefix(BlockIndex()) + member);
    std::vector<const char*> names;
    for (const auto& path : paths) names.push_back(path.c_str());
    MarkedUpload(*this, names, "");
}

void ctlSimuCh::cmdTransfer_Click() {
    Trace("cmdTransfer_Click", "");
    if (!ShowsAIBlock()) return;
    const auto ctx = GetContext();
    // The running transfer is not joined: the values set now are not sent.
    if (m_TransGrp->IsBusy()) {
        ctx->MsgBox(GetLangText(ctx, "error_command_running", Variant::Str(cmdTransfer->Caption())),
                    app::kButtonsOKExclamation);
        return;
    }
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    const std::string prefix = GetAIBlockPrefix(BlockIndex());
    const auto simulate = params.Item(prefix + "SIMULATE/");
    const auto target = params.Item(prefix + "TARGET_MODE");
    // The page's writes are checked against the level the elements require.
    for (const auto& element : {simulate, target}) {
        if (ctx->UserLevel() < dynamic_cast<clsDataElement&>(com::Deref(element)).RequiredUserLevel) {
            ctx->MsgBox(GetLangText(ctx, "error_user_level_too_low"), app::kButtonsOKExclamation);
            return;
        }
    }
    if (m_TransGrp->OpenConnection() == 0) {
        Trace("cmdTransfer_Click", "OpenConnection successfull");
        m_TransGrp->AddRequest(simulate, true);
        m_TransGrp->AddRequest(target, true);
        if (com::CInt(target->TransientValue()) == kManualMode) m_TransGrp->AddRequest(params.Item(prefix + "OUT/"), true);
        m_TransGrp->AddRequest(params.Item(prefix + "MODE_BLK/"), false);
    }
    const auto callback = std::dynamic_pointer_cast<rt::IPrivateProcess>(Keep());
    if (m_TransGrp->Execute(callback, true, true) != 0) {
        m_TransGrp->CloseConnection();
        ctx->MsgBox(GetLangText(ctx, "error_at_write_status"), app::kButtonsOKOnly);
        Trace("cmdTransfer_Click", "Error at write status");
    }
}

}  // namespace dtm
