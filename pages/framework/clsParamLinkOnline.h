#pragma once
// The runtime's online service as a parameter link uses it: the state bits,
// starting a device command and dropping it.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
class IPrivateProcess;
}  // namespace platform::rt

namespace dtm {

// The service's OnlineState; 0 without a service.
int32_t LinkOnlineState(const platform::P<platform::rt::DTMContext>& ctx);
// True when the service started the command of `elementName`.
bool LinkStartCommand(const platform::P<platform::rt::DTMContext>& ctx, const std::string& invokeId,
                      const std::string& elementName, const platform::P<platform::rt::IPrivateProcess>& callback);
void LinkDropRequest(const platform::P<platform::rt::DTMContext>& ctx, const std::string& invokeId);

}  // namespace dtm
