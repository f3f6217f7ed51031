#include "frame/FunctionList.h"

#include "platform/app/Path.h"
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

bool ListedFunction(int32_t functionId) {
    platform::xml::Document doc;
    if (!doc.Load(platform::app::File("\\XMLData\\DTMFunctions.xml"))) return false;
    for (const auto& function : doc.SelectNodes("DTMFunctions/Function"))
        if (platform::com::CStr(function->GetAttribute("functionId")) == std::to_string(functionId)) return true;
    return false;
}

}  // namespace dtm::frame
