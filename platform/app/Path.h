#pragma once
// The component's folder and the mapping of the component's "\" paths onto it.
#include <string>

namespace platform::app {

// The component folder, without a trailing "/": the one set by SetPath, else
// the folder the build named, else the executable's folder.
std::string Path();
// Sets the component folder (tests, frames); "" returns to the default.
void SetPath(const std::string& folder);

// Maps a path relative to the component folder: "\" becomes "/", leading
// separators are dropped, and the rest is joined to Path(). Names keep their
// case: File("\XMLData\DTMInformation.xml") = Path() + "/XMLData/DTMInformation.xml".
std::string File(const std::string& relative);

}  // namespace platform::app
