// The block tab strip on a small host page with the shipped dictionary and a
// real model: tab lists by selector, the list update, captions with channel
// texts, re-captions on a CHANNEL change, the click rule and the selection
// repair; and the data rule over every host's tab lists.
#include <gtest/gtest.h>

#include <set>

#include "core/DtmFixture.h"
#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/PageBase.h"
#include "core/module/RegisterPages.h"
#include "platform/com/VbText.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Host.h"
#include "platform/xml/Dom.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;

// A page with a tab strip of the given host variant; its click handler records the tab it loads.
class TabHost : public PageBase {
public:
    explicit TabHost(const BlockTabOptions& options) : PageBase(PageTraits{options.page}), options_(options) {}
    P<ui::TabStrip> TabStrip;
    std::unique_ptr<BlockTabStrip> tabs;
    std::vector<std::string> loaded;

protected:
    void BuildForm() override {
        TabStrip = Place<ui::TabStrip>("TabStrip");
        PlaceTemplateControls();
        tabs = std::make_unique<BlockTabStrip>(*this, *TabStrip, options_, [this] { Click(); });
        TabStrip->Click.Connect([this] { Click(); });
    }
    void InitControls() override {
        PageBase::InitControls();
        tabs->Start();
    }
    bool ExitControls() override {
        tabs->Stop();
        return PageBase::ExitControls();
    }
    void UpdateAllParameterCtls() override {
        PageBase::UpdateAllParameterCtls();
        tabs->UpdateFromSelector();
    }
    void UpdateParameterCtl(const P<platform::rt::IPrivateDataElement>& element) override {
        PageBase::UpdateParameterCtl(element);
        tabs->OnParameterChanged(element);
    }

private:
    void Click() {
        if (!tabs->ClickNeeded()) return;
        loaded.push_back(tabs->SelectedKey());
        tabs->Loaded();
    }
    const BlockTabOptions& options_;
};

class BlockTabs : public testing::DtmFixture {
protected:
    BlockTabs() {
        ui::Environment::Instance().Reset();
        StartNew();
    }
    ~BlockTabs() override {
        host.reset();
        ui::Environment::Instance().Reset();
    }
    P<TabHost> Open(const BlockTabOptions& options = *FindBlockTabHost("ctlProfilViewDyn")) {
        auto page = std::make_shared<TabHost>(options);
        host = std::make_unique<ui::Host>(page);
        host->Show();
        page->Init("tabs" + std::to_string(++opened), "", session.Dtm());
        return page;
    }
    std::string Dict(const std::string& key) const {
        const auto text = Ctx().Dictionary()->LookupText("keys", key, "text");
        return text.IsEmpty() ? "" : com::CStr(text);
    }
    // Sets an element's value as the user would, with its change notice.
    void Set(const std::string& path, const Variant& value) {
        auto element = Params().Item(path);
        element->TransientValue(value);
        Params().NotifyChange(element, "");
    }
    static std::vector<std::string> Keys(const ui::TabStrip& strip) {
        std::vector<std::string> keys;
        for (const auto& tab : strip.Tabs()) keys.push_back(tab->Key());
        return keys;
    }
    static std::vector<std::string> Split(const std::string& list) { return com::vb::Split(list, ","); }
    void TearDown() override { EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty()); }

    std::unique_ptr<ui::Host> host;
    int opened = 0;
};

TEST_F(BlockTabs, TheSelectorChoosesTheList) {
    auto page = Open();
    ASSERT_TRUE(page->Initialised());
    for (const auto& [selector, key] : {std::pair<int16_t, const char*>{0, "ctlProfilViewDyn_TabStrip_Profil"},
                                        {1, "ctlProfilViewDyn_TabStrip_Manu"},
                                        {2, "ctlProfilViewDyn_TabStrip_Manu"}})
        EXPECT_EQ(page->tabs->GetTabs(selector), Dict(key)) << selector;
    // A new RXD 218 has the manufacturer's ident number: ten tabs, the first loaded once.
    EXPECT_EQ(Keys(*page->TabStrip), Split(Dict("ctlProfilViewDyn_TabStrip_Manu")));
    EXPECT_EQ(page->loaded, std::vector<std::string>{"ctlProfilPhysicalBlock"});
}

