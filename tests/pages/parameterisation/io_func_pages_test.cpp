// The AI and Totaliser I/O pages by themselves: the block they bind, their
// stored BlockIndex, the CHANNEL path they name for the I/O page's captions,
// the inner tabs and the labels cut before their unit.
#include <gtest/gtest.h>

#include "ParamPagesFixture.h"
#include "model/elements/clsDataElement.h"
#include "pages/parameterisation/ctlIOpFuncPage.h"
#include "platform/com/PropertyBag.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;

class IOFuncPages : public testing::ParamPagesFixture {
protected:
    template <class Page>
    P<Page> Open(const char* className, int16_t block) {
        auto page = Create<Page>(className);
        page->BlockIndex(block);
        EXPECT_TRUE(page->Init("{iop}.1$", "", frame->Session().Dtm()));
        return page;
    }
    // The names of the page's inner containers that are visible.
    static std::vector<std::string> Shown(const ctlIOpFuncPage& page) {
        std::vector<std::string> names;
        for (const auto& tab : page.TabStrip->Tabs())
            if (page.Controls().Item(tab->Key())->Visible()) names.push_back(tab->Key());
        return names;
    }
};

TEST_F(IOFuncPages, ChannelParameterNameIgnoresBlockIndex) {
    auto ai = Create<ctlIOpFuncAI>("ctlIOpFuncAI");
    auto tot = Create<ctlIOpFuncTOT>("ctlIOpFuncTOT");
    ai->BlockIndex(2);
    EXPECT_EQ(ai->ChannelParameterName(5), "FUNC/5/AI/CHANNEL");
    EXPECT_EQ(tot->ChannelParameterName(8), "FUNC/8/TOT/CHANNEL");
}

TEST_F(IOFuncPages, BlockIndexIsStoredWithItsDefault) {
    auto ai = Create<ctlIOpFuncAI>("ctlIOpFuncAI");
    auto tot = Create<ctlIOpFuncTOT>("ctlIOpFuncTOT");
    EXPECT_EQ(ai->BlockIndex(), 1);
    EXPECT_EQ(tot->BlockIndex(), 4);
    const com::PropertyBag empty;
    ai->BlockIndex(3);
    ai->ReadProperties(empty);
    EXPECT_EQ(ai->BlockIndex(), 1);
    tot->ReadProperties(empty);
    EXPECT_EQ(tot->BlockIndex(), 4);

    com::PropertyBag bag;
    tot->WriteProperties(bag);
    EXPECT_FALSE(bag.Contains("BlockIndex"));  // the default is not written
    tot->BlockIndex(8);
    tot->WriteProperties(bag);
    ai->ReadProperties(bag);
    EXPECT_EQ(ai->BlockIndex(), 8);
}

TEST_F(IOFuncPages, TheTotaliserPageBindsItsBlockAndRedrawsOnANewNumber) {
    auto tot = Open<ctlIOpFuncTOT>("ctlIOpFuncTOT", 8);
    EXPECT_EQ(RowOf(*tot, 0).Bound()->Name(), "FUNC/8/TOT/SET_TOT");
    EXPECT_EQ(RowOf(*tot, 17).Bound()->Name(), "FUNC/8/TOT/UNIT_TOT");

    // A value changed behind the pages' back shows after a new BlockIndex on
    // the Totaliser page, which redraws its rows; the AI page does not.
    auto ai = Open<ctlIOpFuncAI>("ctlIOpFuncAI", 2);
    Params().Item("FUNC/8/TOT/TAG_DESC")->TransientValue(Variant::Str("TOTAL-8"));
    Params().Item("FUNC/2/AI/TAG_DESC")->TransientValue(Variant::Str("AI-2"));
    tot->BlockIndex(4);
    ai->BlockIndex(3);
    EXPECT_EQ(RowOf(*tot, 14).DisplayText().substr(0, 7), "TOTAL-8");
    EXPECT_EQ(RowOf(*tot, 14).Bound()->Name(), "FUNC/8/TOT/TAG_DESC");  // not rebound
    EXPECT_NE(RowOf(*ai, 14).DisplayText().substr(0, 4), "AI-2");
    EXPECT_TRUE(tot->PrepareToRelease());
    tot->BlockIndex(8);  // an exited site ignores the refresh
    EXPECT_FALSE(tot->WindowHidden());
}

