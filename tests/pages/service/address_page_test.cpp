// The bus address page against the simulated device: the rows' lock by the
// channels, taking the new address over, the address reset (declined,
// refused by the device, taken), the level its buttons need, and Cancel
// with the values it restores, also beside the online window's address reset.
#include "ServicePageFixture.h"
#include "core/channels/clsChannel.h"
#include "frame/FrameContainer.h"
#include "pages/service/ctlAddress.h"
#include "pages/service/ctlReset.h"
#include "platform/app/ErrorSink.h"
#include "platform/ctl/RowInput.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm::testing {
namespace {

using platform::Variant;

class AddressPage : public ServicePageFixture {
protected:
    void SetUp() override {
        ServicePageFixture::SetUp();
        ConnectDevice();
    }
    platform::P<ctlAddress> Open() { return OpenPage<ctlAddress>(9); }
    int32_t Address() const { return platform::com::CLng(Element(ctlAddress::kAddressPath).TransientValue); }
    int32_t NewAddress() const { return platform::com::CLng(Element(ctlAddress::kNewAddressPath).TransientValue); }
    void SetNewAddress(int16_t value) { Element(ctlAddress::kNewAddressPath).TransientValue = Variant::Int(value); }
    std::string ResetWrite() const { return WriteOf("PHYS/FACTORY_RESET", "0A 98"); }
    void LockChannel(int32_t i, bool locked) const {
        const auto channel = std::dynamic_pointer_cast<clsChannel>(Params().Channels()->Item(i));
        channel->ProfibusChannelParameter()->ChannelLocked(locked);
    }
};

TEST_F(AddressPage, BothRowsAreLockedExactlyWhenAChannelReportsItsLock) {
    struct Case {
        const char* name;
        std::vector<int32_t> locked;
        bool readOnly;
    };
    const Case cases[] = {{"none", {}, false}, {"channel 16 only", {16}, true}, {"channels 1 and 2", {1, 2}, true}};
    const int32_t dataSetState = Params().QueryDataSetState();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int32_t i = 1; i <= 16; ++i) LockChannel(i, false);
        for (const int32_t i : c.locked) LockChannel(i, true);
        const auto page = Open();
        EXPECT_EQ(page->ctlParameter1->ReadOnly(), c.readOnly);
        EXPECT_EQ(page->ctlParameter2->ReadOnly(), c.readOnly);
        EXPECT_EQ((Element(ctlAddress::kAddressPath).StatusFlags() & 1) != 0, c.readOnly);
        EXPECT_TRUE(frame->Close(*sessions.back()));
    }
    EXPECT_EQ(Params().QueryDataSetState(), dataSetState);  // flags only: the data set's mark stays
}

// A new address in the range is taken over without a question, also the one
// held already; one out of the range is refused with a message, so that the
// DTM never addresses it and no save stores it.
TEST_F(AddressPage, ChangeTakesANewAddressInItsRangeOverWithoutQuestion) {
    const auto page = Open();
    const struct {
        int16_t newAddress;
        int32_t address;  // after the click
        bool refused;
    } cases[] = {{45, 45, false}, {45, 45, false}, {0, 0, false}, {126, 126, false},
                 {200, 126, true}, {-5, 126, true}, {127, 126, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.newAddress);
        const size_t boxes = Boxes().size();
        SetNewAddress(c.newAddress);
        EXPECT_TRUE(Click(page->cmdChange));
        EXPECT_EQ(Address(), c.address);
        ASSERT_EQ(Boxes().size(), boxes + (c.refused ? 1 : 0));
        if (c.refused) {
            EXPECT_EQ(Boxes().back().buttons, 48);
            EXPECT_EQ(Boxes().back().prompt, "The new bus address " + std::to_string(c.newAddress) +
                                                 " lies outside the bus addresses 0 to 126: the bus address was "
                                                 "not changed.");
        }
        EXPECT_NE(page->ctlParameter1->StatusIconKey(), "RangeErr");
    }
    EXPECT_TRUE(Wire().empty());
}

TEST_F(AddressPage, BelowLevelTwoNeitherButtonChangesAnything) {
    const auto page = Open();
    SetNewAddress(45);
    const Variant command = Element("PHYS/FACTORY_RESET").TransientValue;
    Level(1);
    EXPECT_TRUE(Click(page->cmdChange));
    EXPECT_TRUE(Click(page->cmdAddrReset));
    Settle();
    ASSERT_EQ(Boxes().size(), 2u);
    for (const auto& box : Boxes()) EXPECT_EQ(box.buttons, 48);
    EXPECT_EQ(Address(), 126);
    EXPECT_TRUE(platform::com::Equals(Element("PHYS/FACTORY_RESET").TransientValue, command));
    EXPECT_TRUE(Wire().empty());
}

