#pragma once
// The parameter site of a page: binds the page's rows (the ctlParameter
// controls among its parent's Controls, in collection order) to links made
// from the page's template link, and passes the page's notices on to them.
// A changed element reaches only the links bound to it (one lookup).
//
// A row whose link cannot bind it (its tag names no element) stays unbound,
// read-only and hidden and is listed in UnboundRows; the other rows go on.
// Every call but InitSite does nothing on a site that is not initialised.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/com/Collection.h"
#include "platform/ctl/IPrivateParamLink.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/ui/Control.h"

namespace platform::ctl {

// The keys of the status pictures, in the order the site makes them.
inline constexpr const char* kStatusPictureKeys[] = {
    "CommErr", "AnyErr",        "RangeErr", "InputErr", "Needed",     "Changed",     "Dynamic1",
    "Dynamic2", "OptionalParam", "Locked",  "Initial",  "SavedValue", "OnlineValue", "Blank"};

class ctlParamSite : public ui::Control {
public:
    ctlParamSite();
    std::string TypeName() const override { return "ctlParamSite"; }
    bool Windowed() const override { return false; }

    void InitSite(const P<rt::DTMContext>& ctx, std::string& guiInvokeId, const P<IPrivateParamLink>& paramLink);
    void SetSiteLanguage(int32_t& languageId);
    void ExitSite();
    void SiteParameterChanged(const rt::El& element);
    void SiteParameterSetChanged();
    void SiteValidateParameters();
    // Stores the site's editable state; its rows are read-only while it is
    // False, and an edit open when it turns False is cancelled. An exited
    // site forgets it: its page takes the lock anew when it binds its rows
    // again.
    void SiteLockStateChanged(bool& editable);

    bool Initialised() const { return initialised_; }
    bool Editable() const { return editable_; }
    // The status pictures by key (each item a ui::Picture).
    const P<com::Collection>& Pictures() const { return pictures_; }

    struct BoundRow {
        P<ctlParameter> row;
        P<IPrivateParamLink> link;
    };
    const std::vector<BoundRow>& Links() const { return links_; }
    struct UnboundRow {
        P<ctlParameter> row;
        std::string error;  // the error that kept the row from binding
    };
    const std::vector<UnboundRow>& UnboundRows() const { return unbound_; }

    void Describe(ui::Description& d) const override;

private:
    std::vector<P<IPrivateParamLink>> LinksOf(const rt::El& element) const;

    P<com::Collection> pictures_;
    bool initialised_ = false;
    bool editable_ = true;
    std::vector<BoundRow> links_;
    std::vector<UnboundRow> unbound_;
    std::unordered_map<const rt::IPrivateDataElement*, std::vector<P<IPrivateParamLink>>> byElement_;
};

}  // namespace platform::ctl