TEST_F(IOFuncPages, InnerTabsShowTheirContainerFromTheStart) {
    auto ai = Create<ctlIOpFuncAI>("ctlIOpFuncAI");
    EXPECT_EQ(Shown(*ai), std::vector<std::string>{"pictMeas"});
    ai->BlockIndex(2);
    ASSERT_TRUE(ai->Init("{iop}.1$", "", frame->Session().Dtm()));
    ASSERT_TRUE(ui::Input::ClickTab(*ai->TabStrip, 3));
    EXPECT_EQ(Shown(*ai), std::vector<std::string>{"picBatch"});
    ASSERT_TRUE(ui::Input::ClickTab(*ai->TabStrip, 1));
    EXPECT_EQ(Shown(*ai), std::vector<std::string>{"pictMeas"});

    // The chosen inner tab stays across a new Init for another block.
    ASSERT_TRUE(ui::Input::ClickTab(*ai->TabStrip, 2));
    ASSERT_TRUE(ai->PrepareToRelease());
    ai->BlockIndex(5);
    ASSERT_TRUE(ai->Init("{iop}.ctlIOpFuncAI5$", "", frame->Session().Dtm()));
    EXPECT_EQ(Shown(*ai), std::vector<std::string>{"picOutputLimits"});
    EXPECT_EQ(RowOf(*ai, 6).Bound()->Name(), "FUNC/5/AI/LO_LO_LIM");

    auto tot = Create<ctlIOpFuncTOT>("ctlIOpFuncTOT");
    EXPECT_EQ(Shown(*tot), std::vector<std::string>{"picMeas"});
    ASSERT_TRUE(tot->Init("{iop}.2$", "", frame->Session().Dtm()));
    ASSERT_TRUE(ui::Input::ClickTab(*tot->TabStrip, 3));
    EXPECT_EQ(Shown(*tot), std::vector<std::string>{"picBatch"});
}

TEST_F(IOFuncPages, APathIntoAHiddenContainerKeepsTheInnerTab) {
    auto ai = Open<ctlIOpFuncAI>("ctlIOpFuncAI", 1);
    const ui::Control* before = hosts.back()->Focus().Focused();
    EXPECT_TRUE(ai->ShowControl("ctlIOpFuncAI.ctlParameter.6", "ctlIOpFuncAI"));
    EXPECT_EQ(ai->TabStrip->SelectedItem()->Index(), 1);
    EXPECT_EQ(hosts.back()->Focus().Focused(), before);
    EXPECT_TRUE(ai->ShowControl("ctlIOpFuncAI.ctlParameter.24", "ctlIOpFuncAI"));
    EXPECT_EQ(hosts.back()->Focus().Focused(), &RowOf(*ai, 24));
}

TEST_F(IOFuncPages, LabelsAreCutBeforeTheUnit) {
    auto ai = Open<ctlIOpFuncAI>("ctlIOpFuncAI", 1);
    dynamic_cast<clsDataElement&>(*Params().Item("FUNC/1/AI/HI_LIM")).Label = "Upper limit (kg/s)";
    dynamic_cast<clsDataElement&>(*Params().Item("FUNC/1/AI/LO_LIM")).Label = "Lower limit";
    ai->SetLanguage(1033);
    EXPECT_EQ(RowOf(*ai, 21).LabelText(), "Upper limit ");
    EXPECT_EQ(RowOf(*ai, 11).LabelText(), "Lower limit");
    EXPECT_EQ(RowOf(*ai, 19).LabelText(), "Filter time ");  // "Filter time (s)"
}

}  // namespace
}  // namespace dtm
