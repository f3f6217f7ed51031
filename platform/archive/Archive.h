#pragma once
// The archive object of a DTM instance (our stand-in for the outside archive
// control library): the DTM creates it, registers it with the context, which
// persists it with the data set, and sets its curve-enable mask to -1 (not
// yet set) on a new instance. The archive control keeps its journal here: the
// values of the enabled curves, each with the virtual time it arrived at.
#include <cstdint>
#include <deque>
#include <string>

#include "platform/com/PropertyBag.h"
#include "platform/com/Variant.h"

namespace platform::archive {

struct ArchiveSample {
    int64_t timeMs = 0;  // the virtual clock's time
    int16_t curve = 0;   // the curve's index, 0 to 7
    double value = 0;
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
    void Record(const ArchiveSample& sample);
    // The newest sample of a curve; null when the journal holds none.
    const ArchiveSample* Newest(int16_t curve) const;
    void ClearJournal() { journal_.clear(); }

    // Stored as prefix + "CheckCurveEnabled" (default -1) and prefix +
    // "Journal" (one "time;curve;value" line per sample). A damaged entry
    // gives its default: the mask -1, an empty journal.
    void Load(com::PropertyBag& bag, const std::string& prefix) override;
    void Save(com::PropertyBag& bag, const std::string& prefix) override;

private:
    int32_t checkCurveEnabled_ = kMaskNotSet;
    std::deque<ArchiveSample> journal_;
};

}  // namespace platform::archive
