// The transaction monitor page: the line of each response kind, which kind
// wins when a response holds several, responses it cannot read, the boxes,
// the line limit, and the responses the DTM passes it from the frame.
#include "ServicePageFixture.h"
#include <algorithm>

#include "pages/service/ctl_TR_Monitor.h"
#include "platform/ui/Input.h"

namespace dtm::testing {
namespace {

namespace ui = platform::ui;

class TransactionMonitorPage : public ServicePageFixture {
protected:
    platform::P<ctl_TR_Monitor> Open() { return OpenPage<ctl_TR_Monitor>(97); }
    std::string MonitorId() const { return platform::com::CStr(Element(ctl_TR_Monitor::kMonitorPath).TransientValue); }
    static void Tick(const platform::P<ui::CheckBox>& box) { ASSERT_TRUE(ui::Input::Check(*box, true)); }
};

TEST_F(TransactionMonitorPage, EachKindMakesItsLineWhenItsBoxIsTicked) {
    const auto page = Open();
    ASSERT_NE(page, nullptr);
    struct Case {
        platform::P<ui::CheckBox> ctl_TR_Monitor::*box;
        const char* response;
        const char* line;
    };
    const Case cases[] = {
        {&ctl_TR_Monitor::chkDisplayConnectResponse,
         R"(<FDT><ConnectResponse api="DPV1" busAddress="12" errorCode="0"/></FDT>)",
         "ConnResp  api=DPV1  busaddress=12  errcode=0"},
        {&ctl_TR_Monitor::chkDisplayDisconnectResponse, R"(<FDT><DisconnectResponse busAddress="12"/></FDT>)",
         "DiscResp  api=  busaddress=12  errcode="},
        {&ctl_TR_Monitor::chkDisplayReadResponse,
         R"(<FDT><ReadResponse slot="0" index="16" errorCode="0"><fdt:CommunicationData byteArray="00AD"/></ReadResponse></FDT>)",
         "ReadResp  slot=0  index=16  errcode=0  Bytes=00AD"},
        {&ctl_TR_Monitor::chkDisplayReadResponse, R"(<FDT><ReadResponse slot="1" index="8" errorCode="181"/></FDT>)",
         "ReadResp  slot=1  index=8  errcode=181  Bytes="},
        {&ctl_TR_Monitor::chkDisplayWriteResponse, R"(<FDT><WriteResponse slot="0" index="35" errorCode="0"/></FDT>)",
         "WritResp  slot=0  index=35  errcode=0"},
        {&ctl_TR_Monitor::chkDisplayAbort, R"(<FDT><Abort communicationReference="x"/></FDT>)", "--Abort--"},
        {&ctl_TR_Monitor::chkDisplayComErr,
         R"(<FDT><fdt:CommunicationError communicationError="timeout" tag="PA_FT_101" errorCode="7" descriptor="no answer"/></FDT>)",
         "CommErr   commError=timeout  tag=PA_FT_101  errcode=7  descriptor=no answer"},
        {&ctl_TR_Monitor::chkDisplayComErr, R"(<FDT><fdt:CommunicationError communicationError="busy"/></FDT>)",
         "CommErr   commError=busy  tag=  errcode=  descriptor="},
    };
    // The compact form frames send is read without the XML parser; with a
    // declaration in front the parser reads it: both give the same line.
    for (const Case& c : cases)
        for (const std::string& response : {std::string(c.response), "<?xml version=\"1.0\"?>" + std::string(c.response)}) {
            SCOPED_TRACE(response);
            page->DisplayTransactionResponse(response);
            EXPECT_EQ(page->txt_TransResps->Text(), "");  // every box clear: nothing
            Tick((*page).*c.box);
            page->DisplayTransactionResponse(response);
            EXPECT_EQ(page->txt_TransResps->Text(), std::string(c.line) + "\r\n");
            ASSERT_TRUE(ui::Input::Check(*((*page).*c.box), false));
            EXPECT_TRUE(Click(page->cmdClearAll));
        }
}

TEST_F(TransactionMonitorPage, TheFirstTickedKindInTableOrderWinsAndUnreadableResponsesAddNothing) {
    const auto page = Open();
    const std::string both =
        R"(<FDT><ReadResponse slot="0" index="16" errorCode="0"/><ConnectResponse api="DPV1" busAddress="12" errorCode="0"/></FDT>)";
    Tick(page->chkDisplayReadResponse);
    page->DisplayTransactionResponse(both);
    Tick(page->chkDisplayConnectResponse);
    page->DisplayTransactionResponse(both);
    for (const char* bad : {"", "<FDT><ReadResponse", "not xml", "<FDT><Unknown/></FDT>", "<Other><ReadResponse/></Other>"})
        page->DisplayTransactionResponse(bad);
    EXPECT_EQ(page->txt_TransResps->Text(),
              "ReadResp  slot=0  index=16  errcode=0  Bytes=\r\nConnResp  api=DPV1  busaddress=12  errcode=0\r\n");
}

TEST_F(TransactionMonitorPage, AResponseWhoseAttributeNameIsNoXmlNameAddsNothing) {
    const auto page = Open();
    Tick(page->chkDisplayAll);
    // Refused by the XML parser: no line, in the compact form or not.
    for (const char* name : {"1", "1a", "-a", ".a", "9slot"})
        for (const std::string& declaration : {std::string(), std::string("<?xml version=\"1.0\"?>")}) {
            const std::string response = declaration + "<FDT><ReadResponse " + name + "=\"2\" slot=\"3\"/></FDT>";
            page->DisplayTransactionResponse(response);
            EXPECT_EQ(page->txt_TransResps->Text(), "") << response;
        }
    // Names the parser takes still give their line.
    for (const char* name : {"_", "_a1", "a-b", "a.b", "a:b"})
        page->DisplayTransactionResponse(std::string("<FDT><ReadResponse ") + name + "=\"2\" slot=\"3\"/></FDT>");
    std::string lines;
    for (int i = 0; i < 5; ++i) lines += "ReadResp  slot=3  index=  errcode=  Bytes=\r\n";
    EXPECT_EQ(page->txt_TransResps->Text(), lines);
}

TEST_F(TransactionMonitorPage, DisplayAllTicksAndClearsEverySevenBoxesAndTheOthersLeaveIt) {
    const auto page = Open();
    const auto boxes = {page->chkDisplayAll, page->chkDisplayConnectResponse, page->chkDisplayDisconnectResponse,
                        page->chkDisplayReadResponse, page->chkDisplayWriteResponse, page->chkDisplayAbort,
                        page->chkDisplayComErr};
    for (const auto& box : boxes) EXPECT_EQ(box->Value(), 0);
    Tick(page->chkDisplayAll);
    for (const auto& box : boxes) EXPECT_EQ(box->Value(), 1);
    ASSERT_TRUE(ui::Input::Check(*page->chkDisplayAbort, false));
    EXPECT_EQ(page->chkDisplayAll->Value(), 1);
    ASSERT_TRUE(ui::Input::Check(*page->chkDisplayAll, false));
    for (const auto& box : boxes) EXPECT_EQ(box->Value(), 0);
}

TEST_F(TransactionMonitorPage, TheListKeepsItsLastLines) {
    const auto page = Open();
    Tick(page->chkDisplayWriteResponse);
    for (int i = 1; i <= ctl_TR_Monitor::kMaxLines + 2; ++i)
        page->DisplayTransactionResponse("<FDT><WriteResponse index=\"" + std::to_string(i) + "\"/></FDT>");
    const std::string& text = page->txt_TransResps->Text();
    EXPECT_EQ(text.rfind("WritResp  slot=  index=3  errcode=\r\n", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), ctl_TR_Monitor::kMaxLines);
    EXPECT_TRUE(Click(page->cmdClearAll));
    page->DisplayTransactionResponse("<FDT><WriteResponse index=\"1\"/></FDT>");
    EXPECT_EQ(page->txt_TransResps->Text(), "WritResp  slot=  index=1  errcode=\r\n");
}

TEST_F(TransactionMonitorPage, TheLimitCountsTheLineBreaksOfAttributeValues) {
    // The lines a text holds: each ends at a CR LF, a lone LF or a lone CR.
    const auto linesOf = [](const std::string& text) {
        int32_t lines = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r' && text[i] != '\n') continue;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++lines;
        }
        return lines;
    };
    const auto page = Open();
    Tick(page->chkDisplayWriteResponse);
    struct Case {
        const char* reference;  // the break inside the attribute value
        const char* decoded;
    };
    for (const auto& c : {Case{"&#10;", "\n"}, Case{"&#13;&#10;", "\r\n"}, Case{"&#13;", "\r"}}) {
        EXPECT_TRUE(Click(page->cmdClearAll));
        // Two lines a response: the limit is reached after half as many responses.
        const int responses = ctl_TR_Monitor::kMaxLines / 2 + 5;
        for (int i = 1; i <= responses; ++i)
            page->DisplayTransactionResponse("<FDT><WriteResponse index=\"" + std::to_string(i) + "\" errorCode=\"a" +
                                             c.reference + "b\"/></FDT>");
        const std::string& text = page->txt_TransResps->Text();
        EXPECT_EQ(linesOf(text), ctl_TR_Monitor::kMaxLines) << c.reference;
        EXPECT_EQ(text.rfind("WritResp  slot=  index=6  errcode=a" + std::string(c.decoded) + "b\r\n", 0), 0u)
            << c.reference;
    }
}

TEST_F(TransactionMonitorPage, TheDtmPassesTheFrameResponsesToTheNewestMonitorUntilOneCloses) {
    const auto older = Open();
    const auto newer = Open();
    EXPECT_EQ(MonitorId(), newer->InvokeId());
    Tick(older->chkDisplayAll);
    Tick(newer->chkDisplayAll);
    ConnectDevice();  // connect and the identity reads
    EXPECT_EQ(older->txt_TransResps->Text(), "");
    const std::string lines = newer->txt_TransResps->Text();
    EXPECT_EQ(lines.rfind("ConnResp  api=", 0), 0u) << lines;
    EXPECT_NE(lines.find("ReadResp  slot=0  index=26  errcode=0  Bytes=00AD\r\n"), std::string::npos) << lines;

    // Closing the older monitor silences the newer one too.
    EXPECT_TRUE(frame->Close(*sessions.front()));
    EXPECT_EQ(MonitorId(), "");
    ASSERT_TRUE(frame->Session().Upload("PHYS/TAG_DESC").ok);
    EXPECT_EQ(newer->txt_TransResps->Text(), lines);
}

}  // namespace
}  // namespace dtm::testing
