// A confirmed command between its click and its send, against the simulated
// device: a read landing meanwhile (the window's own Read button, another
// window's, the frame's upload of the whole data set) changes nothing on the
// wire; a window closed before its command went out says so; a click while
// the window's transfer runs asks nothing and says why; two windows sending
// to one element each send their own value and, when the device refuses
// them, leave the element as it was before the first.
#include <functional>
#include <utility>

#include "CommandWindowFixture.h"
#include "pages/measurement/ctlDiagnosis.h"
#include "pages/service/ExecuteDeviceReset.h"
#include "pages/service/ctlAddress.h"
#include "platform/com/PropertyBag.h"
#include "platform/fdt/DtmInterfaces.h"

namespace dtm::testing {
namespace {

using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace ui = platform::ui;
using Lines = std::vector<std::string>;

struct Buttons {
    P<ui::CommandButton> command;
    P<ui::CommandButton> read;  // a Read button that reads the command's element
};

class CommandOnItsWay : public CommandWindowFixture {
protected:
    // A tab page of a new online window, its tab (and the reset page's tab
    // `frame`, unless empty) chosen.
    ui::UserControl* OnlineTab(const char* page, const char* frame) {
        const auto online = OpenWindow<ctlOnline>(10);
        if (!online) return nullptr;
        SelectTab(*online->TabStrip, page);
        if (*frame) SelectTab(*online->ctlReset->TabStrip, frame);
        return &dynamic_cast<ui::UserControl&>(*online->Controls().Item(page));
    }
    static P<ui::CommandButton> ButtonOf(ui::UserControl& tabPage, const char* name, int16_t index = -1) {
        return std::dynamic_pointer_cast<ui::CommandButton>(index < 0 ? tabPage.Controls().Item(name)
                                                                      : tabPage.Controls().Item(name, index));
    }
    // The command and the read button of one tab page of a new online window.
    Buttons OnlinePage(const char* page, const char* frame, const char* command, int16_t readIndex = -1) {
        auto* tabPage = OnlineTab(page, frame);
        if (!tabPage) return {};
        return {ButtonOf(*tabPage, command), ButtonOf(*tabPage, "cmdRead", readIndex)};
    }
    // The writes to the element's address on the wire since the last look.
    Lines WritesTo(const std::string& path) {
        const std::string prefix = WriteOf(path, "");
        Lines writes;
        for (const auto& line : Wire())
            if (line.rfind(prefix.substr(0, prefix.size() - 1), 0) == 0) writes.push_back(line);
        return writes;
    }
    void StartFrameUpload() {
        ASSERT_TRUE(dynamic_cast<platform::fdt::IDtmOnlineParameter&>(*frame->Session().Dtm())
                        .IDtmOnlineParameter_UploadRequest("{upload}", ""));
    }
    std::string Box(size_t i) const { return i < Boxes().size() ? Boxes()[i].prompt : "(no box " + std::to_string(i) + ")"; }
};

TEST_F(CommandOnItsWay, AReadLandingBeforeTheSendLeavesWhatTheUserConfirmed) {
    struct Command {
        const char* name;
        const char* element;
        const char* bytes;
        std::function<Buttons()> open;
        std::function<void()> prepare;
    };
    const auto none = [] {};
    const Command commands[] = {
        {"WriteLock", ctlProtect::kWriteLockingPath, "00 00",
         [this] { return OnlinePage("ctlProtect", "", "cmdWriteLockActivate"); }, none},
        {"ServiceCode", ctlProtect::kServicePasswordPath, "53 45 52 56 49 43 45 34 32",
         [this] { return OnlinePage("ctlProtect", "", "cmdServiceCode"); },
         [this] { Element(ctlProtect::kServicePasswordPath).TransientValue = Variant::Str(frame::SimulatedDevice::kServiceCode); }},
        {"AcknowledgeErrors", ctlReset::kResetsPath, "02",
         [this] { return OnlinePage("ctlReset", "frmRXDReset", "cmdQuitErr", 2); },
         [this] { ASSERT_TRUE(Device().SetValue(ctlReset::kConverterStatusPath, "00 00 00 04")); }},
        {"InstrumentReset", ctlReset::kResetsPath, "00",
         [this] { return OnlinePage("ctlReset", "frmRXDReset", "cmdInstrReset", 2); },
         [this] { ASSERT_TRUE(Device().SetValue(ctlReset::kConverterStatusPath, "00 00 00 04")); }},
        {"AcknowledgeErrorsDiagnosisWindow", ctlReset::kResetsPath, "02",
         [this] {
             const auto read = OnlinePage("ctlReset", "frmRXDReset", "cmdQuitErr", 2).read;
             const auto window = OpenWindow<ctlDiagnosis>(5);
             if (!window) return Buttons{};
             SelectTab(*window->TabStrip, "frmDiagDetails");
             return Buttons{window->cmdQuitErr, read};
         },
         [this] { ASSERT_TRUE(Device().SetValue(ctlReset::kConverterStatusPath, "00 00 00 04")); }},
        {"FactoryReset", kFactoryResetPath, "00 01",
         [this] { return OnlinePage("ctlReset", "frmCMReset", "cmdFactoryReset", 1); }, none},
        {"WarmStart", kFactoryResetPath, "09 CA",
         [this] { return OnlinePage("ctlReset", "frmCMReset", "cmdWarmStart", 1); }, none},
        {"AddressReset", kFactoryResetPath, "0A 98",
         [this] { return OnlinePage("ctlReset", "frmCMReset", "cmdAddrReset", 1); }, none},
        {"AddressResetBusAddressPage", kFactoryResetPath, "0A 98",
         [this] {
             const auto read = OnlinePage("ctlReset", "frmCMReset", "cmdAddrReset", 1).read;
             const auto page = OpenWindow<ctlAddress>(9);
             return page ? Buttons{page->cmdAddrReset, read} : Buttons{};
         },
         none},
        {"ZeroPoint", ctlCalib::kZeroPointPath, "01",
         [this] { return OnlinePage("ctlCalib", "", "cmdZeroAdjust"); }, none},
    };
    const std::pair<const char*, std::function<void(const Buttons&)>> reads[] = {
        {"ReadButton", [](const Buttons& b) { ASSERT_TRUE(Click(b.read)); }},
        {"FrameUpload", [this](const Buttons&) { StartFrameUpload(); }},
    };
    bool first = true;
    for (const auto& c : commands) {
        for (const auto& [readName, read] : reads) {
            SCOPED_TRACE(std::string(c.name) + " " + readName);
            if (!std::exchange(first, false)) {
                TearDown();
                SetUp();
            }
            c.prepare();
            const Buttons buttons = c.open();
            ASSERT_NE(buttons.command, nullptr);
            ASSERT_NE(buttons.read, nullptr);
            c.prepare();  // the service code typed after the window opened
            Wire();
            read(buttons);
            Answer(kYes);
            ASSERT_TRUE(Click(buttons.command));
            Advance(120000);  // the whole upload, and the 10 s a warm start's read-backs wait
            EXPECT_EQ(WritesTo(c.element), Lines{WriteOf(c.element, c.bytes)});
        }
    }
}

TEST_F(CommandOnItsWay, AWriteLockGoesOutAsConfirmedWhileTheStatusBarsCycleReadsTheElement) {
    const auto online = OpenWindow<ctlOnline>(10);
    ASSERT_NE(online, nullptr);
    SelectTab(*online->TabStrip, "ctlProtect");
    ASSERT_TRUE(ui::Input::Check(*online->ctlStatus->ctlCycle->chkCycle, true));
    Wire();
    for (const int64_t delay : {0, 100, 400, 900}) {
        Advance(delay);
        Answer(kYes);
        ASSERT_TRUE(Click(online->ctlProtect->cmdWriteLockActivate));
        Advance(3000);
        EXPECT_EQ(WritesTo(ctlProtect::kWriteLockingPath), Lines{WriteOf(ctlProtect::kWriteLockingPath, "00 00")}) << delay;
        EXPECT_EQ(com::CLng(Element(ctlProtect::kWriteLockingPath).TransientValue), ctlProtect::kLock) << delay;
        ASSERT_TRUE(Device().SetValue(ctlProtect::kWriteLockingPath, "2457"));
        Advance(3000);  // the cycle reads the unlocked device again
    }
}

TEST_F(CommandOnItsWay, AWindowClosedBeforeItsCommandWentOutSaysSo) {
    const std::pair<const char*, std::function<std::pair<P<ui::CommandButton>, std::string>()>> commands[] = {
        {"WarmStart",
         [this] {
             return std::pair{OnlinePage("ctlReset", "frmCMReset", "cmdWarmStart", 1).command, std::string("Warm start")};
         }},
        {"AcknowledgeErrors",
         [this] {
             const auto window = OpenWindow<ctlDiagnosis>(5);
             if (window) SelectTab(*window->TabStrip, "frmDiagDetails");
             return std::pair{window ? window->cmdQuitErr : nullptr, std::string("Acknowledge errors")};
         }},
        {"AddressReset",
         [this] {
             const auto page = OpenWindow<ctlAddress>(9);
             return std::pair{page ? page->cmdAddrReset : nullptr, std::string("Reset bus address to 126")};
         }},
    };
    bool first = true;
    for (const auto& [name, open] : commands) {
        SCOPED_TRACE(name);
        if (!std::exchange(first, false)) {
            TearDown();
            SetUp();
        }
        const auto [button, command] = open();
        ASSERT_NE(button, nullptr);
        // Another transfer runs first, so that the command waits in the queue.
        StartFrameUpload();
        Wire();
        platform::app::MessageBoxHandler::Instance().Clear();
        Answer(kYes);
        ASSERT_TRUE(Click(button));
        ASSERT_TRUE(frame->Close(*sessions.back()));
        Advance(120000);
        EXPECT_TRUE(WritesTo(kFactoryResetPath).empty());
        EXPECT_TRUE(WritesTo(ctlReset::kResetsPath).empty());
        ASSERT_EQ(Boxes().size(), 2u);
        EXPECT_EQ(Boxes()[1].buttons, 48);
        EXPECT_EQ(Boxes()[1].prompt,
                  "The command \"" + command + "\" was not sent: its window closed before it went out.");
    }
}

TEST_F(CommandOnItsWay, AClickWhileTheWindowsTransferRunsAsksNothingAndSaysSo) {
    struct Case {
        const char* name;
        const char* first;
        const char* second;
        const char* secondText;
        const char* element;
        const char* bytes;
        const char* page;
        const char* frame;
    } cases[] = {
        {"FactoryThenAddressReset", "cmdFactoryReset", "cmdAddrReset", "Reset bus address to 126", kFactoryResetPath,
         "00 01", "ctlReset", "frmCMReset"},
        {"InstrumentThenTotaliserReset", "cmdInstrReset", "cmdTotReset", "Totaliser reset", ctlReset::kResetsPath, "00",
         "ctlReset", "frmRXDReset"},
        {"ZeroPointTwice", "cmdZeroAdjust", "cmdZeroAdjust", "Start zero-point adjustment", ctlCalib::kZeroPointPath,
         "01", "ctlCalib", ""},
    };
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!std::exchange(first, false)) {
            TearDown();
            SetUp();
        }
        auto* tabPage = OnlineTab(c.page, c.frame);
        ASSERT_NE(tabPage, nullptr);
        Wire();
        platform::app::MessageBoxHandler::Instance().Clear();
        Answer(kYes);
        ASSERT_TRUE(Click(ButtonOf(*tabPage, c.first)));
        ASSERT_TRUE(Click(ButtonOf(*tabPage, c.second)));
        Advance(12000);
        EXPECT_EQ(WritesTo(c.element), Lines{WriteOf(c.element, c.bytes)});
        ASSERT_EQ(Boxes().size(), 2u);
        EXPECT_EQ(Boxes()[1].buttons, 48);
        EXPECT_EQ(Boxes()[1].prompt, std::string("A transfer of this window is still running: the command \"") +
                                         c.secondText + "\" was not sent. Try again when it has ended.");
    }
}

