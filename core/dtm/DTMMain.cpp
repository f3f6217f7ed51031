// DTMMain: creation and wiring of an instance, and the device description
// "DTMInformation.xml".
#include "core/dtm/DTMMain.h"

#include "core/dtm/DTMState.h"
#include "core/services/Trace.h"
#include "core/dtm/clsFunctionMan.h"
#include "model/elements/clsDataModel.h"
#include "platform/app/Path.h"
#include "platform/com/Error.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/xml/Dom.h"

namespace dtm {

using platform::Variant;
using platform::com::Deref;

namespace {
constexpr const char* kVersionNodePath = "FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:VersionInformation";
}

void DTMMain::Class_Initialize() {
    m_DataModel = std::make_shared<clsDataModel>();
    m_CommObj = std::make_shared<platform::rt::CommObj>();
    m_CommObj->SetEventSink(std::static_pointer_cast<platform::rt::ICommObjEvents>(shared_from_this()));
    m_FunctionMan = std::make_shared<clsFunctionMan>();
    m_DTMContext = platform::rt::DTMContext::Create();
    m_DTMContext->InitContext(shared_from_this(), m_DataModel, m_CommObj, m_FunctionMan);
    Deref(m_DTMContext->PathInfo()).XmlDataPath(platform::app::File("\\XMLData\\"));
    LoadDTMInformation();
    m_DTMContext->StateObject(std::make_shared<DTMState>());
    Deref(std::dynamic_pointer_cast<DTMState>(m_DTMContext->StateObject())).Init(m_DTMContext);
    m_CommObj->ValidateConnection(true);
    m_CommObj->Mode(2);
}

void DTMMain::LoadDTMInformation() {
    platform::xml::Document doc;
    if (!doc.Load(platform::app::File("\\XMLData\\DTMInformation.xml"))) return;
    if (auto node = doc.SelectSingleNode(kVersionNodePath)) {
        const Variant name = GetXmlAttribute("name", node);
        SetTraceVersionName(name.IsString() ? name.StrRef() : std::string());
    }
}

Variant GetXmlAttribute(const std::string& name, const platform::P<platform::xml::Element>& node) {
    if (!node) return Variant();
    const Variant value = node->GetAttribute(name);
    return value.IsNull() ? Variant(std::string()) : value;
}

void DTMMain::Trace(std::string_view literal, const std::string& message) const {
    if (!TraceOn()) return;
    TraceOut(std::string("DTMMain").append(literal), message, m_DTMContext);
}

}  // namespace dtm
