// The offline parameterisation window opened as function 1 through the test
// frame: its child pages and their invoke ids, the tabs, the headline, the
// status bar without cyclic reading, navigation by control path, and the
// order in which the page tree is initialised and released.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "ErrorOf.h"
#include "ParamPagesFixture.h"
#include "core/ComponentFolder.h"
#include "pages/parameterisation/ctlOffline.h"
#include "platform/com/Collection.h"
#include "platform/ctl/RowInput.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;

class OfflineWindow : public testing::ParamPagesFixture {
protected:
    // Opens function 1; `page` is the window.
    void Open(const std::string& controlPath = "") {
        session = frame->Open(1, controlPath);
        ASSERT_NE(session, nullptr);
        EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlOffline");
        page = std::dynamic_pointer_cast<ctlOffline>(session->Page());
        ASSERT_NE(page, nullptr);
    }
    platform::rt::DtmGuiRegistry& Registry() const { return *Ctx().GuiRegistry(); }
    // The names of the window's child pages that are visible, in form order.
    std::vector<std::string> VisibleTabPages() const {
        std::vector<std::string> names;
        for (const auto& child : {P<ui::Control>(page->ctlIdent), P<ui::Control>(page->ctlInput),
                                  P<ui::Control>(page->ctlIOp)})
            if (child->Visible()) names.push_back(child->Name);
        return names;
    }
    std::string Id(const std::string& relative) const { return session->InvokeId() + relative; }

    std::shared_ptr<frame::PageSession> session;
    P<ctlOffline> page;
};

TEST_F(OfflineWindow, OpensWithItsChildPagesNumberedInFormOrder) {
    Open();
    EXPECT_TRUE(page->TopLevel());
    EXPECT_EQ(page->ctlStatus->InvokeId(), Id(".1$"));
    EXPECT_EQ(page->ctlIOp->InvokeId(), Id(".2$"));
    EXPECT_EQ(page->ctlInput->InvokeId(), Id(".3$"));
    EXPECT_EQ(page->ctlIdent->InvokeId(), Id(".4$"));
    EXPECT_EQ(page->ctlInput->ctlInpCtrlParam->InvokeId(), Id(".3$.1$"));
    EXPECT_EQ(page->ctlInput->ctlInpMeasConLimits->InvokeId(), Id(".3$.2$"));
    EXPECT_EQ(page->ctlInput->ctlInpMeasLimits->InvokeId(), Id(".3$.3$"));
    EXPECT_EQ(page->ctlIOp->ctlIOpFuncTOT->InvokeId(), Id(".2$.2$"));
    const char* ids[] = {"", ".1$", ".2$", ".3$", ".4$", ".3$.1$", ".3$.2$", ".3$.3$", ".2$.ctlIOpFuncAI1$", ".2$.2$"};
    for (const char* id : ids) EXPECT_NE(Registry().FindGui(Id(id)), nullptr) << id;

    // Tab 1 shows the identification page; the other two are initialised but hidden.
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);
    EXPECT_EQ(VisibleTabPages(), std::vector<std::string>{"ctlIdent"});
    EXPECT_TRUE(page->ctlInput->Initialised());
    EXPECT_TRUE(page->ctlIOp->Initialised());
    EXPECT_EQ(page->TabStrip->Tabs().Item(1)->Caption(), "Identification");
    EXPECT_EQ(page->TabStrip->Tabs().Item(2)->Caption(), "Input");
    EXPECT_EQ(page->TabStrip->Tabs().Item(3)->Caption(), "Function block I/O");
    EXPECT_EQ(page->HelpButton->Caption(), "Help");
    EXPECT_EQ(page->ctlHeadline->Title(), "RXD 218");
    EXPECT_EQ(page->ctlHeadline->Image1->Picture()->DisplayName(), "RXD218.bmp");

    EXPECT_TRUE(frame->Close(*session));
    for (const char* id : ids) EXPECT_EQ(Registry().FindGui(Id(id)), nullptr) << id;
    EXPECT_TRUE(page->WindowHidden());
    EXPECT_FALSE(page->ctlIOp->WindowHidden());  // the I/O page does not hide its window
    EXPECT_TRUE(page->ctlInput->WindowHidden());
}

