// The archive and trend page opened through the frame as function 72: the
// curves it builds and the order of its calls on the archive control, the
// curve-enable mask set up once and kept (across save and load of the data
// set too), a failure while the curves are built, unit changes, the lock
// state at opening, the resize and the release; the journal of the device's
// answers while the measured values window reads, curves switched off, and
// the journal kept across processes; and the archive object's stored form.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include "MeasurementFixture.h"
#include "core/dtm/DTMState.h"
#include "model/elements/clsDataElement.h"
#include "pages/measurement/MeasuredVariables.h"
#include "pages/measurement/ctlArchive.h"
#include "pages/measurement/ctlMeasure.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/archive/ArchiveInput.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/ui/Host.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace com = platform::com;
namespace archive = platform::archive;
using platform::P;
using platform::Variant;
using platform::app::EventLoop;
using Calls = std::vector<std::string>;
using Samples = std::vector<archive::ArchiveSample>;

constexpr const char* kMassFlow = "TRANS/1/FlowCori/MASS_FLOW/Value";
constexpr const char* kMassFlowUnits = "TRANS/1/FlowCori/MASS_FLOW_UNITS";
constexpr const char* kDensity = "TRANS/1/FlowCori/DENSITY/Value";
constexpr const char* kTemperature = "TRANS/1/FlowCori/TEMPERATURE/Value";
constexpr double kSecond = 1.0 / 86400;

archive::Archive& ArchiveOf(const platform::rt::DTMContext& ctx) {
    return *std::dynamic_pointer_cast<DTMState>(ctx.StateObject())->Archive;
}

// A device answer as the model takes it: the new device value, then the notice.
void Answer(platform::rt::Parameters& params, const std::string& path, double value) {
    const auto element = params.Item(path);
    element->DeviceValue(Variant::Sng(static_cast<float>(value)));
    params.NotifyChange(element, "");
}

// The samples of a curve, from position `from` of the journal on.
Samples SamplesOf(const archive::Archive& a, int16_t curve, size_t from = 0) {
    Samples samples;
    for (size_t i = from; i < a.Journal().size(); ++i)
        if (a.Journal()[i].curve == curve) samples.push_back(a.Journal()[i]);
    return samples;
}

bool InTimeOrder(const archive::Archive& a) {
    return std::is_sorted(a.Journal().begin(), a.Journal().end(),
                          [](const auto& x, const auto& y) { return x.date < y.date; });
}

class ArchivePageTest : public testing::MeasurementFixture {
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
    archive::Archive& Archive() const { return ArchiveOf(Ctx()); }
    // The measured values window reading cyclically from the connected device,
    // its first reads sent but not yet answered.
    P<ctlMeasure> StartReading() {
        EXPECT_TRUE(frame->Connect());
        reader = frame->Open(7);
        auto page = reader ? std::dynamic_pointer_cast<ctlMeasure>(reader->Page()) : nullptr;
        if (page) {
            EXPECT_TRUE(platform::ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, true));
        }
        return page;
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

    std::shared_ptr<frame::PageSession> session, reader;
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

TEST_F(ArchivePageTest, TheJournalTakesTheDeviceAnswersOfEnabledCurvesWithDateAndUnit) {
    Archive().CheckCurveEnabled(5);  // mass flow and density
    El(kMassFlow).nDeviceUnit = 1322;  // kg/s
    El(kDensity).nDeviceUnit = 1103;   // kg/L
    auto page = Open();
    ASSERT_NE(page, nullptr);
    auto& loop = EventLoop::Instance();
    std::vector<double> dates;
    const auto answer = [&](const char* path, double value) {
        loop.Advance(1000);
        dates.push_back(loop.NowDate());
        Answer(Params(), path, value);
    };
    answer(kMassFlow, 1.5);
    answer(kTemperature, 300);  // curve 3 is off
    answer(kDensity, 1.0625);
    answer(kMassFlow, 1.5);  // the same answer again
    answer(kMassFlow, 1.75);
    // A notice without a new device value is no answer: the transient value of an edit.
    El(kMassFlow).TransientValue = Variant::Sng(9);
    Params().NotifyChange(Params().Item(kMassFlow), "");

    const auto& journal = Archive().Journal();
    ASSERT_EQ(journal.size(), 3u);
    const archive::ArchiveSample expected[] = {
        {dates[0], 0, 1.5, 1322}, {dates[2], 2, 1.0625, 1103}, {dates[4], 0, 1.75, 1322}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(journal[i].date, expected[i].date) << i;
        EXPECT_EQ(journal[i].curve, expected[i].curve) << i;
        EXPECT_EQ(journal[i].value, expected[i].value) << i;
        EXPECT_EQ(journal[i].unit, expected[i].unit) << i;
    }
    EXPECT_NEAR(journal[2].date - journal[0].date, 4 * kSecond, 1e-9);  // dates of the platform's clock
}

TEST_F(ArchivePageTest, OpeningAReadingWindowJournalsNothingBeforeTheDeviceAnswers) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_NE(StartReading(), nullptr);  // marks the eight values live
    EXPECT_TRUE(Archive().Journal().empty());

