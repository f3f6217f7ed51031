#include "pages/framework/RegisterPages.h"

#include <memory>

#include "pages/framework/ctlAbout.h"
#include "pages/framework/ctlIdent.h"
#include "pages/framework/ctlNoMoreWindows.h"
#include "pages/parameterisation/ctlAlarmAI.h"
#include "pages/parameterisation/ctlChannelAssign.h"
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
    RegisterPage<ctlAlarmAI>(registry, "ctlAlarmAI");
    RegisterPage<ctlChannelAssign>(registry, "ctlChannelAssign");
}

}  // namespace dtm
