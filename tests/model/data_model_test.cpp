// The data model object's identity and its access from a context.
#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/elements/clsDataModel.h"
#include "platform/com/Error.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::ComError;
using platform::com::Identical;

TEST(DataModel, ReportsTheComponentsIdentity) {
    clsDataModel model;
    EXPECT_EQ(model.DTMName(), "DTM for RXD214/218");
    EXPECT_EQ(model.DTMVendor(), "TELVOR");
    EXPECT_EQ(model.DTMVersion(), "1.1.14");
    EXPECT_TRUE(Identical(model.DTMDate(), Variant::Date(platform::com::DateSerial(2003, 1, 21))));
    EXPECT_EQ(model.DTMDescriptor(), "DTM for RXD214/218 (FDT1.2, PA 3.0)");
}

TEST(DataModel, StartsWithoutUnitTableAndOutsideValidation) {
    clsDataModel model;
    EXPECT_EQ(model.PROFIBUSProfil3Units(), nullptr);
    EXPECT_FALSE(model.ProcessingCompleteValidation());
}

TEST(DataModel, IsReachedThroughTheContextsCollection) {
    testing::ModelContext mc;
    EXPECT_EQ(&DataModelOf(mc.ctx), mc.model.get());
    EXPECT_EQ(&UnitsOf(mc.ctx), mc.model->PROFIBUSProfil3Units().get());

    auto bare = platform::rt::DTMContext::Create();
    auto model = std::make_shared<clsDataModel>();
    try {
        DataModelOf(bare);
        FAIL() << "no error";
    } catch (const ComError& e) {
        EXPECT_EQ(e.number, 91);
    }
    bare->Parameters()->DataModel(model);
    try {
        UnitsOf(bare);
        FAIL() << "no error";
    } catch (const ComError& e) {
        EXPECT_EQ(e.number, 91);
    }
}

}  // namespace
}  // namespace dtm