    Advance(kTick);
    for (int16_t curve = 0; curve < 8; ++curve) {
        const auto samples = SamplesOf(Archive(), curve);
        ASSERT_FALSE(samples.empty()) << curve;
        const auto& value = El(kMeasuredVariables[static_cast<size_t>(curve)].value);
        EXPECT_EQ(samples.back().value, com::CDbl(value.DeviceValue)) << curve;
        EXPECT_EQ(samples.back().unit, value.nDeviceUnit) << curve;
        EXPECT_NE(samples.back().unit, 0) << curve;
    }
    EXPECT_GT(SamplesOf(Archive(), 3).front().value, 200);  // a temperature in K, never 0 K
}

TEST_F(ArchivePageTest, AUnitChangeJournalsNoValueAndEachSampleKeepsItsUnit) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    auto measure = StartReading();
    ASSERT_NE(measure, nullptr);
    auto& cycle = *measure->ctlStatus->ctlCycle->chkCycle;
    Advance(kTick);
    const int16_t kgPerSecond = El(kMassFlow).nDeviceUnit;
    ASSERT_FALSE(SamplesOf(Archive(), 0).empty());

    // A new unit in the device: its answers in that unit, no more samples than answers.
    ASSERT_TRUE(platform::ui::Input::Check(cycle, false));
    ASSERT_TRUE(frame->Device().SetValue(kMassFlowUnits, "1318"));  // g/s
    const size_t reads = LogSize(), since = Archive().Journal().size();
    ASSERT_TRUE(platform::ui::Input::Check(cycle, true));
    Advance(kTick);
    const auto answered = SamplesOf(Archive(), 0, since);
    const auto transactions = Transactions(reads);
    const auto recordReads =
        std::count(transactions.begin(), transactions.end(), AddressOf("TRANS/1/FlowCori/MASS_FLOW/"));
    ASSERT_FALSE(answered.empty());
    EXPECT_LE(static_cast<long>(answered.size()), recordReads);
    for (const auto& sample : answered) EXPECT_EQ(sample.unit, 1318);
    EXPECT_EQ(answered.back().value, com::CDbl(El(kMassFlow).DeviceValue));

    // Offline: the value converted into the unit edited is not measured.
    ASSERT_TRUE(platform::ui::Input::Check(cycle, false));
    const size_t before = Archive().Journal().size();
    auto units = Params().Item(kMassFlowUnits);
    units->TransientValue(Variant::Lng(kgPerSecond));
    Params().NotifyChange(units, "");
    EXPECT_EQ(Curve(*page, 1)->CurveUnit(), "kg/s");
    EXPECT_EQ(Archive().Journal().size(), before);

    // The device's readings stay in the device's unit.
    ASSERT_TRUE(platform::ui::Input::Check(cycle, true));
    Advance(kTick);
    const auto kept = SamplesOf(Archive(), 0, before);
    ASSERT_FALSE(kept.empty());
    for (const auto& sample : kept) EXPECT_EQ(sample.unit, 1318);
}

