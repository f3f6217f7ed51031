// The command language of the command-line frame, run in-process: the
// example script against its expected output, and single commands with good
// and bad input and the exit codes they lead to.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "WorkingFolder.h"
#include "frame/PageScript.h"
#include "frame/ScriptTokens.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/ui/Environment.h"

namespace dtm::frame {
namespace {

const std::string kExamples = std::string(DTM_TEST_DATA_DIR) + "/../../frame/examples/";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class PageScriptTest : public ::testing::Test {
protected:
    PageScriptTest() { Reset(); }
    ~PageScriptTest() override { Reset(); }
    static void Reset() {
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::app::ErrorSink::Instance().Clear();
    }
    // Runs `script`; answers the exit code, the output in `output`.
    int Run(const std::string& script, PageScriptOptions options = {}) {
        std::istringstream in(script);
        std::ostringstream out;
        const int code = RunPageScript(in, out, options, badOption);
        output = out.str();
        return code;
    }
    std::string output, badOption;
    // What a script saves by a relative name lands here.
    WorkingFolder working;
};

class PageScriptExamples : public PageScriptTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PageScriptExamples, GiveTheirExpectedOutput) {
    const std::string name = GetParam();
    std::ifstream script(kExamples + name + ".pages");
    ASSERT_TRUE(script) << kExamples;
    std::ostringstream out;
    PageScriptOptions options;
    options.echo = true;
    std::string badOption;
    EXPECT_EQ(RunPageScript(script, out, options, badOption), kScriptOk);
    EXPECT_EQ(out.str(), ReadFile(kExamples + name + ".expected"));
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

INSTANTIATE_TEST_SUITE_P(Examples, PageScriptExamples,
                         ::testing::Values("ident", "channels", "alarms", "offline", "profile", "measure", "diagnosis",
                                           "online", "outputs", "archive", "address", "simulation", "method",
                                           "monitor", "persistence"),
                         [](const auto& info) { return std::string(info.param); });

struct CommandCase {
    const char* name;
    const char* script;    // run after opening the identification page
    const char* expected;  // a line of the output
    int exitCode;
};

class PageScriptCommands : public PageScriptTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(PageScriptCommands, WriteTheirOutcome) {
    const CommandCase& c = GetParam();
    EXPECT_EQ(Run(std::string("open RG38N226_4_07.ctlIdent\n") + c.script), c.exitCode) << output;
    EXPECT_NE(output.find(std::string(c.expected) + "\n"), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageScriptCommands,
    ::testing::Values(
        CommandCase{"UnknownCommandGoesOnButFailsTheRun", "frobnicate\nexpect . visible = true",
                    "error: unknown command \"frobnicate\"", kScriptCommandError},
        CommandCase{"BadPath", "rows nothere", "error: no control \"nothere\" on ctlIdent", kScriptCommandError},
        // A misused expect is a wrong use, not a failed expectation.
        CommandCase{"BadPathInExpect", "expect nothere visible = true", "error: no control \"nothere\" on ctlIdent",
                    kScriptCommandError},
        CommandCase{"ExpectWithoutItsValue", "expect ctlParameter.1 display =",
                    "error: usage: expect PATH|state PROP OP VALUE", kScriptCommandError},
        CommandCase{"ExpectWithNoPageOpen", "close\nexpect . visible = true", "error: no page open", kScriptCommandError},
        CommandCase{"UnterminatedQuote", "type ctlParameter.0 \"FT-101", "error: unterminated quote", kScriptCommandError},
        CommandCase{"MissingArgument", "type ctlParameter.0", "error: usage: type PATH TEXT", kScriptCommandError},
        CommandCase{"NotARow", "type frmDevice x", "error: \"frmDevice\" is no row", kScriptCommandError},
        CommandCase{"NotANumber", "tick soon", "error: not a number: \"soon\"", kScriptCommandError},
        CommandCase{"NegativeTime", "tick -5", "error: -5 is out of range (0 to 2147483647)", kScriptCommandError},
        // `level` takes the levels --user-level takes.
        CommandCase{"LevelBeyond32Bits", "level 99999999999", "error: 99999999999 is out of range (0 to 3)",
                    kScriptCommandError},
        CommandCase{"LevelAboveTheHighest", "level 4", "error: 4 is out of range (0 to 3)", kScriptCommandError},
        CommandCase{"LevelBelowTheLowest", "level -1", "error: -1 is out of range (0 to 3)", kScriptCommandError},
        CommandCase{"NumberBeyond64Bits", "select ctlParameter.10 99999999999999999999",
                    "error: 99999999999999999999 is out of range (-2147483648 to 2147483647)", kScriptCommandError},
        CommandCase{"TypeAndExpectByBoundPath", "type ctlParameter.0 \"FT-101\"\nexpect @phys/tag_desc display = FT-101",
                    "expect ok", kScriptOk},
        CommandCase{"QuotedEscapes", "type ctlParameter.0 \"A\\x42\\\"C\"\nexpect ctlParameter.0 display = \"AB\\\"C\"",
                    "expect ok", kScriptOk},
        CommandCase{"EditThenCancelKeepsTheValue",
                    "edit ctlParameter.1 \"NEW\"\nexpect ctlParameter.1 editing = true\ncancel ctlParameter.1\n"
                    "expect ctlParameter.1 display = \"RXD 218\"",
                    "expect ok", kScriptOk},
        CommandCase{"ExpectFails", "expect ctlParameter.1 display = \"other\"",
                    "expect FAILED: ctlParameter.1 display is \"RXD 218\", not = \"other\"", kScriptExpectFailed},
        CommandCase{"UnknownProperty", "expect ctlParameter.1 colour = red",
                    "error: \"ctlParameter.1\" has no property \"colour\"", kScriptCommandError},
        CommandCase{"UnknownOperator", "expect ctlParameter.1 display <> x", "error: unknown operator \"<>\" (= != ~ < > <= >=)",
                    kScriptCommandError},
        CommandCase{"ContainsAndNumbers", "expect ctlParameter.4 display ~ 218\nexpect ctlParameter.3 display > 100",
                    "expect ok", kScriptOk},
        CommandCase{"ReadOnlyRowRefusesTyping", "type ctlParameter.3 \"1\"", "type: refused (read-only)", kScriptOk},
        CommandCase{"LockedRowSaysSo", "lock on\ntype ctlParameter.0 x", "type: refused (locked: the data set is locked)",
                    kScriptOk},
        // Numbers beyond what the control has are wrong uses; a list names its entries.
        CommandCase{"CodeNotInTheList", "select ctlParameter.10 99",
                    "error: no code 99 in \"ctlParameter.10\"; the list has 0 \"Profile-specific (0x9742)\", "
                    "1 \"Manufacturer-specific (0xB3C6)\"",
                    kScriptCommandError},
        CommandCase{"ChoiceNotInTheList", "select ctlParameter.10 \"Other\"",
                    "error: no choice \"Other\" in \"ctlParameter.10\"; the list has 0 \"Profile-specific (0x9742)\", "
                    "1 \"Manufacturer-specific (0xB3C6)\"",
                    kScriptCommandError},
        CommandCase{"ChoiceInTheList", "select ctlParameter.10 \"Profile-specific (0x9742)\"", "select: ok", kScriptOk},
        CommandCase{"MenuItemBeyondTheRow", "menu ctlParameter.0 99", "error: no menu item 99; the row has 1",
                    kScriptCommandError},
        CommandCase{"TabBeyondTheStrip", "open 1\ntab TabStrip 9", "error: no tab 9; the strip has 3", kScriptCommandError},
        CommandCase{"TabOfTheStrip", "open 1\ntab TabStrip 3\nexpect TabStrip selected = 3", "expect ok", kScriptOk},
        // A text the row does not take, or takes in part, says so.
        CommandCase{"TypeBeyondTheRowsLength", "type ctlParameter.0 \"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\"",
                    "type: ok; cut to the row's 32 characters", kScriptOk},
        CommandCase{"TypeALetterInANumber", "open 1 path=ctlOffline.TabStrip.3\ntype @FUNC/1/AI/PV_FTIME \"1x\"",
                    "type: refused (the row shows InputErr: \"The value is not valid for this parameter\")", kScriptOk},
        CommandCase{"TypeANumberOutOfRange", "open 1 path=ctlOffline.TabStrip.3\ntype @FUNC/1/AI/PV_FTIME \"-5\"",
                    "type: refused (the row shows RangeErr: \"The value is outside its permitted range, 0..30\")",
                    kScriptOk},
        CommandCase{"EnterANumberOutOfRange",
                    "open 1 path=ctlOffline.TabStrip.3\nedit @FUNC/1/AI/PV_FTIME \"31\"\nenter @FUNC/1/AI/PV_FTIME",
                    "enter: refused (the row shows RangeErr: \"The value is outside its permitted range, 0..30\")",
                    kScriptOk},
        CommandCase{"TypeANumberInRange", "open 1 path=ctlOffline.TabStrip.3\ntype @FUNC/1/AI/PV_FTIME \"2\"", "type: ok",
                    kScriptOk},
        CommandCase{"WrongKindOfRow", "select ctlParameter.0 1", "select: refused (not a list row, a text row: use type)",
                    kScriptOk},
        CommandCase{"NoEditToEnd", "enter ctlParameter.0", "enter: refused (no edit in progress)", kScriptOk},
        CommandCase{"LockMakesRowsReadOnly", "lock on\nexpect ctlParameter.0 ro = true\nlock off\nexpect ctlParameter.0 ro = false",
                    "data set unlocked", kScriptOk},
        CommandCase{"LevelLocksAndUnlocksOpenRows",
                    "level 0\nexpect ctlParameter.0 ro = true\ntype ctlParameter.0 \"X\"\n"
                    "expect @PHYS/TAG_DESC display != \"X\"\nlevel 3\nexpect ctlParameter.0 ro = false",
                    "type: refused (read-only: needs user level 2, the user has 0)", kScriptOk},
        CommandCase{"FocusByPath", "focus ctlParameter.1\nexpect ctlParameter.1 focus = true", "expect ok", kScriptOk},
        CommandCase{"OpenAFunctionAndList", "open 99\npages", "* ctlAbout (RG38N226_4_07.ctlAbout)", kScriptOk},
        CommandCase{"OpenUnknown", "open RG38N226_4_07.nothing",
                    "open \"RG38N226_4_07.nothing\": refused (page not built: no class RG38N226_4_07.nothing)", kScriptOk},
        CommandCase{"OpenAFunctionNotOffered", "open 12345",
                    "open \"12345\": refused (function 12345 is not in the function list)", kScriptOk},
        CommandCase{"AReopenedPageTakesAFreeName",
                    "open RG38N226_4_07.ctlIdent\nclose ctlIdent\nopen RG38N226_4_07.ctlIdent\npages",
                    "* ctlIdent (RG38N226_4_07.ctlIdent)", kScriptOk},
        CommandCase{"OpenWithAPendingControlPath", "open RG38N226_4_07.ctlIdent path=ctlParameter.7\nexpect ctlParameter.7 focus = true",
                    "expect ok", kScriptOk},
        CommandCase{"OpenWithAPendingPath", "open RG38N226_4_07.ctlIdent path=.ctlParameter.5\nexpect ctlParameter.5 focus = true",
                    "expect ok", kScriptOk},
        // A path that names no control is a wrong use; the page stays open.
        CommandCase{"OpenWithAPathToNoControl", "open RG38N226_4_07.ctlIdent path=ctlParameter.99\npages",
                    "error: no control \"ctlParameter.99\" on ctlIdent#2; the page shows its start", kScriptCommandError},
        CommandCase{"OpenWithAPathThePageDoesNotTake", "open 99 path=ctlParameter.1",
                    "error: no control \"ctlParameter.1\" on ctlAbout; the page shows its start", kScriptCommandError},
        CommandCase{"CloseByName", "open 99\nclose ctlident\npages", "* ctlAbout (RG38N226_4_07.ctlAbout)", kScriptOk},
        CommandCase{"NoPageAfterClose", "close\nrows", "error: no page open", kScriptCommandError},
        CommandCase{"UnknownAnswer", "answer maybe", "error: unknown answer \"maybe\"", kScriptCommandError},
        CommandCase{"LanguageTheRegistryRefuses", "lang 70000",
                    "lang 70000: refused (the dictionary has no such language; the language stays 1033)", kScriptOk},
        CommandCase{"LanguageTheRegistryTakes", "lang 1033", "language 1033", kScriptOk},
        CommandCase{"TimeMoves", "tick 4000\ntick 500", "time 4500 ms", kScriptOk},
        CommandCase{"DeviceErrorUsage", "device error 1 20 x 0xB6", "error: r or w expected, not \"x\"",
                    kScriptCommandError},
        CommandCase{"DeviceErrorSlotBeyondAByte", "device error 300 20 r 0xB6", "error: 300 is out of range (0 to 255)",
                    kScriptCommandError},
        CommandCase{"DeviceErrorNamesEachBadArgument", "device error a b c d",
                    "error: not a number: \"a\"; not a number: \"b\"; r or w expected, not \"c\"; not a number: \"d\"",
                    kScriptCommandError},
        CommandCase{"DeviceErrorNumbersOutOfRange", "device error 1 256 w 0x100 0",
                    "error: 256 is out of range (0 to 255); 0x100 is out of range (0 to 255); 0 is out of range (1 to "
                    "2147483647)",
                    kScriptCommandError},
        CommandCase{"DeviceErrorScheduled", "device error 1 20 r 0xB6 2", "device error 0xB6 on slot 1 index 20 r #2",
                    kScriptOk},
        // A value the device does not take names the cause.
        CommandCase{"DeviceSetUnknownPath", "device set NO/SUCH 1",
                    "error: device set \"NO/SUCH\" \"1\": no device parameter has this element", kScriptCommandError},
        CommandCase{"DeviceSetShortOctets", "device set PHYS/DIAGNOSIS \"20 00\"",
                    "error: device set \"PHYS/DIAGNOSIS\" \"20 00\": the element takes 4 bytes, the value has 2",
                    kScriptCommandError},
        CommandCase{"DeviceSetLongOctets", "device set PHYS/DIAGNOSIS \"20 00 00 00 00\"",
                    "error: device set \"PHYS/DIAGNOSIS\" \"20 00 00 00 00\": the element takes 4 bytes, the value has 5",
                    kScriptCommandError},
        CommandCase{"DeviceSetOctetsNotHex", "device set PHYS/DIAGNOSIS zz",
                    "error: device set \"PHYS/DIAGNOSIS\" \"zz\": the element takes 4 bytes as hex digits",
                    kScriptCommandError},
        CommandCase{"DeviceSetBeyondTheType", "device set TRANS/1/FlowCori/MASS_FLOW_UNITS 70000",
                    "error: device set \"TRANS/1/FlowCori/MASS_FLOW_UNITS\" \"70000\": the value is out of the range of "
                    "the element's type",
                    kScriptCommandError},
        CommandCase{"DeviceSetNoNumber", "device set TRANS/1/FlowCori/MASS_FLOW_UNITS abc",
                    "error: device set \"TRANS/1/FlowCori/MASS_FLOW_UNITS\" \"abc\": the value is not of the element's kind",
                    kScriptCommandError},
        CommandCase{"DeviceSetLongText", "device set PHYS/TAG_DESC \"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\"",
                    "error: device set \"PHYS/TAG_DESC\" \"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\": the element takes at "
                    "most 32 characters, the value has 36",
                    kScriptCommandError},
        CommandCase{"DeviceSetShortText", "device set PHYS/TAG_DESC \"FT-1\"", "device PHYS/TAG_DESC = \"FT-1\"", kScriptOk},
        CommandCase{"ConnectAndDisconnect", "connect\ndisconnect", "~ OnPreparedToReleaseCommunication", kScriptOk},
        // Connected means online: the DTM has read the device's identity.
        CommandCase{"ConnectGoesOnline", "connect\ndevice log", "slot 0 index 26 r -> {00 AD}", kScriptOk},
        CommandCase{"ChannelsListsTheSixteen", "channels", "channel 16 TOT8_ST active bit=312", kScriptOk},
        CommandCase{"ChannelsTakesNoWords", "channels 1", "error: usage: channels", kScriptCommandError},
        // A function the DTM does not offer now is refused with the reason.
        CommandCase{"OnlineFunctionOffline", "open 4",
                    "open \"4\": refused (function 4 is not offered while the DTM is offline)", kScriptOk},
        CommandCase{"OfflineFunctionOnline", "connect\nopen 24",
                    "open \"24\": refused (function 24 is not offered while the DTM is online)", kScriptOk},
        CommandCase{"MonitorWithoutDeveloperFeatures", "open 97",
                    "open \"97\": refused (function 97 is offered only with the developer features (command developer))",
                    kScriptOk},
        CommandCase{"MonitorWithDeveloperFeatures", "developer\nopen 97", "opened ctl_TR_Monitor (RG38N226_4_07.ctl_TR_Monitor)",
                    kScriptOk},
        CommandCase{"PrintFunction", "open 501",
                    "function 501: the frame was asked to print \"<FDT><FunctionCall functionId=\\\"501\\\"/></FDT>\"",
                    kScriptOk},
        // A window that matches a pending path against its own class name.
        CommandCase{"OpenWithTheWindowsOwnPath", "open 1 path=ctlOffline.TabStrip.3\nexpect TabStrip selected = 3",
                    "expect ok", kScriptOk},
        CommandCase{"RunLeavesARunningRefreshToTick",
                    "connect\nopen 7\ncheck ctlStatus.ctlCycle.chkCycle on\nrun\nexpect ctlStatus.ctlCycle.chkCycle value = 1",
                    "expect ok", kScriptOk},
        CommandCase{"FileTheDtmDidNotWrite", "file Analysis.txt", "file \"Analysis.txt\": none in the component folder",
                    kScriptOk},
        CommandCase{"FileInTheComponentFolder", "file Resources\\DTM.ini", "  [Advanced]", kScriptOk},
        CommandCase{"FileOutsideTheComponentFolder", "file ../DTM.ini",
                    "error: file NAME names a file in the component folder, not \"../DTM.ini\"", kScriptCommandError},
        CommandCase{"FindListsTheRowsOfATag", "find PHYS/TAG_DESC", "  .ctlParameter.0", kScriptOk},
        CommandCase{"FindInAWindowWithItsOwnName", "open 8\nfind PHYS/TAG_DESC",
                    "  ctlProfilViewDyn.ctlScrollPane.PB.ctlParameter.12", kScriptOk},
        CommandCase{"KeysListsTheCaptionKeys", "keys", ".frmDevice \"ctlIdent_frmDevice\" key_Frame", kScriptOk},
        CommandCase{"ChannelMarkedInUse", "channel 3 used on\nchannels", "channel 3 AI2 active bit=40 in use", kScriptOk},
        CommandCase{"ChannelByIdNoLongerInUse", "channel AI2 used on\nchannel ai2 used off", "channel 3 not in use: ok",
                    kScriptOk},
        CommandCase{"ChannelUnknown", "channel 17 used on", "error: no channel \"17\"; the DTM has 16",
                    kScriptCommandError},
        CommandCase{"StateOfANewInstance", "state", "data set 3 \"Mixed\", modified, not locked, offline", kScriptOk},
        CommandCase{"SaveClearsTheModifiedMark", "save s.dtm\nexpect state modified = false\nexpect state data = 0",
                    "expect ok", kScriptOk},
        CommandCase{"StateFollowsTheLockAndTheConnection", "lock on\nconnect\nstate",
                    "data set 3 \"Mixed\", modified, locked, online", kScriptOk},
        CommandCase{"ExpectAnUnknownStateProperty", "expect state colour = red",
                    "error: the state has no property \"colour\"", kScriptCommandError},
        CommandCase{"LoadClosesThePagesAndKeepsAChannelInUse",
                    "channel 3 used on\nsave s.dtm\nload s.dtm\npages\nchannels", "channel 3 AI2 active bit=40 in use",
                    kScriptOk},
        // The channels as a frame gets them: the slot codes the loaded
        // instance brought applied, slot 2 free and the later slots moved up.
        CommandCase{"ChannelsAfterALoadFollowItsSlots",
                    "open 24\nselect ctlParameter.2 1\nclick StoreNewConfig\nsave s.dtm\nload s.dtm\nchannels",
                    "channel 3 AI2 inactive bit=0\nchannel 4 AI2_ST inactive bit=0\nchannel 5 AI3 active bit=40",
                    kScriptOk},
        CommandCase{"LoadKeepsATypedValue",
                    "type ctlParameter.0 \"FT-202\"\nsave s.dtm\nload s.dtm\nopen RG38N226_4_07.ctlIdent\n"
                    "expect @PHYS/TAG_DESC display = \"FT-202\"",
                    "expect ok", kScriptOk},
        CommandCase{"ArchiveCurveSwitchedOffIsAChangeToStore",
                    "connect\nopen 72\nsave s.dtm\ncheck ctlDTMArchive.1 off\nexpect ctlDTMArchive mask = 253\n"
                    "expect ctlDTMArchive curve1 = off\nexpect state modified = true",
                    "expect ok", kScriptOk},
        CommandCase{"ArchiveCurveUnknown", "connect\nopen 72\ncheck ctlDTMArchive.9 off",
                    "check: refused (no curve 9, or the curves are not set up)", kScriptOk},
        CommandCase{"ArchiveCurveWhileLocked", "connect\nopen 72\nlock on\ncheck ctlDTMArchive.1 off",
                    "check: refused (locked: the data set is locked)", kScriptOk},
        CommandCase{"LoadOfNoDataSet", "load none.dtm",
                    "load: refused (none.dtm is no data-set file: there is none; the instance stays)", kScriptOk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageScriptTest, ABoxIsAnsweredAsQueuedAndReported) {
    platform::app::EventLoop::Instance().Post([] { platform::app::MessageBoxHandler::Instance().Show("Go on?", 292); });
    EXPECT_EQ(Run("answer yes\ntick 1"), kScriptOk);
    EXPECT_NE(output.find("? [292] \"Go on?\" -> Yes\n"), std::string::npos) << output;
}

TEST_F(PageScriptTest, ABoxWithOnlyOKKeepsItsOKAndLeavesTheAnswerForTheNext) {
    platform::app::EventLoop::Instance().Post([] {
        auto& boxes = platform::app::MessageBoxHandler::Instance();
        boxes.Show("Note", 48);
        boxes.Show("Go on?", 292);
    });
    EXPECT_EQ(Run("answer yes\ntick 1"), kScriptOk);
    EXPECT_NE(output.find("? [48] \"Note\" -> OK\n? [292] \"Go on?\" -> Yes\n"), std::string::npos) << output;
    // With no other box the answer is left over, and dropped as such.
    platform::app::EventLoop::Instance().Post([] { platform::app::MessageBoxHandler::Instance().Show("Note", 0); });
    EXPECT_EQ(Run("answer yes\ntick 1\nstate"), kScriptOk);
    EXPECT_NE(output.find("? [0] \"Note\" -> OK\nanswers dropped, no box took them: Yes\n"), std::string::npos)
        << output;
}

TEST_F(PageScriptTest, AStoppedTickSaysTheTimeTheClockReached) {
    // Work that reposts itself for ever, 1 ms apart.
    std::function<void()> again = [&again] { platform::app::EventLoop::Instance().PostAfter(1, again); };
    platform::app::EventLoop::Instance().Post(again);
    EXPECT_EQ(Run("tick 86400000"), kScriptOk);
    const std::string reached = std::to_string(platform::app::EventLoop::kMaxSteps - 1);
    EXPECT_NE(output.find("time " + reached + " ms\n! error 51: Stopped after 100000 pieces of work"), std::string::npos)
        << output;
    platform::app::EventLoop::Instance().Reset();
}

TEST_F(PageScriptTest, AClickAnswerIsForTheClickAlone) {
    // The click raises no box; the question comes on the tick after it and
    // gets its default button, not the click's --no.
    platform::app::EventLoop::Instance().Post([] {
        auto& boxes = platform::app::MessageBoxHandler::Instance();
        boxes.Show("Note", 0);
        boxes.Show("Go on?", 52);
    });
    EXPECT_EQ(Run("open RG38N226_4_07.ctlIdent\nclick frmDevice --no\ntick 1"), kScriptOk);
    EXPECT_NE(output.find("; no question came, the answer --no is dropped\n"), std::string::npos) << output;
    EXPECT_NE(output.find("? [0] \"Note\" -> OK\n"), std::string::npos) << output;
    EXPECT_NE(output.find("? [52] \"Go on?\" -> Yes\n"), std::string::npos) << output;
}

// A click with --no after a click that raised no question (an OK box only)
// and was given --yes: the question is answered No and nothing is written.
struct DeclinedCase {
    const char* name;
    const char* page;        // opens the page and shows the button
    const char* noQuestion;  // a click with --yes that brings no question
    const char* button;
};

class PageScriptDeclined : public PageScriptTest, public ::testing::WithParamInterface<DeclinedCase> {};

TEST_P(PageScriptDeclined, SendsNothing) {
    const DeclinedCase& c = GetParam();
    PageScriptOptions options;
    options.echo = true;
    const std::string script = std::string("connect\n") + c.page + "\n" + c.noQuestion + "\ndevice log\nclick " +
                               c.button + " --no\ntick 1000\ndevice log\n";
    EXPECT_EQ(Run(script, options), kScriptOk) << output;
    EXPECT_NE(output.find("no question came, the answer --yes is dropped\n"), std::string::npos) << output;
    const size_t click = output.find("> click " + std::string(c.button) + " --no\n");
    ASSERT_NE(click, std::string::npos) << output;
    EXPECT_NE(output.find("\" -> No\n", click), std::string::npos) << output;
    EXPECT_EQ(output.find("\" -> Yes\n", click), std::string::npos) << output;
    EXPECT_EQ(output.find(" w ", click), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PageScriptDeclined,
    ::testing::Values(
        DeclinedCase{"WarmStart", "open 10\ntab TabStrip 2", "level 1\nclick ctlReset.cmdWarmStart --yes\nlevel 3",
                     "ctlReset.cmdWarmStart"},
        DeclinedCase{"TotaliserReset", "open 10\ntab TabStrip 2\ntab ctlReset.TabStrip 2",
                     "level 1\nclick ctlReset.cmdTotReset --yes\nlevel 3", "ctlReset.cmdTotReset"},
        DeclinedCase{"BusAddressReset", "open 9", "level 1\nclick cmdAddrReset --yes\nlevel 3", "cmdAddrReset"},
        DeclinedCase{"ServiceCode", "open 10\ntab TabStrip 3",
                     "type ctlProtect.ctlParameter.0 \"SERVICE4\"\nclick ctlProtect.cmdServiceCode --yes\n"
                     "type ctlProtect.ctlParameter.0 \"SERVICE42\"",
                     "ctlProtect.cmdServiceCode"},
        DeclinedCase{"AcknowledgeErrors", "open 5\ntab TabStrip 2", "level 1\nclick cmdQuitErr --yes\nlevel 3",
                     "cmdQuitErr"}),
    [](const auto& info) { return std::string(info.param.name); });

// The online window's commands as the frame shows them: the lock confirmed
// after the page's Read goes out as confirmed; the warm start whose window
// closed before it went out, and the second command clicked while the first
// runs, are each said not to have been sent, and neither reaches the device.
TEST_F(PageScriptTest, AConfirmedCommandGoesOutAsConfirmedOrTheFrameSaysItWasNotSent) {
    struct Case {
        const char* name;
        const char* commands;  // after the window opened with its cycle off
        std::vector<std::string> shown;
        std::vector<std::string> notShown;
    };
    const Case cases[] = {
        {"LockAfterTheRead",
         "tab TabStrip 3\nclick ctlProtect.cmdRead\nclick ctlProtect.cmdWriteLockActivate --yes\n",
         {"slot 0 index 34 w {00 00} -> ok\n"},
         {"w {09 99}"}},
        {"WarmStartClosed",
         "tab TabStrip 2\nclick ctlReset.cmdWarmStart --yes\nclose\n",
         {"closed ctlOnline\n? [48] \"The command \\\"Warm start\\\" was not sent: its window closed before it went "
          "out.\" -> OK\n"},
         {" w {"}},
        {"AddressResetWhileTheFactoryResetRuns",
         "tab TabStrip 2\nclick ctlReset.cmdFactoryReset --yes\nclick ctlReset.cmdAddrReset --yes\n",
         {"? [48] \"A transfer of this window is still running: the command \\\"Reset bus address to 126\\\" was not "
          "sent. Try again when it has ended.\" -> OK\n",
          "slot 0 index 35 w {00 01} -> ok\n"},
         {"w {0A 98}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        const std::string script = std::string("connect\nopen 10\ncheck ctlStatus.ctlCycle.chkCycle off\ndevice log\n") +
                                   c.commands + "tick 2000\ndevice log\n";
        EXPECT_EQ(Run(script), kScriptOk) << output;
        for (const auto& line : c.shown) EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
        for (const auto& text : c.notShown) EXPECT_EQ(output.find(text), std::string::npos) << text << "\n" << output;
    }
}

TEST_F(PageScriptTest, AnswersNoBoxTookAreDroppedWhenTheNextCommandStarts) {
    EXPECT_EQ(Run("connect\nopen 9\nanswer yes no\nrows\ndevice log\nclick cmdAddrReset\ntick 1000\ndevice log"),
              kScriptOk);
    EXPECT_NE(output.find("answers dropped, no box took them: Yes No\n"), std::string::npos) << output;
    const size_t click = output.find("Reset bus address to 126");
    ASSERT_NE(click, std::string::npos) << output;
    EXPECT_NE(output.find("\" -> No\n", click), std::string::npos) << output;  // its default button
    EXPECT_EQ(output.find(" w ", click), std::string::npos) << output;
}

TEST_F(PageScriptTest, AnswersAreForTheCommandAfterThem) {
    // Two `answer` lines together wait for the same command.
    platform::app::EventLoop::Instance().Post([] {
        platform::app::MessageBoxHandler::Instance().Show("Go on?", 292);
        platform::app::MessageBoxHandler::Instance().Show("Sure?", 292);
    });
    EXPECT_EQ(Run("answer yes\nanswer yes\ntick 1"), kScriptOk);
    EXPECT_NE(output.find("? [292] \"Sure?\" -> Yes\n"), std::string::npos) << output;
    EXPECT_EQ(output.find("answers dropped"), std::string::npos) << output;
}

TEST_F(PageScriptTest, RunWithARunningRefreshStopsAndStaysStrictClean) {
    PageScriptOptions strict;
    strict.strict = true;
    EXPECT_EQ(Run("connect\nopen 7\ncheck ctlStatus.ctlCycle.chkCycle on\nrun\nrun", strict), kScriptOk) << output;
    EXPECT_NE(output.find(" ms (1 timer runs on: use tick)\n"), std::string::npos) << output;
    EXPECT_LT(platform::app::EventLoop::Instance().Now(), 5000);  // no ticks run
}

TEST_F(PageScriptTest, StrictAnswersTwoWhenAnErrorWasTrapped) {
    const auto postFailure = [] {
        platform::app::EventLoop::Instance().Post([] { throw std::runtime_error("boom"); });
    };
    postFailure();
    EXPECT_EQ(Run("tick 1"), kScriptOk);  // reported, but not strict
    EXPECT_NE(output.find("! error 51: boom ("), std::string::npos) << output;
    PageScriptOptions strict;
    strict.strict = true;
    postFailure();
    EXPECT_EQ(Run("open 99\ntick 1\nexpect . visible = false", strict), kScriptErrorTrapped) << output;
    EXPECT_EQ(Run("open 99\nexpect . visible = false", strict), kScriptExpectFailed) << output;
    // A misspelt command fails the run, strict or not, ahead of the other codes.
    EXPECT_EQ(Run("open 99\nexpcet . visible = false\nexpect . visible = false", strict), kScriptCommandError) << output;
    EXPECT_EQ(Run("exepct . visible = true"), kScriptCommandError) << output;
}

TEST_F(PageScriptTest, OnlineAndOptionsApplyBeforeTheFirstCommand) {
    PageScriptOptions options;
    options.online = true;
    options.userLevel = 2;
    options.lcid = 1033;
    options.device = "RXD 214";
    EXPECT_EQ(Run("disconnect", options), kScriptOk);
    EXPECT_EQ(output.rfind("frame RXD 214, user level 2, language 1033\n", 0), 0u) << output;
    EXPECT_NE(output.find("connected\n"), std::string::npos);
    EXPECT_NE(output.find("disconnected\n"), std::string::npos);
    // A language the DTM does not have is a bad option: nothing runs.
    for (const int32_t lcid : {1031, 70000}) {
        options.lcid = lcid;
        EXPECT_EQ(Run("disconnect", options), kScriptBadOption);
        EXPECT_EQ(output, "");
        EXPECT_EQ(badOption, "bad option --lcid " + std::to_string(lcid) +
                                 ": the dictionary has no such language; it has 1033");
    }
}

TEST(PageScriptArgs, OptionsAndBadOnes) {
    PageScriptOptions options;
    std::string file, error;
    ASSERT_TRUE(ParsePageScriptArgs({"--device", "rxd 214", "--user-level", "2", "--lcid", "1031", "--online",
                                     "--script", "a.pages", "--echo", "--strict"},
                                    options, file, error));
    EXPECT_EQ(options.device, "rxd 214");
    EXPECT_EQ(options.userLevel, 2);
    EXPECT_EQ(options.lcid, 1031);
    EXPECT_TRUE(options.online && options.echo && options.strict);
    EXPECT_EQ(file, "a.pages");
    // Each refusal names the option, and the cause where there is more to say.
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--device", "RXD 999"}, {"--user-level", "x"}, {"--user-level", "-5"},
          {"--user-level", "4"}, {"--lcid"}, {"--what"}}) {
        EXPECT_FALSE(ParsePageScriptArgs(bad, options, file, error)) << bad.front();
        EXPECT_EQ(error.rfind("bad option " + bad.front(), 0), 0u) << error;
    }
    EXPECT_TRUE(ParsePageScriptArgs({"--user-level", "0"}, options, file, error));
    EXPECT_EQ(options.userLevel, 0);
    // An option given last without its value says so.
    for (const auto& [option, value] : {std::pair{"--device", "NAME"}, std::pair{"--user-level", "N"},
                                        std::pair{"--lcid", "LCID"}, std::pair{"--script", "FILE"}}) {
        EXPECT_FALSE(ParsePageScriptArgs({"--online", option}, options, file, error)) << option;
        EXPECT_EQ(error, std::string("bad option ") + option + ": its value " + value + " is missing");
    }
}

TEST(ScriptTokens, WordsQuotesEscapesAndComments) {
    const auto line = TokenizeScriptLine(R"(type  a.b "x y\t\"z\"\\" # comment "unterminated)");
    ASSERT_EQ(line.error, "");
    ASSERT_EQ(line.tokens.size(), 3u);
    EXPECT_EQ(line.tokens[1].text, "a.b");
    EXPECT_FALSE(line.tokens[1].quoted);
    EXPECT_EQ(line.tokens[2].text, "x y\t\"z\"\\");
    EXPECT_TRUE(line.tokens[2].quoted);
    EXPECT_TRUE(TokenizeScriptLine("  # only a comment").tokens.empty());
    EXPECT_EQ(TokenizeScriptLine(R"(x "a#b")").tokens[1].text, "a#b");
    EXPECT_EQ(TokenizeScriptLine(R"(x "")").tokens[1].text, "");
    EXPECT_EQ(TokenizeScriptLine(R"(x "\q")").error, "unknown escape \\q");
    EXPECT_EQ(TokenizeScriptLine(R"(x "\x4")").error, "bad \\x escape");
    EXPECT_EQ(TokenizeScriptLine(R"(x "abc\)").error, "unterminated quote");
}

}  // namespace
}  // namespace dtm::frame
