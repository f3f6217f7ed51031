#pragma once
// The windows that send commands, each opened by its function id on the test
// frame, connected to the simulated device, with its status bar's cycle off
// so that only what a test starts goes to the device.
#include <string>
#include <utility>

#include "ServicePageFixture.h"
#include "pages/measurement/ctlDiagnosis.h"
#include "pages/service/ctlAddress.h"
#include "pages/service/ctlOnline.h"
#include "platform/com/PropertyBag.h"
#include "platform/ui/Input.h"

namespace dtm::testing {

class CommandWindowFixture : public ServicePageFixture {
protected:
    void SetUp() override {
        ServicePageFixture::SetUp();
        ConnectDevice();
    }
    // Each case of a table after the first starts on a fresh fixture.
    void StartCase(bool& first) {
        if (std::exchange(first, false)) return;
        TearDown();
        SetUp();
    }
    static void SelectTab(platform::ui::TabStrip& tabs, const std::string& key) {
        for (const auto& tab : tabs.Tabs())
            if (tab->Key() == key) {
                ASSERT_TRUE(platform::ui::Input::ClickTab(tabs, tab->Index())) << key;
                return;
            }
        FAIL() << "no tab " << key;
    }
    template <class Window>
    platform::P<Window> OpenWindow(int32_t function) {
        const auto window = OpenPage<Window>(function);
        EXPECT_NE(window, nullptr);
        if (!window) return nullptr;
        Settle();
        window->ctlStatus->ctlCycle->chkCycle->Value(0);
        Settle();
        return window;
    }
    // A button of a tab page of the online window (function 10), opened
    // anew, its tab (and the reset page's tab `frame`, unless empty) chosen.
    platform::P<platform::ui::CommandButton> OnlineButton(const char* page, const char* frame, const char* button,
                                                          int16_t index = -1) {
        const auto online = OpenWindow<ctlOnline>(10);
        if (!online) return nullptr;
        SelectTab(*online->TabStrip, page);
        auto& tabPage = dynamic_cast<platform::ui::UserControl&>(*online->Controls().Item(page));
        if (*frame) SelectTab(*online->ctlReset->TabStrip, frame);
        return std::dynamic_pointer_cast<platform::ui::CommandButton>(
            index < 0 ? tabPage.Controls().Item(button) : tabPage.Controls().Item(button, index));
    }
    // The reset button of a new bus address page (function 9).
    platform::P<platform::ui::CommandButton> AddressPageReset() {
        const auto page = OpenWindow<ctlAddress>(9);
        return page ? page->cmdAddrReset : nullptr;
    }
    // The acknowledgement of a new diagnosis window (function 5), its details tab chosen.
    platform::P<platform::ui::CommandButton> DiagnosisAcknowledge() {
        const auto page = OpenWindow<ctlDiagnosis>(5);
        if (!page) return nullptr;
        SelectTab(*page->TabStrip, "frmDiagDetails");
        return page->cmdQuitErr;
    }
    // The data set saved with the element at `value`, device and stored value alike.
    void SaveWith(const std::string& path, const platform::Variant& value) {
        auto& el = Element(path);
        el.TransientValue = el.DeviceValue = el.PersistentValue = value;
        platform::com::PropertyBag bag;
        ASSERT_TRUE(frame->Session().Save(bag));
        ASSERT_FALSE(Params().Modified());
    }
    void ScheduleRefusal(const std::string& path) {
        const auto& el = Element(path);
        Device().ScheduleAddressFailure(static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index), true,
                                        frame::SimulatedDevice::kStateConflict);
    }
};

}  // namespace dtm::testing
