#include "pages/framework/ctlNoMoreWindows.h"

#include "pages/framework/clsParamLink.h"
#include "platform/app/Path.h"
#include "platform/com/Error.h"
#include "platform/ui/Picture.h"

namespace dtm {

namespace ui = platform::ui;

ctlNoMoreWindows::ctlNoMoreWindows()
    : PageBase(PageTraits{"ctlNoMoreWindows", true, ChildInit::After, true, false, false}) {}

void ctlNoMoreWindows::BuildForm() {
    Picture1 = Place<ui::PictureBox>("Picture1");
    Picture1->Move(240, 240, 600, 600);
    txtwarning = Place<ui::TextBox>("txtwarning");
    txtwarning->Move(1080, 240, 6000, 1200);
    txtwarning->MultiLine(true);
    txtwarning->Locked(true);
    PlaceTemplateControls();
}

void ctlNoMoreWindows::ConfigureLink(clsParamLink& link) { link.bOnlineMode = false; }

void ctlNoMoreWindows::InitLanguageDependedControls(int32_t languageId) {
    Trace("InitLanguageDependedControls", "");
    platform::com::Deref(ctlParamSite1).SetSiteLanguage(languageId);
    Picture1->Picture(ui::LoadPicture(platform::app::File("\\Resources\\mw.ico")));
    txtwarning->Text(KeyText("txt_warning_max_two_controls"));
}

}  // namespace dtm
