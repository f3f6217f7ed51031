#include "platform/archive/Archive.h"

#include <charconv>
#include <sstream>

#include "platform/com/Error.h"

namespace platform::archive {

namespace {

const std::string kCheckCurve = "CheckCurveEnabled";
const std::string kJournal = "Journal";

bool ParseSample(const std::string& line, ArchiveSample& sample) {
    std::istringstream in(line);
    std::string time, curve, value;
    if (!std::getline(in, time, ';') || !std::getline(in, curve, ';') || !std::getline(in, value)) return false;
    try {
        size_t used = 0;
        sample.timeMs = std::stoll(time, &used);
        if (used != time.size()) return false;
        const int c = std::stoi(curve, &used);
        if (used != curve.size() || c < 0 || c > 31) return false;
        sample.curve = static_cast<int16_t>(c);
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), sample.value);
        if (ec != std::errc() || end != value.data() + value.size()) return false;
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace

void Archive::Record(const ArchiveSample& sample) {
    journal_.push_back(sample);
    while (journal_.size() > kJournalLimit) journal_.pop_front();
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
    try {
        std::istringstream lines(com::CStr(bag.ReadProperty(prefix + kJournal, Variant::Str(""))));
        std::string line;
        while (std::getline(lines, line)) {
            ArchiveSample sample;
            if (!ParseSample(line, sample)) {
                journal_.clear();
                return;
            }
            Record(sample);
        }
    } catch (const com::ComError&) {
        journal_.clear();
    }
}

void Archive::Save(com::PropertyBag& bag, const std::string& prefix) {
    bag.WriteProperty(prefix + kCheckCurve, Variant::Lng(checkCurveEnabled_), Variant::Lng(kMaskNotSet));
    // The shortest text that reads back as the same number.
    std::string text;
    for (const auto& sample : journal_) {
        char number[32];
        const auto end = std::to_chars(number, number + sizeof number, sample.value).ptr;
        text += std::to_string(sample.timeMs) + ";" + std::to_string(sample.curve) + ";" + std::string(number, end) + "\n";
    }
    bag.WriteProperty(prefix + kJournal, Variant::Str(text), Variant::Str(""));
}

}  // namespace platform::archive
