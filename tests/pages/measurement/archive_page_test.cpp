// The archive and trend page opened through the frame as function 72: the
// curves it builds and the order of its calls on the archive control, the
// curve-enable mask set up once and kept (across save and load of the data
// set too), a failure while the curves are built, unit changes, the lock
// state at opening, the resize and the release; and the archive's journal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/dtm/DTMState.h"
#include "model/elements/clsDataElement.h"
#include "pages/measurement/ctlArchive.h"
#include "pages/parameterisation/ParamPagesFixture.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/ui/Host.h"

namespace dtm {
namespace {

namespace com = platform::com;
namespace archive = platform::archive;
using platform::P;
using platform::Variant;
using Calls = std::vector<std::string>;

class ArchivePageTest : public testing::ParamPagesFixture {
protected:
    P<ctlArchive> Open() {
        session = frame->Open(72);
        return session ? std::dynamic_pointer_cast<ctlArchive>(session->Page()) : nullptr;
    }
    // The page created and initialised as the frame does, its control given
    // `curveCount` as its design value first.
    P<ctlArchive> OpenWithCurves(int16_t curveCount) {
        auto page = Create<ctlArchive>("ctlArchive");
        com::PropertyBag design;
        design.WriteProperty("curvecount", Variant::Int(curveCount));
        page->ctlDTMArchive->ReadProperties(design);
        if (!page->Init("{archive}", "", frame->Session().Dtm())) return nullptr;
        return page;
    }
    archive::Archive& Archive() const {
        return *std::dynamic_pointer_cast<DTMState>(Ctx().StateObject())->Archive;
    }
    clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }
    static Calls CallsOf(const ctlArchive& page) {
        const auto& calls = page.ctlDTMArchive->Calls();
        return Calls(calls.begin(), calls.end());
    }
    static P<archive::ArchiveCurve> Curve(const ctlArchive& page, int32_t i) {
        return std::dynamic_pointer_cast<archive::ArchiveCurve>(page.ctlDTMArchive->GetCurves()->Item(i).ObjRef());
    }

    std::shared_ptr<frame::PageSession> session;
};

TEST_F(ArchivePageTest, OpensWithEightCurvesAndCallsTheControlInOrder) {
    EXPECT_EQ(Archive().CheckCurveEnabled(), -1);  // a new instance
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlArchive");
    EXPECT_EQ(CallsOf(*page), (Calls{"SwitchA False", "SwitchB False", "InitArchiveCtl 8", "ArchiveLockStateChanged True",
                                     "SetArchiveLanguage 1033", "ArchiveParameterSetChanged", "ArchiveCtlReady"}));
    EXPECT_EQ(Archive().CheckCurveEnabled(), 255);
    EXPECT_EQ(page->ctlDTMArchive->ArchiveObject().get(), &Archive());
    // The status bar is the one child; the archive control is none.
    EXPECT_EQ(session->MaskInvokeId(page->ctlStatus->InvokeId()), "<id>.1$");

    const auto curves = page->ctlDTMArchive->GetCurves();
    ASSERT_EQ(curves->Count(), 8);
    EXPECT_TRUE(curves->Contains("TRANS/1/FlowCori/MANU/SOLID_FLOW/Value"));
    auto curve = Curve(*page, 4);  // temperature
    auto& value = Element("TRANS/1/FlowCori/TEMPERATURE/Value");
    EXPECT_EQ(curve->ValueElement()->Name(), "TRANS/1/FlowCori/TEMPERATURE/Value");
    EXPECT_EQ(curve->HiLimitElement()->Name(), "TRANS/1/FlowCori/TEMPERATURE_HI_LIMIT");
    EXPECT_EQ(curve->LoLimitElement()->Name(), "TRANS/1/FlowCori/TEMPERATURE_LO_LIMIT");
    ASSERT_EQ(curve->RecordElements()->Records().size(), 1u);
    EXPECT_EQ(curve->RecordElements()->Records()[0].first->Name(), "TRANS/1/FlowCori/TEMPERATURE/");
    EXPECT_EQ(curve->RecordElements()->Records()[0].second, "");
    EXPECT_EQ(curve->CurveNumber(), 3);
    EXPECT_EQ(curve->CurveIndex(), 3);
    EXPECT_TRUE(curve->CurveEnabled());
    EXPECT_EQ(curve->Range().upper, 100000.0);
    EXPECT_EQ(curve->Range().lower, -100000.0);
    EXPECT_EQ(curve->CurveFormat(), value.ValueFormat);
    EXPECT_EQ(curve->CurveLabel(), std::string(value.Label));
    EXPECT_EQ(curve->CurveUnit(), value.UnitString(frame->Session().Context()));
    EXPECT_EQ(page->HelpButton->Caption(), "Help");

    // A language notice reaches the control after the curves' texts.
    page->SetLanguage(1031);
    EXPECT_EQ(CallsOf(*page).back(), "SetArchiveLanguage 1031");
    EXPECT_EQ(page->ctlDTMArchive->LanguageId(), 1031);
}

TEST_F(ArchivePageTest, TheFirstOpeningSetsTheMaskUpCurveByCurve) {
    struct Case {
        int16_t curveCount;
        int32_t curves;  // built
        int32_t mask;
    };
    // Each curve adds its bit: 0, 1, 3, 7 … 255; above eight no curve is built.
    const Case cases[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 3}, {3, 3, 7}, {8, 8, 255}, {10, 8, 255}};
    for (const auto& c : cases) {
        Archive().CheckCurveEnabled(-1);
        auto page = OpenWithCurves(c.curveCount);
        ASSERT_NE(page, nullptr) << c.curveCount;
        EXPECT_EQ(page->ctlDTMArchive->GetCurves()->Count(), c.curves) << c.curveCount;
        EXPECT_EQ(Archive().CheckCurveEnabled(), c.mask) << c.curveCount;
        EXPECT_EQ(CallsOf(*page)[2], "InitArchiveCtl " + std::to_string(c.curves));
        ASSERT_TRUE(page->PrepareToRelease());
    }
}

