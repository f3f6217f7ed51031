#pragma once
// The measured values and diagnosis windows on the test frame, connected to
// the simulated device: the device's wire log, the status bar's cycle group,
// elements by path and a page's controls by name.
#include <string>
#include <utility>
#include <vector>

#include "model/elements/clsDataElement.h"
#include "pages/framework/ctlStatus.h"
#include "pages/parameterisation/ParamPagesFixture.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/TransGrp.h"
#include "platform/rt/TransRequest.h"

namespace dtm::testing {

class MeasurementFixture : public ParamPagesFixture {
protected:
    static constexpr int64_t kTick = 4000;
    using Address = std::pair<int, int>;

    // Connected and online (an upload makes the connection), so that the
    // status bar starts its cycle when the window opens.
    void GoOnline() {
        ASSERT_TRUE(frame->Connect());
        ASSERT_TRUE(frame->Session().Upload().ok);
    }
    static void Advance(int64_t ms) { platform::app::EventLoop::Instance().Advance(ms); }
    clsDataElement& El(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }
    Address AddressOf(const std::string& path) const {
        const auto& el = El(path);
        return {el.Slot, el.index};
    }
    size_t LogSize() { return frame->Device().Log().size(); }
    // The addresses of the device transactions since `from` (reads or writes).
    std::vector<Address> Transactions(size_t from, bool writes = false) {
        std::vector<Address> addresses;
        const auto& log = frame->Device().Log();
        for (size_t i = from; i < log.size(); ++i)
            if (log[i].request.write == writes) addresses.emplace_back(log[i].request.slot, log[i].request.index);
        return addresses;
    }
    // The paths the status bar's cycle group holds, in request order.
    static std::vector<std::string> CycleRequests(const ctlStatus& status) {
        std::vector<std::string> paths;
        for (const auto& request : status.ctlCycle->CycleGroup()->Group().Requests())
            paths.push_back(request->DataElement->Name());
        return paths;
    }
    template <class T>
    static platform::P<T> Control(const platform::ui::UserControl& page, const std::string& name) {
        return std::dynamic_pointer_cast<T>(page.Controls().Item(name));
    }
};

}  // namespace dtm::testing
