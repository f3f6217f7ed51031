// The Physical Block's manufacturer-specific elements, defaults and handlers.
#include "blocks/DataModel_ManuSpec_PB.h"

#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "blocks/BlockTable.h"
#include "core/services/ConvStr.h"
#include "core/services/ProjectHelpers.h"
#include "core/channels/SlaveBusParamSet.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;
using platform::P;
using platform::Variant;
using platform::rt::Parameters;

namespace {

using namespace table;

// What a row of the manufacturer's part sets beyond the block table columns.
struct ManuExtra {
    int32_t userLevel = 0;         // RequiredUserLevel; 0: not set
    bool rawByteOrderOff = false;  // RawByteOrder back to False (octet strings)
    const char* unitText = nullptr;  // registers nInitUnit with this text
    bool secret = false;             // Secret: the value never leaves the element
};

struct ManuRow {
    BlockRow row;
    ManuExtra extra;
};

// Flags 0x1: static parameter; 0x2: dynamic; 0x3: changes while the device runs.
constexpr ManuRow kManuRows[] = {
    // Path                                               Rel Pos Type Len Mode Flags Initial   Other
    {{"MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd",      14,    0,  1,    4, 144,  0x3, Int(0), Ctl(4)},
     {.rawByteOrderOff = true}},
    {{"MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus", 14,    0,  1,    2, 144,  0x3, Int(0), Ctl(4)},
     {.rawByteOrderOff = true}},
    {{"MANU/SERVICE_PASSWORD",                                 33,    0, 14,    9, 151,  0x2, Str("         "), {}},
     {.userLevel = 2, .secret = true}},
    {{"MANU/ACCESS_RIGHTS",                                    34,    0,  2, dash, 145,  0x3, Int(2), Ctl(4)}, {}},
    {{"MANU/OPERATION_HOUR/",                                  35, dash,  0, dash,   1, dash, Empty,  {}}, {}},
    {{"MANU/OPERATION_HOUR/milliseconds",                      35,    0, 16, dash, 144,  0x3, Int(0),
      Unit(kMillisecondsUnitCode)},
     {.unitText = "ms"}},
    {{"MANU/OPERATION_HOUR/days",                              35,    4,  3, dash, 144,  0x3, Int(0),
      Unit(kDaysUnitCode)},
     {.unitText = "days"}},
    {{"MANU/TELVOR_IDENTNUMBER",                               36,    0, 14,   16, 145,  0x1,
      Str("4821937700      "), {}}, {}},
    {{"MANU/EEPROM_WRITE_CYCLES",                              37,    0, 16, dash, 145,  0x1, Empty,  {}}, {}},
};

// Elements that live only in the model: no block type, number or position.
constexpr BlockRow kModelOnlyRows[] = {
    {"CHANNEL",        dash, dash,  3, dash,   0, 0x1, Empty,             {}},
    {"OPERATION_TIME", dash, dash, 14, dash, 144, 0x1, Str("0;00:00:00"), {}},
};

// One step of the factory defaults of a profile parameter.
enum class DefaultInit : uint8_t {
    None,        // the initial value stays
    Integer,     // Integer `number`
    Text,        // `text` padded with blanks to `width` characters
    Bytes,       // the bytes of the hexadecimal `text`
    DeviceId,    // the device type's DeviceIdText
    Descriptor,  // the model name of "~/RXD214" or "~/RXD218" that the device type names
};

struct DefaultRow {
    const char* path;  // after "PHYS/"
    DefaultInit init = DefaultInit::None;
    int16_t number = 0;
    const char* text = "";
    int32_t width = 0;
    int32_t userLevel = 0;    // RequiredUserLevel; 0: not set
    int32_t controlType = 0;  // ControlType; 0: not set
    bool optional = false;    // ElementMode 0, StatusFlags 1, ParamOptional: never transferred
};

constexpr DefaultRow kDefaults[] = {
    {.path = "BLK_OBJ/Number_of_Parameters", .init = DefaultInit::Integer, .number = 38},
    {.path = "BLK_OBJ/Address_of_View_1", .init = DefaultInit::Integer, .number = 240},
    {.path = "BLK_OBJ/Number_of_Views", .init = DefaultInit::Integer, .number = 1},
    {.path = "TAG_DESC", .init = DefaultInit::Text, .width = 32, .userLevel = 2},
    {.path = "HARDWARE_REVISION", .init = DefaultInit::Text, .text = "7305291800", .width = 16},
    {.path = "DEVICE_MAN_ID", .init = DefaultInit::Integer, .number = 173, .controlType = 1},
    {.path = "DEVICE_ID", .init = DefaultInit::DeviceId},
    {.path = "DEVICE_SER_NUM", .init = DefaultInit::Text, .width = 16},
    {.path = "DIAGNOSIS_MASK", .init = DefaultInit::Bytes, .text = "31BE0080"},
    {.path = "DIAGNOSIS_MASK_EXTENSION", .init = DefaultInit::Bytes, .text = "FFBFFF0313FF"},
    {.path = "DEVICE_CERTIFICATION", .init = DefaultInit::Text, .text = "none", .width = 32, .optional = true},
    {.path = "WRITE_LOCKING", .userLevel = 2},
    {.path = "DESCRIPTOR", .init = DefaultInit::Descriptor, .userLevel = 2},
    {.path = "DEVICE_MESSAGE", .init = DefaultInit::Text, .width = 16, .userLevel = 2},
    {.path = "DEVICE_INSTAL_DATE", .userLevel = 2},
    {.path = "LOCAL_OP_ENA", .optional = true},
    {.path = "IDENT_NUMBER_SELECTOR", .userLevel = 2},
    {.path = "FACTORY_RESET", .userLevel = 2},
    {.path = "HW_WRITE_PROTECTION", .optional = true},
};

constexpr const char* kRxdPart = "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd";
constexpr const char* kProfibusPart = "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus";
constexpr const char* kOperationDays = "PHYS/MANU/OPERATION_HOUR/days";
constexpr const char* kOperationMilliseconds = "PHYS/MANU/OPERATION_HOUR/milliseconds";
constexpr const char* kOperationTime = "PHYS/OPERATION_TIME";

constexpr int64_t kMsPerDay = 86400000;
constexpr double kLargestWholeNumber = 9e15;  // still exact as a Double

P<clsDataElement> Get(const Parameters& params, const std::string& path) {
    auto el = ElementAt(params, path);
    if (!el) com::Raise(com::errObjectNotSet);
    return el;
}

std::string Padded(const char* text, int32_t width) {
    std::string out = text;
    if (static_cast<int32_t>(out.size()) < width) out.append(static_cast<size_t>(width) - out.size(), ' ');
    return out;
}

// The model name of the device type: "~/RXD214" when the device type names it
// exactly, else "~/RXD218".
std::string DescriptorText(const Parameters& params, const std::string& deviceIdText) {
    const std::string rxd214 = com::CStr(Get(params, "~/RXD214")->TransientValue);
    const std::string rxd218 = com::CStr(Get(params, "~/RXD218")->TransientValue);
    return deviceIdText == rxd214 ? rxd214 : rxd218;
}

// The device type's DeviceIdText: the text of its type name.
std::string DeviceIdText(const platform::rt::DtmRuntimeGlobal& type) { return com::CStr(type.DeviceTypeName()); }

Variant DefaultValue(const DefaultRow& row, const Parameters& params, const platform::rt::DtmRuntimeGlobal& type) {
    switch (row.init) {
        case DefaultInit::Integer: return Variant::Int(row.number);
        case DefaultInit::Text: return Variant::Str(Padded(row.text, row.width));
        case DefaultInit::Bytes: return HexToBytes(row.text);
        case DefaultInit::DeviceId: return Variant::Str(DeviceIdText(type));
        case DefaultInit::Descriptor: return Variant::Str(DescriptorText(params, DeviceIdText(type)));
        case DefaultInit::None: break;
    }
    return Variant();
}

int64_t WholeNumber(const Variant& value) {
    const double d = std::nearbyint(com::CDbl(value));  // half to even, as the conversions round
    if (!(std::fabs(d) <= kLargestWholeNumber)) com::Raise(com::errOverflow);
    return static_cast<int64_t>(d);
}

// Writes `value` into the part and, for a value just read from the device, as
// its device value without a stored value; reports the part when it changed.
void SetDiagnosisPart(Parameters& params, const P<clsDataElement>& part, const Variant& value, bool fromDevice) {
    bool changed = false;
    if (!IsSameValue(part->TransientValue, value)) {
        part->TransientValue = value;
        changed = true;
    }
    if (fromDevice) {
        if (!IsSameValue(part->DeviceValue, part->TransientValue)) {
            part->DeviceValue = part->TransientValue;
            changed = true;
        }
        if (!part->PersistentValue.IsEmpty()) {
            part->PersistentValue = Variant();
            changed = true;
        }
    }
    if (changed) params.NotifyChange(part, "");
}

void SplitDiagnosisExtension(const P<clsDataElement>& pda, Parameters& params) {
    auto rxd = Get(params, kRxdPart);
    auto profibus = Get(params, kProfibusPart);
    if (!pda->TransientValue.IsByteArray() || !rxd->TransientValue.IsByteArray() ||
        !profibus->TransientValue.IsByteArray())
        return;
    const int32_t m = std::max(rxd->ValueTypeLength, 0);
    const int32_t n = std::max(pda->ValueTypeLength, 0);
    const std::vector<uint8_t> source = pda->TransientValue.ToBytes();
    std::vector<uint8_t> first(static_cast<size_t>(m), 0);
    std::vector<uint8_t> second(static_cast<size_t>(std::max(n - m, 0)), 0);
    for (int32_t i = 0; i < n; ++i) {
        // A shorter value is split with the bytes it has; the rest stay 0.
        const uint8_t byte = static_cast<size_t>(i) < source.size() ? source[static_cast<size_t>(i)] : 0;
        if (i < m) first[static_cast<size_t>(i)] = byte;
        else second[static_cast<size_t>(i - m)] = byte;
    }
    const bool fromDevice = IsSameValue(pda->TransientValue, pda->DeviceValue);
    SetDiagnosisPart(params, rxd, Variant::ByteArray(first), fromDevice);
    SetDiagnosisPart(params, profibus, Variant::ByteArray(second), fromDevice);
}

void ApplyIdentNumberSelector(const P<clsDataElement>& pda, Parameters& params) {
    const com::Cmp selector = com::CompareTo(pda->TransientValue, 0);
    const bool deviceOwn = selector == com::Cmp::Less || selector == com::Cmp::Greater;
    SwapSlaveIdentNumber(params, deviceOwn);
    const auto owner = params.DataModel();
    const auto* model = dynamic_cast<const clsDataModel*>(owner.get());
    const auto* upperBlocks = model ? model->FunctionBlocks5To8() : nullptr;
    std::vector<P<clsDataElement>> scanned;
    if (!upperBlocks) {
        scanned = FunctionBlockElements5To8(params);
        upperBlocks = &scanned;
    }
    for (const auto& el : *upperBlocks) {
        el->Validity(deviceOwn);
        params.NotifyChange(el, "");
    }
    // The whole string follows the bytes, so a later slot change builds on
    // the ident number in force.
    BusParamBytesToWholeString(params);
}

}  // namespace

