// Process-data channels towards the frame and the runtime, and their channel parameters as XML.
#include <gtest/gtest.h>

#include <string>

#include "ErrorOf.h"
#include "core/SlaveSetModel.h"
#include "frame/FrameContainer.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::rt::ProfibusChannelParameter;

class Channel : public ::testing::Test {
protected:
    void SetUp() override {
        set_.AddChannels();
        set_.ctx->SystemTag("Project/RXD218");
        set_.params().Modified(false);
    }
    clsChannel& AI1() { return set_.Channel(1); }
    // AI1's parameters as XML with property n replaced.
    std::string XmlWith(int32_t n, const Variant& value) {
        ProfibusChannelParameter copy;
        for (int32_t i = 1; i <= ProfibusChannelParameter::kPropertyCount; ++i)
            copy.Property(i, AI1().ProfibusChannelParameter()->Property(i));
        copy.Property(n, value);
        return copy.Render(set_.ctx);
    }

    testing::SlaveSetModel set_;
};

TEST_F(Channel, RuntimeFace) {
    clsChannel channel;
    EXPECT_TRUE(channel.Active());
    EXPECT_EQ(channel.ProtocolId(), "036D1497-387B-11D4-86E1-00E0987270B9");
    EXPECT_TRUE(platform::com::Identical(channel.ProfibusChannelParameter()->ProtocolId(),
                                         Variant::Str(kProfibusDPV1ProtocolId)));
    channel.ChannelId("AI9");
    EXPECT_EQ(channel.ChannelId(), "AI9");
    EXPECT_TRUE(platform::com::Identical(channel.ProfibusChannelParameter()->ChannelId(), Variant::Str("AI9")));
    EXPECT_EQ(channel.Parent(), nullptr);
    EXPECT_EQ(channel.Context(), nullptr);
    EXPECT_TRUE(channel.InitNew(nullptr, nullptr));
    EXPECT_FALSE(channel.ReadFromChannelParameter(nullptr, nullptr));
    EXPECT_FALSE(channel.WriteToChannelParameter(nullptr, nullptr));
    EXPECT_EQ(AI1().Parent(), set_.params().Channels());
    EXPECT_EQ(AI1().Context(), set_.ctx);
}

TEST_F(Channel, PathAndParametersNeedTheContext) {
    EXPECT_EQ(AI1().GetChannelPath(), "Project/RXD218/AI1");
    EXPECT_EQ(set_.Channel(16).GetChannelPath(), "Project/RXD218/TOT8_ST");
    // What the frame is handed as the DTM's channels.
    auto channels = set_.params().Channels()->ChannelCollection();
    EXPECT_EQ(channels->Count(), 16);
    EXPECT_EQ(channels->Item(2)->GetChannelPath(), "Project/RXD218/AI1_ST");
    EXPECT_EQ(ErrorOf([&] { channels->Item(17); }), platform::com::errSubscript);
    const std::string xml = AI1().GetChannelParameters("", kProfibusDPV1ProtocolId);
    EXPECT_NE(xml.find("<ProfibusChannelParameter>"), std::string::npos);
    EXPECT_EQ(AI1().GetChannelParameters("any/path", "other"), xml);

    clsChannel orphan;
    EXPECT_EQ(ErrorOf([&] { orphan.GetChannelPath(); }), platform::com::errObjectNotSet);
    EXPECT_EQ(orphan.GetChannelParameters("", kProfibusDPV1ProtocolId), "");
    EXPECT_FALSE(orphan.SetChannelParameters("", kProfibusDPV1ProtocolId, xml));
}

TEST_F(Channel, SetChannelParametersRefusals) {
    const std::string own = XmlWith(ProfibusChannelParameter::kBitOffset, Variant::Int(99));
    struct Case {
        const char* name;
        std::string protocolId;
        std::string xml;
    };
    const Case cases[] = {
        {"empty protocol id", "", own},
        {"another protocol", "036D1498-387B-11D4-86E1-00E0987270B9", own},
        {"malformed XML", kProfibusDPV1ProtocolId, "<FDT><ProfibusChannelParameter>"},
        {"no channel parameters", kProfibusDPV1ProtocolId, "<FDT/>"},
        {"another channel", kProfibusDPV1ProtocolId, XmlWith(ProfibusChannelParameter::kChannelId, Variant::Str("AI2"))},
        {"channel id of another type", kProfibusDPV1ProtocolId,
         XmlWith(ProfibusChannelParameter::kChannelId, Variant::Lng(1))},
    };
    const std::string before = AI1().GetChannelParameters("", "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(AI1().SetChannelParameters("", c.protocolId, c.xml));
        EXPECT_EQ(AI1().GetChannelParameters("", ""), before);
        EXPECT_FALSE(set_.params().Modified());
    }
}

