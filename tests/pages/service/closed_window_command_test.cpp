// A confirmed command whose window closes while it is on its way, against the
// simulated device, at each moment: before it went out it is given back and
// said not to have been sent; once it went out (on the wire, or answered while
// the read-backs run) the device's answer judges it as at the group's end: a
// command the device took stays in its element with the data set marked (a
// bus address reset moves "~/Address" to 126), one it refused is given back.
#include <functional>

#include "CommandWindowFixture.h"
#include "pages/service/ExecuteDeviceReset.h"

namespace dtm::testing {
namespace {

using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace ui = platform::ui;

enum class Moment { BeforeTheSend, OnTheWire, AnsweredReadBacksRunning };

class ClosedWindowCommand : public CommandWindowFixture {
protected:
    int16_t Address() const { return static_cast<int16_t>(com::CLng(Element(ctlAddress::kAddressPath).TransientValue)); }
};

TEST_F(ClosedWindowCommand, IsJudgedByTheDevicesAnswerOnceItWentOut) {
    struct Command {
        const char* name;
        const char* element;
        int16_t before;   // the element's value before the click, other than the command
        int16_t command;  // the value sent
        const char* text;  // the command as the messages name it
        bool said;        // the page says when the device did not carry it out
        bool readBacks;   // read-backs follow the write
        std::function<P<ui::CommandButton>()> button;
    };
    const Command commands[] = {
        {"FactoryReset", kFactoryResetPath, 0, ctlReset::kFactoryReset, "Restore factory settings", true, true,
         [this] { return OnlineButton("ctlReset", "frmCMReset", "cmdFactoryReset"); }},
        {"WarmStart", kFactoryResetPath, 0, ctlReset::kWarmStart, "Warm start", true, true,
         [this] { return OnlineButton("ctlReset", "frmCMReset", "cmdWarmStart"); }},
        {"AddressReset", kFactoryResetPath, 0, ctlReset::kAddressReset, "Reset bus address to 126", true, true,
         [this] { return OnlineButton("ctlReset", "frmCMReset", "cmdAddrReset"); }},
        {"AcknowledgeErrors", ctlReset::kResetsPath, 1, ctlReset::kQuitErr, "Acknowledge errors", true, true,
         [this] { return OnlineButton("ctlReset", "frmRXDReset", "cmdQuitErr"); }},
        {"WriteLock", ctlProtect::kWriteLockingPath, ctlProtect::kUnlock, ctlProtect::kLock, "Lock writing", false, true,
         [this] { return OnlineButton("ctlProtect", "", "cmdWriteLockActivate"); }},
        {"ZeroPoint", ctlCalib::kZeroPointPath, 0, 1, "Start zero-point adjustment", false, false,
         [this] { return OnlineButton("ctlCalib", "", "cmdZeroAdjust"); }},
        {"BusAddressPage", kFactoryResetPath, 0, kBusAddressResetCommand, "Reset bus address to 126", true, true,
         [this] { return AddressPageReset(); }},
        {"DiagnosisWindow", ctlDiagnosis::kResetsPath, 0, ctlReset::kQuitErr, "Acknowledge errors", true, true,
         [this] { return DiagnosisAcknowledge(); }},
    };
    const struct {
        const char* name;
        Moment moment;
        bool refused;
    } cases[] = {
        {"BeforeTheSend", Moment::BeforeTheSend, false},
        {"OnTheWire", Moment::OnTheWire, false},
        {"OnTheWireRefused", Moment::OnTheWire, true},
        {"AnsweredReadBacksRunning", Moment::AnsweredReadBacksRunning, false},
        {"AnsweredRefusedReadBacksRunning", Moment::AnsweredReadBacksRunning, true},
    };
    bool first = true;
    for (const auto& c : commands) {
        for (const auto& m : cases) {
            if (m.moment == Moment::AnsweredReadBacksRunning && !c.readBacks) continue;
            SCOPED_TRACE(std::string(c.name) + " " + m.name);
            StartCase(first);
            const auto button = c.button();
            ASSERT_NE(button, nullptr);
            auto& el = Element(c.element);
            el.TransientValue = el.DeviceValue = el.PersistentValue = Variant::Int(c.before);
            SaveWith(ctlAddress::kAddressPath, Variant::Int(12));
            if (m.refused) ScheduleRefusal(c.element);
            platform::app::MessageBoxHandler::Instance().Clear();

            const size_t from = Device().Log().size();
            Answer(kYes);
            ASSERT_TRUE(Click(button));
            // The write on the wire; its answer in and the first read-back on the wire.
            const size_t received = m.moment == Moment::OnTheWire ? 1 : m.moment == Moment::BeforeTheSend ? 0 : 2;
            if (received > 0) {
                ASSERT_TRUE(AdvanceUntilReceived(from, received));
            }
            ASSERT_TRUE(frame->Close(*sessions.back()));
            Advance(12000);  // beyond the 10 s a read-back waits for a restarting device

            const bool sent = m.moment != Moment::BeforeTheSend;
            const bool taken = sent && !m.refused;
            EXPECT_EQ(com::CLng(el.TransientValue), taken ? c.command : c.before);
            EXPECT_EQ(el.StatusFlags() & 0x20, 0);  // no write pending any more
            EXPECT_EQ(Params().Modified(), taken);
            const bool addressReset = c.command == kBusAddressResetCommand && c.element == std::string(kFactoryResetPath);
            EXPECT_EQ(Address(), taken && addressReset ? kBusAddressAfterReset : int16_t{12});
            const size_t boxes = !sent || (m.refused && c.said) ? 2u : 1u;
            EXPECT_EQ(Boxes().size(), boxes);
            const std::string text = c.text;
            if (Boxes().size() != boxes) continue;
            if (!sent) {
                EXPECT_EQ(Boxes()[1].prompt,
                          "The command \"" + text + "\" was not sent: its window closed before it went out.");
            } else if (m.refused && c.said) {
                EXPECT_EQ(Boxes()[1].prompt, "The device did not carry out the command \"" + text +
                                                 "\". Check the connection and the device's state and try again.");
            }
        }
    }
}

// The instance released while the command of a closed window is on the
// wire: its answer is never judged, and nothing of the command stays behind
// for an element that no longer exists (a later element at the same address
// would take it for its own).
TEST_F(ClosedWindowCommand, ReleasedBeforeTheAnswerLeavesNoCommandBehind) {
    ASSERT_EQ(ConfirmedGroupWriter::ElementsWithCommandsOnTheirWay(), 0u);
    const auto button = OnlineButton("ctlProtect", "", "cmdWriteLockActivate");
    ASSERT_NE(button, nullptr);
    const size_t from = Device().Log().size();
    Answer(kYes);
    ASSERT_TRUE(Click(button));
    ASSERT_TRUE(AdvanceUntilReceived(from, 1));
    ASSERT_TRUE(frame->Close(*sessions.back()));
    EXPECT_EQ(ConfirmedGroupWriter::ElementsWithCommandsOnTheirWay(), 1u);

    sessions.clear();
    hosts.clear();
    frame.reset();
    Advance(12000);
    EXPECT_EQ(ConfirmedGroupWriter::ElementsWithCommandsOnTheirWay(), 0u);
}

}  // namespace
}  // namespace dtm::testing
