// The profile block view (function 8) and its four block views through the
// test frame: the views' row tables, the views loaded and released by the
// tabs, the ident-number selector, searches and navigation into a row, the
// views' height rule and the page's resize rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "ParamPagesFixture.h"
#include "core/module/RegisterPages.h"
#include "pages/parameterisation/ctlProfilBlockView.h"
#include "pages/parameterisation/ctlProfilViewDyn.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/xml/Dom.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Host.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
using frame::PageSession;
using platform::P;
using platform::Variant;

class ProfileView : public testing::ParamPagesFixture {
protected:
    void TearDown() override {
        session.reset();
        ParamPagesFixture::TearDown();
        RegisterPages(com::ClassRegistry::Global());  // a test may have put in a spy
    }
    // Function 8, with `path` pending.
    ctlProfilViewDyn& Open(const std::string& path = "") {
        session = frame->Open(8, path);
        EXPECT_NE(session, nullptr);
        return dynamic_cast<ctlProfilViewDyn&>(*session->Page());
    }
    platform::rt::DtmGuiRegistry& Registry() const { return *frame->Ctx().GuiRegistry(); }
    std::string Id(const std::string& suffix) const { return session->InvokeId() + suffix; }
    // The ids of the registered pages, the view's relative to the page.
    bool Registered(const std::string& suffix) const { return Registry().FindGui(Id(suffix)) != nullptr; }
    void Set(const std::string& path, const Variant& value) {
        auto element = Params().Item(path);
        element->TransientValue(value);
        Params().NotifyChange(element, "");
    }
    static std::vector<std::string> Captions(const ui::TabStrip& strip) {
        std::vector<std::string> captions;
        for (const auto& tab : strip.Tabs()) captions.push_back(tab->Caption());
        return captions;
    }
    ctlProfilBlockView& View(const ctlProfilViewDyn& page) const {
        return dynamic_cast<ctlProfilBlockView&>(*page.BlockView());
    }

    std::shared_ptr<PageSession> session;
};

// Binding for every block on both device types: row_tables_test.cpp.
TEST_F(ProfileView, EachViewHasItsRowsInIndexOrder) {
    const struct {
        const char* view;
        int32_t rows;
    } views[] = {
        {"ctlProfilPhysicalBlock", 47},
        {"ctlProfilTBFlowCoriolis", 83},
        {"ctlProfilFunctionBlockAI", 70},
        {"ctlProfilFunctionBlockTOT", 62},
    };
    for (const auto& v : views) {
        SCOPED_TRACE(v.view);
        auto view = Create<ctlProfilBlockView>(v.view);
        ASSERT_NE(view, nullptr);
        int32_t rows = 0;
        int16_t last = -1;
        for (const auto& part : view->Form().rows) {
            for (const auto& r : part) {
                EXPECT_GT(r.index, std::exchange(last, r.index)) << r.path;
                ++rows;
            }
        }
        EXPECT_EQ(rows, v.rows);
        EXPECT_EQ(view->GetParameters("")->Count(), v.rows);
    }
}

// Records the AI view's Init and release calls, with its block number.
std::vector<std::string>* journal = nullptr;
class SpyAIView : public ctlProfilFunctionBlockAI {
public:
    bool Init(const std::string& id, const std::string& call, const P<com::Object>& dtm) override {
        if (journal) journal->push_back("init " + id.substr(id.find('.')) + " block " + std::to_string(BlockIndex()));
        return ctlProfilFunctionBlockAI::Init(id, call, dtm);
    }
    bool PrepareToRelease() override {
        if (journal && Initialised()) journal->push_back("release " + InvokeId().substr(InvokeId().find('.')));
        return ctlProfilFunctionBlockAI::PrepareToRelease();
    }
};

