// The function block I/O page in the offline window: its block tabs by the
// ident-number selector, captions with the channel text, re-captioning by
// position, and the child page shown and initialised anew for the tab's block
// on every click.
#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "ParamPagesFixture.h"
#include "pages/parameterisation/ctlOffline.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
using platform::P;
using platform::Variant;

class IOPage : public testing::ParamPagesFixture {
protected:
    void SetUp() override {
        Start();
        session = frame->Open(1);
        ASSERT_NE(session, nullptr);
        window = std::dynamic_pointer_cast<ctlOffline>(session->Page());
        ASSERT_NE(window, nullptr);
        page = window->ctlIOp;
        ASSERT_TRUE(ui::Input::ClickTab(*window->TabStrip, 3));
    }
    std::string Id(const std::string& relative) const { return session->InvokeId() + relative; }
    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        for (const auto& tab : page->TabStrip->Tabs()) keys.push_back(tab->Key());
        return keys;
    }
    std::string Caption(int32_t i) const { return page->TabStrip->Tabs().Item(i)->Caption(); }
    int32_t Selected() const { return page->TabStrip->SelectedItem()->Index(); }
    // Sets an element's value as the model would and tells the pages.
    void Change(const std::string& path, const Variant& value) {
        const auto element = Params().Item(path);
        element->TransientValue(value);
        Params().NotifyChanged(element, "");
    }
    platform::rt::DtmGuiRegistry& Registry() const { return *Ctx().GuiRegistry(); }

    std::shared_ptr<frame::PageSession> session;
    P<ctlOffline> window;
    P<ctlIOp> page;
};

const std::vector<std::string> kManu = {"ctlIOpFuncAI1", "ctlIOpFuncAI2", "ctlIOpFuncAI3", "ctlIOpFuncTOT4",
                                        "ctlIOpFuncAI5", "ctlIOpFuncAI6", "ctlIOpFuncAI7", "ctlIOpFuncTOT8"};
const std::vector<std::string> kProfil = {"ctlIOpFuncAI1", "ctlIOpFuncAI2", "ctlIOpFuncAI3", "ctlIOpFuncTOT4"};

TEST_F(IOPage, OpensOnTheFirstBlockWithItsChildReinitialisedForTheTab) {
    EXPECT_EQ(Keys(), kManu);  // the selector of a new instance is manufacturer-specific
    EXPECT_EQ(Caption(1), "AI 1: Mass flow");
    EXPECT_EQ(Caption(4), "Totaliser 4: Mass flow");
    EXPECT_EQ(Caption(8), "Totaliser 8: Volume flow");
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(page->ctlIOpFuncAI->Visible());
    EXPECT_FALSE(page->ctlIOpFuncTOT->Visible());
    // The closing click of InitControls took the AI page from its numbered id to the tab's.
    EXPECT_EQ(page->ctlIOpFuncAI->InvokeId(), Id(".2$.ctlIOpFuncAI1$"));
    EXPECT_EQ(Registry().FindGui(Id(".2$.1$")), nullptr);
    EXPECT_EQ(page->ctlIOpFuncAI->ctlParamHelp1->ActivateCount(), 2);
    // The Totaliser page stays initialised under its number, hidden.
    EXPECT_EQ(page->ctlIOpFuncTOT->InvokeId(), Id(".2$.2$"));
    EXPECT_EQ(RowOf(*page->ctlIOpFuncTOT, 0).Bound()->Name(), "FUNC/4/TOT/SET_TOT");
}

TEST_F(IOPage, ATabShowsItsChildForItsBlockAndRunsAgainOnTheSameTab) {
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 8));
    EXPECT_FALSE(page->ctlIOpFuncAI->Visible());
    EXPECT_TRUE(page->ctlIOpFuncTOT->Visible());
    EXPECT_EQ(page->ctlIOpFuncTOT->BlockIndex(), 8);
    EXPECT_EQ(page->ctlIOpFuncTOT->InvokeId(), Id(".2$.ctlIOpFuncTOT8$"));
    EXPECT_EQ(RowOf(*page->ctlIOpFuncTOT, 0).Bound()->Name(), "FUNC/8/TOT/SET_TOT");
    EXPECT_EQ(Registry().FindGui(Id(".2$.2$")), nullptr);
    EXPECT_NE(Registry().FindGui(Id(".2$.ctlIOpFuncTOT8$")), nullptr);

    const int32_t inits = page->ctlIOpFuncTOT->ctlParamHelp1->ActivateCount();
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 8));
    EXPECT_EQ(page->ctlIOpFuncTOT->ctlParamHelp1->ActivateCount(), inits + 1);
    EXPECT_EQ(page->ctlIOpFuncTOT->InvokeId(), Id(".2$.ctlIOpFuncTOT8$"));

    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 6));
    EXPECT_TRUE(page->ctlIOpFuncAI->Visible());
    EXPECT_FALSE(page->ctlIOpFuncTOT->Visible());
    EXPECT_EQ(RowOf(*page->ctlIOpFuncAI, 14).Bound()->Name(), "FUNC/6/AI/TAG_DESC");
    EXPECT_EQ(page->ctlIOpFuncTOT->InvokeId(), Id(".2$.ctlIOpFuncTOT8$"));  // hidden, still initialised
}

