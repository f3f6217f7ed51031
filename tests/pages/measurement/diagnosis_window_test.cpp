// The diagnosis window (function 5) against the simulated device: the cycle's
// request list of each tab, the block diagnosis page bound per block tab, the
// live marks, the acknowledgement of a device error and the tabs following
// the ident number selector and the channels.
#include "MeasurementFixture.h"
#include "pages/measurement/ctlDiagnosis.h"
#include "platform/app/MessageBox.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/UserInfo.h"
#include "platform/ui/Input.h"
#include "platform/xml/Dom.h"

namespace {

using dtm::ctlDiagnosis;
using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace ui = platform::ui;
using Paths = std::vector<std::string>;

constexpr const char* kDynamic[] = {"PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd",
                                    "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus",
                                    "PHYS/OPERATION_TIME"};

class DiagnosisWindow : public dtm::testing::MeasurementFixture {
protected:
    void Open(bool online = true) {
        if (online) GoOnline();
        session = frame->Open(5);
        ASSERT_NE(session, nullptr);
        page = std::dynamic_pointer_cast<ctlDiagnosis>(session->Page());
        ASSERT_NE(page, nullptr);
        Advance(1000);  // the first read of the cycle ends
    }
    int32_t TabOf(const std::string& key) const {
        for (const auto& tab : page->TabStrip->Tabs())
            if (tab->Key() == key) return tab->Index();
        return 0;
    }
    void ClickTab(const std::string& key) {
        const int32_t n = TabOf(key);
        ASSERT_GT(n, 0) << key;
        ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, n));
    }
    std::vector<std::string> TabKeys() const {
        std::vector<std::string> keys;
        for (const auto& tab : page->TabStrip->Tabs()) keys.push_back(tab->Key());
        return keys;
    }
    std::string Caption(const std::string& key) const { return page->TabStrip->Tabs().Item(TabOf(key))->Caption(); }
    bool Dynamic() const {
        bool all = true;
        for (const char* path : kDynamic) all = all && El(path).ParamDynamic();
        return all;
    }
    bool Visible(const std::string& name) const { return page->Controls().Item(name)->Visible(); }
    const std::vector<platform::app::MessageBoxRecord>& Boxes() const {
        return platform::app::MessageBoxHandler::Instance().Records();
    }

    std::shared_ptr<dtm::frame::PageSession> session;
    P<ctlDiagnosis> page;
};

TEST_F(DiagnosisWindow, OpenedOnlineTheCycleGoesOnAfterTheFirstTabsClick) {
    // The status bar starts the cycle before the window's closing click,
    // which swaps the requests while that first read runs.
    Open();
    EXPECT_TRUE(page->ctlStatus->ctlCycle->tmrCycle->Enabled());
    const size_t from = LogSize();
    Advance(kTick);
    EXPECT_EQ(Transactions(from).front(), AddressOf("PHYS/DIAGNOSIS"));
    EXPECT_EQ(Transactions(from).size(), 12u);  // the overview's 12 and the diagnosis, read once
    EXPECT_TRUE(Dynamic());
}

