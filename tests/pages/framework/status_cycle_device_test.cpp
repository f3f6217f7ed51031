// The status bar's cyclic refresh on a hosting page against the simulated
// device: the ticks on the virtual clock, the host's requests, the connection
// check, the dynamic marks and the panels.
#include <set>

#include "StatusHostFixture.h"
#include "model/elements/LanguageHelpers.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/LanguageDictionary.h"

namespace {

using dtm::testing::StatusHostFixture;
using platform::P;
using platform::Variant;
using Names = std::vector<std::string>;

class StatusCycleDevice : public StatusHostFixture {
protected:
    // A record that the upload reads, whose fields lie at its address.
    std::string RecordPath() const {
        for (const auto& el : Params()) {
            const std::string name = el->Name();
            if (name.size() > 1 && name.back() == '/' && el->IsUploadParam(session.Context()) &&
                !Params().Children(name).empty())
                return name;
        }
        return "";
    }
    std::string ExpandedKey(const std::string& key) const {
        const auto ctx = session.Context();
        const Variant text = ctx->Dictionary()->LookupText("keys", key, "text");
        return dtm::ExpandTextRefs(platform::com::CStr(text), ctx, ctx->Dictionary()->SectionNode("keys"));
    }
};

TEST_F(StatusCycleDevice, EachTickReadsTheHostsRequestsOnceAndThePanelsFollow) {
    const std::string record = RecordPath();
    ASSERT_FALSE(record.empty());
    Open({"PHYS/TAG_DESC", record});
    EXPECT_EQ(Status().ctlCycle->Value(), 0);  // not yet connected: the cycle waits for the user
    EXPECT_EQ(Status().PanelIcon("pnlOnOffline"), "k_empty");
    const size_t from = RequestCount();

    Status().ctlCycle->chkCycle->UserClick();
    EXPECT_EQ(TakeEvents(), (Names{"Click", "OnAddDiagnoseRequests", "OnAddCycleRequests"}));
    EXPECT_EQ(Status().PanelIcon("ctlCycle"), "k_ok");
    Advance(1000);  // connect, identity, then the first read of the group
    EXPECT_EQ(ReadsSince(from), 3u);  // one per address: diagnosis, tag, the record with its fields
    EXPECT_EQ(Status().stbar->Panels("pnlOnOffline")->Text(), ExpandedKey("key_connected"));
    EXPECT_EQ(Status().PanelIcon("pnlOnOffline"), "k_ok");
    EXPECT_EQ(Status().PanelIcon("pnlDiagnosis"), "k_ok");  // the factory device reports nothing

    // The device's values reach the elements on the next tick, not before.
    auto& tag = Element("PHYS/TAG_DESC");
    device.Write(tag.Slot, tag.index, std::vector<uint8_t>(32, static_cast<uint8_t>('Z')));
    Advance(kTick - 1000 - 1);
    EXPECT_EQ(ReadsSince(from), 3u);
    Advance(1000);
    EXPECT_EQ(ReadsSince(from), 6u);
    EXPECT_EQ(platform::com::CStr(tag.DeviceValue).substr(0, 3), "ZZZ");
    EXPECT_EQ(Status().PanelIcon("pnlDiagnosis"), "k_ok");
    Advance(2 * kTick);
    EXPECT_EQ(ReadsSince(from), 12u);

    // Unchecked: no more reads, the group emptied, the panels back.
    Status().ctlCycle->chkCycle->UserClick();
    EXPECT_EQ(TakeEvents(), (Names{"Click", "OnRemoveRequests"}));
    Advance(3 * kTick);
    EXPECT_EQ(ReadsSince(from), 12u);
    EXPECT_TRUE(Status().ctlCycle->CycleGroup()->RequestElements(session.Context()).empty());
    EXPECT_EQ(Status().PanelIcon("ctlCycle"), "k_diagErr");
    EXPECT_EQ(Status().PanelIcon("pnlDiagnosis"), "k_empty");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(StatusCycleDevice, RunningCycleMarksItsElementsDynamicFieldsOfARecordInstead) {
    const std::string record = RecordPath();
    Open({"PHYS/TAG_DESC", record});
    Status().ctlCycle->chkCycle->UserClick();
    EXPECT_TRUE(Element("PHYS/TAG_DESC").ParamDynamic());
    EXPECT_EQ(Element("PHYS/TAG_DESC").DynamicCounter, 1);
    EXPECT_TRUE(Element("PHYS/DIAGNOSIS").ParamDynamic());
    EXPECT_EQ(Element(record).DynamicCounter, 0);
    for (const auto& field : Params().Children(record))
        EXPECT_EQ(dynamic_cast<dtm::clsDataElement&>(*field).DynamicCounter, 1) << field->Name();
    Advance(kTick);
    Status().ctlCycle->chkCycle->UserClick();
    EXPECT_FALSE(Element("PHYS/TAG_DESC").ParamDynamic());
    for (const auto& field : Params().Children(record))
        EXPECT_FALSE(dynamic_cast<dtm::clsDataElement&>(*field).ParamDynamic()) << field->Name();
}

TEST_F(StatusCycleDevice, TheHostSwapsItsRequestsWhileTheCycleRuns) {
    Open({"PHYS/TAG_DESC"});
    Status().ctlCycle->chkCycle->UserClick();
    Advance(1000);
    TakeEvents();

    Status().RemoveRequests();  // suspended: the box stays checked, no reads
    EXPECT_EQ(TakeEvents(), Names{"OnRemoveRequests"});
    EXPECT_EQ(Status().ctlCycle->Value(), 1);
    EXPECT_EQ(Status().PanelIcon("ctlCycle"), "k_ok");
    EXPECT_FALSE(Element("PHYS/TAG_DESC").ParamDynamic());
    const size_t from = RequestCount();
    Advance(2 * kTick);
    EXPECT_EQ(ReadsSince(from), 0u);

    page->cycleList = {"PHYS/DEVICE_MESSAGE"};
    Status().AddRequests();  // resumed with the new list, read at once
    EXPECT_EQ(TakeEvents(), (Names{"OnAddDiagnoseRequests", "OnAddCycleRequests"}));
    Advance(1000);
    std::set<std::pair<int, int>> read;
    for (const auto& r : DeviceRequests(from)) read.insert({r.slot, r.index});
    const auto& message = Element("PHYS/DEVICE_MESSAGE");
    const auto& tag = Element("PHYS/TAG_DESC");
    EXPECT_TRUE(read.count({message.Slot, message.index}));
    EXPECT_FALSE(read.count({tag.Slot, tag.index}));
    EXPECT_TRUE(message.ParamDynamic());
    EXPECT_FALSE(tag.ParamDynamic());
}

TEST_F(StatusCycleDevice, AConnectedInstanceStartsTheCycleAtInitAndStopsItAtRelease) {
    ASSERT_TRUE(session.Upload().ok);  // connected, the data set as the device has it
    Open({"PHYS/TAG_DESC"});
    EXPECT_EQ(TakeEvents(), (Names{"Click", "OnAddDiagnoseRequests", "OnAddCycleRequests"}));
    EXPECT_EQ(Status().ctlCycle->Value(), 1);
    EXPECT_EQ(Status().PanelIcon("pnlOnOffline"), "k_ok");
    EXPECT_EQ(Status().PanelIcon("pnlParamChange"), "k_online");
    ASSERT_TRUE(Parameter().IDtmParameter_SetParameters("", TagDocument("EDITED WHILE CYCLING")));
    EXPECT_EQ(Status().PanelIcon("pnlParamChange"), "k_changed");
    const size_t from = RequestCount();
    Advance(kTick + 1000);
    EXPECT_EQ(ReadsSince(from), 4u);  // the read at start and one tick, two addresses each

    ASSERT_TRUE(page->PrepareToRelease());  // the page hears of the stop while it is released
    EXPECT_EQ(TakeEvents(), (Names{"Click", "OnRemoveRequests"}));
    EXPECT_FALSE(Element("PHYS/TAG_DESC").ParamDynamic());
    const size_t after = RequestCount();
    Advance(3 * kTick);
    EXPECT_EQ(RequestCount(), after);
}

TEST_F(StatusCycleDevice, AReleasedChannelShowsOfflineAndTheNextTickStopsTheCycleWithOneMessage) {
    Open({"PHYS/TAG_DESC"});
    Status().ctlCycle->chkCycle->UserClick();
    Advance(1000);
    TakeEvents();
    ASSERT_TRUE(session.ReleaseCommunication());
    EXPECT_EQ(Status().PanelIcon("pnlOnOffline"), "k_empty");
    EXPECT_EQ(Status().stbar->Panels("pnlOnOffline")->Text(), ExpandedKey("key_notConnected"));
    Advance(3 * kTick);
    EXPECT_EQ(TakeEvents(), (Names{"Click", "OnRemoveRequests"}));
    EXPECT_EQ(Status().ctlCycle->Value(), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, dtm::GetLangText(session.Context(), "error_at_read_status"));
    EXPECT_EQ(Boxes()[0].buttons, 0);
}

TEST_F(StatusCycleDevice, AFailedDiagnosisReadShowsTheCommunicationError) {
    Open({});
    Status().ctlCycle->chkCycle->UserClick();
    Advance(1000);
    EXPECT_EQ(Status().PanelIcon("pnlDiagnosis"), "k_ok");
    device.ScheduleDrop();  // the next read is never answered
    Advance(kTick);
    EXPECT_EQ(Status().PanelIcon("pnlDiagnosis"), "k_ok");
    Advance(platform::rt::DtmCommService::kAnswerTimeoutMs);  // the ticks meanwhile find the group busy
    EXPECT_EQ(Status().PanelIcon("pnlDiagnosis"), "k_commErr");
    EXPECT_EQ(Status().ctlCycle->Value(), 1);
    Advance(kTick);
    EXPECT_EQ(Status().PanelIcon("pnlDiagnosis"), "k_ok");
    EXPECT_TRUE(Boxes().empty());
}

class StatusCycleWithoutChannel : public StatusHostFixture {
protected:
    void SetUp() override { Start(false); }
};

TEST_F(StatusCycleWithoutChannel, NoChannelNoTransferAndTheConnectMessage) {
    Open({"PHYS/TAG_DESC"});
    EXPECT_EQ(Status().stbar->Panels("pnlOnOffline")->Text(),
              dtm::ExpandTextRefs(platform::com::CStr(Ctx().Dictionary()->LookupText("keys", "key_notConnected", "text")),
                                  session.Context(), Ctx().Dictionary()->SectionNode("keys")));
    Status().ctlCycle->chkCycle->UserClick();
    EXPECT_EQ(TakeEvents(), (Names{"Click", "Click", "OnRemoveRequests"}));
    EXPECT_EQ(Status().ctlCycle->Value(), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, dtm::GetLangText(session.Context(), "error_at_connect"));
    Advance(3 * kTick);
    EXPECT_TRUE(session.Communication()->Requests().empty());
    EXPECT_EQ(Status().PanelIcon("pnlOnOffline"), "k_empty");
    EXPECT_FALSE(Element("PHYS/TAG_DESC").ParamDynamic());
}

}  // namespace
