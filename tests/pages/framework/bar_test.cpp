#include <limits>
#include <sstream>

#include "FrameworkTest.h"
#include "core/ComponentFolder.h"
#include "pages/framework/ctlBar.h"
#include "platform/com/PropertyBag.h"

namespace {

using namespace platform;
using platform::Variant;

// Counts paints, so tests see whether a Let repainted.
class CountingBar : public dtm::ctlBar {
public:
    int paints = 0;
    void Paint() override {
        ++paints;
        ctlBar::Paint();
    }
};

class Bar : public dtm::testing::FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        folder.WriteIni("[TimeCritical]\r\nTrace=ExternalFile\r\n");
        bar = std::make_shared<CountingBar>();
        bar->Name = "Bar1";
        bar->Create();
        bar->BackColor(0xEEEEEE);
        bar->Color(0x00FF00);
        bar->LimitColor(0xFF);
        bar->Move(0, 0, 1515, 400);  // w = 1500, Y = 100
    }
    // The trace messages of the bar's lines since the last call.
    std::vector<std::string> TakeTrace() {
        std::vector<std::string> messages;
        std::istringstream in(folder.Read("TraceInfoFile.txt"));
        folder.Write("TraceInfoFile.txt", "");
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const auto at = line.find("Bar1- ");
            if (at != std::string::npos) messages.push_back(line.substr(at + 6));
        }
        return messages;
    }
    static std::string Fills(const ui::Canvas& canvas) {
        std::ostringstream out;
        for (const auto& f : canvas.Fills())
            out << "(" << f.x1 << "," << f.y1 << "," << f.x2 << "," << f.y2 << ":" << std::hex << f.colour << std::dec
                << ")";
        return out.str();
    }

    dtm::testing::ComponentFolder folder;
    P<CountingBar> bar;
};

TEST_F(Bar, ANewBarHasTheDefaultRangeAndTheScaleBelowTheBar) {
    EXPECT_EQ(com::CDbl(bar->RangeMin()), 0.0);
    EXPECT_EQ(com::CDbl(bar->RangeMax()), 100.0);
    EXPECT_TRUE(bar->Value().IsEmpty());
    EXPECT_EQ(bar->Caption(), "");
    EXPECT_FALSE(bar->Mirrored());
    EXPECT_EQ(bar->Scale1->Left(), 0);
    EXPECT_EQ(bar->Scale1->Top(), 100);
    EXPECT_EQ(bar->Scale1->Width(), 1515);
    EXPECT_EQ(bar->Scale1->Height(), 300);
    bar->Show();
    ASSERT_EQ(bar->Scale1->MethodCallCount(), 1);
    EXPECT_EQ(com::CLng(bar->Scale1->LastMethodCall().first), 13003);
    EXPECT_TRUE(com::CBool(bar->Scale1->LastMethodCall().second));
}

