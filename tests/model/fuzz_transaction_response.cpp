// Fuzz target: device answers of any length, bytes and error code, decoded
// into elements of every value type and into a record.
//
// Input layout: [0] options (bit 0 answer to a write, bit 1 carries an error
// code, bit 2 RawByteOrder, bit 3 packed strings), [1] DP-V1 error code,
// [2] which element answers (one per value type, or the record), [3] the
// bit-field mask, [4] the element's data length (255: open), then the data.
//
// Checked for every input: the call neither throws nor crashes, only the
// response bits and the pending-edit bit of a field change, and a field whose
// decoding failed keeps its device value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"

namespace {

using platform::P;
using platform::Variant;

// A model that takes change notices without dispatching them.
class FuzzModel : public dtm::clsDataModel {
public:
    void DataChanged(const El&, const Ctx&) override {}
};

constexpr int32_t kValueTypes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
constexpr size_t kTargetCount = std::size(kValueTypes) + 1;  // the last one is the record
constexpr int16_t kSlot = 3;
constexpr int16_t kIndex = 40;

[[noreturn]] void Fail() { std::abort(); }

P<dtm::clsDataElement> AddElement(platform::rt::Parameters& params, const std::string& name, int32_t type,
                                  int32_t length, int16_t position, uint8_t options, uint8_t mask) {
    auto el = dtm::AddParam(params, name, Variant(), type, length);
    el->Slot = kSlot;
    el->index = kIndex;
    el->DataPosition = position;
    el->ElementMode = 0x2;  // written, never read back: no runtime process needed
    el->RawByteOrder = (options & 0x4) != 0;
    el->bPackedCoding = (options & 0x8) != 0;
    el->AccessMask = mask;
    el->DeviceValue = Variant::Lng(-7);  // a marker that a failed decoding must keep
    el->StatusFlags(0x20 | 0x8 | 0x10000);
    el->CmdErrList = "176:invalid index|194:busy";
    return el;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const uint8_t options = data[0];
    const uint8_t errorCode = data[1];
    const size_t target = data[2] % kTargetCount;
    const uint8_t mask = data[3];
    const int32_t length = data[4] == 255 ? -1 : data[4] % 64;
    const std::vector<uint8_t> answer(data + 5, data + size);
    const bool download = (options & 0x1) != 0;

    auto ctx = platform::rt::DTMContext::Create();
    auto model = std::make_shared<FuzzModel>();
    auto& params = *ctx->Parameters();
    params.DataModel(model);

    std::vector<P<dtm::clsDataElement>> fields;
    P<dtm::clsDataElement> element;
    if (target < std::size(kValueTypes)) {
        const int32_t type = kValueTypes[target];
        element = AddElement(params, "PHYS/VALUE", type, length, 0, options, mask);
        fields.push_back(element);
    } else {
        // A record of mixed fields, two bit fields sharing a byte, one beyond the answer's usual end.
        element = AddElement(params, "PHYS/REC/", 0, 0, -1, options, 0xFF);
        const struct {
            const char* name;
            int32_t type, length;
            int16_t position;
            uint8_t mask;
        } layout[] = {{"A", 8, 4, 0, 0xFF},  {"B", 2, 1, 4, 0x0F}, {"C", 2, 1, 4, 0xF0},
                      {"D", 3, 2, 5, 0xFF},  {"E", 14, 8, 7, 0xFF}, {"F", 11, 8, 15, 0xFF},
                      {"G", 1, 4, 23, 0xFF}, {"H", 16, 4, 27, 0xFF}, {"I", 6, 3, 200, 0xFF}};
        for (const auto& f : layout)
            fields.push_back(AddElement(params, std::string("PHYS/REC/") + f.name, f.type, f.length, f.position,
                                        options, f.mask));
    }

    auto trans = std::make_shared<platform::rt::Transaction>();
    trans->TransSlot(Variant::Byte(kSlot));
    trans->TransIndex(Variant::Byte(kIndex));
    trans->TransData(Variant::ByteArray(answer));
    if (options & 0x2) trans->ErrorInfo(Variant::ByteArray({0x80, errorCode, 0}));

    const int32_t headerFlags = element->StatusFlags();
    try {
        if (!model->ReadTransactionResponse(ctx, trans, download, element)) Fail();
    } catch (...) {
        Fail();  // no answer may make the decoding raise
    }

    constexpr int32_t kMayChange = 0x00F00000 | 0x20 | 0x8;
    for (const auto& f : fields) {
        const int32_t flags = f->StatusFlags();
        if ((flags & ~kMayChange) != 0x10000) Fail();
        if (flags & 0x8) Fail();
        const bool noErrorCode = !(options & 0x2) || errorCode == 0;
        const bool decodingFailed = noErrorCode && (flags & 0x00F00000) == 0x500000;
        if (decodingFailed && !platform::com::Identical(f->DeviceValue, Variant::Lng(-7))) Fail();
    }
    if (fields.front() != element && element->StatusFlags() != headerFlags) Fail();
    return 0;
}
