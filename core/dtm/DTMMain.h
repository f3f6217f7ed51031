#pragma once
// The DTM object the frame creates, one per device instance of the frame's
// project. It builds and wires the instance's objects, persists the instance
// through the frame's property bag, checks the device type of a validated
// connection and serves the frame's FDT operations.
//
// Ownership: the DTM owns the data model, the communication object, the
// function manager and the context; the context holds the DTM only weakly,
// so the frame's last reference ends the whole instance.
//
// Every FDT operation answers False or "" instead of throwing into the frame.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dtm/PageInterfaces.h"
#include "platform/com/IClassInit.h"
#include "platform/com/IPersistPropertyBag.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/fdt/IDtm.h"
#include "platform/rt/ICommObjEvents.h"
#include "platform/rt/IPrivateProcess.h"

namespace platform::rt {
class CommObj;
class DTMContext;
class DtmRuntimeGlobal;
class IPrivateDataModel;
class IPrivateFunctions;
}  // namespace platform::rt

namespace platform::xml {
class Element;
}

namespace dtm {

class DTMMain : public IDtmContextProvider,
                public platform::com::IClassInit,
                public platform::com::IPersistPropertyBag,
                public platform::fdt::IDtm,
                public platform::fdt::IFdtCommunicationEvents,
                public platform::fdt::IDtmActiveXInformation,
                public platform::fdt::IDtmDocumentation,
                public platform::fdt::IDtmOnlineParameter,
                public platform::fdt::IDtmParameter,
                public platform::fdt::IFdtEvents,
                public platform::fdt::IDtmInformation,
                public platform::fdt::IDtmChannel,
                public platform::rt::IPrivateProcess,
                public platform::rt::ICommObjEvents,
                public std::enable_shared_from_this<DTMMain> {
public:
    using Ctx = platform::P<platform::rt::DTMContext>;
    static constexpr const char* kProgId = "RG38N226_4_07.DTMMain";

    // ---- Creation and persistence (DTMMain.cpp, DTMMainPersistence.cpp) ----
    Ctx DTMContext() const override { return m_DTMContext; }
    void Class_Initialize() override;
    void Class_InitProperties() override {}
    void Class_ReadProperties(platform::com::PropertyBag& PropBag) override;
    void Class_WriteProperties(platform::com::PropertyBag& PropBag) override;
    void ConnectionIsValidated(bool& bCancel) override;

    // ---- IDtm (DTMMainOperations.cpp, DTMMainCommunication.cpp) ----
    bool IDtm_Environment(const std::string& SystemTag, const platform::P<platform::com::Object>& container) override;
    bool IDtm_InitNew(const std::string& deviceType) override;
    bool IDtm_Config(const std::string& userInfo) override;
    bool IDtm_SetCommunication(const platform::P<platform::com::Object>& communication) override;
    bool IDtm_PrepareToRelease() override;
    bool IDtm_PrepareToReleaseCommunication() override;
    bool IDtm_ReleaseCommunication() override;
    bool IDtm_PrepareToDelete() override;
    bool IDtm_SetLanguage(int32_t LanguageId) override;
    std::string IDtm_GetFunctions(const std::string& OperationState) override;
    bool IDtm_InvokeFunctionRequest(const std::string& InvokeId, const std::string& FunctionCall) override;
    bool IDtm_PrivateDialogEnabled(bool enabled) override;

    // ---- IFdtCommunicationEvents, IPrivateProcess (DTMMainCommunication.cpp) ----
    void OnAbort(const std::string& CommunicationReference) override;
    void OnConnectResponse(const std::string& InvokeId, const std::string& Response) override;
    void OnDisconnectResponse(const std::string& InvokeId, const std::string& Response) override;
    void OnTransactionResponse(const std::string& InvokeId, const std::string& Response) override;
    void OnProcessProgress(const std::string& InvokeId, int16_t percent,
                           const platform::Variant& ExtraData = platform::Variant::Missing()) override;
    void OnProcessFinished(const std::string& InvokeId,
                           const platform::Variant& ExtraData = platform::Variant::Missing()) override;

    // ---- The other FDT interfaces (DTMMainInterfaces.cpp, DTMMainParameters.cpp) ----
    std::string IDtmActiveXInformation_GetActiveXGuid(const std::string& FunctionCall) override;
    std::string IDtmActiveXInformation_GetActiveXProgId(const std::string& FunctionCall) override;
    std::string IDtmDocumentation_GetDocumentation(const std::string& FunctionCall) override;
    bool IDtmOnlineParameter_CancelAction(const std::string& InvokeId) override;
    bool IDtmOnlineParameter_DownloadRequest(const std::string& InvokeId, const std::string& parameterPath) override;
    bool IDtmOnlineParameter_UploadRequest(const std::string& InvokeId, const std::string& parameterPath) override;
    std::string IDtmParameter_GetParameters(const std::string& parameterPath) override;
    bool IDtmParameter_SetParameters(const std::string& parameterPath, const std::string& FdtXmlDocument) override;
    void IFdtEvents_OnChildParameterChanged(const std::string& SystemTag) override;
    void IFdtEvents_OnParameterChanged(const std::string& SystemTag, const std::string& parameter) override;
    void IFdtEvents_OnLockDataSet(const std::string& SystemTag, const std::string& UserName) override;
    bool IFdtEvents_OnUnlockDataSet(const std::string& SystemTag, const std::string& UserName) override;
    std::string IDtmInformation_GetInformation() override;
    platform::P<platform::fdt::IFdtChannelCollection> IDtmChannel_GetChannels() override;

    // The invoke id of a disconnect being awaited; "" when none.
    const std::string& PendingDisconnectId() const { return m_PendingDisconnectId; }
    bool Attached() const { return m_Attached; }

private:
    static constexpr const char* kRetTrue = "RetValue = TRUE";
    static constexpr const char* kRetFalse = "RetValue = FALSE";

    // The operations' bodies; the public members run them at the frame boundary.
    bool Environment(const std::string& SystemTag, const platform::P<platform::com::Object>& container);
    bool InitNew(const std::string& deviceType);
    bool Config(const std::string& userInfo);
    bool SetCommunication(const platform::P<platform::com::Object>& communication);
    bool PrepareToRelease();
    bool PrepareToReleaseCommunication();
    bool ReleaseCommunication();
    bool PrepareToDelete();
    bool SetLanguage(int32_t LanguageId);
    std::string GetFunctions(const std::string& OperationState);
    bool InvokeFunctionRequest(const std::string& InvokeId, const std::string& FunctionCall);
    void FinishDisconnect(const std::string& InvokeId);
    std::string GetActiveXProgId(const std::string& FunctionCall);
    std::string GetParameters(const std::string& parameterPath);
    bool SetParameters(const std::string& parameterPath, const std::string& FdtXmlDocument);
    std::string GetInformation();
    platform::P<platform::fdt::IFdtChannelCollection> GetChannels();
    // The frame's communication response to the open transaction monitor, errors ignored.
    void ShowOnTransactionMonitor(const std::string& Response) noexcept;
    // "FB1: …" to "FB8: …" and the whole string of the slave parameter set, one a line.
    std::string SlaveSetDump() const;

    void LoadDTMInformation();
    // The "devtype_not_supported" text of a device type, to the frame.
    void ReportUnsupportedType(const platform::rt::DtmRuntimeGlobal& deviceType);
    // "~/DataStatus" to 0 and the pages told, after a load or a store.
    void ResetDataStatus();
    // The internal variables of a running method and of the open transaction
    // monitor back to their initial values: nothing of either survives a new
    // data set.
    void ResetSessionVariables();
    // Whether IDtm_InitNew or a load has built the model. An instance takes
    // one data set for its life: a frame initialises an instance once, new or
    // stored, so a second IDtm_InitNew answers False and a second load (or a
    // load after IDtm_InitNew) fails, and the model, its texts and the elements
    // the open pages show stay as they are. Building the model again would drop
    // the elements the pages are bound to.
    bool HasModel() const;
    // Tells the open pages that "~/DataStatus" changed (when the model exists).
    void NotifyDataStatus();
    void Trace(std::string_view literal, const std::string& message) const;

    platform::P<platform::rt::IPrivateDataModel> m_DataModel;
    platform::P<platform::rt::CommObj> m_CommObj;
    platform::P<platform::rt::IPrivateFunctions> m_FunctionMan;
    Ctx m_DTMContext;
    std::string m_PendingDisconnectId;
    bool m_Attached = false;
};

// The value of an attribute of a DOM node: Empty without a node, "" when the
// node has no such attribute.
platform::Variant GetXmlAttribute(const std::string& name, const platform::P<platform::xml::Element>& node);

}  // namespace dtm