TEST_F(OfflineWindow, TabsShowTheirPageWithoutReadingTheDevice) {
    ASSERT_TRUE(frame->Connect());
    Open();
    const size_t requests = frame->Device().Log().size();
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 3));
    EXPECT_EQ(VisibleTabPages(), std::vector<std::string>{"ctlIOp"});
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 2));
    EXPECT_EQ(VisibleTabPages(), std::vector<std::string>{"ctlInput"});
    // The input page's two rows stay in sight whatever sub-page it shows.
    ASSERT_TRUE(ui::Input::ClickTab(*page->ctlInput->TabStrip, 3));
    EXPECT_FALSE(page->ctlInput->ctlInpCtrlParam->Visible());
    EXPECT_FALSE(page->ctlInput->ctlInpMeasLimits->Visible());
    EXPECT_TRUE(page->ctlInput->ctlInpMeasConLimits->EffectiveVisible());
    EXPECT_TRUE(RowOf(*page->ctlInput, 0).EffectiveVisible());
    EXPECT_TRUE(RowOf(*page->ctlInput, 1).EffectiveVisible());
    EXPECT_EQ(frame->Device().Log().size(), requests);
}

TEST_F(OfflineWindow, TheStatusBarShowsTheStateButNeverReadsForThePage) {
    ASSERT_TRUE(frame->Connect());
    Open();
    EXPECT_FALSE(page->ctlStatus->CyclicRefresh());
    EXPECT_FALSE(page->ctlStatus->ctlCycle->Visible());
    EXPECT_EQ(page->ctlStatus->ctlCycle->CycleGroup(), nullptr);
    const size_t requests = frame->Device().Log().size();
    platform::app::EventLoop::Instance().Advance(3 * 4000);
    EXPECT_EQ(frame->Device().Log().size(), requests);
    EXPECT_EQ(Registry().CycleActiveCount(), 0);
}

TEST_F(OfflineWindow, AnEditReachesTheElementAndTheDataSetState) {
    Open();
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 2));
    auto& tag = RowOf(*page->ctlInput, 1);
    ASSERT_TRUE(platform::ctl::RowInput::Type(tag, "FT-102"));
    ASSERT_TRUE(platform::ctl::RowInput::Commit(tag));
    EXPECT_EQ(com::CStr(Params().Item("TRANS/1/FlowCori/TAG_DESC")->TransientValue()).substr(0, 6), "FT-102");
    EXPECT_EQ(tag.StatusIconKey(), "Changed");
    EXPECT_EQ(page->ctlStatus->PanelIcon("pnlParamChange"), "k_changed");
}

TEST_F(OfflineWindow, TheModelPictureFollowsTheDeviceTypeName) {
    Start(Model::RXD214);
    Open();
    EXPECT_EQ(page->ctlHeadline->Title(), "RXD 214");
    EXPECT_EQ(page->ctlHeadline->Image1->Picture()->DisplayName(), "RXD214.bmp");
    // "~/RXD214" differs from the device type's name: the RXD 218 picture.
    Params().Item("~/RXD214")->TransientValue(Variant::Str("other"));
    page->SetLanguage(1033);
    EXPECT_EQ(page->ctlHeadline->Image1->Picture()->DisplayName(), "RXD218.bmp");
}

TEST_F(OfflineWindow, TheHelpButtonOpensTheHelpFile) {
    Open();
    ASSERT_TRUE(ui::Input::Click(*page->HelpButton));
    // No help file is shipped: the user is told so.
    const auto& boxes = platform::app::MessageBoxHandler::Instance().Records();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "The help file could not be found or opened.");
}

TEST_F(OfflineWindow, SearchResultsBeginWithTheWindowsName) {
    Open();
    const auto hits = page->FindParameters("TRANS/1/FlowCori/TAG_DESC", "");
    ASSERT_EQ(hits->Count(), 1);
    EXPECT_EQ(std::dynamic_pointer_cast<clsSearchItem>(hits->Item(1).ObjRef())->Pfad, "ctlOffline.ctlInput.ctlParameter.1");
    const auto keys = page->GetDictKeys("anything");
    EXPECT_TRUE(keys->Contains("ctlOffline.TabStrip.3"));
    EXPECT_TRUE(keys->Contains("ctlOffline.ctlInput.ctlInpMeasLimits.frmTempLimit"));
    EXPECT_EQ(std::dynamic_pointer_cast<clsSearchItem>(keys->Item("ctlOffline.HelpButton").ObjRef())->DictKey,
              "ctlOffline_HelpButton");
}