TEST_F(ArchivePageTest, SwitchingACurveOffChangesTheMaskAndStopsItsJournal) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    auto& control = *page->ctlDTMArchive;
    ASSERT_EQ(Archive().CheckCurveEnabled(), 255);
    struct Case {
        int16_t curve;
        bool on;
        bool taken;
        int32_t mask;  // afterwards
    };
    const Case cases[] = {
        {1, false, true, 253}, {1, false, true, 253}, {7, false, true, 125}, {7, true, true, 253},
        {8, false, false, 253},  // no such curve
        {-1, false, false, 253},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(archive::ArchiveInput::CheckCurve(control, c.curve, c.on), c.taken) << c.curve << c.on;
        EXPECT_EQ(Archive().CheckCurveEnabled(), c.mask) << c.curve << c.on;
    }
    EXPECT_FALSE(Curve(*page, 2)->CurveEnabled());
    EXPECT_FALSE(control.CurveOn(1));
    EXPECT_TRUE(Curve(*page, 8)->CurveEnabled());

    // Its answers are no longer journalled; the others' are.
    Answer(Params(), "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Value", 2.5);
    Answer(Params(), kMassFlow, 1.5);
    ASSERT_EQ(Archive().Journal().size(), 1u);
    EXPECT_EQ(Archive().Journal()[0].curve, 0);

    // While the data set is locked the control takes no switch.
    Ctx().GuiRegistry()->LockState(true);
    EXPECT_FALSE(archive::ArchiveInput::CheckCurve(control, 1, true));
    Ctx().GuiRegistry()->LockState(false);
    EXPECT_EQ(Archive().CheckCurveEnabled(), 253);

    // Opened again, the curves follow the mask.
    ASSERT_TRUE(frame->Close(*session));
    page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(Curve(*page, 2)->CurveEnabled());
    EXPECT_TRUE(Curve(*page, 1)->CurveEnabled());
    EXPECT_EQ(Archive().CheckCurveEnabled(), 253);
}

TEST_F(ArchivePageTest, ANewProcessJournalsAfterTheStoredSamplesWhateverItsClock) {
    struct Case {
        const char* what;
        double laterBy;  // the new process's start after the first one's
    };
    const double firstStart = com::DateSerial(2024, 5, 6) + com::TimeSerial(10, 0, 0);
    for (const auto& c : {Case{"an hour later", 3600 * kSecond}, Case{"the same clock again", 0}}) {
        Start();
        EventLoop::Instance().SetBaseDate(firstStart);
        auto page = Open();
        ASSERT_NE(page, nullptr) << c.what;
        EventLoop::Instance().Advance(16681);
        Answer(Params(), kMassFlow, 1.5);
        const auto path = (std::filesystem::temp_directory_path() /
                           ("dtm_archive_process_" + std::to_string(::getpid()) + ".txt")).string();
        ASSERT_TRUE(frame->Session().SaveToFile(path)) << c.what;
        ASSERT_TRUE(frame->Close(*session));

        // The next process: its virtual clock starts at 0 again.
        EventLoop::Instance().Reset();
        EventLoop::Instance().SetBaseDate(firstStart + c.laterBy);
        frame::FrameSession stored;
        ASSERT_TRUE(stored.StartStored(frame->Registry(), path).loaded) << c.what;
        std::filesystem::remove(path);
        auto reopened = std::dynamic_pointer_cast<ctlArchive>(frame->Registry().CreateObject("RG38N226_4_07.ctlArchive"));
        platform::ui::Host host(reopened);
        ASSERT_TRUE(reopened->Init("{stored}", "", stored.Dtm())) << c.what;
        EventLoop::Instance().Advance(500);
        Answer(*stored.Context()->Parameters(), kMassFlow, 1.75);

        const auto& kept = ArchiveOf(*stored.Context());
        ASSERT_EQ(kept.Journal().size(), 2u) << c.what;
        EXPECT_TRUE(InTimeOrder(kept)) << c.what;
        const auto samples = SamplesOf(kept, 0);
        const auto stamped = [&](double value) {
            return std::find_if(samples.begin(), samples.end(), [&](const auto& s) { return s.value == value; })->date;
        };
        EXPECT_NEAR(stamped(1.5), firstStart + 16 * kSecond, 1e-9) << c.what;
        EXPECT_NEAR(stamped(1.75), firstStart + c.laterBy, 1e-9) << c.what;
        if (c.laterBy > 0) {
            EXPECT_EQ(kept.Journal().back().value, 1.75) << c.what;
        }
        EXPECT_TRUE(reopened->PrepareToRelease());
        stored.Release();
    }
}

