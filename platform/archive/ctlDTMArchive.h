#pragma once
// The archive control: the trend of up to eight curves over the archive
// object of the DTM instance. The hosting page builds the curves and hands
// them over with the context and the archive object (InitArchiveCtl), then
// passes on its parameter, language and lock notices and its shut-down.
//
// The control reads nothing from the device and draws nothing: it keeps the
// curves it was given, records into the archive's journal each new value the
// device answers for an enabled curve's element (the bit of its index in the
// archive's curve-enable mask), with the date and time of its notice and the
// value's unit, and journals every call it receives, in order, for those who
// watch it. The user switches each curve on or off (ArchiveInput::CheckCurve),
// which the mask keeps.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "platform/archive/Archive.h"
#include "platform/archive/ArchiveCurve.h"
#include "platform/com/Collection.h"
#include "platform/rt/DTMContext.h"
#include "platform/ui/UserControl.h"

namespace platform::archive {

// What a page calls on its archive control.
class IArchiveControl : public virtual com::Object {
public:
    virtual int16_t CurveCount() const = 0;
    virtual void SwitchA(bool on) = 0;
    virtual void SwitchB(bool on) = 0;
    virtual void InitArchiveCtl(const P<rt::DTMContext>& ctx, P<com::Collection>& curves, P<Archive>& archive) = 0;
    virtual void SetArchiveLanguage(int32_t& languageId) = 0;
    virtual void ExitArchiveCtl() = 0;
    virtual void ArchiveParameterChanged(const rt::El& element) = 0;
    virtual void ArchiveParameterSetChanged() = 0;
    virtual void ArchiveLockStateChanged(bool& editable) = 0;
    // The collection InitArchiveCtl was given; null before it and after ExitArchiveCtl.
    virtual P<com::Collection> GetCurves() = 0;
    virtual void ArchiveCtlReady() = 0;
};

class ctlDTMArchive : public ui::UserControl, public IArchiveControl {
public:
    static constexpr const char* kProgId = "NUVDTMArchive.ctlDTMArchive";
    static constexpr int16_t kDefaultCurveCount = 8;
    // The call journal keeps the newest calls up to this count.
    static constexpr size_t kCallLimit = 500;

    std::string TypeName() const override { return "ctlDTMArchive"; }

    int16_t CurveCount() const override { return curveCount_; }
    void SwitchA(bool on) override;
    void SwitchB(bool on) override;
    void InitArchiveCtl(const P<rt::DTMContext>& ctx, P<com::Collection>& curves, P<Archive>& archive) override;
    void SetArchiveLanguage(int32_t& languageId) override;
    void ExitArchiveCtl() override;
    void ArchiveParameterChanged(const rt::El& element) override;
    void ArchiveParameterSetChanged() override;
    void ArchiveLockStateChanged(bool& editable) override;
    P<com::Collection> GetCurves() override { return curves_; }
    void ArchiveCtlReady() override;

    // The calls received, oldest first ("SwitchA False", "InitArchiveCtl 8", …).
    const std::deque<std::string>& Calls() const { return calls_; }
    bool Ready() const { return ready_; }
    bool Editable() const { return editable_; }
    int32_t LanguageId() const { return languageId_; }
    const P<Archive>& ArchiveObject() const { return archive_; }

    // Whether the curve of that index is on: its bit in the archive's mask.
    bool CurveOn(int16_t curveIndex) const;
    // Switches the curve of that index on or off, in the mask and its
    // CurveEnabled; False (nothing changed) while the control is locked,
    // without such a curve or before the mask is set up.
    bool UserCheckCurve(int16_t curveIndex, bool on);
    // How the snapshot names a sample's unit code (the hosting page knows the
    // unit table); without it, "#code".
    void UnitNames(std::function<std::string(int16_t)> names) { unitNames_ = std::move(names); }
    // The snapshot shows this many of the newest samples.
    static constexpr size_t kSnapshotSamples = 3;

    // Design values: "curvecount" (8), "minheight", "minwidth", "updateactranges", "propcolwidth".
    void InitProperties() override;
    void ReadProperties(const com::PropertyBag& bag) override;
    void WriteProperties(com::PropertyBag& bag) override;
    void Describe(ui::Description& d) const override;

private:
    // What a curve's element held from the device when the control last looked.
    struct DeviceReading {
        Variant value;
        int16_t unit = 0;
    };

    void Journal(std::string call);
    P<ArchiveCurve> CurveAt(int16_t curveIndex) const;

    int16_t curveCount_ = kDefaultCurveCount;
    float minHeight_ = 0, minWidth_ = 0;
    bool updateActRanges_ = false;
    int32_t propColWidth_ = 0;
    bool switchA_ = true, switchB_ = true, ready_ = false, editable_ = true;
    int32_t languageId_ = 0;
    std::weak_ptr<rt::DTMContext> ctx_;
    P<com::Collection> curves_;
    P<Archive> archive_;
    std::deque<std::string> calls_;
    std::map<int16_t, DeviceReading> readings_;  // by curve index
    std::function<std::string(int16_t)> unitNames_;
};

}  // namespace platform::archive
