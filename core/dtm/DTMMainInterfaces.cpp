// DTMMain: the FDT interfaces besides IDtm and the communication events: page
// program ids and class ids, documentation, device transfers, information,
// channels and the data-set events.
#include "core/services/APIHelpers.h"
#include "core/dtm/DTMMain.h"
#include "core/services/LangSupp.h"
#include "core/channels/SlaveBusParamSet.h"
#include "core/services/Trace.h"
#include "core/channels/clsChannel.h"
#include "platform/com/Error.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmFunctionCall.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/InformationObject.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::P;
using platform::com::Deref;
using platform::fdt::InvokeFromFrame;

namespace {
const std::string kLineBreak = "\r\n";
}  // namespace

// ---- IDtmActiveXInformation, IDtmDocumentation ----

std::string DTMMain::IDtmActiveXInformation_GetActiveXProgId(const std::string& FunctionCall) {
    return InvokeFromFrame("DTMMain-IDtmActiveXInformation_GetActiveXProgId",
                           [&] { return GetActiveXProgId(FunctionCall); }, std::string());
}

std::string DTMMain::GetActiveXProgId(const std::string& FunctionCall) {
    auto call = std::make_shared<platform::rt::DtmFunctionCall>();
    if (!call->Parse(FunctionCall, m_DTMContext)) {
        Trace("-IDtmActiveXInformation_GetActiveXProgId", "ProgId empty");
        return {};
    }
    std::string progId = Deref(m_FunctionMan).GetActiveXProgId(m_DTMContext, call);
    Trace("-IDtmActiveXInformation_GetActiveXProgId", "ProgId ok");
    return progId;
}

std::string DTMMain::IDtmActiveXInformation_GetActiveXGuid(const std::string& FunctionCall) {
    return InvokeFromFrame("DTMMain-IDtmActiveXInformation_GetActiveXGuid", [&] {
        std::string result;
        const std::string progId = GetActiveXProgId(FunctionCall);
        Guid clsid{};
        if (!progId.empty() && ProgIdToClsid(progId, clsid)) result = ClsidToString(clsid);
        Trace("-IDtmActiveXInformation_GetActiveXGuid", "");
        return result;
    }, std::string());
}

std::string DTMMain::IDtmDocumentation_GetDocumentation(const std::string& FunctionCall) {
    return InvokeFromFrame("DTMMain-IDtmDocumentation_GetDocumentation", [&] {
        Deref(Deref(m_DTMContext).GuiRegistry()).FlushInput();
        std::string document;
        auto call = std::make_shared<platform::rt::DtmFunctionCall>();
        if (call->Parse(FunctionCall, m_DTMContext))
            document = Deref(m_FunctionMan).GetDocumentation(m_DTMContext, call);
        Trace("-IDtmDocumentation_GetDocumentation", "");
        return document;
    }, std::string());
}

// ---- IDtmOnlineParameter ----

bool DTMMain::IDtmOnlineParameter_CancelAction(const std::string& InvokeId) {
    return InvokeFromFrame("DTMMain-IDtmOnlineParameter_CancelAction", [&] {
        const bool result = Deref(Deref(m_DTMContext).OnlineService()).Cancel(InvokeId);
        Trace("-IDtmOnlineParameter_CancelAction", "");
        return result;
    }, false);
}

bool DTMMain::IDtmOnlineParameter_DownloadRequest(const std::string& InvokeId, const std::string& parameterPath) {
    return InvokeFromFrame("DTMMain-IDtmOnlineParameter_DownloadRequest", [&] {
        auto& ctx = Deref(m_DTMContext);
        Deref(ctx.GuiRegistry()).FlushInput();
        const bool result = Deref(ctx.OnlineService()).Download(InvokeId, parameterPath);
        Trace("-IDtmOnlineParameter_DownloadRequest", "");
        return result;
    }, false);
}

bool DTMMain::IDtmOnlineParameter_UploadRequest(const std::string& InvokeId, const std::string& parameterPath) {
    return InvokeFromFrame("DTMMain-IDtmOnlineParameter_UploadRequest", [&] {
        auto& ctx = Deref(m_DTMContext);
        Deref(ctx.GuiRegistry()).FlushInput();
        const bool result = Deref(ctx.OnlineService()).Upload(InvokeId, parameterPath);
        Trace("-IDtmOnlineParameter_UploadRequest", "");
        return result;
    }, false);
}

