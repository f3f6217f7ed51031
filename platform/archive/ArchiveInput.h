#pragma once
// User input on the archive control, trapped at the boundary like ui::Input:
// each answers whether the control took it; a control that is not effectively
// visible and enabled takes nothing; an error raised on the way is recorded in
// app::ErrorSink with where = "input <control path> <kind>" and answers False.
#include <cstdint>

namespace platform::archive {

class ctlDTMArchive;

namespace ArchiveInput {

// Switches the curve of that index on or off (ctlDTMArchive::UserCheckCurve).
bool CheckCurve(ctlDTMArchive& control, int16_t curveIndex, bool on);

}  // namespace ArchiveInput

}  // namespace platform::archive
