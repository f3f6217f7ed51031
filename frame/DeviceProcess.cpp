#include "frame/DeviceProcess.h"

#include <cmath>
#include <numbers>

namespace dtm::frame {

namespace {

constexpr double kCycleS = 120;
constexpr double kPlateauKgS = 0.30;
constexpr double kOvershootKgS = 0.06;
constexpr double kStartUpS = 2;
constexpr double kWaterDensity = 0.9982;  // kg/L at 20 °C
constexpr double kSolidDensity = 1.59;    // kg/L of the dissolved solid

double Wave(double t, double periodS) { return std::sin(2 * std::numbers::pi * t / periodS); }

// kg/s at `p` seconds into the filling cycle.
double MassFlow(double p) {
    if (p < 20) return kPlateauKgS * p / 20;
    if (p < 28) return kPlateauKgS + kOvershootKgS * (1 - (p - 20) / 8);
    if (p < 90) return kPlateauKgS + 0.01 * Wave(p - 28, 11);
    if (p < 105) return kPlateauKgS * (105 - p) / 15;
    return 0;
}

}  // namespace

ProcessSample SampleProcess(int64_t msSinceSwitchOn) {
    const double t = static_cast<double>(msSinceSwitchOn) / 1000.0;
    const double mass = MassFlow(std::fmod(t, kCycleS));
    const double kelvin = 291.15 + 12 * (1 - std::exp(-t / 900)) + 0.3 * Wave(t, 47);
    const double density = 1.058 - 0.0004 * (kelvin - 293.15) + 0.002 * Wave(t, 73);
    const double massConc = 14.8 + 0.4 * Wave(t, 150);
    ProcessSample sample;
    sample.values = {
        mass,
        mass / density * 3.6,  // kg/s through kg/L: L/s, in m³/h
        density,
        kelvin,
        massConc * density / kSolidDensity,
        massConc,
        145 - 145 / (density / kWaterDensity),
        mass * massConc / 100,
    };
    sample.status = t < kStartUpS ? kStatusInitialValue : kStatusGood;
    return sample;
}

uint8_t LimitStatus(double value, double lo, double hi, uint8_t status) {
    if (lo < hi && value > hi) return kStatusRangeHighLimited;
    if (lo < hi && value < lo) return kStatusRangeLowLimited;
    return status;
}

}  // namespace dtm::frame