std::vector<P<clsDataElement>> FunctionBlockElements5To8(const Parameters& params) {
    std::vector<P<clsDataElement>> elements;
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        if (!el) continue;
        if ((el->BlockType == pbfFunctionAIBlock || el->BlockType == pbfFunctionTOTBlock) && el->BlockNumber > 4 &&
            el->BlockNumber <= 8)
            elements.push_back(std::move(el));
    }
    return elements;
}

void ManuSpecPBCreate(uint8_t BlockNumber, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& params = com::Deref(com::Deref(DTMContext).Parameters());
    const BlockSpec spec{"PHYS/", pbfPhysicalBlock, BlockNumber};
    for (const ManuRow& manu : kManuRows) {
        auto el = AddBlockRow(params, spec, manu.row);
        if (manu.extra.rawByteOrderOff) el->RawByteOrder = false;
        if (manu.extra.userLevel != 0) el->RequiredUserLevel = manu.extra.userLevel;
        el->Secret = manu.extra.secret;
        if (manu.extra.unitText)
            UnitsOf(DTMContext).SetUnitInformation(el->nInitUnit, 0, 0, manu.extra.unitText, "help");
    }
    AddBlockRows(params, BlockSpec{"PHYS/", pbfNoneBlock, -1}, kModelOnlyRows);
}