TEST_F(OfflineWindow, EveryCaptionKeyOfThePageTreeIsInTheDictionary) {
    Open();
    const auto& dictionary = *Ctx().Dictionary();
    const auto keys = page->GetDictKeys("");
    EXPECT_EQ(keys->Count(), 40);
    for (const auto& item : *keys) {
        const auto key = std::dynamic_pointer_cast<clsSearchItem>(item.ObjRef())->DictKey;
        EXPECT_FALSE(dictionary.LookupText("keys", key, "text").IsEmpty()) << key;
    }
    // The block tabs of both lists, captioned by their keys.
    for (const char* list : {"ctlIOp_TabStrip_Profil", "ctlIOp_TabStrip_Manu"}) {
        const std::string tabs = com::CStr(dictionary.LookupText("keys", list, "text"));
        ASSERT_FALSE(tabs.empty()) << list;
        for (size_t start = 0; start <= tabs.size();) {
            const size_t comma = std::min(tabs.find(',', start), tabs.size());
            const std::string key = tabs.substr(start, comma - start);
            EXPECT_FALSE(dictionary.LookupText("keys", key, "text").IsEmpty()) << key;
            start = comma + 1;
        }
    }
    EXPECT_FALSE(dictionary.LookupText("keys", "help_button_text", "text").IsEmpty());
}

struct NavCase {
    const char* name;
    const char* path;
    int offlineTabBefore;  // the window's tab selected before
    int inputTab;          // the input page's tab selected before (0: untouched)
    bool shown;            // ShowControl's answer
    int offlineTab;        // the window's tab afterwards
    const char* focus;     // the control path that has the focus afterwards ("": the focus stays)
};

const NavCase kNavCases[] = {
    {"IdentRow", "ctlOffline.ctlIdent.ctlParameter.5", 1, 0, true, 1, "ctlIdent.ctlParameter.5"},
    {"InputRowSelectsTab2", "ctlOffline.ctlInput.ctlParameter.1", 1, 0, true, 2, "ctlInput.ctlParameter.1"},
    {"ControlParameterRow", "ctlOffline.ctlInput.ctlInpCtrlParam.ctlParameter.12", 1, 0, true, 2,
     "ctlInput.ctlInpCtrlParam.ctlParameter.12"},
    {"LimitRowOnAHiddenSubTab", "ctlOffline.ctlInput.ctlInpMeasLimits.ctlParameter.7", 1, 0, true, 2, ""},
    {"LimitRowOnItsSubTab", "ctlOffline.ctlInput.ctlInpMeasLimits.ctlParameter.7", 1, 2, true, 2,
     "ctlInput.ctlInpMeasLimits.ctlParameter.7"},
    {"ConcentrationRow", "ctlOffline.ctlInput.ctlInpMeasConLimits.ctlParameter.10", 1, 3, true, 2,
     "ctlInput.ctlInpMeasConLimits.ctlParameter.10"},
    {"TabStripTab3", "ctlOffline.TabStrip.3", 1, 0, true, 3, "TabStrip"},
    {"IOpRowKeepsTheTab", "ctlOffline.ctlIOp.ctlIOpFuncTOT.ctlParameter.14", 1, 0, true, 1, ""},
    {"IOpRowOnItsTab", "ctlOffline.ctlIOp.ctlIOpFuncAI.ctlParameter.14", 3, 0, true, 3,
     "ctlIOp.ctlIOpFuncAI.ctlParameter.14"},
    {"OtherWindow", "ctlOnline.ctlIdent.ctlParameter.5", 1, 0, false, 1, ""},
    {"NoSuchChild", "ctlOffline.ctlNothing.ctlParameter.5", 1, 0, false, 1, ""},
};

class OfflineNavigation : public OfflineWindow, public ::testing::WithParamInterface<NavCase> {};

TEST_P(OfflineNavigation, ShowsTheControlOfThePath) {
    const NavCase& c = GetParam();
    Open();
    page->TabStrip->SelectedItem(page->TabStrip->Tabs().Item(c.offlineTabBefore));
    if (c.inputTab) page->ctlInput->TabStrip->SelectedItem(page->ctlInput->TabStrip->Tabs().Item(c.inputTab));
    const ui::Control* before = session->Host().Focus().Focused();
    EXPECT_EQ(page->ShowControl(c.path, "ctlAnyName"), c.shown);
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), c.offlineTab);
    const ui::Control* focused = session->Host().Focus().Focused();
    if (*c.focus) {
        EXPECT_EQ(focused, session->Ctl(c.focus).get());
    } else {
        EXPECT_EQ(focused, before);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, OfflineNavigation, ::testing::ValuesIn(kNavCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OfflineWindow, ATabPathWithoutANumberOrTabRaisesAndKeepsTheSelection) {
    Open();
    EXPECT_EQ(ErrorOf([&] { page->ShowControl("ctlOffline.TabStrip.x", ""); }), 13);
    EXPECT_EQ(ErrorOf([&] { page->ShowControl("ctlOffline.TabStrip.4", ""); }), 9);
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);
}

