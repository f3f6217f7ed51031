#include "ErrorOf.h"
#include "FrameworkTest.h"
#include "pages/framework/NavigablePage.h"
#include "pages/framework/ctlIdent.h"
#include "pages/framework/ctlScrollPane.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/PropertyBag.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Host.h"

namespace {

using namespace platform;
using dtm::ctlScrollPane;

// A control the pane loads by program id: a frame of a given height.
struct View : ui::Frame {};

class ScrollPane : public dtm::testing::FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        com::ClassRegistry::Global().Register("test.PaneView", [] { return std::make_shared<View>(); });
        pane = std::make_shared<ctlScrollPane>();
        pane->Create();
        pane->Move(0, 0, 3000, 2000);
        pane->Show();
    }

    P<ui::Control> Add(const std::string& name, float height) {
        auto c = pane->AddControl("test.PaneView", name);
        c->Height(height);
        return c;
    }
    // The bar's range after the content changed (as on a show).
    void Update() { pane->Show(); }

    P<ctlScrollPane> pane;
};

TEST_F(ScrollPane, AddedControlsTakeTheContentWidthAndTheBarFollowsTheContent) {
    EXPECT_FALSE(pane->VScroll->Visible());
    EXPECT_EQ(pane->VScroll->Left(), 3000 - 255 - 40);
    EXPECT_EQ(pane->VScroll->Height(), 2000 - 40);
    EXPECT_EQ(pane->VScroll->LargeChange(), 1600);
    EXPECT_EQ(pane->VScroll->SmallChange(), 200);

    auto v = Add("a", 5000);
    EXPECT_EQ(v->Left(), 0);
    EXPECT_EQ(v->Top(), 0);
    EXPECT_EQ(v->Width(), 3000 - 255 - 40);
    Update();
    EXPECT_TRUE(pane->VScroll->Visible());
    EXPECT_EQ(pane->VScroll->Max(), 5000 - 2000 + 100);
}

TEST_F(ScrollPane, ScrollValueClampsAndMovesTheHostedControls) {
    auto v = Add("a", 5000);
    Update();
    pane->ScrollValue(500);
    EXPECT_EQ(v->Top(), -500);
    pane->ScrollValue(32000);
    EXPECT_EQ(pane->VScroll->Value(), 3100);
    EXPECT_EQ(v->Top(), -3100);
    pane->ScrollValue(-7);
    EXPECT_EQ(pane->VScroll->Value(), 0);
    EXPECT_EQ(v->Top(), 0);
}

TEST_F(ScrollPane, AControlAddedWhileScrolledJoinsWithoutMovingTheOthers) {
    auto a = Add("a", 5000);
    Update();
    pane->ScrollValue(500);
    auto b = Add("b", 300);
    EXPECT_EQ(b->Top(), -500);
    EXPECT_EQ(a->Top(), -500);
    EXPECT_EQ(pane->VScroll->Value(), 500);
    EXPECT_EQ(pane->VScroll->Max(), 3100);  // measured unscrolled: still 5000 high
    pane->ScrollValue(0);
    EXPECT_EQ(a->Top(), 0);
    EXPECT_EQ(b->Top(), 0);
}

TEST_F(ScrollPane, TheRangeIsMeasuredFromTheUnscrolledPositions) {
    auto a = Add("a", 5000);
    Update();
    pane->ScrollValue(1000);
    pane->Move(0, 0, 3000, 2500);  // a height change measures again
    EXPECT_EQ(pane->VScroll->Max(), 5000 - 2500 + 100);
    EXPECT_EQ(a->Top(), -1000);
}

TEST_F(ScrollPane, HidingTheBarScrollsBackFirst) {
    auto a = Add("a", 5000);
    Update();
    pane->ScrollValue(1000);
    pane->Move(0, 0, 3000, 6000);
    EXPECT_FALSE(pane->VScroll->Visible());
    EXPECT_EQ(pane->VScroll->Value(), 0);
    EXPECT_EQ(a->Top(), 0);
    pane->Move(0, 0, 3000, 3000);  // a later shrink shows the bar again
    EXPECT_TRUE(pane->VScroll->Visible());
    EXPECT_EQ(pane->VScroll->Max(), 2100);
}

TEST_F(ScrollPane, RangesBeyondSixteenBitsAreClamped) {
    Add("a", 60000);
    pane->Move(0, 0, 3000, 50000);
    pane->Move(0, 0, 3000, 45000);
    EXPECT_EQ(pane->VScroll->LargeChange(), 32767);  // 36000
    EXPECT_EQ(pane->VScroll->Max(), 15100);
    pane->Move(0, 0, 3000, 2000);
    EXPECT_EQ(pane->VScroll->Max(), 32767);  // 58100
    pane->ScrollValue(32767);
    EXPECT_EQ(pane->Controls().Item("a")->Top(), -32767);
}

