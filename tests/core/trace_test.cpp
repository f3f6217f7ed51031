#include <gtest/gtest.h>

#include <string>

#include "core/services/ReadWriteIniFiles.h"
#include "core/services/Trace.h"
#include "core/ComponentFolder.h"
#include "model/elements/DataModelHelpers.h"
#include "platform/app/Path.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

using dtm::testing::ComponentFolder;
using platform::Variant;

namespace {

constexpr const char* kTraceOn = "[TimeCritical]\nTrace=ExternalFile\n";

class Trace : public ::testing::Test {
protected:
    void SetUp() override {
        ComponentFolder::FixClock();
        dtm::SetTraceVersionName("V1.1.14");
    }

    // A context whose collection holds "~/Tag" with `tag`.
    platform::P<platform::rt::DTMContext> ContextWithTag(const Variant& tag, const std::string& systemTag) {
        auto ctx = platform::rt::DTMContext::Create();
        auto el = dtm::AddParam(*ctx->Parameters(), "~/Tag", Variant::Str(""), 14, -1);
        el->TransientValue = tag;
        ctx->SystemTag(systemTag);
        return ctx;
    }

    ComponentFolder folder_;
};

}  // namespace

TEST_F(Trace, LineHoldsDateVersionTagsFirstTextAndMessage) {
    folder_.WriteIni(kTraceOn);
    dtm::TraceOut("DTMMain-IDtm_InitNew", "RetValue = TRUE", ContextWithTag(Variant::Str("FT-101"), "Proj/Dev1"));
    dtm::TraceOut("ctlIdent-InitControls", "", nullptr);
    EXPECT_EQ(folder_.Read("TraceInfoFile.txt"),
              "2024-03-05 14:07:09 V1.1.14: FT-101  : Proj/Dev1: DTMMain-IDtm_InitNew: RetValue = TRUE\r\n"
              "2024-03-05 14:07:09 V1.1.14: TAG N.A.: SYST. N.A.: ctlIdent-InitControls: \r\n");
}

TEST_F(Trace, TagAndSystemTagFields) {
    struct Case {
        const char* name;
        Variant tag;
        const char* systemTag;
        const char* fields;
    };
    const Case cases[] = {
        {"three characters padded to eight", Variant::Str("abc"), "S", "abc     : S: "},
        {"eight characters unpadded", Variant::Str("12345678"), "S", "12345678: S: "},
        {"longer tag unpadded", Variant::Str("123456789"), "S", "123456789: S: "},
        {"padding counts characters", Variant::Str("\xC3\xA4\xC3\xB6\xC3\xBC"), "S",
         "\xC3\xA4\xC3\xB6\xC3\xBC     : S: "},
        {"empty tag", Variant::Str(""), "S", "EMPTYTAG: S: "},
        {"Empty tag value", Variant(), "S", "EMPTYTAG: S: "},
        {"tag that cannot be read", Variant::Null(), "S", "TAG N.A.: S: "},
        {"empty system tag", Variant::Str("abc"), "", "abc     : EMPTY SYSTAG: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dtm::TraceLine("X-Y", "m", ContextWithTag(c.tag, c.systemTag)),
                  std::string("2024-03-05 14:07:09 V1.1.14: ") + c.fields + "X-Y: m");
    }
}

TEST_F(Trace, TagNotAvailableBeforeTheModelOrWithoutTagElement) {
    auto ctx = platform::rt::DTMContext::Create();
    EXPECT_EQ(dtm::TraceLine("A", "B", ctx), "2024-03-05 14:07:09 V1.1.14: TAG N.A.: EMPTY SYSTAG: A: B");
    dtm::AddParam(*ctx->Parameters(), "~/Address", Variant::Int(126), 2, 1);
    ctx->SystemTag("S");
    EXPECT_EQ(dtm::TraceLine("A", "B", ctx), "2024-03-05 14:07:09 V1.1.14: TAG N.A.: S: A: B");
}

