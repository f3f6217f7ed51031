// The runtime's element collection: order, look-up, children, change notices
// and the data-set state.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/rt/Parameters.h"

namespace {

using platform::P;
using platform::Variant;
using platform::com::ComError;
using platform::rt::El;
using platform::rt::Parameters;

El Make(const std::string& path) {
    auto el = std::make_shared<dtm::clsDataElement>();
    el->Name = path;
    return el;
}

std::vector<std::string> Paths(const Parameters& params) {
    std::vector<std::string> paths;
    for (const auto& el : params) paths.push_back(el->Name());
    return paths;
}

std::vector<std::string> Paths(const std::vector<El>& elements) {
    std::vector<std::string> paths;
    for (const auto& el : elements) paths.push_back(el->Name());
    return paths;
}

// A model that records its calls and runs a hook inside DataChanged.
class RecordingModel : public platform::rt::IPrivateDataModel {
public:
    std::string DTMName() override { return {}; }
    std::string DTMVendor() override { return {}; }
    std::string DTMVersion() override { return {}; }
    Variant DTMDate() override { return {}; }
    std::string DTMDescriptor() override { return {}; }
    void CreateModel(Ctx) override {}
    void SetLanguage(Ctx, int32_t) override {}
    void DataChanged(const El& pda, const Ctx&) override {
        changed.push_back(pda->Name());
        if (onDataChanged) onDataChanged(pda);
    }
    void DataSetChanged(Ctx) override {
        ++dataSetChanged;
        inProgressDuringDataSetChanged = params && params->UpdateInProgress();
        if (failDataSetChanged) platform::com::Raise(5);
    }
    bool BuildTransactionRequest(Ctx, P<platform::com::Object>, bool, El) override { return false; }
    bool ReadTransactionResponse(Ctx, P<platform::com::Object>, bool, El) override { return false; }

    std::vector<std::string> changed;
    std::function<void(const El&)> onDataChanged;
    int dataSetChanged = 0;
    bool inProgressDuringDataSetChanged = false;
    bool failDataSetChanged = false;
    Parameters* params = nullptr;
};

TEST(Parameters, AnchorsPlaceElementsBeforeOrAfter) {
    Parameters params;
    params.Add(Make("A"));
    params.Add(Make("B"));
    params.Add(Make("C"));
    params.Add(Make("X"), Variant("B"));
    params.Add(Make("Y"), Variant::Missing(), Variant("C"));
    params.Add(Make("Z"), Variant::Missing(), Variant("a"));
    params.Add(Make("W"), Variant("A"));
    const std::vector<std::string> expected{"W", "A", "Z", "X", "B", "C", "Y"};
    EXPECT_EQ(Paths(params), expected);
    ASSERT_EQ(params.Count(), 7);
    for (int32_t i = 1; i <= params.Count(); ++i) EXPECT_EQ(params.Item(i)->Name(), expected[i - 1]);
    for (const auto& path : expected) EXPECT_EQ(params.Item(path)->Name(), path);
}

TEST(Parameters, RefusedAddsLeaveTheCollectionAsItWas) {
    Parameters params;
    params.Add(Make("PHYS/TAG_DESC"));
    params.Add(Make("PHYS/MODE_BLK/"));
    struct Case {
        const char* what;
        const char* path;
        Variant before, after;
        int32_t error;
    } cases[] = {
        {"both anchors", "N", Variant("PHYS/TAG_DESC"), Variant("PHYS/TAG_DESC"), 5},
        {"unknown before", "N", Variant("NOPE"), Variant::Missing(), 5},
        {"unknown after", "N", Variant::Missing(), Variant("NOPE"), 5},
        {"duplicate", "PHYS/TAG_DESC", Variant::Missing(), Variant::Missing(), 457},
        {"duplicate but for case", "phys/Tag_Desc", Variant::Missing(), Variant::Missing(), 457},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { params.Add(Make(c.path), c.before, c.after); }), c.error) << c.what;
        EXPECT_EQ(params.Count(), 2) << c.what;
    }
    EXPECT_EQ(ErrorOf([&] { params.Add(nullptr); }), 91);
}

