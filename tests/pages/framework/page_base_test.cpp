// The page template on a small test container of two leaf pages: child ids,
// init and release order, failed Init, and navigation over the page tree.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/DtmFixture.h"
#include "pages/framework/NavigablePage.h"
#include "pages/framework/Navigation.h"
#include "platform/ui/Snapshot.h"
#include "platform/app/ErrorSink.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Host.h"
#include "platform/ui/TabStrip.h"
#include "platform/win/Shell.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// A leaf page with two rows, one array member and one single row.
class TestLeaf : public NavigablePage {
public:
    TestLeaf() : NavigablePage(PageTraits{"TestLeaf"}) {}
    bool failInit = false;
    bool refuseRelease = false;
    P<platform::ctl::ctlParameter> row0, single;

protected:
    void BuildForm() override {
        row0 = Place<platform::ctl::ctlParameter>("ctlParameter", 0);
        row0->parameterTag("PHYS/TAG_DESC");
        single = Place<platform::ctl::ctlParameter>("rowSingle");
        single->parameterTag("PHYS/DESCRIPTOR");
        Place<ui::Label>("lblInfo");
        PlaceTemplateControls();
    }
    void InitControls() override {
        Log().push_back(Name + ":init " + InvokeId());
        if (failInit) throw std::runtime_error("init failed");
        NavigablePage::InitControls();
    }
    bool ExitControls() override {
        Log().push_back(Name + ":exit");
        if (refuseRelease) return false;
        return NavigablePage::ExitControls();
    }
};

// A container: a label and a frame before its first page, a button between.
class TestContainer : public NavigablePage {
public:
    explicit TestContainer(ChildInit order)
        : NavigablePage(PageTraits{"TestContainer", true, order}) {}
    P<TestLeaf> leafA, leafB;
    P<ui::TabStrip> strip;

protected:
    void BuildForm() override {
        Place<ui::Label>("lblTitle");
        Place<ui::Frame>("frmMain");
        leafA = Place<TestLeaf>("leafA");
        Place<ui::CommandButton>("HelpButton");
        leafB = Place<TestLeaf>("leafB");
        strip = Place<ui::TabStrip>("TabStrip");
        strip->Tabs().Add(0, "a", "A");
        strip->Tabs().Add(0, "b", "B");
        PlaceTemplateControls();
    }
    void InitControls() override {
        Log().push_back("top:init");
        NavigablePage::InitControls();
    }
    bool ExitControls() override {
        Log().push_back("top:exit");
        return NavigablePage::ExitControls();
    }
};

class PageBaseTest : public testing::DtmFixture {
protected:
    PageBaseTest() {
        ui::Environment::Instance().Reset();
        Log().clear();
        StartNew();
    }
    ~PageBaseTest() override {
        if (page && page->Initialised()) page->PrepareToRelease();
        host.reset();
        page.reset();
        ui::Environment::Instance().Reset();
    }
    void Make(ChildInit order = ChildInit::After) {
        page = std::make_shared<TestContainer>(order);
        page->Create();
        host = std::make_unique<ui::Host>(page);
        host->Show();
    }
    bool Open(const std::string& id = "top") { return page->Init(id, "", session.Dtm()); }
    void ExpectNoErrors() const {
        const auto& errors = platform::app::ErrorSink::Instance().Errors();
        EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front().where);
    }
    std::vector<std::string> Paths(const P<com::Collection>& items) const {
        std::vector<std::string> out;
        for (const auto& v : *items) out.push_back(std::dynamic_pointer_cast<clsSearchItem>(v.ObjRef())->Pfad);
        return out;
    }
    platform::rt::DtmGuiRegistry& Registry() const { return *Ctx().GuiRegistry(); }

    P<TestContainer> page;
    std::unique_ptr<ui::Host> host;
};

TEST_F(PageBaseTest, ChildPagesAreNumberedOverPagesOnlyAndInitialisedInTheContainersOrder) {
    struct Case {
        ChildInit order;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {ChildInit::After, {"top:init", "leafA:init top.1$", "leafB:init top.2$"}},
        {ChildInit::Before, {"leafA:init top.1$", "leafB:init top.2$", "top:init"}},
    };
    for (const auto& c : cases) {
        Log().clear();
        Make(c.order);
        ASSERT_TRUE(Open());
        EXPECT_EQ(Log(), c.log);
        EXPECT_EQ(Registry().FindGui("top.1$"), page->leafA->Object());
        EXPECT_EQ(Registry().FindGui("top.2$"), page->leafB->Object());
        EXPECT_TRUE(page->leafA->ctlParamSite1->Initialised());
        ASSERT_TRUE(page->PrepareToRelease());
    }
    ExpectNoErrors();
}

