// The block alarm page: its 24 rows bound to the alarm parameters of every
// function block of both device types, the inner tabs, its block number in
// the property bag, and a block number without a block.
#include <gtest/gtest.h>

#include "ParamPagesFixture.h"
#include "model/elements/clsDataElement.h"
#include "pages/parameterisation/ctlAlarmAI.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace com = platform::com;
using platform::P;
using platform::ctl::ctlParameter;

// The rows' tags with "%d" and "%ch" as the alarm page's table has them.
constexpr const char* kTags[24] = {
    "FUNC/%d/%ch/LO_ALM/Unacknowledged",    "FUNC/%d/%ch/LO_ALM/AlarmState",
    "FUNC/%d/%ch/LO_ALM/Subcode",           "FUNC/%d/%ch/LO_LIM",
    "FUNC/%d/%ch/LO_ALM/Value",             "FUNC/%d/%ch/HI_ALM/Unacknowledged",
    "FUNC/%d/%ch/HI_ALM/AlarmState",        "FUNC/%d/%ch/HI_ALM/Subcode",
    "FUNC/%d/%ch/HI_LIM",                   "FUNC/%d/%ch/HI_ALM/Value",
    "FUNC/%d/%ch/LO_LO_ALM/Unacknowledged", "FUNC/%d/%ch/LO_LO_ALM/AlarmState",
    "FUNC/%d/%ch/LO_LO_ALM/Subcode",        "FUNC/%d/%ch/LO_LO_LIM",
    "FUNC/%d/%ch/LO_LO_ALM/Value",          "FUNC/%d/%ch/HI_HI_ALM/Unacknowledged",
    "FUNC/%d/%ch/HI_HI_ALM/AlarmState",     "FUNC/%d/%ch/HI_HI_ALM/Subcode",
    "FUNC/%d/%ch/HI_HI_LIM",                "FUNC/%d/%ch/HI_HI_ALM/Value",
    "FUNC/%d/%ch/ALARM_SUM/Current",        "FUNC/%d/%ch/ALARM_SUM/Unacknowledged",
    "FUNC/%d/%ch/ALARM_SUM/Unreported",     "FUNC/%d/%ch/ALARM_SUM/Disabled",
};

std::string Path(std::string tag, int n, const std::string& kind) {
    tag.replace(tag.find("%d"), 2, std::to_string(n));
    tag.replace(tag.find("%ch"), 3, kind);
    return tag;
}

class AlarmBlockPageTest : public testing::ParamPagesFixture {
protected:
    // Opens the page by program id for block n, as the alarm page does:
    // block number first, then Init.
    P<ctlAlarmAI> Open(int16_t n) {
        session = frame->OpenProgId("RG38N226_4_07.ctlAlarmAI");
        if (!session) return nullptr;
        auto page = std::dynamic_pointer_cast<ctlAlarmAI>(session->Page());
        if (n != 1) Reinit(*page, n);
        return page;
    }
    void Reinit(ctlAlarmAI& page, int16_t n) {
        ASSERT_TRUE(page.PrepareToRelease());
        page.BlockIndex(n);
        ASSERT_TRUE(page.Init(session->InvokeId() + ".ctlAlarmAI" + std::to_string(n) + "$", "", frame->Session().Dtm()));
    }
    ctlParameter& Row(int16_t i) const { return *session->Row("ctlParameter." + std::to_string(i)); }
    platform::ui::Control& Ctl(const std::string& path) const { return *session->Ctl(path); }
    std::string Dict(const std::string& key) const {
        return com::CStr(Ctx().Dictionary()->LookupText("keys", key, "text"));
    }
    clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }

    std::shared_ptr<frame::PageSession> session;
};

TEST_F(AlarmBlockPageTest, EveryRowIsBoundForEveryBlockOfBothDevices) {
    for (const Model device : {Model::RXD214, Model::RXD218}) {
        Start(device);
        auto page = Open(1);
        ASSERT_NE(page, nullptr);
        for (int16_t n = 1; n <= 8; ++n) {
            Reinit(*page, n);
            const std::string kind = n == 4 || n == 8 ? "TOT" : "AI";
            EXPECT_EQ(com::CStr(Element("~/BLOCK/" + std::to_string(n)).InitialValue), kind);
            EXPECT_TRUE(page->ctlParamSite1->UnboundRows().empty()) << static_cast<int>(device) << " block " << n;
            ASSERT_EQ(page->ctlParamSite1->Links().size(), 24u);
            for (int16_t i = 0; i < 24; ++i) {
                const auto bound = Row(i).Bound();
                ASSERT_NE(bound, nullptr) << static_cast<int>(device) << " block " << n << " row " << i;
                EXPECT_EQ(bound->Name(), Path(kTags[i], n, kind)) << static_cast<int>(device) << " row " << i;
            }
        }
        EXPECT_TRUE(frame->Close(*session));
    }
}