TEST_F(ArchivePageTest, AMaskOnceSetIsKeptWhateverItHolds) {
    for (const int32_t mask : {5, 0, 255, 128}) {
        Archive().CheckCurveEnabled(mask);
        auto page = Open();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(Archive().CheckCurveEnabled(), mask);
        EXPECT_EQ(page->ctlDTMArchive->GetCurves()->Count(), 8);
        ASSERT_TRUE(frame->Close(*session));
    }
}

TEST_F(ArchivePageTest, AFailureWhileTheCurvesAreBuiltLeavesTheMaskToBeSetUpAgain) {
    // The density curve's element no longer answers to its name: the third curve fails.
    auto& density = Element("TRANS/1/FlowCori/DENSITY/Value");
    density.Name = "TRANS/1/FlowCori/DENSITY/Renamed";
    struct Case {
        int32_t before;
        int32_t after;
    };
    // A mask taken for setting up (3 when the failure came) goes back to -1; a kept one stays.
    for (const auto& c : {Case{-1, -1}, Case{5, 5}}) {
        Archive().CheckCurveEnabled(c.before);
        EXPECT_EQ(frame->Open(72), nullptr);
        EXPECT_EQ(Archive().CheckCurveEnabled(), c.after);
        EXPECT_FALSE(platform::app::ErrorSink::Instance().Empty());  // the frame's boundary trapped the error
        platform::app::ErrorSink::Instance().Clear();
        EXPECT_EQ(Ctx().GuiRegistry()->OpenGuis(), 0);
    }
    density.Name = "TRANS/1/FlowCori/DENSITY/Value";
    Archive().CheckCurveEnabled(-1);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Archive().CheckCurveEnabled(), 255);
}

