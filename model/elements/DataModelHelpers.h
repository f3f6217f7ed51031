#pragma once
// The element factory and the slot and index rule of the parameter model.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/elements/clsDataElement.h"
#include "platform/com/Variant.h"
#include "platform/rt/Parameters.h"

namespace platform::rt {
class DTMContext;
class Parameters;
}

namespace dtm {

class clsChannel;

// Data length in bytes that a value type code fixes (14: -1, open).
int32_t ValueTypeDataLength(int32_t valueType);

// Creates an element with the factory's defaults and adds it to `params` (at the
// end, or in front of beforePath, or right behind afterPath). A negative length
// is derived from the value type; an octet string with a scalar initial value
// gets a Byte array of its length filled with that value (not a Byte → 6/13).
platform::P<clsDataElement> AddParam(platform::rt::Parameters& params, const std::string& name,
                                     const platform::Variant& initialValue, int32_t valueType,
                                     int32_t valueTypeLength,
                                     const platform::Variant& beforePath = platform::Variant::Missing(),
                                     const platform::Variant& afterPath = platform::Variant::Missing());

// Whether `name` is `prefix` followed by `rest` (exact, case-sensitive), without
// building the path.
inline bool IsPathOf(std::string_view name, std::string_view prefix, std::string_view rest) noexcept {
    return name.size() == prefix.size() + rest.size() && name.starts_with(prefix) && name.ends_with(rest);
}

// The element at `path` of the collection (a miss raises 5).
platform::P<clsDataElement> ElementAt(const platform::rt::Parameters& params, const std::string& path);
// The element at `prefix` & `path`, or null (also for an element of another
// kind); looked up without building the path.
platform::P<clsDataElement> FindElementAt(const platform::rt::Parameters& params, std::string_view prefix,
                                          std::string_view path);
// The element at `prefix` & `path`, looked up without building the path.
platform::P<clsDataElement> ElementAt(const platform::rt::Parameters& params, std::string_view prefix,
                                      std::string_view path);

// A handler's elements at a block prefix & each of its static paths, looked up
// once until the collection changes (Parameters::ElementsAt) instead of by path
// on every notice.
class ElementsAtPaths {
public:
    // `number` and `prefix` name the block (one number, one prefix for the list).
    ElementsAtPaths(const platform::rt::Parameters& params, const platform::rt::PathList& paths, int32_t number,
                    std::string_view prefix)
        : table_(params.ElementsAt(paths, number, prefix)) {}
    // Whether `element` is the one at paths[i].
    bool Is(size_t i, const clsDataElement& element) const noexcept { return (*table_)[i].get() == &element; }
    // The element at paths[i]; one the collection lacks raises 5, as ElementAt does.
    const platform::rt::El& Item(size_t i) const;
    // The same as an element of the model, or null for one of another kind, as ElementAt answers.
    platform::P<clsDataElement> Element(size_t i) const;
    // The element of the model at paths[i]; one of another kind raises 91.
    clsDataElement& operator[](size_t i) const;
    // The same, or null for a path the collection lacks or an element of another kind.
    clsDataElement* Find(size_t i) const noexcept;

private:
    std::shared_ptr<const std::vector<platform::rt::El>> table_;
};

// Whether `element` is the element at `prefix` followed by one of the list's
// paths from `from` on, under exactly that name (case counts, as in IsPathOf),
// found through the list's table instead of by comparing the name with each
// path; a name of a length that no path gives is ruled out first.
inline bool IsElementAtPaths(const clsDataElement& element, const platform::rt::Parameters& params,
                             const platform::rt::PathList& paths, int32_t number, std::string_view prefix,
                             size_t from = 0) {
    const size_t length = element.Name.size();
    if (length < prefix.size() || !paths.MayHaveLength(length - prefix.size())) return false;
    const std::vector<platform::rt::El>& table = *params.ElementsAt(paths, number, prefix);
    for (size_t i = from; i < table.size(); ++i)
        if (table[i].get() == &element) return IsPathOf(element.Name, prefix, paths.Paths()[i]);
    return false;
}

// Sets Slot and index from BlockType, BlockNumber and RelIndex; elements outside
// the blocks stay as they are. An index beyond 16 bits → 6.
void CalcSlotIndex(clsDataElement& element);

// Called after a channel took over new channel parameters from the frame;
// nothing follows from it.
void OnChannelParamsSet(clsChannel& channel, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

}  // namespace dtm
