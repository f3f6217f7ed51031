// clsDataModel: coding and decoding of PROFIBUS read and write transactions.
//
// A single element, or every field of a record, is coded at its DataPosition
// into one TransactionData buffer; an answer is decoded the same way into the
// elements' device values, and its DP-V1 error code becomes the elements'
// response error bits and command error text.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/services/ConvStr.h"
#include "core/services/ProjectHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/com/FastCast.h"
#include "platform/com/Error.h"
#include "platform/com/Variant.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransactionData.h"

namespace dtm {

using platform::P;
using platform::Variant;
using platform::com::Raise;
using platform::rt::TransactionData;
using platform::rt::Transaction;

namespace {

constexpr int32_t kFlagStored = 0x8;
constexpr int32_t kFlagPendingEdit = 0x20;
constexpr int32_t kResponseErrorMask = 0x00F00000;
constexpr int32_t kErrDecoding = 0x500000;
constexpr int32_t kCodeResourceBusy = 0xC2;
constexpr int32_t kMaxBusyRetries = 6;

// The answer's DP-V1 error code as the response error bits.
int32_t ResponseErrorBits(int32_t code) {
    switch (code) {
        case 0x00: return 0;
        case 0xA0: case 0xA1: case 0xA2: case 0xA8: case 0xA9: return 0x900000;
        case 0xB0: case 0xB2: return 0x800000;
        case 0xB1: case 0xB3: return 0x500000;
        case 0xB4: case 0xB7: case 0xB8: case 0xB9: return 0x400000;
        case 0xB5: case 0xC0: case 0xC1: return 0x600000;
        case 0xB6: return 0x300000;
        case 0xC2: return 0x200000;
        case 0xC3: return 0xA00000;
        default: return 0xF00000;
    }
}

P<clsDataElement> AsDataElement(const platform::rt::El& el) {
    auto element = platform::com::FastPointerCast<clsDataElement>(el);
    if (!element) Raise(platform::com::errObjectNotSet);
    return element;
}

Transaction& AsTransaction(const P<platform::com::Object>& commObj) {
    auto* trans = platform::com::FastCast<Transaction>(commObj.get());
    if (!trans) Raise(platform::com::errObjectNotSet);
    return *trans;
}

bool IsRecordHeader(const clsDataElement& el) {
    return !el.Name.empty() && el.Name.back() == '/';
}

// Calls `visit` with the element itself, or with every field of the record it
// heads (the members as they were when the visit began).
template <class Visit>
void ForEachTarget(const P<clsDataElement>& el, platform::rt::Parameters& params, Visit visit) {
    if (!IsRecordHeader(*el)) {
        visit(el);
        return;
    }
    const auto members = params.Members(el->Name);
    for (const auto& child : *members)
        if (auto field = platform::com::FastPointerCast<clsDataElement>(child)) visit(field);
}

// The slot and index of a transaction, read once per call.
struct TransAddress {
    explicit TransAddress(const Transaction& trans)
        : slot(platform::com::CLng(trans.TransSlot())), index(platform::com::CLng(trans.TransIndex())) {}
    bool Addresses(const clsDataElement& el) const { return el.Slot == slot && el.index == index; }
    int32_t slot;
    int32_t index;
};

// The octet string in reverse order, keeping the array's bounds; a value that
// is not a Byte array gives Empty.
Variant ReverseOctets(const Variant& value) {
    if (!value.IsByteArray()) return Variant();
    std::vector<uint8_t> bytes = value.ToBytes();
    std::reverse(bytes.begin(), bytes.end());
    return Variant::ByteArray(bytes, value.LBound());
}

// Byte length and coding argument of a visible string.
int32_t StringByteLength(const clsDataElement& el) {
    if (!el.bPackedCoding) return el.ValueTypeLength;
    // In double, exact for every length and free of integer overflow; halves to even.
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(el.ValueTypeLength) * 3 / 4));
}
int32_t StringCoding(const clsDataElement& el) {
    return el.bPackedCoding ? TransactionData::kPackedCoding : TransactionData::kVisibleCoding;
}

// A bit field: the value is shifted to the mask's lowest bit and merged into
// the byte that earlier fields of the record may already have written.
void EncodeBitField(TransactionData& buf, const Variant& value, uint8_t mask) {
    uint8_t b = platform::com::CByte(value);
    if (mask == 0xFF) {
        buf.WriteByte(b);
        return;
    }
    for (uint8_t m = mask; m != 0 && (m & 1) == 0; m >>= 1) {
        if (b > 0x7F) Raise(platform::com::errOverflow);
        b = static_cast<uint8_t>(b * 2);
    }
    const int32_t at = buf.Position();
    if (at >= buf.Length()) {
        buf.WriteByte(static_cast<uint8_t>(b & mask));
    } else {
        const uint8_t old = buf.ReadByte();
        buf.Position(at);
        buf.WriteByte(static_cast<uint8_t>((old & ~mask) | (b & mask)));
    }
}

