#include "pages/framework/BlockTabPage.h"

#include "core/services/HelpFile.h"

namespace dtm {

using platform::P;

void BlockTabPage::PlaceHelpButton() {
    HelpButton = Place<platform::ui::CommandButton>("HelpButton");
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
}

void BlockTabPage::AttachBlockTabs() {
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
    tabs_ = std::make_unique<BlockTabStrip>(*this, *TabStrip, *FindBlockTabHost(Traits().className),
                                            [this] { TabStrip_Click(); });
}

void BlockTabPage::InitControls() {
    NavigablePage::InitControls();
    tabs_->Start();
}

bool BlockTabPage::ExitControls() {
    tabs_->Stop();
    return NavigablePage::ExitControls();
}

void BlockTabPage::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    if (ctlHeadline) FillHeadline(*ctlHeadline);
    tabs_->Captions();
    if (HelpButton) HelpButton->Caption(KeyText("help_button_text"));
}

void BlockTabPage::UpdateParameterCtl(const P<platform::rt::IPrivateDataElement>& element) {
    NavigablePage::UpdateParameterCtl(element);
    tabs_->OnParameterChanged(element);
}

void BlockTabPage::UpdateAllParameterCtls() {
    NavigablePage::UpdateAllParameterCtls();
    tabs_->UpdateFromSelector();
}

void BlockTabPage::HelpButton_Click() { ShowHelpFile(GetContext(), hWnd()); }

}  // namespace dtm
