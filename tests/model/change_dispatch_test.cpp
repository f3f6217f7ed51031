// What the change dispatch makes of one changed element in a built model: the
// tag copy, the ident-number selector's filter, the record header's
// communication-error bits, and chains of notices that end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ErrorOf.h"
#include "PageRecorder.h"
#include "frame/ModelInstance.h"
#include "core/services/ProjectHelpers.h"
#include "model/build/ChangeDispatch.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;

constexpr int32_t kCommErrorBits = 0xF0000;

class ChangeDispatch : public ::testing::Test {
protected:
    platform::P<clsDataElement> At(const std::string& path) { return ElementAt(instance.Parameters(), path); }

    // An edit on a page: the new value, then the change notice.
    void Edit(const std::string& path, const Variant& value) {
        auto el = At(path);
        el->TransientValue = value;
        instance.Parameters().NotifyChange(el, "");
    }

    frame::ModelInstance instance = frame::NewModelInstance();
    std::shared_ptr<testing::PageRecorder> page = testing::PageRecorder::RegisterWith(*instance.ctx);
};

TEST_F(ChangeDispatch, TagCopyRunsOnlyAtTheFirstLevel) {
    struct Case {
        const char* source;
        const char* target;
        int32_t level;
        bool updating;
        bool copied;
    };
    const Case cases[] = {
        {"~/Tag", "PHYS/TAG_DESC", 1, false, true},
        {"~/Tag", "PHYS/TAG_DESC", 2, false, false},
        {"~/Tag", "PHYS/TAG_DESC", 1, true, false},
        {"PHYS/TAG_DESC", "~/Tag", 1, false, true},
        {"PHYS/TAG_DESC", "~/Tag", 1, true, true},
        {"PHYS/TAG_DESC", "~/Tag", 2, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " level " + std::to_string(c.level) + (c.updating ? " updating" : ""));
        auto fresh = frame::NewModelInstance();
        auto source = ElementAt(fresh.Parameters(), c.source);
        auto target = ElementAt(fresh.Parameters(), c.target);
        const Variant before = target->TransientValue;
        source->DeviceValue = Variant(std::string("device"));
        source->TransientValue = Variant(std::string("edited"));
        source->PersistentValue = Variant(std::string("stored"));
        fresh.Parameters().UpdateInProgress(c.updating);
        HandleDataChange(source, fresh.ctx, c.level);
        if (c.copied) {
            EXPECT_TRUE(Identical(target->DeviceValue, Variant(std::string("device"))));
            EXPECT_TRUE(Identical(target->TransientValue, Variant(std::string("edited"))));
            EXPECT_TRUE(Identical(target->PersistentValue, Variant(std::string("stored"))));
        } else {
            EXPECT_TRUE(Identical(target->TransientValue, before));
        }
    }
}

TEST_F(ChangeDispatch, AnEditedTagReachesTheTagDescriptionOnceAndNothingComesBack) {
    Edit("~/Tag", Variant(std::string("FT-101")));
    EXPECT_TRUE(Identical(At("PHYS/TAG_DESC")->TransientValue, Variant(std::string("FT-101"))));
    EXPECT_EQ(page->Notices("PHYS/TAG_DESC"), 1);
    EXPECT_EQ(page->Notices("~/Tag"), 1);

    // The same tag again: the description already holds it and is not told again.
    page->changed.clear();
    Edit("~/Tag", Variant(std::string("FT-101")));
    EXPECT_EQ(page->Notices("PHYS/TAG_DESC"), 0);
}

