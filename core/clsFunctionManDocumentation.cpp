// clsFunctionMan: the documentation document of a function call. Until the
// documentation builder is wired, no function has a document.
#include "core/clsFunctionMan.h"

namespace dtm {

std::string clsFunctionMan::GetDocumentation(const Ctx&, const Call&) { return {}; }

}  // namespace dtm
