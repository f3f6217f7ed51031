#include "platform/archive/Archive.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <vector>

#include "platform/com/Error.h"

namespace platform::archive {

namespace {

const std::string kCheckCurve = "CheckCurveEnabled";
const std::string kJournal = "Journal";
// Older data sets stored a sample's time in milliseconds of the virtual clock,
// whose dates began at 2024-01-01 00:00:00.
constexpr double kOldClockStart = 45292.0;
constexpr double kMsPerDay = 86400000.0;

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ';')) fields.push_back(field);
    return fields;
}

// The whole text as a number of type T; False when it is no such number.
template <class T>
bool ParseWhole(const std::string& text, T& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseSample(const std::string& line, ArchiveSample& sample) {
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() != 3 && fields.size() != 4) return false;
    int32_t curve = 0;
    if (!ParseWhole(fields[1], curve) || curve < 0 || curve > 31) return false;
    sample.curve = static_cast<int16_t>(curve);
    if (!ParseWhole(fields[2], sample.value)) return false;
    if (fields.size() == 3) {
        int64_t ms = 0;
        if (!ParseWhole(fields[0], ms)) return false;
        sample.date = com::MomentDate(kOldClockStart + static_cast<double>(ms) / kMsPerDay);
        sample.unit = 0;
        return true;
    }
    try {
        sample.date = com::CDate(Variant::Str(fields[0])).DateSerial();
    } catch (const com::ComError&) {
        return false;
    }
    return ParseWhole(fields[3], sample.unit);
}

// Whether Save can store the date so that Load reads it back: its text
// (rounded to the second) is a date again.
bool IsStorableDate(double date) {
    try {
        com::CDate(Variant::Str(com::FormatDate(date)));
        return true;
    } catch (const com::ComError&) {
        return false;
    }
}

}  // namespace

bool Archive::Record(const ArchiveSample& sample) {
    if (!IsStorableDate(sample.date)) return false;
    const double moment = com::DateMoment(sample.date);
    const auto later = [](double m, const ArchiveSample& s) { return m < com::DateMoment(s.date); };
    if (journal_.empty() || com::DateMoment(journal_.back().date) <= moment)
        journal_.push_back(sample);
    else
        journal_.insert(std::upper_bound(journal_.begin(), journal_.end(), moment, later), sample);
    while (journal_.size() > kJournalLimit) journal_.pop_front();
    return true;
}

const ArchiveSample* Archive::Newest(int16_t curve) const {
    for (auto it = journal_.rbegin(); it != journal_.rend(); ++it)
        if (it->curve == curve) return &*it;
    return nullptr;
}

void Archive::Load(com::PropertyBag& bag, const std::string& prefix) {
    try {
        checkCurveEnabled_ = com::CLng(bag.ReadProperty(prefix + kCheckCurve, Variant::Lng(kMaskNotSet)));
    } catch (const com::ComError&) {
        checkCurveEnabled_ = kMaskNotSet;
    }
    journal_.clear();
    damagedLines_ = 0;
    std::string text;
    try {
        text = com::CStr(bag.ReadProperty(prefix + kJournal, Variant::Str("")));
    } catch (const com::ComError&) {
        return;
    }
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        // A line that ends in CR LF (a journal edited on another system) ends like one in LF.
        if (!lines.eof() && !line.empty() && line.back() == '\r') line.pop_back();
        ArchiveSample sample;
        if (!ParseSample(line, sample) || !Record(sample)) ++damagedLines_;
    }
}

void Archive::Save(com::PropertyBag& bag, const std::string& prefix) {
    bag.WriteProperty(prefix + kCheckCurve, Variant::Lng(checkCurveEnabled_), Variant::Lng(kMaskNotSet));
    // The value as the shortest text that reads back as the same number.
    std::string text;
    for (const auto& sample : journal_) {
        char number[32];
        const auto end = std::to_chars(number, number + sizeof number, sample.value).ptr;
        text += com::FormatDate(sample.date) + ";" + std::to_string(sample.curve) + ";" + std::string(number, end) +
                ";" + std::to_string(sample.unit) + "\n";
    }
    bag.WriteProperty(prefix + kJournal, Variant::Str(text), Variant::Str(""));
}

}  // namespace platform::archive
