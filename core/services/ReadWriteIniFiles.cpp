// ReadWriteIniFiles: values of the configuration file.
#include "core/services/ReadWriteIniFiles.h"

#include "platform/app/Path.h"
#include "platform/win/ProfileString.h"

namespace dtm {

std::string DtmIniFile() { return platform::app::File("\\Resources\\DTM.ini"); }

std::string ReadIniString(const platform::Variant& file, const std::string& section, const std::string& key) {
    // The profile reader has no buffer limit, so a long value comes back whole
    // in one read.
    try {
        return platform::win::ReadProfileString(platform::com::CStr(file), section, key, "");
    } catch (...) {
        return "";
    }
}

}  // namespace dtm
