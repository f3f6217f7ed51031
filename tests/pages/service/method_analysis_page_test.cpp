// The method analysis page: its states, the busy flag shared by the pages of
// one DTM, closing while it runs, the icon animation and the report
// "Analysis.txt" with the service code masked and the elements in error.
#include <filesystem>
#include <functional>

#include "ServicePageFixture.h"
#include "model/elements/clsDataModel.h"
#include "pages/service/ctlMethodAnalysis.h"
#include "pages/service/ctl_TR_Monitor.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/win/Files.h"

namespace dtm::testing {
namespace {

class MethodAnalysisPage : public ServicePageFixture {
protected:
    platform::P<ctlMethodAnalysis> Open() { return OpenPage<ctlMethodAnalysis>(98); }
    bool Running() const { return platform::com::CBool(Element(ctlMethodAnalysis::kRunningPath).TransientValue); }
    std::string Report() const {
        std::string bytes;
        platform::win::ReadFileBytes((folder / "Analysis.txt").string(), bytes);
        return bytes;
    }
    std::string Dict(const std::string& key) const {
        return platform::com::CStr(Ctx().Dictionary()->LookupText("keys", key, "text"));
    }
};

TEST_F(MethodAnalysisPage, OkWalksThroughTheStatesAndBackToIdle) {
    const auto page = Open();
    ASSERT_NE(page, nullptr);
    struct Step {
        int16_t state;
        const char* key;
        float progress;
        bool cancel;
        bool running;
    };
    // The model has no element in error: state 3 leads to 5.
    const Step steps[] = {
        {0, "txt_analysis_state_0", 0, false, false}, {1, "txt_analysis_state_1", 20, true, true},
        {2, "txt_analysis_state_2", 40, true, true},  {3, "txt_analysis_state_3", 60, false, true},
        {5, "txt_analysis_state_5", 90, false, true}, {0, "txt_analysis_state_0", 0, false, false},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE(i);
        if (i > 0) {
            EXPECT_TRUE(Click(page->cmdOk));
        }
        EXPECT_EQ(page->MethodState(), step.state);
        EXPECT_EQ(page->txt_window->Text().rfind(Dict(step.key), 0), 0u) << page->txt_window->Text();
        EXPECT_EQ(page->ProgBar->Value(), step.progress);
        EXPECT_TRUE(page->cmdOk->Enabled());
        EXPECT_EQ(page->cmdCancel->Enabled(), step.cancel);
        EXPECT_EQ(Running(), step.running);
        EXPECT_EQ(page->IconTimer->Enabled(), step.running);
    }
    EXPECT_EQ(page->PictureBox->Picture()->Source.substr(page->PictureBox->Picture()->Source.size() - 9), "Comm0.ico");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MethodAnalysisPage, BelowLevelTwoTheMethodDoesNotStart) {
    const auto page = Open();
    Level(1);
    EXPECT_TRUE(Click(page->cmdOk));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 48);
    EXPECT_EQ(Boxes()[0].prompt, Dict("error_user_level_too_low"));
    EXPECT_EQ(page->MethodState(), 0);
    EXPECT_FALSE(Running());
    Level(2);
    EXPECT_TRUE(Click(page->cmdOk));
    EXPECT_EQ(page->MethodState(), 1);
}

TEST_F(MethodAnalysisPage, OnePageOfADtmRunsTheMethodAtATime) {
    const auto first = Open();
    const auto second = Open();
    EXPECT_TRUE(Click(first->cmdOk));
    EXPECT_TRUE(Click(second->cmdOk));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Dict("unable_to_start_method"));
    EXPECT_EQ(second->MethodState(), 0);
    EXPECT_EQ(second->txt_window->Text(), Dict("txt_analysis_state_0"));
    // Cancel in state 2 gives the flag back without a report.
    EXPECT_TRUE(Click(first->cmdOk));
    EXPECT_TRUE(Click(first->cmdCancel));
    EXPECT_EQ(first->MethodState(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "Analysis.txt"));
    EXPECT_TRUE(Click(second->cmdOk));
    EXPECT_EQ(second->MethodState(), 1);
}

TEST_F(MethodAnalysisPage, ARunningMethodKeepsItsPageOpenAndADestroyedPageGivesTheFlagBack) {
    auto page = Open();
    EXPECT_TRUE(Click(page->cmdOk));
    EXPECT_FALSE(frame->Close(*sessions.back()));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 0);
    EXPECT_EQ(Boxes()[0].prompt, Dict("err_cant_terminate_method_in_process"));
    EXPECT_TRUE(page->Initialised());
    EXPECT_EQ(page->MethodState(), 1);

    page->Terminate();
    EXPECT_FALSE(Running());
    EXPECT_EQ(page->MethodState(), 0);
}

