#include "pages/framework/NavigablePage.h"

#include "pages/framework/Navigation.h"

namespace dtm {

using platform::P;
namespace com = platform::com;

std::string NavigablePage::OwnName(const std::string& ctlName) const {
    return form_ == NavForm::OwnName ? Traits().className : ctlName;
}

void NavigablePage::InitControl(const platform::Variant& /*data*/) { NavInitControls(Controls()); }

P<com::Collection> NavigablePage::FindParameters(const std::string& parTag, const std::string& ctlName) {
    return NavFindParameters(OwnName(ctlName), parTag, Controls());
}

P<com::Collection> NavigablePage::GetDictKeys(const std::string& ctlName) {
    return NavGetDictKeys(OwnName(ctlName), std::string(Traits().className) + "_", Controls());
}

bool NavigablePage::ShowControl(const std::string& controlPfad, const std::string& ctlName) {
    pathRefused_ = false;
    std::string path = controlPfad;
    const auto ctx = form_ == NavForm::NoContext ? nullptr : GetContext();
    if (!NavMatchPath(ctx, OwnName(ctlName), path)) return false;
    SelectTabForPath(NavPathHead(path), NavPathTail(path));
    const bool shown = NavShowChild(path, Controls(), shown_);
    return shown && !pathRefused_;
}

P<com::Collection> NavigablePage::GetParameters(const std::string& /*ctlName*/) { return NavGetParameters(Controls()); }

}  // namespace dtm
