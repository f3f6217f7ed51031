#include "core/module/RegisterPages.h"

#include <memory>

#include "pages/framework/ctlAbout.h"
#include "pages/framework/ctlIdent.h"
#include "pages/framework/ctlNoMoreWindows.h"
#include "pages/parameterisation/ctlAlarm.h"
#include "pages/parameterisation/ctlAlarmAI.h"
#include "pages/parameterisation/ctlChannelAssign.h"
#include "pages/parameterisation/ctlIOp.h"
#include "pages/parameterisation/ctlIOpFuncPage.h"
#include "pages/parameterisation/ctlInpTabPage.h"
#include "pages/parameterisation/ctlInput.h"
#include "pages/parameterisation/ctlOffline.h"
#include "pages/parameterisation/ctlProfilBlockView.h"
#include "pages/parameterisation/ctlProfilViewDyn.h"
#include "pages/measurement/ctlDiagBlock.h"
#include "pages/measurement/ctlDiagnosis.h"
#include "pages/measurement/ctlMeasBars.h"
#include "pages/measurement/ctlMeasOView.h"
#include "pages/measurement/ctlMeasure.h"
#include "pages/service/ctlCalib.h"
#include "pages/service/ctlOnline.h"
#include "pages/service/ctlProtect.h"
#include "pages/service/ctlReset.h"
#include "pages/measurement/ctlArchive.h"
#include "pages/measurement/ctlMeasOutBlock.h"
#include "pages/measurement/ctlMeasOutOView.h"
#include "pages/measurement/ctlMeasOutputs.h"
#include "pages/service/ctlAddress.h"
#include "pages/service/ctlMethodAnalysis.h"
#include "pages/service/ctlSimuCh.h"
#include "pages/service/ctlSimulation.h"
#include "pages/service/ctl_TR_Monitor.h"
#include "platform/com/ClassRegistry.h"

namespace dtm {

namespace {

template <class Page>
void RegisterPage(platform::com::ClassRegistry& registry, const char* className) {
    registry.Register(std::string(kPageProgIdPrefix) + className, [] { return std::make_shared<Page>(); });
}

}  // namespace

void RegisterPages(platform::com::ClassRegistry& registry) {
    RegisterPage<ctlIdent>(registry, "ctlIdent");
    RegisterPage<ctlAbout>(registry, "ctlAbout");
    RegisterPage<ctlNoMoreWindows>(registry, "ctlNoMoreWindows");
    RegisterPage<ctlOffline>(registry, "ctlOffline");
    RegisterPage<ctlInput>(registry, "ctlInput");
    RegisterPage<ctlInpCtrlParam>(registry, "ctlInpCtrlParam");
    RegisterPage<ctlInpMeasLimits>(registry, "ctlInpMeasLimits");
    RegisterPage<ctlInpMeasConLimits>(registry, "ctlInpMeasConLimits");
    RegisterPage<ctlIOp>(registry, "ctlIOp");
    RegisterPage<ctlIOpFuncAI>(registry, "ctlIOpFuncAI");
    RegisterPage<ctlIOpFuncTOT>(registry, "ctlIOpFuncTOT");
    RegisterPage<ctlAlarm>(registry, "ctlAlarm");
    RegisterPage<ctlAlarmAI>(registry, "ctlAlarmAI");
    RegisterPage<ctlChannelAssign>(registry, "ctlChannelAssign");
    RegisterPage<ctlProfilViewDyn>(registry, "ctlProfilViewDyn");
    RegisterPage<ctlProfilPhysicalBlock>(registry, "ctlProfilPhysicalBlock");
    RegisterPage<ctlProfilTBFlowCoriolis>(registry, "ctlProfilTBFlowCoriolis");
    RegisterPage<ctlProfilFunctionBlockAI>(registry, "ctlProfilFunctionBlockAI");
    RegisterPage<ctlProfilFunctionBlockTOT>(registry, "ctlProfilFunctionBlockTOT");
    RegisterPage<ctlMeasure>(registry, "ctlMeasure");
    RegisterPage<ctlMeasOView>(registry, "ctlMeasOView");
    RegisterPage<ctlMeasFlow>(registry, "ctlMeasFlow");
    RegisterPage<ctlMeasConc>(registry, "ctlMeasConc");
    RegisterPage<ctlDiagnosis>(registry, "ctlDiagnosis");
    RegisterPage<ctlDiagBlock>(registry, "ctlDiagBlock");
    RegisterPage<ctlOnline>(registry, "ctlOnline");
    RegisterPage<ctlCalib>(registry, "ctlCalib");
    RegisterPage<ctlReset>(registry, "ctlReset");
    RegisterPage<ctlProtect>(registry, "ctlProtect");
    RegisterPage<ctlMeasOutputs>(registry, "ctlMeasOutputs");
    RegisterPage<ctlMeasOutOView>(registry, "ctlMeasOutOView");
    RegisterPage<ctlMeasOutAI>(registry, "ctlMeasOutAI");
    RegisterPage<ctlMeasOutTOT>(registry, "ctlMeasOutTOT");
    RegisterPage<ctlArchive>(registry, "ctlArchive");
    RegisterPage<ctlAddress>(registry, "ctlAddress");
    RegisterPage<ctlSimulation>(registry, "ctlSimulation");
    RegisterPage<ctlSimuCh>(registry, "ctlSimuCh");
    RegisterPage<ctlMethodAnalysis>(registry, "ctlMethodAnalysis");
    RegisterPage<ctl_TR_Monitor>(registry, "ctl_TR_Monitor");
}

}  // namespace dtm