TEST_F(ArchivePageTest, MaskAndJournalSurviveSavingAndLoadingTheDataSet) {
    Archive().CheckCurveEnabled(5);
    const double day = com::DateSerial(2024, 5, 6);
    Archive().Record({day + 1 * kSecond, 0, 0.1, 1322});
    Archive().Record({day + 5 * kSecond, 2, 1.0594192743301392, 1103});
    const auto path = (std::filesystem::temp_directory_path() /
                       ("dtm_archive_data_set_" + std::to_string(::getpid()) + ".txt")).string();
    ASSERT_TRUE(frame->Session().SaveToFile(path));

    frame::FrameSession stored;
    ASSERT_TRUE(stored.StartStored(frame->Registry(), path).loaded);
    std::filesystem::remove(path);
    auto& kept = *std::dynamic_pointer_cast<DTMState>(stored.Context()->StateObject())->Archive;
    EXPECT_EQ(kept.CheckCurveEnabled(), 5);
    ASSERT_EQ(kept.Journal().size(), 2u);
    EXPECT_NEAR(kept.Journal()[1].date, day + 5 * kSecond, 1e-9);
    EXPECT_EQ(kept.Journal()[1].curve, 2);
    EXPECT_EQ(kept.Journal()[1].value, 1.0594192743301392);
    EXPECT_EQ(kept.Journal()[1].unit, 1103);

    // Opened on the loaded instance the page keeps the stored mask.
    auto page = std::dynamic_pointer_cast<ctlArchive>(frame->Registry().CreateObject("RG38N226_4_07.ctlArchive"));
    platform::ui::Host host(page);
    ASSERT_TRUE(page->Init("{stored}", "", stored.Dtm()));
    EXPECT_EQ(kept.CheckCurveEnabled(), 5);
    EXPECT_TRUE(page->PrepareToRelease());
    stored.Release();
}

TEST_F(ArchivePageTest, AJournalWithDamagedDatesLoadsWhatItCanShowsOnThePageAndSavesAgain) {
    com::PropertyBag bag;
    ASSERT_TRUE(frame->Session().Save(bag));
    bag.WriteProperty("Archive.Journal",
                      Variant::Str("2024-05-06 10:00:16;0;2.5;1322\n9000000000000000;0;1\n1400;1;1.5\n"));
    const auto path = (std::filesystem::temp_directory_path() /
                       ("dtm_archive_damaged_" + std::to_string(::getpid()) + ".txt")).string();
    ASSERT_TRUE(bag.SaveToFile(path));
    std::string refusal;
    const auto report = frame->LoadInstance(path, refusal);
    ASSERT_TRUE(report.loaded) << refusal;
    EXPECT_EQ(report.damagedEntries, std::vector<std::string>{"Archive.Journal (1 line dropped)"});
    EXPECT_EQ(Archive().DamagedLines(), 1u);
    EXPECT_EQ(Archive().Journal().size(), 2u);

    ASSERT_NE(Open(), nullptr);
    const std::string shown = session->Snapshot({}, "ctlDTMArchive");
    EXPECT_NE(shown.find("samples=2 damaged=1"), std::string::npos) << shown;
    EXPECT_NE(shown.find("sample 2024-05-06 10:00:16 curve 0 = 2.5"), std::string::npos) << shown;
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());

    // What loaded stores again, and loads again without a damaged line.
    const bool saved = frame->Session().SaveToFile(path);
    EXPECT_TRUE(saved);
    if (saved) {
        const auto again = frame->LoadInstance(path, refusal);
        ASSERT_TRUE(again.loaded) << refusal;
        EXPECT_TRUE(again.damagedEntries.empty());
        EXPECT_EQ(Archive().DamagedLines(), 0u);
        EXPECT_EQ(Archive().Journal().size(), 2u);
    }
    std::filesystem::remove(path);
}

