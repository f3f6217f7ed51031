#pragma once
// The device reset request: one reset command of the Physical Block, already
// put into "PHYS/FACTORY_RESET" by the caller, sent after the user confirmed
// it by the command's value-list text, with the diagnosis and its extension
// read back in the same transfer. The end reaches the caller's
// IPrivateProcess under its group's invoke id.
#include "pages/framework/ConfirmedGroupWrite.h"
#include "platform/rt/DTMContext.h"

namespace dtm {

inline constexpr const char* kFactoryResetPath = "PHYS/FACTORY_RESET";

// `previous` is the element's value before the caller set the command: it
// comes back when the user's level does not allow the write.
GroupWriteResult ExecuteDeviceReset(PageBase& page, const platform::P<platform::rt::DTMContext>& ctx,
                                    platform::rt::TransGrp& group, const platform::Variant& previous);

}  // namespace dtm
