#pragma once
// The DTM's function manager as the runtime and the DTM object call it.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;
class DtmFunctionCall;
class OperationPhase;

class IPrivateFunctions : public virtual com::Object {
public:
    virtual bool OnGUIRequest(const P<DTMContext>& ctx, const std::string& guiInvokeId,
                              int32_t requestCode, const Variant& extraData = Variant::Missing()) = 0;
    virtual std::string GetFunctions(const P<DTMContext>& ctx, const P<OperationPhase>& opPhase) = 0;
    virtual bool InvokeFunctionRequest(const P<DTMContext>& ctx, const std::string& invokeId,
                                       const P<DtmFunctionCall>& funcCall) = 0;
    virtual std::string GetActiveXProgId(const P<DTMContext>& ctx,
                                         const P<DtmFunctionCall>& funcCall) = 0;
    virtual std::string GetDocumentation(const P<DTMContext>& ctx,
                                         const P<DtmFunctionCall>& funcCall) = 0;

    // The control path a page's navigation should open next: written by a
    // function call from outside, read and cleared by the navigation.
    virtual std::string ControlPfad() const = 0;
    virtual void ControlPfad(const std::string& path) = 0;
};

}  // namespace platform::rt
