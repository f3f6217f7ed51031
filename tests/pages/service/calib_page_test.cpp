// The zero point calibration page against the simulated device: the start
// write, the polling every 4000 ms and the states it shows, the read button,
// cancel, and the page's refusals.
#include "OnlineFixture.h"
#include "platform/com/Variant.h"
#include "platform/rt/DtmGuiRegistry.h"

namespace dtm::testing {
namespace {

using Mode = frame::SimulatedDevice::ZeroPointMode;
using Lines = std::vector<std::string>;
using States = std::vector<int32_t>;

// Hears every notice of the zero point state, as an open page does.
class StateRecorder : public platform::rt::IPrivateGUI {
public:
    bool CloseGUI() override { return true; }
    void LockStateChanged(bool) override {}
    void ParameterChanged(const platform::P<platform::rt::IPrivateDataElement>& element) override {
        if (element->Name() != ctlCalib::kStatePath) return;
        const auto state = static_cast<int32_t>(platform::com::CLng(element->TransientValue()));
        if (state != last) states.push_back(state);
        last = state;
    }
    void ParameterSetChanged() override {}
    void ValidateParameters() override {}
    void SetLanguage(int32_t) override {}
    std::vector<int32_t> states;  // each change of the state shown
    int32_t last = 0;
};

class CalibPage : public OnlineFixture {
protected:
    void SetUp() override {
        OnlineFixture::SetUp();
        Ctx().GuiRegistry()->RegisterGUI("state recorder", recorder, false);
    }
    void TearDown() override {
        Ctx().GuiRegistry()->UnregisterGUI("state recorder");
        OnlineFixture::TearDown();
    }