// With the ident-number selector at 0 the function blocks from slot 5 on are
// not dispatched; the error-bit hand-over of a record header shows it.
TEST_F(ChangeDispatch, SelectorZeroStopsEveryChangeOfTheFunctionBlocksFromSlotFive) {
    struct Case {
        Variant selector;
        const char* header;
        bool handled;
    };
    const Case cases[] = {
        {Variant::Int(0), "FUNC/5/AI/OUT/", false},
        {Variant(), "FUNC/5/AI/OUT/", false},
        {Variant(std::string("0")), "FUNC/5/AI/OUT/", false},
        {Variant::Int(1), "FUNC/5/AI/OUT/", true},
        {Variant::Int(0), "FUNC/4/TOT/TOTAL/", true},
        {Variant::Int(1), "FUNC/4/TOT/TOTAL/", true},
        {Variant::Int(0), "PHYS/MODE_BLK/", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.header) + " selector " + platform::com::TypeName(c.selector));
        auto fresh = frame::NewModelInstance();
        auto& params = fresh.Parameters();
        ElementAt(params, "PHYS/IDENT_NUMBER_SELECTOR")->TransientValue = c.selector;
        auto header = ElementAt(params, c.header);
        header->StatusFlags(header->StatusFlags() | 0x20000);
        HandleDataChange(header, fresh.ctx, 1);
        for (const auto& member : params.Children(c.header)) {
            const auto& el = static_cast<const clsDataElement&>(*member);
            if ((el.ElementMode & 3) == 3) continue;
            EXPECT_EQ(el.StatusFlags() & kCommErrorBits, c.handled ? 0x20000 : 0) << el.Name;
        }
    }
}

