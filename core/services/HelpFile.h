#pragma once
// Opening the help file of the current language for the pages' help buttons.
#include <cstdint>
#include <memory>

namespace platform::rt {
class DTMContext;
}

namespace dtm {

// Opens "\DTMHelp<languageId>.chm" of the component's folder with the shell
// (the component's folder as working folder, shown normally); when that
// fails, "\DTMHelp1033.chm". False when neither opened.
bool OpenHelpFile(int32_t languageId);

// OpenHelpFile with the GUI registry's LanguageId; when no help file opens,
// shows the dictionary text "error_help_file_not_found" (as it stands) in the
// context's message box, OK only. `window` is the calling page's window.
void ShowHelpFile(const std::shared_ptr<platform::rt::DTMContext>& DTMContext, int64_t window);

}  // namespace dtm