    ctlCalib& Calib() const { return *online->ctlCalib; }
    int32_t Shown() const { return static_cast<int32_t>(platform::com::CLng(Element(ctlCalib::kStatePath).TransientValue)); }
    bool Polling() const { return Calib().chkCycle->Value() == 1; }
    // Moves the clock; answers every state shown on the way, in turn.
    States Follow(int64_t ms) {
        recorder->states.clear();
        Advance(ms);
        return recorder->states;
    }
    // Confirms the start and lets the write's end arrive, and the first poll's.
    States Start() {
        Answer(kYes);
        Click(Calib().cmdZeroAdjust);
        return Follow(400);
    }
    platform::P<StateRecorder> recorder = std::make_shared<StateRecorder>();
    std::string ZeroWrite() const { return WriteOf(ctlCalib::kZeroPointPath, "01"); }
    Lines Poll() const { return {ReadOf(ctlCalib::kConverterStatusPath), ReadOf(ctlCalib::kZeroPointPath)}; }
};

TEST_F(CalibPage, NormalRunShowsOneTwoThreeZeroWithOneWriteAndStopsPolling) {
    // The device reads 1 three times: the write's read-back (no poll), then
    // the first two polls.
    Device().SetZeroPoint(Mode::Runs, 3);
    EXPECT_EQ(Start(), (States{1, 2}));
    EXPECT_TRUE(Polling());
    EXPECT_EQ(Follow(4000), States{});  // still 1 on the device
    EXPECT_EQ(Follow(4000), States{3});  // 0 after 1: finished
    EXPECT_TRUE(Polling());
    EXPECT_EQ(Follow(4000), States{0});  // the result after 3 ends it
    EXPECT_FALSE(Polling());
    const Lines wire = Wire();
    ASSERT_EQ(wire.size(), 2u + 4 * 2);
    EXPECT_EQ(Lines(wire.begin(), wire.begin() + 2), (Lines{"w 9 29 01", ReadOf(ctlCalib::kZeroPointPath)}));
    for (size_t i = 2; i < wire.size(); i += 2) EXPECT_EQ(Lines(wire.begin() + i, wire.begin() + i + 2), Poll());
    EXPECT_EQ(Follow(3 * 4000), States{});
    EXPECT_TRUE(Wire().empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 292);
}

// The write's read-back is no poll: a device that never reads 1 to a poll
// fails on the fourth, also when only the read-back saw its adjustment.
TEST_F(CalibPage, DeviceThatNeverReadsOneToAPollFailsOnTheFourthPoll) {
    struct Case {
        const char* name;
        Mode mode;
        int reads;  // reads of 1 while running
    } cases[] = {{"never starts", Mode::NeverStarts, 0}, {"one read, the read-back's", Mode::Runs, 1}};
    for (const auto& c : cases) {
        Device().SetZeroPoint(c.mode, c.reads);
        EXPECT_EQ(Start(), States{1}) << c.name;  // the first poll reads 0
        EXPECT_EQ(Follow(4000), States{}) << c.name;
        EXPECT_EQ(Follow(4000), States{}) << c.name;
        EXPECT_TRUE(Polling()) << c.name;
        EXPECT_EQ(Follow(4000), States{4}) << c.name;
        EXPECT_FALSE(Polling()) << c.name;
        EXPECT_EQ(Follow(4000), States{}) << c.name;
        EXPECT_EQ(Wire().size(), 2u + 4 * 2) << c.name;
    }
    // A new start counts its polls from 0 again.
    Device().SetZeroPoint(Mode::Runs, 3);
    EXPECT_EQ(Start(), (States{1, 2}));
}

TEST_F(CalibPage, RefusedOrBusyStartShowsFourWithoutPolling) {
    for (const Mode mode : {Mode::Refuses, Mode::Busy}) {
        Device().SetZeroPoint(mode);
        Start();
        Follow(12000);  // any repeats of a busy answer included
        EXPECT_EQ(Calib().ZeroState(), 4) << static_cast<int>(mode);
        EXPECT_FALSE(Polling());
        for (const auto& line : Wire()) EXPECT_EQ(line.substr(0, 9), "w 9 29 01") << line;  // nothing but the write
    }
    EXPECT_EQ(Boxes().size(), 2u);  // the two confirmations, no error box
}

TEST_F(CalibPage, NoWritesNothingAndKeepsTheState) {
    const platform::Variant before = Element(ctlCalib::kZeroPointPath).TransientValue;
    Answer(kNo);
    ASSERT_TRUE(Click(Calib().cmdZeroAdjust));
    Advance(8000);
    EXPECT_TRUE(Wire().empty());
    EXPECT_EQ(Shown(), 0);
    EXPECT_TRUE(platform::com::Identical(Element(ctlCalib::kZeroPointPath).TransientValue, before));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt.find("Start zero-point adjustment") != std::string::npos, true);
}

TEST_F(CalibPage, StartWhilePollingEndsThePollingFirstAndSendsTheWriteAlone) {
    Device().SetZeroPoint(Mode::Runs, 10);
    ASSERT_EQ(Start(), (States{1, 2}));
    Follow(1000);  // between two polls
    Wire();
    Device().SetZeroPoint(Mode::Runs, 3);
    EXPECT_EQ(Start(), (States{1, 2}));
    // The write alone with its read-back, then the first poll of the new polling.
    EXPECT_EQ(Wire(), (Lines{"w 9 29 01", ReadOf(ctlCalib::kZeroPointPath), Poll()[0], Poll()[1]}));
    EXPECT_EQ(Follow(2 * 4000), States{3});
    EXPECT_EQ(Follow(4000), States{0});
    EXPECT_EQ(Wire().size(), 3u * 2);  // the polls keep their two reads
}

TEST_F(CalibPage, ReadButtonWithPollingOffJudgesTheValueOnce) {
    struct Case {
        const char* name;
        bool running;  // the device's adjustment runs
        bool fail;     // the read fails
        int32_t shown;
    } cases[] = {{"value 0", false, false, 0}, {"value 1", true, false, 2}, {"read failed", false, true, 4}};
    for (const auto& c : cases) {
        Device().SetZeroPoint(Mode::Runs, 5);
        if (c.running) Device().Write(9, 29, {1});
        const auto& el = Element(ctlCalib::kZeroPointPath);
        if (c.fail) Device().ScheduleAddressFailure(static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index), false, 0xA2);
        ASSERT_TRUE(Click(Calib().cmdRead));
        Settle();
        EXPECT_EQ(Shown(), c.shown) << c.name;
        EXPECT_FALSE(Polling()) << c.name;
        Device().Write(9, 29, {0});
    }
}

TEST_F(CalibPage, CancelInStateTwoStopsPollingAndKeepsTwo) {
    Device().SetZeroPoint(Mode::Runs, 10);
    ASSERT_EQ(Start(), (States{1, 2}));
    ASSERT_TRUE(Click(Calib().cmdCancel));
    Wire();
    Advance(3 * 4000);
    EXPECT_TRUE(Wire().empty());  // nothing written, nothing polled
    EXPECT_EQ(Shown(), 2);
    EXPECT_TRUE(Device().ZeroPointRunning());
}

TEST_F(CalibPage, PollResultArrivingAfterCancelChangesNothing) {
    Device().SetZeroPoint(Mode::Runs, 10);
    ASSERT_EQ(Start(), (States{1, 2}));
    Device().Write(9, 29, {0});  // the device has finished
    const size_t sent = Device().Log().size();
    for (int ms = 0; ms < 5000 && Device().Log().size() == sent; ++ms) Advance(1);
    ASSERT_GT(Device().Log().size(), sent);  // the next poll is on the wire, not yet answered
    ASSERT_TRUE(Click(Calib().cmdCancel));
    EXPECT_EQ(Follow(400), States{});  // its result arrives with the polling off
    EXPECT_EQ(Calib().ZeroState(), 2);
}

