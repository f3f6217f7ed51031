// The protection page against the simulated device: the service code's
// length check and its write with the access rights read back, the write
// lock switched on and off, the read button, and the code kept out of the
// element, the data set, the parameter document, the documentation and the
// trace once it was sent or not.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "OnlineFixture.h"
#include "core/ComponentFolder.h"
#include "platform/com/Variant.h"
#include "platform/ctl/RowInput.h"
#include "platform/fdt/DtmInterfaces.h"

namespace dtm::testing {
namespace {

using Lines = std::vector<std::string>;
using platform::Variant;
constexpr const char* kCode = frame::SimulatedDevice::kServiceCode;

class ProtectPage : public OnlineFixture {
protected:
    void SetUp() override {
        OnlineFixture::SetUp();
        ASSERT_TRUE(platform::ui::Input::ClickTab(*online->TabStrip, 3));
    }
    ctlProtect& Protect() const { return *online->ctlProtect; }
    clsDataElement& Code() const { return Element(ctlProtect::kServicePasswordPath); }
    bool TypeCode(const std::string& code) const {
        auto& row = *session->Row("ctlProtect.ctlParameter.0");
        return platform::ctl::RowInput::Type(row, code) && platform::ctl::RowInput::Commit(row);
    }
    // The code left nowhere in the element: nine blanks, no stored value or
    // the stored blanks.
    void ExpectCodeGone(const std::string& where) const {
        EXPECT_EQ(platform::com::CStr(Code().TransientValue), "         ") << where;
        EXPECT_TRUE(Code().PersistentValue.IsEmpty() || platform::com::CStr(Code().PersistentValue) == "         ")
            << where;
        EXPECT_NE(platform::com::CStr(Code().DeviceValue), kCode) << where;
    }
    // Clicks Lock writing (Yes) while the status bar's cycle runs, so that the
    // cycle's read of the lock (2457, unlocked) lands after the click; gives
    // the wire once the cycle is off again.
    Lines LockWhileTheCycleReads() {
        EXPECT_TRUE(platform::ui::Input::Check(*online->ctlStatus->ctlCycle->chkCycle, true));
        Advance(20);
        Answer(kYes);
        EXPECT_TRUE(Click(Protect().cmdWriteLockActivate));
        Settle();
        EXPECT_TRUE(platform::ui::Input::Check(*online->ctlStatus->ctlCycle->chkCycle, false));
        Settle();
        return Wire();
    }
};

TEST_F(ProtectPage, CodeOfAnyLengthButNineIsRefusedWithoutAsking) {
    for (const std::string code : {"", "SERVICE4", "SERVICE420"}) {
        platform::app::MessageBoxHandler::Instance().Clear();
        Code().TransientValue = Variant::Str(code);
        ASSERT_TRUE(Click(Protect().cmdServiceCode));
        Settle();
        EXPECT_TRUE(Wire().empty()) << code;
        ASSERT_EQ(Boxes().size(), 1u) << code;
        EXPECT_EQ(Boxes()[0].buttons, 48);
        EXPECT_EQ(Boxes()[0].prompt, "\"Service password\" must be exactly 9 characters long. Enter the code again.");
        ExpectCodeGone(code);
    }
}

TEST_F(ProtectPage, CodeOfNineIsSentAfterTheQuestionWithTheAccessRightsReadBack) {
    ASSERT_TRUE(TypeCode(kCode));
    Answer(kYes);
    ASSERT_TRUE(Click(Protect().cmdServiceCode));
    Settle();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 292);
    EXPECT_EQ(Boxes()[0].prompt, "Send the value of \"Service password\" to the device now?");
    const Lines wire = Wire();
    ASSERT_GE(wire.size(), 2u);
    EXPECT_EQ(wire[0], WriteOf(ctlProtect::kServicePasswordPath, "53 45 52 56 49 43 45 34 32"));
    EXPECT_EQ(wire[1], ReadOf(ctlProtect::kAccessRightsPath));
    // The device granted the service level; the code has left the element.
    EXPECT_EQ(platform::com::CLng(Element(ctlProtect::kAccessRightsPath).TransientValue),
              frame::SimulatedDevice::kAccessSpecialist | frame::SimulatedDevice::kAccessService);
    EXPECT_EQ(session->Row("ctlProtect.ctlParameter.0")->Value().IsString() &&
                  platform::com::CStr(session->Row("ctlProtect.ctlParameter.0")->Value()) == kCode,
              false);
    ExpectCodeGone("sent");
}

TEST_F(ProtectPage, CodeNotSentLeavesTheElementWhateverTheReason) {
    struct Case {
        const char* name;
        int32_t level;
        int32_t answer;
        bool unreachable;
    } cases[] = {{"declined", 3, kNo, false}, {"not allowed", 1, kYes, false}, {"refused", 3, kYes, true}};
    for (const auto& c : cases) {
        Ctx().UserInfo()->UserLevel(c.level);
        if (c.unreachable) {
            ASSERT_TRUE(frame->Disconnect());
        }
        Code().TransientValue = Variant::Str(kCode);
        Code().PersistentValue = Variant::Str(kCode);
        Answer(c.answer);
        ASSERT_TRUE(Click(Protect().cmdServiceCode)) << c.name;
        Settle();
        ExpectCodeGone(c.name);
    }
    EXPECT_TRUE(Wire().empty());
}

// A disconnect right after the Yes cuts the code's write short: the page says
// that the device did not carry it out, naming the code's row, not the code.
TEST_F(ProtectPage, ACodeADisconnectCutShortIsSaidNotCarriedOut) {
    ASSERT_TRUE(TypeCode(kCode));
    Answer(kYes);
    ASSERT_TRUE(Click(Protect().cmdServiceCode));
    ASSERT_TRUE(frame->Disconnect());
    Settle();
    EXPECT_TRUE(Wire().empty());
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].buttons, 48);
    EXPECT_EQ(Boxes()[1].prompt, "The device did not carry out the command \"Service password\". Check the "
                                 "connection and the device's state and try again.");
    ExpectCodeGone("disconnected");
}

