#include "pages/parameterisation/ctlChannelAssign.h"

#include <cstdint>

#include "core/channels/SlaveBusParamSet.h"
#include "core/channels/clsChannel.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/clsParamLink.h"
#include "platform/com/Error.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;

namespace {

struct SlotRow {
    int16_t index;  // the slot
    const char* tag;
    float height;  // the Totaliser slots are taller
};

constexpr SlotRow kSlotRows[] = {
    {1, "SlaveBusParamSet_FB1", 315},
    {2, "SlaveBusParamSet_FB2", 315},
    {3, "SlaveBusParamSet_FB3", 315},
    {4, "SlaveBusParamSet_FB4", 495},
    {5, "SlaveBusParamSet_FB5", 315},
    {6, "SlaveBusParamSet_FB6", 315},
    {7, "SlaveBusParamSet_FB7", 315},
    {8, "SlaveBusParamSet_FB8", 495},
};
constexpr int32_t kEnumerationRow = 3;
constexpr int32_t kValueRow = 1;
constexpr int32_t kLockedFlag = 1;
constexpr float kRowWidth = 8000;

}  // namespace

ctlChannelAssign::ctlChannelAssign()
    : PageBase(PageTraits{"ctlChannelAssign", true, ChildInit::After, true, false, false}) {}

void ctlChannelAssign::BuildForm() {
    StoreNewConfig = Place<ui::CommandButton>("StoreNewConfig");
    StoreNewConfig->Move(240, 6600, 2400, 375);
    StoreNewConfig->Click.Connect([this] { StoreNewConfig_Click(); });
    frmBusMasterConfig = Place<ui::Frame>("frmBusMasterConfig");
    frmBusMasterConfig->Move(120, 1020, kRowWidth + 480, 5400);
    frmCfgData = Place<ui::Frame>("frmCfgData", std::nullopt, frmBusMasterConfig.get());
    frmCfgData->Move(120, 240, kRowWidth + 240, 3600);
    float top = 240;
    for (const auto& r : kSlotRows) {
        auto row = Place<platform::ctl::ctlParameter>("ctlParameter", r.index, frmCfgData.get());
        row->parameterTag(r.tag);
        row->ControlType(kEnumerationRow);
        row->Move(120, top, kRowWidth, r.height);
        top += r.height;
    }
    ctlParameter3 = Place<platform::ctl::ctlParameter>("ctlParameter3", std::nullopt, frmBusMasterConfig.get());
    ctlParameter3->parameterTag(kSlaveBusParamSetWholeString);
    ctlParameter3->ControlType(kValueRow);
    ctlParameter3->Move(240, 3960, kRowWidth, 1080);
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    PlaceTemplateControls();
}

// The page leaves the link in its offline default.
void ctlChannelAssign::ConfigureLink(clsParamLink& link) { link.bOnlineMode = false; }

void ctlChannelAssign::InitLanguageDependedControls(int32_t languageId) {
    PageBase::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
}

void ctlChannelAssign::AfterInit() {
    try {
        RefreshSlotElements();
    } catch (const std::exception& e) {
        ReportFailure("RefreshSlotElements", "ctlChannelAssign_refresh_failed", e);
    }
}

void ctlChannelAssign::RefreshSlotElements() {
    const auto ctx = GetContext();
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    const auto& channels = com::Deref(params.Channels());
    for (const auto& r : kSlotRows) {
        auto element = params.Item(SlaveBusParamSlotName(r.index));
        auto& slot = dynamic_cast<clsDataElement&>(com::Deref(element));
        const auto& valueChannel = com::Deref(std::dynamic_pointer_cast<clsChannel>(channels.Item(2 * r.index - 1)));
        if (com::Deref(valueChannel.ProfibusChannelParameter()).ChannelLocked())
            slot.SetStatusFlag(kLockedFlag);
        else
            slot.ClearStatusFlag(kLockedFlag);
        // A change of flags only: the pages redraw, the model and the mark stay.
        ctx->GuiRegistry()->NotifyParameterChanged(element, "");
    }
}

void ctlChannelAssign::StoreNewConfig_Click() {
    try {
        const auto ctx = GetContext();
        UpdateChannelSlots(ctx);
        com::Deref(com::Deref(ctx).Container()).SaveRequest(ctx->SystemTag());
    } catch (const std::exception& e) {
        ReportFailure("StoreNewConfig_Click", "ctlChannelAssign_store_failed", e);
    }
}

void ctlChannelAssign::ReportFailure(const std::string& member, const std::string& messageKey,
                                     const std::exception& error) {
    Trace(member, error.what());
    if (const auto ctx = GetContext()) ctx->ReportError(GetLangText(ctx, messageKey, platform::Variant::Str(error.what())));
}

}  // namespace dtm
