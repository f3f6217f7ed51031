// The data model's entry points on a built instance: the data-set state, the
// language switch, change reports with their nesting depth, a whole data set
// with an error in it, and a saved instance loaded into a fresh one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "ErrorOf.h"
#include "FolderWithDictionary.h"
#include "PageRecorder.h"
#include "core/services/ProjectHelpers.h"
#include "frame/ModelInstance.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/TempFolder.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/UserInfo.h"

namespace dtm {
namespace {

using platform::P;
using platform::Variant;
using platform::com::Identical;

// Counts the change reports it gets; can fail one path's report when it
// arrives inside another change, and shows its change depth.
class ObservedModel : public clsDataModel {
public:
    void DataChanged(const El& pda, const Ctx& ctx) override {
        ++reports;
        if (pda->Name() == failNested && m_ChangeDepth > 0) platform::com::Raise(380, "refused by the test");
        clsDataModel::DataChanged(pda, ctx);
    }
    int32_t ChangeDepth() const { return m_ChangeDepth; }

    int reports = 0;
    std::string failNested;
};

struct Instance {
    P<ObservedModel> model = std::make_shared<ObservedModel>();
    frame::ModelInstance instance = frame::NewModelInstance(model);
    platform::rt::Parameters& params = instance.Parameters();
    P<testing::PageRecorder> page = testing::PageRecorder::RegisterWith(*instance.ctx);

    P<clsDataElement> At(const std::string& path) const { return ElementAt(params, path); }
    void ForEach(const std::function<void(clsDataElement&)>& fn) const {
        for (const auto& item : params) fn(static_cast<clsDataElement&>(*item));
    }
    Variant DataStatus() const { return At("~/DataStatus")->TransientValue; }
};

// ---- Data-set state ----

// Every value as stored, nothing read from the device.
void AsSaved(clsDataElement& el) {
    el.PersistentValue = el.TransientValue;
    el.nPersistentUnit = el.nTransientUnit;
    el.DeviceValue = Variant();
}

// Every value as read from the device (a value never set as 0), nothing stored.
void AsRead(clsDataElement& el) {
    if (el.TransientValue.IsEmpty()) el.TransientValue = Variant::Lng(0);
    el.PersistentValue = Variant();
    el.DeviceValue = el.TransientValue;
    el.nDeviceUnit = el.nTransientUnit;
}

TEST(DataSetState, FollowsTheValuesAgainstTheirReferences) {
    struct Case {
        const char* name;
        void (*all)(clsDataElement&);
        std::function<void(Instance&)> then;
        uint8_t state;
    };
    const Case cases[] = {
        {"saved", AsSaved, [](Instance&) {}, 0},
        {"online", AsRead, [](Instance&) {}, 1},
        {"changed after a read",
         AsRead,
         [](Instance& i) { i.At("PHYS/TAG_DESC")->TransientValue = Variant(std::string("edited")); },
         2},
        {"changed after a load",
         AsSaved,
         [](Instance& i) { i.At("FUNC/1/AI/PV_FTIME")->TransientValue = Variant::Sng(9.5f); },
         2},
        {"a transferable value never read",
         AsRead,
         [](Instance& i) {
             auto el = i.At("PHYS/TAG_DESC");
             el->DeviceValue = Variant();
             el->TransientValue = el->InitialValue;
         },
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Instance i;
        i.ForEach(c.all);
        c.then(i);
        i.page->changed.clear();
        i.model->EvaluateDataSetState(i.instance.ctx);
        EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(c.state))) << platform::com::CStr(i.DataStatus());
        EXPECT_EQ(i.params.DataSetState(), 1);

        // Evaluated again without a change: the pages are not told twice.
        i.page->changed.clear();
        i.model->EvaluateDataSetState(i.instance.ctx);
        EXPECT_EQ(i.page->Notices("~/DataStatus"), 0);
    }
}

TEST(DataSetState, AnElementWithAValueErrorMakesTheSetInvalid) {
    Instance i;
    i.model->EvaluateDataSetState(i.instance.ctx);
    EXPECT_EQ(i.params.DataSetState(), 1);
    auto el = i.At("FUNC/2/AI/PV_FTIME");
    el->StatusFlags(el->StatusFlags() | 0x4000);
    i.model->EvaluateDataSetState(i.instance.ctx);
    EXPECT_EQ(i.params.DataSetState(), 2);
}

TEST(DataSetState, TellsThePagesWhenItChanges) {
    Instance i;
    i.ForEach(AsRead);
    i.model->EvaluateDataSetState(i.instance.ctx);
    i.page->changed.clear();
    auto tag = i.At("PHYS/TAG_DESC");
    tag->TransientValue = Variant(std::string("edited"));
    i.params.NotifyChange(tag, "");  // the outermost report evaluates the state
    EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(2)));
    EXPECT_EQ(i.page->Notices("~/DataStatus"), 1);
}

