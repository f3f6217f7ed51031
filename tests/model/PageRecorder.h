#pragma once
// A page registered with an instance's GUI registry that counts the change
// notices it is sent, per element path.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateDataElement.h"
#include "platform/rt/IPrivateGUI.h"

namespace dtm::testing {

class PageRecorder : public platform::rt::IPrivateGUI {
public:
    static std::shared_ptr<PageRecorder> RegisterWith(const platform::rt::DTMContext& ctx) {
        auto page = std::make_shared<PageRecorder>();
        ctx.GuiRegistry()->RegisterGUI("recorder", page, true);
        return page;
    }

    bool CloseGUI() override { return true; }
    void LockStateChanged(bool) override {}
    void ParameterChanged(const platform::P<platform::rt::IPrivateDataElement>& element) override {
        changed.push_back(element->Name());
    }
    void ParameterSetChanged() override {}
    void ValidateParameters() override {}
    void SetLanguage(int32_t) override {}

    int Notices(const std::string& path) const {
        return static_cast<int>(std::count(changed.begin(), changed.end(), path));
    }

    std::vector<std::string> changed;
};

}  // namespace dtm::testing