TEST_F(Channel, SetChannelParametersTakesOverAllProperties) {
    auto frame = std::make_shared<frame::FrameContainer>();
    set_.ctx->Container(frame);
    ProfibusChannelParameter wanted;
    for (int32_t i = 1; i <= ProfibusChannelParameter::kPropertyCount; ++i)
        wanted.Property(i, AI1().ProfibusChannelParameter()->Property(i));
    wanted.BitOffset(Variant::Int(99));
    wanted.ChannelLocked(true);
    wanted.Property(20, Variant::Str("frame's own <text> & more"));
    wanted.Property(23, Variant::Dbl(1.5));
    // The protocol id is compared ignoring case.
    std::string lower = kProfibusDPV1ProtocolId;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_TRUE(AI1().SetChannelParameters("ignored", lower, wanted.Render(set_.ctx)));
    for (int32_t i = 1; i <= ProfibusChannelParameter::kPropertyCount; ++i)
        EXPECT_TRUE(platform::com::Identical(AI1().ProfibusChannelParameter()->Property(i), wanted.Property(i))) << i;
    // The channel list marks the data set modified and tells the frame.
    EXPECT_TRUE(set_.params().Modified());
    const auto events = frame->EventsNamed("OnParameterChanged");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].systemTag, "Project/RXD218");
}

TEST(ChannelParameterXml, RendersAndLoadsEveryPropertyWithItsSubtype) {
    ProfibusChannelParameter p;
    const Variant values[] = {Variant::Str("id"), Variant::Bool(true), Variant::Str("<a & b>"), Variant::Int(-7),
                              Variant::Lng(70000), Variant::Date(45356.5), Variant::Dbl(0.1), Variant::Sng(2.5f),
                              Variant::Str("AI1"), Variant::Byte(200), Variant(), Variant::Null(),
                              Variant::ByteArray({1, 2, 255})};
    for (int32_t i = 1; i <= 13; ++i) p.Property(i, values[i - 1]);
    ProfibusChannelParameter loaded;
    ASSERT_TRUE(loaded.Load(p.Render(nullptr), nullptr));
    for (int32_t i = 1; i <= ProfibusChannelParameter::kPropertyCount; ++i)
        EXPECT_TRUE(platform::com::Identical(loaded.Property(i), p.Property(i))) << i;
}

TEST(ChannelParameterXml, DamagedDocumentsAreRefusedWithoutChange) {
    const std::string head = "<FDT><ProfibusChannelParameter>";
    const std::string id = "<P n=\"9\" vt=\"8\">AI1</P>";
    const std::string tail = "</ProfibusChannelParameter></FDT>";
    const std::string cases[] = {
        head + tail,                                            // no channel id
        head + id + "<P n=\"24\" vt=\"2\">1</P>" + tail,         // beyond the 23 properties
        head + id + "<P n=\"9\" vt=\"8\">AI2</P>" + tail,        // a property twice
        head + id + "<P n=\"15\" vt=\"2\">forty</P>" + tail,     // a value its type cannot hold
        head + id + "<P n=\"x\" vt=\"2\">1</P>" + tail,          // no number
        head + id + "<P vt=\"2\">1</P>" + tail,                  // no position
        "not xml",
    };
    for (const std::string& xml : cases) {
        SCOPED_TRACE(xml);
        ProfibusChannelParameter p;
        p.ChannelId(Variant::Str("mine"));
        EXPECT_FALSE(p.Load(xml, nullptr));
        EXPECT_TRUE(platform::com::Identical(p.ChannelId(), Variant::Str("mine")));
    }
    ProfibusChannelParameter p;
    EXPECT_TRUE(p.Load(head + id + tail, nullptr));
    EXPECT_TRUE(platform::com::Identical(p.ChannelId(), Variant::Str("AI1")));
}

}  // namespace
}  // namespace dtm