TEST(DataSetState, InANoticeBatchIsEvaluatedOnceAtItsEndWhenANoticeCameIn) {
    Instance i;
    i.ForEach(AsRead);
    i.model->EvaluateDataSetState(i.instance.ctx);
    i.page->changed.clear();

    i.params.BeginNoticeBatch();
    auto tag = i.At("PHYS/TAG_DESC");
    tag->TransientValue = Variant(std::string("edited"));
    i.params.NotifyChange(tag, "");
    auto filter = i.At("FUNC/1/AI/PV_FTIME");
    filter->TransientValue = Variant::Sng(9.5f);
    i.params.NotifyChange(filter, "");
    EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(1)));  // put off
    EXPECT_EQ(i.page->Notices("PHYS/TAG_DESC"), 1);
    EXPECT_EQ(i.page->Notices("FUNC/1/AI/PV_FTIME"), 1);
    i.params.EndNoticeBatch();
    EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(2)));
    EXPECT_EQ(i.page->Notices("~/DataStatus"), 1);

    // A batch without a notice leaves the state as it was, even where an
    // evaluation would now give another one.
    i.ForEach(AsRead);
    i.params.BeginNoticeBatch();
    i.params.EndNoticeBatch();
    EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(2)));
    i.model->EvaluateDataSetState(i.instance.ctx);
    EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(1)));
}

// The user level and the ident number selector decide which elements are
// transferred, and an element may join the collection: each changes the state
// with no element of those it concerns written after the state was worked out.
TEST(DataSetState, FollowsTheUserLevelTheSelectorAndElementsAdded) {
    struct Case {
        const char* name;
        std::function<void(Instance&)> setUp;
        std::function<void(Instance&)> change;
        uint8_t before, after;
    };
    // Read from the device, with a selector that reads 0 from it too.
    const auto readWithSelector = [](Instance& i, int16_t selector) {
        i.ForEach(AsRead);
        auto el = i.At(kIdentNumberSelectorPath);
        el->TransientValue = el->DeviceValue = Variant::Int(selector);
    };
    const Case cases[] = {
        {"a user level that may no longer download an element never read",
         [](Instance& i) {
             i.ForEach(AsRead);
             auto el = AddParam(i.params, "DownloadOnly", Variant::Int(1), 2, 1);
             el->ElementMode = clsDataElement::kModeDownload;
             el->RequiredUserLevel = 2;
             el->TransientValue = el->InitialValue;
             i.instance.ctx->UserInfo()->UserLevel(2);
         },
         [](Instance& i) { i.instance.ctx->UserInfo()->UserLevel(1); }, 3, 1},
        {"the function blocks 5 to 8, never read, taken in by the selector",
         [&](Instance& i) {
             readWithSelector(i, 0);
             i.ForEach([](clsDataElement& el) {
                 if (el.Slot < 5 || (el.BlockType != pbfFunctionAIBlock && el.BlockType != pbfFunctionTOTBlock)) return;
                 el.DeviceValue = Variant();
                 el.TransientValue = el.InitialValue;
                 el.nTransientUnit = el.nInitUnit;
             });
         },
         [&](Instance& i) {
             auto el = i.At(kIdentNumberSelectorPath);
             el->TransientValue = el->DeviceValue = Variant::Int(1);
         },
         1, 3},
        {"an element added, never read", [](Instance& i) { i.ForEach(AsRead); },
         [](Instance& i) {
             auto el = AddParam(i.params, "UploadOnly", Variant::Int(1), 2, 1);
             el->ElementMode = clsDataElement::kModeUpload;
             el->TransientValue = el->InitialValue;
         },
         1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Instance i;
        c.setUp(i);
        i.model->EvaluateDataSetState(i.instance.ctx);
        EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(c.before))) << platform::com::CStr(i.DataStatus());
        c.change(i);
        i.model->EvaluateDataSetState(i.instance.ctx);
        EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(c.after))) << platform::com::CStr(i.DataStatus());
        EXPECT_EQ(i.model->StateElementsLookedAt(), i.params.Count());  // all of them counted again
    }
}

