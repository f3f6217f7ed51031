#pragma once
// The archive object of a DTM instance (our stand-in for the outside archive
// control library): the DTM creates it, registers it with the context, which
// persists it with the data set, and sets its curve-enable mask to -1 (not
// yet set) on a new instance. The archive control keeps its journal here: the
// values the device answered for the enabled curves, each with its date and
// time and its unit, oldest first.
#include <cstdint>
#include <deque>
#include <string>

#include "platform/com/PropertyBag.h"
#include "platform/com/Variant.h"

namespace platform::archive {

struct ArchiveSample {
    double date = 0;    // date and time of the answer (a Date serial)
    int16_t curve = 0;  // the curve's index, 0 to 7
    double value = 0;
    int16_t unit = 0;   // the unit code the value is in; 0 when not known
};

class Archive : public com::Object, public com::IPersistable {
public:
    static constexpr int32_t kMaskNotSet = -1;
    // The journal keeps the newest samples up to this count.
    static constexpr size_t kJournalLimit = 1000;

    // One bit per curve (bit i for curve index i); -1: not yet set.
    int32_t CheckCurveEnabled() const { return checkCurveEnabled_; }
    void CheckCurveEnabled(int32_t mask) { checkCurveEnabled_ = mask; }

    const std::deque<ArchiveSample>& Journal() const { return journal_; }
    // Takes the sample in time order (by the moment its date denotes, which
    // before 1899-12-30 is not the order of the serials): after every sample
    // not later than it. A sample whose date is no date the journal can store
    // (see Load) is not taken: False.
    bool Record(const ArchiveSample& sample);
    // The newest sample of a curve; null when the journal holds none.
    const ArchiveSample* Newest(int16_t curve) const;
    void ClearJournal() { journal_.clear(); }

    // Stored as prefix + "CheckCurveEnabled" (default -1) and prefix +
    // "Journal", one "yyyy-mm-dd hh:nn:ss;curve;value;unit" line per sample,
    // each ended by LF (Load takes CR LF alike).
    // A line "ms;curve;value" of an older data set gives the time in the
    // milliseconds of the virtual clock of its day, whose dates began at
    // 2024-01-01 00:00:00, and no unit. A damaged mask gives its default -1.
    // A damaged journal line, its date too (one that is no Date, from 100-01-01
    // to 9999-12-31 23:59:59 once rounded to the second as it is stored), is
    // dropped and counted in DamagedLines; the other lines load.
    void Load(com::PropertyBag& bag, const std::string& prefix) override;
    void Save(com::PropertyBag& bag, const std::string& prefix) override;
    // The journal lines the last Load dropped as damaged.
    size_t DamagedLines() const { return damagedLines_; }

private:
    int32_t checkCurveEnabled_ = kMaskNotSet;
    std::deque<ArchiveSample> journal_;
    size_t damagedLines_ = 0;
};

}  // namespace platform::archive
