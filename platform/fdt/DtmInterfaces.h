#pragma once
// The DTM's FDT interfaces besides IDtm, as the frame calls them: page program
// ids, documentation, parameter documents, device transfers, information,
// channels and the data-set events. No call ever throws into the frame.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::fdt {

class IDtmActiveXInformation : public virtual com::Object {
public:
    virtual std::string IDtmActiveXInformation_GetActiveXGuid(const std::string& FunctionCall) = 0;
    virtual std::string IDtmActiveXInformation_GetActiveXProgId(const std::string& FunctionCall) = 0;
};

class IDtmDocumentation : public virtual com::Object {
public:
    virtual std::string IDtmDocumentation_GetDocumentation(const std::string& FunctionCall) = 0;
};

class IDtmOnlineParameter : public virtual com::Object {
public:
    virtual bool IDtmOnlineParameter_CancelAction(const std::string& InvokeId) = 0;
    virtual bool IDtmOnlineParameter_DownloadRequest(const std::string& InvokeId, const std::string& parameterPath) = 0;
    virtual bool IDtmOnlineParameter_UploadRequest(const std::string& InvokeId, const std::string& parameterPath) = 0;
};

class IDtmParameter : public virtual com::Object {
public:
    virtual std::string IDtmParameter_GetParameters(const std::string& parameterPath) = 0;
    virtual bool IDtmParameter_SetParameters(const std::string& parameterPath, const std::string& FdtXmlDocument) = 0;
};

class IFdtEvents : public virtual com::Object {
public:
    virtual void IFdtEvents_OnChildParameterChanged(const std::string& SystemTag) = 0;
    virtual void IFdtEvents_OnParameterChanged(const std::string& SystemTag, const std::string& parameter) = 0;
    virtual void IFdtEvents_OnLockDataSet(const std::string& SystemTag, const std::string& UserName) = 0;
    virtual bool IFdtEvents_OnUnlockDataSet(const std::string& SystemTag, const std::string& UserName) = 0;
};

class IDtmInformation : public virtual com::Object {
public:
    virtual std::string IDtmInformation_GetInformation() = 0;
};

class IFdtChannelCollection;

class IDtmChannel : public virtual com::Object {
public:
    virtual P<IFdtChannelCollection> IDtmChannel_GetChannels() = 0;
};

}  // namespace platform::fdt