TEST_F(AlarmBlockPageTest, RowsKeepTheirFramesAndForm) {
    auto page = Open(4);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Row(20).Bound()->Name(), "FUNC/4/TOT/ALARM_SUM/Current");
    EXPECT_EQ(Row(18).Bound()->Name(), "FUNC/4/TOT/HI_HI_LIM");
    struct Expect {
        int16_t row;
        const char* frame;
        bool locked;
    };
    const Expect expected[] = {
        {0, "frmLowerWarn", false},   {3, "frmLowerWarn", true},   {8, "frmUpperWarn", true},
        {12, "frmLowerAlarm", false}, {13, "frmLowerAlarm", true}, {19, "frmUpperAlarm", false},
        {20, "frmAlarmSummary", false}, {23, "frmAlarmSummary", false},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(Row(e.row).Container(), &Ctl(e.frame)) << e.row;
        if (e.locked) {
            EXPECT_TRUE(Row(e.row).ReadOnly()) << e.row;  // the limits are shown locked
        }
    }
    EXPECT_EQ(Row(20).ControlType(), platform::ctl::kRowBitList);  // the summary's bit strings
    for (const char* limits : {"frmLowerWarn", "frmUpperWarn", "frmLowerAlarm", "frmUpperAlarm"})
        EXPECT_EQ(Ctl(limits).Container(), &Ctl("frmAlarmLimits"));
    EXPECT_EQ(dynamic_cast<platform::ui::Frame&>(Ctl("frmLowerWarn")).Caption(), Dict("ctlAlarmAI_frmLowerWarn"));
    EXPECT_EQ(page->TabStrip->Tabs().Item(2)->Caption(), Dict("ctlAlarmAI_TabStrip.2"));
}

TEST_F(AlarmBlockPageTest, TheInnerTabsSwitchBetweenSummaryAndLimits) {
    auto page = Open(1);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(Ctl("frmAlarmSummary").Visible());
    EXPECT_FALSE(Ctl("frmAlarmLimits").Visible());
    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 2));
    EXPECT_FALSE(Ctl("frmAlarmSummary").Visible());
    EXPECT_TRUE(Ctl("frmAlarmLimits").Visible());
    EXPECT_TRUE(Ctl("frmUpperAlarm").Visible());  // the four limit frames together
    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 1));
    EXPECT_TRUE(Ctl("frmAlarmSummary").Visible());
    EXPECT_FALSE(Ctl("frmAlarmLimits").Visible());

    // A path to a row of the hidden frame selects no tab.
    EXPECT_TRUE(page->ShowControl(".ctlParameter.3", ""));
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);
    EXPECT_EQ(page->ShownControl().get(), &Row(3));
    EXPECT_FALSE(Ctl("frmAlarmLimits").Visible());
}

TEST_F(AlarmBlockPageTest, TheBlockNumberLivesInThePropertyBagAndTakesEffectAtInit) {
    ctlAlarmAI fresh;
    fresh.Create();
    EXPECT_EQ(fresh.BlockIndex(), 1);
    com::PropertyBag empty;
    ctlAlarmAI fromEmpty;
    fromEmpty.Create(&empty);
    EXPECT_EQ(fromEmpty.BlockIndex(), 1);
    fresh.BlockIndex(6);
    com::PropertyBag bag;
    fresh.WriteProperties(bag);
    ctlAlarmAI loaded;
    loaded.Create(&bag);
    EXPECT_EQ(loaded.BlockIndex(), 6);

    auto page = Open(2);
    ASSERT_NE(page, nullptr);
    page->BlockIndex(3);  // rebinds nothing until the next Init
    EXPECT_EQ(Row(0).Bound()->Name(), "FUNC/2/AI/LO_ALM/Unacknowledged");
}

TEST_F(AlarmBlockPageTest, ABlockNumberWithoutABlockBindsNoRow) {
    auto page = Open(1);
    ASSERT_NE(page, nullptr);
    for (const int16_t n : {0, 9}) {
        Reinit(*page, n);
        EXPECT_TRUE(page->Initialised());
        EXPECT_EQ(page->ctlParamSite1->UnboundRows().size(), 24u) << n;
        EXPECT_EQ(Row(20).Bound(), nullptr);
    }
    Reinit(*page, 5);
    EXPECT_TRUE(page->ctlParamSite1->UnboundRows().empty());
}

}  // namespace
}  // namespace dtm
