#include "pages/framework/ctlIdent.h"

#include <cstdint>

namespace dtm {

namespace ui = platform::ui;

namespace {

struct IdentRow {
    int16_t index;
    const char* tag;
};

// Rows 0 to 2 in the operating unit's frame, the others in the device's.
constexpr int16_t kFirstDeviceRow = 3;
constexpr IdentRow kRows[] = {
    {0, "PHYS/TAG_DESC"},
    {1, "PHYS/DESCRIPTOR"},
    {2, "PHYS/DEVICE_MESSAGE"},
    {3, "PHYS/DEVICE_MAN_ID"},
    {4, "PHYS/DEVICE_ID"},
    {5, "PHYS/DEVICE_SER_NUM"},
    {6, "PHYS/SOFTWARE_REVISION"},
    {7, "PHYS/HARDWARE_REVISION"},
    {8, "PHYS/BLK_OBJ/Profile_Revision"},
    {9, "PHYS/ST_REV"},
    {10, "PHYS/IDENT_NUMBER_SELECTOR"},
    {11, "PHYS/DEVICE_INSTAL_DATE"},
    {14, "PHYS/MANU/ACCESS_RIGHTS"},
    {15, "TRANS/1/FlowCori/MANU/_meter_series"},
    {16, "TRANS/1/FlowCori/MANU/_transducer_type"},
    {17, "PHYS/MANU/TELVOR_IDENTNUMBER"},
};
constexpr float kRowHeight = 315;
constexpr float kRowWidth = 8000;

}  // namespace

ctlIdent::ctlIdent() : NavigablePage(PageTraits{"ctlIdent"}) {}

void ctlIdent::BuildForm() {
    frmOperUnit = Place<ui::Frame>("frmOperUnit");
    frmOperUnit->Move(120, 120, kRowWidth + 240, 3 * kRowHeight + 360);
    frmDevice = Place<ui::Frame>("frmDevice");
    frmDevice->Move(120, frmOperUnit->Top() + frmOperUnit->Height() + 120, kRowWidth + 240, 13 * kRowHeight + 360);
    float top[2] = {240, 240};
    for (const auto& r : kRows) {
        const bool device = r.index >= kFirstDeviceRow;
        auto row = Place<platform::ctl::ctlParameter>("ctlParameter", r.index, device ? frmDevice.get() : frmOperUnit.get());
        row->parameterTag(r.tag);
        row->Move(120, top[device], kRowWidth, kRowHeight);
        top[device] += kRowHeight;
    }
    PlaceTemplateControls();
}

}  // namespace dtm
