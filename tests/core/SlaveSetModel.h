#pragma once
// A DTM context holding the slave parameter set as the model build makes it
// (the bytes, the eight slot codes, the whole string) and the sixteen
// process-data channels, with a data model that dispatches every change
// notice to the slave set (and, for Physical Block elements, to the block's
// manufacturer-specific handlers), counting the nesting level as the change
// entry of the model does. Optionally the Physical Block and some function
// blocks are built too.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "blocks/DataModel_ManuSpec_PB.h"
#include "core/services/ConvStr.h"
#include "core/channels/SlaveBusParamSet.h"
#include "core/channels/clsChannel.h"
#include "ModelWithUnits.h"
#include "model/elements/DataModelHelpers.h"
#include "model/build/ProcessDataChannels.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm::testing {

class SlaveSetDispatch : public ModelWithUnits {
public:
    void DataChanged(const El& pda, const Ctx& ctx) override {
        struct Level {
            int& level;
            ~Level() { --level; }
        } guard{++level};
        notified.emplace_back(pda->Name(), level);
        auto el = std::dynamic_pointer_cast<clsDataElement>(pda);
        auto& params = *ctx->Parameters();
        if (el->BlockType == pbfPhysicalBlock) {
            ManuSpecPBChanged(el, params);
            ManuSpecPBUpdate(el, params, false);
        }
        OnBusParamChanged(el, params, level);
    }

    int level = 0;
    std::vector<std::pair<std::string, int>> notified;  // path, nesting level
};

class SlaveSetModel {
public:
    SlaveSetModel() {
        ctx->Parameters()->DataModel(model);
        auto bytes = Add(kBusMasterConfigurationPart, HexToBytes(kDefaultSlaveBusParamSet), 1,
                         HexToBytes(kDefaultSlaveBusParamSet).Count());
        bytes->RequiredUserLevel = 2;
        bytes->ElementMode = 16;
        for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot) {
            auto code = Add(SlaveBusParamSlotName(slot), platform::Variant::Int(DefaultSlotCode(slot)), 2, 1);
            code->RequiredUserLevel = 3;
            code->ElementMode = 16;
            code->ControlType(3);
        }
        auto whole = Add(kSlaveBusParamSetWholeString, platform::Variant::Str(kDefaultSlaveBusParamSet), 14, -1);
        whole->RequiredUserLevel = 3;
        whole->ElementMode = 16;
        whole->StatusFlags(1);
    }

    platform::rt::Parameters& params() { return *ctx->Parameters(); }
    std::shared_ptr<clsDataElement> El(const std::string& path) { return ElementAt(params(), path); }
    platform::Variant Value(const std::string& path) { return El(path)->TransientValue; }
    std::string WholeString() { return platform::com::CStr(Value(kSlaveBusParamSetWholeString)); }
    int16_t SlotCode(int32_t slot) { return platform::com::CInt(Value(SlaveBusParamSlotName(slot))); }

    // Writes the value and reports the change, as a page or the frame does.
    void Change(const std::string& path, const platform::Variant& value) {
        auto el = El(path);
        el->TransientValue = value;
        params().NotifyChange(el, "");
    }

    // Adds the sixteen process-data channels.
    void AddChannels() { CreateChannels(ctx); }
    clsChannel& Channel(int32_t number) {
        return *std::dynamic_pointer_cast<clsChannel>(params().Channels()->Item(number));
    }
    int16_t BitOffset(int32_t number) {
        return platform::com::CInt(Channel(number).ProfibusChannelParameter()->BitOffset());
    }

    std::shared_ptr<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    std::shared_ptr<SlaveSetDispatch> model = std::make_shared<SlaveSetDispatch>();

private:
    std::shared_ptr<clsDataElement> Add(const std::string& path, const platform::Variant& initial, int32_t type,
                                        int32_t length) {
        auto el = AddParam(params(), path, initial, type, length);
        el->TransientValue = initial;
        return el;
    }
};

}  // namespace dtm::testing
