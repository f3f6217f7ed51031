// The Physical Block's manufacturer-specific elements, defaults and handlers.
#include "blocks/DataModel_ManuSpec_PB.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlockTestSupport.h"
#include "ErrorOf.h"
#include "RecordingModel.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_PB.h"
#include "core/services/ConvStr.h"
#include "core/SlaveSetModel.h"
#include "model/elements/DataModelHelpers.h"
#include "platform/rt/DtmRuntimeGlobal.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;
using testing::RecordingModel;

Variant Bytes(const char* hex) { return HexToBytes(hex); }

class ManuSpecPhysicalBlock : public ::testing::Test {
protected:
    void SetUp() override {
        ctx->InitContext(nullptr, model, nullptr, nullptr);
        CreatePBBlockModel(0, ctx);
        ManuSpecPBCreate(0, ctx);
        for (const auto& el : params) CalcSlotIndex(*std::dynamic_pointer_cast<clsDataElement>(el));
        for (const auto& item : params) {
            auto el = std::dynamic_pointer_cast<clsDataElement>(item);
            el->TransientValue = el->InitialValue;
        }
    }
    std::shared_ptr<clsDataElement> El(const std::string& path) { return testing::ElementAt(params, path); }
    void AddModelNames(const char* rxd214, const char* rxd218) {
        for (auto [path, text] : {std::pair{"~/RXD214", rxd214}, std::pair{"~/RXD218", rxd218}}) {
            auto el = AddParam(params, path, Variant::Str(text), 14, -1);
            el->TransientValue = el->InitialValue;
        }
    }

    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::P<RecordingModel> model = std::make_shared<RecordingModel>();
    platform::rt::Parameters& params = *ctx->Parameters();
};

TEST_F(ManuSpecPhysicalBlock, ManufacturerRowsFollowTheProfileBlock) {
    const testing::ExpectedRow rows[] = {
        // Path                                          Index Pos Type Len Mode Flags Ctl Initial
        {"DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd",      30,  0,  1,  4, 144, 0x3, 4, Bytes("00000000")},
        {"DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus", 30,  0,  1,  2, 144, 0x3, 4, Bytes("0000")},
        {"SERVICE_PASSWORD",                                 49,  0, 14,  9, 151, 0x2, 1, Variant::Str("         ")},
        {"ACCESS_RIGHTS",                                    50,  0,  2,  1, 145, 0x3, 4, Variant::Int(2)},
        {"OPERATION_HOUR/",                                  51, -1,  0,  0,   1,   0, 1, Variant()},
        {"OPERATION_HOUR/milliseconds",                      51,  0, 16,  4, 144, 0x3, 1, Variant::Int(0), 901},
        {"OPERATION_HOUR/days",                              51,  4,  3,  2, 144, 0x3, 1, Variant::Int(0), 902},
        {"TELVOR_IDENTNUMBER",                               52,  0, 14, 16, 145, 0x1, 1, Variant::Str("4821937700      ")},
        {"EEPROM_WRITE_CYCLES",                              53,  0, 16,  4, 145, 0x1, 1, Variant()},
    };
    testing::ExpectRows(params, {"PHYS/MANU/", pbfPhysicalBlock, 0, 0}, rows);
    testing::ExpectConsecutive(params, "PHYS/", {"HW_WRITE_PROTECTION", "MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd"});
    EXPECT_FALSE(El("PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd")->RawByteOrder);
    EXPECT_FALSE(El("PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus")->RawByteOrder);
    EXPECT_EQ(El("PHYS/MANU/SERVICE_PASSWORD")->RequiredUserLevel, 2);
    EXPECT_EQ(El("PHYS/MANU/ACCESS_RIGHTS")->RequiredUserLevel, 1);
    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitString(901), "ms");
    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitString(902), "days");
}

