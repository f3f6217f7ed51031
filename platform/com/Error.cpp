#include "platform/com/Error.h"

namespace platform::com {

ComError::ComError(int32_t number_, std::string description_, std::string source_,
                   std::string helpFile_, int32_t helpContext_)
    : number(number_), source(std::move(source_)), description(std::move(description_)),
      helpFile(std::move(helpFile_)), helpContext(helpContext_) {}

std::string StandardErrorText(int32_t number) {
    switch (number) {
        case 5: return "Invalid procedure call or argument";
        case 6: return "Overflow";
        case 9: return "Subscript out of range";
        case 11: return "Division by zero";
        case 13: return "Type mismatch";
        case 28: return "Out of stack space";
        case 53: return "File not found";
        case 91: return "Object variable or With block variable not set";
        case 94: return "Invalid use of Null";
        case 380: return "Invalid property value";
        case 429: return "ActiveX component can't create object";
        case 438: return "Object doesn't support this property or method";
        case 457: return "This key is already associated with an element of this collection";
        case 481: return "Invalid picture";
        default: return "Application-defined or object-defined error";
    }
}

void Raise(int32_t number, const std::string& description, const std::string& source) {
    throw ComError(number, description.empty() ? StandardErrorText(number) : description, source);
}

}  // namespace platform::com
