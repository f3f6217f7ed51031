#pragma once
// A simulated RXD 214 / RXD 218 on PROFIBUS PA: it answers DP-V1 reads and
// writes by slot and index from its own memory.
//
// The memory starts as the factory image: every device parameter's initial
// value, coded by a fresh model instance of the chosen model, with the
// device's identity (DEVICE_MAN_ID 173, DEVICE_ID the model name). After that
// the bytes are the device's own; nothing ties them to any DTM instance.
//
// Refusals, as the DP-V1 Error_Code_1 of the answer (Error_Decode 0x80):
//   0xB2 invalid slot, 0xB0 invalid index (known slot), 0xB1 write length
//   error (a write must carry exactly the parameter's length), 0xB6 access
//   denied (a read-only parameter), 0xB5 state conflict (any write but one to
//   WRITE_LOCKING while WRITE_LOCKING holds 0, the write lock).
// Scheduled faults take the next transactions in the order scheduled: busy
// (0xC2), a failure with a given code, or a dropped transaction (no answer).
//
// The converter lives: a read of a measured variable's record samples the
// process (DeviceProcess) at the frame's virtual time, in the unit the device
// holds, its status UNCERTAIN and limited when the value lies outside the
// limits the device holds; a new unit converts that variable's limits. The
// operating hours count on the virtual clock. DIAGNOSIS, its extension and
// the converter status are whatever was set (SetValue); writing 2 ("clear
// error messages") to the converter's reset clears all three and puts the
// system state back to measuring.
//
// Bus time: each transaction costs kBaseBusTimeUs plus kBusTimePerByteUs per
// data byte it carries (the write data or the read answer) at 31.25 kbit/s.
#include <cstdint>
#include <array>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace dtm::frame {

struct DeviceRequest {
    bool write = false;
    uint8_t slot = 0;
    uint8_t index = 0;
    std::vector<uint8_t> data;  // the write data; ignored for a read
};

struct DeviceAnswer {
    enum class Kind { Data, Error, Dropped };
    Kind kind = Kind::Data;
    std::vector<uint8_t> data;   // a read's bytes; empty otherwise
    uint8_t errorDecode = 0;     // 0x80 with a DP-V1 error
    uint8_t errorCode1 = 0;      // the DP-V1 error code (0xB0 …)
    uint8_t errorCode2 = 0;
    int64_t busTimeUs = 0;       // the bus time of this transaction

    bool Ok() const { return kind == Kind::Data; }
};

class SimulatedDevice {
public:
    enum class Model { RXD214, RXD218 };

    static constexpr uint16_t kManufacturerId = 173;
    static constexpr int kDeviceIdLength = 16;
    static constexpr uint8_t kErrorDecodeDpv1 = 0x80;
    static constexpr uint8_t kInvalidIndex = 0xB0;
    static constexpr uint8_t kWriteLengthError = 0xB1;
    static constexpr uint8_t kInvalidSlot = 0xB2;
    static constexpr uint8_t kStateConflict = 0xB5;
    static constexpr uint8_t kAccessDenied = 0xB6;
    static constexpr uint8_t kResourceBusy = 0xC2;
    static constexpr uint8_t kModuleFailure = 0xA2;
    // WRITE_LOCKING: 0 locks every other write; 2457 is the unlocked factory value.
    static constexpr uint16_t kWriteLocked = 0;
    static constexpr int64_t kBaseBusTimeUs = 17000;
    static constexpr int64_t kBusTimePerByteUs = 256;

    // The factory image of the model, built from a fresh model instance.
    explicit SimulatedDevice(Model model = Model::RXD218);

    Model DeviceModel() const { return model_; }
    static std::string ModelName(Model model);  // "RXD 214", "RXD 218"

    // One transaction: a fault scheduled for it, else the answer from memory.
    DeviceAnswer Transact(const DeviceRequest& request);
    DeviceAnswer Read(uint8_t slot, uint8_t index) { return Transact({false, slot, index, {}}); }
    DeviceAnswer Write(uint8_t slot, uint8_t index, std::vector<uint8_t> data) {
        return Transact({true, slot, index, std::move(data)});
    }

