// Every command and setting a page sends by the confirmed group write, against
// the simulated device: declined, refused by the device, left unanswered, cut
// short by the closing of its window or by a disconnect, it leaves its element
// and the data set as they were before the click; the pages that send
// commands say when the device did not carry one out, every page says it of a
// command a disconnect cut short, and every page says that a command its
// closing window never sent was not sent.
#include <functional>

#include "CommandWindowFixture.h"
#include "model/elements/LanguageHelpers.h"
#include "pages/measurement/ctlDiagnosis.h"
#include "pages/service/ExecuteDeviceReset.h"
#include "pages/service/ctlAddress.h"
#include "platform/com/PropertyBag.h"

namespace dtm::testing {
namespace {

using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace ui = platform::ui;

enum class Outcome { No, Refused, Unanswered, Closed, Disconnected };

class UnfinishedCommand : public CommandWindowFixture {
protected:
    int32_t DataStatus() const { return com::CLng(Element("~/DataStatus").TransientValue); }
};

TEST_F(UnfinishedCommand, LeavesItsElementAndTheSavedDataSetAsTheyWereAndIsSaid) {
    struct Command {
        const char* name;
        const char* element;
        int16_t before;  // the element's value before the click, other than the command
        bool said;       // the page says when the device did not carry it out
        std::function<P<ui::CommandButton>()> button;
    };
    const Command commands[] = {
        {"FactoryReset", kFactoryResetPath, 0, true,
         [this] { return OnlineButton("ctlReset", "frmCMReset", "cmdFactoryReset"); }},
        {"WarmStart", kFactoryResetPath, 0, true,
         [this] { return OnlineButton("ctlReset", "frmCMReset", "cmdWarmStart"); }},
        {"AddressReset", kFactoryResetPath, 0, true,
         [this] { return OnlineButton("ctlReset", "frmCMReset", "cmdAddrReset"); }},
        {"InstrumentReset", ctlReset::kResetsPath, 2, true,
         [this] { return OnlineButton("ctlReset", "frmRXDReset", "cmdInstrReset"); }},
        {"TotaliserReset", ctlReset::kResetsPath, 0, true,
         [this] { return OnlineButton("ctlReset", "frmRXDReset", "cmdTotReset"); }},
        {"AcknowledgeErrors", ctlReset::kResetsPath, 1, true,
         [this] { return OnlineButton("ctlReset", "frmRXDReset", "cmdQuitErr"); }},
        {"WriteLock", ctlProtect::kWriteLockingPath, ctlProtect::kUnlock, false,
         [this] { return OnlineButton("ctlProtect", "", "cmdWriteLockActivate"); }},
        {"WriteUnlock", ctlProtect::kWriteLockingPath, ctlProtect::kLock, false,
         [this] { return OnlineButton("ctlProtect", "", "cmdWriteLockDeactivate"); }},
        {"ZeroPoint", ctlCalib::kZeroPointPath, 0, false,
         [this] { return OnlineButton("ctlCalib", "", "cmdZeroAdjust"); }},
        {"BusAddressPage", kFactoryResetPath, 0, true, [this] { return AddressPageReset(); }},
        {"DiagnosisWindow", ctlDiagnosis::kResetsPath, 0, true, [this] { return DiagnosisAcknowledge(); }},
    };
    const struct {
        const char* name;
        Outcome outcome;
    } outcomes[] = {{"No", Outcome::No},
                    {"Refused", Outcome::Refused},
                    {"Unanswered", Outcome::Unanswered},
                    {"ClosedWhileRefused", Outcome::Closed},
                    {"Disconnected", Outcome::Disconnected}};
    bool first = true;
    for (const auto& c : commands) {
        for (const auto& o : outcomes) {
            SCOPED_TRACE(std::string(c.name) + " " + o.name);
            StartCase(first);
            const auto button = c.button();
            ASSERT_NE(button, nullptr);
            auto& el = Element(c.element);
            SaveWith(c.element, Variant::Int(c.before));
            ASSERT_NE(DataStatus(), 2);  // not "changed"

            if (o.outcome == Outcome::Refused || o.outcome == Outcome::Closed) ScheduleRefusal(c.element);
            if (o.outcome == Outcome::Unanswered) Device().ScheduleDrop();
            platform::app::MessageBoxHandler::Instance().Clear();
            Answer(o.outcome == Outcome::No ? kNo : kYes);
            ASSERT_TRUE(Click(button));
            // The resets are named by their value, the other commands by their button.
            const std::string command = c.said ? GetValueListText(el) : button->Caption();
            if (o.outcome == Outcome::Closed) {
                ASSERT_TRUE(frame->Close(*sessions.back()));
            }
            if (o.outcome == Outcome::Disconnected) {
                ASSERT_TRUE(frame->Disconnect());
            }
            Advance(12000);  // beyond the 10 s an unanswered write waits

            EXPECT_TRUE(com::Identical(el.TransientValue, Variant::Int(c.before))) << com::CStr(el.TransientValue);
            EXPECT_EQ(el.StatusFlags() & 0x20, 0);  // no write pending any more
            // The read-backs may leave the data set unsaved ("mixed"); never "changed".
            EXPECT_NE(DataStatus(), 2);
            EXPECT_FALSE(Params().Modified());
            const bool said = (c.said && (o.outcome == Outcome::Refused || o.outcome == Outcome::Unanswered)) ||
                              o.outcome == Outcome::Disconnected;
            const bool closed = o.outcome == Outcome::Closed;
            EXPECT_EQ(Boxes().size(), said || closed ? 2u : 1u);
            if (said && Boxes().size() == 2) {
                EXPECT_EQ(Boxes()[1].buttons, 48);
                EXPECT_EQ(Boxes()[1].prompt, "The device did not carry out the command \"" + command +
                                                 "\". Check the connection and the device's state and try again.");
            }
            if (closed && Boxes().size() == 2) {  // the window closed before its command went out
                EXPECT_EQ(Boxes()[1].buttons, 48);
                EXPECT_EQ(Boxes()[1].prompt.rfind("The command \"", 0), 0u) << Boxes()[1].prompt;
                EXPECT_NE(Boxes()[1].prompt.find("\" was not sent: its window closed before it went out."),
                          std::string::npos)
                    << Boxes()[1].prompt;
            }
        }
    }
}

// The frame saves while the command is on its way: the stored project holds
// the command. A command the device then does not carry out gives the element
// back the value it held before the click, which the stored project does not
// hold: the data set is marked, and the release asks for a save.
TEST_F(UnfinishedCommand, SavedWhileOnItsWayLeavesTheDataSetMarkedWhenItIsNotCarriedOut) {
    struct Command {
        const char* name;
        const char* element;
        int16_t before;
        int16_t command;
        const char* page;
        const char* frame;
        const char* button;
    };
    const Command commands[] = {
        {"WriteLock", ctlProtect::kWriteLockingPath, ctlProtect::kUnlock, ctlProtect::kLock, "ctlProtect", "",
         "cmdWriteLockActivate"},
        {"AcknowledgeErrors", ctlReset::kResetsPath, 1, 2, "ctlReset", "frmRXDReset", "cmdQuitErr"},
    };
    const struct {
        const char* name;
        Outcome outcome;
    } outcomes[] = {{"Refused", Outcome::Refused}, {"Unanswered", Outcome::Unanswered}, {"Closed", Outcome::Closed}};
    bool first = true;
    for (const auto& c : commands) {
        for (const auto& o : outcomes) {
            SCOPED_TRACE(std::string(c.name) + " " + o.name);
            StartCase(first);
            const auto button = OnlineButton(c.page, c.frame, c.button);
            ASSERT_NE(button, nullptr);
            auto& el = Element(c.element);
            el.TransientValue = el.DeviceValue = el.PersistentValue = Variant::Int(c.before);
            platform::com::PropertyBag before;
            ASSERT_TRUE(frame->Session().Save(before));
            ASSERT_FALSE(Params().Modified());

            if (o.outcome != Outcome::Unanswered) ScheduleRefusal(c.element);
            if (o.outcome == Outcome::Unanswered) Device().ScheduleDrop();
            Answer(kYes);
            ASSERT_TRUE(Click(button));
            platform::com::PropertyBag during;
            ASSERT_TRUE(frame->Session().Save(during));
            EXPECT_EQ(com::CLng(during.ReadProperty(c.element, Variant())), c.command);
            ASSERT_FALSE(Params().Modified());
            if (o.outcome == Outcome::Closed) {
                ASSERT_TRUE(frame->Close(*sessions.back()));
            }
            Advance(12000);

            EXPECT_TRUE(com::Identical(el.TransientValue, Variant::Int(c.before))) << com::CStr(el.TransientValue);
            EXPECT_TRUE(Params().Modified());
            EXPECT_EQ(SaveRequestsAtRelease(), 1u);
        }
    }
}

}  // namespace
}  // namespace dtm::testing
