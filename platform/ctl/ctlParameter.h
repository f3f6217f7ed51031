#pragma once
// The parameter row of the control library: label, value, unit and status
// icon of one model element. Its link writes the properties; the row raises
// its events (IRowEvents) for user input only, never when code writes them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"
#include "platform/rt/IPrivateDataElement.h"
#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"

namespace platform::ctl {

// Row kinds (ControlType).
enum RowKind : int32_t {
    kRowNotChosen = 0,
    kRowPlain = 1,
    kRowChosenForType10 = 2,
    kRowValueList = 3,
    kRowBitList = 4,
    kRowCommand = 5,
};

// What a row tells its link: the user's input, by event.
class IRowEvents {
public:
    virtual ~IRowEvents() = default;
    virtual void OnChange() = 0;
    virtual void OnClick() = 0;
    virtual void OnStartEdit() = 0;
    virtual void OnEndEdit(bool commit) = 0;
    virtual void OnMenuClick(int32_t item) = 0;
    virtual void OnKeyDown(int32_t& keyCode, int32_t shift) = 0;
};

class ctlParameter : public ui::Control {
public:
    std::string TypeName() const override { return "ctlParameter"; }
    bool Focusable() const override { return true; }

    // ---- design and link properties (stored) ----
    const std::string& parameterTag() const { return parameterTag_; }
    void parameterTag(std::string tag) { parameterTag_ = std::move(tag); }
    int32_t ControlType() const { return controlType_; }
    void ControlType(int32_t kind) { controlType_ = kind; }
    // The form's widths of the label and the unit part of the row (a negative
    // width is a share of the row width in percent; 0 = the default layout).
    int32_t labelwidth() const { return labelWidth_; }
    void labelwidth(int32_t width) { labelWidth_ = width; }
    int32_t unitwidth() const { return unitWidth_; }
    void unitwidth(int32_t width) { unitWidth_ = width; }
    const Variant& Value() const { return value_; }
    // A write by code during an edit is also what Cancel goes back to.
    void Value(const Variant& value) {
        value_ = value;
        if (editing_) valueAtStart_ = value;
    }
    bool Locked() const { return locked_; }
    void Locked(bool on) { locked_ = on; }
    int32_t ValueMaxLength() const { return valueMaxLength_; }
    void ValueMaxLength(int32_t length) { valueMaxLength_ = length; }
    bool ValueUpperCase() const { return valueUpperCase_; }
    void ValueUpperCase(bool on) { valueUpperCase_ = on; }
    // Shown for every character of the value but a blank ('\0': the value as
    // it is), also in the row's description; the value itself is unchanged.
    char PasswordChar() const { return passwordChar_; }
    void PasswordChar(char mask) { passwordChar_ = mask; }
    int32_t ForeColor() const { return foreColor_; }
    void ForeColor(int32_t colour) { foreColor_ = colour; }
    int32_t ValueForeColor() const { return valueForeColor_; }
    void ValueForeColor(int32_t colour) { valueForeColor_ = colour; }
    const std::string& LabelText() const { return labelText_; }
    void LabelText(std::string text) { labelText_ = std::move(text); }
    const std::string& UnitText() const { return unitText_; }
    void UnitText(std::string text) { unitText_ = std::move(text); }
    const std::string& ParamToolTip() const { return paramToolTip_; }
    void ParamToolTip(std::string text) { paramToolTip_ = std::move(text); }
    const std::string& ValueList() const { return valueList_; }
    void ValueList(std::string list) { valueList_ = std::move(list); }
    const std::string& ValueFormat() const { return valueFormat_; }
    void ValueFormat(std::string format) { valueFormat_ = std::move(format); }
    const std::string& IconToolTip() const { return iconToolTip_; }
    void IconToolTip(std::string text) { iconToolTip_ = std::move(text); }
    const P<ui::Picture>& StatusIcon() const { return statusIcon_; }
    void StatusIcon(P<ui::Picture> picture) { statusIcon_ = std::move(picture); }
    // The key (or file name) of the status picture; "" without one.
    std::string StatusIconKey() const { return statusIcon_ ? statusIcon_->DisplayName() : std::string(); }
    // The container's Boolean that the link combines with the element's
    // validity into the row's visibility; True unless a form clears it.
    bool VisibleByDesign() const { return visibleByDesign_; }
    void VisibleByDesign(bool on) { visibleByDesign_ = on; }