TEST_F(ArchivePageTest, AValueNoticeRelabelsOnlyItsCurveAndReachesTheControl) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    const std::string densityUnit = Curve(*page, 3)->CurveUnit();
    // A new unit of the mass flow, as the user sets it.
    auto units = Params().Item("TRANS/1/FlowCori/MASS_FLOW_UNITS");
    units->TransientValue(Variant::Lng(1318));  // g/s
    Params().NotifyChange(units, "");
    auto value = Params().Item("TRANS/1/FlowCori/MASS_FLOW/Value");
    Params().NotifyChanged(value, "");
    EXPECT_EQ(Curve(*page, 1)->CurveUnit(), Element("TRANS/1/FlowCori/MASS_FLOW/Value").UnitString(frame->Session().Context()));
    EXPECT_EQ(Curve(*page, 1)->CurveUnit(), "g/s");
    EXPECT_EQ(Curve(*page, 3)->CurveUnit(), densityUnit);
    EXPECT_EQ(CallsOf(*page).back(), "ArchiveParameterChanged TRANS/1/FlowCori/MASS_FLOW/Value");
}

TEST_F(ArchivePageTest, OpenedWhileLockedTheControlIsLockedBeforeTheLanguageTexts) {
    Ctx().GuiRegistry()->LockState(true);
    auto page = Open();
    ASSERT_NE(page, nullptr);
    const Calls calls = CallsOf(*page);
    EXPECT_EQ(calls[3], "ArchiveLockStateChanged False");
    EXPECT_EQ(calls[4], "SetArchiveLanguage 1033");
    EXPECT_FALSE(page->ctlDTMArchive->Editable());
    EXPECT_FALSE(page->ctlParamSite1->Editable());
    Ctx().GuiRegistry()->LockState(false);
    EXPECT_TRUE(page->ctlDTMArchive->Editable());
}

TEST_F(ArchivePageTest, TheControlFollowsThePageFromTheSecondResizeTheHeadlineInWidthOnly) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    auto& host = session->Host();
    const float archiveWidth = page->ctlDTMArchive->Width(), archiveHeight = page->ctlDTMArchive->Height();
    const float headlineWidth = page->ctlHeadline->Width(), headlineHeight = page->ctlHeadline->Height();
    host.Resize(14000, 10000);
    EXPECT_EQ(page->ctlDTMArchive->Width(), archiveWidth + 2000);
    EXPECT_EQ(page->ctlDTMArchive->Height(), archiveHeight + 1000);
    EXPECT_EQ(page->ctlHeadline->Width(), headlineWidth + 2000);
    EXPECT_EQ(page->ctlHeadline->Height(), headlineHeight);
}

TEST_F(ArchivePageTest, ReleaseExitsTheControlBeforeTheSiteAndHidesThePage) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(frame->Close(*session));
    EXPECT_EQ(CallsOf(*page).back(), "ExitArchiveCtl");
    EXPECT_EQ(page->ctlDTMArchive->GetCurves(), nullptr);
    EXPECT_FALSE(page->ctlDTMArchive->Ready());
    EXPECT_TRUE(page->WindowHidden());
    EXPECT_FALSE(page->ctlStatus->Initialised());
    EXPECT_EQ(Ctx().GuiRegistry()->OpenGuis(), 0);
    EXPECT_EQ(Archive().CheckCurveEnabled(), 255);  // the archive outlives the page
}

TEST_F(ArchivePageTest, TheJournalTakesNewValuesOfEnabledCurvesInOrder) {
    Archive().CheckCurveEnabled(5);  // mass flow and density
    auto page = Open();
    ASSERT_NE(page, nullptr);
    const auto notice = [&](const char* path, double value, int64_t at) {
        platform::app::EventLoop::Instance().Advance(at - platform::app::EventLoop::Instance().Now());
        auto element = Params().Item(path);
        element->TransientValue(Variant::Dbl(value));
        Params().NotifyChanged(element, "");
    };
    const int64_t start = platform::app::EventLoop::Instance().Now();
    notice("TRANS/1/FlowCori/MASS_FLOW/Value", 1.5, start + 100);
    notice("TRANS/1/FlowCori/TEMPERATURE/Value", 300, start + 200);  // curve 3 is off
    notice("TRANS/1/FlowCori/DENSITY/Value", 1.02, start + 300);
    notice("TRANS/1/FlowCori/MASS_FLOW/Value", 1.5, start + 400);  // unchanged
    notice("TRANS/1/FlowCori/MASS_FLOW/Value", 1.75, start + 500);
    const auto& journal = Archive().Journal();
    ASSERT_EQ(journal.size(), 3u);
    const archive::ArchiveSample expected[] = {{start + 100, 0, 1.5}, {start + 300, 2, 1.02}, {start + 500, 0, 1.75}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(journal[i].timeMs, expected[i].timeMs) << i;
        EXPECT_EQ(journal[i].curve, expected[i].curve) << i;
        EXPECT_EQ(journal[i].value, expected[i].value) << i;
    }
}

