#pragma once
// The DTM's functions: the "DTMFunctions" list the frame may offer, the page
// that serves a function call, the print function (501) and the pages' GUI
// requests. One per DTM instance, handed to the context.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"
#include "platform/rt/IPrivateFunctions.h"

namespace platform::rt {
class FunctionList;
}

namespace dtm {

enum GUIRequestCode : int32_t {
    drcNoRequest = 0,
    drcPrintRequest = 1,
    drcSaveRequest = 2,
};

// The page of a function id ("RG38N226_4_07.ctlOffline" for 1); "" when the id has none.
std::string FunctionProgId(int32_t functionId);
// The window-limit page.
inline constexpr const char* kNoMoreWindowsProgId = "RG38N226_4_07.ctlNoMoreWindows";
inline constexpr int32_t kPrintFunctionId = 501;
inline constexpr int32_t kTransactionMonitorFunctionId = 97;

// Applies the rules of "Resources\DTM.ini" and the online state to the list.
void FilterFunctions(const platform::P<platform::rt::DTMContext>& DTMContext, platform::rt::FunctionList& list);

class clsFunctionMan : public platform::rt::IPrivateFunctions {
public:
    using Ctx = platform::P<platform::rt::DTMContext>;
    using Call = platform::P<platform::rt::DtmFunctionCall>;

    // Public field for the runtime; not used here.
    platform::P<platform::rt::OperationPhase> OperationPhase;

    std::string ControlPfad() const override { return m_ControlPfad; }
    void ControlPfad(const std::string& path) override { m_ControlPfad = path; }

    bool OnGUIRequest(const Ctx& DTMContext, const std::string& GUIInvokeId, int32_t requestCode,
                      const platform::Variant& ExtraData = platform::Variant::Missing()) override;
    std::string GetFunctions(const Ctx& DTMContext, const platform::P<platform::rt::OperationPhase>& OpPhase) override;
    bool InvokeFunctionRequest(const Ctx& DTMContext, const std::string& InvokeId, const Call& FuncCall) override;
    std::string GetActiveXProgId(const Ctx& DTMContext, const Call& FuncCall) override;
    std::string GetDocumentation(const Ctx& DTMContext, const Call& FuncCall) override;

    // The invoke id of the request being handled; "" between requests.
    const std::string& PendingInvokeId() const { return m_PendingInvokeId; }

private:
    std::string m_ControlPfad;
    std::string m_PendingInvokeId;
};

}  // namespace dtm
