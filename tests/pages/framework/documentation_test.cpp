// The DTM's documentation of a function lists what the function's real page
// shows: the page is created by program id from the component's registry and
// asked for its rows through its navigation.
#include <gtest/gtest.h>

#include <set>

#include "core/DtmFixture.h"
#include "core/dtm/clsFunctionMan.h"
#include "core/module/RegisterPages.h"
#include "pages/framework/ctlIdent.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/xml/Dom.h"

namespace dtm {
namespace {

namespace com = platform::com;

class PageDocumentation : public testing::DtmFixture {
protected:
    PageDocumentation() {
        RegisterComponentClasses(com::ClassRegistry::Global());
        StartNew();
    }
    std::set<std::string> Documented(int32_t functionId) {
        auto& doc = dynamic_cast<platform::fdt::IDtmDocumentation&>(*session.Dtm());
        platform::xml::Document parsed;
        EXPECT_TRUE(parsed.LoadXML(doc.IDtmDocumentation_GetDocumentation(
            "<FDT><FunctionCall functionId=\"" + std::to_string(functionId) + "\"/></FDT>")));
        std::set<std::string> names;
        for (const auto& node : parsed.SelectNodes("FDT/DtmDocumentation/fdt:DtmVariable"))
            names.insert(com::CStr(node->GetAttribute("name")));
        return names;
    }
};

TEST_F(PageDocumentation, TheOfflineWindowDocumentsTheRowsOfItsPages) {
    const auto names = Documented(1);
    // The identification page's rows among them, those of every AI block for "%d".
    for (const char* path : {"PHYS/TAG_DESC", "PHYS/IDENT_NUMBER_SELECTOR", "TRANS/1/FlowCori/MANU/_meter_series",
                             "PHYS/MANU/TELVOR_IDENTNUMBER"})
        EXPECT_TRUE(names.count(path)) << path;
    EXPECT_GT(names.size(), 16u);
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

TEST_F(PageDocumentation, ANavigablePageDocumentsExactlyItsRows) {
    com::ClassRegistry::Global().Register(FunctionProgId(1), [] { return std::make_shared<ctlIdent>(); });
    EXPECT_EQ(Documented(1).size(), 16u);
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

TEST_F(PageDocumentation, TheProfileBlockViewIsAskedWithoutHarm) {
    // Created only to be asked, it has no block view loaded: nothing to mark.
    EXPECT_TRUE(Documented(8).empty());
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

}  // namespace
}  // namespace dtm