TEST_F(DiagnosisWindow, EachTabHasItsRequestListAfterTheDiagnosis) {
    struct Case {
        const char* key;
        size_t count;
        Paths first;  // the list's beginning
    };
    const Case cases[] = {
        {"frmDiagOverview", 12, {"PHYS/TAG_DESC", "PHYS/DEVICE_MAN_ID", "PHYS/DEVICE_ID", "PHYS/DEVICE_SER_NUM",
                                 "PHYS/SOFTWARE_REVISION", "PHYS/HARDWARE_REVISION", "PHYS/DEVICE_INSTAL_DATE",
                                 "PHYS/MANU/OPERATION_HOUR/", "PHYS/MANU/ACCESS_RIGHTS", "PHYS/DIAGNOSIS",
                                 "TRANS/1/FlowCori/MANU/_transducer_type", "TRANS/1/FlowCori/MANU/_system_state"}},
        {"frmDiagDetails", 3, {"PHYS/MANU/EEPROM_WRITE_CYCLES", "PHYS/DIAGNOSIS_EXTENSION", "TRANS/1/FlowCori/MANU/_converter_status"}},
        {"frmDiagBlockInfo", 36, {"PHYS/TAG_DESC", "PHYS/ST_REV", "PHYS/MODE_BLK/", "TRANS/1/FlowCori/TAG_DESC"}},
        {"ctlDiagBlockAI2", 4, {"FUNC/2/AI/BLK_OBJ/", "FUNC/2/AI/ST_REV", "FUNC/2/AI/MODE_BLK/", "FUNC/2/AI/CHANNEL"}},
        {"ctlDiagBlockPB", 4, {"PHYS/BLK_OBJ/", "PHYS/ST_REV", "PHYS/MODE_BLK/", "PHYS/CHANNEL"}},
        {"ctlDiagBlockTB1", 4, {"TRANS/1/FlowCori/BLK_OBJ/", "TRANS/1/FlowCori/ST_REV"}},
        {"ctlDiagBlockTOT8", 4, {"FUNC/8/TOT/BLK_OBJ/", "FUNC/8/TOT/ST_REV", "FUNC/8/TOT/MODE_BLK/", "FUNC/8/TOT/CHANNEL"}},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        ClickTab(c.key);
        const Paths requests = CycleRequests(*page->ctlStatus);
        ASSERT_EQ(requests.size(), 1 + c.count);
        EXPECT_EQ(requests.front(), "PHYS/DIAGNOSIS");
        EXPECT_EQ(Paths(requests.begin() + 1, requests.begin() + 1 + static_cast<long>(c.first.size())), c.first);
        EXPECT_EQ(page->ctlStatus->ctlCycle->Value(), 1);
        Advance(kTick + 1000);  // the new list is read with the next tick, the block table's too
    }
    // The block table reads every function block, also under the profile's ident number.
    El("PHYS/IDENT_NUMBER_SELECTOR").TransientValue = Variant::Int(0);
    page->ParameterSetChanged();
    ClickTab("frmDiagBlockInfo");
    Advance(1000);  // a read that ran at the click has ended and the cycle resumed
    const Paths requests = CycleRequests(*page->ctlStatus);
    EXPECT_EQ(requests.size(), 37u);
    EXPECT_EQ(requests.back(), "FUNC/8/TOT/MODE_BLK/");
}

TEST_F(DiagnosisWindow, ABlockTabBindsTheBlockPageToItsBlockUnderItsOwnInvokeId) {
    struct Case {
        const char* key;
        int16_t index;
        const char* prefix;
        bool channelValid;
    };
    const Case cases[] = {
        {"ctlDiagBlockAI2", 2, "FUNC/2/AI", true},
        {"ctlDiagBlockPB", 0, "PHYS", false},
        {"ctlDiagBlockTB1", 1, "TRANS/1/FlowCori", false},
        {"ctlDiagBlockTOT4", 4, "FUNC/4/TOT", true},
    };
    Open();
    EXPECT_TRUE(Visible("frmDiagOverview"));
    EXPECT_FALSE(Visible("ctlDiagBlock"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        ClickTab(c.key);
        const auto& block = *page->ctlDiagBlock;
        EXPECT_EQ(block.InvokeId(), session->InvokeId() + ".ctlDiagBlock" + std::to_string(c.index) + "$");
        EXPECT_EQ(block.BlockIndex, c.index);
        EXPECT_EQ(block.BlockPrefix, c.prefix);
        EXPECT_TRUE(block.Visible());
        for (const char* frameName : {"frmDiagOverview", "frmDiagDetails", "frmDiagBlockInfo"}) EXPECT_FALSE(Visible(frameName));
        EXPECT_EQ(block.frmDiagBlock->Caption(), Caption(c.key));
        EXPECT_EQ(RowOf(block, 6).Bound()->Name(), std::string(c.prefix) + "/ST_REV");
        EXPECT_EQ(El(std::string(c.prefix) + "/CHANNEL").Validity(), c.channelValid);
        EXPECT_NE(Ctx().GuiRegistry()->FindGui(block.InvokeId()), nullptr);
    }
    EXPECT_EQ(Caption("ctlDiagBlockAI2"), "AI 2: Density");
    ClickTab("frmDiagDetails");
    EXPECT_TRUE(Visible("frmDiagDetails"));
    EXPECT_FALSE(Visible("ctlDiagBlock"));
}

// The registry tells the window, then the block page bound after it.
TEST_F(DiagnosisWindow, ALanguageChangeKeepsTheBlockPagesCaptionTheSelectedTabs) {
    Open();
    ClickTab("ctlDiagBlockAI2");
    auto& dictionary = *Ctx().Dictionary();
    dictionary.KeyNode(dictionary.SectionNode("keys"), "ctlDiagnosis_ctlDiagBlockAI2")
        ->SetAttribute("text", "Analog input 2 (%d)");
    Ctx().GuiRegistry()->LanguageId(1033);
    EXPECT_EQ(Caption("ctlDiagBlockAI2"), "Analog input 2 (Density)");
    EXPECT_EQ(page->ctlDiagBlock->frmDiagBlock->Caption(), "Analog input 2 (Density)");
}

TEST_F(DiagnosisWindow, TheFunctionBlockTabLeavesTheOutputUnitAndTheDataSetAlone) {
    Open();
    const Variant unit = El("FUNC/1/AI/OUT_SCALE/Unit").TransientValue;
    Params().Modified(false);
    ClickTab("ctlDiagBlockAI1");
    EXPECT_EQ(com::CStr(El("FUNC/1/AI/OUT_SCALE/Unit").TransientValue), com::CStr(unit));
    EXPECT_FALSE(Params().Modified());
    EXPECT_TRUE(El("FUNC/1/AI/CHANNEL").Validity());
}

TEST_F(DiagnosisWindow, TheDerivedDiagnosisIsMarkedLiveWhileTheCycleRunsOnEveryTab) {
    Open();
    EXPECT_TRUE(Dynamic());
    for (const char* key : {"frmDiagDetails", "frmDiagBlockInfo", "ctlDiagBlockAI3"}) {
        ClickTab(key);
        EXPECT_TRUE(Dynamic()) << key;
        Advance(kTick + 1000);
    }
    ASSERT_TRUE(ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, false));
    for (const char* path : kDynamic) EXPECT_FALSE(El(path).ParamDynamic()) << path;
}