TEST_F(ManuSpecPhysicalBlock, ModelOnlyElementsComeLastAndAreNeverTransferred) {
    const auto paths = testing::Paths(params);
    ASSERT_GE(paths.size(), 2u);
    EXPECT_EQ(paths[paths.size() - 2], "PHYS/CHANNEL");
    EXPECT_EQ(paths.back(), "PHYS/OPERATION_TIME");
    struct Case {
        const char* path;
        int32_t type, length, mode;
        Variant initial;
    };
    const Case cases[] = {{"PHYS/CHANNEL", 3, 2, 0, Variant()},
                          {"PHYS/OPERATION_TIME", 14, -1, 144, Variant::Str("0;00:00:00")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto el = El(c.path);
        EXPECT_EQ(el->ValueType, c.type);
        EXPECT_EQ(el->ValueTypeLength, c.length);
        EXPECT_EQ(el->ElementMode, c.mode);
        EXPECT_EQ(el->StatusFlags(), 0x1);
        EXPECT_TRUE(Identical(el->InitialValue, c.initial));
        EXPECT_EQ(el->BlockType, pbfNoneBlock);
        EXPECT_EQ(el->BlockNumber, -1);
        EXPECT_EQ(el->RelIndex, -1);
        EXPECT_EQ(el->DataPosition, -1);
        EXPECT_EQ(el->Slot, -1);
        EXPECT_EQ(el->index, -1);
    }
}

TEST_F(ManuSpecPhysicalBlock, FactoryDefaults) {
    AddModelNames("RXD 214", "RXD 218");
    ctx->DeviceType()->DeviceTypeName(Variant::Str("RXD 214"));
    ManuSpecPBDefaults(ctx);
    struct Case {
        const char* path;
        Variant initial;  // Missing: unchanged
        int32_t userLevel;
    };
    const Case cases[] = {
        {"BLK_OBJ/Number_of_Parameters", Variant::Int(38), 1},
        {"BLK_OBJ/Address_of_View_1", Variant::Int(240), 1},
        {"BLK_OBJ/Number_of_Views", Variant::Int(1), 1},
        {"TAG_DESC", Variant::Str(std::string(32, ' ')), 2},
        {"HARDWARE_REVISION", Variant::Str("7305291800      "), 1},
        {"DEVICE_MAN_ID", Variant::Int(173), 1},
        {"DEVICE_ID", Variant::Str("RXD 214"), 1},
        {"DEVICE_SER_NUM", Variant::Str(std::string(16, ' ')), 1},
        {"DIAGNOSIS_MASK", Bytes("31BE0080"), 1},
        {"DIAGNOSIS_MASK_EXTENSION", Bytes("FFBFFF0313FF"), 1},
        {"DEVICE_CERTIFICATION", Variant::Str("none" + std::string(28, ' ')), 1},
        {"WRITE_LOCKING", Variant::Int(0x0999), 2},
        {"DESCRIPTOR", Variant::Str("RXD 214"), 2},
        {"DEVICE_MESSAGE", Variant::Str(std::string(16, ' ')), 2},
        {"DEVICE_INSTAL_DATE", Variant::Str(""), 2},
        {"LOCAL_OP_ENA", Variant::Int(1), 1},
        {"IDENT_NUMBER_SELECTOR", Variant::Int(1), 2},
        {"FACTORY_RESET", Variant::Int(0), 2},
        {"HW_WRITE_PROTECTION", Variant::Int(0), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto el = El(std::string("PHYS/") + c.path);
        EXPECT_TRUE(Identical(el->InitialValue, c.initial));
        EXPECT_EQ(el->RequiredUserLevel, c.userLevel);
    }
    EXPECT_EQ(El("PHYS/DEVICE_MAN_ID")->ControlType(), 1);
    EXPECT_EQ(El("PHYS/DEVICE_MESSAGE")->ValueTypeLength, 32);
    for (const char* path : {"PHYS/DEVICE_CERTIFICATION", "PHYS/LOCAL_OP_ENA", "PHYS/HW_WRITE_PROTECTION"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(El(path)->ElementMode, 0);
        EXPECT_EQ(El(path)->StatusFlags(), 1);
        EXPECT_TRUE(El(path)->ParamOptional());
    }
    EXPECT_EQ(El("PHYS/WRITE_LOCKING")->ElementMode, 147);
}

TEST_F(ManuSpecPhysicalBlock, DescriptorNamesTheOtherModelUnlessTheFirstMatchesExactly) {
    AddModelNames("RXD 214", "RXD 218");
    for (auto [deviceType, descriptor] : {std::pair{"RXD 218", "RXD 218"}, std::pair{"rxd 214", "RXD 218"},
                                          std::pair{"RXD 214", "RXD 214"}}) {
        SCOPED_TRACE(deviceType);
        ctx->DeviceType()->DeviceTypeName(Variant::Str(deviceType));
        ManuSpecPBDefaults(ctx);
        EXPECT_TRUE(Identical(El("PHYS/DESCRIPTOR")->InitialValue, Variant::Str(descriptor)));
    }
}

TEST_F(ManuSpecPhysicalBlock, DefaultsNeedTheModelNames) {
    EXPECT_EQ(ErrorOf([&] { ManuSpecPBDefaults(ctx); }), platform::com::errInvalidArgument);
}

TEST_F(ManuSpecPhysicalBlock, DiagnosisExtensionIsSplitIntoItsTwoParts) {
    struct Case {
        const char* name;
        Variant value;
        bool fromDevice;
        const char* rxd;
        const char* profibus;
    };
    const Case cases[] = {
        {"six bytes", Bytes("010203040506"), false, "01020304", "0506"},
        {"read from the device", Bytes("0A0B0C0D0E0F"), true, "0A0B0C0D", "0E0F"},
        {"short value padded with zeros", Bytes("AABBCC"), false, "AABBCC00", "0000"},
        {"longer value cut", Bytes("11223344556677"), false, "11223344", "5566"},
    };
    auto pda = El("PHYS/DIAGNOSIS_EXTENSION");
    auto rxd = El("PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd");
    auto profibus = El("PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto part : {rxd, profibus}) {
            part->DeviceValue = Variant();
            part->PersistentValue = Variant::Str("stored");
        }
        model->notified.clear();
        pda->TransientValue = c.value;
        pda->DeviceValue = c.fromDevice ? c.value : Variant();
        ManuSpecPBChanged(pda, params);
        EXPECT_TRUE(Identical(rxd->TransientValue, Bytes(c.rxd)));
        EXPECT_TRUE(Identical(profibus->TransientValue, Bytes(c.profibus)));
        for (auto part : {rxd, profibus}) {
            EXPECT_TRUE(Identical(part->DeviceValue, c.fromDevice ? part->TransientValue : Variant()));
            EXPECT_TRUE(Identical(part->PersistentValue, c.fromDevice ? Variant() : Variant::Str("stored")));
        }
        EXPECT_EQ(model->notified, (std::vector<std::string>{rxd->Name, profibus->Name}));
    }
}

TEST_F(ManuSpecPhysicalBlock, DiagnosisPartsChangeOnlyWhenTheyDiffer) {
    auto pda = El("PHYS/DIAGNOSIS_EXTENSION");
    auto rxd = El("PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd");
    pda->TransientValue = Bytes("010203040000");
    ManuSpecPBChanged(pda, params);
    EXPECT_EQ(model->notified, (std::vector<std::string>{rxd->Name}));

    // A value that is no byte array leaves both parts alone.
    model->notified.clear();
    pda->TransientValue = Variant::Int(5);
    ManuSpecPBChanged(pda, params);
    EXPECT_TRUE(Identical(rxd->TransientValue, Bytes("01020304")));
    EXPECT_TRUE(model->notified.empty());

    // Other Physical Block elements change nothing.
    for (const char* path : {"PHYS/DIAGNOSIS", "PHYS/TAG_DESC", "PHYS/MANU/ACCESS_RIGHTS"}) {
        El(path)->TransientValue = Variant::Int(1);
        ManuSpecPBChanged(El(path), params);
        ManuSpecPBUpdate(El(path), params, false);
    }
    EXPECT_TRUE(model->notified.empty());
}

TEST(OperationTimeText, DaysThenTimeOfDay) {
    struct Case {
        Variant days, milliseconds;
        const char* text;
    };
    const Case cases[] = {
        {Variant::Int(0), Variant::Int(0), "0;00:00:00"},
        {Variant::Int(3), Variant::Lng(3723999), "3;01:02:03"},
        {Variant::Int(0), Variant::Lng(86400000), "1;00:00:00"},
        {Variant::Lng(65535), Variant::Lng(86399999), "65535;23:59:59"},
        {Variant::Int(2), Variant::Dbl(4294967295.0), "51;17:02:47"},
        {Variant::Str("7"), Variant::Str("60000"), "7;00:01:00"},
    };
    for (const Case& c : cases) EXPECT_EQ(OperationTimeText(c.days, c.milliseconds), c.text) << c.text;
    EXPECT_EQ(ErrorOf([] { OperationTimeText(Variant::Int(0), Variant::Str("abc")); }),
              platform::com::errTypeMismatch);
    EXPECT_EQ(ErrorOf([] { OperationTimeText(Variant::Dbl(1e300), Variant::Int(0)); }), platform::com::errOverflow);
}

TEST_F(ManuSpecPhysicalBlock, OperationTimeFollowsTheOperatingHours) {
    auto days = El("PHYS/MANU/OPERATION_HOUR/days");
    auto ms = El("PHYS/MANU/OPERATION_HOUR/milliseconds");
    auto time = El("PHYS/OPERATION_TIME");
    time->PersistentValue = Variant::Str("stored");

    days->TransientValue = Variant::Int(3);
    ms->TransientValue = Variant::Dbl(3723999);
    ManuSpecPBUpdate(ms, params, true);
    EXPECT_TRUE(Identical(time->TransientValue, Variant::Str("3;01:02:03")));
    EXPECT_TRUE(time->DeviceValue.IsEmpty());
    EXPECT_TRUE(model->notified.empty());

    // Values just read from the device make the text the device value.
    days->DeviceValue = days->TransientValue;
    ms->DeviceValue = ms->TransientValue;
    days->TransientValue = Variant::Int(4);
    days->DeviceValue = Variant::Int(4);
    ManuSpecPBUpdate(days, params, false);
    EXPECT_TRUE(Identical(time->TransientValue, Variant::Str("4;01:02:03")));
    EXPECT_TRUE(Identical(time->DeviceValue, Variant::Str("4;01:02:03")));
    EXPECT_TRUE(time->PersistentValue.IsEmpty());
    EXPECT_EQ(model->notified, (std::vector<std::string>{"PHYS/OPERATION_TIME"}));

    // Without milliseconds the text stays, but the element is still reported.
    model->notified.clear();
    ms->TransientValue = Variant();
    ManuSpecPBUpdate(ms, params, false);
    EXPECT_TRUE(Identical(time->TransientValue, Variant::Str("4;01:02:03")));
    EXPECT_EQ(model->notified, (std::vector<std::string>{"PHYS/OPERATION_TIME"}));
}

// The ident number selector with the slave parameter set and function blocks 3, 5 and 8.
class IdentNumberSelector : public ::testing::Test {
protected:
    void SetUp() override {
        CreatePBBlockModel(0, set_.ctx);
        ManuSpecPBCreate(0, set_.ctx);
        CreateAIBlockModel(3, set_.ctx);
        CreateAIBlockModel(5, set_.ctx);
        CreateTOTBlockModel(8, Variant(), set_.ctx);
        for (const auto& item : set_.params()) {
            auto el = std::dynamic_pointer_cast<clsDataElement>(item);
            CalcSlotIndex(*el);
            el->TransientValue = el->InitialValue;
        }
    }
    // Digits 45 to 48 of the set: the Ident_Number.
    std::string IdentInString() { return set_.WholeString().substr(44, 4); }
    std::string IdentInBytes() { return BytesToHex(set_.Value(kBusMasterConfigurationPart)).substr(44, 4); }
    bool Valid(const std::string& path) { return set_.El(path)->Validity(); }

    testing::SlaveSetModel set_;
};

TEST_F(IdentNumberSelector, RoundTripThenSlotChangeKeepsTheIdentNumberInForce) {
    set_.Change("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(0));
    EXPECT_EQ(IdentInBytes(), "9742");
    EXPECT_EQ(IdentInString(), "9742");
    EXPECT_FALSE(Valid("FUNC/5/AI/OUT/Value"));
    EXPECT_FALSE(Valid("FUNC/8/TOT/TOTAL/Value"));
    EXPECT_TRUE(Valid("FUNC/3/AI/OUT/Value"));

    // A slot change while the profile number is in force keeps it.
    set_.Change(SlaveBusParamSlotName(2), Variant::Int(1));
    EXPECT_EQ(IdentInBytes(), "9742");
    EXPECT_EQ(IdentInString(), "9742");

    set_.Change("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(1));
    EXPECT_EQ(IdentInBytes(), "B3C6");
    EXPECT_EQ(IdentInString(), "B3C6");
    EXPECT_TRUE(Valid("FUNC/5/AI/OUT/Value"));
    EXPECT_TRUE(Valid("FUNC/8/TOT/TOTAL/Value"));

    set_.Change(SlaveBusParamSlotName(2), Variant::Int(4));
    EXPECT_EQ(IdentInBytes(), "B3C6");
    EXPECT_EQ(set_.WholeString(), kDefaultSlaveBusParamSet);
}

TEST_F(IdentNumberSelector, OnlyTheIdentNumberFieldIsSwapped) {
    // Configuration data that happen to hold the digits of either number stay as they are.
    std::string set = kDefaultSlaveBusParamSet;
    set.replace(60, 8, "97429742");  // slot 1's identifier digits
    set.replace(20, 4, "B3C6");      // reserved bytes
    set_.El(kBusMasterConfigurationPart)->TransientValue = HexToBytes(set);
    set_.El(kSlaveBusParamSetWholeString)->TransientValue = Variant::Str(set);

    set_.Change("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(0));
    std::string expected = set;
    expected.replace(44, 4, "9742");
    EXPECT_EQ(set_.WholeString(), expected);
    set_.Change("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(2));
    EXPECT_EQ(set_.WholeString(), set);
}

}  // namespace
}  // namespace dtm