TEST_F(ArchivePageTest, MaskAndJournalSurviveSavingAndLoadingTheDataSet) {
    Archive().CheckCurveEnabled(5);
    Archive().Record({1000, 0, 0.1});
    Archive().Record({5000, 2, 1.0594192743301392});
    const auto path = (std::filesystem::temp_directory_path() /
                       ("dtm_archive_data_set_" + std::to_string(::getpid()) + ".txt")).string();
    ASSERT_TRUE(frame->Session().SaveToFile(path));

    frame::FrameSession stored;
    ASSERT_TRUE(stored.StartStored(frame->Registry(), path).loaded);
    std::filesystem::remove(path);
    auto& kept = *std::dynamic_pointer_cast<DTMState>(stored.Context()->StateObject())->Archive;
    EXPECT_EQ(kept.CheckCurveEnabled(), 5);
    ASSERT_EQ(kept.Journal().size(), 2u);
    EXPECT_EQ(kept.Journal()[1].timeMs, 5000);
    EXPECT_EQ(kept.Journal()[1].curve, 2);
    EXPECT_EQ(kept.Journal()[1].value, 1.0594192743301392);

    // Opened on the loaded instance the page keeps the stored mask.
    auto page = std::dynamic_pointer_cast<ctlArchive>(frame->Registry().CreateObject("RG38N226_4_07.ctlArchive"));
    platform::ui::Host host(page);
    ASSERT_TRUE(page->Init("{stored}", "", stored.Dtm()));
    EXPECT_EQ(kept.CheckCurveEnabled(), 5);
    EXPECT_TRUE(page->PrepareToRelease());
    stored.Release();
}

TEST(ArchiveObject, ADamagedEntryGivesItsDefault) {
    struct Case {
        const char* mask;
        const char* journal;
        int32_t wantMask;
        size_t wantSamples;
    };
    const Case cases[] = {
        {"7", "1;0;2.5\n2;1;3\n", 7, 2},
        {"x", "1;0;2.5\n", -1, 1},
        {"3", "1;0;2.5\nbroken\n", 3, 0},
        {"3", "1;99;2.5\n", 3, 0},
        {"3", "1;0;2.5x\n", 3, 0},
    };
    for (const auto& c : cases) {
        com::PropertyBag bag;
        bag.WriteProperty("Archive.CheckCurveEnabled", Variant::Str(c.mask));
        bag.WriteProperty("Archive.Journal", Variant::Str(c.journal));
        archive::Archive a;
        a.Load(bag, "Archive.");
        EXPECT_EQ(a.CheckCurveEnabled(), c.wantMask) << c.mask << " " << c.journal;
        EXPECT_EQ(a.Journal().size(), c.wantSamples) << c.journal;
    }
    // A data set of an older kind stored the check as True.
    com::PropertyBag old;
    old.WriteProperty("Archive.CheckCurveEnabled", Variant::Bool(true));
    archive::Archive a;
    a.Load(old, "Archive.");
    EXPECT_EQ(a.CheckCurveEnabled(), -1);
}

TEST(ArchiveObject, TheJournalKeepsTheNewestSamples) {
    archive::Archive a;
    for (size_t i = 0; i < archive::Archive::kJournalLimit + 5; ++i) a.Record({static_cast<int64_t>(i), 0, 1.0});
    EXPECT_EQ(a.Journal().size(), archive::Archive::kJournalLimit);
    EXPECT_EQ(a.Journal().front().timeMs, 5);
}

}  // namespace
}  // namespace dtm