TEST_F(ProtectPage, ClickWhileTheCodeIsSentLeavesTheCodeItSends) {
    // A second click while the code is on its way asks nothing (it only says
    // that a transfer still runs) and must not change what goes on the wire.
    struct Case {
        const char* name;
        platform::P<platform::ui::CommandButton> second;
    } cases[] = {
        {"code", Protect().cmdServiceCode},
        {"lock", Protect().cmdWriteLockActivate},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Device().SetValue(ctlProtect::kAccessRightsPath, "02")) << c.name;
        const Variant lock = Element(ctlProtect::kWriteLockingPath).TransientValue;
        ASSERT_TRUE(TypeCode(kCode)) << c.name;
        Answer(kYes);
        ASSERT_TRUE(Click(Protect().cmdServiceCode)) << c.name;
        ASSERT_TRUE(Click(c.second)) << c.name;
        Settle();
        const Lines wire = Wire();
        ASSERT_FALSE(wire.empty()) << c.name;
        EXPECT_EQ(wire[0], WriteOf(ctlProtect::kServicePasswordPath, "53 45 52 56 49 43 45 34 32")) << c.name;
        EXPECT_EQ(std::count_if(wire.begin(), wire.end(), [](const std::string& l) { return l[0] == 'w'; }), 1)
            << c.name;
        EXPECT_EQ(platform::com::CLng(Element(ctlProtect::kAccessRightsPath).TransientValue),
                  frame::SimulatedDevice::kAccessSpecialist | frame::SimulatedDevice::kAccessService)
            << c.name;
        EXPECT_TRUE(platform::com::Identical(Element(ctlProtect::kWriteLockingPath).TransientValue, lock)) << c.name;
        ExpectCodeGone(c.name);
    }
}

TEST_F(ProtectPage, CodeClickedWhileTheLockIsWrittenIsNotSentAndLeaves) {
    Answer(kYes);
    ASSERT_TRUE(Click(Protect().cmdWriteLockActivate));
    ASSERT_TRUE(TypeCode(kCode));
    Answer(kYes);
    ASSERT_TRUE(Click(Protect().cmdServiceCode));
    Settle();
    const Lines wire = Wire();
    ASSERT_FALSE(wire.empty());
    EXPECT_EQ(wire[0], WriteOf(ctlProtect::kWriteLockingPath, "00 00"));
    EXPECT_EQ(std::count_if(wire.begin(), wire.end(), [](const std::string& l) { return l[0] == 'w'; }), 1);
    ExpectCodeGone("group busy");
}

TEST_F(ProtectPage, ClosingWithoutACodeLeavesTheDataSetUnmodified) {
    Params().Modified(false);
    ASSERT_TRUE(frame->Close(*session));
    EXPECT_FALSE(Params().Modified());
}