TEST_F(PageBaseTest, ReleaseRunsTheChildrenFirstAndUnregistersAll) {
    Make();
    ASSERT_TRUE(Open());
    const auto hidesBefore = platform::win::ShowWindowCalls().size();
    Log().clear();
    EXPECT_TRUE(page->PrepareToRelease());
    EXPECT_EQ(Log(), (std::vector<std::string>{"leafA:exit", "leafB:exit", "top:exit"}));
    EXPECT_EQ(Registry().OpenGuis(), 0);
    EXPECT_FALSE(page->Initialised());
    EXPECT_GT(platform::win::ShowWindowCalls().size(), hidesBefore);
    EXPECT_TRUE(page->WindowHidden());
    Log().clear();
    EXPECT_TRUE(page->PrepareToRelease());  // a second release answers at once
    EXPECT_TRUE(Log().empty());
    ExpectNoErrors();
}

TEST_F(PageBaseTest, TheSnapshotShowsEachPageWithItsIdPlaceAndState) {
    Make();
    ASSERT_TRUE(Open());
    const std::string text = ui::Snapshot(*page, {});
    EXPECT_EQ(text.rfind("page TestContainer focus id=top top init\n", 0), 0u) << text;
    EXPECT_NE(text.find("\n  page leafA id=top.1$ child init\n"), std::string::npos) << text;
    EXPECT_NE(ui::SnapshotJson(*page->leafB).find(
                  "\"page\": {\"invokeId\": \"top.2$\", \"topLevel\": false, \"initialised\": true}"),
              std::string::npos);
    ASSERT_TRUE(page->PrepareToRelease());
    ui::SnapshotOptions all;
    all.all = true;
    const std::string released = ui::Snapshot(*page, all);
    EXPECT_EQ(released.rfind("page TestContainer win-hidden focus top released\n", 0), 0u) << released;
    EXPECT_NE(released.find("\n  page leafA win-hidden child released\n"), std::string::npos) << released;
    ExpectNoErrors();
}

TEST_F(PageBaseTest, ARefusingChildKeepsTheContainerInitialised) {
    Make();
    ASSERT_TRUE(Open());
    page->leafB->refuseRelease = true;
    Log().clear();
    EXPECT_FALSE(page->CloseGUI());
    EXPECT_EQ(Log(), (std::vector<std::string>{"leafA:exit", "leafB:exit"}));
    EXPECT_FALSE(page->leafA->Initialised());
    EXPECT_TRUE(page->Initialised());
    EXPECT_TRUE(page->ctlParamSite1->Initialised());
    EXPECT_EQ(Registry().FindGui("top"), page->Object());
    page->leafB->refuseRelease = false;
    EXPECT_TRUE(page->PrepareToRelease());
    ExpectNoErrors();
}

TEST_F(PageBaseTest, InitWithoutIdOrDtmRegistersNothing) {
    Make();
    EXPECT_FALSE(page->Init("", "", session.Dtm()));
    EXPECT_FALSE(page->Init("top", "", nullptr));
    EXPECT_FALSE(page->Initialised());
    EXPECT_EQ(Registry().OpenGuis(), 0);
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(page->CloseGUI());  // uninitialised: True
}

TEST_F(PageBaseTest, AFailedInitLeavesNothingRegistered) {
    for (const ChildInit order : {ChildInit::After, ChildInit::Before}) {
        Make(order);
        page->leafB->failInit = true;
        EXPECT_THROW(Open(), std::runtime_error);
        EXPECT_FALSE(page->Initialised());
        EXPECT_FALSE(page->leafA->Initialised());
        EXPECT_FALSE(page->leafB->Initialised());
        EXPECT_FALSE(page->ctlParamSite1->Initialised());
        EXPECT_FALSE(page->leafA->ctlParamSite1->Initialised());
        EXPECT_EQ(Registry().OpenGuis(), 0);
        EXPECT_EQ(Registry().FindGui("top"), nullptr);
        // A second attempt that succeeds works on the same page.
        page->leafB->failInit = false;
        EXPECT_TRUE(Open("again"));
        EXPECT_TRUE(page->PrepareToRelease());
    }
    ExpectNoErrors();
}

TEST_F(PageBaseTest, NotificationsReachRegisteredPages) {
    Make();
    ASSERT_TRUE(Open());
    Registry().LockState(true);
    EXPECT_FALSE(page->leafA->ctlParamSite1->Editable());
    Registry().LockState(false);
    EXPECT_TRUE(page->leafA->ctlParamSite1->Editable());
    ExpectNoErrors();
}

// Notices reach registered pages only: each page takes the lock as it is
// when it initialises, also when it was released during a lock that ended.
TEST_F(PageBaseTest, APageInitialisedDuringTheLockStartsLockedAndAgainEditableAfterIt) {
    Make();
    Registry().LockState(true);
    ASSERT_TRUE(Open());
    for (const auto& leaf : {page->leafA, page->leafB}) {
        EXPECT_FALSE(leaf->ctlParamSite1->Editable());
        EXPECT_TRUE(leaf->row0->ReadOnly());
    }
    ASSERT_TRUE(page->PrepareToRelease());
    Registry().LockState(false);  // no page registered to hear it
    ASSERT_TRUE(Open("again"));
    for (const auto& leaf : {page->leafA, page->leafB}) {
        EXPECT_TRUE(leaf->ctlParamSite1->Editable());
        EXPECT_FALSE(leaf->row0->ReadOnly());
    }
    ExpectNoErrors();
}

