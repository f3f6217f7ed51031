// Coding of PROFIBUS requests and decoding of answers into the elements.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "ModelTestSupport.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/Transaction.h"

namespace dtm {
namespace {

using platform::P;
using platform::Variant;
using platform::com::ComError;
using platform::com::Identical;
using platform::rt::Transaction;
using Bytes = std::vector<uint8_t>;

constexpr int32_t kResponseBits = 0x00F00000;
constexpr int32_t kDecodingError = 0x500000;

// A model that records the change notices instead of dispatching them.
class RecordingModel : public testing::ModelWithUnits {
public:
    void DataChanged(const El& pda, const Ctx&) override { notified.push_back(pda); }
    int32_t BusyRetries() const { return m_BusyRetries; }
    std::vector<El> notified;
};

class TransactionCoding : public ::testing::Test {
protected:
    TransactionCoding() { ctx->Parameters()->DataModel(model); }

    P<clsDataElement> Add(const std::string& name, int32_t type, int32_t length, int16_t position,
                          int16_t slot = 1, int16_t index = 20) {
        auto el = AddParam(*ctx->Parameters(), name, Variant(), type, length);
        el->Slot = slot;
        el->index = index;
        el->DataPosition = position;
        el->ElementMode = 0x3;
        return el;
    }

    // Codes a write of `el` and returns the data bytes.
    Bytes Write(const P<clsDataElement>& el) {
        auto trans = std::make_shared<Transaction>();
        EXPECT_TRUE(model->BuildTransactionRequest(ctx, trans, true, el));
        return trans->TransData().ToBytes();
    }

    // Decodes an answer for `el`: data bytes (or Empty) and the DP-V1 error code (0: none).
    bool Answer(const P<clsDataElement>& el, const Variant& data, int errorCode = 0, bool download = false) {
        auto trans = std::make_shared<Transaction>();
        trans->TransSlot(Variant::Byte(static_cast<uint8_t>(el->Slot)));
        trans->TransIndex(Variant::Byte(static_cast<uint8_t>(el->index)));
        trans->TransData(data);
        if (errorCode != 0) trans->ErrorInfo(Variant::ByteArray({0x80, static_cast<uint8_t>(errorCode), 0}));
        return model->ReadTransactionResponse(ctx, trans, download, el);
    }
    bool Answer(const P<clsDataElement>& el, const Bytes& data) { return Answer(el, Variant::ByteArray(data)); }

    P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    P<RecordingModel> model = std::make_shared<RecordingModel>();
};

// ---- every value type: encode, decode, and a truncated answer ----

struct TypeCase {
    const char* name;
    int32_t type;
    int32_t length;
    Variant value;
    Bytes wire;
    bool packed = false;
    bool rawByteOrder = false;
};

class TransactionTypeRoundTrip : public TransactionCoding, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(TransactionTypeRoundTrip, EncodesDecodesAndRefusesAShortAnswer) {
    const TypeCase& c = GetParam();
    auto el = Add("PHYS/VALUE", c.type, c.length, 0);
    el->bPackedCoding = c.packed;
    el->RawByteOrder = c.rawByteOrder;
    el->TransientValue = c.value;

    const Bytes wire = Write(el);
    EXPECT_EQ(wire, c.wire);

    el->TransientValue = Variant();
    el->PersistentValue = Variant::Lng(1);
    el->StatusFlags(0x8);
    ASSERT_TRUE(Answer(el, wire));
    EXPECT_TRUE(Identical(el->DeviceValue, c.value)) << platform::com::TypeName(el->DeviceValue);
    EXPECT_TRUE(Identical(el->TransientValue, c.value));
    EXPECT_TRUE(el->PersistentValue.IsEmpty());
    EXPECT_EQ(el->StatusFlags(), 0);

