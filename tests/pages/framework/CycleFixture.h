#pragma once
// The cyclic refresh without a running transfer: a group whose connection
// check, busy state and read results a test scripts, and which logs the calls
// the cycle makes on it; the elements of its requests are real model elements.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "FrameworkTest.h"
#include "frame/ModelInstance.h"
#include "model/elements/LanguageHelpers.h"
#include "model/PageRecorder.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/CycleGroup.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransGrp.h"

namespace dtm::testing {

using Log = std::vector<std::string>;

class ScriptedGroup : public ICycleGroup {
public:
    explicit ScriptedGroup(Log& log) : log_(log) {}

    int32_t connection = 0;
    bool busy = false;
    std::deque<int32_t> executeResults;  // 0 once they run out
    std::vector<platform::rt::El> requests;
    int executes = 0;

    platform::rt::TransGrp& Group() override { return *group_; }
    void InitGroup(const platform::P<platform::rt::DTMContext>&) override { log_.push_back("InitGroup"); }
    void ReleaseGroup() override { log_.push_back("ReleaseGroup"); }
    int32_t CheckConnection() override { return connection; }
    bool IsBusy() override { return busy; }
    int32_t ResetGroup() override {
        log_.push_back("ResetGroup");
        return 0;
    }
    int32_t Execute(const platform::P<platform::rt::IPrivateProcess>& callback) override {
        ++executes;
        log_.push_back(callback ? "Execute" : "Execute without callback");
        if (executeResults.empty()) return 0;
        const int32_t result = executeResults.front();
        executeResults.pop_front();
        return result;
    }
    std::vector<platform::rt::El> RequestElements(const platform::P<platform::rt::DTMContext>&) override {
        return requests;
    }

private:
    Log& log_;
    platform::P<platform::rt::TransGrp> group_ = std::make_shared<platform::rt::TransGrp>();
};

class CycleTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        model = frame::NewModelInstance();
        SetCycleGroupFactory([this] {
            auto group = std::make_shared<ScriptedGroup>(log);
            groups.push_back(group);
            return group;
        });
        recorder = PageRecorder::RegisterWith(*model.ctx);
    }
    void TearDown() override {
        SetCycleGroupFactory(NewTransGrpCycleGroup);
        FrameworkTest::TearDown();
    }

    platform::P<clsDataElement> Element(const std::string& path) const {
        return std::dynamic_pointer_cast<clsDataElement>(model.Parameters().Item(path));
    }
    Log TakeLog() {
        Log taken;
        taken.swap(log);
        return taken;
    }
    std::string Text(const std::string& key) const { return GetLangText(model.ctx, key); }

    frame::ModelInstance model;
    Log log;
    std::vector<platform::P<ScriptedGroup>> groups;
    platform::P<PageRecorder> recorder;
};

}  // namespace dtm::testing
