// The channel assignment page opened through the frame as function 24: its
// rows, the slot locks taken from the channels, a slot edit, the store button
// and the failures it reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/channels/SlaveBusParamSet.h"
#include "core/channels/clsChannel.h"
#include "model/elements/clsDataElement.h"
#include "ParamPagesFixture.h"
#include "core/ComponentFolder.h"
#include "pages/parameterisation/ctlChannelAssign.h"
#include "core/dtm/IPrivateNavigation.h"
#include "platform/app/Path.h"
#include "platform/com/Error.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/ctl/RowInput.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/ProfibusChannelParameter.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace com = platform::com;
using platform::P;
using platform::ctl::ctlParameter;

class ChannelAssignPageTest : public testing::ParamPagesFixture {
protected:
    platform::rt::DtmGuiRegistry& Registry() const { return *Ctx().GuiRegistry(); }
    clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }
    std::string Dict(const std::string& key) const {
        return com::CStr(Ctx().Dictionary()->LookupText("keys", key, "text"));
    }
    // Opens function 24; the page, or null.
    P<ctlChannelAssign> Open() {
        session = frame->Open(24);
        return session ? std::dynamic_pointer_cast<ctlChannelAssign>(session->Page()) : nullptr;
    }
    clsChannel& Channel(int32_t i) const {
        return dynamic_cast<clsChannel&>(*Params().Channels()->Item(i));
    }
    void ChannelInUse(int32_t i) { Channel(i).ProfibusChannelParameter()->ChannelLocked(true); }
    ctlParameter& SlotRow(int16_t slot) const { return *session->Row("ctlParameter." + std::to_string(slot)); }
    std::string WholeString() const { return com::CStr(Element(kSlaveBusParamSetWholeString).TransientValue); }
    size_t SaveRequests() const { return frame->Session().Container()->EventsNamed("SaveRequest").size(); }

    std::shared_ptr<frame::PageSession> session;
};

TEST_F(ChannelAssignPageTest, OpensWithItsNineRowsBoundAndChangesNothing) {
    Params().Modified(false);
    const std::string before = WholeString();
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlChannelAssign");
    EXPECT_TRUE(page->TopLevel());
    EXPECT_EQ(Registry().OpenGuis(), 1);
    EXPECT_EQ(dynamic_cast<IPrivateNavigation*>(page.get()), nullptr);

    EXPECT_EQ(page->ctlParamSite1->Links().size(), 9u);
    EXPECT_TRUE(page->ctlParamSite1->UnboundRows().empty());
    for (int16_t slot = 1; slot <= 8; ++slot) {
        EXPECT_EQ(SlotRow(slot).Bound(), Params().Item(SlaveBusParamSlotName(slot))) << slot;
        EXPECT_EQ(SlotRow(slot).Container(), page->frmCfgData.get());
        EXPECT_FALSE(SlotRow(slot).ReadOnly()) << slot;
    }
    // The Totaliser slots 4 and 8 are the taller rows.
    EXPECT_GT(SlotRow(4).Height(), SlotRow(3).Height());
    EXPECT_GT(SlotRow(8).Height(), SlotRow(7).Height());
    EXPECT_EQ(page->ctlParameter3->Bound(), Params().Item(kSlaveBusParamSetWholeString));
    EXPECT_EQ(page->frmCfgData->Container(), page->frmBusMasterConfig.get());
    EXPECT_EQ(page->StoreNewConfig->Caption(), Dict("ctlChannelAssign_StoreNewConfig"));
    EXPECT_EQ(page->ctlHeadline->Title(), com::CStr(Ctx().DeviceType()->DeviceTypeName()));

    // Opening told the pages of the locks only: the set and the mark stay.
    EXPECT_EQ(WholeString(), before);
    EXPECT_FALSE(Params().Modified());
    EXPECT_TRUE(Ctx().ReportedErrors().empty());

    EXPECT_TRUE(frame->Close(*session));
    EXPECT_EQ(Registry().OpenGuis(), 0);
    EXPECT_TRUE(session->Dropped());
}

TEST_F(ChannelAssignPageTest, EveryRowIsBoundOnBothDevices) {
    for (const Model device : {Model::RXD214, Model::RXD218}) {
        Start(device);
        auto page = Open();
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->ctlParamSite1->UnboundRows().empty()) << static_cast<int>(device);
        for (const auto& link : page->ctlParamSite1->Links())
            EXPECT_EQ(link.row->Bound()->Name(), link.row->parameterTag()) << static_cast<int>(device);
        EXPECT_TRUE(frame->Close(*session));
    }
}

struct LockCase {
    const char* name;
    std::vector<int32_t> channelsInUse;
    bool runtimeLocked;
    std::vector<int16_t> lockedSlots;
};

