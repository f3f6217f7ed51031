#pragma once
// The transaction monitor (function 97, offered with the developer feature
// only): one line per connect, disconnect, read and write response, abort and
// communication error that the frame answers the DTM, for the kinds whose box
// is ticked (none at the start). The DTM finds the open monitor through
// "InvokeId_ctl_TR_Monitor", which the monitor sets when it opens and clears
// when it closes; the newest monitor takes over, and closing any monitor
// silences them all until one opens again.
//
// The list keeps the last kMaxLines lines, counted by the line breaks it
// holds, also those inside a response's attribute values.
#include <cstdint>
#include <string>

#include "core/dtm/PageInterfaces.h"
#include "pages/framework/PageBase.h"
#include "pages/framework/ctlHeadline.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/xml/Dom.h"

namespace dtm {

class ctl_TR_Monitor : public PageBase, public ITransactionMonitor {
public:
    static constexpr const char* kMonitorPath = "InvokeId_ctl_TR_Monitor";
    static constexpr int32_t kMaxLines = 10000;

    ctl_TR_Monitor();

    bool PrepareToRelease() override;
    void DisplayTransactionResponse(const std::string& Response) override;

    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<platform::ui::TextBox> txt_TransResps;
    platform::P<platform::ui::CommandButton> cmdClearAll;
    platform::P<platform::ui::CheckBox> chkDisplayAll, chkDisplayConnectResponse, chkDisplayDisconnectResponse,
        chkDisplayReadResponse, chkDisplayWriteResponse, chkDisplayAbort, chkDisplayComErr;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;

private:
    void cmdClearAll_Click();
    void chkDisplayAll_Click();
    void AppendLine(const std::string& line);

    platform::P<platform::xml::Document> responseDocument_;
    platform::P<platform::xml::Element> currentNode_;
    int32_t lineCount_ = 0;  // the line breaks of the list
};

}  // namespace dtm
