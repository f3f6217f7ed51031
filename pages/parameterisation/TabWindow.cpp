#include "pages/parameterisation/TabWindow.h"

#include "core/services/HelpFile.h"
#include "pages/parameterisation/TabPages.h"

namespace dtm {

namespace ui = platform::ui;

void TabWindow::PlaceHelpButton() {
    HelpButton = Place<ui::CommandButton>("HelpButton");
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
}

void TabWindow::PlaceHeadline() {
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
}

void TabWindow::BindTabStrip() {
    TabStrip = PageTabStrip(*this);
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
}

void TabWindow::InitControls() {
    NavigablePage::InitControls();
    TabStrip_Click();
}

void TabWindow::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
    HelpButton->Caption(KeyText("help_button_text"));
}

void TabWindow::SelectTabForPath(const std::string& head, const std::string& tail) {
    if (!SelectTabOfPath(*TabStrip, head, tail)) RefusePath();
}

void TabWindow::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    ShowSelectedTabControl(*this, *TabStrip);
}

void TabWindow::HelpButton_Click() { ShowHelpFile(GetContext(), hWnd()); }

}  // namespace dtm
