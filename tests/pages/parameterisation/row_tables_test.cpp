// The row tables of the parameterisation pages against the model: every row of
// every page binds the element its tag names, for every block number the page
// is given, on both device types; and the offline window's parameter list
// walks its page tree in the order of the forms.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ParamPagesFixture.h"
#include "core/module/RegisterPages.h"
#include "pages/framework/IBlockIndexed.h"
#include "pages/framework/clsParamLink.h"
#include "pages/parameterisation/ctlIOpFuncPage.h"
#include "pages/parameterisation/ctlInpTabPage.h"
#include "pages/parameterisation/ctlOffline.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/Collection.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/xml/Dom.h"

namespace dtm {
namespace {

namespace ctl = platform::ctl;
using platform::P;

struct TableCase {
    const char* page;
    std::vector<int16_t> blocks;  // BlockIndex values to bind with
};

const TableCase kTables[] = {
    {"ctlInput", {0}},
    {"ctlInpCtrlParam", {0}},
    {"ctlInpMeasLimits", {0}},
    {"ctlInpMeasConLimits", {0}},
    {"ctlIOpFuncAI", {1, 2, 3, 5, 6, 7}},
    {"ctlIOpFuncTOT", {4, 8}},
    {"ctlProfilPhysicalBlock", {0}},
    {"ctlProfilTBFlowCoriolis", {1}},
    {"ctlProfilFunctionBlockAI", {1, 2, 3, 5, 6, 7}},
    {"ctlProfilFunctionBlockTOT", {4, 8}},
};

using Model = frame::SimulatedDevice::Model;

class RowTables : public testing::ParamPagesFixture, public ::testing::WithParamInterface<Model> {
protected:
    void SetUp() override { Start(GetParam()); }
};

TEST_P(RowTables, EveryRowBindsTheElementOfItsTagForEveryBlock) {
    for (const auto& c : kTables) {
        for (const int16_t block : c.blocks) {
            SCOPED_TRACE(std::string(c.page) + " block " + std::to_string(block));
            auto page = Create<PageBase>(c.page);
            ASSERT_NE(page, nullptr);
            if (auto funcPage = std::dynamic_pointer_cast<ctlIOpFuncPage>(page)) funcPage->BlockIndex(block);
            if (auto blockPage = std::dynamic_pointer_cast<IBlockIndexed>(page)) blockPage->BlockIndex(block);
            ASSERT_TRUE(page->Init("{table}.1$", "", frame->Session().Dtm()));
            EXPECT_TRUE(page->ctlParamSite1->UnboundRows().empty());
            size_t rows = 0;
            for (const auto& control : page->Controls()) {
                const auto row = std::dynamic_pointer_cast<ctl::ctlParameter>(control);
                if (!row) continue;
                ++rows;
                ASSERT_NE(row->Bound(), nullptr) << row->parameterTag();
                EXPECT_EQ(row->Bound()->Name(), ExpandParameterTag(row->parameterTag(), block, "", ""));
            }
            EXPECT_GT(rows, 0u);
            EXPECT_EQ(page->ctlParamSite1->Links().size(), rows);
            EXPECT_TRUE(page->PrepareToRelease());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DeviceTypes, RowTables, ::testing::Values(Model::RXD214, Model::RXD218),
                         [](const auto& info) { return info.param == Model::RXD214 ? "RXD214" : "RXD218"; });

using OfflineParameterList = testing::ParamPagesFixture;

// The rows of a page, by index, in the order of its form.
struct PageRows {
    const char* page;
    std::vector<int16_t> indexes;
};

TEST_F(OfflineParameterList, AnUninitialisedWindowListsItsRowsInFormOrder) {
    const std::vector<PageRows> expected = {
        {"ctlIOpFuncAI", {24, 25, 9, 10, 17, 18, 23, 19, 4, 5, 6, 11, 16, 21, 22, 0, 1, 2, 20, 12, 13, 14, 15}},
        {"ctlIOpFuncTOT", {17, 0, 7, 1, 2, 6, 11, 16, 21, 22, 3, 4, 5, 20, 13, 14, 15}},
        {"ctlInpCtrlParam", {9, 0, 2, 3, 1, 12, 4}},
        {"ctlInpMeasConLimits", {9, 10, 11, 3, 4, 5, 6, 7, 8, 0, 1, 2}},
        {"ctlInpMeasLimits", {0, 1, 2, 6, 7, 8, 3, 4, 5, 9, 10, 11}},
        {"ctlInput", {0, 1}},
        {"ctlIdent", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17}},
    };
    auto page = Create<ctlOffline>("ctlOffline");
    ASSERT_NE(page, nullptr);
    const auto rows = page->GetParameters("");
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->Count(), 89);
    int32_t i = 1;
    for (const auto& pageRows : expected) {
        for (const int16_t index : pageRows.indexes) {
            const auto row = std::dynamic_pointer_cast<ctl::ctlParameter>(rows->Item(i++).ObjRef());
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->Parent()->TypeName(), pageRows.page) << "item " << i - 1;
            EXPECT_EQ(row->Index, index) << pageRows.page << ", item " << i - 1;
        }
    }
}

TEST_F(OfflineParameterList, TheDocumentationOfFunction1NamesWhatTheWindowShows) {
    RegisterPages(platform::com::ClassRegistry::Global());
    auto& doc = dynamic_cast<platform::fdt::IDtmDocumentation&>(*frame->Session().Dtm());
    platform::xml::Document parsed;
    ASSERT_TRUE(parsed.LoadXML(
        doc.IDtmDocumentation_GetDocumentation("<FDT><FunctionCall functionId=\"1\"/></FDT>")));
    std::set<std::string> names;
    for (const auto& node : parsed.SelectNodes("FDT/DtmDocumentation/fdt:DtmVariable"))
        names.insert(platform::com::CStr(node->GetAttribute("name")));
    for (const char* path : {"PHYS/TAG_DESC", "TRANS/1/FlowCori/TAG_DESC", "TRANS/1/FlowCori/MANU/_conc_function",
                             "TRANS/1/FlowCori/MANU/SOLID_FLOW_HI_LIMIT", "FUNC/1/AI/PV_SCALE/Lo_Val",
                             "FUNC/7/AI/BATCH/PHASE", "FUNC/8/TOT/SET_TOT"})
        EXPECT_TRUE(names.count(path)) << path;
}

}  // namespace
}  // namespace dtm
