// The slave parameter set when a whole data set is taken over: stored bytes
// that are refused, and parameter documents that change one of its forms.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "DtmFixture.h"
#include "core/channels/SlaveBusParamSet.h"
#include "core/channels/clsChannel.h"
#include "core/services/ConvStr.h"
#include "platform/com/PropertyBag.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/ProfibusChannelParameter.h"
#include "platform/xml/Dom.h"

namespace {

using dtm::frame::FrameSession;
using platform::Variant;

// The default set with slot 2 free (code 1) and slot 6 sending code 9.
const std::string kOtherSet =
    "003D0000000000000000000000000000000C00640A00B3C600000000001D42840805004284080541848542840805428485814284080541"
    "848500020002";
const std::vector<int16_t> kOtherSlotCodes = {4, 1, 4, 5, 4, 9, 4, 5};
// Bit offsets of the sixteen process-data channels of that set, -1 for an inactive channel.
const std::vector<int32_t> kOtherChannelOffsets = {0,   32,  -1,  -1,  40,  72,  80,  112,
                                                   120, 152, 160, 192, 200, 232, 240, 272};

class SlaveSetDataSet : public dtm::testing::DtmFixture {
protected:
    static dtm::clsDataElement& ElementOf(const FrameSession& s, const std::string& path) {
        return dynamic_cast<dtm::clsDataElement&>(*s.Context()->Parameters()->Item(path));
    }
    static std::vector<int16_t> SlotCodes(const FrameSession& s) {
        std::vector<int16_t> codes;
        for (int32_t slot = 1; slot <= dtm::kSlaveBusParamSlots; ++slot)
            codes.push_back(platform::com::CInt(ElementOf(s, dtm::SlaveBusParamSlotName(slot)).TransientValue));
        return codes;
    }
    // The channels as the DTM hands them to the frame.
    static std::vector<int32_t> ChannelOffsets(const FrameSession& s) {
        auto channels = dynamic_cast<platform::fdt::IDtmChannel&>(*s.Dtm()).IDtmChannel_GetChannels();
        EXPECT_TRUE(channels);
        std::vector<int32_t> offsets;
        for (int32_t n = 1; n <= 16; ++n) {
            auto& channel = dynamic_cast<dtm::clsChannel&>(*s.Context()->Parameters()->Channels()->Item(n));
            offsets.push_back(channel.Active() ? platform::com::CLng(channel.ProfibusChannelParameter()->BitOffset())
                                               : -1);
        }
        return offsets;
    }
    static platform::fdt::IDtmParameter& Parameter(const FrameSession& s) {
        return dynamic_cast<platform::fdt::IDtmParameter&>(*s.Dtm());
    }

