// The whole model of a new instance: its size, paths, addresses and flags, the
// DTM-internal variables, the user-level pass, the channels and the trace-file
// size rule of the build.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "ModelTestSupport.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "FolderWithDictionary.h"
#include "core/services/ConvStr.h"
#include "core/channels/SlaveBusParamSet.h"
#include "frame/ModelInstance.h"
#include "model/elements/DataModelHelpers.h"
#include "model/build/ModelBuild.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/Version.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;

constexpr int kElementsOfAModel = 864;

platform::P<clsDataElement> At(const frame::ModelInstance& instance, const std::string& path) {
    return ElementAt(instance.Parameters(), path);
}

class BuiltModel : public ::testing::Test {
protected:
    frame::ModelInstance instance = frame::NewModelInstance();
};

TEST_F(BuiltModel, HasEveryElementOnceWithAddressesAndNoDynamicMark) {
    EXPECT_EQ(instance.Parameters().Count(), kElementsOfAModel);
    std::set<std::string> lowered;
    for (const auto& item : instance.Parameters()) {
        const auto& el = static_cast<const clsDataElement&>(*item);
        SCOPED_TRACE(el.Name);
        std::string lower = el.Name;
        for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(lowered.insert(lower).second) << "two paths differ only in case";
        if (el.ElementMode & (clsDataElement::kModeUpload | clsDataElement::kModeDownload)) {
            EXPECT_GE(el.Slot, 0);
            EXPECT_LE(el.Slot, 255);
            EXPECT_GE(el.index, 0);
            EXPECT_LE(el.index, 255);
        }
        EXPECT_EQ(el.StatusFlags() & clsDataElement::kParamDynamicFlag, 0);
    }
}

TEST_F(BuiltModel, FunctionBlockElementsNeedUserLevelTwoButAnAIBlocksRevision) {
    // What the AI block's builder alone gives its revision counter.
    testing::ModelContext alone;
    CreateAIBlockModel(1, alone.ctx);
    const int16_t builderLevel = ElementAt(alone.params(), "FUNC/1/AI/ST_REV")->RequiredUserLevel;

    EXPECT_EQ(At(instance, "FUNC/1/AI/ST_REV")->RequiredUserLevel, builderLevel);
    EXPECT_EQ(At(instance, "FUNC/4/TOT/ST_REV")->RequiredUserLevel, 2);
    EXPECT_EQ(At(instance, "FUNC/1/AI/OUT/")->RequiredUserLevel, 2);
    for (const auto& item : instance.Parameters()) {
        const auto& el = static_cast<const clsDataElement&>(*item);
        if (el.BlockType != pbfFunctionAIBlock && el.BlockType != pbfFunctionTOTBlock) continue;
        if (el.Name == GetAIBlockPrefix(el.BlockNumber) + "ST_REV") continue;
        EXPECT_EQ(el.RequiredUserLevel, 2) << el.Name;
    }
}

