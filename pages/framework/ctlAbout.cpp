#include "pages/framework/ctlAbout.h"

#include "pages/framework/clsParamLink.h"
#include "platform/app/Version.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;

ctlAbout::ctlAbout()
    : PageBase(PageTraits{"ctlAbout", true, ChildInit::After, true, false, false}) {}

void ctlAbout::BuildForm() {
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    ctlParameter = Place<platform::ctl::ctlParameter>("ctlParameter");
    ctlParameter->ControlType(3);
    ctlParameter->labelwidth(-70);
    ctlParameter->parameterTag("PHYS/BLK_OBJ/Profile_Revision");
    ctlParameter->Move(240, 2400, 8000, 315);
    PlaceTemplateControls();
    about_info_lbl = Place<ui::Label>("about_info_lbl");
    about_info_lbl->Caption("About Info");
    about_info_lbl->Move(240, 1080, 8000, 1200);
}

void ctlAbout::ConfigureLink(clsParamLink& link) { link.bOnlineMode = false; }

void ctlAbout::InitLanguageDependedControls(int32_t languageId) {
    Trace("InitLanguageDependedControls", "");
    com::Deref(ctlParamSite1).SetSiteLanguage(languageId);
    const auto& type = com::Deref(com::Deref(GetContext()).DeviceType());
    about_info_lbl->Caption(type.DeviceVendor() + "\r\n" + type.DeviceDescriptor() + "\r\nSoftware:  " +
                            std::to_string(platform::app::kVersionMajor) + "." +
                            std::to_string(platform::app::kVersionMinor) + "." +
                            std::to_string(platform::app::kVersionRevision));
    FillHeadline(*ctlHeadline);
}

}  // namespace dtm