// The walk stops comparing values at the first changed one; a value past it
// that cannot be compared at all raises nothing, as before it was looked at.
TEST(DataSetState, AValueThatCannotBeComparedPastTheFirstChangeRaisesNothing) {
    Instance i;
    i.ForEach(AsRead);
    i.At("PHYS/TAG_DESC")->TransientValue = Variant(std::string("edited"));
    i.At("FUNC/8/TOT/HI_LIM")->TransientValue = Variant::Obj(nullptr);
    for (int evaluation = 0; evaluation < 2; ++evaluation) {
        EXPECT_NO_THROW(i.model->EvaluateDataSetState(i.instance.ctx));
        EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(2)));
    }
}

// ---- Language ----

// The component's dictionary with a second language (German, 1031) in which
// the tag's label differs.
std::string WriteTwoLanguageDictionary(const TempFolder& folder) {
    std::ifstream in(std::filesystem::path(DTM_TEST_DATA_DIR).parent_path().parent_path() / "XMLData" /
                     "DTMDictionary.xml");
    std::stringstream text;
    text << in.rdbuf();
    std::string xml = text.str();
    const size_t begin = xml.find("<Language lcid=\"1033\"");
    const size_t end = xml.find("</Language>", begin) + std::string("</Language>").size();
    std::string german = xml.substr(begin, end - begin);
    german.replace(german.find("lcid=\"1033\" name=\"English\""), 26, "lcid=\"1031\" name=\"German\"");
    german.replace(german.find("label=\"Tag\""), 11, "label=\"Messstelle\"");
    xml.insert(end, "\n  " + german);
    folder.Write("DTMDictionary.xml", xml);
    return folder.Dir().string() + "/";
}

TEST(Language, ASwitchRefreshesTheTextsWithoutChangeNotices) {
    TempFolder folder;
    Instance i;
    i.instance.ctx->PathInfo()->XmlDataPath(WriteTwoLanguageDictionary(folder));
    ASSERT_TRUE(i.instance.ctx->Dictionary()->LoadDictionary(i.instance.ctx, "DTMDictionary"));
    EXPECT_EQ(i.At("~/Tag")->Label, "Tag");
    i.model->reports = 0;
    i.page->changed.clear();

    i.instance.ctx->GuiRegistry()->LanguageId(1031);
    EXPECT_EQ(i.At("~/Tag")->Label, "Messstelle");
    EXPECT_EQ(i.model->reports, 0);
    EXPECT_TRUE(i.page->changed.empty());

    // The same primary language again does no work: a label set since stays.
    i.At("~/Tag")->Label = "changed since";
    i.model->SetLanguage(i.instance.ctx, 1031);
    EXPECT_EQ(i.At("~/Tag")->Label, "changed since");
    i.model->SetLanguage(i.instance.ctx, 2055);
    EXPECT_EQ(i.At("~/Tag")->Label, "changed since");

    i.model->SetLanguage(i.instance.ctx, 1033);
    EXPECT_EQ(i.At("~/Tag")->Label, "Tag");
    EXPECT_EQ(i.model->reports, 0);
    EXPECT_TRUE(i.page->changed.empty());
}

TEST(Language, AFailedSwitchIsReportedAndTriedAgainNextTime) {
    // A model that was never created has no unit table for the unit texts.
    auto ctx = platform::rt::DTMContext::Create();
    auto model = std::make_shared<clsDataModel>();
    ctx->InitContext(nullptr, model, nullptr, nullptr);
    model->SetLanguage(ctx, 1031);
    model->SetLanguage(ctx, 1031);
    ASSERT_EQ(ctx->ReportedErrors().size(), 2u);
    EXPECT_EQ(ctx->ReportedErrors()[0], "Error setting LanguageId 7");  // the primary language
}

// ---- Change reports ----

TEST(ChangeReport, ANestedErrorReachesTheCallerWithTheDepthRestored) {
    Instance i;
    i.ForEach(AsRead);
    i.model->EvaluateDataSetState(i.instance.ctx);
    i.model->failNested = "PHYS/TAG_DESC";  // refused when the tag copy reports it
    auto tag = i.At("~/Tag");
    tag->TransientValue = Variant(std::string("FT-101"));
    try {
        i.params.NotifyChange(tag, "");
        FAIL() << "no error";
    } catch (const platform::com::ComError& e) {
        EXPECT_EQ(e.number, 380);
        EXPECT_EQ(e.description, "refused by the test");
    }
    EXPECT_EQ(i.model->ChangeDepth(), 0);

    // The next change is an outermost one again: it evaluates the state.
    i.model->failNested.clear();
    i.At("~/Tag")->TransientValue = Variant(std::string("FT-101"));
    auto desc = i.At("PHYS/TAG_DESC");
    desc->TransientValue = Variant(std::string("FT-102"));
    i.params.NotifyChange(desc, "");
    EXPECT_EQ(i.model->ChangeDepth(), 0);
    EXPECT_TRUE(Identical(i.DataStatus(), Variant::Byte(2)));
}

