#pragma once
// A function call of the frame: function id, optional argument and control path.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class DtmFunctionCall : public com::Object {
public:
    // The first FunctionCall element with a numeric functionId; an optional
    // `argument` (number → Long, else String) and `controlPath` (written into
    // the function manager's ControlPfad). Never throws.
    bool Parse(const std::string& xml, const P<DTMContext>& ctx);

    int32_t FunctionId() const { return functionId_; }
    void FunctionId(int32_t id) { functionId_ = id; }
    // Empty when absent.
    Variant Argument() const { return argument_; }
    void Argument(const Variant& value) { argument_ = value; }

    // <FDT><FunctionCall functionId=".." [argument=".."]/></FDT>
    std::string Render(const P<DTMContext>& ctx) const;

private:
    int32_t functionId_ = 0;
    Variant argument_;
};

}  // namespace platform::rt
