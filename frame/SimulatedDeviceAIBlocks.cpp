// The simulated device's AI function blocks: block mode, simulation and output.

#include "blocks/ManuSpecSupport.h"
#include "frame/DeviceBytes.h"
#include "frame/SimulatedDevice.h"
#include "pages/measurement/MeasuredVariables.h"
#include "platform/com/Variant.h"

namespace dtm::frame {

namespace {

constexpr uint8_t kModeAuto = 0x08, kModeManual = 0x10, kModeOutOfService = 0x80;
constexpr uint8_t kStatusOutOfService = 0x1C;  // BAD - out of service
// Byte positions in the records.
constexpr size_t kOutStatus = 4;
constexpr size_t kSimulateStatus = 0, kSimulateValue = 1, kSimulateEnabled = 5;
constexpr size_t kModeActual = 0, kModePermitted = 1;
constexpr size_t kScaleUpper = 0, kScaleLower = 4;

// The measured variable (0 to 7) a CHANNEL code names; -1 for none.
int VariableOfChannel(const std::vector<uint8_t>& code) {
    const auto value = static_cast<int16_t>((ByteAt(code, 0) << 8) | ByteAt(code, 1));
    const auto* row = manuspec::FindChannel(platform::Variant::Int(value));
    if (!row) return -1;
    const std::string units = std::string("TRANS/1/FlowCori/") + row->unit;
    for (size_t i = 0; i < kMeasuredVariables.size(); ++i)
        if (units == kMeasuredVariables[i].units) return static_cast<int>(i);
    return -1;
}

}  // namespace

void SimulatedDevice::FindAIBlocks(const Paths& paths) {
    for (int n = 1; n <= 8; ++n) {
        const std::string prefix = "FUNC/" + std::to_string(n) + "/AI/";
        if (!paths.count(prefix + "OUT/Value")) continue;
        aiBlocks_.push_back({AddressOf(paths, prefix + "OUT/Value"), AddressOf(paths, prefix + "SIMULATE/Value"),
                             AddressOf(paths, prefix + "MODE_BLK/Actual"), AddressOf(paths, prefix + "TARGET_MODE"),
                             AddressOf(paths, prefix + "CHANNEL"), AddressOf(paths, prefix + "PV_SCALE/Up_Val"),
                             AddressOf(paths, prefix + "OUT_SCALE/Up_Val")});
    }
}

uint8_t SimulatedDevice::ActualMode(const AIBlock& block) const {
    return ByteAt(Bytes(block.modeBlk.first, block.modeBlk.second), kModeActual);
}

SimulatedDevice::AIWrite SimulatedDevice::CheckAIWrite(const Address& address, const std::vector<uint8_t>& data,
                                                       uint8_t& errorCode1) const {
    for (const AIBlock& block : aiBlocks_) {
        if (address == block.out) {
            if (ActualMode(block) == kModeManual) return AIWrite::Accept;
            errorCode1 = kStateConflict;
            return AIWrite::Refuse;
        }
        if (address == block.targetMode && data.size() == 1) {
            const uint8_t permitted = ByteAt(Bytes(block.modeBlk.first, block.modeBlk.second), kModePermitted);
            const uint8_t mode = data[0];
            const bool known = mode == kModeAuto || mode == kModeManual || mode == kModeOutOfService;
            if (known && (mode & permitted) == mode) return AIWrite::NotAI;
            errorCode1 = kInvalidRange;
            return AIWrite::Refuse;
        }
    }
    return AIWrite::NotAI;
}

void SimulatedDevice::AfterAIWrite(const Address& address) {
    for (const AIBlock& block : aiBlocks_) {
        if (address != block.targetMode) continue;
        auto mode = memory_.find(block.modeBlk);
        const std::vector<uint8_t> target = Bytes(address.first, address.second);
        if (mode != memory_.end() && !target.empty() && !mode->second.bytes.empty())
            mode->second.bytes[kModeActual] = target[0];
    }
}

bool SimulatedDevice::RefreshAIOutput(const Address& address, Parameter& out) {
    for (const AIBlock& block : aiBlocks_) {
        if (address != block.out) continue;
        const uint8_t mode = ActualMode(block);
        if (mode == kModeOutOfService) {
            if (out.bytes.size() > kOutStatus) out.bytes[kOutStatus] = kStatusOutOfService;
        } else if (mode == kModeAuto) {
            const std::vector<uint8_t> simulate = Bytes(block.simulate.first, block.simulate.second);
            if (ByteAt(simulate, kSimulateEnabled) != 0) {
                PutFloat(out.bytes, 0, FloatAt(simulate, kSimulateValue));
                if (out.bytes.size() > kOutStatus) out.bytes[kOutStatus] = ByteAt(simulate, kSimulateStatus);
            } else {
                // The measured variable the channel names, scaled.
                const int variable = VariableOfChannel(Bytes(block.channel.first, block.channel.second));
                if (variable < 0) return true;
                const Address source = live_[static_cast<size_t>(variable)].record;
                auto it = memory_.find(source);
                if (it == memory_.end()) return true;
                Refresh(source, it->second);
                const std::vector<uint8_t> pv = Bytes(block.pvScale.first, block.pvScale.second);
                const std::vector<uint8_t> scale = Bytes(block.outScale.first, block.outScale.second);
                const double pvHi = FloatAt(pv, kScaleUpper), pvLo = FloatAt(pv, kScaleLower);
                const double outHi = FloatAt(scale, kScaleUpper), outLo = FloatAt(scale, kScaleLower);
                double value = FloatAt(it->second.bytes, 0);
                if (pvHi != pvLo) value = outLo + (value - pvLo) * (outHi - outLo) / (pvHi - pvLo);
                PutFloat(out.bytes, 0, static_cast<float>(value));
                if (out.bytes.size() > kOutStatus) out.bytes[kOutStatus] = ByteAt(it->second.bytes, kOutStatus);
            }
        }
        // In manual mode the output holds what was written.
        return true;
    }
    return false;
}

}  // namespace dtm::frame