TEST_F(Bar, PaintDrawsBackgroundBarAndLimitMarks) {
    struct Case {
        const char* name;
        double min, max;
        Variant value, lo, hi;
        bool mirrored;
        const char* fills;
    };
    const Case cases[] = {
        {"half", 0, 100, Variant::Dbl(50), Variant::Dbl(10), Variant::Dbl(90), false,
         "(750,0,1500,100:eeeeee)(0,0,750,100:ff00)(150,0,150,100:ff)(1350,0,1350,100:ff)"},
        {"mirrored", 0, 100, Variant::Dbl(50), Variant::Dbl(10), Variant::Dbl(90), true,
         "(750,0,1500,100:eeeeee)(0,0,750,100:ff00)(150,0,150,100:ff)(1350,0,1350,100:ff)"},
        {"mirrored quarter", 0, 100, Variant::Dbl(25), Variant(), Variant(), true,
         "(375,0,1500,100:eeeeee)(0,0,1125,100:ff00)(0,0,0,100:ff)(0,0,0,100:ff)"},
        {"negative minimum", -50, 50, Variant::Dbl(-25), Variant(), Variant(), false,
         "(375,0,1500,100:eeeeee)(750,0,375,100:ff00)(750,0,750,100:ff)(750,0,750,100:ff)"},
        {"below the range", 10, 110, Variant::Dbl(0), Variant::Dbl(10), Variant::Dbl(110), false,
         "(-150,0,1500,100:eeeeee)(0,0,-150,100:ff00)(0,0,0,100:ff)(1500,0,1500,100:ff)"},
        {"empty range", 10, 10, Variant::Dbl(5), Variant::Dbl(1), Variant::Dbl(2), false,
         "(0,0,1500,100:eeeeee)(0,0,0,100:ff00)"},
        {"empty range mirrored", 10, 10, Variant::Dbl(5), Variant(), Variant(), true,
         "(0,0,1500,100:eeeeee)(0,0,1500,100:ff00)"},
        {"text value", 0, 100, Variant("50"), Variant(), Variant(), false,
         "(750,0,1500,100:eeeeee)(0,0,750,100:ff00)(0,0,0,100:ff)(0,0,0,100:ff)"},
    };
    for (const auto& c : cases) {
        bar->RangeMax(Variant::Dbl(1e6));
        bar->RangeMin(Variant::Dbl(c.min));
        bar->RangeMax(Variant::Dbl(c.max));
        bar->Mirrored(c.mirrored);
        bar->LimitMin(c.lo);
        bar->LimitMax(c.hi);
        bar->Value(c.value);
        bar->Refresh();
        EXPECT_EQ(Fills(bar->Canvas()), c.fills) << c.name;
    }
}

TEST_F(Bar, PaintTracesItsCalculationAndStopsAtAnError) {
    bar->Value(Variant::Dbl(50));
    TakeTrace();
    bar->Refresh();
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{
                               "UserControl_Paint: Beginning of function", "UserControl_Paint: m_value = 50",
                               "UserControl_Paint: w = 1500", "UserControl_Paint: Scale1.ActualRangeMax = 100",
                               "UserControl_Paint: Scale1.ActualRangeMin = 0",
                               "UserControl_Paint: Calculated values are following:", "UserControl_Paint: X  = 750",
                               "UserControl_Paint: Xo = 0", "UserControl_Paint: Y  = 100",
                               "UserControl_Paint: Calculation succesfull, end of routine"}));

    const std::pair<const char*, std::function<void()>> failures[] = {
        {"null value", [&] { bar->Value(Variant::Null()); }},
        {"null limit", [&] { bar->LimitMax(Variant::Null()); }},
        {"text value", [&] { bar->Value(Variant("high")); }},
        {"overflow", [&] { bar->Value(Variant::Dbl(1e300)); }},
    };
    for (const auto& [name, set] : failures) {
        bar->Value(Variant::Dbl(50));
        bar->LimitMax(Variant());
        set();
        TakeTrace();
        bar->Refresh();
        const auto trace = TakeTrace();
        ASSERT_FALSE(trace.empty()) << name;
        EXPECT_EQ(trace.back(), "UserControl_Paint: Error in function, most possible reason: Overflow") << name;
    }
}

TEST_F(Bar, ARangeValueThatDoesNotConvertIsIgnoredAndTraced) {
    bar->RangeMin(Variant::Dbl(5));
    bar->RangeMax(Variant::Dbl(50));
    const auto marks = bar->PropertyChangeCount();
    const Variant bad[] = {Variant(), Variant::Null(), Variant::Dbl(std::numeric_limits<double>::quiet_NaN()),
                           Variant("many")};
    for (const auto& v : bad) {
        TakeTrace();
        bar->RangeMin(v);
        bar->RangeMax(v);
        EXPECT_EQ(com::CDbl(bar->RangeMin()), 5.0) << com::VarTypeOf(v);
        EXPECT_EQ(com::CDbl(bar->RangeMax()), 50.0) << com::VarTypeOf(v);
        const auto trace = TakeTrace();
        ASSERT_EQ(trace.size(), 2u) << com::VarTypeOf(v);
        EXPECT_EQ(trace[0].rfind("Let RangeMin: Range value ignored", 0), 0u) << trace[0];
        EXPECT_EQ(trace[1].rfind("Let RangeMax: Range value ignored", 0), 0u) << trace[1];
    }
    EXPECT_EQ(bar->PropertyChangeCount(), marks);
    bar->RangeMin(Variant(" 7.5 "));  // a text that reads as a number
    EXPECT_EQ(com::CDbl(bar->RangeMin()), 7.5);
    EXPECT_EQ(bar->Scale1->RangeMin(), 7.5);
}

