#pragma once
// A data model with its unit table that records the change notices it
// receives instead of dispatching them, for the block handler tests.
#include <memory>
#include <string>
#include <vector>

#include "ModelWithUnits.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/rt/IPrivateDataElement.h"

namespace dtm::testing {

class RecordingModel : public ModelWithUnits {
public:
    void DataChanged(const El& pda, const Ctx&) override { notified.push_back(pda->Name()); }
    clsPROFIBUSProfil3Units& Units() { return *PROFIBUSProfil3Units(); }

    std::vector<std::string> notified;
};

}  // namespace dtm::testing