TEST_F(BlockTabs, UpdateRemovesFromTheEndOrReKeysAndAppends) {
    auto page = Open();
    auto& tabs = *page->tabs;
    tabs.Update("a1,b2,c3,d4,e5");
    EXPECT_EQ(Keys(*page->TabStrip), Split("ctlProfilPhysicalBlock,ctlProfilTBFlowCoriolis1,ctlProfilFunctionBlockAI1,"
                                           "ctlProfilFunctionBlockAI2,ctlProfilFunctionBlockAI3"));
    tabs.Update("x1,y2,z3");  // a shorter list keeps the keys of the remaining tabs
    EXPECT_EQ(Keys(*page->TabStrip), Split("ctlProfilPhysicalBlock,ctlProfilTBFlowCoriolis1,ctlProfilFunctionBlockAI1"));
    tabs.Update("ctlProfilPhysicalBlock,ctlProfilTBFlowCoriolis1");
    tabs.Update("ctlProfilPhysicalBlock,ctlProfilFunctionBlockAI2,ctlProfilFunctionBlockTOT4");
    EXPECT_EQ(Keys(*page->TabStrip), Split("ctlProfilPhysicalBlock,ctlProfilFunctionBlockAI2,ctlProfilFunctionBlockTOT4"));
    auto& channel = Element("FUNC/2/AI/CHANNEL");
    EXPECT_EQ(page->TabStrip->Tabs().Item(2)->Caption(),
              "AI 2: " + channel.GetStrValueFromIdxList(com::CLng(channel.TransientValue)));
}

TEST_F(BlockTabs, KeysSplitAtTheirLastDigit) {
    const struct {
        const char* key;
        const char* view;
        int16_t n;
    } cases[] = {
        {"ctlProfilFunctionBlockTOT8", "ctlProfilFunctionBlockTOT", 8},
        {"ctlProfilPhysicalBlock", "ctlProfilPhysicalBlock", 0},
        {"ctlProfilTBFlowCoriolis1", "ctlProfilTBFlowCoriolis", 1},
        {"view12", "view1", 2},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        const auto key = BlockTabStrip::SplitKey(c.key);
        EXPECT_EQ(key.view, c.view) << c.key;
        EXPECT_EQ(key.n, c.n) << c.key;
    }
}

TEST_F(BlockTabs, CaptionsCarryTheChannelTextOfFunctionBlocksOnly) {
    Element("FUNC/2/AI/CHANNEL").TransientValue = Variant::Int(285);
    auto page = Open();
    auto caption = [&](const std::string& key) { return page->TabStrip->Tabs().Item(key)->Caption(); };
    EXPECT_EQ(caption("ctlProfilPhysicalBlock"), "Physical Block");
    EXPECT_EQ(caption("ctlProfilFunctionBlockAI2"), "AI 2: Temperature");
    EXPECT_EQ(caption("ctlProfilFunctionBlockTOT4"), "Totaliser 4: Mass flow");

    const auto keys = Ctx().Dictionary()->SectionNode("keys");
    auto& tabs = *page->tabs;
    // A key without caption text gives an empty caption; a view without a
    // function block keeps "%d"; a function block without CHANNEL loses it.
    EXPECT_EQ(tabs.BuildCaption(keys, "ctlProfilFunctionBlockAI9"), "");
    auto& dictionary = *Ctx().Dictionary();
    const auto entry = dictionary.KeyNode(keys, "ctlProfilViewDyn_ctlProfilTBFlowCoriolis1");
    entry->SetAttribute("text", "TB %d");
    EXPECT_EQ(tabs.BuildCaption(keys, "ctlProfilTBFlowCoriolis1"), "TB %d");
    // The same tab as if its view showed a Totaliser block: there is no FUNC/1/TOT/CHANNEL.
    BlockTabOptions options = *FindBlockTabHost("ctlProfilViewDyn");
    const BlockTabView totaliser[] = {{"ctlProfilTBFlowCoriolis", pbfFunctionTOTBlock}};
    options.views = totaliser;
    host.reset();
    page = Open(options);
    EXPECT_EQ(page->tabs->BuildCaption(keys, "ctlProfilTBFlowCoriolis1"), "TB ");
}