// ---- IFdtEvents ----

void DTMMain::IFdtEvents_OnChildParameterChanged(const std::string& SystemTag) {
    InvokeFromFrame("DTMMain-IFdtEvents_OnChildParameterChanged", [&] {
        Deref(Deref(m_DTMContext).Parameters()).OnChildParameterChanged(SystemTag, "");
        Trace("-IFdtEvents_OnChildParameterChanged", "");
    });
}

void DTMMain::IFdtEvents_OnParameterChanged(const std::string& SystemTag, const std::string& parameter) {
    InvokeFromFrame("DTMMain-IFdtEvents_OnParameterChanged", [&] {
        Deref(Deref(m_DTMContext).Parameters()).OnParameterChanged(SystemTag, parameter);
        Trace("-IFdtEvents_OnParameterChanged", "");
    });
}

void DTMMain::IFdtEvents_OnLockDataSet(const std::string& SystemTag, const std::string&) {
    InvokeFromFrame("DTMMain-IFdtEvents_OnLockDataSet", [&] {
        Deref(Deref(m_DTMContext).Parameters()).OnLockDataSet(SystemTag);
        Trace("-IFdtEvents_OnLockDataSet", "");
    });
}

bool DTMMain::IFdtEvents_OnUnlockDataSet(const std::string& SystemTag, const std::string&) {
    return InvokeFromFrame("DTMMain-IFdtEvents_OnUnlockDataSet", [&] {
        const bool result = Deref(Deref(m_DTMContext).Parameters()).OnUnlockDataSet(SystemTag);
        Trace("-IFdtEvents_OnUnlockDataSet", "");
        return result;
    }, false);
}

// ---- IDtmInformation ----

std::string DTMMain::IDtmInformation_GetInformation() {
    return InvokeFromFrame("DTMMain-IDtmInformation_GetInformation", [&] { return GetInformation(); },
                           std::string());
}

std::string DTMMain::GetInformation() {
    auto& ctx = Deref(m_DTMContext);
    auto& dictionary = Deref(ctx.Dictionary());
    if (!dictionary.DictionaryDocument()) {
        dictionary.LoadDictionary(m_DTMContext, "DTMDictionary");
        const int32_t languageId = Deref(ctx.GuiRegistry()).LanguageId();
        if (!dictionary.SelectLanguage(languageId, -1))
            dictionary.SelectLanguage(MakeLcid(PrimaryLangId(languageId), 0, 0), -1);
    }
    auto information = std::make_shared<platform::rt::InformationObject>();
    std::string document = information->BuildInformation(m_DTMContext);
    document = dictionary.Translate(document, m_DTMContext, "keys", "text");
    Trace("-IDtmInformation_GetInformation", "");
    return document;
}

// ---- IDtmChannel ----

P<platform::fdt::IFdtChannelCollection> DTMMain::IDtmChannel_GetChannels() {
    return InvokeFromFrame("DTMMain-IDtmChannel_GetChannels", [&] { return GetChannels(); },
                           P<platform::fdt::IFdtChannelCollection>());
}

P<platform::fdt::IFdtChannelCollection> DTMMain::GetChannels() {
    UpdateChannelSlots(m_DTMContext);
    auto& list = Deref(Deref(Deref(m_DTMContext).Parameters()).Channels());
    auto collection = list.ChannelCollection();
    auto& channels = Deref(collection);
    for (int32_t i = 1; i <= channels.Count(); ++i) {
        const std::string xml = Deref(channels.Item(i)).GetChannelParameters("", kProfibusDPV1ProtocolId);
        ChannelTraceOut("DTMMain-IDtmParameter_GetChannels",
                        kLineBreak + "XML Begin" + kLineBreak + xml + kLineBreak + "XML End" + kLineBreak,
                        m_DTMContext);
    }
    Trace("-IDtmChannel_GetChannels", "");
    return collection;
}

}  // namespace dtm
