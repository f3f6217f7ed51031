#include "pages/parameterisation/RegisterParameterisationPages.h"

#include "pages/framework/RegisterPages.h"
#include "pages/parameterisation/ctlProfilBlockView.h"
#include "pages/parameterisation/ctlProfilViewDyn.h"
#include "platform/com/ClassRegistry.h"

namespace dtm {

void RegisterParameterisationPages(platform::com::ClassRegistry& registry) {
    // The profile block view and its block views.
    RegisterPage<ctlProfilViewDyn>(registry, "ctlProfilViewDyn");
    RegisterPage<ctlProfilPhysicalBlock>(registry, "ctlProfilPhysicalBlock");
    RegisterPage<ctlProfilTBFlowCoriolis>(registry, "ctlProfilTBFlowCoriolis");
    RegisterPage<ctlProfilFunctionBlockAI>(registry, "ctlProfilFunctionBlockAI");
    RegisterPage<ctlProfilFunctionBlockTOT>(registry, "ctlProfilFunctionBlockTOT");
}

}  // namespace dtm