TEST_F(IOPage, TheSelectorChoosesTheTabListAndTheSelectionFollows) {
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 8));
    Change("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(0));
    EXPECT_EQ(Keys(), kProfil);
    EXPECT_EQ(Caption(4), "Totaliser 4: Mass flow");
    // The selected tab 8 went: tab 1 is selected and its child shown for block 1.
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(page->ctlIOpFuncAI->Visible());
    EXPECT_FALSE(page->ctlIOpFuncTOT->Visible());
    EXPECT_EQ(page->ctlIOpFuncAI->InvokeId(), Id(".2$.ctlIOpFuncAI1$"));

    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 3));
    const int32_t inits = page->ctlIOpFuncAI->ctlParamHelp1->ActivateCount();
    Change("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(1));
    EXPECT_EQ(Keys(), kManu);
    EXPECT_EQ(Caption(7), "AI 7: Solid flow");
    // The selected tab kept its key: the child shown is left as it is.
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(page->ctlIOpFuncAI->ctlParamHelp1->ActivateCount(), inits);
    EXPECT_EQ(page->ctlIOpFuncAI->BlockIndex(), 3);
    Change("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(2));
    EXPECT_EQ(Keys(), kManu);
}

TEST_F(IOPage, AChannelChangeRecaptionsTheTabAtTheBlocksPosition) {
    Change("FUNC/2/AI/CHANNEL", Variant::Int(285));
    EXPECT_EQ(Caption(2), "AI 2: Temperature");
    Change("FUNC/2/AI/CHANNEL", Variant::Int(281));
    // Position n is re-captioned whatever its key names: the second tab here
    // shows block 3, whose channel changed unannounced.
    page->TabStrip_Update("x");
    page->TabStrip_Update("ctlIOpFuncAI1,ctlIOpFuncAI3,ctlIOpFuncAI2");
    EXPECT_EQ(Caption(2), "AI 3: Temperature");
    EXPECT_EQ(Caption(3), "AI 2: Density");
    Params().Item("FUNC/3/AI/CHANNEL")->TransientValue(Variant::Int(277));
    Change("FUNC/2/AI/CHANNEL", Variant::Int(285));
    EXPECT_EQ(Caption(2), "AI 3: Mass flow");
    EXPECT_EQ(Caption(3), "AI 2: Density");
    // Block 8 on a strip of three tabs changes no caption; another element of block 2 none either.
    Change("FUNC/8/TOT/CHANNEL", Variant::Int(273));
    Change("FUNC/2/AI/OUT_SCALE/Unit", Variant::Int(1001));
    EXPECT_EQ(Caption(1), "AI 1: Mass flow");
    EXPECT_EQ(Caption(3), "AI 2: Density");
}

TEST_F(IOPage, ALanguageChangeRebuildsEveryCaption) {
    page->TabStrip->Tabs().Item(1)->Caption("stale");
    page->TabStrip->Tabs().Item(8)->Caption("stale");
    window->TabStrip->Tabs().Item(3)->Caption("stale");
    Ctx().GuiRegistry()->LanguageId(1033);  // the registry tells every page
    EXPECT_EQ(Caption(1), "AI 1: Mass flow");
    EXPECT_EQ(Caption(8), "Totaliser 8: Volume flow");
    EXPECT_EQ(window->TabStrip->Tabs().Item(3)->Caption(), "Function block I/O");
}

TEST_F(IOPage, ATabKeyNamingNoChildFailsTheClick) {
    EXPECT_EQ(ErrorOf([&] {
                  page->TabStrip_Update("ctlIOpFuncXX1,ctlIOpFuncAI2,ctlIOpFuncAI3,ctlIOpFuncTOT4,ctlIOpFuncAI5,"
                                        "ctlIOpFuncAI6,ctlIOpFuncAI7,ctlIOpFuncTOT8");
              }),
              5);
}

}  // namespace
}  // namespace dtm