TEST_F(MethodAnalysisPage, TheIconCyclesEveryHalfSecondAndGoesOnWhereItStopped) {
    const auto page = Open();
    const auto shown = [&] {
        const std::string& source = page->PictureBox->Picture()->Source;
        return source.substr(source.size() - 9);
    };
    EXPECT_TRUE(Click(page->cmdOk));
    std::vector<std::string> frames;
    for (int i = 0; i < 5; ++i) {
        Advance(ctlMethodAnalysis::kIconIntervalMs);
        frames.push_back(shown());
    }
    EXPECT_EQ(frames, (std::vector<std::string>{"Comm1.ico", "Comm2.ico", "Comm3.ico", "Comm4.ico", "Comm1.ico"}));
    EXPECT_TRUE(Click(page->cmdCancel));
    EXPECT_EQ(shown(), "Comm0.ico");
    Advance(2000);
    EXPECT_EQ(shown(), "Comm0.ico");
    EXPECT_TRUE(Click(page->cmdOk));
    Advance(ctlMethodAnalysis::kIconIntervalMs);
    EXPECT_EQ(shown(), "Comm2.ico");
}

TEST_F(MethodAnalysisPage, TheReportListsEveryElementWithTheServiceCodeMasked) {
    const auto page = Open();
    // A service code typed but never sent must not reach the report.
    auto& code = Element("PHYS/MANU/SERVICE_PASSWORD");
    code.TransientValue = platform::Variant::Str("SERVICE42");
    code.PersistentValue = platform::Variant::Str("SERVICE42");
    platform::win::WriteTextFile((folder / "Analysis.txt").string(), "an earlier report");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Click(page->cmdOk));
    ASSERT_EQ(page->MethodState(), 3);
    const std::string report = Report();

    const std::string header =
        "Device Name= RXD 218\r\nClassification ID = Flow\r\nDevice Date = 2024-01-15\r\n"
        "Device Descriptor = Coriolis mass-flow converter RXD 218, PROFIBUS PA Profile 3.0\r\n"
        "Device Type Id = 218\r\nDevice Vendor = TELVOR\r\nDevice Version= 1.1.14\r\nManufacturer Id= 173\r\n"
        "SubDeviceType= PA\r\nDataSetState= " +
        std::to_string(Params().DataSetState());
    EXPECT_EQ(report.rfind(header + "\r\n\r\n[", 0), 0u) << report.substr(0, 600);
    EXPECT_EQ(page->txt_window->Text(), Dict("txt_analysis_state_3") + "\r\n" + header);
    EXPECT_EQ(report.find("SERVICE42"), std::string::npos);
    EXPECT_NE(report.find("[PHYS/MANU/SERVICE_PASSWORD]\r\nInitialValue = *********\r\nDeviceValue = *********\r\n"
                          "PersistentValue = *********\r\nTransientValue = *********\r\nStrUnit = \r\n"),
              std::string::npos);
    const auto& tag = Element("PHYS/TAG_DESC");
    EXPECT_NE(report.find("[PHYS/TAG_DESC]\r\nInitialValue = " + platform::com::CStr(tag.InitialValue) +
                          "\r\nDeviceValue = \r\nPersistentValue = " + platform::com::CStr(tag.PersistentValue) +
                          "\r\nTransientValue = " + platform::com::CStr(tag.TransientValue) +
                          "\r\nStrUnit = \r\nValidity = True\r\nCmdErr = \r\nDeviceStatus = 0\r\nStatusFlags = " +
                          std::to_string(tag.StatusFlags()) + "\r\n\r\n\r\n"),
              std::string::npos);
    // Every element once, in collection order.
    size_t at = 0;
    for (const auto& item : Params()) {
        const size_t next = report.find("[" + item->Name() + "]\r\n", at);
        ASSERT_NE(next, std::string::npos) << item->Name();
        at = next + 1;
    }
}

