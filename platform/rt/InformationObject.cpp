#include "platform/rt/InformationObject.h"

#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/FdtDocument.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {
constexpr const char* kDeviceTypePath = "FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType";
}

std::string InformationObject::BuildInformation(const P<DTMContext>& ctx) {
    auto& context = com::Deref(ctx);
    auto model = com::Deref(context.Parameters()).DataModel();
    auto doc = std::make_shared<xml::Document>();
    auto info = NewFdtDocument(*doc, "DtmInformation");
    if (model) {
        info->SetAttribute("name", model->DTMName());
        info->SetAttribute("vendor", model->DTMVendor());
        info->SetAttribute("version", model->DTMVersion());
        const Variant date = model->DTMDate();
        info->SetAttribute("date", date.IsEmpty() ? std::string() : com::CStr(date));
        info->SetAttribute("descriptor", model->DTMDescriptor());
    }
    auto types = doc->CreateElement("DtmDeviceTypes");
    info->AppendChild(types);
    xml::Document data;
    const auto pathInfo = context.PathInfo();
    if (pathInfo && data.Load(pathInfo->XmlDataPath() + "DTMInformation.xml")) {
        for (const auto& source : data.SelectNodes(kDeviceTypePath)) {
            auto type = doc->CreateElement("fdt:DtmDeviceType");
            for (const auto& [name, value] : source->Attributes())
                if (name.rfind("xmlns", 0) != 0) type->SetAttribute(name, value);
            types->AppendChild(type);
        }
    }
    return doc->Xml();
}

}  // namespace platform::rt