TEST_F(CalibPage, ConverterStatusResultsNeverChangeTheState) {
    Device().SetZeroPoint(Mode::Runs, 3);
    ASSERT_EQ(Start(), (States{1, 2}));
    // The zero point read of the next poll fails; the converter status read answers.
    const auto& el = Element(ctlCalib::kZeroPointPath);
    Device().ScheduleAddressFailure(static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index), false, 0xA2);
    EXPECT_EQ(Follow(4000), States{4});
    EXPECT_FALSE(Element(ctlCalib::kConverterStatusPath).DeviceValue.IsEmpty());
}

TEST_F(CalibPage, TickingTheBoxWhileTheGroupIsBusyUnticksIt) {
    Device().SetZeroPoint(Mode::Runs, 3);
    Answer(kYes);
    ASSERT_TRUE(Click(Calib().cmdZeroAdjust));
    ASSERT_TRUE(Calib().TransferGroup()->IsBusy());
    EXPECT_TRUE(Click(Calib().chkCycle));
    EXPECT_FALSE(Polling());
    EXPECT_EQ(Follow(400), (States{1, 2}));  // the start went on
}

// The poll whose answer is lost is still running at the next tick: the
// following ends as after a failed read, and the read error is shown.
TEST_F(CalibPage, PollStillRunningAtTheNextTickFailsTheFollowingWithTheReadError) {
    Device().SetZeroPoint(Mode::Runs, 10);
    ASSERT_EQ(Start(), (States{1, 2}));
    Device().ScheduleDrop();  // the next poll waits for an answer that never comes
    Advance(4000);
    EXPECT_EQ(Follow(4000), States{4});
    EXPECT_FALSE(Polling());
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].buttons, 0);
    EXPECT_EQ(Boxes()[1].prompt, "The values could not be read from the device.");
    EXPECT_EQ(Follow(12000), States{});  // the dropped poll times out with the polling off
    EXPECT_EQ(Calib().ZeroState(), 4);
}

// A second start that sends nothing (answered No, or clicked while a poll runs,
// which asks nothing and says so) leaves the running adjustment followed.
TEST_F(CalibPage, SecondStartThatSendsNothingKeepsFollowingTheRunningAdjustment) {
    struct Case {
        const char* name;
        int32_t answer;
        bool pollOnTheWire;  // clicked while a poll runs: the group is busy
    } cases[] = {{"answered No", kNo, false}, {"Yes while a poll runs", kYes, true}};
    for (const auto& c : cases) {
        Device().SetZeroPoint(Mode::Runs, 3);
        ASSERT_EQ(Start(), (States{1, 2})) << c.name;
        if (c.pollOnTheWire) {
            const size_t sent = Device().Log().size();
            for (int ms = 0; ms < 5000 && Device().Log().size() == sent; ++ms) Advance(1);
            ASSERT_TRUE(Calib().TransferGroup()->IsBusy()) << c.name;
        } else {
            Advance(1000);
        }
        Wire();
        platform::app::MessageBoxHandler::Instance().Clear();
        if (!c.pollOnTheWire) Answer(c.answer);
        ASSERT_TRUE(Click(Calib().cmdZeroAdjust)) << c.name;
        // While the poll runs nothing is asked: the click is said not to have been sent.
        ASSERT_EQ(Boxes().size(), 1u) << c.name;
        EXPECT_EQ(Boxes()[0].buttons, c.pollOnTheWire ? 48 : 292) << c.name;
        EXPECT_EQ(Boxes()[0].prompt.find("A transfer of this window is still running") == 0, c.pollOnTheWire) << c.name;
        EXPECT_TRUE(Polling()) << c.name;
        EXPECT_EQ(Follow(3 * 4000), (States{3, 0})) << c.name;
        for (const auto& line : Wire()) EXPECT_EQ(line[0], 'r') << c.name << ": " << line;
    }
}

// After an upload and a save: an adjustment that leaves the device where the
// stored project is leaves the data set as saved. The command's value is the
// data set's only while the adjustment runs, and the state the page shows is
// the page's alone.
TEST_F(CalibPage, AnAdjustmentThatEndsAsSavedLeavesTheSavedDataSetUnmarked) {
    struct Case {
        const char* name;
        Mode mode;
        int reads;
        int32_t shown;  // at the end
    } cases[] = {{"runs to its end", Mode::Runs, 3, 0}, {"never starts", Mode::NeverStarts, 0, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            SetUp();
        }
        UploadAndSave();
        ASSERT_EQ(DataStatus(), 0);  // "saved"
        Device().SetZeroPoint(c.mode, c.reads);
        Start();
        Follow(5 * 4000);
        ASSERT_FALSE(Polling());
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_FALSE(Params().Modified());
        EXPECT_NE(DataStatus(), 2);  // not "changed"
        EXPECT_EQ(SaveRequestsAtRelease(), 0u);
    }
}

