#pragma once
// One PROFIBUS DP-V1 request and its answer, as the data model builds and
// decodes it: slot, index, data bytes and the DP-V1 error bytes.
#include "platform/com/Variant.h"

namespace platform::rt {

class Transaction : public com::Object {
public:
    // Set as Byte by the model.
    Variant TransSlot() const { return transSlot_; }
    void TransSlot(const Variant& value) { transSlot_ = value; }
    Variant TransIndex() const { return transIndex_; }
    void TransIndex(const Variant& value) { transIndex_ = value; }
    // Byte array (lower bound 0): the write data, or the answer's data; Empty
    // on an error answer.
    Variant TransData() const { return transData_; }
    void TransData(const Variant& value) { transData_ = value; }
    // Empty without a DP-V1 error, else the Byte array
    // [Error_Decode, Error_Code_1, Error_Code_2].
    Variant ErrorInfo() const { return errorInfo_; }
    void ErrorInfo(const Variant& value) { errorInfo_ = value; }

private:
    Variant transSlot_;
    Variant transIndex_;
    Variant transData_;
    Variant errorInfo_;
};

}  // namespace platform::rt
