#include "pages/measurement/ctlDiagBlock.h"

#include "model/elements/ProfibusBlockFlags.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/BlockIndexedPage.h"
#include "pages/framework/clsParamLink.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;
using platform::Variant;

namespace {

constexpr int16_t kLabel = 2400, kUnit = 0;
constexpr int16_t kDefaultBlockIndex = 1;
constexpr const char* kDefaultBlockPrefix = "PHYS";

constexpr FormLine kForm[] = {
    Frame("frmDiagBlock"),
    Row("frmDiagBlock", 15, "%blk/BLK_OBJ/Block_Object", kLabel, kUnit),
    Row("frmDiagBlock", 0, "%blk/BLK_OBJ/Parent_Class", kLabel, kUnit),
    Row("frmDiagBlock", 1, "%blk/BLK_OBJ/Class", kLabel, kUnit),
    Row("frmDiagBlock", 2, "%blk/BLK_OBJ/DD_Reference", kLabel, kUnit),
    Row("frmDiagBlock", 3, "%blk/BLK_OBJ/DD_Revision", kLabel, kUnit),
    Row("frmDiagBlock", 4, "%blk/BLK_OBJ/Profile", kLabel, kUnit),
    Row("frmDiagBlock", 5, "%blk/BLK_OBJ/Profile_Revision", kLabel, kUnit),
    Row("frmDiagBlock", 6, "%blk/ST_REV", kLabel, kUnit),
    Row("frmDiagBlock", 7, "%blk/MODE_BLK/Actual", kLabel, kUnit),
};
constexpr FormLine kTemplate[] = {HelpPane(), Site()};

}  // namespace

ctlDiagBlock::ctlDiagBlock() : NavigablePage(PageTraits{.className = "ctlDiagBlock", .hideOnRelease = false}) {}

void ctlDiagBlock::BuildForm() {
    PlaceForm(*this, kForm);
    frmDiagBlock = std::dynamic_pointer_cast<platform::ui::Frame>(Controls().Item("frmDiagBlock"));
    // The channel row is a single control, locked by design.
    auto channel = Place<platform::ctl::ctlParameter>("ctlChannelParameter", std::nullopt, frmDiagBlock.get());
    channel->parameterTag("%blk/CHANNEL");
    channel->ControlType(platform::ctl::kRowPlain);
    channel->Locked(true);
    PlaceForm(*this, kTemplate);
}

void ctlDiagBlock::InitProperties() {
    BlockIndex = kDefaultBlockIndex;
    BlockPrefix = kDefaultBlockPrefix;
}

void ctlDiagBlock::ReadProperties(const com::PropertyBag& bag) {
    BlockIndex = ReadBlockIndex(bag, kDefaultBlockIndex);
    BlockPrefix = com::CStr(bag.ReadProperty("BlockPrefix", Variant::Str(kDefaultBlockPrefix)));
}

void ctlDiagBlock::WriteProperties(com::PropertyBag& bag) {
    WriteBlockIndex(bag, BlockIndex, kDefaultBlockIndex);
    bag.WriteProperty("BlockPrefix", Variant::Str(BlockPrefix), Variant::Str(kDefaultBlockPrefix));
}

void ctlDiagBlock::ConfigureLink(clsParamLink& link) {
    link.index = BlockIndex;
    link.Prefix = BlockPrefix;
}

void ctlDiagBlock::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    if (caption_) frmDiagBlock->Caption(*caption_);
}

bool ctlDiagBlock::ExitControls() {
    caption_.reset();
    return NavigablePage::ExitControls();
}

void ctlDiagBlock::UpdateControl(const std::string& newCaption, int32_t newBlockClass) {
    caption_ = newCaption;
    frmDiagBlock->Caption(newCaption);
    if (newBlockClass < pbfPhysicalBlock || newBlockClass > pbfFunctionTOTBlock) return;
    const auto ctx = GetContext();
    const auto element = com::Deref(com::Deref(ctx).Parameters()).Item(BlockPrefix + "/CHANNEL");
    com::Deref(std::dynamic_pointer_cast<clsDataElement>(element)).Validity(newBlockClass >= pbfFunctionAIBlock);
    // A flag change: the pages redraw, the model and the data set's mark are left alone.
    com::Deref(ctx->GuiRegistry()).NotifyParameterChanged(element, "");
}

}  // namespace dtm
