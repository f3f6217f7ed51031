#pragma once
// The device reset request: one reset command of the Physical Block, already
// put into "PHYS/FACTORY_RESET" by the caller, sent after the user confirmed
// it by the command's value-list text, with the diagnosis and its extension
// read back in the same transfer, by the caller's writer on its group. The end
// reaches the caller's IPrivateProcess under its group's invoke id, where the
// caller hands it to the writer; a command the device did not carry out is
// said there.
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

// The end of a bus address reset sent by the request, under its process's
// invoke id: when the device took the write of "PHYS/FACTORY_RESET" (its own
// transaction result, whatever later reads left in the element's flags),
// "~/Address" becomes 126 in its transient, device and persistent value and
// the open pages hear of it. Answers whether it did.
bool TakeBusAddressReset(const platform::P<platform::rt::DTMContext>& ctx, const std::string& invokeId);

}  // namespace dtm