uint8_t DecodeBitField(uint8_t byte, uint8_t mask) {
    if (mask == 0xFF) return byte;
    if (mask == 0) return 0;
    uint8_t v = byte & mask;
    for (uint8_t m = mask; (m & 1) == 0; m >>= 1) v >>= 1;
    return v;
}

void EncodeElementValue(const TransAddress& address, TransactionData& buf, const clsDataElement& el,
                        bool bDownLoad) {
    using namespace platform::com;
    if (!bDownLoad || !address.Addresses(el) || el.DataPosition < 0) return;
    buf.Position(el.DataPosition);
    const Variant& v = el.TransientValue;
    bool order = el.RawByteOrder;
    switch (el.ValueType) {
        case 1: buf.WriteBytes(order ? v : ReverseOctets(v), el.ValueTypeLength); break;
        case 2: EncodeBitField(buf, v, el.AccessMask); break;
        case 3: buf.WriteUnsigned16(CLng(v), order); break;
        case 4: buf.WriteUnsigned24(CLng(v), order); break;
        case 5: buf.WriteInteger16(CInt(v), order); break;
        case 6: buf.WriteInteger24(CLng(v)); break;
        case 7: buf.WriteInteger32(CLng(v), order); break;
        case 8: buf.WriteFloat(CSng(v)); break;
        case 10: buf.WriteByte(v); break;
        case 11: buf.WriteDate(CDate(v).DateSerial(), TransactionData::kDateFormatProfibus); break;
        case 14: buf.WriteString(CStr(v), StringByteLength(el), StringCoding(el)); break;
        case 16: buf.WriteUnsigned32(CDbl(v), order); break;
        default: break;  // 12 is never written; the others have no coding
    }
}

void BuildElementRequest(Transaction& trans, const P<clsDataElement>& el, platform::rt::Parameters& params,
                         bool bDownLoad) {
    TransactionData buf;
    const TransAddress address(trans);
    ForEachTarget(el, params,
                  [&](const P<clsDataElement>& target) { EncodeElementValue(address, buf, *target, bDownLoad); });
    trans.TransData(buf.Bytes());
}

// A visible string from the device without its trailing blanks and its NULs.
std::string CleanDeviceString(std::string s) {
    s = platform::com::vb::RTrim(s);
    std::erase(s, '\0');
    return s;
}

bool IsFloatNoValue(const TransactionData& buf) {
    const auto& raw = buf.Raw();
    const auto at = static_cast<size_t>(buf.Position());
    if (raw.size() < at + 4) return false;  // the read itself reports the short answer
    const bool lowOnes = raw[at + 1] == 0xFF && raw[at + 2] == 0xFF && raw[at + 3] == 0xFF;
    return lowOnes && (raw[at] == 0x7F || raw[at] == 0xFF);
}

// Whether a value read replaces the one the element holds: never while a
// page's write of it waits in the queue (the element holds what goes out, and
// the write's answer is judged by it); not while an edit waits to be written,
// unless the online service runs in operation mode 1.
bool TakesOverReadValue(const platform::rt::DTMContext& ctx, const clsDataElement& el) {
    const auto& online = ctx.OnlineService();
    if (online && online->WriteWaits(el)) return false;
    if ((el.StatusFlags() & kFlagPendingEdit) == 0) return true;
    return online && online->OperationMode() == 1;
}

