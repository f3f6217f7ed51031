// Coding and decoding of one ten-field record, and the data-set entries of
// 1,000 elements written to and read from a property bag.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/DataModelHelpers.h"
#include "model/clsDataElement.h"
#include "model/clsDataModel.h"
#include "model/clsPROFIBUSProfil3Units.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"

namespace {

using platform::P;
using platform::Variant;

class BenchModel : public dtm::clsDataModel {
public:
    BenchModel() { m_Units = std::make_shared<dtm::clsPROFIBUSProfil3Units>(); }
    void DataChanged(El, Ctx) override {}
};

struct Fixture {
    Fixture() { ctx->Parameters()->DataModel(model); }
    P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    P<BenchModel> model = std::make_shared<BenchModel>();
};

// A record of ten fields of mixed types, 36 bytes.
P<dtm::clsDataElement> AddRecord(platform::rt::Parameters& params) {
    auto header = dtm::AddParam(params, "TRANS/1/FlowCori/REC/", Variant(), 0, 0);
    header->Slot = 9;
    header->index = 30;
    const struct {
        const char* name;
        int32_t type, length;
        int16_t position;
        uint8_t mask;
        Variant value;
    } fields[] = {
        {"Value", 8, 4, 0, 0xFF, Variant::Sng(12.5f)},
        {"Status", 2, 1, 4, 0xFF, Variant::Byte(0x80)},
        {"Low", 2, 1, 5, 0x0F, Variant::Byte(5)},
        {"High", 2, 1, 5, 0xF0, Variant::Byte(3)},
        {"Unit", 3, 2, 6, 0xFF, Variant::Lng(1324)},
        {"Count", 7, 4, 8, 0xFF, Variant::Lng(-12345)},
        {"Total", 16, 4, 12, 0xFF, Variant::Dbl(4000000000.0)},
        {"Name", 14, 8, 16, 0xFF, Variant("FLOW")},
        {"Stamp", 11, 8, 24, 0xFF, Variant::Date(37642.5)},
        {"Limit", 8, 4, 32, 0xFF, Variant::Sng(-1.0f)},
    };
    for (const auto& f : fields) {
        auto el = dtm::AddParam(params, header->Name + f.name, Variant(), f.type, f.length);
        el->Slot = header->Slot;
        el->index = header->index;
        el->DataPosition = f.position;
        el->AccessMask = f.mask;
        el->TransientValue = f.value;
    }
    return header;
}

void BM_EncodeRecord(benchmark::State& state) {
    Fixture f;
    auto header = AddRecord(*f.ctx->Parameters());
    auto trans = std::make_shared<platform::rt::Transaction>();
    for (auto _ : state) {
        f.model->BuildTransactionRequest(f.ctx, trans, true, header);
        benchmark::DoNotOptimize(trans->TransData());
    }
}
BENCHMARK(BM_EncodeRecord);

void BM_DecodeRecord(benchmark::State& state) {
    Fixture f;
    auto header = AddRecord(*f.ctx->Parameters());
    auto trans = std::make_shared<platform::rt::Transaction>();
    f.model->BuildTransactionRequest(f.ctx, trans, true, header);
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.model->ReadTransactionResponse(f.ctx, trans, false, header));
    }
}
BENCHMARK(BM_DecodeRecord);

// The same record in a collection of the size of a built model.
void BM_DecodeRecordAmong1000(benchmark::State& state) {
    Fixture f;
    for (int i = 0; i < 1000; ++i) dtm::AddParam(*f.ctx->Parameters(), "PHYS/X" + std::to_string(i), Variant(), 3, -1);
    auto header = AddRecord(*f.ctx->Parameters());
    auto trans = std::make_shared<platform::rt::Transaction>();
    f.model->BuildTransactionRequest(f.ctx, trans, true, header);
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.model->ReadTransactionResponse(f.ctx, trans, false, header));
    }
}
BENCHMARK(BM_DecodeRecordAmong1000);

std::vector<P<dtm::clsDataElement>> AddElements(platform::rt::Parameters& params, int count) {
    std::vector<P<dtm::clsDataElement>> elements;
    for (int i = 0; i < count; ++i) {
        const int32_t type = i % 3 == 0 ? 8 : i % 3 == 1 ? 3 : 14;
        auto el = dtm::AddParam(params, "PHYS/P" + std::to_string(i), Variant(), type, type == 14 ? 16 : -1);
        el->TransientValue = type == 8 ? Variant::Sng(i * 0.5f) : type == 3 ? Variant::Lng(i) : Variant("tag");
        el->nTransientUnit = 1324;
        elements.push_back(el);
    }
    return elements;
}

void BM_PropertyBagWrite1000(benchmark::State& state) {
    Fixture f;
    auto elements = AddElements(*f.ctx->Parameters(), 1000);
    for (auto _ : state) {
        platform::com::PropertyBag bag;
        for (auto& el : elements) el->WriteToPropBag(bag, f.ctx);
        benchmark::DoNotOptimize(bag);
    }
}
BENCHMARK(BM_PropertyBagWrite1000)->Unit(benchmark::kMicrosecond);

void BM_PropertyBagRead1000(benchmark::State& state) {
    Fixture f;
    auto elements = AddElements(*f.ctx->Parameters(), 1000);
    platform::com::PropertyBag bag;
    for (auto& el : elements) el->WriteToPropBag(bag, f.ctx);
    for (auto _ : state) {
        for (auto& el : elements) el->ReadFromPropBag(bag, f.ctx);
    }
}
BENCHMARK(BM_PropertyBagRead1000)->Unit(benchmark::kMicrosecond);

}  // namespace
