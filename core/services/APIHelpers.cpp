#include "core/services/APIHelpers.h"

#include "platform/com/ClassRegistry.h"

namespace dtm {
using namespace platform;

bool ProgIdToClsid(const std::string& progId, Guid& clsid) {
    return com::ClassRegistry::Global().CLSIDFromProgID(progId, clsid);
}

bool CreateGuid(Guid& guid) { return win::NewGuid(guid); }

std::string ClsidToString(const Guid& clsid) { return win::GuidToString(clsid); }

std::string GetNewGuidString(const Variant& keepBraces) {
    Guid guid{};
    if (!CreateGuid(guid)) return {};
    std::string text = ClsidToString(guid);
    const bool strip = !keepBraces.IsMissing() && !com::CBool(keepBraces);
    if (strip && text.size() >= 2 && text.front() == '{' && text.back() == '}') text = text.substr(1, text.size() - 2);
    return text;
}

bool IsSameInvokeId(const std::string& first, const std::string& second) {
    if (first.empty() || first.size() != second.size()) return false;
    for (size_t i = 0; i < first.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(first[i]) != lower(second[i])) return false;
    }
    return true;
}

}  // namespace dtm
