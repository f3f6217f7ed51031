#pragma once
// The runtime's view of a DTM's parameter model: identity, creation, language,
// change reports and the coding of PROFIBUS transactions.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"
#include "platform/rt/IPrivateDataElement.h"

namespace platform::rt {

class DTMContext;

class IPrivateDataModel : public virtual com::Object {
public:
    using Ctx = P<DTMContext>;

    virtual std::string DTMName() = 0;
    virtual std::string DTMVendor() = 0;
    virtual std::string DTMVersion() = 0;
    virtual Variant DTMDate() = 0;  // a Date
    virtual std::string DTMDescriptor() = 0;
    virtual void CreateModel(Ctx ctx) = 0;
    virtual void SetLanguage(Ctx ctx, int32_t LanguageId) = 0;
    virtual void DataChanged(const El& pda, const Ctx& ctx) = 0;
    virtual void DataSetChanged(Ctx ctx) = 0;
    // The outermost notice batch of the instance's Parameters has closed: what
    // DataChanged put off while it was open is done now.
    virtual void NoticeBatchEnded(Ctx /*ctx*/) {}
    // CommObj is the transaction of one request (slot, index, data, error info).
    virtual bool BuildTransactionRequest(Ctx ctx, P<com::Object> CommObj, bool bDownLoad, El pda) = 0;
    virtual bool ReadTransactionResponse(Ctx ctx, P<com::Object> CommObj, bool bDownLoad, El pda) = 0;
};

}  // namespace platform::rt