class ChannelAssignLocks : public ChannelAssignPageTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(ChannelAssignLocks, LockTheSlotsWhoseValueChannelIsInUse) {
    const LockCase& c = GetParam();
    for (const int32_t channel : c.channelsInUse) ChannelInUse(channel);
    Registry().LockState(c.runtimeLocked);
    auto page = Open();
    ASSERT_NE(page, nullptr);
    for (int16_t slot = 1; slot <= 8; ++slot) {
        const bool locked = std::find(c.lockedSlots.begin(), c.lockedSlots.end(), slot) != c.lockedSlots.end();
        EXPECT_EQ(SlotRow(slot).ReadOnly(), locked) << "slot " << slot;
        const bool inUse =
            std::find(c.channelsInUse.begin(), c.channelsInUse.end(), 2 * slot - 1) != c.channelsInUse.end();
        EXPECT_EQ(Element(SlaveBusParamSlotName(slot)).StatusFlags() & 1, inUse ? 1 : 0) << "slot " << slot;
    }
    // The button is not a row: a locked page still stores.
    EXPECT_TRUE(page->StoreNewConfig->Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChannelAssignLocks,
    ::testing::Values(LockCase{"NoneInUse", {}, false, {}},
                      LockCase{"ValueChannelOfSlot1", {1}, false, {1}},
                      LockCase{"StatusChannelAloneLeavesSlot2Open", {4}, false, {}},
                      LockCase{"TotaliserSlot8", {15}, false, {8}},
                      LockCase{"SeveralSlots", {3, 7, 16}, false, {2, 4}},
                      LockCase{"RuntimeLockedLocksEveryRow", {}, true, {1, 2, 3, 4, 5, 6, 7, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChannelAssignPageTest, ASlotEditRebuildsTheWholeStringAndTheButtonMovesTheChannels) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(platform::ctl::RowInput::Select(SlotRow(2), 1));  // slot 2: free place
    EXPECT_EQ(WholeString().substr(0, 4), "003D");
    EXPECT_NE(page->ctlParameter3->DisplayText().find("003D"), std::string::npos);
    // The channels follow only on the button.
    EXPECT_TRUE(Channel(3).Active());
    EXPECT_EQ(SaveRequests(), 0u);

    ASSERT_TRUE(platform::ui::Input::Click(*page->StoreNewConfig));
    EXPECT_FALSE(Channel(3).Active());
    EXPECT_FALSE(Channel(4).Active());
    EXPECT_EQ(com::CLng(Channel(5).ProfibusChannelParameter()->BitOffset()), 40);
    EXPECT_EQ(com::CLng(Channel(6).ProfibusChannelParameter()->BitOffset()), 72);
    const auto saves = frame->Session().Container()->EventsNamed("SaveRequest");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].systemTag, frame->Session().SystemTag());

    // Without any change the button still applies and asks to save.
    ASSERT_TRUE(platform::ui::Input::Click(*page->StoreNewConfig));
    EXPECT_EQ(SaveRequests(), 2u);
    EXPECT_TRUE(Ctx().ReportedErrors().empty());
}

// A container whose save request fails.
class FailingContainer : public platform::fdt::IFdtContainer {
public:
    bool SaveRequest(const std::string&) override { com::Raise(com::errInvalidArgument, "no project open"); }
    bool CloseRequest(const std::string&) override { return true; }
};

TEST_F(ChannelAssignPageTest, AFailedSaveRequestIsReportedAndThePageStaysOpen) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    const auto failing = std::make_shared<FailingContainer>();  // the context holds it weakly
    Ctx().Container(failing);
    ASSERT_TRUE(platform::ui::Input::Click(*page->StoreNewConfig));
    ASSERT_EQ(Ctx().ReportedErrors().size(), 1u);
    EXPECT_NE(Ctx().ReportedErrors()[0].find("no project open"), std::string::npos) << Ctx().ReportedErrors()[0];
    EXPECT_EQ(Ctx().ReportedErrors()[0].rfind(Dict("ctlChannelAssign_store_failed").substr(0, 20), 0), 0u);
    EXPECT_TRUE(page->Initialised());
}

TEST_F(ChannelAssignPageTest, MissingChannelsAreTracedAndReportedAtOpenAndOnTheButton) {
    // A component folder of its own with tracing on.
    const std::string home = platform::app::Path();
    testing::ComponentFolder folder;
    std::filesystem::copy(home + "/XMLData", folder.Dir() / "XMLData");
    folder.WriteIni("[TimeCritical]\nTrace=ExternalFile\n");
    Start();
    Params().Channels()->Clear();
    auto page = Open();
    ASSERT_NE(page, nullptr);  // the page opens all the same
    EXPECT_TRUE(page->Initialised());
    ASSERT_EQ(Ctx().ReportedErrors().size(), 1u);
    EXPECT_EQ(Ctx().ReportedErrors()[0].rfind(Dict("ctlChannelAssign_refresh_failed").substr(0, 20), 0), 0u);

    ASSERT_TRUE(platform::ui::Input::Click(*page->StoreNewConfig));
    EXPECT_EQ(Ctx().ReportedErrors().size(), 2u);
    EXPECT_EQ(SaveRequests(), 0u);  // the channels failed first
    const std::string trace = folder.Read("TraceInfoFile.txt");
    EXPECT_NE(trace.find("ctlChannelAssign-RefreshSlotElements"), std::string::npos) << trace;
    EXPECT_NE(trace.find("ctlChannelAssign-StoreNewConfig_Click"), std::string::npos) << trace;
    EXPECT_TRUE(frame->Close(*session));
    frame.reset();  // before the folder goes
}

}  // namespace
}  // namespace dtm
