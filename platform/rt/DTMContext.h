#pragma once
// The runtime context of one DTM instance: its identity in the frame, its
// element collection and the runtime services, reached by every part of the
// component through the DTM object.
//
// Ownership: the context owns its collection, services, device type, user,
// path info, state object, registered objects, the model and the function
// manager. It holds the DTM object and the frame's container weakly, so
// dropping the DTM's last reference destroys the whole instance.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::com {
class IPersistable;
class PropertyBag;
}  // namespace platform::com
namespace platform::fdt {
class IDtmEvents;
class IFdtContainer;
}  // namespace platform::fdt

namespace platform::rt {

class CommObj;
class DtmCommService;
class DtmGuiRegistry;
class DtmPathInfo;
class DtmRuntimeGlobal;
class IPrivateDataModel;
class IPrivateFunctions;
class LanguageDictionary;
class OnlineService;
class ParameterService;
class Parameters;
class UserInfo;

class DTMContext : public com::Object, public std::enable_shared_from_this<DTMContext> {
    struct CreateKey {};

public:
    // A context with its collection (and channel list), services, device type,
    // user and path info created and bound to it.
    static P<DTMContext> Create();
    explicit DTMContext(CreateKey);
    DTMContext(const DTMContext&) = delete;
    DTMContext& operator=(const DTMContext&) = delete;
    ~DTMContext() override;

    // Binds the instance's objects; the DTM is held weakly, the CommObj becomes
    // the communication service's object, the model the collection's model.
    void InitContext(const P<com::Object>& dtm, const P<IPrivateDataModel>& model,
                     const P<CommObj>& commObj, const P<IPrivateFunctions>& functions);
    // The DTM object; null once it is gone.
    P<com::Object> Dtm() const { return dtm_.lock(); }

    // "" until the frame's environment is known.
    const std::string& SystemTag() const { return systemTag_; }
    void SystemTag(const std::string& tag) { systemTag_ = tag; }
    // The frame's container, held weakly; null before the environment. Letting
    // it also takes its IDtmEvents face (when it has one) as DTMEvents.
    P<fdt::IFdtContainer> Container() const;
    void Container(const P<fdt::IFdtContainer>& container);
    P<fdt::IDtmEvents> DTMEvents() const;
    void DTMEvents(const P<fdt::IDtmEvents>& events);

    void LoadData(com::PropertyBag& bag);
    // The elements of the last LoadData that did not take their stored value
    // (ReadFromPropBag answered False), in the data set's order.
    const std::vector<std::string>& EntriesNotTaken() const noexcept { return entriesNotTaken_; }
    void SaveData(com::PropertyBag& bag);
    void InitNewInstance(const P<DtmRuntimeGlobal>& probe);
    // Keeps the object for the instance's life; it is persisted under the key
    // prefix typeName + ".".
    void RegisterObject(const P<com::IPersistable>& object, const std::string& typeName,
                        const Variant& arg1 = Variant::Missing(),
                        const Variant& arg2 = Variant::Missing());

    // Recorded, and sent to the frame as OnErrorMessage(SystemTag, text).
    void ReportError(const std::string& text) noexcept;
    const std::vector<std::string>& ReportedErrors() const noexcept { return reportedErrors_; }
    // 1 OK, 2 Cancel, 6 Yes, 7 No.
    int32_t MsgBox(const std::string& prompt, int32_t buttons,
                   const Variant& title = Variant::Missing(),
                   const Variant& help = Variant::Missing(),
                   const Variant& context = Variant::Missing());
    // The "keys" text with its references expanded; a missing key gives the
    // key itself and False.
    bool LangText(const std::string& key, std::string& text);

    bool PrivateDialogEnabled() const { return privateDialogEnabled_; }
    void PrivateDialogEnabled(bool enabled) { privateDialogEnabled_ = enabled; }

    P<DtmPathInfo> PathInfo() const { return pathInfo_; }
    // Never null.
    P<DtmRuntimeGlobal> DeviceType() const { return deviceType_; }
    P<rt::UserInfo> UserInfo() const { return userInfo_; }
    // UserInfo()->UserLevel().
    int32_t UserLevel() const;
    P<rt::ParameterService> ParameterService() const { return parameterService_; }
    const P<rt::OnlineService>& OnlineService() const { return onlineService_; }
    const P<rt::Parameters>& Parameters() const { return parameters_; }
    const P<DtmGuiRegistry>& GuiRegistry() const { return guiRegistry_; }
    P<LanguageDictionary> Dictionary() const { return dictionary_; }
    const P<DtmCommService>& CommService() const { return commService_; }
    // The function manager given to InitContext.
    P<IPrivateFunctions> Functions() const { return functions_; }
    // Exactly the object set.
    P<com::Object> StateObject() const { return stateObject_; }
    void StateObject(const P<com::Object>& state) { stateObject_ = state; }

private:
    struct RegisteredObject {
        P<com::IPersistable> object;
        std::string typeName;
        Variant arg1;
        Variant arg2;
    };

    W<com::Object> dtm_;
    P<IPrivateDataModel> model_;
    P<IPrivateFunctions> functions_;
    std::string systemTag_;
    W<fdt::IFdtContainer> container_;
    W<fdt::IDtmEvents> events_;
    bool privateDialogEnabled_ = false;

    P<DtmPathInfo> pathInfo_;
    P<DtmRuntimeGlobal> deviceType_;
    P<rt::UserInfo> userInfo_;
    P<rt::ParameterService> parameterService_;
    P<rt::OnlineService> onlineService_;
    P<rt::Parameters> parameters_;
    P<DtmGuiRegistry> guiRegistry_;
    P<LanguageDictionary> dictionary_;
    P<DtmCommService> commService_;
    P<com::Object> stateObject_;
    std::vector<RegisteredObject> registered_;
    std::vector<std::string> reportedErrors_;
    std::vector<std::string> entriesNotTaken_;
};

}  // namespace platform::rt
