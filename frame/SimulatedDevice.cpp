#include "frame/SimulatedDevice.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "frame/DeviceBytes.h"
#include "frame/DeviceFactoryImage.h"
#include "frame/DeviceProcess.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "pages/measurement/MeasuredVariables.h"
#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"

namespace dtm::frame {

namespace {

const char* const kManufacturerIdPath = "PHYS/DEVICE_MAN_ID";
const char* const kDeviceIdPath = "PHYS/DEVICE_ID";
const char* const kWriteLockingPath = "PHYS/WRITE_LOCKING";
const char* const kOperationHourPath = "PHYS/MANU/OPERATION_HOUR/milliseconds";
const char* const kResetsPath = "TRANS/1/FlowCori/MANU/_resets";
const char* const kSystemStatePath = "TRANS/1/FlowCori/MANU/_system_state";
const char* const kConverterStatusPath = "TRANS/1/FlowCori/MANU/_converter_status";
const char* const kZeroPointPath = "TRANS/1/FlowCori/ZERO_POINT_ADJUST";
const char* const kFactoryResetPath = "PHYS/FACTORY_RESET";
const char* const kServicePasswordPath = "PHYS/MANU/SERVICE_PASSWORD";
const char* const kAccessRightsPath = "PHYS/MANU/ACCESS_RIGHTS";
const char* const kTotalPaths[] = {"FUNC/4/TOT/TOTAL/Value", "FUNC/8/TOT/TOTAL/Value"};
constexpr int64_t kMsPerDay = 86400000;
// The device's age when the frame switches it on: 412 days and 5 hours.
constexpr int64_t kOperatingMsAtSwitchOn = 412 * kMsPerDay + 5 * 3600000;

uint16_t Unsigned16At(const std::vector<uint8_t>& bytes) {
    return bytes.size() < 2 ? 0 : static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

const dtm::clsPROFIBUSProfil3Units& Units() {
    static const dtm::clsPROFIBUSProfil3Units units;
    return units;
}

// A value converted between two unit codes; unconverted when it overflows.
double Converted(double value, int32_t from, int32_t to) {
    try {
        return Units().CalculateUnitValue(value, from, to);
    } catch (const platform::com::ComError&) {
        return value;
    }
}

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
    // The paths serve to find the addresses the device acts on; it keeps the addresses only.
    const auto& paths = image.addressOf;
    writeLocking_ = AddressOf(paths, kWriteLockingPath);
    for (size_t i = 0; i < live_.size(); ++i) {
        const auto& variable = kMeasuredVariables[i];
        live_[i] = {AddressOf(paths, variable.value), AddressOf(paths, variable.units),
                    AddressOf(paths, variable.loLimit), AddressOf(paths, variable.hiLimit)};
    }
    operationHour_ = AddressOf(paths, kOperationHourPath);
    resets_ = AddressOf(paths, kResetsPath);
    systemState_ = AddressOf(paths, kSystemStatePath);
    clearedByAcknowledge_ = {AddressOf(paths, "PHYS/DIAGNOSIS"), AddressOf(paths, "PHYS/DIAGNOSIS_EXTENSION"),
                             AddressOf(paths, kConverterStatusPath)};
    commands_ = {AddressOf(paths, kZeroPointPath),       AddressOf(paths, kFactoryResetPath),
                 AddressOf(paths, kServicePasswordPath), AddressOf(paths, kAccessRightsPath),
                 AddressOf(paths, kConverterStatusPath), AddressOf(paths, "PHYS/DIAGNOSIS"),
                 {}};
    for (const char* total : kTotalPaths)
        if (AddressOf(paths, total) != Address{0, 0}) commands_.totals.push_back(AddressOf(paths, total));
    for (const auto& [address, parameter] : memory_)
        if (parameter.writable) factoryBytes_[address] = parameter.bytes;
    FindAIBlocks(paths);
    switchedOnMs_ = platform::app::EventLoop::Instance().Now();
}

SimulatedDevice::Address SimulatedDevice::AddressOf(const Paths& paths, const std::string& path) {
    const auto it = paths.find(path);
    return it == paths.end() ? Address{0, 0} : it->second;
}

float SimulatedDevice::StoredFloat(const Address& address) const {
    return FloatAt(Bytes(address.first, address.second), 0);
}

void SimulatedDevice::Refresh(const Address& address, Parameter& parameter) {
    if (RefreshCommand(address, parameter)) return;
    const int64_t sinceSwitchOn = platform::app::EventLoop::Instance().Now() - switchedOnMs_;
    if (address == operationHour_ && operationHour_ != Address{0, 0}) {
        const int64_t operating = kOperatingMsAtSwitchOn + sinceSwitchOn;
        PutUnsigned(parameter.bytes, 0, static_cast<uint64_t>(operating % kMsPerDay), 4);
        PutUnsigned(parameter.bytes, 4, static_cast<uint64_t>(operating / kMsPerDay), 2);
        return;
    }
    if (RefreshAIOutput(address, parameter)) return;
    for (size_t i = 0; i < live_.size(); ++i) {
        if (address != live_[i].record) continue;
        const ProcessSample sample = SampleProcess(sinceSwitchOn);
        const int32_t unit = Unsigned16At(Bytes(live_[i].units.first, live_[i].units.second));
        const auto value = static_cast<float>(Converted(sample.values[i], kProcessUnits[i], unit));
        PutFloat(parameter.bytes, 0, value);
        if (parameter.bytes.size() > 4)
            parameter.bytes[4] = LimitStatus(value, StoredFloat(live_[i].lo), StoredFloat(live_[i].hi), sample.status);
        return;
    }
}

void SimulatedDevice::AfterWrite(const Address& address, const std::vector<uint8_t>& before) {
    AfterAIWrite(address);
    if (RunCommand(address)) return;
    for (const LiveVariable& variable : live_) {
        if (address != variable.units) continue;
        const int32_t from = Unsigned16At(before);
        const int32_t to = Unsigned16At(Bytes(address.first, address.second));
        for (const Address& limit : {variable.lo, variable.hi}) {
            auto it = memory_.find(limit);
            if (it == memory_.end()) continue;
            PutFloat(it->second.bytes, 0, static_cast<float>(Converted(FloatAt(it->second.bytes, 0), from, to)));
        }
    }
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
    } else if (Restarting()) {
        answer.kind = DeviceAnswer::Kind::Dropped;
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

bool SimulatedDevice::SetValue(const std::string& path, const std::string& value, std::string* refusal) {
    const auto coding = CodeElementValue(ModelName(model_), path, value, refusal);
    if (!coding) return false;
    auto it = memory_.find(coding->address);
    if (it == memory_.end()) {
        if (refusal) *refusal = "the device has no parameter at its address";
        return false;
    }
    const std::vector<uint8_t> before = it->second.bytes;
    coding->Apply(it->second.bytes);
    AfterWrite(coding->address, before);
    return true;
}

DeviceAnswer SimulatedDevice::Answer(const DeviceRequest& request) {
    const Address address{request.slot, request.index};
    auto it = memory_.find(address);
    if (it == memory_.end()) return Refusal(SlotKnown(request.slot) ? kInvalidIndex : kInvalidSlot);
    Parameter& parameter = it->second;
    if (!request.write) {
        Refresh(address, parameter);
        return DeviceAnswer::Of(DeviceAnswer::Kind::Data, parameter.bytes);
    }

    uint8_t aiRefusal = 0;
    const AIWrite ai = CheckAIWrite(address, request.data, aiRefusal);
    if (ai == AIWrite::Refuse) return Refusal(aiRefusal);
    if (ai == AIWrite::NotAI && !parameter.writable) return Refusal(kAccessDenied);
    if (request.data.size() != parameter.bytes.size()) return Refusal(kWriteLengthError);
    if (address != writeLocking_ && IsWriteLocked()) return Refusal(kStateConflict);
    if (const uint8_t refusal = CommandRefusal(address, request.data)) return Refusal(refusal);
    const std::vector<uint8_t> before = std::move(parameter.bytes);
    parameter.bytes = request.data;
    AfterWrite(address, before);
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