TEST_F(ProtectPage, WriteLockOnAndOffWithTheDiagnosisReadInTheSameTransfer) {
    struct Case {
        platform::P<platform::ui::CommandButton> button;
        const char* bytes;
        bool locked;
    } cases[] = {{Protect().cmdWriteLockActivate, "00 00", true}, {Protect().cmdWriteLockDeactivate, "09 99", false}};
    for (const auto& c : cases) {
        platform::app::MessageBoxHandler::Instance().Clear();
        Answer(kYes);
        ASSERT_TRUE(Click(c.button));
        Settle();
        EXPECT_EQ(Wire(), (Lines{WriteOf(ctlProtect::kWriteLockingPath, c.bytes), ReadOf("PHYS/DIAGNOSIS"),
                                 ReadOf(ctlProtect::kWriteLockingPath)}));
        EXPECT_EQ(Device().IsWriteLocked(), c.locked);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].prompt, "Carry out \"" + c.button->Caption() + "\" on the device now?");
    }
}

// After an upload and a save, the mark follows the lock the data set holds
// against the one the stored project holds (unlocked): a lock sent marks
// it, and the release asks the frame to save; unlocked again, it is as saved.
TEST_F(ProtectPage, WriteLockSentAfterASaveMarksTheDataSetWhileItDiffersFromTheStoredOne) {
    using Button = platform::P<platform::ui::CommandButton> ctlProtect::*;
    struct Case {
        const char* name;
        std::vector<Button> clicks;
        int16_t held;
        bool marked;
    } cases[] = {
        {"locked", {&ctlProtect::cmdWriteLockActivate}, ctlProtect::kLock, true},
        {"locked and unlocked", {&ctlProtect::cmdWriteLockActivate, &ctlProtect::cmdWriteLockDeactivate},
         ctlProtect::kUnlock, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            SetUp();
        }
        UploadAndSave();
        ASSERT_EQ(platform::com::CLng(Element(ctlProtect::kWriteLockingPath).TransientValue), ctlProtect::kUnlock);
        for (const Button button : c.clicks) {
            Answer(kYes);
            ASSERT_TRUE(Click(Protect().*button));
            Settle();
        }
        EXPECT_EQ(Device().IsWriteLocked(), c.held == ctlProtect::kLock);
        EXPECT_EQ(platform::com::CLng(Element(ctlProtect::kWriteLockingPath).TransientValue), c.held);
        EXPECT_EQ(Params().Modified(), c.marked);
        EXPECT_EQ(SaveRequestsAtRelease(), c.marked ? 1u : 0u);
    }
}

TEST_F(ProtectPage, LockClickedWhileTheCycleReadsTheLockWritesTheLock) {
    const Lines wire = LockWhileTheCycleReads();
    EXPECT_NE(std::find(wire.begin(), wire.end(), ReadOf(ctlProtect::kWriteLockingPath)), wire.end());
    EXPECT_NE(std::find(wire.begin(), wire.end(), WriteOf(ctlProtect::kWriteLockingPath, "00 00")), wire.end());
    EXPECT_TRUE(Device().IsWriteLocked());
}

// After a save, the cycle's read of the lock lands between the click and the
// write: the lock the device took is apart from the stored project (unlocked),
// so the data set is marked and the release asks for a save.
TEST_F(ProtectPage, LockWrittenAfterTheCyclesReadMarksASavedDataSet) {
    UploadAndSave();
    Wire();
    const Lines wire = LockWhileTheCycleReads();
    const auto read = std::find(wire.begin(), wire.end(), ReadOf(ctlProtect::kWriteLockingPath));
    const auto write = std::find(wire.begin(), wire.end(), WriteOf(ctlProtect::kWriteLockingPath, "00 00"));
    ASSERT_NE(write, wire.end());
    ASSERT_LT(read, write);
    EXPECT_TRUE(Device().IsWriteLocked());
    EXPECT_EQ(platform::com::CLng(Element(ctlProtect::kWriteLockingPath).TransientValue), ctlProtect::kLock);
    EXPECT_TRUE(Params().Modified());
    EXPECT_EQ(SaveRequestsAtRelease(), 1u);
}