    // Faults for the next transactions, queued behind those already scheduled.
    void ScheduleBusy(int count = 1);
    void ScheduleFailure(uint8_t errorCode1 = kModuleFailure, int count = 1);
    void ScheduleDrop(int count = 1);
    size_t ScheduledFaults() const { return faults_.size(); }
    // A failure with `errorCode1` for the n-th transaction from now on the
    // address in the direction given (reads or writes); it does not wait
    // behind the queued faults.
    void ScheduleAddressFailure(uint8_t slot, uint8_t index, bool write, uint8_t errorCode1, int nth = 1);

    // Every transaction so far with its answer, in order.
    struct LogEntry {
        DeviceRequest request;
        DeviceAnswer answer;
    };
    const std::vector<LogEntry>& Log() const { return log_; }

    // The bus time of a transaction that carries `dataBytes` data bytes.
    static int64_t BusTimeUs(size_t dataBytes) {
        return kBaseBusTimeUs + kBusTimePerByteUs * static_cast<int64_t>(dataBytes);
    }
    // Totals of every transaction so far, dropped ones included.
    int64_t TotalBusTimeUs() const { return totalBusTimeUs_; }
    int64_t TransactionCount() const { return transactionCount_; }

    // ---- Memory (for the frame's inspection and for tests) ----
    bool HasParameter(uint8_t slot, uint8_t index) const { return memory_.count({slot, index}) != 0; }
    // The parameter's bytes; empty for an unknown address.
    std::vector<uint8_t> Bytes(uint8_t slot, uint8_t index) const;
    bool IsWritable(uint8_t slot, uint8_t index) const;
    bool IsWriteLocked() const;
    std::pair<uint8_t, uint8_t> WriteLockingAddress() const { return writeLocking_; }
    // Every parameter's address, in ascending order.
    std::vector<std::pair<uint8_t, uint8_t>> Addresses() const;
    // Sets the element at `path` in memory to `value`, coded as a write of a
    // fresh model instance would code it, with the effect a written value has
    // (a new unit converts its limits); False when the path is no device
    // parameter's element or the value does not code.
    bool SetValue(const std::string& path, const std::string& value);

private:
    using Address = std::pair<uint8_t, uint8_t>;
    struct Parameter {
        std::vector<uint8_t> bytes;
        bool writable = false;
    };
    struct Fault {
        DeviceAnswer::Kind kind;
        uint8_t errorCode1;
    };
    struct AddressFault {
        DeviceRequest match;  // slot, index and direction
        int remaining;        // transactions on it until the failure
        uint8_t errorCode1;
    };
    bool TakeAddressFault(const DeviceRequest& request, uint8_t& errorCode1);

    DeviceAnswer Answer(const DeviceRequest& request);
    // The live bytes of a parameter about to be read.
    void Refresh(const Address& address, Parameter& parameter);
    // What a new value of a parameter sets off in the converter.
    void AfterWrite(const Address& address, const std::vector<uint8_t>& before);
    Address AddressOf(const std::string& path) const;
    float StoredFloat(const Address& address) const;
    static DeviceAnswer Refusal(uint8_t errorCode1);
    bool SlotKnown(uint8_t slot) const;

    Model model_;
    std::map<Address, Parameter> memory_;
    Address writeLocking_{0, 0};
    std::map<std::string, Address> addressOf_;
    struct LiveVariable {
        Address record, units, lo, hi;
    };
    std::array<LiveVariable, 8> live_{};
    Address operationHour_{0, 0}, resets_{0, 0}, systemState_{0, 0};
    std::array<Address, 3> clearedByAcknowledge_{};  // DIAGNOSIS, its extension, the converter status
    int64_t switchedOnMs_ = 0;
    std::deque<Fault> faults_;
    std::vector<AddressFault> addressFaults_;
    std::vector<LogEntry> log_;
    int64_t totalBusTimeUs_ = 0;
    int64_t transactionCount_ = 0;
};

}  // namespace dtm::frame
