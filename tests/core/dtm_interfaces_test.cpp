// The DTM's FDT interfaces besides IDtm: documentation with its marks, page
// program ids, parameter documents, information, channels with their traces
// and the transaction monitor's view of the communication responses.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "ComponentFolder.h"
#include "DtmFixture.h"
#include "StubPage.h"
#include "core/dtm/IPrivateNavigation.h"
#include "core/dtm/PageInterfaces.h"
#include "core/dtm/clsFunctionMan.h"
#include "frame/DeviceChannel.h"
#include "frame/SimulatedDevice.h"
#include "platform/com/Collection.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/xml/Dom.h"

namespace {

using platform::P;
using platform::Variant;

// A navigable page that only lists parameter edit controls with the given
// tags (the documentation of real pages: tests/pages/framework).
class DocumentedPage : public dtm::IPrivateNavigation {
public:
    explicit DocumentedPage(std::vector<std::string> tags) : tags_(std::move(tags)) {}
    void InitControl(const Variant&) override {}
    P<platform::com::Collection> FindParameters(const std::string&, const std::string&) override { return nullptr; }
    P<platform::com::Collection> GetDictKeys(const std::string&) override { return nullptr; }
    bool ShowControl(const std::string&, const std::string&) override { return false; }
    P<platform::com::Collection> GetParameters(const std::string&) override {
        auto controls = std::make_shared<platform::com::Collection>();
        controls->Add(Variant::Obj(std::make_shared<platform::com::Object>()));  // not a parameter control
        for (const auto& tag : tags_) {
            auto control = std::make_shared<platform::ctl::ctlParameter>();
            control->parameterTag(tag);
            controls->Add(Variant::Obj(control));
        }
        return controls;
    }

private:
    std::vector<std::string> tags_;
};

class DtmInterfaces : public dtm::testing::DtmFixture {
protected:
    void SetUp() override { StartNew(); }

