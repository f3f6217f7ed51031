// The display rules of a parameter link: status picture and tool tip, the
// row's lock, and the status flags recomputed for a value.
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "pages/framework/clsParamLink.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Picture.h"

namespace dtm {

using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace ctl = platform::ctl;

namespace {

constexpr int32_t kUnitUnknown = 1998;

struct IconRule {
    int32_t mask;
    const char* picture;
    const char* tipKey;
};
// Rules 1 to 6 of the status picture: the first flag mask that matches.
constexpr IconRule kFlagRules[] = {
    {0xF0000, "CommErr", "paramicon_CommErr"},   {0xF00000, "AnyErr", "paramicon_AnyErr"},
    {0x4000, "RangeErr", "paramicon_RangeErr"},  {0xF000, "InputErr", "paramicon_InputErr"},
    {0x8, "Needed", "paramicon_Needed"},         {0x4, "Changed", "paramicon_Changed"},
};
constexpr int32_t kFlagDynamic = 0x2;
constexpr int32_t kFlagLocked = 0x1;
constexpr int32_t kFlagsRecomputed = 0xF004;

}  // namespace

P<platform::ui::Picture> clsParamLink::PictureOf(const std::string& key) const {
    if (!m_Images) return nullptr;
    return std::dynamic_pointer_cast<platform::ui::Picture>(m_Images->Item(key).ObjRef());
}

std::string clsParamLink::RangeToolTip() const {
    const clsDataElement& element = Element();
    std::string tip = GetDictText("paramicon_RangeErr");
    const int32_t from = element.nInitUnit, to = element.nTransientUnit;
    P<clsPROFIBUSProfil3Units> units;
    if (from != to && from != kUnitUnknown && to != kUnitUnknown)
        if (auto model = std::dynamic_pointer_cast<clsDataModel>(Context()->Parameters()->DataModel()))
            units = model->PROFIBUSProfil3Units();
    auto shown = [&](const Variant& v) {
        if (units && !v.IsEmpty()) return com::CStr(Variant::Dbl(units->CalculateUnitValue(com::CDbl(v), from, to)));
        return com::CStr(v);
    };
    Variant min, max;
    for (int32_t i = 0; element.GetRange(i, min, max); ++i) tip += ", " + shown(min) + ".." + shown(max);
    return tip;
}

void clsParamLink::UpdateStatusIcon() {
    const clsDataElement& element = Element();
    const int32_t flags = element.StatusFlags();
    std::string key, tip;
    for (const auto& rule : kFlagRules) {
        if ((flags & rule.mask) == 0) continue;
        key = rule.picture;
        if (rule.mask == 0xF00000 && !element.CmdErr.empty())
            tip = element.CmdErr;
        else if (rule.mask == 0x4000)
            tip = RangeToolTip();
        else
            tip = GetDictText(rule.tipKey);
        break;
    }
    if (key.empty()) {
        const bool noDevice = element.DeviceValue.IsEmpty(), noStored = element.PersistentValue.IsEmpty();
        if (flags & kFlagDynamic) {
            const bool showsFirst = m_ParamCtl->StatusIcon() && m_ParamCtl->StatusIcon() == PictureOf("Dynamic1");
            key = showsFirst ? "Dynamic2" : "Dynamic1";
            tip = GetDictText("paramicon_Dynamic");
        } else if (element.ParamOptional()) {
            key = "OptionalParam";
            tip = GetDictText("paramicon_Optional");
        } else if (element.RequiredUserLevel > Context()->UserLevel()) {
            key = "Locked";
            tip = GetDictText("paramicon_Locked");
        } else if (m_ParamCtl->ControlType() == ctl::kRowCommand) {
            // no picture, no tip
        } else if (noDevice && noStored) {
            key = "Initial";
            tip = GetDictText("paramicon_Initial");
        } else if (noDevice || !noStored) {
            key = "SavedValue";
            tip = GetDictText("paramicon_Saved");
        } else {
            key = "OnlineValue";
            tip = GetDictText("paramicon_OnlineValue");
        }
    }
    m_ParamCtl->IconToolTip(tip);
    m_ParamCtl->StatusIcon(PictureOf(key.empty() ? "Blank" : key));
}

void clsParamLink::UpdateLockState() {
    if (m_bLockedByDesign) return;
    const clsDataElement& element = Element();
    m_ParamCtl->Locked(!m_CmdInvokeId.empty() || element.RequiredUserLevel > Context()->UserLevel() ||
                       (element.StatusFlags() & kFlagLocked) != 0);
}

int32_t clsParamLink::UpdateParamFlags(const Variant& value) const {
    const clsDataElement& element = Element();
    int32_t result = element.StatusFlags() & ~kFlagsRecomputed;
    if (element.ValueType != 0) {
        const auto ctx = Context();
        result |= element.CalcParamErrorFlags(ctx, value);
        if (m_ParamCtl->ControlType() != ctl::kRowCommand) result |= element.CalcParamStatusFlags(ctx, value);
    }
    return result;
}

}  // namespace dtm
