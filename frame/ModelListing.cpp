#include "frame/ModelListing.h"

#include "core/services/ConvStr.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/Parameters.h"

namespace dtm::frame {

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Empty as nothing, strings quoted, Byte arrays as upper-case hex, the rest
// in their CStr form.
std::string ValueText(const platform::Variant& value) {
    if (value.IsEmpty()) return {};
    if (value.IsArray()) return BytesToHex(value);
    if (value.Type() == platform::com::VarType::String) return Quoted(platform::com::CStr(value));
    return platform::com::CStr(value);
}

}  // namespace

void WriteModelListing(std::ostream& out, const platform::rt::Parameters& parameters) {
    out << kModelListingHeader << "\n";
    for (const auto& item : parameters) {
        const auto& e = static_cast<const clsDataElement&>(*item);
        out << e.Name << ',' << e.ValueType << ',' << e.ValueTypeLength << ',' << e.Slot << ',' << e.index << ','
            << static_cast<int>(e.BlockType) << ',' << e.BlockNumber << ',' << e.RelIndex << ',' << e.DataPosition
            << ',' << e.ElementMode << ',' << e.StatusFlags() << ',' << e.RequiredUserLevel << ',' << e.nInitUnit
            << ',' << platform::com::TypeName(e.InitialValue) << ',' << ValueText(e.InitialValue) << "\n";
    }
}

}  // namespace dtm::frame