TEST_F(MethodAnalysisPage, ElementsFromStatusSixtyFourOnAreListedInRed) {
    const auto page = Open();
    struct Case {
        const char* path;
        int32_t flags;
        bool listed;
    };
    const Case cases[] = {
        {"PHYS/TAG_DESC", 63, false},
        {"PHYS/DESCRIPTOR", 64, true},
        {"PHYS/DEVICE_MESSAGE", 65536, true},
        {"PHYS/DEVICE_INSTAL_DATE", static_cast<int32_t>(0x80000040u), false},
    };
    std::string expected;
    for (const Case& c : cases) {
        auto& element = Element(c.path);
        element.ClearStatusFlag(element.StatusFlags());
        element.SetStatusFlag(c.flags);
        if (!c.listed) continue;
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(c.flags));
        expected += "Surface Label = " + element.Label.str() + "\r\nInternal Name = " + c.path +
                    "\r\nError Code = " + std::to_string(c.flags) + ", " + hex + " (Hex)\r\n\r\n";
    }
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(Click(page->cmdOk));
    EXPECT_EQ(page->MethodState(), 4);
    EXPECT_EQ(page->ProgBar->Value(), 80);
    EXPECT_EQ(page->txt_window->ForeColor(), 255);
    EXPECT_EQ(page->ErrorReport(), expected);
    EXPECT_EQ(page->txt_window->Text(), Dict("txt_analysis_state_4") + "\r\n\r\n" + expected);
    EXPECT_TRUE(Click(page->cmdOk));
    EXPECT_EQ(page->txt_window->ForeColor(), 0);
}

// The page says that the report was not written, and where, above the header.
TEST_F(MethodAnalysisPage, AReportThatCannotBeWrittenIsNamedAsNotWrittenAboveTheHeader) {
    const auto page = Open();
    std::filesystem::create_directory(folder / "Analysis.txt");  // no file can take its place
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Click(page->cmdOk));
    EXPECT_EQ(page->MethodState(), 3);
    const std::string path = platform::app::File(ctlMethodAnalysis::kReportFile);
    EXPECT_EQ(page->txt_window->Text().rfind("The report could not be written to " + path + ". ", 0), 0u)
        << page->txt_window->Text();
    EXPECT_NE(page->txt_window->Text().find("\r\nDevice Name= RXD 218\r\n"), std::string::npos);
    EXPECT_TRUE(Click(page->cmdOk));
    EXPECT_EQ(page->MethodState(), 5);
}

TEST_F(MethodAnalysisPage, APageWithoutDtmShowsTheIdleStateByItsKeys) {
    const auto page = Create<ctlMethodAnalysis>("ctlMethodAnalysis");
    EXPECT_FALSE(page->Init("id", "", nullptr));
    EXPECT_EQ(page->MethodState(), 0);
    EXPECT_EQ(page->txt_window->Text(), "txt_analysis_state_0");
    EXPECT_EQ(page->PictureBox->ToolTipText(), "method_icon_tooltip_state_0");
}

}  // namespace
}  // namespace dtm::testing

namespace dtm::testing {
namespace {

// A data set saved while a method ran and a monitor was open: the loaded
// instance neither blocks the method nor passes responses to a page that is
// not there.
TEST_F(MethodAnalysisPage, ADataSetSavedDuringARunLoadsWithTheSessionVariablesReset) {
    const auto page = Open();
    ASSERT_NE(OpenPage<ctl_TR_Monitor>(97), nullptr);
    EXPECT_TRUE(Click(page->cmdOk));
    ASSERT_TRUE(Running());
    const auto path = (folder / "running.dataset").string();
    ASSERT_TRUE(frame->Session().SaveToFile(path));

    frame::FrameSession stored;
    ASSERT_TRUE(stored.StartStored(frame->Registry(), path).loaded);
    const auto& params = *stored.Context()->Parameters();
    EXPECT_FALSE(platform::com::CBool(params.Item(ctlMethodAnalysis::kRunningPath)->TransientValue()));
    EXPECT_EQ(platform::com::CStr(params.Item(ctl_TR_Monitor::kMonitorPath)->TransientValue()), "");
    stored.Release();
}

// A running method and an open monitor are the session's, not the data set's:
// a saved data set stays "saved" and unmarked.
TEST_F(MethodAnalysisPage, TheSessionVariablesLeaveTheDataSetStateAlone) {
    struct Case {
        const char* path;
        std::function<void()> start;
    };
    const Case cases[] = {
        {ctlMethodAnalysis::kRunningPath, [&] { EXPECT_TRUE(Click(Open()->cmdOk)); }},
        {ctl_TR_Monitor::kMonitorPath, [&] { EXPECT_NE(OpenPage<ctl_TR_Monitor>(97), nullptr); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        platform::com::PropertyBag bag;
        ASSERT_TRUE(frame->Session().Save(bag));
        c.start();
        const auto& session = Element(c.path);
        ASSERT_FALSE(platform::com::Equals(session.TransientValue, session.InitialValue));
        DataModelOf(Params()).EvaluateDataSetState(frame->Session().Context());
        EXPECT_EQ(platform::com::CLng(Element("~/DataStatus").TransientValue), 0);  // "saved"
        EXPECT_FALSE(Params().Modified());
    }
}

}  // namespace
}  // namespace dtm::testing