// A mark goes only when the last window that holds it lets go, by its
// cycle's stop or by closing; tab clicks hold it once per window.
TEST_F(DiagnosisWindow, TheDerivedDiagnosisStaysLiveWhileAnotherWindowsCycleRuns) {
    Open();
    const auto first = session;
    const auto firstPage = page;
    Open(false);
    ClickTab("frmDiagDetails");
    ClickTab("frmDiagBlockInfo");
    Advance(1000);  // a read that ran at the click has ended and the cycle resumed
    ASSERT_TRUE(ui::Input::Check(*firstPage->ctlStatus->ctlCycle->chkCycle, false));
    EXPECT_TRUE(Dynamic());
    ASSERT_TRUE(ui::Input::Check(*firstPage->ctlStatus->ctlCycle->chkCycle, true));
    ASSERT_TRUE(frame->Close(*first));
    EXPECT_TRUE(Dynamic());
    ASSERT_TRUE(frame->Close(*session));
    for (const char* path : kDynamic) EXPECT_FALSE(El(path).ParamDynamic()) << path;
}

TEST_F(DiagnosisWindow, TheAcknowledgementAsksThenWritesTheResetOnceAndReadsTheStatusBack) {
    struct Case {
        const char* name;
        int32_t userLevel;
        std::vector<int32_t> answers;  // one click per answer
        bool offline;                  // the frame released the channel
        size_t writes;
        std::vector<int32_t> boxes;    // buttons of the boxes shown
        int16_t resets;                // "_resets" afterwards
    };
    const Case cases[] = {
        {"No", 3, {7}, false, 0, {292}, 1},
        {"Yes", 3, {6}, false, 1, {292}, 2},
        {"YesWhileBusy", 3, {6, 6}, false, 1, {292, 48}, 2},
        {"Refused", 3, {6}, true, 0, {292, 0}, 1},
        {"LevelTooLow", 1, {}, false, 0, {48}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            Start();
        }
        ASSERT_TRUE(frame->Device().SetValue("TRANS/1/FlowCori/MANU/_converter_status", "00 00 00 04"));
        Open();
        ClickTab("frmDiagDetails");
        Advance(kTick);
        Ctx().UserInfo()->UserLevel(c.userLevel);
        if (c.offline) {
            ASSERT_TRUE(frame->Disconnect());
        }
        platform::app::MessageBoxHandler::Instance().Clear();
        const size_t from = LogSize();
        const size_t clicks = std::max<size_t>(c.answers.size(), 1);
        for (size_t i = 0; i < clicks; ++i) {
            if (i < c.answers.size()) platform::app::MessageBoxHandler::Instance().QueueAnswer(c.answers[i]);
            ASSERT_TRUE(ui::Input::Click(*page->cmdQuitErr));
        }
        Advance(500);
        std::vector<int32_t> buttons;
        for (const auto& box : Boxes()) buttons.push_back(box.buttons);
        EXPECT_EQ(buttons, c.boxes);
        EXPECT_EQ(com::CInt(El(ctlDiagnosis::kResetsPath).TransientValue), c.resets);
        const auto writes = Transactions(from, true);
        ASSERT_EQ(writes.size(), c.writes);
        if (c.writes == 1) {
            EXPECT_EQ(writes.front(), AddressOf(ctlDiagnosis::kResetsPath));
            const auto& log = frame->Device().Log();
            size_t at = from;
            while (!log[at].request.write) ++at;
            EXPECT_EQ((Address{log[at + 1].request.slot, log[at + 1].request.index}),
                      AddressOf(ctlDiagnosis::kConverterStatusPath));
            EXPECT_EQ(El(ctlDiagnosis::kConverterStatusPath).TransientValue.ToBytes(), (std::vector<uint8_t>{0, 0, 0, 0}));
        }
        if (!c.boxes.empty() && c.boxes.back() != 292) {
            const char* expected = c.boxes.back() == 0     ? "could not be sent"
                                   : c.answers.size() > 1 ? "is still running"
                                                          : "user level is too low";
            EXPECT_NE(Boxes().back().prompt.find(expected), std::string::npos) << Boxes().back().prompt;
        }
    }
}