TEST_F(ScrollPane, WidthChangesWidenTheHostedControlsOnly) {
    auto a = Add("a", 5000);
    Update();
    const int16_t max = pane->VScroll->Max();
    pane->Move(0, 0, 3300, 2000);
    EXPECT_EQ(a->Width(), 3000 - 255 - 40 + 300);
    EXPECT_EQ(pane->VScroll->Left(), 3300 - 255 - 40);
    EXPECT_EQ(pane->VScroll->Width(), 255);
    a->Height(9000);
    pane->Move(0, 0, 3600, 2000);  // only the width: the range stays
    EXPECT_EQ(pane->VScroll->Max(), max);
}

TEST_F(ScrollPane, RemoveControlLeavesTheBarUntilTheNextUpdate) {
    Add("a", 5000);
    Update();
    pane->RemoveControl("a");
    EXPECT_TRUE(pane->VScroll->Visible());
    EXPECT_EQ(pane->VScroll->Max(), 3100);
    Update();
    EXPECT_FALSE(pane->VScroll->Visible());
}

TEST_F(ScrollPane, AddControlErrorsHostNothing) {
    Add("a", 100);
    EXPECT_EQ(ErrorOf([&] { pane->AddControl("test.NoSuchView", "b"); }), 429);
    EXPECT_EQ(ErrorOf([&] { pane->AddControl("test.PaneView", "a"); }), 457);
    EXPECT_EQ(pane->Controls().Count(), 2);
    EXPECT_EQ(ErrorOf([&] { pane->RemoveControl("b"); }), 5);
}

TEST_F(ScrollPane, BackColorIsPersistedWithItsDefault) {
    com::PropertyBag bag;
    pane->WriteProperties(bag);
    EXPECT_FALSE(bag.Contains("BackColor"));
    pane->BackColor(0xFF);
    pane->WriteProperties(bag);
    auto again = std::make_shared<ctlScrollPane>();
    again->Create(&bag);
    EXPECT_EQ(again->BackColor(), 0xFF);
    com::PropertyBag empty;
    auto fresh = std::make_shared<ctlScrollPane>();
    fresh->Create(&empty);
    EXPECT_EQ(fresh->BackColor(), static_cast<int32_t>(0x8000000Fu));
}

// A page with a pane into which the identification page is loaded.
class PaneHost : public dtm::NavigablePage {
public:
    PaneHost() : dtm::NavigablePage(dtm::PageTraits{"PaneHost"}) {}
    P<ctlScrollPane> pane;

protected:
    void BuildForm() override {
        pane = Place<ctlScrollPane>("ctlScrollPane");
        pane->Move(0, 0, 9000, 3000);
        PlaceTemplateControls();
    }
};

class ScrollPaneNavigation : public dtm::testing::FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        com::ClassRegistry::Global().Register("test.PaneIdent", [] { return std::make_shared<dtm::ctlIdent>(); });
        page = std::make_shared<PaneHost>();
        host = std::make_unique<ui::Host>(page);
        ident = page->pane->AddControl("test.PaneIdent", "Ident");
        ident->Visible(true);
        host->Show();
    }
    std::vector<std::string> Paths(const P<com::Collection>& items) const {
        std::vector<std::string> paths;
        for (const auto& v : *items) paths.push_back(std::dynamic_pointer_cast<dtm::clsSearchItem>(v.ObjRef())->Pfad);
        return paths;
    }

    P<PaneHost> page;
    std::unique_ptr<ui::Host> host;
    P<ui::Control> ident;
};

TEST_F(ScrollPaneNavigation, SearchesPassThroughThePane) {
    EXPECT_EQ(Paths(page->FindParameters("PHYS/TAG_DESC", "")),
              std::vector<std::string>{".ctlScrollPane.Ident.ctlParameter.0"});
    const auto keys = Paths(page->GetDictKeys(""));
    EXPECT_NE(std::find(keys.begin(), keys.end(), ".ctlScrollPane.Ident.frmDevice"), keys.end());
    EXPECT_EQ(page->GetParameters("")->Count(), 16);
    // The pane under its own name answers for the hosted controls.
    EXPECT_EQ(Paths(page->pane->FindParameters("PHYS/DEVICE_ID", "P")), std::vector<std::string>{"P.Ident.ctlParameter.4"});
}

TEST_F(ScrollPaneNavigation, ShowControlReachesARowInThePane) {
    EXPECT_TRUE(page->ShowControl(".ctlScrollPane.Ident.ctlParameter.5", ""));
    EXPECT_EQ(page->ShownControl(), page->pane);
    auto& row = *std::static_pointer_cast<ui::UserControl>(ident)->Controls().Item("ctlParameter", 5);
    EXPECT_EQ(host->Focus().Focused(), &row);
    // A path that does not begin with the pane's name, and an empty one, reach nothing.
    EXPECT_FALSE(page->pane->ShowControl("Other.Ident.ctlParameter.5", "ctlScrollPane"));
    EXPECT_FALSE(page->pane->ShowControl("", "ctlScrollPane"));
}

}  // namespace
