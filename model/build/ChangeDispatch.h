#pragma once
// What follows from one changed element: the block's change handlers, the tag
// copy between "~/Tag" and "PHYS/TAG_DESC", the block's refresh procedures, the
// slave parameter set and the communication-error bits of a record's members.
#include <cstdint>
#include <memory>

namespace platform::rt {
class DTMContext;
class Parameters;
}  // namespace platform::rt

namespace dtm {

class clsDataElement;
class clsDataModel;

// Runs everything that follows from a change of `element`. NestingLevel is 1 for
// a change from outside the dispatch and one more for every notice sent while a
// change is handled. Errors go to the caller.
void HandleDataChange(const std::shared_ptr<clsDataElement>& element,
                      const std::shared_ptr<platform::rt::DTMContext>& DTMContext, int32_t NestingLevel);
// The same from the model of DTMContext's collection, which it need not look up
// (null: looked up where needed).
void HandleDataChange(const clsDataModel* model, const std::shared_ptr<clsDataElement>& element,
                      const std::shared_ptr<platform::rt::DTMContext>& DTMContext, int32_t NestingLevel);

// The refresh procedures of the element's block. With bNoNotify they change
// elements without sending change notices (language change).
void UpdateDependentParams(const std::shared_ptr<clsDataElement>& element, platform::rt::Parameters& Parameters,
                           bool bNoNotify);

// Hook of the parameter link after it handled a change; nothing to do.
void OnParamLinkChange(const std::shared_ptr<clsDataElement>& element, platform::rt::Parameters& Parameters);

}  // namespace dtm
