#pragma once
// The archive object of a DTM instance (our stand-in for the outside archive
// control library): the DTM creates it, registers it with the context, which
// persists it with the data set, and switches its curve check on.
#include <string>

#include "platform/com/PropertyBag.h"
#include "platform/com/Variant.h"

namespace platform::archive {

class Archive : public com::Object, public com::IPersistable {
public:
    // -1 (True) or 0; stored as prefix + "CheckCurveEnabled", default -1.
    bool CheckCurveEnabled() const { return checkCurveEnabled_; }
    void CheckCurveEnabled(bool enabled) { checkCurveEnabled_ = enabled; }

    void Load(com::PropertyBag& bag, const std::string& prefix) override;
    void Save(com::PropertyBag& bag, const std::string& prefix) override;

private:
    bool checkCurveEnabled_ = true;
};

}  // namespace platform::archive
