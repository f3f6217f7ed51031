#pragma once
// The pages' own navigation interface and its hit record: find the rows bound
// to a parameter, list the caption keys and rows of a page tree, and bring a
// control named by a dotted control path into view.
#include <string>

#include "platform/com/Collection.h"
#include "platform/com/Variant.h"

namespace dtm {

// A navigation hit; navigation fills Pfad (and ItemType, DictKey for keys).
class clsSearchItem : public platform::com::Object {
public:
    std::string Name, Label, ToolTip, Help, EnumLst, ItemType, DictKey, Pfad;
};

class IPrivateNavigation : public virtual platform::com::Object {
public:
    virtual void InitControl(const platform::Variant& data) = 0;
    virtual platform::P<platform::com::Collection> FindParameters(const std::string& parTag,
                                                                  const std::string& ctlName) = 0;
    virtual platform::P<platform::com::Collection> GetDictKeys(const std::string& ctlName) = 0;
    virtual bool ShowControl(const std::string& controlPfad, const std::string& ctlName) = 0;
    virtual platform::P<platform::com::Collection> GetParameters(const std::string& ctlName) = 0;
};

}  // namespace dtm
