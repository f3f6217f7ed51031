#pragma once
// The device's blocks with their converter layers in one context: device
// directory, transducer block 1 with its own parameters and defaults, AI
// blocks 1-3 and 5-7 and totaliser blocks 4 and 8 with their defaults, slot
// and index, and every element initialised. The model passes each change
// notice on to the blocks' handlers and refresh procedures, in the order the
// model's change dispatch runs them, and records the notices it receives.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BlockTestSupport.h"
#include "blocks/DataModel_DevDir.h"
#include "blocks/DataModel_ManuSpec.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "ModelWithUnits.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/Parameters.h"

namespace dtm::testing {

class DispatchingModel : public ModelWithUnits {
public:
    // A notice from the collection: recorded, then handled unless dispatching is off.
    void DataChanged(const El& pda, const Ctx& ctx) override {
        notified.push_back(pda->Name());
        if (dispatch) Dispatch(std::dynamic_pointer_cast<clsDataElement>(pda), ctx);
    }

    // A whole data set: every element but the commands is handled once, units
    // taken over without converting the values.
    void DataSetChanged(Ctx ctx) override {
        m_ProcessingCompleteValidation = true;
        for (const auto& item : *ctx->Parameters()) {
            auto el = std::dynamic_pointer_cast<clsDataElement>(item);
            if ((el->ElementMode & clsDataElement::kModeCommand) == 0) Dispatch(el, ctx);
        }
        m_ProcessingCompleteValidation = false;
    }

    // A language change: every element but the commands is refreshed without notices.
    void RefreshAll(const Ctx& ctx) {
        for (const auto& item : *ctx->Parameters()) {
            auto el = std::dynamic_pointer_cast<clsDataElement>(item);
            if ((el->ElementMode & clsDataElement::kModeCommand) == 0) Refresh(el, *ctx->Parameters(), true);
        }
    }

    // How often `path` was handed to the model.
    int Notices(const std::string& path) const {
        return static_cast<int>(std::count(notified.begin(), notified.end(), path));
    }

    std::vector<std::string> notified;
    bool dispatch = true;

private:
    static void Dispatch(const std::shared_ptr<clsDataElement>& el, const Ctx& ctx) {
        const int16_t n = el->BlockNumber;
        switch (el->BlockType) {
            case pbfTransducerBlock:
                OnTBUnitChanged(n, el, ctx);
                ManuSpecTBChanged(n, el, ctx);
                break;
            case pbfFunctionAIBlock: OnAIParameterChanged(n, el, ctx); break;
            case pbfFunctionTOTBlock:
                OnTOTUnitChanged(n, el, ctx);
                ManuSpecTOTChanged(n, el, ctx);
                break;
            default: break;
        }
        Refresh(el, *ctx->Parameters(), false);
    }

    static void Refresh(const std::shared_ptr<clsDataElement>& el, platform::rt::Parameters& params, bool bNoNotify) {
        switch (el->BlockType) {
            case pbfTransducerBlock: ManuSpecTBUpdate(el, params, bNoNotify); break;
            case pbfFunctionAIBlock:
                OnAIUnitChanged(el, params, bNoNotify);
                ManuSpecAIUpdate(el, params, bNoNotify);
                break;
            case pbfFunctionTOTBlock: ManuSpecTOTUpdate(el, params, bNoNotify); break;
            default: break;
        }
    }
};

class ManuSpecModel : public ::testing::Test {
protected:
    static constexpr const char* kTB1 = "TRANS/1/FlowCori/";

    void SetUp() override { ctx->InitContext(nullptr, model, nullptr, nullptr); }

    // The device type's name and the text of "~/RXD214" decide the meter series.
    void Build(const std::string& deviceName = "RXD 214") {
        ctx->DeviceType()->DeviceTypeName(platform::Variant::Str(deviceName));
        auto firstModel = AddParam(params, "~/RXD214", platform::Variant::Str("RXD 214"), 14, 7);
        firstModel->ElementMode = 0;
        firstModel->TransientValue = firstModel->InitialValue;

        CreateDevDirModel(params);
        CreateTBBlockModel(1, ctx);
        ManuSpecTBCreate(1, ctx);
        ManuSpecTBDefaults(1, ctx);
        for (int16_t n = 1; n <= 8; ++n) {
            if (n == 4 || n == 8) {
                CreateTOTBlockModel(n, platform::Variant(), ctx);
                ManuSpecTOTDefaults(n, ctx);
            } else {
                CreateAIBlockModel(n, ctx);
                ManuSpecAIDefaults(n, ctx);
            }
        }
        for (const auto& item : params) {
            auto el = std::dynamic_pointer_cast<clsDataElement>(item);
            CalcSlotIndex(*el);
            el->InitNew(nullptr, ctx);
        }
    }

    std::shared_ptr<clsDataElement> TB(const std::string& path) { return ElementAt(params, kTB1 + path); }
    std::shared_ptr<clsDataElement> AI(int16_t n, const std::string& path) {
        return ElementAt(params, GetAIBlockPrefix(n) + path);
    }
    std::shared_ptr<clsDataElement> TOT(int16_t n, const std::string& path) {
        return ElementAt(params, GetTOTBlockPrefix(n) + path);
    }

    // Gives the element a new value and reports it, as an edit on a page does.
    void Change(const std::shared_ptr<clsDataElement>& el, const platform::Variant& value) {
        el->TransientValue = value;
        params.NotifyChange(el, "");
    }

    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::P<DispatchingModel> model = std::make_shared<DispatchingModel>();
    platform::rt::Parameters& params = *ctx->Parameters();
};

}  // namespace dtm::testing