TEST_F(DiagnosisWindow, AnAcknowledgementNotCarriedOutLeavesTheSavedDataSetAsItWas) {
    enum class Fault { None, Refused, Unanswered };
    struct Case {
        const char* name;
        int32_t answer;
        Fault fault;
        std::vector<int32_t> boxes;  // buttons of the boxes shown
    };
    const Case cases[] = {
        {"No", 7, Fault::None, {292}},
        {"RefusedByTheDevice", 6, Fault::Refused, {292, 48}},
        {"Unanswered", 6, Fault::Unanswered, {292, 48}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            Start();
        }
        Open();
        ClickTab("frmDiagDetails");
        Advance(kTick + 1000);
        platform::com::PropertyBag bag;
        ASSERT_TRUE(frame->Session().Save(bag));
        const int16_t before = com::CInt(El(ctlDiagnosis::kResetsPath).TransientValue);
        const auto [slot, index] = AddressOf(ctlDiagnosis::kResetsPath);
        if (c.fault == Fault::Refused)
            frame->Device().ScheduleAddressFailure(static_cast<uint8_t>(slot), static_cast<uint8_t>(index), true,
                                                   dtm::frame::SimulatedDevice::kAccessDenied);
        if (c.fault == Fault::Unanswered) frame->Device().ScheduleDrop();
        platform::app::MessageBoxHandler::Instance().Clear();
        const size_t from = LogSize();
        platform::app::MessageBoxHandler::Instance().QueueAnswer(c.answer);
        ASSERT_TRUE(ui::Input::Click(*page->cmdQuitErr));
        Advance(12000);  // beyond the 10 s an unanswered write waits; the cycle reads meanwhile

        EXPECT_EQ(Transactions(from, true).size(), c.fault == Fault::None ? 0u : 1u);
        std::vector<int32_t> buttons;
        for (const auto& box : Boxes()) buttons.push_back(box.buttons);
        EXPECT_EQ(buttons, c.boxes);
        if (c.fault != Fault::None) {
            EXPECT_NE(Boxes().back().prompt.find("did not carry out"), std::string::npos) << Boxes().back().prompt;
        }
        EXPECT_EQ(com::CInt(El(ctlDiagnosis::kResetsPath).TransientValue), before);
        EXPECT_NE(com::CLng(El("~/DataStatus").TransientValue), 2);  // not "changed"
        EXPECT_FALSE(Params().Modified());
    }
}

TEST_F(DiagnosisWindow, EveryAcknowledgementSendsItsOwnWriteOnly) {
    Open();
    ClickTab("frmDiagDetails");
    for (int i = 0; i < 2; ++i) {
        const size_t from = LogSize();
        platform::app::MessageBoxHandler::Instance().QueueAnswer(6);
        ASSERT_TRUE(ui::Input::Click(*page->cmdQuitErr));
        Advance(kTick);
        EXPECT_EQ(Transactions(from, true).size(), 1u);
    }
    EXPECT_TRUE(page->TransferGroup()->Requests().empty());
}

