#pragma once
// A DTM context whose collection knows a data model with its unit table, for
// tests of elements that reach the unit table or the collection.
#include <memory>

#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "ModelWithUnits.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm::testing {

struct ModelContext {
    ModelContext() { ctx->Parameters()->DataModel(model); }

    platform::rt::Parameters& params() { return *ctx->Parameters(); }

    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::P<ModelWithUnits> model = std::make_shared<ModelWithUnits>();
};

}  // namespace dtm::testing