// A page opened again starts at 0 while the element still shows what the
// page before it left there: a poll that cannot start leaves that shown.
TEST_F(CalibPage, PollThatCannotStartOnAPageOpenedAgainKeepsTheStateShown) {
    struct Case {
        const char* name;
        Mode mode;
        int32_t shown;  // left by the first page
    } cases[] = {{"failed", Mode::Refuses, 4}, {"running", Mode::Runs, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Device().SetZeroPoint(c.mode, 10);
        Start();
        ASSERT_TRUE(Click(Calib().cmdCancel));
        ASSERT_EQ(Shown(), c.shown);
        ASSERT_TRUE(frame->Close(*session));
        session = frame->Open(10);
        ASSERT_NE(session, nullptr);
        online = std::dynamic_pointer_cast<ctlOnline>(session->Page());
        Settle();
        if (online->ctlStatus->ctlCycle->chkCycle->Value() == 1) online->ctlStatus->ctlCycle->chkCycle->Value(0);
        ASSERT_EQ(Calib().ZeroState(), 0);
        ASSERT_EQ(Shown(), c.shown);

        Device().ScheduleDrop();  // the first poll waits for an answer that never comes
        ASSERT_TRUE(Click(Calib().chkCycle));
        ASSERT_TRUE(Polling());
        Follow(4000);  // the next tick cannot start its poll
        EXPECT_FALSE(Polling());
        EXPECT_EQ(Boxes().back().prompt, "The values could not be read from the device.");
        EXPECT_EQ(Shown(), c.shown);
        Follow(12000);  // the dropped poll times out with the polling off
        EXPECT_EQ(Shown(), c.shown);
        Device().Write(9, 29, {0});
    }
}

TEST_F(CalibPage, ButtonsFollowTheLockAndTheUserLevelOnlyAfterTheFirstLockNotice) {
    Ctx().UserInfo()->UserLevel(0);
    EXPECT_TRUE(Calib().cmdZeroAdjust->Enabled());
    EXPECT_TRUE(Calib().cmdRead->Enabled());
    struct Case {
        int32_t level;
        bool locked;
        bool zeroAdjust, read;
    } cases[] = {{0, false, false, true}, {0, true, false, false}, {1, false, true, true}, {1, true, false, false}};
    for (const auto& c : cases) {
        Ctx().UserInfo()->UserLevel(c.level);
        Calib().LockStateChanged(c.locked);
        EXPECT_EQ(Calib().cmdZeroAdjust->Enabled(), c.zeroAdjust) << c.level << c.locked;
        EXPECT_EQ(Calib().cmdRead->Enabled(), c.read) << c.level << c.locked;
        EXPECT_TRUE(Calib().chkCycle->Enabled());
        EXPECT_TRUE(Calib().cmdCancel->Enabled());
    }
}

TEST_F(CalibPage, StartBelowTheRequiredUserLevelIsRefusedWithoutAsking) {
    Ctx().UserInfo()->UserLevel(0);  // the button is still enabled: no lock notice yet
    ASSERT_TRUE(Click(Calib().cmdZeroAdjust));
    Advance(8000);
    EXPECT_TRUE(Wire().empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 48);
    EXPECT_EQ(Boxes()[0].prompt, "Your user level is too low for this function. Log on with a higher user level.");
    EXPECT_EQ(platform::com::CLng(Element(ctlCalib::kZeroPointPath).TransientValue), 0);
    EXPECT_EQ(Shown(), 0);
}

TEST_F(CalibPage, PollingMarksTheCycleActiveAndClosingStopsIt) {
    const int32_t before = Ctx().GuiRegistry()->CycleActiveCount();
    Device().SetZeroPoint(Mode::Runs, 10);
    Start();
    EXPECT_EQ(Ctx().GuiRegistry()->CycleActiveCount(), before + 1);
    ASSERT_TRUE(frame->Close(*session));
    EXPECT_EQ(Ctx().GuiRegistry()->CycleActiveCount(), before);
    Wire();
    Advance(3 * 4000);
    EXPECT_TRUE(Wire().empty());
    EXPECT_TRUE(Boxes().size() == 1);  // no read error from a closed page
}

}  // namespace
}  // namespace dtm::testing
