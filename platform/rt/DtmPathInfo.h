#pragma once
// The instance's data folder and the XML helpers the model uses to read and
// write attribute values of parameter and documentation nodes.
#include <string>

#include "platform/com/Variant.h"

namespace platform::xml {
class Element;
class SchemaCollection;
}  // namespace platform::xml

namespace platform::rt {

class DtmPathInfo : public com::Object {
public:
    // XmlDataPath starts as the component folder + "/XMLData/".
    DtmPathInfo();

    // The folder of the component's data files, ending in "/".
    const std::string& XmlDataPath() const { return xmlDataPath_; }
    void XmlDataPath(const std::string& path) { xmlDataPath_ = path; }

    // The attribute's value as a String, or Empty when it is missing.
    Variant GetNodeAttribute(const std::string& name, const P<xml::Element>& node) const;
    // A new last child of `parent`; the prefix of `qname` is kept literally.
    P<xml::Element> AddChildElement(const std::string& qname, const P<xml::Element>& parent) const;
    // Writes the value's text form: numbers with ".", Boolean "true"/"false",
    // Byte arrays as upper-case hex, Date "yyyy-mm-ddThh:nn:ss", Empty and Null "".
    void SetNodeAttribute(const std::string& name, const Variant& value,
                          const P<xml::Element>& node) const;
    void SetDocAttribute(const std::string& name, const Variant& value,
                         const P<xml::Element>& node) const;
    // An empty collection; validates nothing.
    P<xml::SchemaCollection> SchemaCache() const;

private:
    std::string xmlDataPath_;
};

}  // namespace platform::rt
