#pragma once
// A model instance without a DTM object: a context and its data model, the
// model created the way a new instance creates it, for the frame's listings,
// the tests and the benchmarks.
#include <memory>
#include <string>

#include "model/clsDataModel.h"
#include "platform/rt/DTMContext.h"

namespace dtm::frame {

struct ModelInstance {
    std::shared_ptr<platform::rt::DTMContext> ctx;
    std::shared_ptr<clsDataModel> model;

    platform::rt::Parameters& Parameters() const { return *ctx->Parameters(); }
};

// Creates the context and the model and builds every element. With
// initialise, the new instance also takes its initial values and language
// (1033 unless the GUI registry was given another).
ModelInstance NewModelInstance(const std::string& deviceTypeName = "RXD 218", bool initialise = true);

}  // namespace dtm::frame
