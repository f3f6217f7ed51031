#include "platform/rt/DtmGuiRegistry.h"

#include <algorithm>

#include "platform/app/ErrorSink.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/LanguageDictionary.h"

namespace platform::rt {

namespace {

bool SameId(const std::string& a, const std::string& b) {
    return com::vb::StrComp(a, b, com::vb::vbTextCompare) == 0;
}

}  // namespace

template <class F>
bool DtmGuiRegistry::ForEachPage(bool topLevelOnly, const char* where, F&& call) {
    if (entries_.empty()) return true;  // no page open: no snapshot to take
    const std::vector<Entry> snapshot = entries_;
    bool allTrue = true;
    for (const auto& entry : snapshot) {
        if (topLevelOnly && !entry.topLevel) continue;
        auto gui = entry.gui.lock();
        if (!gui || !IsRegistered(gui.get())) continue;
        try {
            if (!call(*gui)) allTrue = false;
        } catch (...) {
            app::ErrorSink::Instance().RecordCurrentException(where);
            allTrue = false;
        }
    }
    return allTrue;
}

bool DtmGuiRegistry::IsRegistered(const IPrivateGUI* gui) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [gui](const Entry& e) { return e.key == gui; });
}

void DtmGuiRegistry::RegisterGUI(const std::string& invokeId, const P<IPrivateGUI>& gui,
                                 bool topLevel) {
    com::Deref(gui);
    Entry entry{invokeId, gui, gui.get(), topLevel};
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return SameId(e.invokeId, invokeId); });
    if (it != entries_.end())
        *it = std::move(entry);
    else
        entries_.push_back(std::move(entry));
}

void DtmGuiRegistry::UnregisterGUI(const std::string& invokeId) {
    std::erase_if(entries_, [&](const Entry& e) { return SameId(e.invokeId, invokeId); });
}

int32_t DtmGuiRegistry::OpenGuis() const {
    return static_cast<int32_t>(std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) {
        return e.topLevel && !e.gui.expired();
    }));
}

bool DtmGuiRegistry::AnyGuiOpen() const { return OpenGuis() > 0; }

bool DtmGuiRegistry::CloseAllGuis() {
    return ForEachPage(true, "IPrivateGUI.CloseGUI", [](IPrivateGUI& gui) { return gui.CloseGUI(); });
}

bool DtmGuiRegistry::AllGuisMayClose() {
    return ForEachPage(false, "IPrivateGUI.MayCloseGUI", [](const IPrivateGUI& gui) { return gui.MayCloseGUI(); });
}

P<com::Object> DtmGuiRegistry::FindGui(const std::string& invokeId) const {
    if (invokeId.empty()) return nullptr;
    for (const auto& entry : entries_)
        if (SameId(entry.invokeId, invokeId))
            if (auto gui = entry.gui.lock()) return gui;
    return nullptr;
}

void DtmGuiRegistry::NotifyPagesParameterChanged(const P<IPrivateDataElement>& element) {
    ForEachPage(false, "IPrivateGUI.ParameterChanged", [&](IPrivateGUI& gui) {
        gui.ParameterChanged(element);
        return true;
    });
}

void DtmGuiRegistry::NotifyParameterSetChanged() {
    ForEachPage(false, "IPrivateGUI.ParameterSetChanged", [](IPrivateGUI& gui) {
        gui.ParameterSetChanged();
        return true;
    });
}

void DtmGuiRegistry::FlushInput() {
    ForEachPage(false, "IPrivateGUI.ValidateParameters", [](IPrivateGUI& gui) {
        gui.ValidateParameters();
        return true;
    });
}

void DtmGuiRegistry::LanguageId(int32_t lcid) {
    constexpr int32_t kMaxLcid = 0xFFFF;
    if (lcid <= 0 || lcid > kMaxLcid) return;
    auto ctx = context_.lock();
    if (!ctx || !ctx->Dictionary()->HasLanguage(lcid)) return;
    languageId_ = lcid;
    if (auto model = ctx->Parameters()->DataModel()) model->SetLanguage(ctx, lcid);
    ForEachPage(false, "IPrivateGUI.SetLanguage", [lcid](IPrivateGUI& gui) {
        gui.SetLanguage(lcid);
        return true;
    });
}

void DtmGuiRegistry::LockState(bool locked) {
    lockState_ = locked;
    ForEachPage(false, "IPrivateGUI.LockStateChanged", [locked](IPrivateGUI& gui) {
        gui.LockStateChanged(locked);
        return true;
    });
}

void DtmGuiRegistry::GUIGotFocus(const std::string& invokeId) { focusedGui_ = invokeId; }

void DtmGuiRegistry::GUILostFocus(const std::string& invokeId) {
    if (SameId(focusedGui_, invokeId)) focusedGui_.clear();
}

}  // namespace platform::rt
