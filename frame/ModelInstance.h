#pragma once
// A model instance without a DTM object: a context and its data model, the
// model created the way a new instance creates it, for the frame's listings,
// the tests and the benchmarks.
#include <memory>
#include <string>

#include "model/elements/clsDataModel.h"
#include "platform/rt/DTMContext.h"

namespace dtm::frame {

struct ModelInstance {
    std::shared_ptr<platform::rt::DTMContext> ctx;
    std::shared_ptr<clsDataModel> model;

    platform::rt::Parameters& Parameters() const { return *ctx->Parameters(); }
};

// Creates the context and the model and builds every element through
// CreateModel. With initialise, the new instance also takes its initial values
// and the GUI registry's language (1033 unless changed).
ModelInstance NewModelInstance(const std::string& deviceTypeName = "RXD 218", bool initialise = true);
// The same with a given data model object, for instance one that records what
// it is told.
ModelInstance NewModelInstance(std::shared_ptr<clsDataModel> model, const std::string& deviceTypeName = "RXD 218",
                               bool initialise = true);

}  // namespace dtm::frame
