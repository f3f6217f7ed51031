// The reset page against the simulated device: its two tabs, the six reset
// commands on the wire with their read-backs, the bus address after a reset,
// the read buttons and the buttons by lock and user level.
#include <algorithm>
#include <optional>

#include "OnlineFixture.h"
#include "pages/service/ExecuteDeviceReset.h"
#include "platform/com/Variant.h"

namespace dtm::testing {
namespace {

using Lines = std::vector<std::string>;
using platform::Variant;

class ResetPage : public OnlineFixture {
protected:
    void SetUp() override {
        OnlineFixture::SetUp();
        ASSERT_TRUE(platform::ui::Input::ClickTab(*online->TabStrip, 2));
        SetAddress(5);
    }
    ctlReset& Reset() const { return *online->ctlReset; }
    void SetAddress(int16_t address) {
        auto& el = Element(ctlReset::kAddressPath);
        el.TransientValue = el.DeviceValue = el.PersistentValue = Variant::Int(address);
    }
    int32_t Address() const { return platform::com::CLng(Element(ctlReset::kAddressPath).TransientValue); }
    // The button, its tab selected.
    platform::P<platform::ui::CommandButton> Button(const std::string& name, std::optional<int16_t> index = {}) const {
        auto button = std::dynamic_pointer_cast<platform::ui::CommandButton>(
            index ? Reset().Controls().Item(name, *index) : Reset().Controls().Item(name));
        platform::ui::Input::ClickTab(*Reset().TabStrip, button->Container() == Reset().frmCMReset.get() ? 1 : 2);
        return button;
    }
    // The reads after a Physical Block reset, the runtime's read of the written value last.
    Lines PhysicalReadBack() const {
        return {ReadOf("PHYS/DIAGNOSIS"), ReadOf("PHYS/DIAGNOSIS_EXTENSION"), ReadOf(kFactoryResetPath)};
    }
};

TEST_F(ResetPage, TabsShowTheirFrame) {
    EXPECT_TRUE(Reset().frmCMReset->Visible());
    EXPECT_FALSE(Reset().frmRXDReset->Visible());
    ASSERT_TRUE(platform::ui::Input::ClickTab(*Reset().TabStrip, 2));
    EXPECT_FALSE(Reset().frmCMReset->Visible());
    EXPECT_TRUE(Reset().frmRXDReset->Visible());
    ASSERT_TRUE(platform::ui::Input::ClickTab(*Reset().TabStrip, 1));
    EXPECT_TRUE(Reset().frmCMReset->Visible());
    EXPECT_FALSE(Reset().frmRXDReset->Visible());
}

TEST_F(ResetPage, EachCommandGoesOnTheWireWithItsReadBackAndOnlyTheAddressResetMovesTheAddress) {
    struct Case {
        const char* button;
        const char* element;
        const char* bytes;
        const char* prompt;  // the value-list text named in the question
        bool physical;
        int32_t address;  // "~/Address" afterwards
    } cases[] = {
        {"cmdFactoryReset", kFactoryResetPath, "00 01", "Restore factory settings", true, 5},
        {"cmdWarmStart", kFactoryResetPath, "09 CA", "Warm start", true, 5},
        {"cmdAddrReset", kFactoryResetPath, "0A 98", "Reset bus address to 126", true, 126},
        {"cmdInstrReset", ctlReset::kResetsPath, "00", "Instrument reset", false, 5},
        {"cmdTotReset", ctlReset::kResetsPath, "01", "Totaliser reset", false, 5},
        {"cmdQuitErr", ctlReset::kResetsPath, "02", "Acknowledge errors", false, 5},
    };
    for (const auto& c : cases) {
        SetAddress(5);
        platform::app::MessageBoxHandler::Instance().Clear();
        Answer(kYes);
        ASSERT_TRUE(Click(Button(c.button))) << c.button;
        Advance(12000);  // a warm start's device restarts: its read-backs wait in vain
        const Lines wire = Wire();
        ASSERT_GE(wire.size(), 2u) << c.button;
        EXPECT_EQ(wire[0], WriteOf(c.element, c.bytes)) << c.button;
        const Lines readBack = c.physical ? PhysicalReadBack()
                                          : Lines{ReadOf(ctlReset::kConverterStatusPath), ReadOf(c.element)};
        ASSERT_EQ(wire.size(), 1 + readBack.size()) << c.button;
        for (size_t i = 0; i < readBack.size(); ++i)  // a warm start's read-backs go unanswered
            EXPECT_EQ(wire[1 + i].substr(0, readBack[i].size()), readBack[i]) << c.button;
        EXPECT_EQ(Address(), c.address) << c.button;
        ASSERT_EQ(Boxes().size(), 1u) << c.button;
        EXPECT_EQ(Boxes()[0].prompt, std::string("Send the command \"") + c.prompt + "\" to the device now?");
    }
    EXPECT_EQ(Device().BusAddress(), frame::SimulatedDevice::kDefaultBusAddress);
}

TEST_F(ResetPage, TheDiagnosisRowShowsTheRestartTheDeviceCarriedOut) {
    const auto row = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(Reset().Controls().Item("ctlParameter", 0));
    for (const auto& [button, text] : {std::pair{"cmdFactoryReset", "12:Restart (cold start) carried out"},
                                       std::pair{"cmdWarmStart", "11:New start-up (warm start) carried out"}}) {
        ASSERT_TRUE(Device().SetValue("PHYS/DIAGNOSIS", "00 00 00 00"));
        Answer(kYes);
        ASSERT_TRUE(Click(Button(button))) << button;
        Advance(12000);  // a warm start's read-backs go unanswered while the device restarts
        ASSERT_TRUE(Click(Button("cmdRead", 1)));
        Settle();
        EXPECT_EQ(row->DisplayText(), text) << button;
    }
}

TEST_F(ResetPage, AddressResetRefusedByTheDeviceLeavesTheAddress) {
    const auto& el = Element(kFactoryResetPath);
    Device().ScheduleAddressFailure(static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index), true, 0xB5);
    Answer(kYes);
    ASSERT_TRUE(Click(Button("cmdAddrReset")));
    Settle();
    EXPECT_EQ(Address(), 5);
    EXPECT_EQ(Device().BusAddress(), frame::SimulatedDevice::kInitialBusAddress);
}

TEST_F(ResetPage, RefusedAddressResetAfterATakenFactoryResetLeavesTheAddress) {
    // A warm start that the device took, then an address reset that it
    // refused: the refused write is judged by its own result.
    Answer(kYes);
    ASSERT_TRUE(Click(Button("cmdFactoryReset")));
    Settle();
    const auto& el = Element(kFactoryResetPath);
    Device().ScheduleAddressFailure(static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index), true, 0xB7);
    Answer(kYes);
    ASSERT_TRUE(Click(Button("cmdAddrReset")));
    Settle();
    EXPECT_EQ(Address(), 5);
}

