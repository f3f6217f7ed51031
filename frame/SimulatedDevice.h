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
// the converter status are whatever was set (SetValue); writing 2 ("acknowledge
// errors") to the converter's reset clears all three and puts the
// system state back to measuring.
//
// The commands act as on a real device (DeviceCommands.cpp):
//   ZERO_POINT_ADJUST: writing 1 starts the adjustment, which then reads 1
//     for a number of reads (SetZeroPoint) and 0 after them; 0 cancels it.
//     The device may be set to take the start and never run it, to refuse
//     it (state conflict) or to answer busy. While it runs, the converter
//     status shows kConverterZeroPointBit.
//   FACTORY_RESET: 1 puts every writable parameter back to its factory
//     bytes; 2506 restarts the device, which answers nothing for
//     kRestartMs; 2712 moves the device to bus address 126 once the write
//     is answered. 0 does nothing; other values are out of range (0xB7).
//     A factory reset sets the cold start bit of DIAGNOSIS, a warm start
//     its warm start bit; both end a running zero point adjustment.
//   WRITE_LOCKING: 0 locks, 2457 unlocks; other values are out of range.
//   SERVICE_PASSWORD: reads back as nine blanks whatever was written; the
//     code written is judged (kServiceCode unlocks the service level in
//     ACCESS_RIGHTS, any other code takes it back) and kept nowhere but in
//     the transaction log.
//   "_resets": 0 restarts the converter (a running adjustment ends), 1 resets the
//     totalisers, 2 acknowledges the errors; other values are out of range.
//
// The AI function blocks act on their mode: a permitted TARGET_MODE (one of
// automatic 8, manual 16, out of service 128, as MODE_BLK/Permitted allows;
// others are refused with 0xB7 invalid range) becomes the actual mode. In
// automatic mode OUT follows the enabled SIMULATE record (value and status),
// otherwise the measured variable the CHANNEL names, scaled from PV_SCALE to
// OUT_SCALE; in manual mode OUT holds what was written to it (a write of OUT
// in any other mode is refused with 0xB5); out of service OUT keeps its value
// with the status BAD - out of service.
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