    // ---- context menu (items numbered from 1) ----
    void AddMenuItem(const std::string& text) { menuItems_.push_back(text); }
    void RemoveMenuItems() { menuItems_.clear(); }
    int32_t MenuItemCount() const { return static_cast<int32_t>(menuItems_.size()); }
    // Out of range raises 9.
    const std::string& MenuItemText(int32_t item) const;
    void MenuItemText(int32_t item, std::string text);

    // ---- binding, set by the site and the link ----
    // The link that receives the row's events; cleared when it lets go. An
    // edit belongs to the link it began with, which commits it as it lets go:
    // bound to another link, or to none, the row is no longer editing.
    void EventSink(const std::shared_ptr<IRowEvents>& sink);
    std::shared_ptr<IRowEvents> EventSink() const { return sink_.lock(); }
    rt::El Bound() const { return bound_.lock(); }
    void Bound(const rt::El& element) { bound_ = element; }
    // The site's editable state (False: every row of the site is read-only).
    void SiteEditable(bool on) { siteEditable_ = on; }
    bool SiteEditable() const { return siteEditable_; }
    // Set by the site for a row whose tag names no element.
    void Unbound(bool on) { unbound_ = on; }
    bool Unbound() const { return unbound_; }

    // ---- observation ----
    bool ReadOnly() const { return locked_ || !siteEditable_ || unbound_ || !EffectiveEnabled(); }
    bool Editing() const { return editing_; }
    // The value as the user sees it (see DisplayText in the .cpp).
    std::string DisplayText() const;

    // ---- user input (called through ctl::RowInput, which traps errors) ----
    // Each answers whether the row took it; an event handler's error goes on.
    bool UserType(const std::string& text);
    bool UserCommit();
    bool UserCancel();
    bool UserSelect(int32_t code);
    bool UserSetBits(const std::vector<int32_t>& indexes);
    bool UserClick() override;
    bool UserKey(int32_t& keyCode, int32_t shift);
    bool UserMenu(int32_t item);
    // The focus left the row: an edit in progress ends committed.
    void FocusLost() override;

    void Describe(ui::Description& d) const override;

private:
    void StartEditIfIdle();
    void EndEdit(bool commit);
    void WholeEdit(const Variant& value);
    bool ValueListHas(int32_t code) const;
    // The text with the password character in place of each character but a blank.
    std::string Masked(const std::string& text) const;

    std::string parameterTag_;
    int32_t controlType_ = kRowNotChosen;
    int32_t labelWidth_ = 0;
    int32_t unitWidth_ = 0;
    Variant value_;
    bool locked_ = false;
    int32_t valueMaxLength_ = 0;
    bool valueUpperCase_ = false;
    char passwordChar_ = '\0';
    int32_t foreColor_ = static_cast<int32_t>(0x80000012u);       // button text
    int32_t valueForeColor_ = static_cast<int32_t>(0x80000008u);  // window text
    std::string labelText_, unitText_, paramToolTip_, valueList_, valueFormat_, iconToolTip_;
    P<ui::Picture> statusIcon_;
    bool visibleByDesign_ = true;
    std::vector<std::string> menuItems_;
    std::weak_ptr<IRowEvents> sink_;
    W<rt::IPrivateDataElement> bound_;
    bool siteEditable_ = true;
    bool unbound_ = false;
    bool editing_ = false;
    Variant valueAtStart_;
};

// The entries "n:text" of a value list, in order; entries without ":" or
// whose number does not parse are skipped.
struct ValueListEntry {
    int64_t code;
    std::string text;
};
std::vector<ValueListEntry> ParseValueList(const std::string& list);

}  // namespace platform::ctl
