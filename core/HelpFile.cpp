// ShowHelpFile: the help file of the current language, with its fallback.
#include "core/HelpFile.h"

#include <string>

#include "platform/app/Path.h"
#include "platform/com/Variant.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/win/Shell.h"

namespace dtm {

namespace com = platform::com;

namespace {

constexpr int32_t kShowNormal = 1;
constexpr int32_t kShellLastError = 32;  // answers up to here are failures
constexpr const char* kNotFoundKey = "error_help_file_not_found";

bool OpenHelp(int32_t languageId) {
    const std::string file = platform::app::File("\\DTMHelp" + std::to_string(languageId) + ".chm");
    return platform::win::ShellExecute("", file, "", platform::app::Path(), kShowNormal) > kShellLastError;
}

// The dictionary text as it stands (no placeholders filled); the key itself
// when the dictionary has none.
std::string NotFoundText(platform::rt::DTMContext& ctx) {
    auto dictionary = ctx.Dictionary();
    if (dictionary) {
        const platform::Variant text = dictionary->LookupText("keys", kNotFoundKey, "text");
        if (text.IsString()) return text.StrRef();
    }
    return kNotFoundKey;
}

}  // namespace

void ShowHelpFile(const std::shared_ptr<platform::rt::DTMContext>& DTMContext, int64_t /*window*/) {
    auto& ctx = com::Deref(DTMContext);
    const int32_t languageId = com::Deref(ctx.GuiRegistry()).LanguageId();
    if (OpenHelp(languageId)) return;
    if (OpenHelp(1033)) return;
    ctx.MsgBox(NotFoundText(ctx), 0);
}

}  // namespace dtm
