#pragma once
// The open pages of one DTM instance, held weakly, and the broadcasts to them.
// Broadcasts run over a snapshot: a page unregistered during a pass is skipped,
// and a page that throws is recorded.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;
class IPrivateDataElement;
class IPrivateGUI;

class DtmGuiRegistry : public com::Object {
public:
    explicit DtmGuiRegistry(W<DTMContext> ctx = {}) : context_(std::move(ctx)) {}

    // Held weakly; a null page raises 91. Registering an id again (ignoring
    // case) replaces the entry. Ids ending in "$" are children.
    void RegisterGUI(const std::string& invokeId, const P<IPrivateGUI>& gui, bool topLevel);
    void UnregisterGUI(const std::string& invokeId);

    // Top-level pages only.
    int32_t OpenGuis() const;
    bool AnyGuiOpen() const;
    // CloseGUI on every top-level page; True when all answer True.
    bool CloseAllGuis();
    // MayCloseGUI of every page, children included: True when all would close,
    // so that a frame asks them all before it closes any.
    bool AllGuisMayClose();
    // By invoke id (IsSameInvokeId), or null.
    P<com::Object> FindGui(const std::string& invokeId) const;

    // ParameterChanged on every page, children included; most notices find no page open.
    void NotifyParameterChanged(const P<IPrivateDataElement>& element, const std::string& /*text*/) {
        if (!entries_.empty()) NotifyPagesParameterChanged(element);
    }
    void NotifyParameterSetChanged();
    // ValidateParameters on every page.
    void FlushInput();

    // Default 1033. A let is refused for <= 0, > 0xFFFF or a language the
    // dictionary lacks; else the model and then each page get SetLanguage.
    int32_t LanguageId() const { return languageId_; }
    void LanguageId(int32_t lcid);

    // True while the frame locks the data set. A let stores the state and sends
    // every page LockStateChanged.
    bool LockState() const { return lockState_; }
    void LockState(bool locked);

    // Recorded: the page that has the focus, "" when none.
    void GUIGotFocus(const std::string& invokeId);
    void GUILostFocus(const std::string& invokeId);
    const std::string& FocusedGui() const { return focusedGui_; }

    // Counted only: the number of cycles switched on and not yet off.
    void SetCycleActive(bool active) {
        if (active) ++cycleActiveCount_;
        else if (cycleActiveCount_ > 0) --cycleActiveCount_;
    }
    int32_t CycleActiveCount() const { return cycleActiveCount_; }

private:
    struct Entry {
        std::string invokeId;
        W<IPrivateGUI> gui;
        const IPrivateGUI* key = nullptr;  // identity of the registered page
        bool topLevel = false;
    };

    // Runs `call` on the pages of a snapshot of the entries (top-level ones only
    // when asked), skipping pages gone or unregistered meanwhile. A throw is
    // recorded as trapped at `where` and counts as False. True when every call
    // answered True.
    template <class F>
    bool ForEachPage(bool topLevelOnly, const char* where, F&& call);
    bool IsRegistered(const IPrivateGUI* gui) const;
    void NotifyPagesParameterChanged(const P<IPrivateDataElement>& element);

    W<DTMContext> context_;
    std::vector<Entry> entries_;
    std::string focusedGui_;
    int32_t languageId_ = 1033;
    bool lockState_ = false;
    int32_t cycleActiveCount_ = 0;
};

}  // namespace platform::rt