TEST_F(AddressPage, TheResetMovesTheAddressTo126OnlyWhenTheDeviceTookIt) {
    const auto page = Open();
    SetNewAddress(45);
    EXPECT_TRUE(Click(page->cmdChange));

    const Variant command = Element("PHYS/FACTORY_RESET").TransientValue;
    Answer(kNo);
    EXPECT_TRUE(Click(page->cmdAddrReset));
    Settle();
    EXPECT_TRUE(platform::com::Identical(Element("PHYS/FACTORY_RESET").TransientValue, command));
    EXPECT_EQ(Address(), 45);
    EXPECT_TRUE(Wire().empty());

    Device().ScheduleAddressFailure(0, 35, true, frame::SimulatedDevice::kStateConflict);
    Answer(kYes);
    EXPECT_TRUE(Click(page->cmdAddrReset));
    Settle();
    EXPECT_EQ(Address(), 45);
    EXPECT_EQ(Wire().front(), ResetWrite() + " !" + std::to_string(frame::SimulatedDevice::kStateConflict));

    Answer(kYes);
    EXPECT_TRUE(Click(page->cmdAddrReset));
    Settle();
    const auto wire = Wire();
    ASSERT_GE(wire.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(wire.begin(), wire.begin() + 3),
              (std::vector<std::string>{ResetWrite(), ReadOf("PHYS/DIAGNOSIS"), ReadOf("PHYS/DIAGNOSIS_EXTENSION")}));
    const auto& address = Element(ctlAddress::kAddressPath);
    for (const Variant* copy :
         {&address.TransientValue.Value(), &address.DeviceValue.Value(), &address.PersistentValue.Value()})
        EXPECT_EQ(platform::com::CLng(*copy), 126);
    EXPECT_EQ(NewAddress(), 45);
    EXPECT_EQ(Device().BusAddress(), 126);

    // Cancel now restores 126, not the address shown before the reset.
    EXPECT_TRUE(Click(page->cmdCancel));
    EXPECT_EQ(Address(), 126);
}

TEST_F(AddressPage, CancelRestoresTheValuesOfTheLastValidationOrOfTheOpening) {
    auto page = Open();
    SetNewAddress(45);
    EXPECT_TRUE(Click(page->cmdChange));
    frame->Session().Container()->closeAnswer = false;
    EXPECT_TRUE(Click(page->cmdCancel));  // no validation came: the values of the opening
    EXPECT_EQ(Address(), 126);
    EXPECT_EQ(NewAddress(), 126);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 0);
    EXPECT_TRUE(page->Initialised());

    SetNewAddress(45);
    EXPECT_TRUE(Click(page->cmdChange));
    page->ValidateParameters();
    SetNewAddress(60);
    EXPECT_TRUE(Click(page->cmdChange));
    frame->Session().Container()->closeAnswer = true;
    EXPECT_TRUE(Click(page->cmdCancel));
    EXPECT_EQ(Address(), 45);
    EXPECT_EQ(NewAddress(), 45);
    EXPECT_EQ(Boxes().size(), 1u);
    const auto requests = frame->Session().Container()->EventsNamed("CloseRequest");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests.back().args, std::vector<std::string>{page->InvokeId()});
}