TEST(ChangeReport, NoElementIsRefused) {
    auto instance = frame::NewModelInstance();
    EXPECT_EQ(ErrorOf([&] { instance.model->DataChanged(nullptr, instance.ctx); }), 91);
}

// ---- Whole data set ----

TEST(DataSetChange, AnErrorIsTracedAndTheStateStillEvaluated) {
    testing::FolderWithDictionary folder;
    folder.WriteIni("[TimeCritical]\nTrace=ExternalFile\n");
    Instance i;
    // A selector that is no number cannot be compared: every element of the
    // function blocks from slot 5 on fails.
    i.At("PHYS/IDENT_NUMBER_SELECTOR")->TransientValue = Variant(std::string("x"));
    i.params.DataSetState(4);
    EXPECT_NO_THROW(i.model->DataSetChanged(i.instance.ctx));
    EXPECT_FALSE(i.model->ProcessingCompleteValidation());
    EXPECT_EQ(i.params.DataSetState(), 1);
    const std::string trace = folder.Read("TraceInfoFile.txt");
    EXPECT_NE(trace.find("clsDataModel-DataSetChanged"), std::string::npos) << trace;
    EXPECT_NE(trace.find("error 13"), std::string::npos) << trace;

    // Unit conversion is on again for the next edit.
    i.At("PHYS/IDENT_NUMBER_SELECTOR")->TransientValue = Variant::Int(1);
    i.model->DataSetChanged(i.instance.ctx);
    EXPECT_FALSE(i.model->ProcessingCompleteValidation());
}

TEST(DataSetChange, ASavedInstanceLoadsBackIntoAFreshOne) {
    Instance saved;
    auto edit = [&](const std::string& path, const Variant& value) {
        auto el = saved.At(path);
        el->TransientValue = value;
        saved.params.NotifyChange(el, "");
    };
    edit("~/Tag", Variant(std::string("FT-101")));
    edit("TRANS/1/FlowCori/MASS_FLOW_UNITS", Variant::Int(1318));
    edit("FUNC/1/AI/PV_FTIME", Variant::Sng(2.5f));
    saved.At("FUNC/3/AI/PV_FTIME")->Validity(false);
    saved.At("FUNC/2/AI/PV_FTIME")->SetStatusFlag(0x8);
    platform::com::PropertyBag bag;
    saved.instance.ctx->SaveData(bag);

    auto loaded = frame::NewModelInstance("RXD 218", false);
    loaded.ctx->LoadData(bag);
    EXPECT_EQ(loaded.Parameters().QueryDataSetState(), 0);
    int compared = 0;
    saved.ForEach([&](clsDataElement& original) {
        SCOPED_TRACE(original.Name);
        auto el = ElementAt(loaded.Parameters(), original.Name);
        ++compared;
        if (original.Name == "~/DataStatus") return;  // evaluated afresh
        EXPECT_TRUE(IsSameValue(el->TransientValue, original.TransientValue))
            << platform::com::TypeName(el->TransientValue) << " " << platform::com::TypeName(original.TransientValue);
        EXPECT_EQ(el->nTransientUnit, original.nTransientUnit);
        EXPECT_EQ(el->Validity(), original.Validity());
        EXPECT_EQ(el->StatusFlags() & 0x8, original.StatusFlags() & 0x8);
    });
    EXPECT_EQ(compared, loaded.Parameters().Count());
    EXPECT_TRUE(Identical(ElementAt(loaded.Parameters(), "~/DataStatus")->TransientValue, Variant::Byte(0)));
    EXPECT_TRUE(Identical(ElementAt(loaded.Parameters(), "PHYS/TAG_DESC")->TransientValue,
                          Variant(std::string("FT-101"))));
    EXPECT_FALSE(ElementAt(loaded.Parameters(), "FUNC/3/AI/PV_FTIME")->Validity());
}

}  // namespace
}  // namespace dtm