// Reads the element's value at its DataPosition into DeviceValue. False when
// the type has no coding or the answer cannot be read.
bool DecodeElementValue(const platform::rt::DTMContext& ctx, const TransAddress& address,
                        TransactionData& buf, clsDataElement& el) {
    try {
        if (!address.Addresses(el) || el.DataPosition < 0) return true;
        buf.Position(el.DataPosition);
        const bool order = el.RawByteOrder;
        switch (el.ValueType) {
            case 1: {
                Variant octets = buf.ReadBytes(el.ValueTypeLength);
                if (order)
                    el.DeviceValue = std::move(octets);
                else
                    el.DeviceValue = ReverseOctets(octets);
                break;
            }
            case 2: el.DeviceValue = Variant::Byte(DecodeBitField(buf.ReadByte(), el.AccessMask)); break;
            case 3: el.DeviceValue = Variant::Lng(buf.ReadUnsigned16(order)); break;
            case 4: el.DeviceValue = Variant::Lng(buf.ReadUnsigned24(order)); break;
            case 5: el.DeviceValue = Variant::Int(buf.ReadInteger16(order)); break;
            case 6: el.DeviceValue = Variant::Lng(buf.ReadInteger24()); break;
            case 7: el.DeviceValue = Variant::Lng(buf.ReadInteger32(order)); break;
            case 8: {
                const bool noValue = IsFloatNoValue(buf);
                const float f = buf.ReadFloat();
                if (!noValue) el.DeviceValue = Variant::Sng(f);
                break;
            }
            case 10: el.DeviceValue = Variant::Byte(buf.ReadByte()); break;
            case 11:
            case 12: el.DeviceValue = Variant::Date(buf.ReadDate(TransactionData::kDateFormatProfibus)); break;
            case 14:
                el.DeviceValue = CleanDeviceString(buf.ReadString(StringByteLength(el), StringCoding(el)));
                break;
            case 16: el.DeviceValue = Variant::Dbl(buf.ReadUnsigned32(order)); break;
            default: return false;
        }
    } catch (const platform::com::ComError&) {
        return false;
    }

    if (!el.PersistentValue.IsEmpty()) el.PersistentValue = Variant();
    if (TakesOverReadValue(ctx, el)) el.TransientValue = el.DeviceValue;
    return true;
}

struct CommandResponse {
    int32_t errorBits = 0;
    bool repeat = false;
    bool commandSuccess = false;
};

// Element 1 of the answer's error bytes; no error bytes, or an unreadable
// element, count as no error.
int32_t ErrorCodeOf(const Transaction& trans) {
    const Variant& info = trans.ErrorInfo();
    if (!info.IsArray() || info.LBound() > 1 || info.UBound() < 1) return 0;
    try {
        return platform::com::CLng(info.At(1));
    } catch (const platform::com::ComError&) {
        return 0;
    }
}

// Evaluates the answer's error code: the response error bits, the repeat of a
// busy answer, the command error text and whether a write succeeded.
CommandResponse HandleCommandResponse(platform::rt::Parameters& params, const Transaction& trans,
                                      bool bDownLoad, clsDataElement& el, int32_t& busyRetries) {
    CommandResponse r;
    const int32_t code = ErrorCodeOf(trans);
    r.errorBits = ResponseErrorBits(code);

    if (code == kCodeResourceBusy) {
        if (busyRetries < kMaxBusyRetries) {
            ++busyRetries;
            r.repeat = true;
        } else {
            busyRetries = 0;
        }
    } else {
        busyRetries = 0;  // any other answer ends a run of busy answers
    }

    if (r.errorBits != 0) {
        el.CmdErr = el.GetStrCommandErrorFromIndex(code);
        if (el.CmdErr.empty()) {
            if (auto tag = std::dynamic_pointer_cast<clsDataElement>(params.Find("~/Tag")))
                el.CmdErr = tag->GetStrCommandErrorFromIndex(code);
        }
    } else {
        el.CmdErr = SharedText();
    }

    if ((el.ElementMode & clsDataElement::kModeUpload) && bDownLoad) {
        // No error bytes, or at most three that are all zero.
        const std::string hex = BytesToHex(trans.ErrorInfo());
        r.commandSuccess = hex.size() <= 6 && hex.find_first_not_of('0') == std::string::npos;
    }
    return r;
}

// Reports a target's answer. A device value that the change handlers cannot
// take (a unit code outside the table, say) is outside input, not a program
// error: the field gets the decoding error bits, unless the answer carried an
// error code, and only the pages hear of it.
void ReportAnswer(platform::rt::Parameters& params, const P<clsDataElement>& target, bool bDownLoad,
                  int32_t errorBits) {
    if (bDownLoad) {
        params.NotifyChange(target, "");
        return;
    }
    try {
        params.NotifyChange(target, "");
    } catch (const platform::com::ComError&) {
        if (errorBits == 0) target->StatusFlags(target->StatusFlags() | kErrDecoding);
        params.NotifyChanged(target, "");
    }
}

