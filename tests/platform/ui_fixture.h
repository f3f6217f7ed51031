#pragma once
// A clean widget environment per test and a small form whose user controls
// log their events. The error sink must stay empty unless a test takes its
// expected errors out (TakeErrors).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Host.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/ui/TabStrip.h"
#include "platform/ui/UserControl.h"
#include "platform/win/Shell.h"

namespace uitest {

using namespace platform;
using namespace platform::ui;
using Log = std::vector<std::string>;

inline Log& EventLog() {
    static Log log;
    return log;
}

// A user control that logs "<name>.<event>".
class LoggingControl : public UserControl {
public:
    void Initialize() override { Note("Initialize"); }
    void InitProperties() override { Note("InitProperties"); }
    void ReadProperties(const com::PropertyBag& bag) override {
        Note("ReadProperties " + com::CStr(bag.ReadProperty("Caption", "")));
    }
    void Resize() override { Note("Resize"); }
    void Show() override { Note("Show"); }
    void Hide() override { Note("Hide"); }
    void Paint() override { Note("Paint"); }
    void EnterFocus() override { Note("EnterFocus"); }
    void ExitFocus() override { Note("ExitFocus"); }
    void AmbientChanged(const std::string& name) override { Note("AmbientChanged " + name); }

    // Runs after each logged event (a test's reaction).
    std::function<void(const std::string& event)> Hook;

protected:
    void BuildForm() override { Note("BuildForm"); }
    void Note(const std::string& event) const {
        EventLog().push_back((Name.empty() ? TypeName() : Name) + "." + event);
        if (Hook) Hook(event);
    }
};

// Inner control: one button.
class InnerControl : public LoggingControl {
public:
    std::string TypeName() const override { return "InnerControl"; }
    P<CommandButton> cmdInner;

protected:
    void BuildForm() override {
        LoggingControl::BuildForm();
        cmdInner = Place<CommandButton>("cmdInner");
        cmdInner->Caption("Inner");
    }
};

// The form: a frame holding a check box and the inner control, a button,
// a label, a tab strip and a scroll bar.
class TestForm : public LoggingControl {
public:
    std::string TypeName() const override { return "TestForm"; }
    P<Frame> frmA;
    P<CheckBox> chkA;
    P<InnerControl> inner;
    P<CommandButton> cmdOK;
    P<Label> lblInfo;
    P<TabStrip> strip;
    P<VScrollBar> bar;

protected:
    void BuildForm() override {
        LoggingControl::BuildForm();
        frmA = Place<Frame>("frmA");
        frmA->Caption("Group");
        chkA = Place<CheckBox>("chkA", std::nullopt, frmA.get());
        chkA->Caption("Option");
        com::PropertyBag design;
        design.WriteProperty("Caption", "designed");
        inner = Place<InnerControl>("inner", std::nullopt, frmA.get(), &design);
        cmdOK = Place<CommandButton>("cmdOK");
        cmdOK->Caption("OK");
        lblInfo = Place<Label>("lblInfo");
        lblInfo->Caption("Say \"hi\"");
        strip = Place<TabStrip>("TabStrip");
        bar = Place<VScrollBar>("bar");
        bar->Max(100);
    }
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override {
        EXPECT_TRUE(app::ErrorSink::Instance().Empty()) << Describe(app::ErrorSink::Instance().Errors());
        ResetAll();
    }
    static void ResetAll() {
        app::EventLoop::Instance().Reset();
        app::ErrorSink::Instance().Clear();
        win::ClearShellRecords();
        Environment::Instance().Reset();
        EventLog().clear();
    }
    // The errors recorded so far, cleared from the sink.
    static std::vector<app::TrappedError> TakeErrors() {
        auto errors = app::ErrorSink::Instance().Errors();
        app::ErrorSink::Instance().Clear();
        return errors;
    }
    static std::string Describe(const std::vector<app::TrappedError>& errors) {
        std::string text;
        for (const auto& e : errors) text += std::to_string(e.number) + " " + e.description + " at " + e.where + "\n";
        return text;
    }
    // The event log since the last call.
    static Log TakeLog() {
        Log log = EventLog();
        EventLog().clear();
        return log;
    }
};

}  // namespace uitest
