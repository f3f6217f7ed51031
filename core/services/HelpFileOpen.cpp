// OpenHelpFile: the help file of a language, with its fallback.
#include <string>

#include "core/services/HelpFile.h"
#include "platform/app/Path.h"
#include "platform/win/Shell.h"

namespace dtm {

namespace {

constexpr int32_t kShowNormal = 1;
constexpr int32_t kShellLastError = 32;  // answers up to here are failures
constexpr int32_t kFallbackLanguage = 1033;

bool Open(int32_t languageId) {
    const std::string file = platform::app::File("\\DTMHelp" + std::to_string(languageId) + ".chm");
    return platform::win::ShellExecute("", file, "", platform::app::Path(), kShowNormal) > kShellLastError;
}

}  // namespace

bool OpenHelpFile(int32_t languageId) { return Open(languageId) || Open(kFallbackLanguage); }

}  // namespace dtm