TEST(ArchiveObject, ADamagedEntryGivesItsDefault) {
    struct Case {
        const char* mask;
        const char* journal;
        int32_t wantMask;
        size_t wantSamples;
        size_t wantDamaged;  // journal lines dropped
    };
    const Case cases[] = {
        {"7", "1;0;2.5\n2;1;3\n", 7, 2, 0},
        {"x", "1;0;2.5\n", -1, 1, 0},
        {"3", "1;0;2.5\nbroken\n", 3, 1, 1},
        {"3", "1;99;2.5\n", 3, 0, 1},
        {"3", "1;0;2.5x\n", 3, 0, 1},
        {"3", "2024-05-06 10:00:16;0;2.5;1322\n2024-05-06;1;3;0\n", 3, 2, 0},
        {"3", "2024-13-06 10:00:16;0;2.5;1322\n", 3, 0, 1},
        {"3", "2024-05-06 10:00:16;0;2.5;kg\n", 3, 0, 1},
        {"3", "2024-05-06 10:00:16;0;2.5;1322;1\n", 3, 0, 1},
        {"3", "1.5;0;2.5\n", 3, 0, 1},
    };
    for (const auto& c : cases) {
        com::PropertyBag bag;
        bag.WriteProperty("Archive.CheckCurveEnabled", Variant::Str(c.mask));
        bag.WriteProperty("Archive.Journal", Variant::Str(c.journal));
        archive::Archive a;
        a.Load(bag, "Archive.");
        EXPECT_EQ(a.CheckCurveEnabled(), c.wantMask) << c.mask << " " << c.journal;
        EXPECT_EQ(a.Journal().size(), c.wantSamples) << c.journal;
        EXPECT_EQ(a.DamagedLines(), c.wantDamaged) << c.journal;
    }
    // A data set of an older kind stored the check as True.
    com::PropertyBag old;
    old.WriteProperty("Archive.CheckCurveEnabled", Variant::Bool(true));
    archive::Archive a;
    a.Load(old, "Archive.");
    EXPECT_EQ(a.CheckCurveEnabled(), -1);
}

// Each line between two good ones: only it is dropped, and what loaded saves
// and loads again as it was.
TEST(ArchiveObject, AJournalLineWithoutADateTheJournalCanStoreIsDroppedAlone) {
    const char* const hostile[] = {
        "9000000000000000;0;1",           // old form, long after 9999
        "-9000000000000000;0;1",          // old form, long before 100
        "-60715569600000;0;1",            // old form, 0099-12-31 12:00
        "251698233599900;0;1",            // old form, 9999-12-31 23:59:59.9: stored it would be 10000-01-01
        "99999999999999999999;0;1",       // old form, beyond any count of milliseconds
        "nan;0;1",
        "inf;0;1",
        "10000-01-01 00:00:00;0;1;0",     // new form out of range
        "0099-12-31 23:59:59;0;1;0",      // new form, before 100
        "NaN;0;1;0",
        "Infinity;0;1;0",
        "-Infinity;0;1;0",
        "1e300;0;1;0",
        "2024-05-06 24:00:00;0;1;0",
    };
    const std::string first = "2024-05-06 10:00:16;0;2.5;1322\n", last = "16681;2;1.0625\n";
    for (const char* line : hostile) {
        SCOPED_TRACE(line);
        com::PropertyBag bag;
        bag.WriteProperty("Archive.CheckCurveEnabled", Variant::Lng(3));
        bag.WriteProperty("Archive.Journal", Variant::Str(first + line + "\n" + last));
        archive::Archive a;
        a.Load(bag, "Archive.");
        EXPECT_EQ(a.DamagedLines(), 1u);
        EXPECT_EQ(a.CheckCurveEnabled(), 3);
        std::vector<double> values;
        for (const auto& sample : a.Journal()) values.push_back(sample.value);
        EXPECT_EQ(values, (std::vector<double>{1.0625, 2.5}));

        com::PropertyBag saved;
        ASSERT_NO_THROW(a.Save(saved, "Archive."));
        EXPECT_EQ(com::CStr(saved.ReadProperty("Archive.Journal")),
                  "2024-01-01 00:00:17;2;1.0625;0\n2024-05-06 10:00:16;0;2.5;1322\n");
        archive::Archive again;
        again.Load(saved, "Archive.");
        EXPECT_EQ(again.DamagedLines(), 0u);
        EXPECT_EQ(again.Journal().size(), 2u);
    }
    // The first and the last moments a Date holds are kept.
    com::PropertyBag edges;
    edges.WriteProperty("Archive.Journal", Variant::Str("9999-12-31 23:59:59;0;1;0\n0100-01-01;0;2;0\n"));
    archive::Archive a;
    a.Load(edges, "Archive.");
    EXPECT_EQ(a.DamagedLines(), 0u);
    ASSERT_EQ(a.Journal().size(), 2u);
    EXPECT_EQ(a.Journal().front().value, 2);
    // Nor does a sample dated where no Date lies enter the journal.
    EXPECT_FALSE(a.Record({std::numeric_limits<double>::quiet_NaN(), 0, 1.0, 0}));
    EXPECT_FALSE(a.Record({1e300, 0, 1.0, 0}));
    EXPECT_EQ(a.Journal().size(), 2u);
}