// The selector's validity notices reach every element of blocks 5 to 8,
// CHANNEL included; a notice is no choice of channel, so the units that the
// user gave those blocks stay.
TEST_F(ChangeDispatch, SelectorRoundTripKeepsTheUnitsTheUserGaveTheBlocksFromSlotFive) {
    Edit("FUNC/5/AI/OUT_SCALE/Unit", Variant::Lng(1347));  // m³/s instead of the transducer's m³/h
    Edit("FUNC/8/TOT/UNIT_TOT", Variant::Lng(1038));       // L instead of m³
    const Variant limit = At("FUNC/5/AI/HI_LIM")->TransientValue;
    const Variant total = At("FUNC/8/TOT/HI_LIM")->TransientValue;
    ASSERT_EQ(At("FUNC/5/AI/HI_LIM")->nTransientUnit, 1347);

    Edit("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(0));
    Edit("PHYS/IDENT_NUMBER_SELECTOR", Variant::Int(1));
    ASSERT_TRUE(At("FUNC/5/AI/CHANNEL")->Validity());

    EXPECT_TRUE(Identical(At("FUNC/5/AI/OUT_SCALE/Unit")->TransientValue, Variant::Lng(1347)));
    EXPECT_TRUE(Identical(At("FUNC/5/AI/HI_LIM")->TransientValue, limit));
    EXPECT_EQ(At("FUNC/5/AI/HI_LIM")->nTransientUnit, 1347);
    EXPECT_TRUE(Identical(At("FUNC/8/TOT/UNIT_TOT")->TransientValue, Variant::Lng(1038)));
    EXPECT_TRUE(Identical(At("FUNC/8/TOT/HI_LIM")->TransientValue, total));
    EXPECT_EQ(At("FUNC/8/TOT/HI_LIM")->nTransientUnit, 1038);

    // A channel the user chooses still brings its unit: temperature in K.
    Edit("FUNC/5/AI/CHANNEL", Variant::Lng(285));
    EXPECT_TRUE(IsSameValue(At("FUNC/5/AI/OUT_SCALE/Unit")->TransientValue, Variant::Int(1000)));
    EXPECT_EQ(At("FUNC/5/AI/HI_LIM")->nTransientUnit, 1000);
}

// A unit change that one of its values cannot follow is refused whole: the
// error reaches the editor, no value of any block is converted and the unit
// goes back to the one the values are in.
TEST_F(ChangeDispatch, AUnitChangeThatAValueCannotFollowIsRefusedWhole) {
    struct Case {
        const char* unit;
        int16_t newUnit;
        const char* value;  // the value that cannot follow
        Variant held;
    };
    const Case cases[] = {
        {"FUNC/1/AI/OUT_SCALE/Unit", 1318, "FUNC/1/AI/HI_HI_LIM", Variant::Sng(3E+38f)},  // kg/s to g/s
        {"FUNC/4/TOT/UNIT_TOT", 1089, "FUNC/4/TOT/HI_HI_LIM", Variant::Dbl(1E+39)},       // a stored value, kg to g
        {"TRANS/1/FlowCori/MASS_FLOW_UNITS", 1318, "FUNC/1/AI/PV_SCALE/Up_Val", Variant::Sng(3E+38f)},
    };
    struct State {
        Variant device, transient, persistent;
        int16_t deviceUnit, transientUnit, persistentUnit;
        bool operator==(const State& o) const {
            return IsSameValue(device, o.device) && IsSameValue(transient, o.transient) &&
                   IsSameValue(persistent, o.persistent) && deviceUnit == o.deviceUnit &&
                   transientUnit == o.transientUnit && persistentUnit == o.persistentUnit;
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        auto fresh = frame::NewModelInstance();
        auto& params = fresh.Parameters();
        ElementAt(params, c.value)->TransientValue = c.held;
        std::vector<State> before;
        for (const auto& item : params) {
            const auto& el = static_cast<const clsDataElement&>(*item);
            before.push_back({el.DeviceValue, el.TransientValue, el.PersistentValue, el.nDeviceUnit,
                              el.nTransientUnit, el.nPersistentUnit});
        }

        auto unit = ElementAt(params, c.unit);
        unit->TransientValue = Variant::Lng(c.newUnit);
        auto pages = testing::PageRecorder::RegisterWith(*fresh.ctx);
        EXPECT_EQ(ErrorOf([&] { params.NotifyChange(unit, ""); }), 6);
        EXPECT_EQ(pages->changed, std::vector<std::string>{c.unit});  // the unit as it is again

        size_t i = 0;
        for (const auto& item : params) {
            const auto& el = static_cast<const clsDataElement&>(*item);
            EXPECT_TRUE((State{el.DeviceValue, el.TransientValue, el.PersistentValue, el.nDeviceUnit,
                               el.nTransientUnit, el.nPersistentUnit} == before[i++]))
                << el.Name;
        }
    }
}

TEST_F(ChangeDispatch, RecordHeaderHandsItsErrorBitsToMembersThatAreNotReadWrite) {
    const std::string header = "FUNC/1/AI/OUT/";
    auto value = At(header + "Value");
    auto quality = At(header + "StatusQuality");
    auto limit = At(header + "StatusLimit");
    value->StatusFlags(value->StatusFlags() | 0x8 | 0x50000);  // other bits kept, old error bits replaced
    quality->StatusFlags(quality->StatusFlags() | 0x20000);    // already holds them
    limit->ElementMode |= clsDataElement::kModeUpload | clsDataElement::kModeDownload;
    const int32_t valueOther = value->StatusFlags() & ~kCommErrorBits;
    const int32_t qualityFlags = quality->StatusFlags();
    const int32_t limitFlags = limit->StatusFlags();

    auto el = At(header);
    el->StatusFlags(0x20000 | 0x1);
    page->changed.clear();
    instance.Parameters().NotifyChange(el, "");

    EXPECT_EQ(value->StatusFlags(), valueOther | 0x20000);
    EXPECT_EQ(quality->StatusFlags(), qualityFlags);
    EXPECT_EQ(limit->StatusFlags(), limitFlags);
    EXPECT_EQ(page->Notices(header + "Value"), 1);
    EXPECT_EQ(page->Notices(header + "StatusQuality"), 0);
    EXPECT_EQ(page->Notices(header + "StatusLimit"), 0);
}

TEST_F(ChangeDispatch, ParamLinkHookChangesNothing) {
    auto el = At("~/Tag");
    const Variant before = el->TransientValue;
    OnParamLinkChange(el, instance.Parameters());
    EXPECT_TRUE(Identical(el->TransientValue, before));
    EXPECT_TRUE(page->changed.empty());
}

// Every unit code element of the model, set to one code after another,
// starts a chain of notices that ends.
TEST_F(ChangeDispatch, EveryUnitChangeEnds) {
    int units = 0;
    for (const auto& item : instance.Parameters()) {
        std::string name = item->Name();
        for (auto& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        auto el = At(name);
        if (name.find("UNIT") == std::string::npos || el->ValueType != 3) continue;
        SCOPED_TRACE(name);
        ++units;
        for (int16_t code : {1318, 1322, 1330, 1349, 1100, 1001, 1034, 1088}) {
            el->TransientValue = Variant::Int(code);
            EXPECT_NO_THROW(instance.Parameters().NotifyChange(el, "")) << code;
        }
    }
    EXPECT_EQ(units, 18);
}

}  // namespace
}  // namespace dtm
