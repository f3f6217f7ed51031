#pragma once
// The raised-error model: a VB error becomes a ComError exception carrying the
// error number, source, description and help reference.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

namespace platform::com {

class ComError : public std::exception {
public:
    ComError(int32_t number, std::string description, std::string source = {},
             std::string helpFile = {}, int32_t helpContext = 0);
    const char* what() const noexcept override { return description.c_str(); }

    int32_t number;
    std::string source;
    std::string description;
    std::string helpFile;
    int32_t helpContext;
};

// Standard VB error numbers used across the component.
enum ErrorNumber : int32_t {
    errInvalidArgument = 5,
    errOverflow = 6,
    errSubscript = 9,
    errDivisionByZero = 11,
    errTypeMismatch = 13,
    errDispatchDepth = 28,
    errFileNotFound = 53,
    errObjectNotSet = 91,
    errInvalidNull = 94,
    errBadPropertyValue = 380,
    errCannotCreate = 429,
    errNoSuchMember = 438,
    errDuplicateKey = 457,
    errBadPicture = 481,
};

// The standard VB text of an error number ("Overflow", "Type mismatch", ...).
std::string StandardErrorText(int32_t number);

// Raises VB error `number`; an empty text gives the standard text.
[[noreturn]] void Raise(int32_t number, const std::string& description = {},
                        const std::string& source = {});

// Dereferences an object reference; Nothing raises error 91.
template <class T>
T& Deref(const std::shared_ptr<T>& p) {
    if (!p) Raise(errObjectNotSet);
    return *p;
}

}  // namespace platform::com