TEST(Parameters, ItemIgnoresCaseAndFindNeverThrows) {
    Parameters params;
    auto el = Make("FUNC/1/AI/SIMULATE/Enabled");
    params.Add(el);
    EXPECT_EQ(params.Item("func/1/ai/Simulate/ENABLED"), el);
    EXPECT_EQ(params.Find("FUNC/1/AI/simulate/Enabled"), el);

    EXPECT_EQ(ErrorOf([&] { params.Item("FUNC/1/AI/SIMULATE/Status"); }), 5);
    EXPECT_EQ(ErrorOf([&] { params.Item(0); }), 5);
    EXPECT_EQ(ErrorOf([&] { params.Item(2); }), 5);
    EXPECT_NO_THROW(EXPECT_EQ(params.Find("FUNC/1/AI/SIMULATE/Status"), nullptr));
    EXPECT_NO_THROW(EXPECT_EQ(params.Find(""), nullptr));
}

TEST(Parameters, ChildrenAreTheRecordFieldsInCollectionOrder) {
    Parameters params;
    params.Add(Make("PHYS/MODE_BLK/Actual"));
    params.Add(Make("PHYS/MODE_BLK/"), Variant("PHYS/MODE_BLK/Actual"));
    params.Add(Make("PHYS/MODE_BLKX"));
    params.Add(Make("PHYS/ALARM_SUM/Current"));
    params.Add(Make("PHYS/MODE_BLK/Permitted"));
    params.Add(Make("PHYS/MODE_BLK/Target"), Variant("PHYS/MODE_BLK/Actual"));

    const std::vector<std::string> fields{"PHYS/MODE_BLK/Target", "PHYS/MODE_BLK/Actual",
                                          "PHYS/MODE_BLK/Permitted"};
    EXPECT_EQ(Paths(params.Children("PHYS/MODE_BLK/")), fields);
    EXPECT_EQ(Paths(params.Children("phys/mode_blk/")), fields);
    EXPECT_TRUE(params.Children("PHYS/NONE/").empty());

    // An element added after a look-up is found by the next one, in its place.
    params.Add(Make("phys/mode_blk/Normal"), Variant("PHYS/MODE_BLK/Target"));
    const std::vector<std::string> more{"phys/mode_blk/Normal", "PHYS/MODE_BLK/Target", "PHYS/MODE_BLK/Actual",
                                        "PHYS/MODE_BLK/Permitted"};
    EXPECT_EQ(Paths(params.Children("PHYS/MODE_BLK/")), more);
    params.Reset();
    EXPECT_TRUE(params.Children("PHYS/MODE_BLK/").empty());
}

TEST(Parameters, ElementsAtPathsFollowTheCollection) {
    static constexpr const char* kPathTexts[] = {"MODE_BLK/Actual", "TAG_DESC"};
    static const platform::rt::PathList kPaths(kPathTexts);
    Parameters params;
    auto actual = Make("FUNC/1/AI/MODE_BLK/Actual");
    params.Add(actual);
    params.Add(Make("FUNC/2/AI/TAG_DESC"));

    // A path the collection lacks is null; the number keeps blocks apart.
    const auto first = params.ElementsAt(kPaths, 1, "FUNC/1/AI/");
    EXPECT_EQ(first->at(0), actual);
    EXPECT_EQ(first->at(1), nullptr);
    EXPECT_EQ(params.ElementsAt(kPaths, 2, "FUNC/2/AI/")->at(1), params.Find("FUNC/2/AI/TAG_DESC"));

    // An element added later is found; the earlier list stays as its holder got it.
    auto tag = Make("FUNC/1/AI/TAG_DESC");
    params.Add(tag);
    EXPECT_EQ(params.ElementsAt(kPaths, 1, "FUNC/1/AI/")->at(1), tag);
    EXPECT_EQ(first->at(1), nullptr);

    // A rebuilt collection gives its own elements.
    params.Reset();
    EXPECT_EQ(params.ElementsAt(kPaths, 1, "FUNC/1/AI/")->at(0), nullptr);
    auto rebuilt = Make("FUNC/1/AI/MODE_BLK/Actual");
    params.Add(rebuilt);
    EXPECT_EQ(params.ElementsAt(kPaths, 1, "FUNC/1/AI/")->at(0), rebuilt);
}

