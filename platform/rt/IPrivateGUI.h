#pragma once
// What the runtime calls on every registered page.
#include <cstdint>

#include "platform/com/Variant.h"

namespace platform::rt {

class IPrivateDataElement;

class IPrivateGUI : public virtual com::Object {
public:
    // Ends the page; True when it closed.
    virtual bool CloseGUI() = 0;
    // Whether CloseGUI would close the page now; asking changes nothing.
    virtual bool MayCloseGUI() const { return true; }
    virtual void LockStateChanged(bool lockState) = 0;
    virtual void ParameterChanged(const P<IPrivateDataElement>& element) = 0;
    virtual void ParameterSetChanged() = 0;
    virtual void ValidateParameters() = 0;
    virtual void SetLanguage(int32_t languageId) = 0;
};

}  // namespace platform::rt