void ManuSpecPBDefaults(const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& ctx = com::Deref(DTMContext);
    auto& params = com::Deref(ctx.Parameters());
    const auto& deviceType = com::Deref(ctx.DeviceType());
    for (const DefaultRow& row : kDefaults) {
        auto el = Get(params, std::string("PHYS/") + row.path);
        if (row.init != DefaultInit::None) el->InitialValue = DefaultValue(row, params, deviceType);
        if (row.controlType != 0) el->ControlType(row.controlType);
        if (row.userLevel != 0) el->RequiredUserLevel = row.userLevel;
        if (row.optional) {
            el->ElementMode = 0;
            el->StatusFlags(1);
            el->ParamOptional(true);
        }
    }
}

void ManuSpecPBChanged(const std::shared_ptr<clsDataElement>& pda, Parameters& Parameters) {
    using namespace std::string_view_literals;
    const std::string_view name = com::Deref(pda).Name;
    if (name == "PHYS/IDENT_NUMBER_SELECTOR"sv) {
        ApplyIdentNumberSelector(pda, Parameters);
    } else if (name == "PHYS/DIAGNOSIS_EXTENSION"sv) {
        SplitDiagnosisExtension(pda, Parameters);
    }
}

void ManuSpecPBUpdate(const std::shared_ptr<clsDataElement>& pda, Parameters& Parameters, bool bNoNotify) {
    const std::string_view name = com::Deref(pda).Name;
    if (name != std::string_view(kOperationDays) && name != std::string_view(kOperationMilliseconds)) return;
    auto days = Get(Parameters, kOperationDays);
    auto milliseconds = Get(Parameters, kOperationMilliseconds);
    auto operationTime = Get(Parameters, kOperationTime);
    if (!milliseconds->TransientValue.IsEmpty() && !days->TransientValue.IsEmpty()) {
        operationTime->TransientValue = Variant::Str(OperationTimeText(days->TransientValue, milliseconds->TransientValue));
        if (!milliseconds->DeviceValue.IsEmpty() && !days->DeviceValue.IsEmpty() &&
            IsSameValue(days->TransientValue, days->DeviceValue)) {
            operationTime->DeviceValue = operationTime->TransientValue;
            operationTime->PersistentValue = Variant();
        }
    }
    if (!bNoNotify) Parameters.NotifyChange(operationTime, "");
}

std::string OperationTimeText(const Variant& days, const Variant& milliseconds) {
    const int64_t ms = WholeNumber(milliseconds);
    int64_t wholeDays = ms / kMsPerDay;
    int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --wholeDays;
    }
    const int64_t totalDays = WholeNumber(days) + wholeDays;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(rest / 3600000),
                  static_cast<int>(rest % 3600000 / 60000), static_cast<int>(rest % 60000 / 1000));
    return std::to_string(totalDays) + ";" + time;
}

}  // namespace dtm
