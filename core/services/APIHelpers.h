#pragma once
// GUIDs, class ids and invoke ids.
#include <string>

#include "platform/com/Variant.h"
#include "platform/win/Guid.h"

namespace dtm {

using platform::win::Guid;

// True when the program id is known to the class registry; `clsid` gets its class id.
bool ProgIdToClsid(const std::string& progId, Guid& clsid);
// True when a new GUID was created.
bool CreateGuid(Guid& guid);
// "{8-4-4-4-12}" upper case.
std::string ClsidToString(const Guid& clsid);
// The text of a new GUID, braces removed when keepBraces is False; "" when no
// GUID can be created.
std::string GetNewGuidString(const platform::Variant& keepBraces = platform::Variant::Missing());
// Two invoke ids match when the first is not empty and both are equal ignoring case.
bool IsSameInvokeId(const std::string& first, const std::string& second);

}  // namespace dtm