TEST_F(PageBaseTest, FindParametersPrefixesEveryLevel) {
    Make();
    ASSERT_TRUE(Open());
    EXPECT_EQ(Paths(page->FindParameters("PHYS/TAG_DESC", "")),
              (std::vector<std::string>{".leafA.ctlParameter.0", ".leafB.ctlParameter.0"}));
    EXPECT_EQ(Paths(page->FindParameters("PHYS/DESCRIPTOR", "")),
              (std::vector<std::string>{".leafA.rowSingle", ".leafB.rowSingle"}));
    EXPECT_TRUE(Paths(page->FindParameters("phys/tag_desc", "")).empty());  // exact case
    EXPECT_EQ(page->GetParameters("")->Count(), 4);
}

TEST_F(PageBaseTest, GetDictKeysListsCaptionedControlsAndTabs) {
    Make();
    const auto keys = page->GetDictKeys("");
    std::vector<std::string> dict;
    for (const auto& v : *keys) dict.push_back(std::dynamic_pointer_cast<clsSearchItem>(v.ObjRef())->DictKey);
    EXPECT_EQ(dict, (std::vector<std::string>{"TestLeaf_lblInfo", "TestLeaf_lblInfo", "TestContainer_lblTitle",
                                              "TestContainer_frmMain", "TestContainer_HelpButton",
                                              "TestContainer_TabStrip.1", "TestContainer_TabStrip.2"}));
    EXPECT_EQ(Paths(keys).front(), ".leafA.lblInfo");
    EXPECT_EQ(std::dynamic_pointer_cast<clsSearchItem>(keys->Item(".TabStrip.2").ObjRef())->ItemType, "key_TabStrip");
}

TEST_F(PageBaseTest, ShowControlFollowsThePathDownAndFocusesTheRow) {
    Make();
    ASSERT_TRUE(Open());
    struct Case {
        std::string path;
        bool answer;
        std::string focused;  // "" = focus unchanged
    };
    const Case cases[] = {
        {".leafB.ctlParameter.0", true, "leafB.ctlParameter.0"},
        {".leafA.rowSingle", true, "leafA.rowSingle"},
        {".lblTitle", true, ""},          // a label takes no focus
        {".nothere", true, ""},           // a leaf not found still answers True
        {".nothere.x.y", false, ""},      // no child page of that name
        {"leafA.rowSingle", false, ""},   // the top page's name is ""
        {".TabStrip.2", true, "TabStrip"},
    };
    for (const auto& c : cases) {
        const auto before = host->Focus().Focused();
        EXPECT_EQ(page->ShowControl(c.path, ""), c.answer) << c.path;
        const auto after = host->Focus().Focused();
        if (c.focused.empty()) EXPECT_EQ(after, before) << c.path;
        else {
            ASSERT_NE(after, nullptr) << c.path;
            EXPECT_EQ(ui::ControlPath(*after), c.focused) << c.path;
        }
    }
    ExpectNoErrors();
}

TEST_F(PageBaseTest, ThePendingPathIsConsumedOnlyWhenItMatches) {
    Make();
    ASSERT_TRUE(Open());
    const auto functions = Ctx().Functions();
    EXPECT_FALSE(page->ShowControl("", ""));  // nothing pending
    functions->ControlPfad("leafA.rowSingle");
    EXPECT_FALSE(page->ShowControl("", ""));
    EXPECT_EQ(functions->ControlPfad(), "leafA.rowSingle");  // stays pending
    functions->ControlPfad(".leafA.rowSingle");
    page->Show();
    EXPECT_EQ(functions->ControlPfad(), "");
    ASSERT_NE(host->Focus().Focused(), nullptr);
    EXPECT_EQ(ui::ControlPath(*host->Focus().Focused()), "leafA.rowSingle");
    ExpectNoErrors();
}

TEST(NavigationPathTest, HeadTailAndMatchOfOneName) {
    EXPECT_EQ(NavPathHead("a.b.c"), "a");
    EXPECT_EQ(NavPathHead("abc"), "abc");
    EXPECT_EQ(NavPathTail("a.b.c"), "b");
    EXPECT_EQ(NavPathTail("abc"), "");
    std::string path = "ctlIdent";
    EXPECT_TRUE(NavMatchPath(nullptr, "ctlIdent", path));
    EXPECT_EQ(path, "");
    path = "";
    EXPECT_FALSE(NavMatchPath(nullptr, "", path));  // no context, nothing pending
}

}  // namespace
}  // namespace dtm
