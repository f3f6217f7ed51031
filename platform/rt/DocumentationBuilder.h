#pragma once
// The documentation document of a page's elements.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class DocumentationBuilder : public com::Object {
public:
    // Root id=docId (title=text when given); one entry per element with
    // ElementMode & mask set, in collection order, filled by WriteToDocVariable.
    std::string BuildDocument(const P<DTMContext>& ctx, const std::string& docId, int32_t mask,
                              const std::string& text);
};

}  // namespace platform::rt
