// The data-set state worked out from the elements written since the last
// count: through a session of transfers, cyclic reads, edits, a save and a
// load it gives what the walk over every element gives, and after a cyclic
// read it looks at the elements the read wrote, not at the whole model.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unistd.h>

#include "core/channels/SlaveBusParamSet.h"
#include "frame/PageFrame.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/DataSetState.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/UserInfo.h"
#include "platform/ui/Environment.h"

namespace dtm::frame {
namespace {

using platform::Variant;

class DataSetStateTallyTest : public ::testing::Test {
protected:
    DataSetStateTallyTest() {
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::app::ErrorSink::Instance().Clear();
        frame = std::make_unique<PageFrame>();
    }
    ~DataSetStateTallyTest() override {
        frame.reset();
        std::filesystem::remove(file);
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
    }

    platform::rt::Parameters& Params() const { return *frame->Ctx().Parameters(); }
    clsDataModel& Model() const { return DataModelOf(Params()); }
    clsDataElement& Element(const std::string& path) const { return *ElementAt(Params(), path); }
    // What the data set holds now: "~/DataStatus" and the validity.
    DataSetStateResult Now() const {
        return {static_cast<uint8_t>(platform::com::CLng(Element("~/DataStatus").TransientValue)),
                Params().DataSetState()};
    }
    DataSetStateResult Walk() const {
        std::vector<platform::P<clsDataElement>> sessionVariables;
        for (const char* path : kSessionVariablePaths) sessionVariables.push_back(ElementAt(Params(), path));
        return WalkDataSetState(frame->Session().Context(), Params(), Element("~/DataStatus"), sessionVariables);
    }
    // An edit as a page makes it: the value written, then the notice.
    void Edit(const std::string& path, const Variant& value) {
        Element(path).TransientValue = value;
        Params().NotifyChange(Params().Item(path), "");
    }
    // The window of a function opened and its cycle left to read for three
    // ticks (the cycle starts by itself once the connection is active).
    void ReadCyclically(int32_t functionId) {
        const auto window = frame->Open(functionId);
        ASSERT_NE(window, nullptr);
        for (int tick = 0; tick < 3; ++tick) platform::app::EventLoop::Instance().Advance(4000);
        EXPECT_TRUE(frame->Close(*window));
    }

    std::unique_ptr<PageFrame> frame;
    std::string file =
        (std::filesystem::temp_directory_path() / ("dtm_state_tally_" + std::to_string(::getpid()) + ".dataset"))
            .string();
};

TEST_F(DataSetStateTallyTest, ThroughASessionTheStateIsTheWalksAndCyclicReadsLookOnlyAtWhatTheyWrote) {
    ASSERT_TRUE(frame->Started());
    ASSERT_TRUE(frame->Connect());
    const auto tag = [this]() -> clsDataElement& { return Element("PHYS/TAG_DESC"); };
    const auto unitAlone = [this](int16_t unit) { Element("FUNC/1/AI/HI_HI_LIM").nTransientUnit = unit; };
    using Result = DataSetStateResult;
    struct Step {
        const char* name;
        std::function<void()> run;
        bool fewLookedAt;               // the step's last evaluation looked only at a few elements
        std::optional<Result> expected;  // beside the walk's, where the step is to change it
    };
    const Step steps[] = {
        {"upload", [this] { ASSERT_TRUE(frame->Session().Upload().ok); }, false, Result{1, 1}},
        {"measured values read", [this] { ReadCyclically(7); }, true, Result{1, 1}},
        {"diagnosis read", [this] { ReadCyclically(5); }, true, Result{1, 1}},
        {"simulation read", [this] { ReadCyclically(2); }, true, Result{1, 1}},
        {"online parameterisation read", [this] { ReadCyclically(10); }, true, Result{1, 1}},
        // Writes that no notice follows (a handler asked not to notify) count all the same.
        {"a unit written alone", [&] { unitAlone(1318); }, true, Result{2, 1}},
        {"and written back", [&] { unitAlone(1322); }, true, Result{1, 1}},
        {"an error flag set alone", [&] { tag().SetStatusFlag(0x4000); }, true, Result{1, 2}},
        {"and cleared", [&] { tag().ClearStatusFlag(0x4000); }, true, Result{1, 1}},
        {"a stored value written alone", [&] { tag().PersistentValue = tag().TransientValue.Value(); }, true,
         Result{3, 1}},
        {"and dropped", [&] { tag().PersistentValue = Variant(); }, true, Result{1, 1}},
        {"an edit", [this] { Edit("PHYS/TAG_DESC", Variant(std::string("FT-7"))); }, true, Result{2, 1}},
        {"a unit that converts the values",
         [this] { Edit("TRANS/1/FlowCori/MASS_FLOW_UNITS", Variant::Int(1318)); }, true, std::nullopt},
        {"a refused value",
         [this] {
             EXPECT_THROW(Edit(kSlaveBusParamSetWholeString, Variant(std::string("00"))), platform::com::ComError);
         },
         false, std::nullopt},
        {"a failed read",
         [this] {
             frame->Device().ScheduleFailure(0xB6);
             EXPECT_FALSE(frame->Session().Upload("PHYS/TAG_DESC").ok);
         },
         true, std::nullopt},
        {"a lower user level", [this] { frame->Ctx().UserInfo()->UserLevel(1); }, false, std::nullopt},
        {"function blocks 5 to 8 left out", [this] { Edit(kIdentNumberSelectorPath, Variant::Int(0)); }, false,
         std::nullopt},
        {"download", [this] { ASSERT_TRUE(frame->Session().Download().ok); }, false, std::nullopt},
        {"save", [this] { ASSERT_TRUE(frame->Session().SaveToFile(file)); }, false, Result{0, 1}},
        {"load",
         [this] {
             std::string refusal;
             frame->LoadInstance(file, refusal);
             ASSERT_EQ(refusal, "");
             ASSERT_TRUE(frame->Connect());
         },
         false, Result{0, 1}},
        {"upload after the load", [this] { ASSERT_TRUE(frame->Session().Upload().ok); }, false, std::nullopt},
        {"measured values read after the load", [this] { ReadCyclically(7); }, true, std::nullopt},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.run();
        if (step.fewLookedAt) {
            EXPECT_GT(Model().StateElementsLookedAt(), 0);
            EXPECT_LT(Model().StateElementsLookedAt(), Params().Count() / 10);
        }
        // Whatever the step left unevaluated is evaluated now, from what it wrote.
        Model().EvaluateDataSetState(frame->Session().Context());
        const DataSetStateResult now = Now(), walk = Walk();
        EXPECT_EQ(now, walk) << "state " << static_cast<int>(now.state) << " validity " << now.validity << ", walk "
                             << static_cast<int>(walk.state) << " validity " << walk.validity;
        if (step.expected) {
            EXPECT_EQ(now, *step.expected) << "state " << static_cast<int>(now.state) << " validity " << now.validity;
        }
    }
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

}  // namespace
}  // namespace dtm::frame