TEST_F(ProfileView, Function8LoadsTheViewOfTheSelectedTabUnderItsOwnId) {
    std::vector<std::string> calls;
    journal = &calls;
    com::ClassRegistry::Global().Register("RG38N226_4_07.ctlProfilFunctionBlockAI",
                                          [] { return std::make_shared<SpyAIView>(); });
    auto& page = Open();
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlProfilViewDyn");
    EXPECT_TRUE(Registry().FindGui(session->InvokeId()));
    EXPECT_TRUE(Registered(".1$"));  // the status bar, initialised after the page's own controls
    EXPECT_TRUE(Registered(".ctlProfilPhysicalBlock0$"));
    EXPECT_EQ(page.BlockView()->Name, "PB");
    EXPECT_FALSE(dynamic_cast<ctlProfilBlockView&>(*page.BlockView()).TopLevel());
    EXPECT_EQ(page.TabStrip->Tabs().Count(), 10);
    EXPECT_FALSE(page.ctlStatus->CyclicRefresh());

    page.TabStrip->UserClickTab(4);  // AI 2
    EXPECT_FALSE(Registered(".ctlProfilPhysicalBlock0$"));
    EXPECT_EQ(page.BlockView()->Name, "FB_AI");
    EXPECT_FALSE(page.ctlScrollPane->Controls().Find("PB"));
    EXPECT_EQ(View(page).BlockIndex(), 2);
    page.TabStrip->UserClickTab(4);  // the loaded tab again: nothing
    page.TabStrip->UserClickTab(5);  // AI 3: the same control, released and initialised again
    EXPECT_EQ(page.BlockView()->Name, "FB_AI");
    EXPECT_FALSE(Registered(".ctlProfilFunctionBlockAI2$"));
    EXPECT_TRUE(Registered(".ctlProfilFunctionBlockAI3$"));
    EXPECT_EQ(View(page).ctlParamSite1->Links().front().row->Bound()->Name(), "FUNC/3/AI/BlockIndex");
    EXPECT_TRUE(page.BlockView()->Visible());

    EXPECT_TRUE(frame->Close(*session));
    EXPECT_EQ(Registry().OpenGuis(), 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"init .ctlProfilFunctionBlockAI2$ block 2",
                                               "release .ctlProfilFunctionBlockAI2$",
                                               "init .ctlProfilFunctionBlockAI3$ block 3",
                                               "release .ctlProfilFunctionBlockAI3$"}));
    journal = nullptr;
}

TEST_F(ProfileView, TheTransducerViewAlwaysShowsBlockOne) {
    auto& page = Open();
    page.TabStrip->UserClickTab(2);
    EXPECT_EQ(page.BlockView()->Name, "TB");
    EXPECT_EQ(View(page).BlockIndex(), 1);
    EXPECT_TRUE(Registered(".ctlProfilTBFlowCoriolis1$"));
    page.TabStrip->UserClickTab(6);  // Totaliser 4
    EXPECT_EQ(page.BlockView()->Name, "FB_TOT");
    EXPECT_EQ(View(page).ctlParamSite1->Links().size(), 62u);
    EXPECT_TRUE(Registered(".ctlProfilFunctionBlockTOT4$"));
}