// Before 1899-12-30 a serial's time counts forward from its negative day, so
// the order of the serials is not the order of the times.
TEST(ArchiveObject, DatesBeforeAndAfter18991230ComeOutInTheOrderOfTheirTimes) {
    com::PropertyBag bag;
    bag.WriteProperty("Archive.Journal", Variant::Str("12:00:00;0;5;0\n"
                                                      "1899-12-29 06:00:00;0;3;0\n"
                                                      "1899-12-31 06:00:00;0;6;0\n"
                                                      "-3913250400000;0;4\n"  // old form: 1899-12-29 18:00
                                                      "1899-12-29;0;2;0\n"
                                                      "1899-12-28 18:00:00;0;1;0\n"));
    archive::Archive a;
    a.Load(bag, "Archive.");
    EXPECT_EQ(a.DamagedLines(), 0u);
    std::vector<double> values;
    for (const auto& sample : a.Journal()) values.push_back(sample.value);
    EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 4, 5, 6}));
    com::PropertyBag saved;
    a.Save(saved, "Archive.");
    EXPECT_EQ(com::CStr(saved.ReadProperty("Archive.Journal")),
              "1899-12-28 18:00:00;0;1;0\n1899-12-29;0;2;0\n1899-12-29 06:00:00;0;3;0\n"
              "1899-12-29 18:00:00;0;4;0\n12:00:00;0;5;0\n1899-12-31 06:00:00;0;6;0\n");

    // Recorded one by one: 1899-12-29 06:00 (-1.25) after 1899-12-29 00:00 (-1),
    // 1899-12-30 12:00 (-0.5) after both.
    archive::Archive recorded;
    for (const auto& [date, value] : {std::pair{-0.5, 3.0}, {-1.25, 2.0}, {-1.0, 1.0}})
        EXPECT_TRUE(recorded.Record({date, 0, value, 0}));
    values.clear();
    for (const auto& sample : recorded.Journal()) values.push_back(sample.value);
    EXPECT_EQ(values, (std::vector<double>{1, 2, 3}));
}

TEST(ArchiveObject, TheJournalKeepsTheNewestSamples) {
    archive::Archive a;
    for (size_t i = 0; i < archive::Archive::kJournalLimit + 5; ++i)
        a.Record({static_cast<double>(i) * kSecond, 0, 1.0, 0});
    EXPECT_EQ(a.Journal().size(), archive::Archive::kJournalLimit);
    EXPECT_EQ(a.Journal().front().date, 5 * kSecond);
}

