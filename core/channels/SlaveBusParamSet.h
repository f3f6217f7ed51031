#pragma once
// The PROFIBUS slave parameter set of the device in its three forms inside the
// model: the bytes ("~/BusMasterConfigurationPart"), the same bytes as
// upper-case hexadecimal digits ("SlaveBusParamSet_WholeString") and the slot
// code of the data module of each of the eight function-block slots
// ("SlaveBusParamSet_FB1" to "SlaveBusParamSet_FB8"). A change of one form is
// carried into the others; each form is written and reported only when its
// value really changes, so the chain between them always ends.
//
// Layout (byte offsets, 16-bit numbers most significant byte first):
//   0 Slave_Para_Len (the whole set), 2 Sl_Flag, 3 Slave_Type, 4..15 reserved,
//   16 Prm_Data_Len, 18..27 Prm_Data (22..23 Ident_Number),
//   28 Cfg_Data_Len (2 + length of Cfg_Data), 30 Cfg_Data, then whatever
//   follows it (Add_Tab_Len, Slave_User_Data_Len), carried over unchanged.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
class Parameters;
}  // namespace platform::rt

namespace dtm {

class clsDataElement;

inline constexpr const char* kBusMasterConfigurationPart = "~/BusMasterConfigurationPart";
inline constexpr const char* kSlaveBusParamSetWholeString = "SlaveBusParamSet_WholeString";
inline constexpr int32_t kSlaveBusParamSlots = 8;
// The slot codes of the identifier table; a slot code element holds no other.
inline constexpr int16_t kFirstSlotCode = 1;
inline constexpr int16_t kLastSlotCode = 15;

// The default set: slots 1-3 and 5-7 send AI outputs (code 4), slots 4 and 8
// Totaliser outputs (code 5); 64 bytes.
inline constexpr const char* kDefaultSlaveBusParamSet =
    "00400000000000000000000000000000000C00640A00B3C600000000002042840805428408054284080541848542840805428408054284"
    "080541848500020002";

// The Ident_Number of the parameterisation data: the device's own, and the
// PA profile's.
inline constexpr uint16_t kDeviceIdentNumber = 0xB3C6;
inline constexpr uint16_t kProfileIdentNumber = 0x9742;

// "SlaveBusParamSet_FB" & slot.
std::string SlaveBusParamSlotName(int32_t slot);
// The default slot code of slot 1..8: 5 for slots 4 and 8, else 4.
int16_t DefaultSlotCode(int32_t slot);
// The configuration identifier digits of a slot code 1..15; "" for any other.
std::string SlotCodeIdentifier(int32_t code);
// True when a slot with this code sends cyclic input data (codes 2 to 12).
bool SlotCodeHasInput(int32_t code);

// "" when `hex` is a usable slave parameter set, else why it is not: an odd
// number of digits, a character that is no hexadecimal digit, less than the
// fixed header (60 digits up to Cfg_Data_Len), a Cfg_Data_Len below 2 or
// reaching past the end of the string, or more than 65535 bytes.
std::string CheckSlaveBusParamSet(const std::string& hex);
// Whether bytes, or their hexadecimal text, are a usable set.
bool IsUsableSlaveBusParamSet(const platform::Variant& value);

// Called by the change dispatch for every changed element, with the nesting
// level of the change (1 for a change from outside the dispatch):
// - the bytes: checked first (an unusable set raises 380 and the bytes go
//   back to the set of the whole string); then the whole string becomes their
//   hexadecimal text;
// - the whole string: checked first (an unusable one raises 380, is set back
//   to the text of the bytes, and nothing else changes); then the bytes
//   follow it and the slot codes are parsed from it;
// - a slot code, at nesting level 1 only: the whole string is rebuilt from the
//   eight slot codes and its Slave_Para_Len updated.
// A form is written and reported through the collection only when it changes.
void OnBusParamChanged(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                       int32_t NestingLevel);

// The whole string's new value: its first 56 digits, the new Cfg_Data_Len and
// Cfg_Data made of the eight slot codes' identifiers, and its old tail. An
// unusable whole string raises 380 and nothing changes.
void BuildBusParamWholeString(platform::rt::Parameters& Parameters);
// The digits of the whole string behind Cfg_Data.
std::string GetTailAfterCfgData(const clsDataElement& wholeString);
// Rewrites Slave_Para_Len from the length of the whole string.
void SetBusParamTotalLength(clsDataElement& wholeString);
// Sets the slot codes from the Cfg_Data of the whole string (either letter
// case), slot by slot; an identifier that is not known stops the parse there
// and the remaining slots keep their codes. A slot code is written and
// reported only when it changes. An unusable whole string raises 380.
void ParseBusParamWholeString(platform::rt::Parameters& Parameters);

// The whole string becomes the hexadecimal text of the bytes, reported when it
// changes (also used after the bytes were changed without a report).
void BusParamBytesToWholeString(platform::rt::Parameters& Parameters);
// Sets the Ident_Number of the bytes to the device's own number (True) or to
// the profile number, when it holds the other one; nothing is reported.
void SwapSlaveIdentNumber(platform::rt::Parameters& Parameters, bool deviceOwn);

// The values of the set's ten elements at one moment.
struct BusParamSetValues {
    platform::Variant bytes;
    platform::Variant wholeString;
    std::vector<platform::Variant> slotCodes;  // slots 1 to 8
};
BusParamSetValues BusParamSetValuesOf(const platform::rt::Parameters& Parameters);
// After values were written into the elements without a report (a parameter
// document), before the whole data set is worked out (which takes the bytes,
// the first form in the collection, as the set): the form that differs from
// `before` is reported changed, so that the other forms follow it. When
// several differ, the whole string goes before the bytes, and the bytes before
// the slot codes. Nothing is reported when none differs.
void ReportChangedBusParamForm(platform::rt::Parameters& Parameters, const BusParamSetValues& before);

// The process-data channels follow the slot codes: the two channels of a slot
// without input data are inactive with bit offset 0; the k-th slot with input
// data has its value channel at bit 40 × (k − 1) and its status channel 32
// bits further, both active.
void UpdateChannelSlots(const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

}  // namespace dtm
