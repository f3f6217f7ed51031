// The simulated device's commands: zero point adjustment, factory reset,
// warm start and bus address reset, write locking, the service code and the
// converter's resets.
#include <algorithm>
#include <string>

#include "frame/SimulatedDevice.h"
#include "platform/app/EventLoop.h"

namespace dtm::frame {

namespace {

constexpr uint8_t kRestartConverter = 0;
constexpr uint8_t kResetTotalisers = 1;
constexpr uint8_t kAcknowledgeErrors = 2;
constexpr uint8_t kSystemStateMeasuring = 3;

uint64_t BigEndian(const std::vector<uint8_t>& bytes) {
    uint64_t value = 0;
    for (const uint8_t byte : bytes) value = (value << 8) | byte;
    return value;
}

int64_t Now() { return platform::app::EventLoop::Instance().Now(); }

}  // namespace

void SimulatedDevice::SetZeroPoint(ZeroPointMode mode, int readsRunning) {
    zeroMode_ = mode;
    zeroReadsRunning_ = std::max(readsRunning, 0);
}

bool SimulatedDevice::Restarting() const { return restartEndsMs_ >= 0 && Now() < restartEndsMs_; }

uint64_t SimulatedDevice::StoredUnsigned(const Address& address) const {
    return BigEndian(Bytes(address.first, address.second));
}

void SimulatedDevice::StoreUnsigned(const Address& address, uint64_t value) {
    auto it = memory_.find(address);
    if (it == memory_.end()) return;
    auto& bytes = it->second.bytes;
    for (size_t i = 0; i < bytes.size(); ++i) bytes[bytes.size() - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
}

void SimulatedDevice::SetConverterBits(uint32_t bits, bool on) {
    const uint64_t status = StoredUnsigned(commands_.converterStatus);
    StoreUnsigned(commands_.converterStatus, on ? (status | bits) : (status & ~uint64_t{bits}));
}

void SimulatedDevice::EndZeroPoint() {
    zeroReadsLeft_ = 0;
    SetConverterBits(kConverterZeroPointBit, false);
}

uint8_t SimulatedDevice::CommandRefusal(const Address& address, const std::vector<uint8_t>& data) const {
    const uint64_t value = BigEndian(data);
    if (address == commands_.zeroPoint) {
        if (value > 1) return kInvalidRange;
        if (value == 1 && zeroMode_ == ZeroPointMode::Refuses) return kStateConflict;
        if (value == 1 && zeroMode_ == ZeroPointMode::Busy) return kResourceBusy;
        return 0;
    }
    if (address == commands_.factoryReset)
        return value == 0 || value == kFactoryReset || value == kWarmStart || value == kAddressReset ? 0
                                                                                                      : kInvalidRange;
    if (address == writeLocking_) return value == kWriteLocked || value == kWriteUnlocked ? 0 : kInvalidRange;
    if (address == resets_) return value <= kAcknowledgeErrors ? 0 : kInvalidRange;
    return 0;
}

bool SimulatedDevice::RunCommand(const Address& address) {
    if (address == commands_.zeroPoint) {
        const bool start = StoredUnsigned(address) == 1 && zeroMode_ == ZeroPointMode::Runs;
        zeroReadsLeft_ = start ? zeroReadsRunning_ : 0;
        SetConverterBits(kConverterZeroPointBit, ZeroPointRunning());
        StoreUnsigned(address, 0);
        return true;
    }
    if (address == commands_.factoryReset) {
        const uint64_t command = StoredUnsigned(address);
        if (command == kFactoryReset || command == kWarmStart) {
            if (command == kFactoryReset)
                for (const auto& [at, bytes] : factoryBytes_) memory_[at].bytes = bytes;
            else
                restartEndsMs_ = Now() + kRestartMs;
            EndZeroPoint();
            const uint64_t diagnosis = StoredUnsigned(commands_.diagnosis);
            StoreUnsigned(commands_.diagnosis,
                          diagnosis | (command == kFactoryReset ? kDiagnosisColdStart : kDiagnosisWarmStart));
        } else if (command == kAddressReset) {
            // The write is answered at the old address; the device listens at
            // the new one from then on.
            busAddress_ = kDefaultBusAddress;
        }
        StoreUnsigned(address, 0);
        return true;
    }
    if (address == commands_.servicePassword) {
        auto& code = memory_[address].bytes;
        const bool service = std::string(code.begin(), code.end()) == kServiceCode;
        std::fill(code.begin(), code.end(), ' ');
        const uint64_t rights = StoredUnsigned(commands_.accessRights);
        StoreUnsigned(commands_.accessRights, service ? (rights | kAccessService) : (rights & ~uint64_t{kAccessService}));
        return true;
    }
    if (address == resets_) {
        const uint64_t command = StoredUnsigned(address);
        if (command == kAcknowledgeErrors) {
            for (const Address& cleared : clearedByAcknowledge_) StoreUnsigned(cleared, 0);
            StoreUnsigned(systemState_, kSystemStateMeasuring);
        } else if (command == kRestartConverter) {
            EndZeroPoint();  // the converter restarts at once
        } else if (command == kResetTotalisers) {
            for (const Address& total : commands_.totals) {
                auto& bytes = memory_[total].bytes;
                std::fill(bytes.begin(), bytes.begin() + std::min<size_t>(4, bytes.size()), 0);
            }
        }
        return true;
    }
    return false;
}

bool SimulatedDevice::RefreshCommand(const Address& address, Parameter& parameter) {
    if (address != commands_.zeroPoint) return false;
    const bool running = ZeroPointRunning();
    if (running && --zeroReadsLeft_ == 0) SetConverterBits(kConverterZeroPointBit, false);
    std::fill(parameter.bytes.begin(), parameter.bytes.end(), 0);
    if (!parameter.bytes.empty()) parameter.bytes.back() = running ? 1 : 0;
    return true;
}

}  // namespace dtm::frame