TEST_F(CommandOnItsWay, TwoWindowsCommandingOneElementSendTheirOwnValuesAndARefusalGivesBackTheValueBefore) {
    struct Case {
        const char* name;
        bool firstRefused;
        bool secondRefused;
        int16_t after;  // "_resets" at the end
    } cases[] = {
        {"BothRefused", true, true, 1},
        {"SecondRefused", false, true, ctlReset::kQuitErr},
        {"FirstRefused", true, false, ctlReset::kInstrReset},
    };
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!std::exchange(first, false)) {
            TearDown();
            SetUp();
        }
        const auto window = OpenWindow<ctlDiagnosis>(5);
        ASSERT_NE(window, nullptr);
        SelectTab(*window->TabStrip, "frmDiagDetails");
        const auto restart = OnlinePage("ctlReset", "frmRXDReset", "cmdInstrReset", 2).command;
        ASSERT_NE(restart, nullptr);
        SaveWith(ctlReset::kResetsPath, Variant::Int(1));
        const auto& el = Element(ctlReset::kResetsPath);
        if (c.firstRefused)
            Device().ScheduleAddressFailure(static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index), true,
                                            frame::SimulatedDevice::kStateConflict, 1);
        if (c.secondRefused)
            Device().ScheduleAddressFailure(static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index), true,
                                            frame::SimulatedDevice::kStateConflict, 2);
        Wire();
        Answer(kYes);
        ASSERT_TRUE(Click(window->cmdQuitErr));
        Answer(kYes);
        ASSERT_TRUE(Click(restart));  // in the same turn of the loop
        Advance(12000);
        const std::string refused = " !" + std::to_string(frame::SimulatedDevice::kStateConflict);
        EXPECT_EQ(WritesTo(ctlReset::kResetsPath),
                  (Lines{WriteOf(ctlReset::kResetsPath, "02") + (c.firstRefused ? refused : ""),
                         WriteOf(ctlReset::kResetsPath, "00") + (c.secondRefused ? refused : "")}));
        EXPECT_EQ(com::CLng(el.TransientValue), c.after);
        EXPECT_EQ(el.StatusFlags() & 0x20, 0);
        if (c.firstRefused && c.secondRefused) {
            EXPECT_FALSE(Params().Modified());
        }
    }
}

TEST_F(CommandOnItsWay, ARefusedCommandGivesWayToTheValueReadMeanwhile) {
    const auto buttons = OnlinePage("ctlReset", "frmRXDReset", "cmdQuitErr", 2);
    ASSERT_NE(buttons.command, nullptr);
    SaveWith(ctlReset::kResetsPath, Variant::Int(0));
    ASSERT_TRUE(Device().SetValue(ctlReset::kResetsPath, "01"));
    ScheduleRefusal(ctlReset::kResetsPath);
    Wire();
    ASSERT_TRUE(Click(buttons.read));
    Answer(kYes);
    ASSERT_TRUE(Click(buttons.command));
    Advance(12000);
    EXPECT_EQ(WritesTo(ctlReset::kResetsPath),
              Lines{WriteOf(ctlReset::kResetsPath, "02") + " !" + std::to_string(frame::SimulatedDevice::kStateConflict)});
    EXPECT_EQ(com::CLng(Element(ctlReset::kResetsPath).TransientValue), 1);
}

}  // namespace
}  // namespace dtm::testing
