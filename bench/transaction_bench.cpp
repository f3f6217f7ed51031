// Coding and decoding of one ten-field record in a new instance's model, and
// the whole data set of an instance saved to and loaded from a property bag.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "frame/ModelInstance.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"

namespace {

using platform::P;
using platform::Variant;

// Change notices end at the model: the coding alone is measured.
class BenchModel : public dtm::clsDataModel {
public:
    void DataChanged(const El&, const Ctx&) override {}
};

struct Fixture {
    dtm::frame::ModelInstance instance = dtm::frame::NewModelInstance(std::make_shared<BenchModel>());
    P<platform::rt::DTMContext> ctx = instance.ctx;
    P<dtm::clsDataModel> model = instance.model;
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

// A record the model build makes: the output of AI block 1.
void BM_DecodeBuiltRecord(benchmark::State& state) {
    Fixture f;
    auto header = dtm::ElementAt(*f.ctx->Parameters(), "FUNC/1/AI/OUT/");
    auto trans = std::make_shared<platform::rt::Transaction>();
    f.model->BuildTransactionRequest(f.ctx, trans, false, header);
    trans->TransData(Variant::ByteArray({0x41, 0x48, 0x00, 0x00, 0x80}));
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.model->ReadTransactionResponse(f.ctx, trans, false, header));
    }
}
BENCHMARK(BM_DecodeBuiltRecord);

void BM_SaveInstance(benchmark::State& state) {
    auto instance = dtm::frame::NewModelInstance();
    for (auto _ : state) {
        platform::com::PropertyBag bag;
        instance.ctx->SaveData(bag);
        benchmark::DoNotOptimize(bag);
    }
    state.counters["elements"] = instance.Parameters().Count();
}
BENCHMARK(BM_SaveInstance)->Unit(benchmark::kMicrosecond);

// Loading runs the whole data-set change of the model.
void BM_LoadInstance(benchmark::State& state) {
    auto instance = dtm::frame::NewModelInstance();
    platform::com::PropertyBag bag;
    instance.ctx->SaveData(bag);
    for (auto _ : state) instance.ctx->LoadData(bag);
    state.counters["elements"] = instance.Parameters().Count();
}
BENCHMARK(BM_LoadInstance)->Unit(benchmark::kMicrosecond);

}  // namespace