TEST_F(BuiltModel, InternalVariablesComeFirstWithTheirProperties) {
    const std::string wholeString = BytesToHex(HexToBytes(kDefaultSlaveBusParamSet));
    const std::string rxd214 = platform::com::CStr(At(instance, "~/RXD214")->InitialValue);
    struct Row {
        const char* path;
        int32_t valueType, length;
        Variant initial;
        int32_t elementMode, userLevel, statusFlags;
        bool validity;
    };
    const Row rows[] = {
        {"~/Tag", 14, -1, Variant(std::string(32, ' ')), 144, 1, 0, true},
        {"~/Address", 2, 1, Variant::Int(126), 144, 2, 0, true},
        {"~/NewAddress", 2, 1, Variant::Int(126), 144, 2, 0, true},
        {"InvokeId_ctl_TR_Monitor", 14, -1, Variant(std::string()), 0, 1, 0, true},
        {"IsMethodRunning", 10, 1, Variant::Bool(false), 0, 1, 0, true},
        {"Is95_98_Or_Me", 10, 1, Variant::Bool(false), 0, 1, 0, true},
        {"VersionNr", 14, -1, Variant(platform::app::Version()), 144, 1, 0, true},
        {"~/BusMasterConfigurationPart", 1, 64, HexToBytes(kDefaultSlaveBusParamSet), 16, 2, 0, true},
        {"~/DataStatus", 2, 1, Variant(), 0, 1, 1, false},
        {"~/RXD214", 14, 7, Variant(std::string("RXD 214")), 0, 1, 0, true},
        {"~/RXD218", 14, 7, Variant(std::string("RXD 218")), 0, 1, 0, true},
        {"SlaveBusParamSet_FB1", 2, 1, Variant::Int(4), 16, 3, 0, true},
        {"SlaveBusParamSet_FB4", 2, 1, Variant::Int(5), 16, 3, 0, true},
        {"SlaveBusParamSet_FB8", 2, 1, Variant::Int(5), 16, 3, 0, true},
        {"SlaveBusParamSet_WholeString", 14, -1, Variant(wholeString), 16, 3, 1, true},
        {"~/BLOCK/1", 14, -1, Variant(std::string("AI")), 0, 1, 0, true},
        {"~/BLOCK/4", 14, -1, Variant(std::string("TOT")), 0, 1, 0, true},
        {"~/BLOCK/8", 14, -1, Variant(std::string("TOT")), 0, 1, 0, true},
    };
    int lastPosition = -1;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        auto el = At(instance, row.path);
        ASSERT_NE(el, nullptr);
        EXPECT_EQ(el->ValueType, row.valueType);
        EXPECT_EQ(el->ValueTypeLength, row.length);
        EXPECT_TRUE(Identical(el->InitialValue, row.initial)) << platform::com::TypeName(el->InitialValue);
        EXPECT_EQ(el->ElementMode, row.elementMode);
        EXPECT_EQ(el->RequiredUserLevel, row.userLevel);
        EXPECT_EQ(el->StatusFlags(), row.statusFlags);
        EXPECT_EQ(el->Validity(), row.validity);
        EXPECT_EQ(el->Slot, -1);
        EXPECT_EQ(el->index, -1);
        int position = 0;
        for (const auto& item : instance.Parameters()) {
            if (item->Name() == row.path) break;
            ++position;
        }
        EXPECT_GT(position, lastPosition) << "out of order";
        lastPosition = position;
    }
    EXPECT_EQ(rxd214, "RXD 214");
    Variant low, high;
    ASSERT_TRUE(At(instance, "~/Address")->GetRange(0, low, high));
    EXPECT_TRUE(Identical(low, Variant::Int(0)));
    EXPECT_TRUE(Identical(high, Variant::Int(126)));
    EXPECT_TRUE(Identical(At(instance, "~/RXD218")->TransientValue, Variant(std::string("RXD 218"))));
    EXPECT_EQ(At(instance, "SlaveBusParamSet_FB1")->ControlType(), 3);
}

TEST_F(BuiltModel, HasTheSixteenProcessDataChannels) {
    EXPECT_EQ(instance.Parameters().Channels()->Count(), 16);
}

TEST_F(BuiltModel, BuildingAgainStartsFromAnEmptyCollection) {
    CreateDataModel(instance.ctx);
    EXPECT_EQ(instance.Parameters().Count(), kElementsOfAModel);
    EXPECT_EQ(instance.Parameters().Channels()->Count(), 16);
}

// The trace file is limited by "TraceFileSizeInMB" (at most 1000 MB) at every build.
TEST(ModelBuildTraceFile, AFileLongerThanTheConfiguredSizeIsDeleted) {
    constexpr int64_t kMB = 1000000;
    struct Case {
        const char* setting;  // nullptr: no key
        int64_t fileSize;
        bool deleted;
    };
    const Case cases[] = {
        {nullptr, 1, true},
        {nullptr, 0, false},
        {"abc", 1, true},
        {"1", kMB, false},
        {"1", kMB + 1, true},
        {"5000", 1000 * kMB, false},
        {"5000", 1000 * kMB + 1, true},  // capped at 1000 MB
        {"99999999999", 1000 * kMB + 1, true},
        {"0.6", kMB, false},  // rounded to 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.setting ? c.setting : "(no key)") + " " + std::to_string(c.fileSize));
        testing::FolderWithDictionary folder;
        folder.WriteIni(c.setting ? std::string("[TimeCritical]\r\nTraceFileSizeInMB=") + c.setting + "\r\n"
                                  : std::string("[TimeCritical]\r\n"));
        const auto file = folder.Dir() / "TraceInfoFile.txt";
        folder.Write("TraceInfoFile.txt", "");
        std::filesystem::resize_file(file, static_cast<uintmax_t>(c.fileSize));  // sparse
        auto instance = frame::NewModelInstance("RXD 218", false);
        EXPECT_EQ(!std::filesystem::exists(file), c.deleted);
        EXPECT_EQ(instance.Parameters().Count(), kElementsOfAModel);
    }
}

TEST(ModelBuildTraceFile, AMissingFileOrConfigurationChangesNothing) {
    testing::FolderWithDictionary folder;
    auto instance = frame::NewModelInstance("RXD 218", false);
    EXPECT_EQ(instance.Parameters().Count(), kElementsOfAModel);
    EXPECT_FALSE(folder.Exists("TraceInfoFile.txt"));
}

}  // namespace
}  // namespace dtm
