#include "platform/com/PropertyBag.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string_view>

#include "platform/com/PropertyBagText.h"

namespace platform::com {

namespace {

std::string LowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

bool ReadVarType(std::string_view field, int32_t& out) {
    int32_t value = 0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || r.ec != std::errc() || r.ptr != field.data() + field.size()) return false;
    out = value;
    return true;
}

}  // namespace

const PropertyBag::Entry* PropertyBag::Find(const std::string& name) const {
    const auto it = index_.find(LowerAscii(name));
    return it == index_.end() ? nullptr : &entries_[it->second];
}

void PropertyBag::Put(const std::string& name, Variant value, bool readable) {
    std::string key = LowerAscii(name);
    const auto it = index_.find(key);
    if (it != index_.end()) {
        Entry& entry = entries_[it->second];
        entry.value = std::move(value);
        entry.readable = readable;
        return;
    }
    index_.emplace(std::move(key), entries_.size());
    entries_.push_back(Entry{name, std::move(value), readable});
}

Variant PropertyBag::ReadProperty(const std::string& name, const Variant& deflt) const {
    const Entry* entry = Find(name);
    if (!entry) return deflt;
    if (!entry->readable) Raise(errTypeMismatch);
    return entry->value;
}

void PropertyBag::WriteProperty(const std::string& name, const Variant& v, const Variant& deflt) {
    if (!deflt.IsMissing() && Identical(v, deflt)) {
        Remove(name);
        return;
    }
    if (!bagtext::IsStorable(v)) Raise(errTypeMismatch);
    Put(name, v, true);
}

bool PropertyBag::Contains(const std::string& name) const { return Find(name) != nullptr; }

std::vector<std::string> PropertyBag::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) names.push_back(entry.name);
    return names;
}

void PropertyBag::Remove(const std::string& name) {
    const auto it = index_.find(LowerAscii(name));
    if (it == index_.end()) return;
    const size_t position = it->second;
    index_.erase(it);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [key, index] : index_) {
        if (index > position) --index;
    }
}

std::string PropertyBag::ToText() const {
    std::string text;
    for (const Entry& entry : entries_) {
        text += bagtext::Escape(entry.name);
        text += '\t';
        if (entry.readable) {
            text += std::to_string(entry.value.VarTypeCode());
            text += '\t';
            bagtext::AppendValue(text, entry.value);
        } else {
            text += "?\t";  // stays unreadable when read back
        }
        text += '\n';
    }
    return text;
}

PropertyBag PropertyBag::FromText(const std::string& text) {
    PropertyBag bag;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        // A last line without its line feed was cut off: its value cannot be trusted.
        const bool complete = end != std::string::npos;
        std::string_view line(text.data() + start, (complete ? end : text.size()) - start);
        start = complete ? end + 1 : text.size();
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;

        const size_t nameEnd = line.find('\t');
        std::string name;
        if (nameEnd == std::string_view::npos || !bagtext::Unescape(line.substr(0, nameEnd), name)) continue;

        Variant value;
        bool readable = false;
        const std::string_view rest = line.substr(nameEnd + 1);
        const size_t typeEnd = rest.find('\t');
        int32_t varType = 0;
        if (complete && typeEnd != std::string_view::npos && ReadVarType(rest.substr(0, typeEnd), varType)) {
            readable = bagtext::DecodeValue(varType, rest.substr(typeEnd + 1), value);
        }
        bag.Put(name, readable ? std::move(value) : Variant(), readable);
    }
    return bag;
}

bool PropertyBag::SaveToFile(const std::string& path) const {
    // A folder is no file to replace, its name ending in "/" or not; the
    // system's reason is that it is one.
    std::error_code folder;
    if (std::filesystem::is_directory(path, folder)) {
        errno = EISDIR;
        return false;
    }
    const std::string temporary = path + ".tmp";
    const std::string text = ToText();
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

PropertyBag PropertyBag::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Raise(errFileNotFound);
    std::ostringstream content;
    content << in.rdbuf();
    return FromText(content.str());
}

}  // namespace platform::com
