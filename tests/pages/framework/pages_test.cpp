// The identification, About and window-limit pages, created by program id
// without a DTM and initialised as the frame does.
#include <gtest/gtest.h>

#include "core/ComponentFolder.h"
#include "core/DtmFixture.h"
#include "pages/framework/ctlAbout.h"
#include "pages/framework/ctlIdent.h"
#include "pages/framework/ctlNoMoreWindows.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/Path.h"
#include "platform/app/Version.h"
#include "platform/ctl/RowInput.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Host.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;
using platform::ctl::RowInput::Commit;
using platform::ctl::RowInput::Type;

class PagesTest : public testing::DtmFixture {
protected:
    PagesTest() {
        ui::Environment::Instance().Reset();
        StartNew();
    }
    ~PagesTest() override {
        host.reset();
        ui::Environment::Instance().Reset();
    }
    template <class Page>
    P<Page> Create(const std::string& className) {
        auto page = std::dynamic_pointer_cast<Page>(registry.CreateObject("RG38N226_4_07." + className));
        if (page) {
            host = std::make_unique<ui::Host>(page);
            host->Show();
        }
        return page;
    }
    void ExpectNoErrors() const {
        const auto& errors = platform::app::ErrorSink::Instance().Errors();
        EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front().where);
    }
    std::string Dict(const std::string& key) const {
        return com::CStr(Ctx().Dictionary()->LookupText("keys", key, "text"));
    }
    platform::rt::DtmGuiRegistry& Registry() const { return *Ctx().GuiRegistry(); }
    platform::ctl::ctlParameter& Row(ctlIdent& page, int16_t i) const {
        return dynamic_cast<platform::ctl::ctlParameter&>(*page.Controls().Item("ctlParameter", i));
    }

    std::unique_ptr<ui::Host> host;
};

TEST_F(PagesTest, IdentBindsItsSixteenRowsAndEditsThem) {
    auto page = Create<ctlIdent>("ctlIdent");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->Init("ident", "", session.Dtm()));
    EXPECT_EQ(Registry().FindGui("ident"), page->Object());
    EXPECT_EQ(page->ctlParamSite1->Links().size(), 16u);
    EXPECT_TRUE(page->ctlParamSite1->UnboundRows().empty());
    EXPECT_EQ(Row(*page, 0).Container(), page->frmOperUnit.get());
    EXPECT_EQ(Row(*page, 17).Container(), page->frmDevice.get());

    ASSERT_TRUE(Type(Row(*page, 0), "NEWTAG"));
    ASSERT_TRUE(Commit(Row(*page, 0)));
    EXPECT_EQ(com::CStr(Element("PHYS/TAG_DESC").TransientValue).substr(0, 6), "NEWTAG");

    // A change notice redraws the row.
    auto descriptor = Params().Item("PHYS/DESCRIPTOR");
    descriptor->TransientValue(Variant::Str("FROM MODEL"));
    Params().NotifyChanged(descriptor, "");
    EXPECT_NE(Row(*page, 1).DisplayText().find("FROM MODEL"), std::string::npos);

    Registry().LockState(true);
    EXPECT_TRUE(Row(*page, 0).ReadOnly());
    Registry().LockState(false);
    EXPECT_FALSE(Row(*page, 0).ReadOnly());

    EXPECT_EQ(page->frmDevice->Caption(), Dict("ctlIdent_frmDevice"));
    page->frmDevice->Caption("");
    page->SetLanguage(1033);  // a language change sets the captions again
    EXPECT_EQ(page->frmDevice->Caption(), Dict("ctlIdent_frmDevice"));
    EXPECT_EQ(page->frmOperUnit->Caption(), Dict("ctlIdent_frmOperUnit"));
    ExpectNoErrors();
}

TEST_F(PagesTest, IdentShowsThePendingPathAndHidesOnClose) {
    auto page = Create<ctlIdent>("ctlIdent");
    ASSERT_TRUE(page->Init("ident", "", session.Dtm()));
    Ctx().Functions()->ControlPfad(".ctlParameter.5");
    page->Show();
    EXPECT_EQ(Ctx().Functions()->ControlPfad(), "");
    ASSERT_NE(host->Focus().Focused(), nullptr);
    EXPECT_EQ(host->Focus().Focused(), &Row(*page, 5));

    EXPECT_TRUE(page->CloseGUI());
    EXPECT_EQ(Registry().FindGui("ident"), nullptr);
    EXPECT_TRUE(page->WindowHidden());
    EXPECT_FALSE(page->ctlParamSite1->Initialised());
    ExpectNoErrors();
}

TEST_F(PagesTest, AboutShowsVendorDescriptorAndVersionAndStartsLockedWhenLocked) {
    auto& type = *Ctx().DeviceType();
    type.DeviceVendor("");
    type.DeviceDescriptor("Descr");
    Registry().LockState(true);
    auto page = Create<ctlAbout>("ctlAbout");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(dynamic_cast<IPrivateNavigation*>(page.get()), nullptr);
    ASSERT_TRUE(page->Init("about", "", session.Dtm()));
    EXPECT_EQ(page->about_info_lbl->Caption(), "\r\nDescr\r\nSoftware:  " + platform::app::Version());
    EXPECT_TRUE(page->ctlParameter->ReadOnly());
    EXPECT_EQ(page->ctlHeadline->Title(), com::CStr(type.DeviceTypeName()));
    type.DeviceVendor("Vendor");
    page->SetLanguage(1033);
    EXPECT_EQ(page->about_info_lbl->Caption().substr(0, 8), "Vendor\r\n");
    EXPECT_TRUE(page->PrepareToRelease());
    EXPECT_EQ(Registry().OpenGuis(), 0);
    ExpectNoErrors();
}

TEST_F(PagesTest, NoMoreWindowsShowsTheWarningAndFailsWithoutItsIcon) {
    auto page = Create<ctlNoMoreWindows>("ctlNoMoreWindows");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->Init("limit", "", session.Dtm()));
    ASSERT_NE(page->Picture1->Picture(), nullptr);
    EXPECT_FALSE(page->txtwarning->Text().empty());
    EXPECT_TRUE(page->PrepareToRelease());

    {
        testing::ComponentFolder folder;  // a component folder without the icon
        EXPECT_ANY_THROW(page->Init("limit", "", session.Dtm()));
    }
    EXPECT_FALSE(page->Initialised());
    EXPECT_EQ(Registry().OpenGuis(), 0);
    ExpectNoErrors();
}

}  // namespace
}  // namespace dtm