TEST_F(ResetPage, NoLeavesTheElementAsItWasAndSendsNothing) {
    for (const auto& [button, path] :
         {std::pair{"cmdWarmStart", kFactoryResetPath}, std::pair{"cmdTotReset", ctlReset::kResetsPath}}) {
        const Variant before = Element(path).TransientValue;
        Answer(kNo);
        ASSERT_TRUE(Click(Button(button)));
        Settle();
        EXPECT_TRUE(Wire().empty()) << button;
        EXPECT_TRUE(platform::com::Identical(Element(path).TransientValue, before)) << button;
    }
}

TEST_F(ResetPage, SecondCommandWhileTheFirstRunsIsNotSentAndSaidAndTheNextTransferCarriesOnlyItsOwn) {
    Answer(kYes);
    ASSERT_TRUE(Click(Button("cmdFactoryReset")));
    ASSERT_TRUE(Click(Button("cmdAddrReset")));  // the group is busy: no question, a message
    Settle();
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].prompt, "A transfer of this window is still running: the command \"Reset bus address to 126\" "
                                 "was not sent. Try again when it has ended.");
    Lines expected = {WriteOf(kFactoryResetPath, "00 01")};
    for (const auto& read : PhysicalReadBack()) expected.push_back(read);
    EXPECT_EQ(Wire(), expected);
    EXPECT_EQ(Address(), 5);
    Answer(kYes);
    ASSERT_TRUE(Click(Button("cmdAddrReset")));
    Settle();
    expected[0] = WriteOf(kFactoryResetPath, "0A 98");
    EXPECT_EQ(Wire(), expected);  // the factory reset is not sent again
    EXPECT_EQ(Address(), 126);
}

TEST_F(ResetPage, ClickWhileACommandRunsLeavesTheCommandItSends) {
    // A second click while the transfer runs must not change what goes on the wire.
    struct Case {
        const char* first;
        const char* second;
        const char* element;
        const char* bytes;
    } cases[] = {
        {"cmdFactoryReset", "cmdAddrReset", kFactoryResetPath, "00 01"},
        {"cmdInstrReset", "cmdTotReset", ctlReset::kResetsPath, "00"},
    };
    for (const auto& c : cases) {
        const std::string name = c.second;
        Answer(kYes);
        ASSERT_TRUE(Click(Button(c.first))) << name;
        ASSERT_TRUE(Click(Button(c.second))) << name;
        Settle();
        const Lines wire = Wire();
        ASSERT_FALSE(wire.empty()) << name;
        EXPECT_EQ(wire[0], WriteOf(c.element, c.bytes)) << name;
        EXPECT_EQ(std::count_if(wire.begin(), wire.end(), [](const std::string& l) { return l[0] == 'w'; }), 1)
            << name;
        EXPECT_EQ(Address(), 5) << name;
    }
}

