#pragma once
// The FDT frame's side of the conversation: the interfaces the frame implements
// and the DTM calls (container, events, communication), and the channel
// interfaces the frame reads from the DTM.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::fdt {

// The frame's container of the DTM instance.
class IFdtContainer : public virtual com::Object {
public:
    // Asks the frame to store the instance.
    virtual bool SaveRequest(const std::string& systemTag) = 0;
    // Asks the frame to close the DTM's pages; False when it cannot.
    virtual bool CloseRequest(const std::string& invokeId) = 0;
};

// Notifications the DTM sends to the frame.
class IDtmEvents : public virtual com::Object {
public:
    virtual void OnFunctionChanged(const std::string& systemTag) = 0;
    virtual void OnPreparedToRelease(const std::string& systemTag) = 0;
    virtual void OnPreparedToReleaseCommunication(const std::string& systemTag) = 0;
    virtual void OnPrint(const std::string& systemTag, const std::string& functionCall) = 0;
    virtual void OnInvokedFunctionFinished(const std::string& systemTag, const std::string& invokeId,
                                           bool ok) = 0;
    virtual void OnUploadFinished(const std::string& systemTag, const std::string& invokeId,
                                  bool ok) = 0;
    virtual void OnDownloadFinished(const std::string& systemTag, const std::string& invokeId,
                                    bool ok) = 0;
    virtual void OnErrorMessage(const std::string& systemTag, const std::string& text) = 0;
    // The last progress event of an operation has show = false.
    virtual void OnProgress(const std::string& systemTag, const std::string& title, int32_t percent,
                            bool show) = 0;
    virtual void OnParameterChanged(const std::string& systemTag, const std::string& xml) = 0;
};

// Answers of the frame's communication object, delivered later than the request.
class IFdtCommunicationEvents : public virtual com::Object {
public:
    virtual void OnAbort(const std::string& communicationReference) = 0;
    virtual void OnConnectResponse(const std::string& invokeId, const std::string& response) = 0;
    virtual void OnDisconnectResponse(const std::string& invokeId, const std::string& response) = 0;
    virtual void OnTransactionResponse(const std::string& invokeId, const std::string& response) = 0;
};

// The frame's communication channel. Requests answer at once whether they were
// accepted; the results arrive at the IFdtCommunicationEvents sink.
class IFdtCommunication : public virtual com::Object {
public:
    virtual bool ConnectRequest(W<IFdtCommunicationEvents> sink, const std::string& invokeId,
                                const std::string& protocolId, const std::string& xml) = 0;
    virtual bool DisconnectRequest(const std::string& invokeId, const std::string& xml) = 0;
    virtual bool TransactionRequest(const std::string& invokeId, const std::string& xml) = 0;
    virtual bool AbortRequest(const std::string& communicationReference) = 0;
};

// One process-data channel of the DTM, as the frame sees it.
class IFdtChannel : public virtual com::Object {
public:
    virtual std::string GetChannelPath() = 0;
    virtual std::string GetChannelParameters(const std::string& parameterPath,
                                             const std::string& protocolId) = 0;
    virtual bool SetChannelParameters(const std::string& parameterPath, const std::string& protocolId,
                                      const std::string& xmlDocument) = 0;
};

// The DTM's channels, 1-based.
class IFdtChannelCollection : public virtual com::Object {
public:
    virtual int32_t Count() = 0;
    virtual P<IFdtChannel> Item(int32_t index) = 0;
};

}  // namespace platform::fdt
