#pragma once
// The parameter link: binds one model element to one parameter row. It shows
// the element's value, unit, label, value list, status icon and lock in the
// row, takes the user's edits back into the element, runs the device command
// of a command row and opens the parameter help.
//
// A page sets the public fields on a template link and hands it to its site,
// which asks the template for one fresh link per row. A running command is
// checked before the row's lock, so a second click on a running command row
// answers "command_already_active".
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/Collection.h"
#include "platform/ctl/IPrivateParamLink.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/IPrivateProcess.h"

namespace platform::rt {
class DTMContext;
}

namespace dtm {

class clsDataElement;

class clsParamLink : public platform::ctl::IPrivateParamLink,
                     public platform::rt::IPrivateProcess,
                     public platform::ctl::IRowEvents,
                     public std::enable_shared_from_this<clsParamLink> {
public:
    using Ctx = platform::P<platform::rt::DTMContext>;

    // Copied into every link the template makes.
    int32_t index = 0;               // replaces "%d" in the row's tag
    std::string channel;             // replaces "%ch"
    std::string Prefix;              // replaces "%blk"
    bool bDisplayDPV1Index = false;  // label shows the relative index in front
    bool bOnlineMode = false;        // the row edits live device data

    ~clsParamLink() override;

    // ---- IPrivateParamLink ----
    platform::P<platform::ctl::IPrivateParamLink> GetNewParamLink() override;
    platform::rt::El DataElement() const override;
    platform::P<platform::ctl::ctlParameter> ParameterCtl() const override { return m_ParamCtl; }
    void InitLink(const Ctx& ctx, const platform::P<platform::ctl::ctlParameter>& row,
                  const platform::P<platform::com::Collection>& images, const std::string& guiInvokeId) override;
    void TerminateLink() override;
    void InitLanguageDependent(int32_t languageId) override;
    void UpdateParameter() override;
    void ValidateParameter() override;

    // ---- IPrivateProcess ----
    void OnProcessProgress(const std::string& invokeId, int16_t percent,
                           const platform::Variant& extraData = platform::Variant::Missing()) override;
    void OnProcessFinished(const std::string& invokeId,
                           const platform::Variant& extraData = platform::Variant::Missing()) override;

    // Commits the row's value into the element, or starts the row's command.
    void HandleParameterChange();

    // ---- the row's events ----
    void OnChange() override;
    void OnClick() override;
    void OnStartEdit() override;
    void OnEndEdit(bool commit) override;
    void OnMenuClick(int32_t item) override;
    void OnKeyDown(int32_t& keyCode, int32_t shift) override;

    // ---- observation ----
    const std::string& CmdInvokeId() const { return m_CmdInvokeId; }
    bool Editing() const { return m_bEditing; }
    bool UpdatePending() const { return m_bUpdatePending; }
    // True while the link notifies a value the user committed in its row.
    bool Committing() const { return m_nChangeDepth > 0; }

private:
    Ctx Context() const;  // 91 when the context is gone
    clsDataElement& Element() const;
    std::string GetDictText(const std::string& key) const;
    // The row's value converted for the element (bit lists through their text).
    platform::Variant RowValueForElement() const;
    void TakeOverControlValue(int32_t mask);
    void ShowParamHelp();
    void StartCommand();
    void CommitValue();
    void EvaluateDataSetState();

    // Display rules (clsParamLinkDisplay.cpp).
    void UpdateStatusIcon();
    void UpdateLockState();
    int32_t UpdateParamFlags(const platform::Variant& value) const;
    std::string RangeToolTip() const;
    platform::P<platform::ui::Picture> PictureOf(const std::string& key) const;

    std::weak_ptr<platform::rt::DTMContext> m_Context;
    platform::P<clsDataElement> m_DataElement;
    platform::P<platform::ctl::ctlParameter> m_ParamCtl;
    platform::P<platform::com::Collection> m_Images;
    std::string m_CmdInvokeId;
    bool m_bEditing = false;
    bool m_bUpdatePending = false;
    int32_t m_nChangeDepth = 0;
    bool m_bFlagsChanged = false;
    bool m_bLockedByDesign = false;
};

// The row's tag with "%d", "%ch" and "%blk" replaced, in that order.
std::string ExpandParameterTag(const std::string& tag, int32_t index, const std::string& channel,
                               const std::string& prefix);

}  // namespace dtm
