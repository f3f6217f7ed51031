#pragma once
// The communication object of one DTM instance: its connection settings, the
// identity read from the connected device and the validation event.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class ICommObjEvents;

class CommObj : public com::Object {
public:
    // True: ConnectionIsValidated is raised after each connect.
    bool ValidateConnection() const { return validateConnection_; }
    void ValidateConnection(bool value) { validateConnection_ = value; }
    // Stored only.
    int32_t Mode() const { return mode_; }
    void Mode(int32_t value) { mode_ = value; }

    // DEVICE_MAN_ID and DEVICE_ID of the connected device (Empty / "" when unread).
    Variant ConnectedManufacturerId() const { return connectedManufacturerId_; }
    void ConnectedManufacturerId(const Variant& value) { connectedManufacturerId_ = value; }
    const std::string& ConnectedDeviceName() const { return connectedDeviceName_; }
    void ConnectedDeviceName(const std::string& value) { connectedDeviceName_ = value; }

    // The one sink of ConnectionIsValidated, held weakly.
    void SetEventSink(W<ICommObjEvents> sink) { sink_ = std::move(sink); }
    // Raises ConnectionIsValidated on a live sink; an error of the sink is
    // recorded and counts as no cancel. Answers the sink's cancel.
    bool RaiseConnectionIsValidated();

private:
    bool validateConnection_ = true;
    int32_t mode_ = 0;
    Variant connectedManufacturerId_;
    std::string connectedDeviceName_;
    W<ICommObjEvents> sink_;
};

}  // namespace platform::rt
