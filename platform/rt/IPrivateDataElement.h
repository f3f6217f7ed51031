#pragma once
// The runtime's view of one parameter element: values, persistence, FDT
// variable nodes and transfer selection. The model's element class implements it.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::com {
class PropertyBag;
}
namespace platform::xml {
class Element;
}

namespace platform::rt {

class DTMContext;
class DtmRuntimeGlobal;

class IPrivateDataElement : public virtual com::Object {
public:
    using Ctx = P<DTMContext>;

    virtual std::string Name() const = 0;
    virtual void Name(const std::string& value) = 0;
    virtual int32_t ValueType() const = 0;
    virtual void ValueType(int32_t value) = 0;
    virtual int32_t ValueTypeLength() const = 0;
    virtual void ValueTypeLength(int32_t value) = 0;
    virtual int32_t StatusFlags() const = 0;
    virtual void StatusFlags(int32_t value) = 0;
    virtual int32_t ElementMode() const = 0;
    virtual void ElementMode(int32_t value) = 0;
    virtual Variant TransientValue() const = 0;
    virtual void TransientValue(const Variant& value) = 0;
    virtual Variant PersistentValue() const = 0;
    virtual void PersistentValue(const Variant& value) = 0;
    virtual Variant DeviceValue() const = 0;
    virtual void DeviceValue(const Variant& value) = 0;
    // The unit code of DeviceValue; 0 when the element has none.
    virtual int16_t DeviceUnit() const { return 0; }

    virtual bool InitNew(P<DtmRuntimeGlobal> probe, Ctx ctx) = 0;
    // False when the element did not take its stored value.
    virtual bool ReadFromPropBag(com::PropertyBag& bag, Ctx ctx) = 0;
    virtual bool WriteToPropBag(com::PropertyBag& bag, Ctx ctx) = 0;
    virtual bool ReadFromDtmVariable(P<xml::Element> node, Ctx ctx) = 0;
    virtual bool WriteToDtmVariable(P<xml::Element> node, Ctx ctx) = 0;
    virtual bool WriteToDocVariable(P<xml::Element> node, Ctx ctx) = 0;

    virtual bool IsUploadParam(const Ctx& ctx) = 0;
    virtual bool IsDownloadParam(const Ctx& ctx) = 0;
    virtual bool IsDeviceCommand(Ctx ctx) = 0;

    virtual int32_t NestProcessLevel() const = 0;
    virtual void NestProcessLevel(int32_t value) = 0;

    // PROFIBUS address, so the runtime can group transfers without a downcast.
    virtual int16_t Slot() const = 0;
    virtual int16_t Index() const = 0;
};

using El = P<IPrivateDataElement>;

}  // namespace platform::rt
