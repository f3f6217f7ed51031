#include "model/build/ModelBuild.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "blocks/DataModel_DevDir.h"
#include "blocks/DataModel_ManuSpec.h"
#include "blocks/DataModel_ManuSpec_PB.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_PB.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "core/services/ConvStr.h"
#include "core/services/ReadWriteIniFiles.h"
#include "core/channels/SlaveBusParamSet.h"
#include "core/services/clsWindowsVersion.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/LanguageHelpers.h"
#include "model/build/ProcessDataChannels.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/Path.h"
#include "platform/app/Version.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/win/Files.h"
#include "platform/com/VbText.h"

namespace dtm {

using platform::Variant;
using platform::com::Deref;
using platform::rt::Parameters;

namespace {

constexpr int16_t kMaxFunctionBlocks = 8;
constexpr int64_t kBytesPerMB = 1000000;
constexpr int32_t kMaxTraceFileSizeInMB = 1000;

bool IsTotaliserBlock(int16_t n) { return n == 4 || n == 8; }

void CreateInternalVariables(Parameters& parameters) {
    auto tag = AddParam(parameters, "~/Tag", Variant(std::string()), 14, -1);
    tag->InitialValue = Variant(std::string(32, ' '));
    for (const char* path : {"~/Address", "~/NewAddress"}) {
        auto address = AddParam(parameters, path, Variant::Int(126), 2, 1);
        address->RequiredUserLevel = 2;
        address->SetRange(0, Variant::Int(0), Variant::Int(126));
    }
    AddParam(parameters, "InvokeId_ctl_TR_Monitor", Variant(std::string()), 14, -1)->ElementMode = 0;
    AddParam(parameters, "IsMethodRunning", Variant::Bool(false), 10, 1)->ElementMode = 0;
    AddParam(parameters, "Is95_98_Or_Me", Variant::Bool(clsWindowsVersion().Is_95_98_Or_Me()), 10, 1)->ElementMode = 0;
    AddParam(parameters, "VersionNr", Variant(platform::app::Version()), 14, -1)->ElementMode = 144;
}

// A trace file longer than the configured size (in whole MB, at most 1000;
// missing or no number: 0) is deleted. Nothing here may stop the build.
void LimitTraceFile() {
    try {
        const std::string text = ReadIniString(Variant(DtmIniFile()), "TimeCritical", "TraceFileSizeInMB");
        double sizeInMB = 0;
        try {
            sizeInMB = platform::com::CDbl(Variant(text));
        } catch (const platform::com::ComError&) {
            sizeInMB = 0;
        }
        // Rounded as CLng rounds; a number beyond the cap, however large, is the cap.
        sizeInMB = std::min(std::nearbyint(sizeInMB), double{kMaxTraceFileSizeInMB});
        const std::string file = platform::app::File("\\TraceInfoFile.txt");
        if (static_cast<double>(platform::win::FileLength(file)) > sizeInMB * kBytesPerMB)
            platform::win::DeleteFile(file);
    } catch (...) {
    }
}

void CreateBusMasterPart(Parameters& parameters) {
    const Variant bytes = HexToBytes(kDefaultSlaveBusParamSet);
    auto part = AddParam(parameters, "~/BusMasterConfigurationPart", bytes, 1,
                         platform::com::UBound(bytes) - platform::com::LBound(bytes) + 1);
    part->RequiredUserLevel = 2;
    part->ElementMode = 16;
    part->ValueCheck = IsUsableSlaveBusParamSet;
    auto status = AddParam(parameters, "~/DataStatus", Variant(), 2, 1);
    status->ElementMode = 0;
    status->StatusFlags(1);
    status->Validity(false);
}

void CreateDeviceTypeNames(const std::shared_ptr<platform::rt::DTMContext>& ctx, Parameters& parameters) {
    auto keys = Deref(ctx->Dictionary()).SectionNode("keys");
    for (const char* name : {"RXD214", "RXD218"}) {
        const std::string text = ExpandTextRefs("$(key_" + std::string(name) + ")", ctx, keys);
        auto element = AddParam(parameters, std::string("~/") + name, Variant(text), 14,
                                platform::com::vb::Len(text));
        element->ElementMode = 0;
        element->TransientValue = element->InitialValue;
    }
}

int16_t InitialCount(const Parameters& parameters, const char* path) {
    return platform::com::CInt(ElementAt(parameters, path)->InitialValue);
}

void CreateSlaveSetVariables(Parameters& parameters, int16_t numberFB) {
    for (int16_t i = 1; i <= kMaxFunctionBlocks; ++i) {
        auto slot = AddParam(parameters, "SlaveBusParamSet_FB" + std::to_string(i),
                             Variant::Int(IsTotaliserBlock(i) ? 5 : 4), 2, 1);
        if (i > numberFB) slot->Validity(false);
        slot->RequiredUserLevel = 3;
        slot->ElementMode = 16;
        slot->ControlType(3);
        slot->SetRange(0, Variant::Int(kFirstSlotCode), Variant::Int(kLastSlotCode));
    }
    const Variant bytes = HexToBytes(kDefaultSlaveBusParamSet);
    auto whole = AddParam(parameters, "SlaveBusParamSet_WholeString", Variant(BytesToHex(bytes)), 14, -1);
    whole->RequiredUserLevel = 3;
    whole->ElementMode = 16;
    whole->StatusFlags(1);
    whole->ValueCheck = IsUsableSlaveBusParamSet;
}

void CreateBlocks(const std::shared_ptr<platform::rt::DTMContext>& ctx, Parameters& parameters, int16_t numberTB,
                  int16_t numberFB) {
    CreatePBBlockModel(0, ctx);
    ManuSpecPBCreate(0, ctx);
    ManuSpecPBDefaults(ctx);
    for (int16_t n = 1; n <= numberTB; ++n) {
        CreateTBBlockModel(n, ctx);
        ManuSpecTBCreate(n, ctx);
        ManuSpecTBDefaults(n, ctx);
    }
    for (int16_t n = 1; n <= numberFB; ++n) {
        const bool totaliser = IsTotaliserBlock(n);
        auto kind = AddParam(parameters, "~/BLOCK/" + std::to_string(n), Variant(std::string(totaliser ? "TOT" : "AI")),
                             14, -1);
        kind->ElementMode = 0;
        if (totaliser) {
            CreateTOTBlockModel(n, Variant(), ctx);
            ManuSpecTOTDefaults(n, ctx);
        } else {
            CreateAIBlockModel(n, ctx);
            ManuSpecAIDefaults(n, ctx);
        }
    }
}

// Slot and index of every element, the dynamic mark cleared, and user level 2
// for the function blocks' elements but an AI block's ST_REV.
void FinalPass(Parameters& parameters) {
    for (const auto& item : parameters) {
        auto& element = static_cast<clsDataElement&>(*item);
        CalcSlotIndex(element);
        element.ClearStatusFlag(clsDataElement::kParamDynamicFlag);
        if ((element.BlockType == pbfFunctionAIBlock || element.BlockType == pbfFunctionTOTBlock) &&
            element.Name != GetAIBlockPrefix(element.BlockNumber) + "ST_REV")
            element.RequiredUserLevel = 2;
    }
}

}  // namespace

void CreateDataModel(const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& parameters = Deref(Deref(DTMContext).Parameters());
    parameters.Reset();
    CreateInternalVariables(parameters);
    LimitTraceFile();
    CreateBusMasterPart(parameters);
    CreateDeviceTypeNames(DTMContext, parameters);
    CreateDevDirModel(parameters);
    const int16_t numberFB = InitialCount(parameters, "DEVICE_DIR/Comp_List_Dir_Entries/Number_FB");
    const int16_t numberTB = InitialCount(parameters, "DEVICE_DIR/Comp_List_Dir_Entries/Number_TB");
    CreateSlaveSetVariables(parameters, numberFB);
    CreateBlocks(DTMContext, parameters, numberTB, numberFB);
    FinalPass(parameters);
    CreateChannels(DTMContext);
}

}  // namespace dtm
