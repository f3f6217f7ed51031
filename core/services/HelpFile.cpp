// ShowHelpFile: the help file of the current language, or a message that there is none.
#include "core/services/HelpFile.h"

#include <string>

#include "platform/com/Variant.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"

namespace dtm {

namespace com = platform::com;

namespace {

constexpr const char* kNotFoundKey = "error_help_file_not_found";

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
    if (OpenHelpFile(com::Deref(ctx.GuiRegistry()).LanguageId())) return;
    ctx.MsgBox(NotFoundText(ctx), 0);
}

}  // namespace dtm
