// clsDataModel: identity of the component and access to the model and its unit table.
#include "model/elements/clsDataModel.h"

#include "core/services/StrFkt.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/app/Version.h"
#include "platform/com/Error.h"
#include "platform/com/FastCast.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;
namespace vb = platform::com::vb;

namespace {

// The component's version record.
constexpr const char* kProductName = "DTM for RXD214/218";
constexpr const char* kCompanyName = "TELVOR";
constexpr const char* kFileDescription = "DTM for RXD214/218 (FDT1.2, PA 3.0)";
constexpr const char* kComments = "FDT 1.2 DTM for the RXD 214 and RXD 218, PROFIBUS PA Profile 3.0, 2003-01-21";

}  // namespace

std::string clsDataModel::DTMName() { return kProductName; }

std::string clsDataModel::DTMVendor() { return kCompanyName; }

std::string clsDataModel::DTMVersion() { return platform::app::Version(); }

platform::Variant clsDataModel::DTMDate() {
    const std::string comments = kComments;
    const int32_t pos = InStrRevLike(comments, "####-##-##", 0);
    if (pos == 0) return platform::Variant();
    return com::CDate(platform::Variant(vb::Mid(comments, pos, 10)));
}

std::string clsDataModel::DTMDescriptor() { return kFileDescription; }

clsDataModel& DataModelOf(const platform::P<platform::rt::DTMContext>& DTMContext) {
    return DataModelOf(com::Deref(com::Deref(DTMContext).Parameters()));
}

clsDataModel& DataModelOf(const platform::rt::Parameters& Parameters) {
    // The model outlives this call: the parameters hold it weakly, its owner strongly.
    auto* model = com::FastCast<clsDataModel>(Parameters.DataModel().get());
    if (!model) com::Raise(com::errObjectNotSet);
    return *model;
}

clsPROFIBUSProfil3Units& UnitsOf(const platform::P<platform::rt::DTMContext>& DTMContext) {
    return com::Deref(DataModelOf(DTMContext).PROFIBUSProfil3Units());
}

}  // namespace dtm