#include "frame/RecentLog.h"

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
    static DeviceAnswer Of(Kind kind, std::vector<uint8_t> data = {}) {
        DeviceAnswer answer;
        answer.kind = kind;
        answer.data = std::move(data);
        return answer;
    }
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
    static constexpr uint8_t kInvalidRange = 0xB7;
    // WRITE_LOCKING: 0 locks every other write; 2457 is the unlocked factory value.
    static constexpr uint16_t kWriteLocked = 0;
    static constexpr uint16_t kWriteUnlocked = 2457;
    static constexpr uint16_t kFactoryReset = 1;
    static constexpr uint16_t kWarmStart = 2506;
    static constexpr uint16_t kAddressReset = 2712;
    static constexpr uint8_t kDefaultBusAddress = 126;
    static constexpr uint8_t kInitialBusAddress = 12;
    static constexpr int64_t kRestartMs = 3000;
    static constexpr int kZeroPointReads = 2;
    static constexpr uint32_t kConverterZeroPointBit = 0x00000100;
    // DIAGNOSIS, octet 2 of four: "New start-up (warm start) carried out"
    // and "Restart (cold start) carried out".
    static constexpr uint32_t kDiagnosisWarmStart = 0x00080000;
    static constexpr uint32_t kDiagnosisColdStart = 0x00100000;
    static constexpr const char* kServiceCode = "SERVICE42";
    // ACCESS_RIGHTS: bit 1 specialist (the factory state), bit 2 service.
    static constexpr uint8_t kAccessSpecialist = 0x02;
    static constexpr uint8_t kAccessService = 0x04;

    // How the device takes a start of the zero point adjustment.
    enum class ZeroPointMode { Runs, NeverStarts, Refuses, Busy };
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

    // The zero point adjustment: how a start is taken and, when it runs, for
    // how many reads ZERO_POINT_ADJUST reads 1.
    void SetZeroPoint(ZeroPointMode mode, int readsRunning = kZeroPointReads);
    bool ZeroPointRunning() const { return zeroReadsLeft_ > 0; }
    // The bus address the device answers at.
    uint8_t BusAddress() const { return busAddress_; }
    // True while the device restarts (and answers nothing).
    bool Restarting() const;

    // The last transactions with their answers, in order (RecentLog::kDefaultCapacity
    // unless KeepLast says otherwise).
    struct LogEntry {
        DeviceRequest request;
        DeviceAnswer answer;
    };
    const RecentLog<LogEntry>& Log() const { return log_; }
    void KeepLast(size_t transactions) { log_.Keep(transactions); }

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
    // The address of SERVICE_PASSWORD: what is written there is a secret.
    std::pair<uint8_t, uint8_t> ServiceCodeAddress() const { return commands_.servicePassword; }
    // Every parameter's address, in ascending order.
    std::vector<std::pair<uint8_t, uint8_t>> Addresses() const;
    // Sets the element at `path` in memory to `value`, coded as a write of a
    // fresh model instance would code it, with the effect a written value has
    // (a new unit converts its limits); False, with the reason in `refusal`,
    // when the path is no device parameter's element or the value does not
    // fit or code.
    bool SetValue(const std::string& path, const std::string& value, std::string* refusal = nullptr);

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
    // ---- Commands (DeviceCommands.cpp) ----
    // The DP-V1 error with which a command refuses a write; 0 when it takes it.
    uint8_t CommandRefusal(const Address& address, const std::vector<uint8_t>& data) const;
    // What a taken command does; False when the address holds no command.
    bool RunCommand(const Address& address);
    // A command parameter's bytes about to be read; False when it is none.
    bool RefreshCommand(const Address& address, Parameter& parameter);
    void SetConverterBits(uint32_t bits, bool on);
    // A restart of the device or its converter ends a running adjustment.
    void EndZeroPoint();
    void StoreUnsigned(const Address& address, uint64_t value);
    uint64_t StoredUnsigned(const Address& address) const;
    // The element paths of the device's parameters, with their addresses.
    using Paths = std::map<std::string, Address>;
    static Address AddressOf(const Paths& paths, const std::string& path);
    float StoredFloat(const Address& address) const;
    static DeviceAnswer Refusal(uint8_t errorCode1);
    bool SlotKnown(uint8_t slot) const;

    Model model_;
    std::map<Address, Parameter> memory_;
    Address writeLocking_{0, 0};
    struct LiveVariable {
        Address record, units, lo, hi;
    };
    std::array<LiveVariable, 8> live_{};
    Address operationHour_{0, 0}, resets_{0, 0}, systemState_{0, 0};
    // The AI function blocks' mode, simulation and output (SimulatedDeviceAIBlocks.cpp).
    struct AIBlock {
        Address out, simulate, modeBlk, targetMode, channel, pvScale, outScale;
    };
    enum class AIWrite { NotAI, Accept, Refuse };
    std::vector<AIBlock> aiBlocks_;
    void FindAIBlocks(const Paths& paths);
    AIWrite CheckAIWrite(const Address& address, const std::vector<uint8_t>& data, uint8_t& errorCode1) const;
    void AfterAIWrite(const Address& address);
    bool RefreshAIOutput(const Address& address, Parameter& out);
    uint8_t ActualMode(const AIBlock& block) const;
    std::array<Address, 3> clearedByAcknowledge_{};  // DIAGNOSIS, its extension, the converter status
    struct CommandAddresses {
        Address zeroPoint, factoryReset, servicePassword, accessRights, converterStatus, diagnosis;
        std::vector<Address> totals;  // the totalisers' TOTAL records
    } commands_;
    std::map<Address, std::vector<uint8_t>> factoryBytes_;  // the writable parameters' factory bytes
    ZeroPointMode zeroMode_ = ZeroPointMode::Runs;
    int zeroReadsRunning_ = kZeroPointReads;
    int zeroReadsLeft_ = 0;
    uint8_t busAddress_ = kInitialBusAddress;
    int64_t restartEndsMs_ = -1;
    int64_t switchedOnMs_ = 0;
    std::deque<Fault> faults_;
    std::vector<AddressFault> addressFaults_;
    RecentLog<LogEntry> log_;
    int64_t totalBusTimeUs_ = 0;
    int64_t transactionCount_ = 0;
};

}  // namespace dtm::frame
