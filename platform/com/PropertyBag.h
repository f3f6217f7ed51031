#pragma once
// The property bag: named Variants in insertion order, kept with their exact
// subtype, and a text form that brings every value back bit for bit.
//
// Text form, one entry per line: name TAB vartype TAB value LF (see
// PropertyBagText.h for the value encodings). Reading a text never fails as a
// whole: a damaged line makes only its entry unreadable, and a line whose name
// cannot be read is skipped.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::com {

class PropertyBag {
public:
    // The stored Variant with its subtype, or `deflt` when there is no entry.
    // An unreadable entry raises 13. Names ignore ASCII case.
    Variant ReadProperty(const std::string& name, const Variant& deflt = Variant()) const;
    // Stores `v`. A value identical to a given default (same subtype and value)
    // is not stored, and an entry already under that name is removed, so that
    // reading gives the default. Overwriting keeps the entry's position.
    // An object other than Nothing cannot be stored: 13.
    void WriteProperty(const std::string& name, const Variant& v, const Variant& deflt = Variant::Missing());

    bool Contains(const std::string& name) const;
    std::vector<std::string> Names() const;  // in insertion order, as first written
    void Remove(const std::string& name);

    std::string ToText() const;
    static PropertyBag FromText(const std::string& text);

    // Writes the text form as a new file or in place of a regular file the
    // caller may write (win::ReplaceFileContent: through a new temporary file,
    // so a failed save leaves the old file intact). False with the reason in
    // `why` when the file is not written.
    bool SaveToFile(const std::string& path, std::string* why = nullptr) const;
    // Reads a file written by SaveToFile. A file that cannot be opened raises 53.
    static PropertyBag LoadFromFile(const std::string& path);

private:
    struct Entry {
        std::string name;
        Variant value;
        bool readable = true;
    };

    const Entry* Find(const std::string& name) const;
    void Put(const std::string& name, Variant value, bool readable);

    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> index_;  // ASCII lower-case name → position
};

// Whether a read entry holds a value a data set keeps: not Null, Missing or an
// object (Nothing included). An entry holding one of those counts as damaged.
inline bool HoldsDataValue(const Variant& v) noexcept { return !v.IsNull() && !v.IsMissing() && !v.IsObject(); }

// An object that stores its state in a property bag under names starting with `prefix`.
class IPersistable {
public:
    virtual ~IPersistable() = default;
    virtual void Load(PropertyBag& bag, const std::string& prefix) = 0;
    virtual void Save(PropertyBag& bag, const std::string& prefix) = 0;
};

}  // namespace platform::com