    template <class I>
    I& As() const {
        return dynamic_cast<I&>(*session.Dtm());
    }
    // The offline page (function 1) shows controls with these tags.
    static void OfflinePageShows(std::vector<std::string> tags) {
        platform::com::ClassRegistry::Global().Register(dtm::FunctionProgId(1), [tags] {
            return std::make_shared<DocumentedPage>(tags);
        });
    }
    std::set<std::string> Documented(const std::string& call, std::string* id = nullptr) {
        platform::xml::Document doc;
        EXPECT_TRUE(doc.LoadXML(As<platform::fdt::IDtmDocumentation>().IDtmDocumentation_GetDocumentation(call)));
        std::set<std::string> names;
        for (const auto& node : doc.SelectNodes("FDT/DtmDocumentation/fdt:DtmVariable"))
            names.insert(platform::com::CStr(node->GetAttribute("name")));
        if (id) *id = platform::com::CStr(doc.DocumentElement()->GetAttribute("id"));
        return names;
    }
};

constexpr const char* kOffline = "<FDT><FunctionCall functionId=\"1\"/></FDT>";

TEST_F(DtmInterfaces, DocumentationListsWhatThePageShowsPerBlock) {
    OfflinePageShows({"FUNC/%d/%ch/HI_HI_LIM", "%blk/ST_REV", "PHYS/TAG_DESC", "NO/SUCH/TAG", "%blk/NO_SUCH"});
    std::string id;
    auto names = Documented(kOffline, &id);
    EXPECT_EQ(id, "DTMDocRXD218");
    for (int i = 1; i <= 8; ++i) {
        const std::string block = "FUNC/" + std::to_string(i) + (i == 4 || i == 8 ? "/TOT/" : "/AI/");
        EXPECT_TRUE(names.count(block + "HI_HI_LIM")) << block;
        EXPECT_TRUE(names.count(block + "ST_REV")) << block;
    }
    EXPECT_TRUE(names.count("PHYS/ST_REV"));
    EXPECT_TRUE(names.count("TRANS/1/FlowCori/ST_REV"));
    EXPECT_TRUE(names.count("PHYS/TAG_DESC"));
    EXPECT_EQ(names.size(), 8u * 2 + 3);

    // With the profile ident number only blocks 1 to 4 count.
    auto& selector = Element("PHYS/IDENT_NUMBER_SELECTOR");
    selector.TransientValue = Variant::Byte(0);
    names = Documented(kOffline);
    EXPECT_TRUE(names.count("FUNC/4/TOT/HI_HI_LIM"));
    EXPECT_FALSE(names.count("FUNC/5/AI/HI_HI_LIM"));
    EXPECT_FALSE(names.count("FUNC/8/TOT/ST_REV"));
}

TEST_F(DtmInterfaces, DocumentationMarksAreGivenBackOnEveryElement) {
    OfflinePageShows({"%blk/ST_REV", "PHYS/TAG_DESC"});
    Element("FUNC/1/AI/OUT/Value").ElementMode |= 0x200000;  // the simulation page's permanent mark
    std::map<std::string, int32_t> before;
    for (const auto& el : Params()) before[el->Name()] = el->ElementMode();

    for (const char* call : {kOffline, "<FDT><FunctionCall functionId=\"2\"/></FDT>",
                             "<FDT><FunctionCall functionId=\"1\" argument=\"3\"/></FDT>"})
        Documented(call);
    for (const auto& el : Params()) EXPECT_EQ(el->ElementMode(), before[el->Name()]) << el->Name();

    // The simulation page's mark (function 2) documents the marked elements.
    const auto marked = Documented("<FDT><FunctionCall functionId=\"2\"/></FDT>");
    EXPECT_TRUE(marked.count("FUNC/1/AI/OUT/Value"));
    for (const auto& name : marked) EXPECT_NE(Params().Item(name)->ElementMode() & 0x200000, 0) << name;
}

// An element whose documentation entry fails.
class UndocumentableElement : public dtm::clsDataElement {
public:
    bool WriteToDocVariable(P<platform::xml::Element>, Ctx) override { platform::com::Raise(5); }
};

TEST_F(DtmInterfaces, UndocumentableElementIsLeftOutAndTheMarksAreGivenBack) {
    auto failing = std::make_shared<UndocumentableElement>();
    failing->Name = "PHYS/UNDOCUMENTABLE";
    failing->ValueType = 3;
    Params().Add(failing);
    OfflinePageShows({"PHYS/TAG_DESC", "PHYS/UNDOCUMENTABLE"});
    const int32_t before = Element("PHYS/TAG_DESC").ElementMode;
    const std::string doc = As<platform::fdt::IDtmDocumentation>().IDtmDocumentation_GetDocumentation(kOffline);
    EXPECT_NE(doc.find("name=\"PHYS/TAG_DESC\""), std::string::npos);
    EXPECT_EQ(doc.find("PHYS/UNDOCUMENTABLE"), std::string::npos);
    EXPECT_EQ(platform::app::ErrorSink::Instance().Errors().size(), 1u);
    EXPECT_EQ(Element("PHYS/TAG_DESC").ElementMode, before);
    EXPECT_EQ(failing->ElementMode & ~0xFFFF, 0);
    platform::app::ErrorSink::Instance().Clear();
}

TEST_F(DtmInterfaces, DocumentationMaskTable) {
    OfflinePageShows({"PHYS/TAG_DESC"});
    Element("PHYS/TAG_DESC").ElementMode |= 1 << 19;  // as if by a page of argument 3
    const struct {
        const char* call;
        size_t entries;
    } cases[] = {
        {"<FDT><FunctionCall functionId=\"1\"/></FDT>", 1},               // bit 25, marked by the page
        {"<FDT><FunctionCall functionId=\"3\"/></FDT>", 0},               // mask 0, no page
        {"<FDT><FunctionCall functionId=\"99\" argument=\"3\"/></FDT>", 1},  // bit 19 whatever the id
        {"<FDT><FunctionCall functionId=\"1\" argument=\"12\"/></FDT>", 0},  // out of range: mask 0
        {"<FDT><FunctionCall functionId=\"1\" argument=\"-1\"/></FDT>", 0},
        {"not a function call", 0},
    };
    for (const auto& c : cases) {
        const std::string doc = As<platform::fdt::IDtmDocumentation>().IDtmDocumentation_GetDocumentation(c.call);
        platform::xml::Document parsed;
        if (std::string(c.call) == "not a function call") {
            EXPECT_EQ(doc, "");
            continue;
        }
        ASSERT_TRUE(parsed.LoadXML(doc)) << c.call;
        EXPECT_EQ(parsed.SelectNodes("FDT/DtmDocumentation/fdt:DtmVariable").size(), c.entries) << c.call;
    }
}

TEST_F(DtmInterfaces, ActiveXProgIdAndGuidOfAFunction) {
    auto& info = As<platform::fdt::IDtmActiveXInformation>();
    EXPECT_EQ(info.IDtmActiveXInformation_GetActiveXProgId(kOffline), dtm::FunctionProgId(1));
    EXPECT_EQ(info.IDtmActiveXInformation_GetActiveXProgId("<FDT><FunctionCall functionId=\"3\"/></FDT>"), "");
    EXPECT_EQ(info.IDtmActiveXInformation_GetActiveXProgId("<FDT"), "");
    EXPECT_EQ(info.IDtmActiveXInformation_GetActiveXGuid("<FDT><FunctionCall functionId=\"3\"/></FDT>"), "");
    std::string deep;
    for (int i = 0; i < 300; ++i) deep += "<a>";
    for (const std::string& hostile :
         {std::string(), std::string("<FDT><FunctionCall functionId=\"99999999999999999999\"/></FDT>"),
          std::string("<FDT><FunctionCall functionId=\"abc\"/></FDT>"),
          std::string("<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><FDT><FunctionCall functionId=\"1\" argument=\"&e;\"/></FDT>"),
          "<FDT>" + deep, std::string(200000, 'x')}) {
        EXPECT_EQ(info.IDtmActiveXInformation_GetActiveXProgId(hostile), "") << hostile.substr(0, 60);
        EXPECT_EQ(info.IDtmActiveXInformation_GetActiveXGuid(hostile), "") << hostile.substr(0, 60);
        EXPECT_EQ(As<platform::fdt::IDtmDocumentation>().IDtmDocumentation_GetDocumentation(hostile), "")
            << hostile.substr(0, 60);
    }
    OfflinePageShows({});
    const std::string guid = info.IDtmActiveXInformation_GetActiveXGuid(kOffline);
    EXPECT_EQ(guid.size(), 38u);
    EXPECT_EQ(guid.front(), '{');
}

TEST_F(DtmInterfaces, ParameterDocumentOutChangedAndInWithTheDataSetState) {
    auto& parameter = As<platform::fdt::IDtmParameter>();
    Params().Modified(false);
    std::string document = parameter.IDtmParameter_GetParameters("PHYS/");
    platform::xml::Document doc;
    ASSERT_TRUE(doc.LoadXML(document));
    auto nodes = doc.SelectNodes("FDT/DtmParameter/ParameterSet/fdt:DtmVariable");
    ASSERT_FALSE(nodes.empty());
    for (const auto& node : nodes) EXPECT_EQ(platform::com::CStr(node->GetAttribute("name")).rfind("PHYS/", 0), 0u);

    P<platform::xml::Element> tag;
    for (const auto& node : nodes)
        if (platform::com::CStr(node->GetAttribute("name")) == "PHYS/TAG_DESC") tag = node->SelectSingleNode("fdt:Value/fdt:Display");
    ASSERT_TRUE(tag);
    tag->SetAttribute("string", "FT-200");
    EXPECT_TRUE(parameter.IDtmParameter_SetParameters("PHYS/", doc.Xml()));
    EXPECT_EQ(platform::com::CStr(Element("PHYS/TAG_DESC").TransientValue), "FT-200");
    EXPECT_EQ(platform::com::CStr(Element("~/Tag").TransientValue), "FT-200");
    EXPECT_EQ(platform::com::CLng(Element("~/DataStatus").TransientValue), 2);
    EXPECT_NE(Params().QueryDataSetState(), 0);

    // Hostile documents are refused and change nothing.
    for (const std::string& bad : {std::string(), std::string("<FDT"), std::string("<Other/>"),
                                  std::string(100000, '<'), std::string("<FDT><fdt:DtmVariable name=\"PHYS/NO_SUCH\"/></FDT>")}) {
        EXPECT_FALSE(parameter.IDtmParameter_SetParameters("", bad));
        EXPECT_EQ(platform::com::CStr(Element("PHYS/TAG_DESC").TransientValue), "FT-200");
    }
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

TEST_F(DtmInterfaces, InformationLoadsTheDictionaryOnce) {
    auto& information = As<platform::fdt::IDtmInformation>();
    const std::string first = information.IDtmInformation_GetInformation();
    const auto document = Ctx().Dictionary()->DictionaryDocument();
    ASSERT_TRUE(document);
    EXPECT_EQ(information.IDtmInformation_GetInformation(), first);
    EXPECT_EQ(Ctx().Dictionary()->DictionaryDocument(), document);
    platform::xml::Document doc;
    ASSERT_TRUE(doc.LoadXML(first));
    auto info = doc.SelectSingleNode("FDT/DtmInformation");
    ASSERT_TRUE(info);
    EXPECT_FALSE(platform::com::CStr(info->GetAttribute("name")).empty());
    EXPECT_EQ(doc.SelectNodes("FDT/DtmInformation/DtmDeviceTypes/fdt:DtmDeviceType").size(), 2u);
}

class DtmInterfacesTraced : public DtmInterfaces {
protected:
    DtmInterfacesTraced() {
        folder.WriteIni("[TimeCritical]\nTrace=ExternalFile\n[ChannelAssignment]\nTrace=ExternalFile\n");
        std::filesystem::copy(std::filesystem::path(DTM_TEST_DATA_DIR) / ".." / ".." / "XMLData",
                              folder.Dir() / "XMLData", std::filesystem::copy_options::recursive);
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    dtm::testing::ComponentFolder folder;
};

TEST_F(DtmInterfacesTraced, ChannelsWriteOneChannelTraceLinePerChannel) {
    auto channels = As<platform::fdt::IDtmChannel>().IDtmChannel_GetChannels();
    ASSERT_TRUE(channels);
    EXPECT_EQ(channels->Count(), 16);
    const std::string channelTrace = folder.Read("ChannelTraceFile.txt");
    EXPECT_EQ(Count(channelTrace, "DTMMain-IDtmParameter_GetChannels: \r\nXML Begin\r\n"), 16u);
    EXPECT_EQ(Count(folder.Read("TraceInfoFile.txt"), "DTMMain-IDtmChannel_GetChannels: \r\n"), 1u);
}

TEST_F(DtmInterfacesTraced, SetParametersRecordsTheSlaveSetBeforeAndAfter) {
    auto& parameter = As<platform::fdt::IDtmParameter>();
    parameter.IDtmParameter_SetParameters("PHYS/", parameter.IDtmParameter_GetParameters("PHYS/"));
    const std::string channelTrace = folder.Read("ChannelTraceFile.txt");
    for (const char* text : {"DTMMain-IDtmParameter_GetParameters: \r\nXML Begin\r\n",
                             "DTMMain-IDtmParameter_SetParameters: Parameter settings at functions begin: \r\nFB1: ",
                             "DTMMain-IDtmParameter_SetParameters: ParameterPath= PHYS/",
                             "DTMMain-IDtmParameter_SetParameters: Parameter settings at functions end: \r\nFB1: "})
        EXPECT_EQ(Count(channelTrace, text), 1u) << text;
    EXPECT_EQ(Count(folder.Read("TraceInfoFile.txt"), "DTMMain-IDtmParameter_SetParameters: \r\n"), 1u);
}

TEST_F(DtmInterfacesTraced, ASecretSetByADocumentIsTracedMaskedInAndOut) {
    auto& parameter = As<platform::fdt::IDtmParameter>();
    const std::string code = dtm::frame::SimulatedDevice::kServiceCode;
    const std::string secretPath = "PHYS/MANU/SERVICE_PASSWORD";
    const std::string blanks = "         ";
    const auto variable = [](const std::string& name, const std::string& value) {
        return "<fdt:DtmVariable name=\"" + name + "\"><fdt:Value><fdt:Display string=\"" + value +
               "\"/></fdt:Value></fdt:DtmVariable>";
    };
    struct Case {
        const char* path;
        std::string secret;  // the secret's node
        bool taken;
    };
    const Case cases[] = {
        {"PHYS/", variable(secretPath, code), true},
        {"", variable("MANU/SERVICE_PASSWORD", code), true},
        {"PHYS/", variable("SERVICE_PASSWORD", code), true},
        {"", variable("PHYS/MANU/SERVICE&#95;PASSWORD", code), true},
        // A second display is not taken, but it is the secret's node all the same.
        {"", "<fdt:DtmVariable name=\"" + secretPath + "\"><fdt:Value><fdt:Display string=\"" + code +
                 "\"/><fdt:Display string=\"" + code + "\"/></fdt:Value></fdt:DtmVariable>", true},
        // Out of the document's scope: not taken, and still not traced.
        {"TRANS/", variable(secretPath, code), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secret);
        Element(secretPath).TransientValue = Variant::Str(blanks);
        const std::string document = "<FDT><DtmParameter><ParameterSet>" + c.secret +
                                     variable("PHYS/TAG_DESC", "FT-200") + "</ParameterSet></DtmParameter></FDT>";
        parameter.IDtmParameter_SetParameters(c.path, document);
        EXPECT_EQ(platform::com::CStr(Element(secretPath).TransientValue), c.taken ? code : blanks);
        // The document came in with the secret's entry masked, the rest as it came.
        const std::string in = folder.Read("ChannelTraceFile.txt");
        EXPECT_NE(in.find("<fdt:Display string=\"" + blanks + "\"/>"), std::string::npos) << in;
        EXPECT_NE(in.find("<fdt:Display string=\"FT-200\"/>"), std::string::npos) << in;
        parameter.IDtmParameter_GetParameters("PHYS/");
        for (const char* trace : {"TraceInfoFile.txt", "ChannelTraceFile.txt"})
            EXPECT_EQ(folder.Read(trace).find(code), std::string::npos) << trace;
        ASSERT_TRUE(std::filesystem::remove(folder.Dir() / "ChannelTraceFile.txt"));
    }
}

// Wherever the secret's entry carries the code (its value's text or CDATA,
// another attribute, a nested element, a comment), the entry is traced as the
// masked entry alone; no run of three characters of the code is traced, and
// the other entries are traced as they came.
TEST_F(DtmInterfacesTraced, TheWholeEntryOfASecretIsTracedMasked) {
    auto& parameter = As<platform::fdt::IDtmParameter>();
    const std::string code = "QZ7XK93WJ";
    const std::string blanks = "         ";
    const std::string name = "name=\"PHYS/MANU/SERVICE_PASSWORD\"";
    const std::string masked = "<fdt:DtmVariable " + name + "><fdt:Value><fdt:Display string=\"" + blanks +
                               "\"/></fdt:Value></fdt:DtmVariable>";
    const std::string other = "<fdt:DtmVariable name=\"PHYS/TAG_DESC\" descriptor=\"Tag\"><fdt:Value>"
                              "<fdt:Display string=\"FT-200\">FT<![CDATA[-200]]></fdt:Display></fdt:Value>"
                              "</fdt:DtmVariable>";
    const auto entry = [&](const std::string& attributes, const std::string& display, const std::string& beside = "") {
        return "<fdt:DtmVariable " + name + attributes + "><fdt:Value>" + display + "</fdt:Value>" + beside +
               "</fdt:DtmVariable>";
    };
    const std::string shown = "<fdt:Display string=\"" + blanks + "\">";
    const std::pair<const char*, std::string> cases[] = {
        {"the display's text", entry("", shown + code + "</fdt:Display>")},
        {"a CDATA section", entry("", shown + "<![CDATA[" + code + "]]></fdt:Display>")},
        {"text and CDATA", entry("", shown + "QZ7X<![CDATA[K93WJ]]></fdt:Display>")},
        {"the display's string too", entry("", "<fdt:Display string=\"" + code + "\">" + code + "</fdt:Display>")},
        {"a second attribute", entry("", "<fdt:Display string=\"" + blanks + "\" value=\"" + code + "\"/>")},
        {"attributes of the value and the entry",
         "<fdt:DtmVariable " + name + " descriptor=\"" + code + "\"><fdt:Value readAccess=\"" + code + "\">" +
             "<fdt:Display string=\"" + blanks + "\"/></fdt:Value></fdt:DtmVariable>"},
        {"a namespace declaration", entry(" xmlns:fdt=\"urn:" + code + "\"", shown + "</fdt:Display>")},
        {"nested elements",
         entry("", shown + "<fdt:Part><fdt:Part code=\"" + code + "\">" + code + "</fdt:Part></fdt:Part></fdt:Display>",
               "<fdt:Other><fdt:Value>" + code + "</fdt:Value></fdt:Other>")},
        {"a second display", entry("", shown + "</fdt:Display><fdt:Display string=\"" + code + "\"/>")},
        {"text and a comment of the entry",
         "<fdt:DtmVariable " + name + ">" + code + "<!--" + code + "--><fdt:Value>" + shown +
             "</fdt:Display></fdt:Value></fdt:DtmVariable>"},
    };
    for (const auto& [what, secret] : cases) {
        SCOPED_TRACE(what);
        const std::string document =
            "<FDT><DtmParameter><ParameterSet>" + secret + other + "</ParameterSet></DtmParameter></FDT>";
        parameter.IDtmParameter_SetParameters("PHYS/", document);
        const std::string in = folder.Read("ChannelTraceFile.txt");
        EXPECT_EQ(Count(in, masked), 1u) << in;
        EXPECT_EQ(Count(in, other), 1u) << in;
        for (const char* trace : {"TraceInfoFile.txt", "ChannelTraceFile.txt"}) {
            const std::string text = folder.Read(trace);
            for (size_t at = 0; at + 3 <= code.size(); ++at)
                EXPECT_EQ(text.find(code.substr(at, 3)), std::string::npos) << trace << ": " << code.substr(at, 3);
        }
        ASSERT_TRUE(std::filesystem::remove(folder.Dir() / "ChannelTraceFile.txt"));
    }
}

TEST_F(DtmInterfacesTraced, ADocumentTheParserRefusesIsNotTracedSinceItMayCarryTheSecret) {
    const std::string code = dtm::frame::SimulatedDevice::kServiceCode;
    const std::string document = "<FDT><DtmParameter><ParameterSet><fdt:DtmVariable name=\"PHYS/MANU/SERVICE_PASSWORD\">"
                                 "<fdt:Value><fdt:Display string=\"" + code + "\"/></fdt:Value></ParameterSet></FDT>";
    EXPECT_FALSE(As<platform::fdt::IDtmParameter>().IDtmParameter_SetParameters("", document));
    const std::string in = folder.Read("ChannelTraceFile.txt");
    EXPECT_EQ(in.find(code), std::string::npos) << in;
    EXPECT_NE(in.find("(no well-formed document, " + std::to_string(document.size()) + " bytes, not shown)"),
              std::string::npos) << in;
}

// A transaction monitor page that checks that each response comes before the
// communication service has handled it.
class MonitorPage : public dtm::testing::StubPage, public dtm::ITransactionMonitor {
public:
    explicit MonitorPage(platform::rt::DtmCommService& service) : service_(service) {}
    void DisplayTransactionResponse(const std::string& response) override {
        responses.push_back(response);
        if (response.find("ReadResponse") != std::string::npos) pendingAtDisplay.push_back(service_.PendingTransactions());
        if (raise) platform::com::Raise(5);
    }
    std::vector<std::string> responses;
    std::vector<size_t> pendingAtDisplay;
    bool raise = false;

private:
    platform::rt::DtmCommService& service_;
};

TEST_F(DtmInterfaces, TransactionMonitorSeesEveryResponseBeforeTheService) {
    dtm::frame::SimulatedDevice device;
    dtm::frame::DeviceChannel channel(*session.Communication(), device);
    ASSERT_TRUE(session.SetCommunication());
    auto monitor = std::make_shared<MonitorPage>(*Ctx().CommService());
    const std::string id = "{AAAAAAAA-0000-0000-0000-000000000001}";
    Ctx().GuiRegistry()->RegisterGUI(id, monitor, true);
    Element("InvokeId_ctl_TR_Monitor").TransientValue = Variant(id);

    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    ASSERT_GE(monitor->responses.size(), 4u);  // connect, two identity reads, the upload
    EXPECT_NE(monitor->responses.front().find("ConnectResponse"), std::string::npos);
    for (const size_t pending : monitor->pendingAtDisplay) EXPECT_EQ(pending, 1u);

    // A monitor that fails, or one that is gone, does not keep the response from the service.
    monitor->raise = true;
    EXPECT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    Ctx().GuiRegistry()->UnregisterGUI(id);
    monitor.reset();
    EXPECT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
}

}  // namespace
