#pragma once
// One device parameter, record field, record header or DTM-internal variable:
// its coding, PROFIBUS address, four value copies with units, status flags,
// texts, value lists and the ranges an edited value is tested against.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/elements/ElementChanges.h"
#include "model/elements/ProfibusBlockFlags.h"
#include "model/elements/SharedText.h"
#include "platform/com/Variant.h"
#include "platform/rt/IPrivateDataElement.h"

namespace platform::rt {
class Parameters;
}

namespace dtm {

// The element's public fields. The three values and their units tell the
// element when they are written, as the status flags and the runtime's
// setters do, so that the data-set state can follow the elements written.
// The other fields that it reads (value type, mode, initial value and unit,
// secret mark, required user level, slot and block type) are set while the
// model is built.
struct clsDataElementFields {
    std::string Name;
    int32_t ValueType = 0;
    int32_t ValueTypeLength = -1;
    std::string ValueFormat;
    int32_t ElementMode = 0;
    // The language texts; elements with the same text share it.
    SharedText ValueList;
    SharedText ValueLists;
    SharedText IconList;
    SharedText Label;
    SharedText Description;
    SharedText Help;
    int32_t RequiredUserLevel = 1;
    int16_t Slot = -1;
    int16_t index = -1;
    ProfibusBlockFlags BlockType = pbfNoneBlock;
    int16_t BlockNumber = -1;
    int16_t RelIndex = -1;
    int16_t DataPosition = -1;
    bool bPackedCoding = false;
    bool bBitEncoding = false;
    uint8_t AccessMask = 255;
    bool RawByteOrder = false;
    // A device secret (the service code): its value never leaves the element.
    // The data set, a parameter document and the documentation get the
    // initial value in its place, so that after a save or a load the stored
    // value is the initial value whatever was typed or stored; a row shows
    // the value masked.
    bool Secret = false;
    WatchedValue TransientValue;
    WatchedValue PersistentValue;
    WatchedValue DeviceValue;
    platform::Variant InitialValue;
    platform::Variant TransientValues;
    WatchedUnit nTransientUnit;
    WatchedUnit nDeviceUnit;
    WatchedUnit nPersistentUnit;
    int16_t nInitUnit = 0;
    int16_t nConstantUnit = 0;
    uint8_t nParamIndex = 0;
    int16_t DeviceStatus = 0;
    SharedText CmdErrList;
    SharedText CmdErr;
    int32_t NestProcessLevel = 0;
    int16_t DynamicCounter = 0;
    // A further test that a value from a parameter document must pass (none
    // when null), for values whose type alone does not say what they may hold.
    bool (*ValueCheck)(const platform::Variant& value) = nullptr;
};

// The runtime's accessors, forwarded to the fields of the same name.
class clsDataElementFace : public platform::rt::IPrivateDataElement,
                           public clsDataElementFields,
                           public ChangeWatcher {
public:
    clsDataElementFace() {
        clsDataElementFields& fields = *this;
        for (WatchedValue* value : {&fields.TransientValue, &fields.PersistentValue, &fields.DeviceValue})
            value->Watch(this);
        for (WatchedUnit* unit : {&fields.nTransientUnit, &fields.nDeviceUnit, &fields.nPersistentUnit})
            unit->Watch(this);
    }

    std::string Name() const override { return clsDataElementFields::Name; }
    void Name(const std::string& v) override { clsDataElementFields::Name = v; }
    int32_t ValueType() const override { return clsDataElementFields::ValueType; }
    void ValueType(int32_t v) override {
        clsDataElementFields::ValueType = v;
        Written();
    }
    int32_t ValueTypeLength() const override { return clsDataElementFields::ValueTypeLength; }
    void ValueTypeLength(int32_t v) override { clsDataElementFields::ValueTypeLength = v; }
    int32_t ElementMode() const override { return clsDataElementFields::ElementMode; }
    void ElementMode(int32_t v) override {
        clsDataElementFields::ElementMode = v;
        Written();
    }
    platform::Variant TransientValue() const override { return clsDataElementFields::TransientValue; }
    void TransientValue(const platform::Variant& v) override { clsDataElementFields::TransientValue = v; }
    platform::Variant PersistentValue() const override { return clsDataElementFields::PersistentValue; }
    void PersistentValue(const platform::Variant& v) override { clsDataElementFields::PersistentValue = v; }
    platform::Variant DeviceValue() const override { return clsDataElementFields::DeviceValue; }
    void DeviceValue(const platform::Variant& v) override { clsDataElementFields::DeviceValue = v; }
    int16_t DeviceUnit() const override { return nDeviceUnit; }
    int32_t NestProcessLevel() const override { return clsDataElementFields::NestProcessLevel; }
    void NestProcessLevel(int32_t v) override { clsDataElementFields::NestProcessLevel = v; }
    int16_t Slot() const override { return clsDataElementFields::Slot; }
    int16_t Index() const override { return index; }
};

class clsDataElement : public clsDataElementFace {
public:
    using Ctx = platform::rt::IPrivateDataElement::Ctx;

