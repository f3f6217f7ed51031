#include "platform/archive/ArchiveInput.h"

#include "platform/archive/ctlDTMArchive.h"
#include "platform/ui/Input.h"

namespace platform::archive::ArchiveInput {

bool CheckCurve(ctlDTMArchive& control, int16_t curveIndex, bool on) {
    if (!ui::TakesInput(control)) return false;
    return ui::Dispatch(ui::InputWhere(control, "CheckCurve"),
                        [&] { return control.UserCheckCurve(curveIndex, on); });
}

}  // namespace platform::archive::ArchiveInput
