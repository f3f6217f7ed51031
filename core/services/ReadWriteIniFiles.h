#pragma once
// The component's configuration file "Resources\DTM.ini" and the reader of
// its values.
#include <string>

#include "platform/com/Variant.h"

namespace dtm {

// The host path of "\Resources\DTM.ini" in the component's folder.
std::string DtmIniFile();

// The value of `key` in `[section]` of the file (a full path), whatever its
// length; "" when the file, the section or the key is missing, or the file
// name is not a text. Never raises.
std::string ReadIniString(const platform::Variant& file, const std::string& section, const std::string& key);

}  // namespace dtm