TEST_F(BlockTabs, AChannelChangeReCaptionsItsTabByKeyOrByPosition) {
    auto page = Open();
    for (const auto& tab : page->TabStrip->Tabs()) tab->Caption("old");
    Set("FUNC/4/TOT/CHANNEL", Variant::Int(273));
    std::vector<std::string> captions;
    for (const auto& tab : page->TabStrip->Tabs()) captions.push_back(tab->Caption());
    std::vector<std::string> expected(10, "old");
    expected[5] = "Totaliser 4: Volume flow";
    EXPECT_EQ(captions, expected);

    // By position: the CHANNEL of block 2 re-captions the second tab.
    BlockTabOptions byPosition = *FindBlockTabHost("ctlProfilViewDyn");
    byPosition.recaption = Recaption::ByPosition;
    host.reset();
    page = Open(byPosition);
    for (const auto& tab : page->TabStrip->Tabs()) tab->Caption("old");
    Set("FUNC/2/AI/CHANNEL", Variant::Int(285));
    EXPECT_EQ(page->TabStrip->Tabs().Item(2)->Caption(), "Transducer Block (flow)");
    EXPECT_EQ(page->TabStrip->Tabs().Item(4)->Caption(), "old");
}

TEST_F(BlockTabs, TheNoChannelRuleOfEachVariant) {
    BlockTabOptions options = *FindBlockTabHost("ctlProfilViewDyn");
    options.channel = ChannelSource::BlockElement;  // tab 1 (number 0) has no block
    // Its view as one that shows no single block, as the diagnosis window's frames.
    const BlockTabView views[] = {{"ctlProfilPhysicalBlock", pbfNoneBlock},
                                  {"ctlProfilFunctionBlockTOT", pbfFunctionTOTBlock}};
    options.views = views;
    const auto keys = [&] { return Ctx().Dictionary()->SectionNode("keys"); };
    const struct {
        NoChannel rule;
        const char* caption;
    } cases[] = {{NoChannel::RemovePlaceholder, "PB "}, {NoChannel::EmptyCaption, ""}, {NoChannel::KeepPlaceholder, "PB %d"}};
    for (const auto& c : cases) {
        options.noChannel = c.rule;
        host.reset();
        auto page = Open(options);
        Ctx().Dictionary()->KeyNode(keys(), "ctlProfilViewDyn_ctlProfilPhysicalBlock")->SetAttribute("text", "PB %d");
        EXPECT_EQ(page->tabs->BuildCaption(keys(), "ctlProfilPhysicalBlock"), c.caption);
        // Block 4 by "~/BLOCK/4" is a Totaliser.
        EXPECT_EQ(page->tabs->BuildCaption(keys(), "ctlProfilFunctionBlockTOT4"), "Totaliser 4: Mass flow");
    }
    EXPECT_EQ(FindBlockTabHost("ctlProfilViewDyn")->noChannel, NoChannel::RemovePlaceholder);
}

// Block 1 is an AI block, block 0 none: neither lends its channel to the
// tab of the Transducer or the Physical Block, whatever the host's rules.
TEST_F(BlockTabs, PhysicalAndTransducerTabsShowNoChannel) {
    const auto keys = [&] { return Ctx().Dictionary()->SectionNode("keys"); };
    for (const auto& options : BlockTabHosts()) {
        for (const auto& view : options.views) {
            if (view.kind != pbfPhysicalBlock && view.kind != pbfTransducerBlock) continue;
            SCOPED_TRACE(view.name);
            host.reset();
            auto page = Open(options);
            for (const std::string& key : {std::string(view.name), std::string(view.name) + "1"}) {
                const std::string captionKey =
                    options.captionKey == CaptionKey::PagePrefixed ? std::string(options.page) + "_" + key : key;
                const auto entry = Ctx().Dictionary()->KeyNode(keys(), captionKey);
                if (!entry) continue;
                entry->SetAttribute("text", "Block %d");
                EXPECT_EQ(page->tabs->BuildCaption(keys(), key), "Block %d") << key;
            }
        }
    }
}