    static std::string Stored(FrameSession& s) {
        platform::com::PropertyBag bag;
        EXPECT_TRUE(s.Save(bag));
        return bag.ToText();
    }
    // The entries (lines of the stored text) in which two stored texts differ.
    static std::vector<std::string> DifferingEntries(const std::string& a, const std::string& b) {
        std::istringstream left(a);
        std::istringstream right(b);
        std::vector<std::string> differing;
        for (;;) {
            std::string l;
            std::string r;
            const bool more = static_cast<bool>(std::getline(left, l));
            if (!std::getline(right, r) && !more) return differing;
            if (l != r) differing.push_back(l + " | " + r);
        }
    }
    std::unique_ptr<FrameSession> Loaded(const std::string& text) {
        auto other = std::make_unique<FrameSession>("TAG2");
        EXPECT_TRUE(other->Create(registry));
        auto bag = platform::com::PropertyBag::FromText(text);
        EXPECT_TRUE(other->Load(bag));
        return other;
    }
};

// The stored bytes are refused and set back to the stored whole string; the
// rest of the data set is still worked out, so the loaded instance is the one
// the sound data set gives, and storing it again gives that data set.
TEST_F(SlaveSetDataSet, StoredBytesThatAreRefusedLeaveTheRestOfTheLoadWhole) {
    StartNew();
    auto edit = [&](const std::string& path, const Variant& value) {
        Element(path).TransientValue = value;
        Params().NotifyChange(Params().Item(path), "");
    };
    edit("PHYS/TAG_DESC", Variant(std::string("FT-7")));
    edit("TRANS/1/FlowCori/MASS_FLOW_UNITS", Variant::Int(1318));
    edit("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(0));  // function blocks 5 to 8 not valid
    auto soundInstance = Loaded(Stored(session));
    const std::string sound = Stored(*soundInstance);

    auto bag = platform::com::PropertyBag::FromText(sound);
    // Cfg_Data_Len reaches past the end of the set.
    bag.WriteProperty(dtm::kBusMasterConfigurationPart,
                      Variant(std::string(dtm::kDefaultSlaveBusParamSet).substr(0, 56) + "0040" + "42840805"));
    // Entries that the elements after the bytes work out again.
    bag.WriteProperty("~/Tag", Variant(std::string("stale")));
    bag.WriteProperty("FUNC/5/AI/PV_FTIME.Flags", Variant::Lng(0x01000000));
    bag.WriteProperty("FUNC/1/AI/PV_SCALE/Up_Val.Unit", Variant::Int(0));
    bag.WriteProperty("FUNC/1/AI/OUT_SCALE/Up_Val.Unit", Variant::Int(0));
    auto loaded = Loaded(bag.ToText());

    const auto& expected = *soundInstance->Context()->Parameters();
    const auto& actual = *loaded->Context()->Parameters();
    ASSERT_EQ(expected.Count(), actual.Count());
    std::vector<std::string> differing;
    for (int32_t i = 1; i <= expected.Count(); ++i) {
        const auto& a = dynamic_cast<dtm::clsDataElement&>(*expected.Item(i));
        const auto& b = dynamic_cast<dtm::clsDataElement&>(*actual.Item(i));
        if (!platform::com::Identical(a.TransientValue, b.TransientValue) || a.nTransientUnit != b.nTransientUnit ||
            a.StatusFlags() != b.StatusFlags())
            differing.push_back(a.Name);
    }
    EXPECT_EQ(differing, std::vector<std::string>{});

    const std::string again = Stored(*loaded);
    EXPECT_EQ(DifferingEntries(again, sound), std::vector<std::string>{});
    EXPECT_EQ(DifferingEntries(Stored(*Loaded(again)), again), std::vector<std::string>{});

    const auto& errors = loaded->Context()->ReportedErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(dtm::kBusMasterConfigurationPart), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("slave parameter set is not usable"), std::string::npos) << errors[0];
}

// A document that changes one form of the set: that form wins, and the whole
// string, the bytes, the slot codes and the channels all follow it.
TEST_F(SlaveSetDataSet, TheFormADocumentChangesWins) {
    auto oneVariable = [](const std::string& path, const std::string& display) {
        return "<fdt:DtmVariable name=\"" + path + "\"><fdt:Value><fdt:Display string=\"" + display +
               "\"/></fdt:Value></fdt:DtmVariable>";
    };
    auto document = [](const std::string& variables) {
        return "<FDT xmlns:fdt=\"urn:fdt:types\"><DtmParameter><ParameterSet>" + variables +
               "</ParameterSet></DtmParameter></FDT>";
    };
    std::string lowerCase = kOtherSet;
    for (char& c : lowerCase) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // A new instance's whole document with the whole string changed in it.
    StartNew();
    platform::xml::Document whole;
    ASSERT_TRUE(whole.LoadXML(Parameter(session).IDtmParameter_GetParameters("")));
    for (const auto& node : whole.SelectNodes("FDT/DtmParameter/ParameterSet/fdt:DtmVariable"))
        if (platform::com::CStr(node->GetAttribute("name")) == dtm::kSlaveBusParamSetWholeString)
            node->SelectSingleNode("fdt:Value/fdt:Display")->SetAttribute("string", kOtherSet);

    struct Case {
        const char* name;
        std::string document;
    };
    const Case cases[] = {
        {"the whole string", document(oneVariable(dtm::kSlaveBusParamSetWholeString, kOtherSet))},
        {"the whole string in lower case", document(oneVariable(dtm::kSlaveBusParamSetWholeString, lowerCase))},
        {"the bytes", document(oneVariable(dtm::kBusMasterConfigurationPart, kOtherSet))},
        {"two slot codes",
         document(oneVariable("SlaveBusParamSet_FB2", "1") + oneVariable("SlaveBusParamSet_FB6", "9"))},
        {"the whole string in the whole document", whole.Xml()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameSession s(std::string("TAG-") + c.name);
        ASSERT_TRUE(s.StartNew(registry));
        ASSERT_NE(ChannelOffsets(s), kOtherChannelOffsets);
        EXPECT_TRUE(Parameter(s).IDtmParameter_SetParameters("", c.document));
        EXPECT_EQ(platform::com::CStr(ElementOf(s, dtm::kSlaveBusParamSetWholeString).TransientValue), kOtherSet);
        EXPECT_EQ(dtm::BytesToHex(ElementOf(s, dtm::kBusMasterConfigurationPart).TransientValue), kOtherSet);
        EXPECT_EQ(SlotCodes(s), kOtherSlotCodes);
        EXPECT_EQ(ChannelOffsets(s), kOtherChannelOffsets);
    }
}

}  // namespace
