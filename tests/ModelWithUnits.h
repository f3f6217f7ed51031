#pragma once
// A data model whose unit table exists without a model build, for tests of
// single blocks and elements that need the unit table but not the whole model.
#include <memory>

#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"

namespace dtm::testing {

class ModelWithUnits : public clsDataModel {
public:
    ModelWithUnits() { m_Units = std::make_shared<clsPROFIBUSProfil3Units>(); }
};

}  // namespace dtm::testing
