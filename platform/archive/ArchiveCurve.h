#pragma once
// A curve of the archive control: the element whose values it shows, its
// limit elements, label, unit and format, its number, index and whether it
// is enabled. The page fills it; the control reads it. Getters return what
// was set.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/rt/IPrivateDataElement.h"

namespace platform::archive {

// The record elements of a curve, in the order added; keys may repeat.
class ArchiveRecords : public com::Object {
public:
    void AddRecord(const rt::El& element, const std::string& key) { records_.emplace_back(element, key); }
    const std::vector<std::pair<rt::El, std::string>>& Records() const { return records_; }

private:
    std::vector<std::pair<rt::El, std::string>> records_;
};

struct CurveRange {
    double upper = 0, lower = 0, actualUpper = 0, actualLower = 0;
};

class ArchiveCurve : public com::Object {
public:
    const rt::El& ValueElement() const { return valueElement_; }
    void ValueElement(const rt::El& element) { valueElement_ = element; }
    const P<ArchiveRecords>& RecordElements() const { return records_; }
    const std::string& CurveLabel() const { return label_; }
    void CurveLabel(const std::string& label) { label_ = label; }
    const std::string& CurveUnit() const { return unit_; }
    void CurveUnit(const std::string& unit) { unit_ = unit; }
    const std::string& CurveFormat() const { return format_; }
    void CurveFormat(const std::string& format) { format_ = format; }
    int32_t CurveNumber() const { return number_; }
    void CurveNumber(int32_t number) { number_ = number; }
    int16_t CurveIndex() const { return index_; }
    void CurveIndex(int16_t index) { index_ = index; }
    bool CurveEnabled() const { return enabled_; }
    void CurveEnabled(bool enabled) { enabled_ = enabled; }
    const rt::El& LoLimitElement() const { return loLimit_; }
    void LoLimitElement(const rt::El& element) { loLimit_ = element; }
    const rt::El& HiLimitElement() const { return hiLimit_; }
    void HiLimitElement(const rt::El& element) { hiLimit_ = element; }
    void SetCurveRange(double upper, double lower, double actualUpper, double actualLower) {
        range_ = {upper, lower, actualUpper, actualLower};
    }
    const CurveRange& Range() const { return range_; }

private:
    rt::El valueElement_;
    P<ArchiveRecords> records_ = std::make_shared<ArchiveRecords>();
    std::string label_, unit_, format_;
    int32_t number_ = 0;
    int16_t index_ = 0;
    bool enabled_ = false;
    rt::El loLimit_, hiLimit_;
    CurveRange range_;
};

}  // namespace platform::archive
