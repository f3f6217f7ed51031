#include "frame/SimulatedDevice.h"

#include <algorithm>

#include "frame/DeviceFactoryImage.h"

namespace dtm::frame {

namespace {

const char* const kManufacturerIdPath = "PHYS/DEVICE_MAN_ID";
const char* const kDeviceIdPath = "PHYS/DEVICE_ID";
const char* const kWriteLockingPath = "PHYS/WRITE_LOCKING";

std::vector<uint8_t> Unsigned16(uint16_t value) {
    return {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value & 0xFF)};
}

std::vector<uint8_t> VisibleString(const std::string& text, size_t length) {
    std::vector<uint8_t> bytes(text.begin(), text.end());  // the model names are ASCII
    bytes.resize(length, ' ');
    return bytes;
}

}  // namespace

std::string SimulatedDevice::ModelName(Model model) { return model == Model::RXD214 ? "RXD 214" : "RXD 218"; }

SimulatedDevice::SimulatedDevice(Model model) : model_(model) {
    FactoryImage image = BuildFactoryImage(ModelName(model));
    for (auto& [address, parameter] : image.parameters)
        memory_[address] = Parameter{std::move(parameter.bytes), parameter.writable};

    // The identity is the device's own, whatever the model's initial values hold.
    const auto identity = [&](const char* path, std::vector<uint8_t> bytes) {
        auto it = image.addressOf.find(path);
        if (it != image.addressOf.end()) memory_[it->second].bytes = std::move(bytes);
    };
    identity(kManufacturerIdPath, Unsigned16(kManufacturerId));
    identity(kDeviceIdPath, VisibleString(ModelName(model), kDeviceIdLength));
    if (auto it = image.addressOf.find(kWriteLockingPath); it != image.addressOf.end()) writeLocking_ = it->second;
}

void SimulatedDevice::ScheduleBusy(int count) {
    for (int i = 0; i < count; ++i) faults_.push_back({DeviceAnswer::Kind::Error, kResourceBusy});
}

void SimulatedDevice::ScheduleFailure(uint8_t errorCode1, int count) {
    for (int i = 0; i < count; ++i) faults_.push_back({DeviceAnswer::Kind::Error, errorCode1});
}

void SimulatedDevice::ScheduleDrop(int count) {
    for (int i = 0; i < count; ++i) faults_.push_back({DeviceAnswer::Kind::Dropped, 0});
}

DeviceAnswer SimulatedDevice::Transact(const DeviceRequest& request) {
    DeviceAnswer answer;
    uint8_t addressFault = 0;
    if (TakeAddressFault(request, addressFault)) {
        answer = Refusal(addressFault);
    } else if (!faults_.empty()) {
        const Fault fault = faults_.front();
        faults_.pop_front();
        answer = fault.kind == DeviceAnswer::Kind::Dropped ? DeviceAnswer::Of(DeviceAnswer::Kind::Dropped)
                                                           : Refusal(fault.errorCode1);
    } else {
        answer = Answer(request);
    }
    const size_t dataBytes = request.write ? request.data.size() : answer.data.size();
    answer.busTimeUs = BusTimeUs(dataBytes);
    totalBusTimeUs_ += answer.busTimeUs;
    ++transactionCount_;
    log_.push_back({request, answer});
    return answer;
}

void SimulatedDevice::ScheduleAddressFailure(uint8_t slot, uint8_t index, bool write, uint8_t errorCode1, int nth) {
    addressFaults_.push_back({{write, slot, index, {}}, std::max(nth, 1), errorCode1});
}

bool SimulatedDevice::TakeAddressFault(const DeviceRequest& request, uint8_t& errorCode1) {
    bool failed = false;
    for (auto& fault : addressFaults_) {
        if (fault.match.slot != request.slot || fault.match.index != request.index ||
            fault.match.write != request.write || --fault.remaining > 0)
            continue;
        // One failure per transaction; a second fault due now fails the next one.
        if (failed) fault.remaining = 1;
        else errorCode1 = fault.errorCode1;
        failed = true;
    }
    std::erase_if(addressFaults_, [](const AddressFault& f) { return f.remaining <= 0; });
    return failed;
}

bool SimulatedDevice::SetValue(const std::string& path, const std::string& value) {
    const auto coding = CodeElementValue(ModelName(model_), path, value);
    if (!coding) return false;
    auto it = memory_.find(coding->address);
    if (it == memory_.end()) return false;
    coding->Apply(it->second.bytes);
    return true;
}

DeviceAnswer SimulatedDevice::Answer(const DeviceRequest& request) {
    const Address address{request.slot, request.index};
    auto it = memory_.find(address);
    if (it == memory_.end()) return Refusal(SlotKnown(request.slot) ? kInvalidIndex : kInvalidSlot);
    Parameter& parameter = it->second;
    if (!request.write) return DeviceAnswer::Of(DeviceAnswer::Kind::Data, parameter.bytes);

    if (!parameter.writable) return Refusal(kAccessDenied);
    if (request.data.size() != parameter.bytes.size()) return Refusal(kWriteLengthError);
    if (address != writeLocking_ && IsWriteLocked()) return Refusal(kStateConflict);
    parameter.bytes = request.data;
    return DeviceAnswer::Of(DeviceAnswer::Kind::Data);
}

DeviceAnswer SimulatedDevice::Refusal(uint8_t errorCode1) {
    DeviceAnswer answer = DeviceAnswer::Of(DeviceAnswer::Kind::Error);
    answer.errorDecode = kErrorDecodeDpv1;
    answer.errorCode1 = errorCode1;
    return answer;
}

bool SimulatedDevice::SlotKnown(uint8_t slot) const {
    auto it = memory_.lower_bound({slot, 0});
    return it != memory_.end() && it->first.first == slot;
}

std::vector<uint8_t> SimulatedDevice::Bytes(uint8_t slot, uint8_t index) const {
    auto it = memory_.find({slot, index});
    return it == memory_.end() ? std::vector<uint8_t>{} : it->second.bytes;
}

bool SimulatedDevice::IsWritable(uint8_t slot, uint8_t index) const {
    auto it = memory_.find({slot, index});
    return it != memory_.end() && it->second.writable;
}

bool SimulatedDevice::IsWriteLocked() const {
    const std::vector<uint8_t> lock = Bytes(writeLocking_.first, writeLocking_.second);
    return lock.size() == 2 && ((lock[0] << 8) | lock[1]) == kWriteLocked;
}

std::vector<std::pair<uint8_t, uint8_t>> SimulatedDevice::Addresses() const {
    std::vector<Address> addresses;
    addresses.reserve(memory_.size());
    for (const auto& entry : memory_) addresses.push_back(entry.first);
    return addresses;
}

}  // namespace dtm::frame
