#pragma once
// The page template: what every page of the component carries. The frame (or
// a parent page) creates a page by program id, initialises it with an invoke
// id, the function call and the DTM object, and releases it; in between the
// runtime drives its rows through the IPrivateGUI members.
//
// A page is configured by its traits: leaf or container, whether a container
// initialises its child pages before or after its own InitControls, whether
// the release hides its window, whether it has a Show handler and a help
// pane. The template members are virtual; a page overrides and calls the base.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ctl/ctlParamHelp.h"
#include "platform/ctl/ctlParamSite.h"
#include "platform/fdt/IDtmActiveXControl.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/UserControl.h"

namespace dtm {

class IDtmContextProvider;
class clsParamLink;
class ctlHeadline;
class ctlStatus;

// A window's handlers of its status bar's three request events (empty: not connected).
struct CycleRequestHandlers {
    std::function<void(platform::rt::TransGrp&)> onAddDiagnose, onAddCycle, onRemove;
};

enum class ChildInit { Before, After };

struct PageTraits {
    const char* className = "";
    bool container = false;
    ChildInit childInit = ChildInit::After;
    bool hideOnRelease = true;
    bool showHandler = true;
    bool helpPane = true;
    bool alwaysChild = false;  // registers as not top-level whatever its id
};

class PageBase : public platform::ui::UserControl,
                 public platform::fdt::IDtmActiveXControl,
                 public platform::rt::IPrivateGUI {
public:
    explicit PageBase(const PageTraits& traits) : traits_(traits) {}
    ~PageBase() override;
    std::string TypeName() const override { return traits_.className; }
    const PageTraits& Traits() const { return traits_; }

    // ---- IDtmActiveXControl ----
    // A failure part way (InitControls or a child's Init raising) runs the
    // release steps tolerantly and passes the error on: the page is never
    // left half registered.
    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;
    bool PrepareToRelease() override;
    // ---- IPrivateGUI ----
    bool CloseGUI() override;
    void LockStateChanged(bool lockState) override;
    void ParameterChanged(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void ParameterSetChanged() override;
    void ValidateParameters() override;
    void SetLanguage(int32_t languageId) override;

    const std::string& InvokeId() const { return m_InvokeId; }
    bool Initialised() const { return !m_InvokeId.empty(); }
    bool TopLevel() const { return Initialised() && !traits_.alwaysChild && m_InvokeId.back() != '$'; }
    platform::P<platform::rt::DTMContext> GetContext() const;
    // TraceOut with page name & "-" & member.
    void Trace(const std::string& member, const std::string& message, bool withContext = true) const;

    // ---- control events ----
    void EnterFocus() override;
    void ExitFocus() override;
    void Show() override;
    void AmbientChanged(const std::string& name) override;
    void Terminate() noexcept override;
    // A "page" line: its invoke id, top or child, initialised or released.
    void Describe(platform::ui::Description& d) const override;

    platform::P<platform::ctl::ctlParamSite> ctlParamSite1;
    platform::P<platform::ctl::ctlParamHelp> ctlParamHelp1;

protected:
    // Places the site and, with a help pane, ctlParamHelp1 (call from BuildForm).
    void PlaceTemplateControls();
    // Places the status bar "ctlStatus" with its design CyclicRefresh and
    // connects the window's handlers of its request events (call from BuildForm).
    platform::P<ctlStatus> PlaceStatusBar(bool cyclicRefresh, const CycleRequestHandlers& handlers = {});

    virtual void InitControls();
    virtual void InitLanguageDependedControls(int32_t languageId);
    virtual bool ExitControls();
    virtual void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element);
    virtual void UpdateAllParameterCtls();
    virtual void ValidateAllParameterCtls();
    virtual void SetLockState(bool editable);
    // Sets up the template link before the site takes it (online mode set).
    virtual void ConfigureLink(clsParamLink& /*link*/) {}
    // In InitControls, right after the site took its rows and the lock.
    virtual void AfterSiteInit() {}
    // After a successful Init.
    virtual void AfterInit() {}
    // Show's navigation: ShowControl on the pending path ("" for pages
    // without navigation: nothing to show).
    virtual bool ShowPending() { return false; }

    // Title from the device type's name, DTMTag from "~/Tag", the RXD 214
    // picture when "~/RXD214" is the device type's name, else the RXD 218 one.
    void FillHeadline(ctlHeadline& headline) const;
    // The function call and the DTM object of the last Init (empty and null once released);
    // a container hands them to the child pages it initialises itself.
    const std::string& FunctionCall() const { return functionCall_; }
    const platform::P<platform::com::Object>& Dtm() const { return dtm_; }

    // The dictionary's "keys" text of `key`, unexpanded; "" when it has none.
    std::string KeyText(const std::string& key) const;

private:
    void InitChildren(const std::string& functionCall, const platform::P<platform::com::Object>& dtm);
    bool ReleaseChildren();
    // The release steps after Init failed part way; errors are ignored.
    void ReleaseTolerantly() noexcept;
    // Unregisters the page, errors ignored, and forgets the last Init.
    void UnregisterTolerantly() noexcept;
    // Forgets the invoke id, the function call and the DTM object of the last Init.
    void ForgetInit() noexcept;

    PageTraits traits_;
    platform::P<platform::com::Object> dtm_;
    // dtm_ as the context's provider, found once at Init: pages ask for the
    // context on every notice.
    IDtmContextProvider* contextProvider_ = nullptr;
    std::string functionCall_;
    std::string m_InvokeId;
};

}  // namespace dtm