    // One byte short: the element is marked, its device value stays.
    auto shortEl = Add("PHYS/SHORT", c.type, c.length, 0);
    shortEl->bPackedCoding = c.packed;
    shortEl->RawByteOrder = c.rawByteOrder;
    ASSERT_TRUE(Answer(shortEl, Bytes(wire.begin(), wire.end() - 1)));
    EXPECT_EQ(shortEl->StatusFlags() & kResponseBits, kDecodingError);
    EXPECT_TRUE(shortEl->DeviceValue.IsEmpty());
}

const TypeCase kTypeCases[] = {
    {"OctetRaw", 1, 3, Variant::ByteArray({1, 2, 3}), {1, 2, 3}, false, true},
    {"OctetReversed", 1, 3, Variant::ByteArray({1, 2, 3}), {3, 2, 1}},
    {"Unsigned8", 2, 1, Variant::Byte(200), {200}},
    {"Unsigned16", 3, 2, Variant::Lng(65535), {0xFF, 0xFF}},
    {"Unsigned16LittleEndian", 3, 2, Variant::Lng(0x1234), {0x34, 0x12}, false, true},
    {"Unsigned24", 4, 3, Variant::Lng(0xABCDEF), {0xAB, 0xCD, 0xEF}},
    {"Integer16", 5, 2, Variant::Int(-2), {0xFF, 0xFE}},
    {"Integer24", 6, 3, Variant::Lng(-8388608), {0x80, 0, 0}},
    {"Integer32", 7, 4, Variant::Lng(-2), {0xFF, 0xFF, 0xFF, 0xFE}},
    {"Float", 8, 4, Variant::Sng(12.5f), {0x41, 0x48, 0, 0}},
    {"BooleanByte", 10, 1, Variant::Byte(1), {1}},
    {"Date", 11, 8, Variant::Date(platform::com::DateSerial(2003, 1, 21) + 0.5), {0x00, 0x00, 0, 12, 21 | 2 << 5, 1, 3, 0}},
    {"NoTimeStamp", 11, 8, Variant::Date(0), Bytes(8, 0)},
    {"VisibleString", 14, 4, Variant("ab"), {'a', 'b', ' ', ' '}},
    {"PackedString", 14, 16, Variant("TAG"), {0x50, 0x11, 0xE0, 0x82, 0x08, 0x20, 0x82, 0x08, 0x20, 0x82, 0x08, 0x20}, true},
    {"Unsigned32", 16, 4, Variant::Dbl(4294967295.0), {0xFF, 0xFF, 0xFF, 0xFF}},
};

INSTANTIATE_TEST_SUITE_P(ValueTypes, TransactionTypeRoundTrip, ::testing::ValuesIn(kTypeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransactionCoding, TypesWithoutCodingWriteNothingAndFailToDecode) {
    for (int32_t type : {0, 9, 13, 15, 17}) {
        auto el = Add("PHYS/T" + std::to_string(type), type, 4, 0);
        el->TransientValue = Variant::Lng(1);
        EXPECT_TRUE(Write(el).empty()) << type;
        ASSERT_TRUE(Answer(el, Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
        EXPECT_EQ(el->StatusFlags() & kResponseBits, kDecodingError) << type;
    }
}

TEST_F(TransactionCoding, TimeStampIsReadButNeverWritten) {
    auto el = Add("PHYS/STAMP", 12, 8, 0);
    el->TransientValue = Variant::Date(40000);
    EXPECT_TRUE(Write(el).empty());
    ASSERT_TRUE(Answer(el, Bytes(8, 0)));
    EXPECT_TRUE(Identical(el->DeviceValue, Variant::Date(0)));
}

TEST_F(TransactionCoding, BooleanIsWrittenAsAllOnes) {
    auto el = Add("PHYS/FLAG", 10, 1, 0);
    el->TransientValue = Variant::Bool(true);
    EXPECT_EQ(Write(el), (Bytes{0xFF}));
}

TEST_F(TransactionCoding, PackedStringByteLengthRoundsHalvesToEven) {
    const struct {
        int32_t length;
        size_t bytes;
    } cases[] = {{2, 2}, {5, 4}, {6, 4}, {10, 8}, {16, 12}};
    for (const auto& c : cases) {
        auto el = Add("PHYS/PACKED" + std::to_string(c.length), 14, c.length, 0);
        el->bPackedCoding = true;
        el->TransientValue = Variant("A");
        EXPECT_EQ(Write(el).size(), c.bytes) << c.length;
    }
}

// A string length far beyond any buffer is refused in both directions
// without overflowing the byte-length arithmetic.
TEST_F(TransactionCoding, HugeStringLengthIsRefused) {
    for (bool packed : {true, false}) {
        auto el = Add(std::string("PHYS/HUGE") + (packed ? "P" : "V"), 14, 2147483647, 0);
        el->bPackedCoding = packed;
        el->TransientValue = Variant("a");
        auto trans = std::make_shared<Transaction>();
        EXPECT_EQ(ErrorOf([&] { model->BuildTransactionRequest(ctx, trans, true, el); }), 6) << packed;
        EXPECT_TRUE(trans->TransData().IsEmpty()) << packed;
        ASSERT_TRUE(Answer(el, Bytes{'A', 'B', 'C'}));
        EXPECT_EQ(el->StatusFlags() & kResponseBits, kDecodingError) << packed;
    }
}

TEST_F(TransactionCoding, DeviceStringLosesTrailingBlanksAndNuls) {
    auto el = Add("PHYS/TAG_DESC", 14, 6, 0);
    ASSERT_TRUE(Answer(el, Bytes{'A', 0, 'B', ' ', ' ', ' '}));
    EXPECT_TRUE(Identical(el->DeviceValue, Variant("AB")));
}

TEST_F(TransactionCoding, ValueThatDoesNotFitFailsTheRequest) {
    auto text = Add("PHYS/TAG_DESC", 14, 2, 0);
    text->TransientValue = Variant("abc");
    auto trans = std::make_shared<Transaction>();
    EXPECT_EQ(ErrorOf([&] { model->BuildTransactionRequest(ctx, trans, true, text); }), 5);

    auto number = Add("PHYS/NUMBER", 3, 2, 0);
    number->TransientValue = Variant::Lng(70000);
    EXPECT_EQ(ErrorOf([&] { model->BuildTransactionRequest(ctx, trans, true, number); }), 6);
}

// ---- records and bit fields ----

TEST_F(TransactionCoding, RecordFieldsAreCodedAtTheirOffsetsInOneBuffer) {
    auto header = Add("PHYS/REC/", 0, 0, -1);
    auto f = Add("PHYS/REC/F", 8, 4, 2);  // collection order differs from offset order
    auto u = Add("PHYS/REC/U", 3, 2, 0);
    auto s = Add("PHYS/REC/S", 2, 1, 7);
    f->TransientValue = Variant::Sng(1.0f);
    u->TransientValue = Variant::Lng(0x0102);
    s->TransientValue = Variant::Byte(9);
    EXPECT_EQ(Write(header), (Bytes{0x01, 0x02, 0x3F, 0x80, 0, 0, 0, 9}));
}

TEST_F(TransactionCoding, FieldOfAnotherTransactionIsNotCoded) {
    auto header = Add("PHYS/REC/", 0, 0, -1);
    Add("PHYS/REC/A", 2, 1, 0)->TransientValue = Variant::Byte(1);
    Add("PHYS/REC/B", 2, 1, 1, 1, 21)->TransientValue = Variant::Byte(2);  // other index
    EXPECT_EQ(Write(header), (Bytes{1}));
}

TEST_F(TransactionCoding, BitFieldsShareOneByte) {
    auto header = Add("PHYS/BITS/", 0, 0, -1);
    auto low = Add("PHYS/BITS/Low", 2, 1, 0);
    auto high = Add("PHYS/BITS/High", 2, 1, 0);
    low->AccessMask = 0x0F;
    high->AccessMask = 0xF0;
    low->TransientValue = Variant::Byte(5);
    high->TransientValue = Variant::Byte(3);
    EXPECT_EQ(Write(header), (Bytes{0x35}));

    ASSERT_TRUE(Answer(header, Bytes{0x35}));
    EXPECT_TRUE(Identical(low->DeviceValue, Variant::Byte(5)));
    EXPECT_TRUE(Identical(high->DeviceValue, Variant::Byte(3)));
}

TEST_F(TransactionCoding, BitFieldValueIsShiftedToItsMask) {
    auto el = Add("PHYS/BIT", 2, 1, 0);
    el->AccessMask = 0x0C;
    el->TransientValue = Variant::Byte(2);
    EXPECT_EQ(Write(el), (Bytes{0x08}));
    ASSERT_TRUE(Answer(el, Bytes{0x3C}));
    EXPECT_TRUE(Identical(el->DeviceValue, Variant::Byte(3)));

    el->TransientValue = Variant::Byte(4);  // its bit falls outside the mask
    EXPECT_EQ(Write(el), (Bytes{0x00}));

    el->AccessMask = 0xC0;  // 4 shifted by six overflows a byte
    auto trans = std::make_shared<Transaction>();
    EXPECT_EQ(ErrorOf([&] { model->BuildTransactionRequest(ctx, trans, true, el); }), 6);

    el->AccessMask = 0;
    ASSERT_TRUE(Answer(el, Bytes{0xFF}));
    EXPECT_TRUE(Identical(el->DeviceValue, Variant::Byte(0)));
}

// ---- floats ----

TEST_F(TransactionCoding, FloatNoValuePatternsLeaveTheDeviceValue) {
    auto el = Add("PHYS/FLOAT", 8, 4, 0);
    for (const Bytes& noValue : {Bytes{0x7F, 0xFF, 0xFF, 0xFF}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}}) {
        el->DeviceValue = Variant::Sng(1.5f);
        ASSERT_TRUE(Answer(el, noValue));
        EXPECT_TRUE(Identical(el->DeviceValue, Variant::Sng(1.5f)));
        EXPECT_EQ(el->StatusFlags() & kResponseBits, 0);
    }
    ASSERT_TRUE(Answer(el, Bytes{0x7F, 0xC0, 0x00, 0x00}));  // any other NaN is a value
    EXPECT_TRUE(std::isnan(platform::com::CSng(el->DeviceValue)));
}

// ---- transfer selection of the answer ----

TEST_F(TransactionCoding, AddressOutsideAByteRefusesTheRequest) {
    auto trans = std::make_shared<Transaction>();
    for (auto [slot, index] : {std::pair{-1, 16}, std::pair{0, 256}, std::pair{256, 0}}) {
        auto el = Add("PHYS/A" + std::to_string(slot) + "_" + std::to_string(index), 2, 1, 0,
                      static_cast<int16_t>(slot), static_cast<int16_t>(index));
        EXPECT_FALSE(model->BuildTransactionRequest(ctx, trans, true, el));
        EXPECT_TRUE(trans->TransSlot().IsEmpty());
    }
    auto el = Add("PHYS/OK", 2, 1, 0, 255, 0);
    EXPECT_TRUE(model->BuildTransactionRequest(ctx, trans, false, el));
    EXPECT_TRUE(Identical(trans->TransSlot(), Variant::Byte(255)));
    EXPECT_TRUE(Identical(trans->TransIndex(), Variant::Byte(0)));
    EXPECT_TRUE(trans->TransData().IsEmpty());  // a read carries no data
}

TEST_F(TransactionCoding, AnswerForAnotherAddressIsRefused) {
    auto el = Add("PHYS/X", 2, 1, 0);
    auto trans = std::make_shared<Transaction>();
    trans->TransSlot(Variant::Byte(1));
    trans->TransIndex(Variant::Byte(21));
    trans->TransData(Variant::ByteArray({1}));
    EXPECT_FALSE(model->ReadTransactionResponse(ctx, trans, false, el));
    EXPECT_TRUE(el->DeviceValue.IsEmpty());
    EXPECT_TRUE(model->notified.empty());
}

TEST_F(TransactionCoding, PendingEditSurvivesAnUploadAndIsClearedByAWriteAnswer) {
    auto el = Add("PHYS/EDIT", 3, 2, 0);
    el->TransientValue = Variant::Lng(7);
    el->SetStatusFlag(0x20);
    ASSERT_TRUE(Answer(el, Bytes{0, 9}));
    EXPECT_TRUE(Identical(el->DeviceValue, Variant::Lng(9)));
    EXPECT_TRUE(Identical(el->TransientValue, Variant::Lng(7)));
    EXPECT_EQ(el->StatusFlags(), 0x20);

    ASSERT_TRUE(Answer(el, Variant(), 0, true));
    EXPECT_EQ(el->StatusFlags(), 0);
    EXPECT_TRUE(Identical(el->DeviceValue, Variant::Lng(9)));  // a write answer decodes nothing
}

TEST_F(TransactionCoding, AnAnswerMarksTheDataSetOnlyWhenItChangesWhatASettingKeeps) {
    // Settings are written to the device (or are commands); readings are only read.
    struct Case {
        const char* name;
        int32_t mode;  // of the element read, the record header for a record
        bool record;
        int32_t flags;
        Variant before;
        int errorCode;
        bool marks;
    };
    const Case cases[] = {
        {"SettingUnchanged", 0x3, false, 0, Variant::Lng(9), 0, false},
        {"SettingUnchangedOtherSubtype", 0x3, false, 0, Variant::Int(9), 0, false},
        {"SettingChanged", 0x3, false, 0, Variant::Lng(7), 0, true},
        {"SettingLosesItsStoredFlag", 0x3, false, 0x8, Variant::Lng(9), 0, true},
        {"PendingEditKeepsItsValue", 0x3, false, 0x20, Variant::Lng(7), 0, false},
        {"SettingRefused", 0x3, false, 0, Variant::Lng(7), 0xB6, false},
        {"CommandChanged", 0x97, false, 0, Variant::Lng(7), 0, true},
        {"ReadingChanged", 0x91, false, 0, Variant::Lng(7), 0, false},
        {"FieldOfASettingChanged", 0x3, true, 0, Variant::Lng(7), 0, true},
        {"FieldOfAReadingChanged", 0x1, true, 0, Variant::Lng(7), 0, false},
    };
    auto& params = *ctx->Parameters();
    int16_t index = 30;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ++index;
        const std::string name = std::string("PHYS/") + c.name;
        auto read = Add(name + (c.record ? "/" : ""), c.record ? 0 : 3, 2, c.record ? -1 : 0, 1, index);
        auto value = c.record ? Add(name + "/Value", 3, 2, 0, 1, index) : read;
        read->ElementMode = c.mode;
        if (c.record) value->ElementMode = 144;
        value->TransientValue = c.before;
        value->StatusFlags(c.flags);
        params.Modified(false);
        params.BeginDeviceAnswer();
        ASSERT_TRUE(Answer(read, c.errorCode ? Variant() : Variant::ByteArray({0, 9}), c.errorCode));
        params.EndDeviceAnswer();
        EXPECT_EQ(params.Modified(), c.marks);
    }
}

// A stored data set (the mark clear): the mark follows whether the answers
// leave the setting apart from the stored value, also when a page put its
// value into the element before the write.
TEST_F(TransactionCoding, TheMarkFollowsWhetherAnswersLeaveASettingApartFromTheStoredValue) {
    struct Step {
        const char* name;
        int32_t held;  // put into the element before the answer
        bool write;    // the answer of a write of `held`, else a read of `device`
        uint8_t device;
        int errorCode;
        bool marked;
    };
    const Step steps[] = {
        {"read as stored", 9, false, 9, 0, false},
        {"read apart", 9, false, 7, 0, true},
        {"read back as stored", 7, false, 9, 0, false},
        {"page writes another value", 7, true, 0, 0, true},
        {"its read-back", 7, false, 7, 0, true},
        {"page writes the stored value", 9, true, 0, 0, false},
        {"page's write refused", 7, true, 0, 0xB6, false},
        {"a command that ends as stored", 1, false, 1, 0, true},
        {"and reads the stored value", 1, false, 9, 0, false},
    };
    auto& params = *ctx->Parameters();
    auto el = Add("PHYS/SETTING", 3, 2, 0);
    el->PersistentValue = Variant::Lng(9);
    params.Modified(false);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        el->TransientValue = Variant::Lng(step.held);
        params.BeginDeviceAnswer();
        ASSERT_TRUE(Answer(el, step.write ? Variant() : Variant::ByteArray({0, step.device}), step.errorCode,
                           step.write));
        params.EndDeviceAnswer();
        EXPECT_EQ(params.Modified(), step.marked);
    }
    // A save takes the data set as it is for the stored project.
    el->PersistentValue = el->TransientValue = Variant::Lng(7);
    params.Modified(false);
    params.BeginDeviceAnswer();
    ASSERT_TRUE(Answer(el, Variant::ByteArray({0, 7})));
    params.EndDeviceAnswer();
    EXPECT_FALSE(params.Modified());
}

// A page puts its command into the element before it writes it; a read that
// comes first (a status cycle) leaves the command in place and must not judge
// it against the stored project, or a write the device then refuses, taken
// back by the page, would leave the data set marked.
TEST_F(TransactionCoding, AReadThatLeavesAPendingEditInPlaceDoesNotMarkTheDataSet) {
    constexpr int32_t kPendingEdit = 0x20;
    auto& params = *ctx->Parameters();
    auto el = Add("PHYS/SETTING", 3, 2, 0);
    el->PersistentValue = el->TransientValue = Variant::Lng(9);
    params.Modified(false);
    const auto answer = [&](const Variant& data, int errorCode, bool write) {
        params.BeginDeviceAnswer();
        EXPECT_TRUE(Answer(el, data, errorCode, write));
        params.EndDeviceAnswer();
    };

    el->TransientValue = Variant::Lng(2506);
    el->StatusFlags(el->StatusFlags() | kPendingEdit);
    answer(Variant::ByteArray({0, 9}), 0, false);
    EXPECT_TRUE(Identical(el->TransientValue, Variant::Lng(2506)));
    EXPECT_FALSE(params.Modified());

    answer(Variant(), 0xB6, true);
    el->TransientValue = Variant::Lng(9);
    el->StatusFlags(el->StatusFlags() & ~kPendingEdit);
    EXPECT_FALSE(params.Modified());
    answer(Variant::ByteArray({0, 9}), 0, false);
    EXPECT_FALSE(params.Modified());
}

// The read that meets the pending command empties the stored value; the
// write's answer is judged against what the project held before that read,
// not against the command itself.
TEST_F(TransactionCoding, ACommandWrittenAfterAReadMetItIsJudgedAgainstTheStoredProject) {
    constexpr int32_t kPendingEdit = 0x20;
    struct Case {
        const char* name;
        int32_t command;
        bool marked;
    } cases[] = {{"another value", 0, true}, {"the stored value", 9, false}};
    auto& params = *ctx->Parameters();
    int16_t index = 40;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto el = Add(std::string("PHYS/") + c.name, 3, 2, 0, 1, ++index);
        el->PersistentValue = el->TransientValue = Variant::Lng(9);
        params.Modified(false);
        el->TransientValue = Variant::Lng(c.command);
        el->StatusFlags(el->StatusFlags() | kPendingEdit);
        params.BeginDeviceAnswer();
        ASSERT_TRUE(Answer(el, Variant::ByteArray({0, 9})));
        EXPECT_FALSE(params.Modified());
        ASSERT_TRUE(Answer(el, Variant(), 0, true));
        params.EndDeviceAnswer();
        EXPECT_TRUE(Identical(el->TransientValue, Variant::Lng(c.command)));
        EXPECT_EQ(params.Modified(), c.marked);
    }
}

TEST_F(TransactionCoding, AnswerWithoutByteArrayFailsEveryField) {
    auto header = Add("PHYS/REC/", 0, 0, -1);
    auto a = Add("PHYS/REC/A", 2, 1, 0);
    auto b = Add("PHYS/REC/B", 3, 2, 1);
    ASSERT_TRUE(Answer(header, Variant("0102")));
    EXPECT_EQ(a->StatusFlags() & kResponseBits, kDecodingError);
    EXPECT_EQ(b->StatusFlags() & kResponseBits, kDecodingError);
}

TEST_F(TransactionCoding, ShortRecordAnswerMarksOnlyTheFieldsItMisses) {
    auto header = Add("PHYS/REC/", 0, 0, -1);
    auto a = Add("PHYS/REC/A", 2, 1, 0);
    auto b = Add("PHYS/REC/B", 8, 4, 1);
    ASSERT_TRUE(Answer(header, Bytes{7, 0x3F, 0x80}));
    EXPECT_TRUE(Identical(a->DeviceValue, Variant::Byte(7)));
    EXPECT_EQ(a->StatusFlags(), 0);
    EXPECT_EQ(b->StatusFlags() & kResponseBits, kDecodingError);
    EXPECT_TRUE(b->DeviceValue.IsEmpty());
    EXPECT_EQ(model->notified.size(), 2u);
}

// ---- the answer's error code ----

struct ErrorCase {
    int code;
    int32_t bits;
};

TEST_F(TransactionCoding, ErrorCodesGiveTheirStatusBitsAndCommandText) {
    const ErrorCase cases[] = {
        {0xA0, 0x900000}, {0xA1, 0x900000}, {0xA2, 0x900000}, {0xA8, 0x900000}, {0xA9, 0x900000},
        {0xB0, 0x800000}, {0xB2, 0x800000}, {0xB1, 0x500000}, {0xB3, 0x500000}, {0xB4, 0x400000},
        {0xB7, 0x400000}, {0xB8, 0x400000}, {0xB9, 0x400000}, {0xB5, 0x600000}, {0xC0, 0x600000},
        {0xC1, 0x600000}, {0xB6, 0x300000}, {0xC3, 0xA00000}, {0x01, 0xF00000}, {0xFF, 0xF00000},
    };
    auto el = Add("PHYS/ERR", 3, 2, 0);
    el->CmdErrList = "182:access denied|160:read error";
    for (const ErrorCase& c : cases) {
        el->StatusFlags(0x8 | 0x20000 | 0xF00000);
        ASSERT_TRUE(Answer(el, Variant(), c.code, true));
        EXPECT_EQ(el->StatusFlags(), 0x20000 | c.bits) << std::hex << c.code;
        const std::string expected = c.code == 0xB6 ? "access denied" : c.code == 0xA0 ? "read error" : "";
        EXPECT_EQ(el->CmdErr, expected) << std::hex << c.code;
    }
    ASSERT_TRUE(Answer(el, Variant(), 0, true));
    EXPECT_EQ(el->StatusFlags(), 0x20000);
    EXPECT_EQ(el->CmdErr, "");
}

TEST_F(TransactionCoding, CommandTextFallsBackToTheTagsList) {
    auto tag = AddParam(*ctx->Parameters(), "~/Tag", Variant(""), 14, -1);
    tag->CmdErrList = "182:denied by tag list";
    auto el = Add("PHYS/ERR", 3, 2, 0);
    ASSERT_TRUE(Answer(el, Variant(), 0xB6, true));
    EXPECT_EQ(el->StatusFlags(), 0x300000);
    EXPECT_EQ(el->CmdErr, "denied by tag list");
}

TEST_F(TransactionCoding, RecordReadGivesEveryFieldTheHeadersError) {
    auto header = Add("PHYS/MODE_BLK/", 0, 0, -1);
    header->CmdErrList = "176:invalid index";
    header->StatusFlags(0x8);
    std::vector<P<clsDataElement>> fields = {Add("PHYS/MODE_BLK/Actual", 2, 1, 0),
                                             Add("PHYS/MODE_BLK/Permitted", 2, 1, 1),
                                             Add("PHYS/MODE_BLK/Normal", 2, 1, 2)};
    for (auto& f : fields) f->StatusFlags(0x8 | 0x400000);

    ASSERT_TRUE(Answer(header, Variant(), 0xB0));
    EXPECT_EQ(header->StatusFlags(), 0x8);
    EXPECT_EQ(header->CmdErr, "invalid index");
    for (auto& f : fields) {
        EXPECT_EQ(f->StatusFlags(), 0x800000) << f->Name;  // no decoding error on top
        EXPECT_EQ(f->CmdErr, "invalid index");
    }
    ASSERT_EQ(model->notified.size(), fields.size());
    EXPECT_EQ(model->notified[0], fields[0]);
}

// ---- busy answers ----

TEST_F(TransactionCoding, SevenBusyAnswersGiveSixRepeatsThenTheAnswerStands) {
    auto el = Add("PHYS/BUSY", 3, 2, 0);
    auto& comm = *ctx->CommService();
    for (int32_t i = 1; i <= 6; ++i) {
        ASSERT_TRUE(Answer(el, Variant(), 0xC2));
        EXPECT_EQ(model->BusyRetries(), i);
        EXPECT_TRUE(comm.TakeRepeatRequest()) << i;
    }
    ASSERT_TRUE(Answer(el, Variant(), 0xC2));
    EXPECT_EQ(model->BusyRetries(), 0);
    EXPECT_FALSE(comm.TakeRepeatRequest());
    EXPECT_EQ(el->StatusFlags(), 0x200000);
}

TEST_F(TransactionCoding, ASuccessfulWriteOfAnUploadedElementQueuesOneReadBack) {
    auto& comm = *ctx->CommService();
    auto uploaded = Add("PHYS/UPLOADED", 3, 2, 0);
    ASSERT_TRUE(Answer(uploaded, Variant(), 0, /*download=*/true));
    const auto readBacks = comm.TakeReadBackRequests();
    ASSERT_EQ(readBacks.size(), 1u);
    EXPECT_EQ(readBacks[0], uploaded);
    EXPECT_FALSE(comm.TakeRepeatRequest());

    auto writeOnly = Add("PHYS/WRITE_ONLY", 3, 2, 0);
    writeOnly->ElementMode = 0x2;
    ASSERT_TRUE(Answer(writeOnly, Variant(), 0, /*download=*/true));
    ASSERT_TRUE(Answer(uploaded, Variant(), 0xB6, /*download=*/true));  // refused write
    ASSERT_TRUE(Answer(uploaded, Variant::ByteArray({0, 1})));            // a plain read
    EXPECT_TRUE(comm.TakeReadBackRequests().empty());
}

TEST_F(TransactionCoding, AnyOtherAnswerEndsARunOfBusyAnswers) {
    auto el = Add("PHYS/BUSY", 3, 2, 0);
    for (int code : {0xB6, 0xB5, 0xC3, 0x42, 0}) {
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(Answer(el, Variant(), 0xC2));
        ASSERT_TRUE(Answer(el, Variant::ByteArray({0, 1}), code));
        EXPECT_EQ(model->BusyRetries(), 0) << std::hex << code;
    }
}

}  // namespace
}  // namespace dtm