TEST(Parameters, IsElementAtPathsAnswersForTheListedPathsOnly) {
    static constexpr const char* kPathTexts[] = {"OUT_SCALE/DecPoint", "HI_LIM", "OUT/Value"};
    static const platform::rt::PathList kPaths(kPathTexts);
    Parameters params;
    auto add = [&](const std::string& path) {
        auto el = std::make_shared<dtm::clsDataElement>();
        el->Name = path;
        params.Add(el);
        return el;
    };
    const auto decPoint = add("FUNC/1/AI/OUT_SCALE/DecPoint");
    const auto limit = add("FUNC/1/AI/hi_lim");  // found ignoring case, but not its name
    const auto other = add("FUNC/1/AI/LO_LIM");  // a name of a listed length
    const auto value = add("FUNC/2/AI/OUT/Value");
    EXPECT_TRUE(dtm::IsElementAtPaths(*decPoint, params, kPaths, 1, "FUNC/1/AI/"));
    EXPECT_FALSE(dtm::IsElementAtPaths(*decPoint, params, kPaths, 1, "FUNC/1/AI/", 1));
    EXPECT_FALSE(dtm::IsElementAtPaths(*limit, params, kPaths, 1, "FUNC/1/AI/"));
    EXPECT_FALSE(dtm::IsElementAtPaths(*other, params, kPaths, 1, "FUNC/1/AI/"));
    EXPECT_FALSE(dtm::IsElementAtPaths(*value, params, kPaths, 1, "FUNC/1/AI/"));
    EXPECT_TRUE(dtm::IsElementAtPaths(*value, params, kPaths, 2, "FUNC/2/AI/"));
}

TEST(Parameters, ResetEmptiesTheCollection) {
    Parameters params;
    params.Add(Make("A"));
    params.Reset();
    EXPECT_EQ(params.Count(), 0);
    EXPECT_EQ(params.Find("A"), nullptr);
    EXPECT_NO_THROW(params.Add(Make("A")));
    EXPECT_EQ(params.Count(), 1);
}

TEST(Parameters, HoldsItsModelWeakly) {
    Parameters params;
    auto model = std::make_shared<RecordingModel>();
    params.DataModel(model);
    EXPECT_EQ(params.DataModel(), model);
    EXPECT_TRUE(params.DataSetReady());
    params.UpdateInProgress(true);
    EXPECT_FALSE(params.DataSetReady());
    params.UpdateInProgress(false);
    model.reset();
    EXPECT_EQ(params.DataModel(), nullptr);
    EXPECT_FALSE(params.DataSetReady());
}

class ParametersNotify : public ::testing::Test {
protected:
    void SetUp() override {
        model->params = &params;
        params.DataModel(model);
        for (const char* path : {"A", "B", "C"}) params.Add(Make(path));
    }
    Parameters params;
    P<RecordingModel> model = std::make_shared<RecordingModel>();
};

TEST_F(ParametersNotify, ANoticeReachesTheModelAndSetsTheMark) {
    params.NotifyChange(params.Item("A"), "");
    EXPECT_EQ(model->changed, std::vector<std::string>{"A"});
    EXPECT_EQ(params.QueryDataSetState(), params.DataSetState());
    EXPECT_TRUE(params.Modified());
}

TEST_F(ParametersNotify, AnElementBeingDispatchedIsNotDispatchedAgain) {
    model->onDataChanged = [&](const El& el) {
        if (el->Name() == "A") {
            params.NotifyChange(params.Item("A"), "");  // stopped
            params.NotifyChange(params.Item("B"), "");  // dispatched
        }
        if (el->Name() == "B") params.NotifyChange(params.Item("A"), "");  // still stopped
    };
    params.NotifyChange(params.Item("A"), "");
    EXPECT_EQ(model->changed, (std::vector<std::string>{"A", "B"}));

    // Once the dispatch has returned, the element is dispatched again.
    model->onDataChanged = nullptr;
    params.NotifyChange(params.Item("A"), "");
    EXPECT_EQ(model->changed.size(), 3u);
}

TEST_F(ParametersNotify, AModelErrorReachesTheCallerAndUnwindsTheStack) {
    model->onDataChanged = [](const El&) { platform::com::Raise(13); };
    EXPECT_EQ(ErrorOf([&] { params.NotifyChange(params.Item("A"), ""); }), 13);
    model->onDataChanged = nullptr;
    params.NotifyChange(params.Item("A"), "");
    EXPECT_EQ(model->changed, (std::vector<std::string>{"A", "A"}));
}