TEST_F(ProtectPage, LockedDeviceRefusesTheCodeAndNoLeavesTheLockAsItWas) {
    Answer(kYes);
    ASSERT_TRUE(Click(Protect().cmdWriteLockActivate));
    Settle();
    Wire();
    ASSERT_TRUE(TypeCode(kCode));
    Answer(kYes);
    ASSERT_TRUE(Click(Protect().cmdServiceCode));
    Settle();
    const Lines wire = Wire();
    ASSERT_FALSE(wire.empty());
    EXPECT_EQ(wire[0], WriteOf(ctlProtect::kServicePasswordPath, "53 45 52 56 49 43 45 34 32") + " !181");
    ExpectCodeGone("refused by the device");

    Answer(kNo);
    ASSERT_TRUE(Click(Protect().cmdWriteLockDeactivate));
    Settle();
    EXPECT_TRUE(Wire().empty());
    EXPECT_EQ(platform::com::CLng(Element(ctlProtect::kWriteLockingPath).TransientValue), ctlProtect::kLock);
}

TEST_F(ProtectPage, ReadMarksTheFourElementsAlsoWhenTheUploadIsRefused) {
    const char* paths[] = {ctlProtect::kServicePasswordPath, ctlProtect::kAccessRightsPath,
                           ctlProtect::kWriteLockingPath, "PHYS/DIAGNOSIS"};
    ASSERT_TRUE(Click(Protect().cmdRead));
    Settle();
    Lines wire = Wire();
    std::sort(wire.begin(), wire.end());
    Lines expected;
    for (const char* path : paths) expected.push_back(ReadOf(path));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(wire, expected);

    ASSERT_TRUE(frame->Disconnect());
    ASSERT_TRUE(Click(Protect().cmdRead));
    for (const char* path : paths) EXPECT_NE(Element(path).StatusFlags() & 16, 0) << path;
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 0);
    EXPECT_EQ(Boxes()[0].prompt, "The values could not be read from the device. Check the connection and try again.");
}

TEST_F(ProtectPage, LockNoticeLeavesTheFourButtonsEnabled) {
    for (const bool locked : {true, false, true}) {
        Protect().LockStateChanged(locked);
        for (const auto& b : {Protect().cmdWriteLockActivate, Protect().cmdWriteLockDeactivate, Protect().cmdRead,
                              Protect().cmdServiceCode})
            EXPECT_TRUE(b->Enabled()) << b->Name << locked;
        EXPECT_EQ(session->Row("ctlProtect.ctlParameter.0")->ReadOnly(), locked);
    }
}

