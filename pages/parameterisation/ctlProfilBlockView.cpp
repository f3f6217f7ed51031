#include "pages/parameterisation/ctlProfilBlockView.h"

#include <algorithm>
#include <cmath>

#include "model/elements/LanguageHelpers.h"
#include "pages/framework/Navigation.h"
#include "pages/framework/clsParamLink.h"
#include "pages/framework/ctlScrollPane.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

namespace ui = platform::ui;
namespace ctl = platform::ctl;
using platform::P;

namespace {

constexpr float kMargin = 120;
constexpr float kRowWidth = 8000;
constexpr float kRowHeight = 315;
// The row of a numbered block's own BlockIndex element.
constexpr const char* kBlockIndexElement = "BlockIndex";

PageTraits ViewTraits(const ProfilBlockForm& form) {
    PageTraits traits;
    traits.className = form.className;
    traits.hideOnRelease = form.hideOnRelease;
    return traits;
}

}  // namespace

ctlProfilBlockView::ctlProfilBlockView(const ProfilBlockForm& form)
    : BlockIndexedPage(ViewTraits(form), 1, NavForm::NoContext), form_(form) {}

void ctlProfilBlockView::BuildForm() {
    float top = kMargin;
    auto labels = form_.labels.begin();
    auto placeLabelsBefore = [&](int16_t index) {
        for (; labels != form_.labels.end() && labels->beforeRow <= index; ++labels) {
            auto label = Place<ui::Label>(labels->name);
            label->Caption(labels->caption);
            label->Move(kMargin, top, kRowWidth, kRowHeight);
            top += kRowHeight;
        }
    };
    for (const auto& part : form_.rows) {
        for (const auto& r : part) {
            placeLabelsBefore(r.index);
            auto row = Place<ctl::ctlParameter>("ctlParameter", r.index);
            row->parameterTag(std::string(form_.tagPrefix) + r.path);
            row->ControlType(r.type);
            const bool blockIndexRow = r.option == kBlockIndexRow;
            row->LabelText(blockIndexRow ? "Block Index" : row->parameterTag());
            row->labelwidth(blockIndexRow ? -70 : -40);
            row->unitwidth(blockIndexRow ? 0 : -15);
            row->Move(kMargin, top, kRowWidth, kRowHeight);
            top += kRowHeight;
        }
    }
    placeLabelsBefore(INT16_MAX);
    PlaceTemplateControls();
    Move(0, 0, kRowWidth + 2 * kMargin, top + kMargin);
}

void ctlProfilBlockView::Initialize() {
    recordedWidth_ = Width();
    recordedHeight_ = Height();
    recorded_ = true;
}

void ctlProfilBlockView::BlockIndex(int16_t index) {
    BlockIndexedPage::BlockIndex(index);
    PropertyChanged(kBlockIndexKey);
}

float ctlProfilBlockView::ContentBottom() const {
    float bottom = 0;
    for (const auto& c : Controls()) {
        const std::string kind = c->TypeName();
        if (kind == "ctlParameter" || kind == "Label") bottom = std::max(bottom, c->Top() + c->Height());
    }
    return bottom;
}

void ctlProfilBlockView::Resize() {
    const float dW = Width() - recordedWidth_;
    const float dH = Height() - recordedHeight_;
    if (!recorded_ || (dW == 0 && dH == 0)) return;
    const std::string keptRow = form_.blockNumbered ? std::string(form_.tagPrefix) + kBlockIndexElement : "";
    for (const auto& c : Controls()) {
        try {
            const auto* row = dynamic_cast<const ctl::ctlParameter*>(c.get());
            if (!row || keptRow.empty() || row->parameterTag() != keptRow) c->Width(c->Width() + dW);
        } catch (...) {
            // A control that cannot be widened keeps its width.
        }
    }
    // Exactly as tall as the rows: the pane scrolls the page as a whole.
    const float bottom = ContentBottom();
    recordedWidth_ = Width();
    recordedHeight_ = bottom;
    Height(bottom);
}

void ctlProfilBlockView::ConfigureLink(clsParamLink& link) {
    if (form_.blockNumbered) link.index = BlockIndex();
    link.bDisplayDPV1Index = true;
}

void ctlProfilBlockView::InitLanguageDependedControls(int32_t languageId) {
    Trace("InitLanguageDependedControls", "");
    platform::com::Deref(ctlParamSite1).SetSiteLanguage(languageId);
    SetLangCaptions(GetContext(), form_.captionPrefix, std::vector<P<ui::Control>>(Controls().begin(), Controls().end()));
}

P<platform::com::Collection> ctlProfilBlockView::GetDictKeys(const std::string& ctlName) {
    return NavGetDictKeys(ctlName, form_.captionPrefix, Controls());
}

bool ctlProfilBlockView::ShowControl(const std::string& controlPfad, const std::string& ctlName) {
    const bool shown = BlockIndexedPage::ShowControl(controlPfad, ctlName);
    try {
        auto* pane = dynamic_cast<ctlScrollPane*>(Parent());
        if (shown && pane && ShownControl()) {
            const double top = std::clamp(std::nearbyint(static_cast<double>(ShownControl()->Top())), -32768.0, 32767.0);
            pane->ScrollValue(static_cast<int16_t>(top));
        }
    } catch (...) {
        // A pane that cannot scroll leaves the row where it is.
    }
    return shown;
}

}  // namespace dtm