TEST_F(Trace, OnlyExternalFileInExactCaseSwitchesTracingOn) {
    for (const char* value : {"externalfile", "EXTERNALFILE", "Off", "ExternalFile2"}) {
        SCOPED_TRACE(value);
        dtm::ResetTraceModes();
        folder_.WriteIni(std::string("[TimeCritical]\nTrace=") + value + "\n");
        dtm::TraceOut("A", "B", nullptr);
        EXPECT_FALSE(folder_.Exists("TraceInfoFile.txt"));
    }
}

TEST_F(Trace, SwitchIsReadAgainWhileEmptyAndKeptOnceItHoldsAValue) {
    folder_.WriteIni("[TimeCritical]\nTraceFileSizeInMB=5\n");
    dtm::TraceOut("A", "1", nullptr);
    EXPECT_FALSE(folder_.Exists("TraceInfoFile.txt"));

    folder_.WriteIni(kTraceOn);
    dtm::TraceOut("A", "2", nullptr);
    EXPECT_TRUE(folder_.Exists("TraceInfoFile.txt"));

    // Once read, the mode stays for the thread: switching the file off has no effect.
    folder_.WriteIni("[TimeCritical]\nTrace=Off\n");
    dtm::TraceOut("A", "3", nullptr);
    EXPECT_EQ(folder_.Read("TraceInfoFile.txt"),
              "2024-03-05 14:07:09 V1.1.14: TAG N.A.: SYST. N.A.: A: 2\r\n"
              "2024-03-05 14:07:09 V1.1.14: TAG N.A.: SYST. N.A.: A: 3\r\n");
}

TEST_F(Trace, ChannelTraceHasItsOwnSwitchAndFile) {
    folder_.WriteIni(kTraceOn);
    dtm::ChannelTraceOut("DTMMain-IDtmChannel_GetChannels", "x", nullptr);
    EXPECT_FALSE(folder_.Exists("ChannelTraceFile.txt"));

    // A missing key is read again on the next call.
    folder_.WriteIni(std::string(kTraceOn) + "[ChannelAssignment]\nTrace=ExternalFile\n");
    dtm::ChannelTraceOut("DTMMain-IDtmChannel_GetChannels", "x", nullptr);
    dtm::TraceOut("DTMMain-IDtm_InitNew", "", nullptr);
    EXPECT_EQ(folder_.Read("ChannelTraceFile.txt"),
              "2024-03-05 14:07:09 V1.1.14: TAG N.A.: SYST. N.A.: DTMMain-IDtmChannel_GetChannels: x\r\n");
    EXPECT_EQ(folder_.Read("TraceInfoFile.txt"),
              "2024-03-05 14:07:09 V1.1.14: TAG N.A.: SYST. N.A.: DTMMain-IDtm_InitNew: \r\n");
}

TEST_F(Trace, AFileThatCannotBeWrittenLosesTheLineQuietly) {
    folder_.WriteIni("[TimeCritical]\nTrace=ExternalFile\n[ChannelAssignment]\nTrace=ExternalFile\n");
    std::filesystem::create_directories(folder_.Dir() / "TraceInfoFile.txt");
    std::filesystem::create_directories(folder_.Dir() / "ChannelTraceFile.txt");
    EXPECT_FALSE(dtm::AppendTraceFile("line"));
    EXPECT_FALSE(dtm::AppendChannelTraceFile("line"));
    EXPECT_NO_THROW(dtm::TraceOut("A", "B", nullptr));
    EXPECT_NO_THROW(dtm::ChannelTraceOut("A", "B", nullptr));
}

TEST(ShippedConfiguration, TracingIsOff) {
    platform::app::SetPath("");
    EXPECT_EQ(dtm::ReadIniString(Variant::Str(dtm::DtmIniFile()), "TimeCritical", "Trace"), "Off");
    EXPECT_EQ(dtm::ReadIniString(Variant::Str(dtm::DtmIniFile()), "ChannelAssignment", "Trace"), "Off");
}
