#pragma once
// A page registered with the GUI registry that answers its close as told and
// counts the parameter-set notices it gets.
#include "platform/rt/IPrivateGUI.h"

namespace dtm::testing {

class StubPage : public platform::rt::IPrivateGUI {
public:
    bool closes = true;
    int parameterSetChanges = 0;
    bool CloseGUI() override { return closes; }
    void LockStateChanged(bool) override {}
    void ParameterChanged(const platform::P<platform::rt::IPrivateDataElement>&) override {}
    void ParameterSetChanged() override { ++parameterSetChanges; }
    void ValidateParameters() override {}
    void SetLanguage(int32_t) override {}
};

}  // namespace dtm::testing