TEST_F(ProfileView, TheSelectorSwitchesTheListAndRepairsTheSelection) {
    auto& page = Open();
    const auto manuCaptions = Captions(*page.TabStrip);
    page.TabStrip->UserClickTab(10);  // Totaliser 8
    ASSERT_TRUE(Registered(".ctlProfilFunctionBlockTOT8$"));

    Set("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(0));
    EXPECT_EQ(Captions(*page.TabStrip), std::vector<std::string>(manuCaptions.begin(), manuCaptions.begin() + 6));
    EXPECT_EQ(page.TabStrip->SelectedItem()->Index(), 1);
    EXPECT_FALSE(Registered(".ctlProfilFunctionBlockTOT8$"));
    EXPECT_TRUE(Registered(".ctlProfilPhysicalBlock0$"));
    EXPECT_EQ(page.BlockView()->Name, "PB");

    Set("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(1));
    EXPECT_EQ(Captions(*page.TabStrip), manuCaptions);
    EXPECT_EQ(page.TabStrip->SelectedItem()->Index(), 1);
    EXPECT_TRUE(Registered(".ctlProfilPhysicalBlock0$"));  // still loaded, not loaded again

    // A CHANNEL change re-captions only its tab.
    Set("FUNC/8/TOT/CHANNEL", Variant::Int(273));
    EXPECT_EQ(page.TabStrip->Tabs().Item(10)->Caption(), "Totaliser 8: Volume flow");
    EXPECT_EQ(Captions(*page.TabStrip).front(), manuCaptions.front());
}

TEST_F(ProfileView, ATabOfNoKnownViewLoadsNothing) {
    auto& page = Open();
    auto keys = com::vb::Split(page.Tabs().GetTabs(1), ",");
    keys[2] = "ctlNoSuchView3";
    page.TabStrip_Update(com::vb::Join(keys, ","));
    page.TabStrip->UserClickTab(3);
    EXPECT_FALSE(Registered(".ctlProfilPhysicalBlock0$"));
    EXPECT_FALSE(Registered(".ctlNoSuchView3$"));
    EXPECT_FALSE(page.BlockView()->Visible());
    EXPECT_FALSE(View(page).Initialised());
    page.TabStrip->UserClickTab(1);
    EXPECT_TRUE(Registered(".ctlProfilPhysicalBlock0$"));
    EXPECT_TRUE(page.BlockView()->Visible());
}

TEST_F(ProfileView, APendingPathScrollsToItsRow) {
    auto& page = Open("ctlProfilViewDyn.ctlScrollPane.PB.ctlParameter.40");
    auto& view = View(page);
    const auto target = view.Controls().Item("ctlParameter", 40);
    EXPECT_EQ(session->Host().Focus().Focused(), target.get());
    EXPECT_EQ(frame->Ctx().Functions()->ControlPfad(), "");
    const int16_t value = page.ctlScrollPane->VScroll->Value();
    EXPECT_GT(value, 0);
    EXPECT_EQ(value, std::min<int>(static_cast<int>(target->Top()), page.ctlScrollPane->VScroll->Max()));
    EXPECT_EQ(view.Top(), -value);
}

TEST_F(ProfileView, SearchesFindThePhysicalTransducerAndAIRowsButNoTotaliserOnes) {
    auto& page = Open();
    page.InitControl(Variant());
    page.InitControl(Variant());  // a second search reuses the views
    EXPECT_EQ(page.ctlScrollPane->Controls().Count(), 5);  // the bar, PB and the three search views
    for (const auto& name : {"Physical", "Transducer", "Function"})
        EXPECT_FALSE(page.ctlScrollPane->Controls().Item(name)->Visible()) << name;
    auto paths = [&](const std::string& tag) {
        std::vector<std::string> out;
        const auto items = page.FindParameters(tag, "");
        for (const auto& v : *items)
            out.push_back(std::dynamic_pointer_cast<clsSearchItem>(v.ObjRef())->Pfad);
        return out;
    };
    EXPECT_EQ(paths("FUNC/%d/AI/CHANNEL"), std::vector<std::string>{"ctlProfilViewDyn.ctlScrollPane.Function.ctlParameter.38"});
    EXPECT_EQ(paths("TRANS/%d/FlowCori/ZERO_POINT"), std::vector<std::string>{"ctlProfilViewDyn.ctlScrollPane.Transducer.ctlParameter.30"});
    EXPECT_EQ(paths("PHYS/TAG_DESC"), (std::vector<std::string>{"ctlProfilViewDyn.ctlScrollPane.PB.ctlParameter.12",
                                                                "ctlProfilViewDyn.ctlScrollPane.Physical.ctlParameter.12"}));
    EXPECT_TRUE(paths("FUNC/%d/TOT/TOTAL/Value").empty());
    EXPECT_TRUE(Registered(".ctlProfilPhysicalBlock0$"));
    for (const auto& name : {"Physical", "Transducer", "Function"})  // the search views are not initialised
        EXPECT_FALSE(dynamic_cast<PageBase&>(*page.ctlScrollPane->Controls().Item(name)).Initialised()) << name;
}

TEST_F(ProfileView, AViewIsAsTallAsItsLowestRowAndOnlyTheBlockIndexRowKeepsItsWidth) {
    auto view = std::dynamic_pointer_cast<ctlProfilBlockView>(
        frame->Registry().CreateObject("RG38N226_4_07.ctlProfilTBFlowCoriolis"));
    ui::Host host(view, 8240, 3000);
    auto row = [&](int16_t i) { return view->Controls().Item("ctlParameter", i); };
    const float width0 = row(0)->Width(), width1 = row(1)->Width();
    EXPECT_EQ(view->Height(), row(82)->Top() + row(82)->Height());  // the host's height gave way to the rows
    // A row moved below the others, and the last row touching it, still count.
    row(5)->Top(row(82)->Top() + row(82)->Height());
    host.Resize(8540, 3000);
    EXPECT_EQ(row(0)->Width(), width0);
    EXPECT_EQ(row(1)->Width(), width1 + 300);
    EXPECT_EQ(view->Controls().Item("lblBlockStd")->Width(), width1 + 300);
    EXPECT_EQ(view->Height(), row(5)->Top() + row(5)->Height());
}

TEST_F(ProfileView, ResizingKeepsTheMarginsAndTheHelpButtonBelowTheTabs) {
    auto& page = Open();
    const float right = page.Width() - page.TabStrip->Left() - page.TabStrip->Width();
    const float bottom = page.Height() - page.ctlScrollPane->Top() - page.ctlScrollPane->Height();
    for (const auto& [w, h] : {std::pair<float, float>{14000, 10000}, {11000, 8000}}) {
        session->Host().Resize(w, h);
        EXPECT_EQ(w - page.TabStrip->Left() - page.TabStrip->Width(), right);
        EXPECT_EQ(h - page.ctlScrollPane->Top() - page.ctlScrollPane->Height(), bottom);
        EXPECT_EQ(page.ctlHeadline->Width(), w);
        EXPECT_EQ(page.HelpButton->Top(), page.TabStrip->Top() + page.TabStrip->Height() + 40);
        EXPECT_EQ(page.HelpButton->Left() + page.HelpButton->Width(), page.TabStrip->Left() + page.TabStrip->Width());
    }
    EXPECT_EQ(page.HelpButton->Caption(), "Help");
}

TEST_F(ProfileView, ALanguageChangeCaptionsTheTabsAnew) {
    auto& page = Open();
    auto& dictionary = *Ctx().Dictionary();
    const auto keys = dictionary.SectionNode("keys");
    dictionary.KeyNode(keys, "ctlProfilViewDyn_ctlProfilFunctionBlockAI1")->SetAttribute("text", "Analog input 1 (%d)");
    dictionary.KeyNode(keys, "help_button_text")->SetAttribute("text", "Hilfe");
    page.SetLanguage(1031);
    EXPECT_EQ(page.TabStrip->Tabs().Item(3)->Caption(), "Analog input 1 (Mass flow)");
    EXPECT_EQ(page.HelpButton->Caption(), "Hilfe");
}

TEST_F(ProfileView, ClosingReleasesTheViewAndTheStatusBar) {
    auto& page = Open();
    page.TabStrip->UserClickTab(3);
    const auto view = std::dynamic_pointer_cast<ctlProfilBlockView>(page.BlockView());
    EXPECT_TRUE(page.CloseGUI());
    EXPECT_FALSE(view->Initialised());
    EXPECT_FALSE(page.ctlStatus->Initialised());
    EXPECT_EQ(Registry().OpenGuis(), 0);
}

}  // namespace
}  // namespace dtm
