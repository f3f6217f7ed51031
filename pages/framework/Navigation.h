#pragma once
// Navigation over a page's control collection: child pages are the controls
// whose object is an IPrivateNavigation, rows the ctlParameter controls.
#include <string>

#include "core/dtm/IPrivateNavigation.h"
#include "platform/ui/UserControl.h"

namespace platform::rt {
class DTMContext;
}

namespace dtm {

void NavInitControls(const platform::ui::Controls& controls);
// Hits of the child pages first, then the own rows bound to parTag (exact
// case); a hit whose path is already there is dropped.
platform::P<platform::com::Collection> NavFindParameters(const std::string& ctlName, const std::string& parTag,
                                                         const platform::ui::Controls& controls);
platform::P<platform::com::Collection> NavGetDictKeys(const std::string& ctlName, const std::string& prefix,
                                                      const platform::ui::Controls& controls);
platform::P<platform::com::Collection> NavGetParameters(const platform::ui::Controls& controls);
// An empty path takes the function manager's pending path. When the head
// (the whole path when it has no ".") equals ctlName, cuts it off, clears the
// pending path it came from and answers True.
bool NavMatchPath(const platform::P<platform::rt::DTMContext>& ctx, const std::string& ctlName,
                  std::string& controlPfad);
std::string NavPathHead(const std::string& path);
std::string NavPathTail(const std::string& path);
// A leaf ("name", "name.index", "Strip.tab") gets the focus where it takes
// it and answers True found or not; a longer path goes to the child pages
// of that name. `found` is the control reached (null when none).
bool NavShowChild(const std::string& controlPfad, const platform::ui::Controls& controls,
                  platform::P<platform::ui::Control>& found);

}  // namespace dtm