TEST_F(DiagnosisWindow, ALockedDataSetLocksTheRowsButNotTheAcknowledgement) {
    Open();
    ClickTab("frmDiagDetails");
    Advance(kTick + 1000);
    Params().OnLockDataSet("frame");
    EXPECT_TRUE(RowOf(*page, 13).ReadOnly());
    EXPECT_TRUE(page->cmdQuitErr->Enabled());
    const size_t from = LogSize();
    platform::app::MessageBoxHandler::Instance().QueueAnswer(6);
    ASSERT_TRUE(ui::Input::Click(*page->cmdQuitErr));
    Advance(500);
    EXPECT_EQ(Transactions(from, true).size(), 1u);
}

TEST_F(DiagnosisWindow, TheIdentNumberSelectorRebuildsTheTabsAndASingleNoticeTheLabelsToo) {
    Open(false);
    const auto manufacturer = TabKeys();
    ASSERT_EQ(manufacturer.size(), 13u);
    ClickTab("ctlDiagBlockTOT8");
    auto& selector = El("PHYS/IDENT_NUMBER_SELECTOR");

    selector.TransientValue = Variant::Int(0);
    Ctx().GuiRegistry()->NotifyParameterChanged(Params().Item("PHYS/IDENT_NUMBER_SELECTOR"), "");
    EXPECT_EQ(TabKeys(), (Paths(manufacturer.begin(), manufacturer.begin() + 9)));
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);  // the removed tab's place goes to tab 1
    EXPECT_TRUE(Visible("frmDiagOverview"));
    for (const char* label : {"lblAI5", "lblAI6", "lblAI7", "lblTOT8"}) EXPECT_FALSE(Visible(label)) << label;

    selector.TransientValue = Variant::Int(1);
    page->ParameterSetChanged();  // the whole data set: tabs rebuilt, labels left
    EXPECT_EQ(TabKeys(), manufacturer);
    for (const char* label : {"lblAI5", "lblAI6", "lblAI7", "lblTOT8"}) EXPECT_FALSE(Visible(label)) << label;
}

TEST_F(DiagnosisWindow, AChannelChangeRenamesOnlyItsBlocksTab) {
    Open(false);
    const auto label = Control<ui::Label>(*page, "lblAI3");
    const std::string labelText = label->Caption();
    const std::string otherCaption = Caption("ctlDiagBlockAI2");
    auto& channel = El("FUNC/3/AI/CHANNEL");
    ClickTab("ctlDiagBlockAI3");
    const std::string before = Caption("ctlDiagBlockAI3");

    channel.TransientValue = Variant::Int(static_cast<int16_t>(com::CInt(El("FUNC/2/AI/CHANNEL").TransientValue)));
    Ctx().GuiRegistry()->NotifyParameterChanged(Params().Item("FUNC/3/AI/CHANNEL"), "");
    const std::string after = Caption("ctlDiagBlockAI3");
    EXPECT_NE(after, before);
    EXPECT_EQ(after, "AI 3: " + otherCaption.substr(6));
    EXPECT_EQ(Caption("ctlDiagBlockAI2"), otherCaption);
    EXPECT_EQ(page->ctlDiagBlock->frmDiagBlock->Caption(), after);
    EXPECT_EQ(label->Caption(), labelText);
    EXPECT_NE(labelText.find("AI 3: "), std::string::npos);
}

TEST_F(DiagnosisWindow, ReleaseEndsTheChildrenAndTheOwnGroup) {
    Open();
    ClickTab("ctlDiagBlockAI1");
    const auto group = page->TransferGroup();
    const std::string blockId = page->ctlDiagBlock->InvokeId();
    ASSERT_TRUE(frame->Close(*session));
    EXPECT_FALSE(page->ctlDiagBlock->Initialised());
    EXPECT_EQ(Ctx().GuiRegistry()->FindGui(blockId), nullptr);
    EXPECT_EQ(group->Execute(page, true, true), 2);  // released
    for (const char* path : kDynamic) EXPECT_FALSE(El(path).ParamDynamic()) << path;
}

}  // namespace
