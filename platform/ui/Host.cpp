#include "platform/ui/Host.h"

#include "platform/com/VbText.h"
#include "platform/ui/Environment.h"

namespace platform::ui {

Host::Host(P<UserControl> page, float width, float height) : page_(std::move(page)) {
    com::Deref(page_);
    page_->host_ = this;
    Environment::Instance().AddHost(*this);
    if (!page_->Created()) page_->Create();
    page_->Move(0, 0, width, height);
}

Host::~Host() {
    Environment::Instance().RemoveHost(*this);
    if (page_ && page_->host_ == this) page_->host_ = nullptr;
}

void Host::SetShown(bool shown) {
    if (!page_ || shown == shown_) return;
    ShowHideScope scope(*page_);
    shown_ = shown;
    scope.Raise();
}

void Host::Show() {
    SetShown(true);
    // The page takes the focus unless one of its controls took it while shown.
    for (const Control* c = focus_.Focused(); c; c = c->Parent())
        if (c == page_.get()) return;
    if (page_ && FocusManager::CanFocus(*page_)) focus_.SetFocus(*page_);
}

void Host::Hide() { SetShown(false); }

void Host::Resize(float width, float height) {
    if (page_) page_->Move(page_->Left(), page_->Top(), width, height);
}

void Host::SetAmbient(const std::string& name, const Variant& value) {
    if (com::vb::UCase(name) != "LOCALEID") com::Raise(com::errInvalidArgument, "Unknown ambient property");
    ambient_.LocaleID = com::CLng(value);
    if (!page_) return;
    const auto keep = page_;
    for (UserControl* u : UserControlsUnder(*page_)) u->AmbientChanged("LocaleID");
}

void Host::Drop() {
    Hide();
    if (!page_) return;
    focus_.Forget(*page_);
    auto page = std::move(page_);
    page->host_ = nullptr;
}

}  // namespace platform::ui
