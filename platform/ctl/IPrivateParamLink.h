#pragma once
// What a parameter site calls on its links, in slot order: a fresh link per
// row from the page's template, the bound element and row, binding, release,
// texts, refresh and validation.
#include <cstdint>
#include <string>

#include "platform/com/Collection.h"
#include "platform/com/Variant.h"
#include "platform/rt/IPrivateDataElement.h"

namespace platform::rt {
class DTMContext;
}

namespace platform::ctl {

class ctlParameter;

class IPrivateParamLink : public virtual com::Object {
public:
    virtual P<IPrivateParamLink> GetNewParamLink() = 0;
    virtual rt::El DataElement() const = 0;
    virtual P<ctlParameter> ParameterCtl() const = 0;
    // Binds `row` to the element its tag names; a tag naming no element raises.
    virtual void InitLink(const P<rt::DTMContext>& ctx, const P<ctlParameter>& row, const P<com::Collection>& images,
                          const std::string& guiInvokeId) = 0;
    virtual void TerminateLink() = 0;
    virtual void InitLanguageDependent(int32_t languageId) = 0;
    virtual void UpdateParameter() = 0;
    virtual void ValidateParameter() = 0;
};

}  // namespace platform::ctl