    // The fields hide the runtime accessors of the same name; the runtime reaches
    // those through IPrivateDataElement.
    using clsDataElementFields::Name;
    using clsDataElementFields::ValueType;
    using clsDataElementFields::ValueTypeLength;
    using clsDataElementFields::ElementMode;
    using clsDataElementFields::TransientValue;
    using clsDataElementFields::PersistentValue;
    using clsDataElementFields::DeviceValue;
    using clsDataElementFields::NestProcessLevel;
    using clsDataElementFields::Slot;

    // Status bits that hold private properties; never visible through StatusFlags.
    static constexpr int32_t kPrivateFlagsMask = 0x0F000000;
    static constexpr int32_t kValidityFlag = 0x01000000;
    static constexpr int32_t kParamOptionalFlag = 0x02000000;
    static constexpr int32_t kParamDynamicFlag = 0x2;

    // ElementMode bits: read from the device, written to it, a device command.
    static constexpr int32_t kModeUpload = 0x1;
    static constexpr int32_t kModeDownload = 0x2;
    static constexpr int32_t kModeCommand = 0x4;

    // ---- Ranges (stated in the initial unit; an Empty bound is open) ----
    // True when range `rangeIndex` exists and has a bound; a missing range
    // answers False and leaves the arguments alone.
    bool GetRange(int32_t rangeIndex, platform::Variant& minValue, platform::Variant& maxValue) const;
    // Both bounds Empty removes the range (later ranges move down).
    void SetRange(int32_t rangeIndex, const platform::Variant& minValue, const platform::Variant& maxValue);

    // ---- Values ----
    platform::Variant GetTypedValue(const platform::Variant& aValue) const;
    // 0, &H2000 not valid, &H4000 out of range, &H5000 too long, &H6000 bad character.
    int32_t CalcParamErrorFlags(const Ctx& DTMContext, const platform::Variant& aValue) const;
    // Longest text an element of open length (internal variables) takes from a
    // parameter document.
    static constexpr int32_t kMaxOpenTextLength = 1024;
    // Whether a typed value from a parameter document fits the element: no
    // range, length or character error, no octet string longer than the
    // element, and the element's ValueCheck passed.
    bool FitsElement(const platform::Variant& typed, const Ctx& DTMContext) const;
    // 4 when newValue (with the transient unit) differs from the reference value.
    int32_t CalcParamStatusFlags(const Ctx& DTMContext, const platform::Variant& newValue) const;

    // ---- Value lists ----
    std::string GetStrValueFromIdxList(int32_t aIndex) const;
    void SetStrValueFromIdxList(int32_t aIndex, const std::string& replaceString);
    std::string GetStrCommandErrorFromIndex(int32_t aIndex) const;
    void ReplaceValueListEntries();
    std::string GetValueLists(int32_t listIndex) const;  // non-numeric selector → 13

    // The record header of a record field, or nullptr.
    platform::P<clsDataElement> GetParentParameter(const platform::P<platform::rt::Parameters>& Parameters) const;

    // ---- Status flags ----
    int32_t StatusFlags() const override;
    void StatusFlags(int32_t value) override;
    void SetStatusFlag(int32_t StatusFlag);
    void ClearStatusFlag(int32_t StatusFlag);
    bool Validity() const;
    void Validity(bool value);
    bool ParamOptional() const;
    void ParamOptional(bool value);
    bool ParamDynamic() const;
    void ParamDynamic(bool value);

    int32_t ControlType() const { return m_ControlType; }
    void ControlType(int32_t value);

    // ---- Unit text of the transient unit ----
    std::string UnitString(const Ctx& DTMContext) const;
    void UnitString(const Ctx& DTMContext, const std::string& New_UnitString);

    // ---- IPrivateDataElement ----
    bool InitNew(platform::P<platform::rt::DtmRuntimeGlobal> probe, Ctx DTMContext) override;
    bool ReadFromPropBag(platform::com::PropertyBag& PropBag, Ctx DTMContext) override;
    bool WriteToPropBag(platform::com::PropertyBag& PropBag, Ctx DTMContext) override;
    bool ReadFromDtmVariable(platform::P<platform::xml::Element> DOMNode, Ctx DTMContext) override;
    bool WriteToDtmVariable(platform::P<platform::xml::Element> DOMNode, Ctx DTMContext) override;
    bool WriteToDocVariable(platform::P<platform::xml::Element> DOMNode, Ctx DTMContext) override;
    bool IsUploadParam(const Ctx& DTMContext) override;
    bool IsDownloadParam(const Ctx& DTMContext) override;
    bool IsDeviceCommand(Ctx DTMContext) override;

    // The value as it leaves the element: a secret's initial value in place of its own.
    const platform::Variant& ExportedValue() const { return Secret ? InitialValue : TransientValue; }

private:
    static std::string GetBitListText(const std::string& list, int32_t value, bool bitMode);
    bool ExcludedByIdentNumber(const Ctx& DTMContext) const;
    bool UserMayWrite(const Ctx& DTMContext) const;
    // Every write of the flags goes through here, so that the change list hears of it.
    void SetAllFlags(int32_t flags);

    int32_t m_StatusFlags = kValidityFlag;
    int32_t m_ControlType = 0;
    std::vector<std::pair<platform::Variant, platform::Variant>> m_Ranges;  // minimum, maximum
};

}  // namespace dtm
