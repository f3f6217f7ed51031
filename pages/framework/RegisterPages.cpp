#include "pages/framework/RegisterPages.h"

#include "pages/framework/ctlAbout.h"
#include "pages/framework/ctlIdent.h"
#include "pages/framework/ctlNoMoreWindows.h"
#include "platform/com/ClassRegistry.h"

namespace dtm {

void RegisterPages(platform::com::ClassRegistry& registry) {
    RegisterPage<ctlIdent>(registry, "ctlIdent");
    RegisterPage<ctlAbout>(registry, "ctlAbout");
    RegisterPage<ctlNoMoreWindows>(registry, "ctlNoMoreWindows");
}

}  // namespace dtm