TEST_F(ResetPage, ReadButtonsUploadTheirElements) {
    for (const auto& [index, reads] :
         {std::pair{1, Lines{ReadOf("PHYS/DIAGNOSIS"), ReadOf("PHYS/DIAGNOSIS_EXTENSION"), ReadOf(kFactoryResetPath)}},
          std::pair{2, Lines{ReadOf(ctlReset::kConverterStatusPath), ReadOf(ctlReset::kResetsPath)}}}) {
        ASSERT_TRUE(Click(Button("cmdRead", static_cast<int16_t>(index)))) << index;
        Settle();
        Lines wire = Wire();
        std::sort(wire.begin(), wire.end());
        Lines expected = reads;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(wire, expected) << index;
    }
}

TEST_F(ResetPage, ResetButtonsFollowTheLockAndTheUserLevelAfterTheFirstLockNotice) {
    const std::vector<std::string> buttons = {"cmdFactoryReset", "cmdWarmStart", "cmdAddrReset",
                                              "cmdInstrReset",   "cmdTotReset",  "cmdQuitErr"};
    Ctx().UserInfo()->UserLevel(1);
    for (const auto& b : buttons) EXPECT_TRUE(Button(b)->Enabled()) << b;  // before any lock notice
    struct Case {
        int32_t level;
        bool locked, enabled;
    } cases[] = {{1, false, false}, {1, true, false}, {2, false, true}, {2, true, false}, {3, false, true}};
    for (const auto& c : cases) {
        Ctx().UserInfo()->UserLevel(c.level);
        Reset().LockStateChanged(c.locked);
        for (const auto& b : buttons) EXPECT_EQ(Button(b)->Enabled(), c.enabled) << b << c.level << c.locked;
        for (int16_t i : {1, 2}) EXPECT_TRUE(Reset().Controls().Item("cmdRead", i)->Enabled());
    }
}

TEST_F(ResetPage, ClickBelowLevelTwoIsRefusedAndRestoresThePreviousValue) {
    Ctx().UserInfo()->UserLevel(1);  // no lock notice yet: the buttons are enabled
    auto& command = Element(kFactoryResetPath);
    command.TransientValue = Variant::Int(0);
    ASSERT_TRUE(Click(Button("cmdAddrReset")));
    Settle();
    EXPECT_TRUE(Wire().empty());
    EXPECT_EQ(platform::com::CLng(command.TransientValue), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 48);
    EXPECT_EQ(Address(), 5);
}

TEST_F(ResetPage, DeviceResetRequestNamesACommandWithoutTextEmptyAndReportsAnUnreachableDevice) {
    ConfirmedGroupWriter writer;
    auto& command = Element(kFactoryResetPath);
    const Variant previous = command.TransientValue;
    command.TransientValue = Variant::Int(5);
    Answer(kNo);
    EXPECT_EQ(ExecuteDeviceReset(Reset(), frame->Session().Context(), writer, *Reset().TransferGroup(), previous),
              GroupWriteResult::Declined);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, "Send the command \"\" to the device now?");
    EXPECT_TRUE(platform::com::Identical(command.TransientValue, previous));

    ASSERT_TRUE(frame->Disconnect());
    command.TransientValue = Variant::Int(ctlReset::kAddressReset);
    Answer(kYes);
    EXPECT_EQ(ExecuteDeviceReset(Reset(), frame->Session().Context(), writer, *Reset().TransferGroup(), previous),
              GroupWriteResult::Refused);
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[2].buttons, 0);
    EXPECT_EQ(Boxes()[2].prompt, "The command could not be sent to the device. Check the connection and try again.");
    EXPECT_TRUE(Reset().TransferGroup()->Requests().empty());
    EXPECT_TRUE(platform::com::Identical(command.TransientValue, previous));
    Settle();
    EXPECT_EQ(Address(), 5);
}

TEST_F(ResetPage, FinishedProcessOfAnotherGroupLeavesTheAddress) {
    Answer(kYes);
    ASSERT_TRUE(Click(Button("cmdAddrReset")));
    Reset().OnProcessFinished(online->ctlProtect->TransferGroup()->GroupInvokeId(), Variant::Bool(true));
    EXPECT_EQ(Address(), 5);
    Settle();
    EXPECT_EQ(Address(), 126);
}

}  // namespace
}  // namespace dtm::testing
