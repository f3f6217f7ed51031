#include "platform/ctl/ctlParamSite.h"

#include "platform/com/Error.h"
#include "platform/ui/Description.h"
#include "platform/ui/Picture.h"
#include "platform/ui/UserControl.h"

namespace platform::ctl {

ctlParamSite::ctlParamSite() : pictures_(std::make_shared<com::Collection>()) {
    for (const char* key : kStatusPictureKeys) pictures_->Add(Variant::Obj(ui::Picture::Make(key, 16, 16)), key);
}

void ctlParamSite::InitSite(const P<rt::DTMContext>& ctx, std::string& guiInvokeId,
                            const P<IPrivateParamLink>& paramLink) {
    if (initialised_) ExitSite();
    initialised_ = true;
    if (!Parent()) return;
    for (const auto& control : Parent()->Controls()) {
        auto row = std::dynamic_pointer_cast<ctlParameter>(control);
        if (!row) continue;
        row->SiteEditable(editable_);
        auto link = paramLink->GetNewParamLink();
        try {
            link->InitLink(ctx, row, pictures_, guiInvokeId);
        } catch (const com::ComError& e) {
            row->Unbound(true);
            row->Visible(false);
            unbound_.push_back({row, e.what()});
            continue;
        }
        links_.push_back({row, link});
        byElement_[link->DataElement().get()].push_back(link);
    }
}

void ctlParamSite::SetSiteLanguage(int32_t& languageId) {
    if (!initialised_) return;
    for (const auto& bound : std::vector<BoundRow>(links_)) bound.link->InitLanguageDependent(languageId);
}

void ctlParamSite::ExitSite() {
    if (!initialised_) return;
    initialised_ = false;
    editable_ = true;
    const auto links = std::move(links_);
    links_.clear();
    byElement_.clear();
    for (const auto& u : unbound_) u.row->Unbound(false);
    unbound_.clear();
    for (const auto& bound : links) bound.link->TerminateLink();
}

std::vector<P<IPrivateParamLink>> ctlParamSite::LinksOf(const rt::El& element) const {
    const auto it = byElement_.find(element.get());
    return it == byElement_.end() ? std::vector<P<IPrivateParamLink>>() : it->second;
}

void ctlParamSite::SiteParameterChanged(const rt::El& element) {
    if (!initialised_ || !element) return;
    for (const auto& link : LinksOf(element)) link->UpdateParameter();
}

void ctlParamSite::SiteParameterSetChanged() {
    if (!initialised_) return;
    for (const auto& bound : std::vector<BoundRow>(links_)) bound.link->UpdateParameter();
}

void ctlParamSite::SiteValidateParameters() {
    if (!initialised_) return;
    for (const auto& bound : std::vector<BoundRow>(links_)) bound.link->ValidateParameter();
}

void ctlParamSite::SiteLockStateChanged(bool& editable) {
    if (!initialised_) return;
    editable_ = editable;
    for (const auto& bound : std::vector<BoundRow>(links_)) {
        bound.row->SiteEditable(editable_);
        // The text of an open edit was never in the data set: once locked, it never gets there.
        if (!editable_) bound.row->UserCancel();
    }
}

void ctlParamSite::Describe(ui::Description& d) const {
    Control::Describe(d);
    d.onlyWithAll = true;
    d.Attr("links=" + std::to_string(links_.size()));
    d.Attr(editable_ ? "editable" : "locked");
    d.Prop("links", static_cast<int32_t>(links_.size()));
    d.Prop("unbound", static_cast<int32_t>(unbound_.size()));
    d.Prop("editable", editable_);
}

}  // namespace platform::ctl
