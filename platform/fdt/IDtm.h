#pragma once
// The DTM's main FDT interface, as the frame calls it. Results are FDT
// Booleans; no call ever throws into the frame.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::fdt {

class IDtm : public virtual com::Object {
public:
    virtual bool IDtm_Environment(const std::string& SystemTag, const P<com::Object>& container) = 0;
    virtual bool IDtm_InitNew(const std::string& deviceType) = 0;
    virtual bool IDtm_Config(const std::string& userInfo) = 0;
    virtual bool IDtm_SetCommunication(const P<com::Object>& communication) = 0;
    virtual bool IDtm_PrepareToRelease() = 0;
    virtual bool IDtm_PrepareToReleaseCommunication() = 0;
    virtual bool IDtm_ReleaseCommunication() = 0;
    virtual bool IDtm_PrepareToDelete() = 0;
    virtual bool IDtm_SetLanguage(int32_t LanguageId) = 0;
    virtual std::string IDtm_GetFunctions(const std::string& OperationState) = 0;
    virtual bool IDtm_InvokeFunctionRequest(const std::string& InvokeId, const std::string& FunctionCall) = 0;
    virtual bool IDtm_PrivateDialogEnabled(bool enabled) = 0;
};

}  // namespace platform::fdt
