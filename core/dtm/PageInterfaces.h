#pragma once
// What a page asks of the DTM object that created it, and what the DTM asks
// of the transaction monitor page. The pages' navigation: IPrivateNavigation.h.
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
}

namespace dtm {

// The DTM object's own interface: its context, the same object from creation to release.
class IDtmContextProvider : public virtual platform::com::Object {
public:
    virtual platform::P<platform::rt::DTMContext> DTMContext() const = 0;
};

// The transaction monitor page: shows the frame's communication responses.
class ITransactionMonitor : public virtual platform::com::Object {
public:
    // Adds the response as one formatted line, as far as the page's selection allows.
    virtual void DisplayTransactionResponse(const std::string& Response) = 0;
};

}  // namespace dtm
