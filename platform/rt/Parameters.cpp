#include "platform/rt/Parameters.h"

#include <algorithm>

#include "platform/com/Error.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateDataModel.h"

namespace platform::rt {

namespace {

constexpr size_t kMaxDispatchDepth = 64;

inline unsigned char AsciiLower(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) noexcept {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(static_cast<unsigned char>(text[i])) != AsciiLower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

std::string AnchorPath(const Variant& anchor) {
    if (anchor.IsMissing()) return {};
    return com::CStr(anchor);
}

}  // namespace

size_t Parameters::PathHash::operator()(std::string_view s) const noexcept {
    // FNV-1a over the lower-cased bytes.
    size_t h = 1469598103934665603ull;
    for (unsigned char c : s) {
        h ^= AsciiLower(c);
        h *= 1099511628211ull;
    }
    return h;
}

bool Parameters::PathEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

El Parameters::Item(const std::string& path) const {
    El el = Find(path);
    if (!el) com::Raise(com::errInvalidArgument);
    return el;
}

El Parameters::Item(int32_t i) const {
    if (i < 1 || i > Count()) com::Raise(com::errInvalidArgument);
    return items_[static_cast<size_t>(i - 1)];
}

El Parameters::Find(std::string_view path) const noexcept {
    auto it = byPath_.find(path);
    return it == byPath_.end() ? nullptr : it->second;
}

size_t Parameters::PositionOf(const Variant& anchor) const {
    El target = Find(AnchorPath(anchor));
    if (!target) com::Raise(com::errInvalidArgument);
    auto it = std::find(items_.begin(), items_.end(), target);
    return static_cast<size_t>(it - items_.begin());
}

void Parameters::Add(El el, const Variant& beforePath, const Variant& afterPath) {
    if (!el) com::Raise(com::errObjectNotSet);
    const bool hasBefore = !beforePath.IsMissing();
    const bool hasAfter = !afterPath.IsMissing();
    if (hasBefore && hasAfter) com::Raise(com::errInvalidArgument);

    size_t pos = items_.size();
    if (hasBefore) pos = PositionOf(beforePath);
    if (hasAfter) pos = PositionOf(afterPath) + 1;

    std::string path = el->Name();
    if (byPath_.find(std::string_view(path)) != byPath_.end()) com::Raise(com::errDuplicateKey);
    byPath_.emplace(path, el);
    paths_.insert(paths_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(path));
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(el));
}

void Parameters::Reset() {
    items_.clear();
    paths_.clear();
    byPath_.clear();
    dispatchStack_.clear();
    if (channels_) channels_->Clear();
}

std::vector<El> Parameters::ElementsUnder(std::string_view prefix, size_t minLength) const {
    std::vector<El> found;
    for (size_t i = 0; i < items_.size(); ++i) {
        const std::string& name = paths_[i];
        if (name.size() >= minLength && StartsWithIgnoringCase(name, prefix)) found.push_back(items_[i]);
    }
    return found;
}

std::vector<El> Parameters::Children(std::string_view header) const {
    return ElementsUnder(header, header.size() + 1);
}

std::vector<El> Parameters::StartingWith(std::string_view path) const { return ElementsUnder(path, path.size()); }

void Parameters::NotifyChange(El el, const std::string& text) {
    if (!el) com::Raise(com::errObjectNotSet);
    // The caller has changed the element, so the mark is set on every exit,
    // also when the model's change handling fails and the pages are skipped.
    struct Mark {
        bool& modified;
        ~Mark() { modified = true; }
    } mark{modified_};
    const bool dispatching =
        std::find(dispatchStack_.begin(), dispatchStack_.end(), el.get()) != dispatchStack_.end();
    if (!dispatching) {
        if (auto model = DataModel()) {
            if (dispatchStack_.size() >= kMaxDispatchDepth) com::Raise(com::errDispatchDepth);
            dispatchStack_.push_back(el.get());
            // Popped on every exit; a Reset inside the dispatch may have emptied the stack.
            struct Pop {
                std::vector<IPrivateDataElement*>& stack;
                ~Pop() {
                    if (!stack.empty()) stack.pop_back();
                }
            } pop{dispatchStack_};
            model->DataChanged(el, Context());
        }
    }
    NotifyPages(el, text);
}

void Parameters::NotifyChanged(El el, const std::string& text) {
    if (!el) com::Raise(com::errObjectNotSet);
    NotifyPages(el, text);
    modified_ = true;
}

void Parameters::NotifyPages(const El& el, const std::string& text) {
    if (auto registry = Registry()) registry->NotifyParameterChanged(el, text);
}

P<DtmGuiRegistry> Parameters::Registry() const {
    auto ctx = Context();
    return ctx ? ctx->GuiRegistry() : nullptr;
}

bool Parameters::DataSetReady() const noexcept { return !model_.expired() && !updateInProgress_; }

void Parameters::DataSetState(int32_t value) noexcept {
    dataSetState_ = value;
    modified_ = true;
}

void Parameters::BeginSetParameters() {
    ++setParametersDepth_;
    updateInProgress_ = true;
}

void Parameters::EndSetParameters() {
    if (setParametersDepth_ == 0) return;
    if (--setParametersDepth_ > 0) return;
    struct Finish {
        Parameters& self;
        ~Finish() {
            self.updateInProgress_ = false;
            self.modified_ = true;
        }
    } finish{*this};
    if (auto model = DataModel()) model->DataSetChanged(Context());
    if (auto registry = Registry()) registry->NotifyParameterSetChanged();
}

void Parameters::OnChildParameterChanged(const std::string& tag, const std::string& arg) {
    parameterEvents_.emplace_back(tag, arg);
}

void Parameters::OnParameterChanged(const std::string& tag, const std::string& arg) {
    parameterEvents_.emplace_back(tag, arg);
}

void Parameters::OnLockDataSet(const std::string&) {
    if (auto registry = Registry()) registry->LockState(true);
}

bool Parameters::OnUnlockDataSet(const std::string&) {
    if (auto registry = Registry()) registry->LockState(false);
    return true;
}

}  // namespace platform::rt
