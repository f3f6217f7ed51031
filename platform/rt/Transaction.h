#pragma once
// One PROFIBUS DP-V1 request and its answer, as the data model builds and
// decodes it: slot, index, data bytes and the DP-V1 error bytes. The values
// are read in place; a caller that keeps one across a change copies it.
#include <utility>

#include "platform/com/Variant.h"

namespace platform::rt {

class Transaction : public com::Object {
public:
    // Set as Byte by the model.
    const Variant& TransSlot() const { return transSlot_; }
    void TransSlot(Variant value) { transSlot_ = std::move(value); }
    const Variant& TransIndex() const { return transIndex_; }
    void TransIndex(Variant value) { transIndex_ = std::move(value); }
    // Byte array (lower bound 0): the write data, or the answer's data; Empty
    // on an error answer.
    const Variant& TransData() const { return transData_; }
    void TransData(Variant value) { transData_ = std::move(value); }
    // Empty without a DP-V1 error, else the Byte array
    // [Error_Decode, Error_Code_1, Error_Code_2].
    const Variant& ErrorInfo() const { return errorInfo_; }
    void ErrorInfo(Variant value) { errorInfo_ = std::move(value); }

private:
    Variant transSlot_;
    Variant transIndex_;
    Variant transData_;
    Variant errorInfo_;
};

}  // namespace platform::rt