TEST(ArchiveObject, TheJournalStaysInTimeOrder) {
    const double day = com::DateSerial(2024, 5, 6);
    archive::Archive a;
    // A sample dated before others (a clock set back) goes before them, after those of its own time.
    for (const auto& [second, value] : {std::pair{10, 1.0}, {20, 2.0}, {5, 3.0}, {10, 4.0}, {30, 5.0}})
        a.Record({day + second * kSecond, 0, value, 0});
    std::vector<double> values;
    for (const auto& sample : a.Journal()) values.push_back(sample.value);
    EXPECT_EQ(values, (std::vector<double>{3, 1, 4, 2, 5}));
}

// A journal edited on another system ends its lines in CR LF, all or some:
// they load as LF lines do and are stored again with LF. A CR anywhere else
// in a line (or at the end without its LF) still damages the line.
TEST(ArchiveObject, JournalLinesEndingInCrLfLoadLikeThoseEndingInLf) {
    struct Case {
        const char* name;
        std::string journal;
        std::vector<double> values;  // as loaded, in time order
        size_t damaged;
    };
    const std::string a = "2024-05-06 10:00:16;0;2.5;1322", b = "2024-05-06 10:00:17;1;3;0", c = "1400;0;1.5";
    const Case cases[] = {
        {"all CR LF", a + "\r\n" + b + "\r\n" + c + "\r\n", {1.5, 2.5, 3}, 0},
        {"mixed", a + "\r\n" + b + "\n" + c + "\r\n", {1.5, 2.5, 3}, 0},
        {"mixed, last line unended", a + "\n" + b + "\r\n" + c, {1.5, 2.5, 3}, 0},
        {"CR inside a line", a + "\r\n2024-05-06 10:00:17;1\r;3;0\r\n" + c + "\r\n", {1.5, 2.5}, 1},
        {"CR without LF", a + "\r" + b + "\r\n" + c + "\n", {1.5}, 1},
        {"CR at the end without LF", a + "\r\n" + b + "\r", {2.5}, 1},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        com::PropertyBag bag;
        bag.WriteProperty("Archive.Journal", Variant::Str(t.journal));
        archive::Archive loaded;
        loaded.Load(bag, "Archive.");
        EXPECT_EQ(loaded.DamagedLines(), t.damaged);
        std::vector<double> values;
        for (const auto& sample : loaded.Journal()) values.push_back(sample.value);
        EXPECT_EQ(values, t.values);
        com::PropertyBag saved;
        loaded.Save(saved, "Archive.");
        const std::string text = com::CStr(saved.ReadProperty("Archive.Journal"));
        EXPECT_EQ(text.find('\r'), std::string::npos) << text;
        archive::Archive again;
        again.Load(saved, "Archive.");
        EXPECT_EQ(again.DamagedLines(), 0u);
        EXPECT_EQ(again.Journal().size(), t.values.size());
    }
}

TEST(ArchiveObject, SamplesOfAnOlderDataSetReadAsTheDatesOfTheVirtualClockThen) {
    // Older data sets stored milliseconds of the virtual clock, whose dates began at 2024-01-01.
    com::PropertyBag old;
    old.WriteProperty("Archive.Journal", Variant::Str("1400;0;1.5\n16681;2;1.0625\n"));
    archive::Archive a;
    a.Load(old, "Archive.");
    ASSERT_EQ(a.Journal().size(), 2u);
    const double start = com::DateSerial(2024, 1, 1);
    EXPECT_NEAR(a.Journal()[1].date, start + 16.681 * kSecond, 1e-9);
    EXPECT_EQ(a.Journal()[1].value, 1.0625);
    EXPECT_EQ(a.Journal()[1].unit, 0);

    // Stored again, in today's form, they keep their dates to the second.
    com::PropertyBag bag;
    a.Save(bag, "Archive.");
    EXPECT_EQ(com::CStr(bag.ReadProperty("Archive.Journal")),
              "2024-01-01 00:00:01;0;1.5;0\n2024-01-01 00:00:17;2;1.0625;0\n");
    archive::Archive again;
    again.Load(bag, "Archive.");
    ASSERT_EQ(again.Journal().size(), 2u);
    EXPECT_NEAR(again.Journal()[1].date, start + 17 * kSecond, 1e-9);
}

}  // namespace
}  // namespace dtm
