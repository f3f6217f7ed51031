#include "platform/archive/ctlDTMArchive.h"

#include "platform/rt/Parameters.h"

#include <map>

#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"
#include "platform/ui/Description.h"

namespace platform::archive {

namespace {

std::string BoolText(bool on) { return on ? "True" : "False"; }

P<ArchiveCurve> CurveOf(const Variant& item) { return std::dynamic_pointer_cast<ArchiveCurve>(item.ObjRef()); }

// The curve indexes that have a bit in the mask.
bool HasBit(int16_t curveIndex) { return curveIndex >= 0 && curveIndex <= 30; }

}  // namespace

P<ArchiveCurve> ctlDTMArchive::CurveAt(int16_t curveIndex) const {
    if (!curves_ || !HasBit(curveIndex)) return nullptr;
    for (const auto& item : *curves_)
        if (auto curve = CurveOf(item); curve && curve->CurveIndex() == curveIndex) return curve;
    return nullptr;
}

bool ctlDTMArchive::CurveOn(int16_t curveIndex) const {
    if (!archive_ || !HasBit(curveIndex)) return false;
    const int32_t mask = archive_->CheckCurveEnabled();
    return mask != Archive::kMaskNotSet && (mask >> curveIndex & 1) != 0;
}

bool ctlDTMArchive::UserCheckCurve(int16_t curveIndex, bool on) {
    const auto curve = CurveAt(curveIndex);
    if (!curve || !editable_ || !archive_ || archive_->CheckCurveEnabled() == Archive::kMaskNotSet) return false;
    const int32_t bit = int32_t{1} << curveIndex;
    const int32_t mask = archive_->CheckCurveEnabled();
    archive_->CheckCurveEnabled(on ? mask | bit : mask & ~bit);
    curve->CurveEnabled(on);
    // The mask is kept with the data set: a switched curve is a change to store.
    if (const auto ctx = ctx_.lock(); ctx && ctx->Parameters() && mask != archive_->CheckCurveEnabled())
        ctx->Parameters()->Modified(true);
    return true;
}

void ctlDTMArchive::Journal(std::string call) {
    calls_.push_back(std::move(call));
    while (calls_.size() > kCallLimit) calls_.pop_front();
}

void ctlDTMArchive::InitProperties() { curveCount_ = kDefaultCurveCount; }

void ctlDTMArchive::ReadProperties(const com::PropertyBag& bag) {
    curveCount_ = com::CInt(bag.ReadProperty("curvecount", Variant::Int(kDefaultCurveCount)));
    minHeight_ = com::CSng(bag.ReadProperty("minheight", Variant::Sng(0)));
    minWidth_ = com::CSng(bag.ReadProperty("minwidth", Variant::Sng(0)));
    updateActRanges_ = com::CBool(bag.ReadProperty("updateactranges", Variant::Bool(false)));
    propColWidth_ = com::CLng(bag.ReadProperty("propcolwidth", Variant::Lng(0)));
}

void ctlDTMArchive::WriteProperties(com::PropertyBag& bag) {
    bag.WriteProperty("curvecount", Variant::Int(curveCount_), Variant::Int(kDefaultCurveCount));
    bag.WriteProperty("minheight", Variant::Sng(minHeight_), Variant::Sng(0));
    bag.WriteProperty("minwidth", Variant::Sng(minWidth_), Variant::Sng(0));
    bag.WriteProperty("updateactranges", Variant::Bool(updateActRanges_), Variant::Bool(false));
    bag.WriteProperty("propcolwidth", Variant::Lng(propColWidth_), Variant::Lng(0));
}

void ctlDTMArchive::SwitchA(bool on) {
    switchA_ = on;
    Journal("SwitchA " + BoolText(on));
}

void ctlDTMArchive::SwitchB(bool on) {
    switchB_ = on;
    Journal("SwitchB " + BoolText(on));
}

void ctlDTMArchive::InitArchiveCtl(const P<rt::DTMContext>& ctx, P<com::Collection>& curves, P<Archive>& archive) {
    ctx_ = ctx;
    curves_ = curves;
    archive_ = archive;
    readings_.clear();
    if (curves_) {
        for (const auto& item : *curves_) {
            const auto curve = CurveOf(item);
            if (!curve) continue;
            // What the elements hold already was answered before: only later answers are new.
            if (const auto& element = curve->ValueElement())
                readings_[curve->CurveIndex()] = {element->DeviceValue(), element->DeviceUnit()};
            if (archive_ && archive_->CheckCurveEnabled() != Archive::kMaskNotSet)
                curve->CurveEnabled(CurveOn(curve->CurveIndex()));
        }
    }
    Journal("InitArchiveCtl " + std::to_string(curves ? curves->Count() : 0));
}

void ctlDTMArchive::SetArchiveLanguage(int32_t& languageId) {
    languageId_ = languageId;
    Journal("SetArchiveLanguage " + std::to_string(languageId));
}

void ctlDTMArchive::ExitArchiveCtl() {
    ctx_.reset();
    curves_.reset();
    archive_.reset();
    readings_.clear();
    ready_ = false;
    Journal("ExitArchiveCtl");
}

void ctlDTMArchive::ArchiveParameterChanged(const rt::El& element) {
    Journal("ArchiveParameterChanged " + (element ? element->Name() : std::string("Nothing")));
    if (!element || !curves_ || !archive_) return;
    for (const auto& item : *curves_) {
        const auto curve = CurveOf(item);
        if (!curve || curve->ValueElement() != element) continue;
        // A device answer changes the device value and keeps its unit. None is
        // a notice that marks the value live, an offline edit of the unit (which
        // converts the other values) or a new device unit (the value converted
        // or taken over as it is).
        const DeviceReading now{element->DeviceValue(), element->DeviceUnit()};
        DeviceReading& before = readings_[curve->CurveIndex()];
        const bool answered = now.unit == before.unit && !com::Identical(now.value, before.value);
        before = now;
        if (!answered || !CurveOn(curve->CurveIndex()) || !com::IsNumeric(now.value)) continue;
        archive_->Record({app::NowDate(), curve->CurveIndex(), com::CDbl(now.value), now.unit});
    }
}

void ctlDTMArchive::ArchiveParameterSetChanged() { Journal("ArchiveParameterSetChanged"); }

void ctlDTMArchive::ArchiveLockStateChanged(bool& editable) {
    editable_ = editable;
    Journal("ArchiveLockStateChanged " + BoolText(editable));
}

void ctlDTMArchive::ArchiveCtlReady() {
    ready_ = true;
    Journal("ArchiveCtlReady");
}

void ctlDTMArchive::Describe(ui::Description& d) const {
    UserControl::Describe(d);
    if (!ready_) d.flags.push_back("not-ready");
    if (!editable_) d.flags.push_back("locked");
    d.Attr("curves=" + std::to_string(curves_ ? curves_->Count() : 0));
    // The journal lines the data set's load dropped as damaged, when there were any.
    const size_t damaged = archive_ ? archive_->DamagedLines() : 0;
    if (archive_) {
        d.Attr("mask=" + std::to_string(archive_->CheckCurveEnabled()));
        d.Attr("samples=" + std::to_string(archive_->Journal().size()));
        if (damaged > 0) d.Attr("damaged=" + std::to_string(damaged));
    }
    d.Prop("ready", ready_);
    d.Prop("editable", editable_);
    if (archive_) {
        d.Prop("mask", archive_->CheckCurveEnabled());
        d.Prop("samples", static_cast<int64_t>(archive_->Journal().size()));
        if (damaged > 0) d.Prop("damaged", static_cast<int64_t>(damaged));
    }
    if (!curves_) return;
    // A value the device sent as a float shows as one.
    const auto valueText = [](double value) {
        const auto single = static_cast<float>(value);
        return com::CStr(static_cast<double>(single) == value ? Variant::Sng(single) : Variant::Dbl(value));
    };
    const auto unitText = [this](int16_t code) {
        if (code == 0) return std::string();
        const std::string text = unitNames_ ? unitNames_(code) : std::string();
        return text.empty() ? "#" + std::to_string(code) : text;
    };
    // One line per curve: label, unit, on or off, its samples and the newest value.
    std::map<int16_t, int64_t> counts;
    if (archive_)
        for (const auto& sample : archive_->Journal()) ++counts[sample.curve];
    for (const auto& item : *curves_) {
        const auto curve = CurveOf(item);
        if (!curve) continue;
        const int16_t index = curve->CurveIndex();
        const std::string name = "curve" + std::to_string(index);
        const bool on = CurveOn(index);
        std::string line = "curve " + std::to_string(index) + " " + ui::Quote(curve->CurveLabel()) + " [" +
                           curve->CurveUnit() + "] " + (on ? "on" : "off") + " samples=" +
                           std::to_string(counts[index]);
        d.Prop(name, on ? "on" : "off");
        d.Prop(name + ".unit", curve->CurveUnit());
        d.Prop(name + ".samples", counts[index]);
        if (const ArchiveSample* newest = archive_ ? archive_->Newest(index) : nullptr) {
            const std::string value = valueText(newest->value);
            line += " last=" + value;
            d.Prop(name + ".last", value);
        }
        d.lines.push_back(line);
    }
    // The newest samples, oldest of them first.
    if (!archive_) return;
    const auto& journal = archive_->Journal();
    for (size_t i = journal.size() > kSnapshotSamples ? journal.size() - kSnapshotSamples : 0; i < journal.size(); ++i) {
        const ArchiveSample& sample = journal[i];
        std::string line = "sample " + com::FormatDate(sample.date) + " curve " + std::to_string(sample.curve) + " = " +
                           valueText(sample.value);
        if (const std::string unit = unitText(sample.unit); !unit.empty()) line += " [" + unit + "]";
        d.lines.push_back(line);
    }
    if (!journal.empty())
        d.Prop("newest", com::FormatDate(journal.back().date) + " curve " + std::to_string(journal.back().curve) +
                             " = " + valueText(journal.back().value));
}

}  // namespace platform::archive
