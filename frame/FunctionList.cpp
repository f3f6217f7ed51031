#include "frame/FunctionList.h"

#include "platform/com/Variant.h"
#include "platform/xml/Dom.h"

namespace dtm::frame {

std::vector<std::pair<std::string, std::string>> OfferedFunctions(const std::string& document) {
    std::vector<std::pair<std::string, std::string>> functions;
    platform::xml::Document doc;
    if (!doc.LoadXML(document)) return functions;
    for (const auto& function : doc.SelectNodes("FDT/DtmFunctions/Function"))
        functions.emplace_back(platform::com::CStr(function->GetAttribute("functionId")),
                               platform::com::CStr(function->GetAttribute("name")));
    return functions;
}

}  // namespace dtm::frame
