#pragma once
// The device reset request: one reset command of the Physical Block, already
// put into "PHYS/FACTORY_RESET" by the caller, sent after the user confirmed
// it by the command's value-list text, with the diagnosis and its extension
// read back in the same transfer, by the caller's writer on its group. The end
// reaches the caller's IPrivateProcess under its group's invoke id, where the
// caller hands it to the writer; a command the device did not carry out is
// said there. When the device took a bus address reset (also after the
// caller's page closed), "~/Address" is 126 in its transient, device and
// persistent value and the open pages hear of it.
#include <cstdint>
#include <string>

#include "pages/framework/ConfirmedGroupWrite.h"
#include "platform/rt/DTMContext.h"

namespace dtm {

inline constexpr const char* kFactoryResetPath = "PHYS/FACTORY_RESET";
inline constexpr int16_t kBusAddressResetCommand = 2712;
inline constexpr int16_t kBusAddressAfterReset = 126;

// `previous` is the element's value before the caller set the command: it
// comes back when the command is not carried out.
GroupWriteResult ExecuteDeviceReset(PageBase& page, const platform::P<platform::rt::DTMContext>& ctx,
                                    ConfirmedGroupWriter& writer, platform::rt::TransGrp& group,
                                    const platform::Variant& previous);

}  // namespace dtm
