#pragma once
// Opening the help file of the current language for the pages' help buttons.
#include <cstdint>
#include <memory>

namespace platform::rt {
class DTMContext;
}

namespace dtm {

// Opens "\DTMHelp<language id>.chm" of the component's folder with the shell,
// the GUI registry's LanguageId naming the language; when that fails,
// "\DTMHelp1033.chm"; when that fails too, shows the dictionary text
// "error_help_file_not_found" in a message box (OK only). `window` is the
// calling page's window.
void ShowHelpFile(const std::shared_ptr<platform::rt::DTMContext>& DTMContext, int64_t window);

}  // namespace dtm