// The frame that grants the close request releases the page after the request
// has returned; one that refuses it leaves the page open.
TEST_F(AddressPage, CancelClosesThePageWhenTheFrameGrantsTheRequest) {
    for (const bool granted : {true, false}) {
        SCOPED_TRACE(granted);
        frame->Session().Container()->closeAnswer = granted;
        const auto page = Open();
        const std::string id = page->InvokeId();
        EXPECT_TRUE(Click(page->cmdCancel));
        EXPECT_TRUE(page->Initialised());  // not from inside the request
        Settle();
        EXPECT_EQ(Ctx().GuiRegistry()->FindGui(id) != nullptr, !granted);
        EXPECT_EQ(sessions.back()->Dropped(), granted);
        EXPECT_EQ(page->Initialised(), !granted);
        if (!granted) {
            EXPECT_TRUE(frame->Close(*sessions.back()));
        }
    }
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

// Cancel beside other windows: function 9 opens with the address 12 and the
// new address 20 (both saved) while function 10 is open too. Cancel takes back
// what the page itself changed (its buttons, its rows) and keeps what came
// from elsewhere: the address 126 the device took from function 10's reset,
// a new address the frame set through its parameter document.
enum class Step { ResetElsewhere, FrameSetsNewAddress77, TypeNewAddress45, Change, TypeAddress30 };

struct CancelCase {
    const char* name;
    std::vector<Step> steps;
    int32_t address, newAddress;  // after Cancel
};

void PrintTo(const CancelCase& c, std::ostream* out) { *out << c.name; }

class AddressCancelBesideOtherWindows : public AddressPage, public ::testing::WithParamInterface<CancelCase> {
protected:
    void SetUp() override {
        AddressPage::SetUp();
        for (const auto& [path, value] : {std::pair{ctlAddress::kAddressPath, 12}, {ctlAddress::kNewAddressPath, 20}}) {
            auto& el = Element(path);
            el.TransientValue = el.DeviceValue = el.PersistentValue = Variant::Int(static_cast<int16_t>(value));
        }
        page = Open();
        ASSERT_NE(page, nullptr);
        online = OpenPage<ctlOnline>(10);
        ASSERT_NE(online, nullptr);
        Settle();
        online->ctlStatus->ctlCycle->chkCycle->Value(0);
        ASSERT_TRUE(platform::ui::Input::ClickTab(*online->TabStrip, 2));
        auto& reset = *online->ctlReset;
        ASSERT_TRUE(platform::ui::Input::ClickTab(
            *reset.TabStrip, reset.cmdAddrReset->Container() == reset.frmCMReset.get() ? 1 : 2));
        Settle();
        Wire();
    }
    void Run(Step step) {
        namespace RowInput = platform::ctl::RowInput;
        switch (step) {
        case Step::ResetElsewhere:
            Answer(kYes);
            ASSERT_TRUE(Click(online->ctlReset->cmdAddrReset));
            Settle();
            ASSERT_EQ(Address(), 126);
            ASSERT_EQ(Device().BusAddress(), 126);
            break;
        case Step::FrameSetsNewAddress77: {
            auto& parameter = dynamic_cast<platform::fdt::IDtmParameter&>(*frame->Session().Dtm());
            ASSERT_TRUE(parameter.IDtmParameter_SetParameters(
                "", "<FDT><DtmParameter><ParameterSet><fdt:DtmVariable name=\"~/NewAddress\"><fdt:Value>"
                    "<fdt:Display string=\"77\"/></fdt:Value></fdt:DtmVariable></ParameterSet></DtmParameter></FDT>"));
            ASSERT_EQ(NewAddress(), 77);
            break;
        }
        case Step::TypeNewAddress45:
            ASSERT_TRUE(RowInput::Type(*page->ctlParameter2, "45"));
            ASSERT_TRUE(RowInput::Commit(*page->ctlParameter2));
            ASSERT_EQ(NewAddress(), 45);
            break;
        case Step::Change:
            ASSERT_TRUE(Click(page->cmdChange));
            break;
        case Step::TypeAddress30:
            ASSERT_TRUE(RowInput::Type(*page->ctlParameter1, "30"));
            ASSERT_TRUE(RowInput::Commit(*page->ctlParameter1));
            ASSERT_EQ(Address(), 30);
            break;
        }
    }
    platform::P<ctlAddress> page;
    platform::P<ctlOnline> online;
};

TEST_P(AddressCancelBesideOtherWindows, TakesBackOnlyWhatThePageChanged) {
    const CancelCase& c = GetParam();
    for (const Step step : c.steps) {
        Run(step);
        if (HasFatalFailure()) return;
    }
    Wire();
    EXPECT_TRUE(Click(page->cmdCancel));
    Settle();
    EXPECT_EQ(Address(), c.address);
    EXPECT_EQ(NewAddress(), c.newAddress);
    if (c.address == 126) {
        // The device sits at 126 and the DTM addresses it there, as a saved value.
        EXPECT_EQ(Device().BusAddress(), 126);
        EXPECT_EQ(platform::com::CLng(Element(ctlAddress::kAddressPath).PersistentValue), 126);
    }
    EXPECT_TRUE(Wire().empty());  // Cancel sends nothing
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressCancelBesideOtherWindows,
    ::testing::Values(
        CancelCase{"ResetElsewhere", {Step::ResetElsewhere}, 126, 20},
        CancelCase{"OwnChangeThenResetElsewhere", {Step::TypeNewAddress45, Step::Change, Step::ResetElsewhere}, 126, 20},
        CancelCase{"ResetElsewhereThenOwnChange", {Step::ResetElsewhere, Step::TypeNewAddress45, Step::Change}, 126, 20},
        CancelCase{"ResetElsewhereThenOwnRowEdit", {Step::ResetElsewhere, Step::TypeAddress30}, 126, 20},
        CancelCase{"OwnRowEditsOnly", {Step::TypeAddress30, Step::TypeNewAddress45}, 12, 20},
        CancelCase{"FrameSetsTheNewAddress", {Step::FrameSetsNewAddress77}, 12, 77},
        CancelCase{"FrameSetsTheNewAddressThenOwnRowEdit", {Step::FrameSetsNewAddress77, Step::TypeNewAddress45}, 12, 77}),
    [](const ::testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dtm::testing