TEST_F(Bar, LetsMarkAndRepaintAsTheirPropertyAsks) {
    struct Case {
        const char* name;
        std::function<void()> set;
        const char* mark;  // "" = none
        bool repaints;
    };
    const Case cases[] = {
        {"Caption", [&] { bar->Caption("Flow"); }, "Caption", false},
        {"Color", [&] { bar->Color(1); }, "Color", true},
        {"LimitColor", [&] { bar->LimitColor(2); }, "LimitColor", true},
        {"RangeMin", [&] { bar->RangeMin(Variant::Lng(-10)); }, "RangeMin", true},
        {"RangeMax", [&] { bar->RangeMax(Variant::Sng(20)); }, "RangeMax", true},
        // a device's Single limit that no short decimal is: read again, it is no change
        {"RangeMax Single", [&] { bar->RangeMax(Variant::Sng(0.1f)); }, "RangeMax", true},
        {"Value", [&] { bar->Value(Variant::Dbl(3)); }, "", true},
        {"LimitMin", [&] { bar->LimitMin(Variant::Dbl(1)); }, "", true},
        {"LimitMax", [&] { bar->LimitMax(Variant::Dbl(2)); }, "", true},
        {"Mirrored", [&] { bar->Mirrored(true); }, "Mirrored", true},
        {"UserLanguage", [&] { bar->UserLanguage(7); }, "", false},
    };
    for (const auto& c : cases) {
        for (int round = 0; round < 2; ++round) {  // the second Let sets the same value
            const auto marks = bar->PropertyChangeCount();
            bar->paints = 0;
            c.set();
            const bool first = round == 0;
            const bool marked = bar->PropertyChangeCount() > marks;
            EXPECT_EQ(marked, first && *c.mark) << c.name << " round " << round;
            if (marked) {
                EXPECT_EQ(bar->PropertyChanges().back(), c.mark);
            }
            EXPECT_EQ(bar->paints > 0, first && c.repaints) << c.name << " round " << round;
        }
    }
    EXPECT_EQ(bar->UserLanguage(), 7);
    EXPECT_EQ(bar->Scale1->Caption(), "Flow");
}

TEST_F(Bar, PropertiesArePersistedWithTheirDefaults) {
    com::PropertyBag bag;
    auto fresh = std::make_shared<dtm::ctlBar>();
    fresh->Create();
    fresh->WriteProperties(bag);
    for (const char* key : {"Caption", "Color", "LimitColor", "RangeMin", "RangeMax", "Mirrored"})
        EXPECT_FALSE(bag.Contains(key)) << key;

    bar->Caption("Flow");
    bar->RangeMin(Variant::Dbl(-5));
    bar->RangeMax(Variant::Dbl(25));
    bar->Mirrored(true);
    bar->Value(Variant::Dbl(3));
    com::PropertyBag saved;
    bar->WriteProperties(saved);
    auto again = std::make_shared<dtm::ctlBar>();
    again->Create(&saved);
    EXPECT_EQ(again->Caption(), "Flow");
    EXPECT_EQ(again->Color(), 0x00FF00);
    EXPECT_EQ(again->LimitColor(), 0xFF);
    EXPECT_EQ(com::CDbl(again->RangeMin()), -5.0);
    EXPECT_EQ(again->Scale1->RangeMax(), 25.0);
    EXPECT_TRUE(again->Mirrored());
    EXPECT_TRUE(again->Value().IsEmpty());

    com::PropertyBag empty;
    auto defaults = std::make_shared<dtm::ctlBar>();
    defaults->Create(&empty);
    EXPECT_EQ(com::CDbl(defaults->RangeMax()), 100.0);
}

}  // namespace
