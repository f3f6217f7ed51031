// clsDataModel: creation of the model, language switch, change reports and the
// evaluation of the data-set state.
#include "model/clsDataModel.h"

namespace dtm {

void clsDataModel::CreateModel(Ctx) { platform::com::Raise(platform::com::errNoSuchMember); }

void clsDataModel::SetLanguage(Ctx, int32_t) { platform::com::Raise(platform::com::errNoSuchMember); }

void clsDataModel::DataChanged(El, Ctx) { platform::com::Raise(platform::com::errNoSuchMember); }

void clsDataModel::DataSetChanged(Ctx) { platform::com::Raise(platform::com::errNoSuchMember); }

void clsDataModel::EvaluateDataSetState(Ctx) { platform::com::Raise(platform::com::errNoSuchMember); }

}  // namespace dtm