TEST_F(BlockTabs, ARemovedSelectedTabIsRepairedWithOneClick) {
    auto page = Open();
    page->TabStrip->UserClickTab(10);
    EXPECT_EQ(page->loaded.back(), "ctlProfilFunctionBlockTOT8");
    Set("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(0));
    EXPECT_EQ(page->TabStrip->Tabs().Count(), 6);
    EXPECT_EQ(page->tabs->SelectedIndex(), 1);
    EXPECT_EQ(page->loaded, (std::vector<std::string>{"ctlProfilPhysicalBlock", "ctlProfilFunctionBlockTOT8",
                                                      "ctlProfilPhysicalBlock"}));
    // A selected tab that stays keeps the selection and loads nothing.
    page->TabStrip->UserClickTab(3);
    Set("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(1));
    EXPECT_EQ(page->tabs->SelectedIndex(), 3);
    EXPECT_EQ(page->loaded.size(), 4u);
    // A re-keyed selected tab counts as removed.
    auto keys = Split(Dict("ctlProfilViewDyn_TabStrip_Manu"));
    keys[2] = "ctlProfilFunctionBlockAI9";
    page->tabs->Update(com::vb::Join(keys, ","));
    EXPECT_EQ(page->tabs->SelectedIndex(), 1);
    EXPECT_EQ(page->loaded.size(), 5u);
}

TEST_F(BlockTabs, TheLoadedTabIsSkippedOnlyWhenPositionAndKeyAreUnchanged) {
    auto page = Open();
    page->TabStrip->UserClickTab(1);
    EXPECT_EQ(page->loaded.size(), 1u);  // the loaded tab again: nothing
    // Tab 1 shows another view under the same position: the repair loads it.
    auto keys = Split(Dict("ctlProfilViewDyn_TabStrip_Manu"));
    keys[0] = "ctlProfilFunctionBlockAI9";
    page->tabs->Update(com::vb::Join(keys, ","));
    EXPECT_EQ(page->loaded, (std::vector<std::string>{"ctlProfilPhysicalBlock", "ctlProfilFunctionBlockAI9"}));

    BlockTabOptions again = *FindBlockTabHost("ctlProfilViewDyn");
    again.sameTab = SameTab::RunAgain;
    host.reset();
    page = Open(again);
    page->TabStrip->UserClickTab(1);
    EXPECT_EQ(page->loaded.size(), 2u);
}

TEST_F(BlockTabs, AnEmptyListFailsThePage) {
    BlockTabOptions none = *FindBlockTabHost("ctlProfilViewDyn");
    none.page = "ctlNoTabLists";
    auto page = std::make_shared<TabHost>(none);
    host = std::make_unique<ui::Host>(page);
    EXPECT_ANY_THROW(page->Init("tabs", "", session.Dtm()));
    EXPECT_FALSE(page->Initialised());
    EXPECT_EQ(Ctx().GuiRegistry()->OpenGuis(), 0);
    EXPECT_TRUE(page->loaded.empty());
}

// Each profile list is the beginning of its manufacturer list, every key
// names a view of its host, keys are unique and every caption has a text;
// a page that is registered has its lists. Every list belongs to a host.
TEST_F(BlockTabs, EveryTabListKeepsTheDataRule) {
    com::ClassRegistry pages;
    RegisterPages(pages);
    std::set<std::string> hostKeys;
    for (const auto& options : BlockTabHosts()) {
        SCOPED_TRACE(options.page);
        const std::string profileKey = std::string(options.page) + "_TabStrip_Profil";
        const std::string manuKey = std::string(options.page) + "_TabStrip_Manu";
        hostKeys.insert({profileKey, manuKey});
        const auto profile = Split(Dict(profileKey)), manu = Split(Dict(manuKey));
        if (!pages.IsRegistered(kPageProgIdPrefix + std::string(options.page)) && manu.empty() && profile.empty())
            continue;
        ASSERT_FALSE(profile.empty());
        ASSERT_GE(manu.size(), profile.size());
        EXPECT_TRUE(std::equal(profile.begin(), profile.end(), manu.begin()));
        EXPECT_EQ(std::set<std::string>(manu.begin(), manu.end()).size(), manu.size());
        for (const auto& key : manu) {
            const std::string view = BlockTabStrip::SplitKey(key).view;
            EXPECT_TRUE(std::any_of(options.views.begin(), options.views.end(), [&](const auto& v) { return view == v.name; }))
                << key;
            const std::string caption = options.captionKey == CaptionKey::PagePrefixed ? std::string(options.page) + "_" + key : key;
            EXPECT_NE(Dict(caption), "") << caption;
        }
    }
    for (const auto& entry : Ctx().Dictionary()->SectionNode("keys")->SelectNodes("entry")) {
        const std::string key = com::CStr(entry->GetAttribute("key"));
        if (key.find("_TabStrip_") != std::string::npos) {
            EXPECT_TRUE(hostKeys.count(key)) << key;
        }
    }
}

}  // namespace
}  // namespace dtm
