#include "pages/parameterisation/ctlOffline.h"

#include "core/services/HelpFile.h"
#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"
#include "platform/com/PropertyBag.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::Variant;

namespace {

constexpr FormLine kHelp[] = {HelpPane()};
constexpr FormLine kSite[] = {Site()};
constexpr FormLine kTabs[] = {Tabs("ctlIdent,ctlInput,ctlIOp")};

}  // namespace

ctlOffline::ctlOffline()
    : NavigablePage(PageTraits{.className = "ctlOffline", .container = true}, NavForm::OwnName) {}

void ctlOffline::BuildForm() {
    HelpButton = Place<ui::CommandButton>("HelpButton");
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
    com::PropertyBag statusDesign;
    statusDesign.WriteProperty("CyclicRefresh", Variant::Bool(false));
    ctlStatus = Place<dtm::ctlStatus>("ctlStatus", std::nullopt, nullptr, &statusDesign);
    PlaceForm(*this, kHelp);
    ctlIOp = Place<dtm::ctlIOp>("ctlIOp");
    ctlInput = Place<dtm::ctlInput>("ctlInput");
    ctlIdent = Place<dtm::ctlIdent>("ctlIdent");
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    PlaceForm(*this, kTabs);
    TabStrip = PageTabStrip(*this);
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
    PlaceForm(*this, kSite);
}

void ctlOffline::InitControls() {
    NavigablePage::InitControls();
    TabStrip_Click();
}

void ctlOffline::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
    HelpButton->Caption(KeyText("help_button_text"));
}

void ctlOffline::SelectTabForPath(const std::string& head, const std::string& tail) {
    if (head == "ctlInput") {
        TabStrip->SelectedItem(TabStrip->Tabs().Item(2));
    } else if (head == "TabStrip") {
        TabStrip->SelectedItem(TabStrip->Tabs().Item(com::CInt(Variant::Str(tail))));
    }
}

void ctlOffline::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    ShowSelectedTabControl(*this, *TabStrip);
}

void ctlOffline::HelpButton_Click() { ShowHelpFile(GetContext(), hWnd()); }

}  // namespace dtm
