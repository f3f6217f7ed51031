#pragma once
// "test.RowsHost": a small form of parameter rows, a site and a help pane,
// registered with the runtime like a page, bound to the real model of a new
// RXD 218 instance. The error sink must stay empty unless a test takes its
// expected errors out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/DtmFixture.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/clsParamLink.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/MessageBox.h"
#include "platform/ctl/RowInput.h"
#include "platform/ctl/ctlParamHelp.h"
#include "platform/ctl/ctlParamSite.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Host.h"
#include "platform/ui/UserControl.h"

namespace dtm::testing {

// One row of the form as designed.
struct RowDesign {
    std::string tag;
    int32_t controlType = 0;
    bool locked = false;
};

class RowsHost : public platform::ui::UserControl,
                 public platform::rt::IPrivateGUI,
                 public platform::ctl::IParamHelpHost {
public:
    static std::vector<RowDesign>& Design() {
        static std::vector<RowDesign> design;
        return design;
    }

    std::string TypeName() const override { return "RowsHost"; }
    std::vector<platform::P<platform::ctl::ctlParameter>> rows;
    platform::P<platform::ctl::ctlParamSite> site;
    platform::P<platform::ctl::ctlParamHelp> help;
    std::vector<std::string> noticed;  // the elements of the runtime's ParameterChanged calls
    int32_t NoticesOf(const std::string& path) const {
        return static_cast<int32_t>(std::count(noticed.begin(), noticed.end(), path));
    }

    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return help; }

    bool CloseGUI() override { return true; }
    void LockStateChanged(bool locked) override {
        bool editable = !locked;
        site->SiteLockStateChanged(editable);
    }
    void ParameterChanged(const platform::P<platform::rt::IPrivateDataElement>& element) override {
        noticed.push_back(element->Name());
        site->SiteParameterChanged(element);
    }
    void ParameterSetChanged() override { site->SiteParameterSetChanged(); }
    void ValidateParameters() override { site->SiteValidateParameters(); }
    void SetLanguage(int32_t languageId) override { site->SetSiteLanguage(languageId); }

protected:
    void BuildForm() override {
        int16_t i = 0;
        for (const auto& d : Design()) {
            auto row = Place<platform::ctl::ctlParameter>("ctlParameter", i++);
            row->parameterTag(d.tag);
            row->ControlType(d.controlType);
            row->Locked(d.locked);
            rows.push_back(row);
        }
        site = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
        help = Place<platform::ctl::ctlParamHelp>("ctlParamHelp1");
    }
};

class RowsHostFixture : public DtmFixture {
protected:
    RowsHostFixture() {
        platform::ui::Environment::Instance().Reset();
        registry.Register("test.RowsHost", [] { return std::make_shared<RowsHost>(); });
    }
    ~RowsHostFixture() override {
        if (page) {
            page->site->ExitSite();
            Ctx().GuiRegistry()->UnregisterGUI(kInvokeId);
        }
        host.reset();
        platform::ui::Environment::Instance().Reset();
    }

    static constexpr const char* kInvokeId = "rows-host";

    // Creates the form of `design` by program id, shows it, registers it and
    // binds its site with a template link configured by `configure`.
    void Open(std::vector<RowDesign> design, bool onlineMode = false, int32_t index = 0) {
        if (!session.Dtm()) StartNew();
        RowsHost::Design() = std::move(design);
        page = std::dynamic_pointer_cast<RowsHost>(registry.CreateObject("test.RowsHost"));
        ASSERT_NE(page, nullptr);
        host = std::make_unique<platform::ui::Host>(page);
        host->Show();
        Ctx().GuiRegistry()->RegisterGUI(kInvokeId, page, true);
        auto link = std::make_shared<clsParamLink>();
        link->bOnlineMode = onlineMode;
        link->index = index;
        std::string id = kInvokeId;
        page->site->InitSite(session.Context(), id, link);
        int32_t lcid = Ctx().GuiRegistry()->LanguageId();
        page->site->SetSiteLanguage(lcid);
        page->site->SiteParameterSetChanged();
    }

    platform::ctl::ctlParameter& Row(size_t i) const { return *page->rows.at(i); }
    clsParamLink& LinkOf(size_t i) const {
        for (const auto& bound : page->site->Links())
            if (bound.row == page->rows.at(i)) return dynamic_cast<clsParamLink&>(*bound.link);
        throw std::out_of_range("row not bound");
    }
    std::string Dict(const std::string& key) const {
        const auto text = Ctx().Dictionary()->LookupText("keys", key, "text");
        return text.IsEmpty() ? key : platform::com::CStr(text);
    }
    // ", min..max" for every range of the element, as the range tip lists them.
    std::string RangesOf(const clsDataElement& element) const {
        std::string out;
        platform::Variant min, max;
        for (int32_t i = 0; element.GetRange(i, min, max); ++i)
            out += ", " + platform::com::CStr(min) + ".." + platform::com::CStr(max);
        return out;
    }
    const std::vector<platform::app::MessageBoxRecord>& Boxes() const {
        return platform::app::MessageBoxHandler::Instance().Records();
    }
    void ExpectNoErrors() const {
        const auto& errors = platform::app::ErrorSink::Instance().Errors();
        EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front().where);
    }

    platform::P<RowsHost> page;
    std::unique_ptr<platform::ui::Host> host;
};

}  // namespace dtm::testing