TEST_F(OfflineWindow, APendingPathLeadsTheNewWindowToItsControl) {
    Open("ctlOffline.ctlInput.ctlInpCtrlParam.ctlParameter.2");
    EXPECT_EQ(Ctx().Functions()->ControlPfad(), "");
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 2);
    EXPECT_EQ(session->Host().Focus().Focused(), session->Ctl("ctlInput.ctlInpCtrlParam.ctlParameter.2").get());
}

TEST_F(OfflineWindow, APendingPathForAnotherPageStaysPending) {
    Open("ctlProfilViewDyn.TabStrip.2");
    EXPECT_EQ(Ctx().Functions()->ControlPfad(), "ctlProfilViewDyn.TabStrip.2");
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);
}

}  // namespace
}  // namespace dtm

namespace dtm {
namespace {

// The trace of opening and closing function 1 in a component folder with
// tracing on: the members that initialise and release the page tree, in order.
class OfflineWindowTrace : public testing::ParamPagesFixture {
protected:
    void SetUp() override {
        std::filesystem::copy(std::string(DTM_TEST_DATA_DIR) + "/../../XMLData", folder.Dir() / "XMLData",
                              std::filesystem::copy_options::recursive);
        folder.WriteIni("[TimeCritical]\r\nTrace=ExternalFile\r\n");
        Start();
    }
    // The trace lines of the page members that matter here, without date and tags.
    std::vector<std::string> Lines() const {
        static const char* kMembers[] = {"-InitControls:", "-IDtmActiveXControl_Init:", "-TabStrip_Click:",
                                         "-IDtmActiveXControl_PrepareToRelease:"};
        std::vector<std::string> lines;
        std::istringstream in(folder.Read("TraceInfoFile.txt"));
        for (std::string line; std::getline(in, line);) {
            for (const char* member : kMembers) {
                const auto at = line.find(member);
                if (at == std::string::npos) continue;
                const auto start = line.rfind(' ', at) + 1;
                lines.push_back(line.substr(start, line.find_last_not_of('\r') + 1 - start));
            }
        }
        return lines;
    }

    testing::ComponentFolder folder;
};

TEST_F(OfflineWindowTrace, InitialisesAndReleasesThePageTreeInFormOrder) {
    const auto session = frame->Open(1);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "ctlOffline-InitControls: ",
                           "ctlOffline-TabStrip_Click: ",
                           "ctlStatus-InitControls: ",
                           "ctlStatus-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           // the I/O page initialises its children first
                           "ctlIOpFuncAI-InitControls: ",
                           "ctlIOpFuncAI-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlIOpFuncTOT-InitControls: ",
                           "ctlIOpFuncTOT-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlIOp-InitControls: ",
                           "ctlIOp-TabStrip_Click: ",
                           "ctlIOpFuncAI-IDtmActiveXControl_PrepareToRelease: ExitControls successfull-Return Value = TRUE",
                           "ctlIOpFuncAI-InitControls: ",
                           "ctlIOpFuncAI-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlIOp-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlInput-InitControls: ",
                           "ctlInpCtrlParam-InitControls: ",
                           "ctlInpCtrlParam-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlInpMeasConLimits-InitControls: ",
                           "ctlInpMeasConLimits-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlInpMeasLimits-InitControls: ",
                           "ctlInpMeasLimits-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlInput-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlIdent-InitControls: ",
                           "ctlIdent-IDtmActiveXControl_Init: ReturnValue = TRUE",
                           "ctlOffline-IDtmActiveXControl_Init: ReturnValue = TRUE",
                       }));
    const size_t opened = Lines().size();
    ASSERT_TRUE(frame->Close(*session));
    const auto lines = Lines();
    const std::string released = "-IDtmActiveXControl_PrepareToRelease: ExitControls successfull-Return Value = TRUE";
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(opened), lines.end()),
              (std::vector<std::string>{
                  "ctlStatus" + released,
                  "ctlIOpFuncAI" + released,
                  "ctlIOpFuncTOT" + released,
                  "ctlIOp" + released,
                  "ctlInpCtrlParam" + released,
                  "ctlInpMeasConLimits" + released,
                  "ctlInpMeasLimits" + released,
                  "ctlInput" + released,
                  "ctlIdent" + released,
                  "ctlOffline" + released,
              }));
}

}  // namespace
}  // namespace dtm
