#pragma once
// The process the simulated converter measures: a batch filling cycle of a
// sugar solution, as a function of the time since the device was switched on.
// Each cycle of two minutes ramps the mass flow up, overshoots the upper
// measuring limit for a few seconds, holds a rippling plateau, ramps down and
// stands still; the temperature warms up slowly, density and concentrations
// follow it with ripples of their own. Values come in the factory units of
// the variables; the status byte says GOOD, or UNCERTAIN while the converter
// starts up (the first two seconds).
#include <array>
#include <cstdint>

namespace dtm::frame {

// The eight measured variables in the pages' order: mass flow, volume flow,
// density, temperature, volume concentration, mass concentration, degrees
// Baume, solid flow.
inline constexpr std::array<int16_t, 8> kProcessUnits{1322, 1349, 1103, 1000, 1562, 1343, 1111, 1322};

inline constexpr uint8_t kStatusGood = 0x80;
inline constexpr uint8_t kStatusInitialValue = 0x4C;     // UNCERTAIN - initial value
inline constexpr uint8_t kStatusRangeLowLimited = 0x55;  // UNCERTAIN - engineering unit range violation, low limited
inline constexpr uint8_t kStatusRangeHighLimited = 0x56; // … high limited

struct ProcessSample {
    std::array<double, 8> values{};
    uint8_t status = kStatusGood;
};

ProcessSample SampleProcess(int64_t msSinceSwitchOn);

// The status of a value against its measuring limits: a value outside them is
// UNCERTAIN and limited on that side; otherwise `status` stands.
uint8_t LimitStatus(double value, double lo, double hi, uint8_t status);

}  // namespace dtm::frame
