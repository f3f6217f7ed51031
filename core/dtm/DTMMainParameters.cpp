// DTMMain: parameter documents out and in (IDtmParameter), with their
// channel-trace record of the slave parameter set around a change.
#include "core/dtm/DTMMain.h"
#include "core/channels/SlaveBusParamSet.h"
#include "core/services/Trace.h"
#include "platform/com/Error.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/ParameterService.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::com::Deref;
using platform::fdt::InvokeFromFrame;

namespace {

const std::string kLineBreak = "\r\n";
// The parameter service's flags for the frame's documents.
constexpr int32_t kFrameDocumentFlags = 64;

std::string Framed(const std::string& xml) {
    return kLineBreak + "XML Begin" + kLineBreak + xml + kLineBreak + "XML End" + kLineBreak;
}

}  // namespace

std::string DTMMain::SlaveSetDump() const {
    auto& params = Deref(Deref(m_DTMContext).Parameters());
    std::string dump;
    for (int n = 1; n <= 8; ++n) {
        const std::string number = std::to_string(n);
        dump += "FB" + number + ": " +
                platform::com::CStr(params.Item("SlaveBusParamSet_FB" + number)->TransientValue()) + kLineBreak;
    }
    dump += platform::com::CStr(params.Item("SlaveBusParamSet_WholeString")->TransientValue()) + kLineBreak;
    return dump;
}

std::string DTMMain::IDtmParameter_GetParameters(const std::string& parameterPath) {
    return InvokeFromFrame("DTMMain-IDtmParameter_GetParameters", [&] { return GetParameters(parameterPath); },
                           std::string());
}

std::string DTMMain::GetParameters(const std::string& parameterPath) {
    auto& ctx = Deref(m_DTMContext);
    Deref(ctx.GuiRegistry()).FlushInput();
    UpdateChannelSlots(m_DTMContext);
    std::string document =
        Deref(ctx.ParameterService()).GetParameters(m_DTMContext, parameterPath, kFrameDocumentFlags);
    ChannelTraceOut("DTMMain-IDtmParameter_GetParameters", Framed(document), m_DTMContext);
    Trace("-IDtmParameter_GetParameters", "");
    return document;
}

bool DTMMain::IDtmParameter_SetParameters(const std::string& parameterPath, const std::string& FdtXmlDocument) {
    return InvokeFromFrame("DTMMain-IDtmParameter_SetParameters",
                           [&] { return SetParameters(parameterPath, FdtXmlDocument); }, false);
}

bool DTMMain::SetParameters(const std::string& parameterPath, const std::string& FdtXmlDocument) {
    static const std::string kFirstText = "DTMMain-IDtmParameter_SetParameters";
    auto& ctx = Deref(m_DTMContext);
    auto& params = Deref(ctx.Parameters());
    ChannelTraceOut(kFirstText, "Parameter settings at functions begin: " + kLineBreak + SlaveSetDump(), m_DTMContext);
    ChannelTraceOut(kFirstText, "ParameterPath= " + parameterPath, m_DTMContext);
    ChannelTraceOut(kFirstText, Framed(FdtXmlDocument), m_DTMContext);

    params.BeginSetParameters();
    bool result = false;
    try {
        const BusParamSetValues slaveSetBefore = BusParamSetValuesOf(params);
        result = Deref(ctx.ParameterService())
                     .SetParameters(FdtXmlDocument, m_DTMContext, parameterPath, kFrameDocumentFlags);
        // The form of the slave parameter set that the document changed wins
        // over the forms it left as they were.
        ReportChangedBusParamForm(params, slaveSetBefore);
    } catch (...) {
        result = false;
    }
    params.EndSetParameters();
    Trace("-IDtmParameter_SetParameters", "");
    ChannelTraceOut(kFirstText, "Parameter settings at functions end: " + kLineBreak + SlaveSetDump(), m_DTMContext);
    return result;
}

}  // namespace dtm