TEST_F(ParametersNotify, AnEndlessChainOfDifferentElementsStops) {
    for (int i = 0; i < 80; ++i) params.Add(Make("E" + std::to_string(i)));
    model->onDataChanged = [&](const El& el) {
        const std::string name = el->Name();
        if (name[0] != 'E') return;
        const int next = std::stoi(name.substr(1)) + 1;
        if (next < 80) params.NotifyChange(params.Item("E" + std::to_string(next)), "");
    };
    EXPECT_EQ(ErrorOf([&] { params.NotifyChange(params.Item("E0"), ""); }), 28);
    model->onDataChanged = nullptr;
    EXPECT_NO_THROW(params.NotifyChange(params.Item("E0"), ""));
}

TEST_F(ParametersNotify, NotifyChangedSkipsTheModel) {
    params.NotifyChanged(params.Item("A"), "");
    EXPECT_TRUE(model->changed.empty());
    EXPECT_TRUE(params.Modified());
}

TEST_F(ParametersNotify, QueryShowsTheStateOnlyWhileModified) {
    EXPECT_EQ(params.QueryDataSetState(), 0);
    params.DataSetState(2);  // the model's evaluation alone changes no element
    EXPECT_EQ(params.QueryDataSetState(), 0);
    params.NotifyChange(params.Item("A"), "");
    EXPECT_EQ(params.QueryDataSetState(), 2);
    params.Modified(false);
    EXPECT_EQ(params.QueryDataSetState(), 0);
    EXPECT_EQ(params.DataSetState(), 2);
}

TEST_F(ParametersNotify, SetParametersBracketsNestAndEndOnce) {
    params.BeginSetParameters();
    params.BeginSetParameters();
    params.EndSetParameters();
    EXPECT_TRUE(params.UpdateInProgress());
    EXPECT_EQ(model->dataSetChanged, 0);
    params.EndSetParameters();
    EXPECT_EQ(model->dataSetChanged, 1);
    EXPECT_TRUE(model->inProgressDuringDataSetChanged);
    EXPECT_FALSE(params.UpdateInProgress());
    EXPECT_TRUE(params.Modified());
    params.EndSetParameters();  // unbalanced: nothing
    EXPECT_EQ(model->dataSetChanged, 1);
}

TEST_F(ParametersNotify, AFailingDataSetChangeStillEndsTheUpdate) {
    model->failDataSetChanged = true;
    params.BeginSetParameters();
    EXPECT_EQ(ErrorOf([&] { params.EndSetParameters(); }), 5);
    EXPECT_FALSE(params.UpdateInProgress());
}

// A page that records what the collection tells it.
class RecordingPage : public platform::rt::IPrivateGUI {
public:
    bool CloseGUI() override { return true; }
    void LockStateChanged(bool) override {}
    void ParameterChanged(const P<platform::rt::IPrivateDataElement>& element) override {
        changed.push_back(element->Name());
    }
    void ParameterSetChanged() override { ++setChanged; }
    void ValidateParameters() override {}
    void SetLanguage(int32_t) override {}

    std::vector<std::string> changed;
    int setChanged = 0;
};

TEST(ParametersPages, EveryNoticeReachesTheOpenPagesAfterTheModel) {
    auto ctx = platform::rt::DTMContext::Create();
    auto& params = *ctx->Parameters();
    auto model = std::make_shared<RecordingModel>();
    auto page = std::make_shared<RecordingPage>();
    params.DataModel(model);
    ctx->GuiRegistry()->RegisterGUI("page", page, true);
    params.Add(Make("A"));
    params.Add(Make("B"));

    // The model's own notice about the element it is handling goes to the pages only.
    model->onDataChanged = [&](const El& el) {
        if (el->Name() == "A") params.NotifyChange(params.Item("A"), "");
    };
    params.NotifyChange(params.Item("A"), "");
    EXPECT_EQ(model->changed, std::vector<std::string>{"A"});
    EXPECT_EQ(page->changed, (std::vector<std::string>{"A", "A"}));

    params.NotifyChanged(params.Item("B"), "");
    EXPECT_EQ(model->changed.size(), 1u);
    EXPECT_EQ(page->changed.back(), "B");

    params.BeginSetParameters();
    params.EndSetParameters();
    EXPECT_EQ(page->setChanged, 1);
}

}  // namespace