// A parameter that the DTM only reads: a value the device produces (a
// measured value, a status, a counter, the diagnosis, the identification),
// of which the data set keeps the last reading. Its answers, and what the
// change handlers derive from them, never mark the data set as modified.
bool IsReading(const clsDataElement& el) {
    constexpr int32_t kWritten = clsDataElement::kModeDownload | clsDataElement::kModeCommand;
    return (el.ElementMode & clsDataElement::kModeUpload) && !(el.ElementMode & kWritten);
}

CommandResponse ReadElementResponse(const platform::rt::DTMContext& ctx, platform::rt::Parameters& params,
                                    const Transaction& trans, const TransAddress& address, bool bDownLoad,
                                    const P<clsDataElement>& el, int32_t& busyRetries) {
    const CommandResponse r = HandleCommandResponse(params, trans, bDownLoad, *el, busyRetries);

    TransactionData buf;
    if (!bDownLoad) {
        try {
            buf.Bytes(trans.TransData());
        } catch (const platform::com::ComError&) {
            // Data that are not a Byte array read as no data: every field fails.
        }
    }

    // The collection leaves the mark to this judgement while it hands over a
    // device answer. An answer that clears the stored flag of a setting marks
    // the data set; a setting's value marks it while an answer leaves it
    // other than the stored project's, whatever a page put into the element
    // before it wrote. An answer that carried an error changed nothing the
    // data set keeps. A secret is never kept, whatever the device answers.
    const bool kept = !IsReading(*el) && !el->Secret;
    ForEachTarget(el, params, [&](const P<clsDataElement>& target) {
        if (bDownLoad && (target->StatusFlags() & kFlagPendingEdit)) target->ClearStatusFlag(kFlagPendingEdit);
        const Variant projectValue = kept ? params.ProjectValue(*target) : Variant();
        int32_t decodeBits = 0;
        if (!bDownLoad && !DecodeElementValue(ctx, address, buf, *target) && r.errorBits == 0)
            decodeBits = kErrDecoding;
        if (target != el) target->CmdErr = el->CmdErr;
        const int32_t flags = target->StatusFlags();
        if (kept && (flags & kFlagStored)) params.Modified(true);
        // The element holds what the data set keeps of the setting now: the
        // value written, or the value read unless an edit is pending. A read
        // that left a pending edit in place judges nothing: the element holds
        // the edit, which a write confirms or the page takes back. It records
        // what the project held all the same: it emptied the stored value,
        // and the write's answer is judged against that value.
        if (kept && r.errorBits == 0 && decodeBits == 0 && (bDownLoad || TakesOverReadValue(ctx, *target)))
            params.AnswerJudged(*target, projectValue, !IsSameValue(target->TransientValue, projectValue));
        else if (kept)
            params.AnswerReached(*target, projectValue);
        target->StatusFlags((flags & ~(kResponseErrorMask | kFlagStored)) | r.errorBits | decodeBits);
        ReportAnswer(params, target, bDownLoad, r.errorBits);
    });
    return r;
}

}  // namespace

bool clsDataModel::BuildTransactionRequest(Ctx DTMContext, P<platform::com::Object> CommObj, bool bDownLoad,
                                           El pda) {
    auto el = AsDataElement(pda);
    Transaction& trans = AsTransaction(CommObj);
    if (el->Slot < 0 || el->Slot > 255 || el->index < 0 || el->index > 255) return false;
    trans.TransSlot(Variant::Byte(static_cast<uint8_t>(el->Slot)));
    trans.TransIndex(Variant::Byte(static_cast<uint8_t>(el->index)));
    if (bDownLoad) {
        auto& params = platform::com::Deref(platform::com::Deref(DTMContext).Parameters());
        BuildElementRequest(trans, el, params, bDownLoad);
    }
    return true;
}

bool clsDataModel::ReadTransactionResponse(Ctx DTMContext, P<platform::com::Object> CommObj, bool bDownLoad,
                                           El pda) {
    auto el = AsDataElement(pda);
    const Transaction& trans = AsTransaction(CommObj);
    const TransAddress address(trans);
    if (!address.Addresses(*el)) return false;

    auto& ctx = platform::com::Deref(DTMContext);
    auto& params = platform::com::Deref(ctx.Parameters());
    const CommandResponse r = ReadElementResponse(ctx, params, trans, address, bDownLoad, el, m_BusyRetries);

    auto& comm = platform::com::Deref(ctx.CommService());
    if (r.repeat) {
        comm.RepeatTransaction();
    } else if ((el->ElementMode & clsDataElement::kModeUpload) && bDownLoad && r.commandSuccess) {
        int32_t result = 0;
        comm.AddUploadRequest(pda, 0, true, 0, result);
    }
    return true;
}

}  // namespace dtm
