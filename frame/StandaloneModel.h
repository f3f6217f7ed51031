#pragma once
// A data model whose unit table exists before any model build, so that the
// frame and the tests can build block tables on their own.
#include <memory>

#include "model/clsDataModel.h"
#include "model/clsPROFIBUSProfil3Units.h"

namespace dtm::frame {

class StandaloneDataModel : public clsDataModel {
public:
    StandaloneDataModel() { m_Units = std::make_shared<clsPROFIBUSProfil3Units>(); }
};

}  // namespace dtm::frame
