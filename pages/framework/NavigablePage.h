#pragma once
// A page with navigation: IPrivateNavigation over the page's own controls.
// The reference form matches paths against the name its caller gives it; a
// page of the own-name form matches against its class name; a page without
// context matches no pending path. A tabbed page selects the tab a path
// leads to in SelectTabForPath.
#include <string>

#include "core/dtm/IPrivateNavigation.h"
#include "pages/framework/PageBase.h"

namespace dtm {

enum class NavForm { Reference, OwnName, NoContext };

class NavigablePage : public PageBase, public IPrivateNavigation {
public:
    NavigablePage(const PageTraits& traits, NavForm form = NavForm::Reference) : PageBase(traits), form_(form) {}

    void InitControl(const platform::Variant& data) override;
    platform::P<platform::com::Collection> FindParameters(const std::string& parTag,
                                                          const std::string& ctlName) override;
    platform::P<platform::com::Collection> GetDictKeys(const std::string& ctlName) override;
    bool ShowControl(const std::string& controlPfad, const std::string& ctlName) override;
    platform::P<platform::com::Collection> GetParameters(const std::string& ctlName) override;

    // The control the last ShowControl reached (null when none).
    const platform::P<platform::ui::Control>& ShownControl() const { return shown_; }

protected:
    bool ShowPending() override { return ShowControl("", ""); }
    // Before the path goes to the controls: select the tab it leads to.
    virtual void SelectTabForPath(const std::string& /*head*/, const std::string& /*tail*/) {}
    // From SelectTabForPath: the path names a tab the page does not have, so
    // ShowControl answers False (the controls are still searched).
    void RefusePath() { pathRefused_ = true; }

private:
    // The name this page answers to under ctlName.
    std::string OwnName(const std::string& ctlName) const;

    NavForm form_;
    platform::P<platform::ui::Control> shown_;
    bool pathRefused_ = false;
};

}  // namespace dtm