// With the trace on, in a component folder of the test's own.
class ProtectPageTraced : public ProtectPage {
protected:
    void SetUp() override {
        const std::filesystem::path source = std::filesystem::path(DTM_TEST_DATA_DIR) / ".." / "..";
        for (const char* dir : {"XMLData", "Resources"})
            std::filesystem::copy(source / dir, folder.Dir() / dir,
                                  std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        folder.WriteIni("[TimeCritical]\nTrace=ExternalFile\n[ChannelAssignment]\nTrace=ExternalFile\n");
        ProtectPage::SetUp();
    }
    std::string Saved() {
        const std::string file = (folder.Dir() / "data set.dtm").string();
        EXPECT_TRUE(frame->Session().SaveToFile(file));
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // Saves the data set and asks for both parameter documents and the online
    // window's documentation (each holds the code's element); none of them and
    // neither trace may hold the code.
    void ExpectCodeNowhere(const std::string& when) {
        auto& dtm = *frame->Session().Dtm();
        auto& parameter = dynamic_cast<platform::fdt::IDtmParameter&>(dtm);
        const std::string saved = Saved();
        const std::string document = parameter.IDtmParameter_GetParameters("");
        const std::string block = parameter.IDtmParameter_GetParameters("PHYS/");
        const std::string documentation = dynamic_cast<platform::fdt::IDtmDocumentation&>(dtm)
                                               .IDtmDocumentation_GetDocumentation(
                                                   "<FDT><FunctionCall functionId=\"10\"/></FDT>");
        for (const auto& [what, text] : {std::pair{"data set", saved}, std::pair{"parameter document", document},
                                        std::pair{"block document", block},
                                        std::pair{"documentation", documentation}}) {
            EXPECT_NE(text.find("SERVICE_PASSWORD"), std::string::npos) << what << " " << when;
            EXPECT_EQ(text.find(kCode), std::string::npos) << what << " " << when;
        }
        for (const char* trace : {"TraceInfoFile.txt", "ChannelTraceFile.txt"})
            EXPECT_EQ(folder.Read(trace).find(kCode), std::string::npos) << trace << " " << when;
    }
    ComponentFolder folder;
};

TEST_F(ProtectPageTraced, CodeIsInNoDataSetDocumentDocumentationOrTrace) {
    for (const int32_t answer : {kNo, kYes}) {
        ASSERT_TRUE(TypeCode(kCode));
        Answer(answer);
        ASSERT_TRUE(Click(Protect().cmdServiceCode));
        Settle();
        ExpectCodeGone(answer == kYes ? "sent" : "declined");
        ExpectCodeNowhere(answer == kYes ? "sent" : "declined");
    }
    EXPECT_NE(folder.Read("TraceInfoFile.txt").find("ctlProtect-cmdServiceCode_Click"), std::string::npos);
    EXPECT_NE(folder.Read("ChannelTraceFile.txt").find("IDtmParameter_GetParameters"), std::string::npos);
}

TEST_F(ProtectPageTraced, CodeTypedAndNeverSentIsInNoDataSetDocumentDocumentationOrTrace) {
    // Typed on the protection page, the data set saved while it is there.
    ASSERT_TRUE(TypeCode(kCode));
    ExpectCodeNowhere("typed and saved");

    // Typed on the profile view's row, which shows no code.
    auto profile = frame->Open(8);
    ASSERT_NE(profile, nullptr);
    auto row = profile->Row("@" + std::string(ctlProtect::kServicePasswordPath));
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(platform::ctl::RowInput::Type(*row, "SERVICE42") && platform::ctl::RowInput::Commit(*row));
    EXPECT_EQ(platform::com::CStr(Code().TransientValue), kCode);
    EXPECT_EQ(profile->Snapshot().find(kCode), std::string::npos);
    EXPECT_EQ(profile->Snapshot({}, "", true).find(kCode), std::string::npos);
    ExpectCodeNowhere("typed on the profile view");
    ASSERT_TRUE(frame->Close(*profile));
    ExpectCodeNowhere("profile view closed");

    // Typed on the protection page, the window closed.
    ASSERT_TRUE(TypeCode(kCode));
    ASSERT_TRUE(frame->Close(*session));
    ExpectCodeGone("window closed");
    ExpectCodeNowhere("window closed");
}

TEST_F(ProtectPageTraced, ForgottenCodeLeavesASavedDataSetSaved) {
    Saved();
    ASSERT_EQ(platform::com::CLng(Element("~/DataStatus").TransientValue), 0);
    ASSERT_TRUE(TypeCode(kCode));
    // The data set never keeps the code: typing one changes nothing it stores.
    EXPECT_EQ(platform::com::CLng(Element("~/DataStatus").TransientValue), 0);
    Answer(kNo);
    ASSERT_TRUE(Click(Protect().cmdServiceCode));
    Settle();
    ExpectCodeGone("declined");
    EXPECT_EQ(platform::com::CLng(Element("~/DataStatus").TransientValue), 0);
}

TEST_F(ProtectPageTraced, StoredDataSetHoldingACodeLoadsWithoutIt) {
    // A data set stored before the code was kept out of it.
    std::string saved = Saved();
    const std::string blanks = "         ";
    const size_t entry = saved.find(ctlProtect::kServicePasswordPath);
    ASSERT_NE(entry, std::string::npos);
    const size_t at = saved.find(blanks, entry);
    ASSERT_NE(at, std::string::npos);
    saved.replace(at, blanks.size(), kCode);
    const std::string file = (folder.Dir() / "old data set.dtm").string();
    std::ofstream(file, std::ios::binary) << saved;
    frame::FrameSession stored;
    ASSERT_TRUE(stored.StartStored(frame->Registry(), file).loaded);
    const auto& code = *stored.Context()->Parameters()->Item(ctlProtect::kServicePasswordPath);
    EXPECT_EQ(platform::com::CStr(code.TransientValue()), "         ");
    EXPECT_EQ(platform::com::CStr(code.PersistentValue()), "         ");
    const std::string again = (folder.Dir() / "saved again.dtm").string();
    ASSERT_TRUE(stored.SaveToFile(again));
    std::ifstream in(again, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}).find(kCode), std::string::npos);
    stored.Release();
}

}  // namespace
}  // namespace dtm::testing
