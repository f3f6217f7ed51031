#pragma once
// What the converter's layers of the transducer, AI and totaliser blocks
// share: the channel table, the defaults tables and their builder, the block
// view address and the display format of large values.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "blocks/BlockTable.h"
#include "platform/com/Variant.h"

namespace platform::rt {
class Parameters;
}

namespace dtm::manuspec {

// The transducer block the function blocks read their channels from.
inline constexpr int16_t kSourceTransducerBlock = 1;

// A blank TAG_DESC: 32 blanks.
inline constexpr const char* kBlankTagDesc = "                                ";

// One measured value of the transducer block that a function block's CHANNEL
// can name. Paths are written after the transducer block prefix.
struct ChannelRow {
    int16_t code;            // the CHANNEL value
    const char* unit;        // the unit parameter of the measured value
    int16_t defaultUnit;     // initial code of that unit parameter; 0: no AI block defaults to it
    const char* loLimit;     // low and high limit of the measured value; nullptr when
    const char* hiLimit;     // no AI block defaults to the channel
    bool halved;             // an AI block's scale takes half the limits
};

// The eight channel codes, in the order a CHANNEL value is compared with them.
std::span<const ChannelRow> Channels();

// The channel row whose code `value` holds, or nullptr. A value that cannot be
// compared with a number (text, array, object) is no channel code.
const ChannelRow* FindChannel(const platform::Variant& value);

// True when `value` holds the number `code`; never raises.
bool HoldsCode(const platform::Variant& value, int32_t code);

// "BLK_OBJ/Address_of_View_1" of function block n: the hexadecimal number
// formed by n's decimal digits followed by "F0" (block 2: 0x2F0), as a Long.
platform::Variant BlockViewAddress(int16_t n);

// Sets `format` to `fixed` for a value from -999999 to 999999, else to `fixed` & "E+00".
void SetDisplayFormat(std::string& format, std::string_view fixed, const platform::Variant& value);

// ---- Defaults tables ----

// What a defaults row puts into the element's InitialValue.
enum class Initial : uint8_t {
    Keep,         // nothing
    Given,        // the row's own value
    Unit,         // the block's unit code, as a Long
    Zero,         // the block's zero of the scale
    Lo,           // the block's low limit
    Hi,           // the block's high limit
    Hysteresis,   // the block's alarm hysteresis
    Channel,      // the block's channel code, as an Integer
    ViewAddress,  // BlockViewAddress of the block
};

// One row of a defaults table; the properties are set in the order of the fields.
struct DefaultRow {
    const char* path;                    // after the block prefix
    int32_t userLevel = 0;               // RequiredUserLevel; 0: unchanged
    bool readOnly = false;               // clears the download bit of ElementMode, sets StatusFlags 0x1
    bool unit = false;                   // nInitUnit = the block's unit code
    Initial initial = Initial::Keep;     // InitialValue
    RowValue given{};                    // for Initial::Given
    const char* format = nullptr;        // ValueFormat; nullptr: unchanged
    bool range = false;                  // range 0 = rangeMin to rangeMax (Doubles)
    double rangeMin = 0;
    double rangeMax = 0;
};

// The block's own values that the rows refer to.
struct BlockDefaults {
    int16_t unit = 0;
    platform::Variant zero, lo, hi, hysteresis;
    int16_t channel = 0;
    int16_t blockNumber = 0;
};

// Applies the rows in order to the elements prefix & path (a miss raises 5).
void ApplyDefaults(platform::rt::Parameters& parameters, const std::string& prefix,
                   std::span<const DefaultRow> rows, const BlockDefaults& block = {});

// The InitialValue of `path` of transducer block 1, as a Double.
double TransducerInitialValue(const platform::rt::Parameters& parameters, const char* path);

}  // namespace dtm::manuspec
