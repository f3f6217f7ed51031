// clsDataElement: the data set's property-bag entries and the FDT variable nodes.
//
// Each element stores three entries under its path: the value (an octet string
// as hex text), path + ".Unit" (the transient unit) and path + ".Flags" (the
// status bits kept with the data set). A parameter document carries the value
// as display text, floats followed by their unit in brackets. A secret element
// writes its initial value in place of its own everywhere and loads none: its
// stored value is always its initial value. A stored value that cannot be
// read, or one the element would refuse when typed (out of its range or its
// type's limits, longer than its length), is not taken: the element holds its
// initial value and the load answers False for it.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "core/services/ConvStr.h"
#include "core/services/ProjectHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/com/Variant.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/xml/Dom.h"

namespace dtm {

using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace vb = platform::com::vb;

namespace {

constexpr int32_t kStoredFlagsMask = 0x0F000008;  // &H8 and the private bits
constexpr int32_t kRunFlagsMask = 0x00FFF000;     // value errors, communication, response code
constexpr int32_t kDefaultStoredFlags = 0x01000000;

const std::string kUnitSuffix = ".Unit";
const std::string kFlagsSuffix = ".Flags";

bool IsFloatType(int32_t valueType) { return valueType == 8 || valueType == 9; }

// Types whose value can be shown by a value list.
bool IsListType(int32_t valueType) { return (valueType >= 2 && valueType <= 7) || valueType == 16; }

bool IsIntegralSubtype(const Variant& v) {
    const com::VarType t = v.Type();
    return t == com::VarType::Byte || t == com::VarType::Integer || t == com::VarType::Long;
}

// The stored unit entry as a unit code: an integral number that fits 16 bits,
// or a unit text of the table; anything else (also an unreadable entry) gives
// the initial unit.
int16_t ReadUnitEntry(const com::PropertyBag& bag, const std::string& key, int16_t initUnit,
                      const clsDataElement::Ctx& ctx) {
    try {
        const Variant unit = bag.ReadProperty(key, Variant::Int(initUnit));
        if (IsIntegralSubtype(unit)) {
            const int32_t code = com::CLng(unit);
            if (code >= std::numeric_limits<int16_t>::min() && code <= std::numeric_limits<int16_t>::max())
                return static_cast<int16_t>(code);
        } else if (unit.IsString() && !unit.StrRef().empty()) {
            return static_cast<int16_t>(UnitsOf(ctx).PROFIBUSProfil3UnitIndex(unit.StrRef()));
        }
    } catch (const com::ComError&) {
    }
    return initUnit;
}

// The stored flags entry's bits of kStoredFlagsMask; a missing, unreadable or
// non-numeric entry gives the default.
int32_t ReadFlagsEntry(const com::PropertyBag& bag, const std::string& key) {
    try {
        return com::CLng(bag.ReadProperty(key, Variant::Lng(kDefaultStoredFlags))) & kStoredFlagsMask;
    } catch (const com::ComError&) {
        return kDefaultStoredFlags;
    }
}

// The stored value entry as the element's value. A record header has no
// value; an octet string is stored as hex text (a Byte array is taken too) and
// always has lower bound 0. Any other text or number is read as it is stored;
// whether the element takes it is the caller's to decide. An unreadable entry,
// one holding Null, Missing or an object, an octet string that is no hex text,
// or an array where the element holds a single value, raises.
Variant ReadValueEntry(const com::PropertyBag& bag, const std::string& key, int32_t valueType) {
    if (valueType == 0) return Variant();
    Variant value = bag.ReadProperty(key);
    if (!com::HoldsDataValue(value)) com::Raise(com::errTypeMismatch);
    if (valueType != 1) {
        if (value.IsArray()) com::Raise(com::errTypeMismatch);
        return value;
    }
    if (value.IsEmpty()) return value;
    if (value.IsByteArray()) return value.LBound() == 0 ? value : Variant::ByteArray(value.ToBytes());
    if (!value.IsString()) com::Raise(com::errTypeMismatch);
    return HexToBytes(value.StrRef());
}

// The words of a float node for the values that have no digits.
struct NonFiniteWord {
    const char* text;
    double value;
};
constexpr NonFiniteWord kNonFiniteWords[] = {
    {"NaN", std::numeric_limits<double>::quiet_NaN()},
    {"Infinity", std::numeric_limits<double>::infinity()},
    {"-Infinity", -std::numeric_limits<double>::infinity()},
};

// A float node's word for a NaN or an infinity, as the element's type (Single
// for type 8, Double for type 9); Null for any other text.
Variant NonFiniteValue(const std::string& text, int32_t valueType) {
    for (const NonFiniteWord& word : kNonFiniteWords) {
        if (text == word.text)
            return valueType == 8 ? Variant::Sng(static_cast<float>(word.value)) : Variant::Dbl(word.value);
    }
    return Variant::Null();
}

// The shortest text of at least `digits` (7 for a Single, 15 for a Double, as
// CStr writes them) significant digits that reads back as the same number.
template <class Float>
std::string ExactNumberText(Float value, int digits) {
    std::string text;
    for (; digits <= std::numeric_limits<Float>::max_digits10; ++digits) {
        text = vb::NumberText(value, digits, '.');
        double back = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        if (ec == std::errc() && static_cast<Float>(back) == value) break;
    }
    return text;
}

// The value text of a DtmVariable: a number with "." and no leading blank that
// reads back as the same value; a NaN or an infinity as its word.
std::string NumberWithPoint(const Variant& value) {
    if (value.Type() == com::VarType::Single || value.Type() == com::VarType::Double) {
        const double d = com::CDbl(value);
        for (const NonFiniteWord& word : kNonFiniteWords) {
            if (std::isnan(word.value) ? std::isnan(d) : d == word.value) return word.text;
        }
    }
    if (value.Type() == com::VarType::Single) return ExactNumberText(com::CSng(value), 7);
    if (value.Type() == com::VarType::Double) return ExactNumberText(com::CDbl(value), 15);
    if (value.IsNumberType()) return vb::NumberText(com::CDbl(value), 15, '.');
    if (value.IsEmpty() || value.IsNull()) return {};
    return com::CStr(value);
}

std::string ValidityText(bool validity) { return validity ? "ok" : "invalid"; }

P<platform::xml::Element> FirstChild(const P<platform::xml::Element>& node, const std::string& qname) {
    for (const auto& child : node->ChildElements())
        if (child->Name() == qname) return child;
    return nullptr;
}

// Whether a parameter node named `name` belongs to the element at `path`: the
// path ends with the name, as its last part or parts ("TAG_DESC" belongs to
// "PHYS/TAG_DESC", not to "PHYS/MY_TAG_DESC").
bool NodeBelongsTo(const std::string& path, std::string name) {
    if (name.empty()) return false;
    if (path.size() > name.size()) name.insert(name.begin(), '/');
    return path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0;
}

}  // namespace

// ---- Property bag ----

bool clsDataElement::WriteToPropBag(com::PropertyBag& PropBag, Ctx) {
    const Variant& stored = ExportedValue();
    const Variant value = ValueType == 1 ? Variant(BytesToHex(stored)) : stored;
    PropBag.WriteProperty(Name, value);
    PropBag.WriteProperty(Name + kUnitSuffix, Variant::Int(nTransientUnit));
    PropBag.WriteProperty(Name + kFlagsSuffix, Variant::Lng(m_StatusFlags & kStoredFlagsMask));
    // A secret typed stays in the element only: the stored value is what the bag holds.
    PersistentValue = ExportedValue();
    nPersistentUnit = nTransientUnit;
    return true;
}

bool clsDataElement::ReadFromPropBag(com::PropertyBag& PropBag, Ctx DTMContext) {
    nTransientUnit = ReadUnitEntry(PropBag, Name + kUnitSuffix, nInitUnit, DTMContext);
    bool taken = true;

    if (Secret) {
        // Never taken from the data set: one stored by an older version may
        // hold it. The data set counts as holding the initial value.
        TransientValue = PersistentValue = InitialValue;
        nPersistentUnit = nTransientUnit;
    } else {
        Variant value;
        try {
            value = ReadValueEntry(PropBag, Name, ValueType);
            if (value.IsString() && value.StrRef().empty() && ValueType != 14) value = Variant();
            // A value the element would refuse when typed is not taken either;
            // no value (a missing entry, an empty text) is no such value.
            taken = value.IsEmpty() || CalcParamErrorFlags(DTMContext, value) == 0;
        } catch (const com::ComError&) {
            taken = false;
        }
        if (!taken) {
            TransientValue = InitialValue;
        } else {
            TransientValue = value;
            PersistentValue = TransientValue;
            nPersistentUnit = nTransientUnit;
        }
    }

    SetAllFlags(((m_StatusFlags & ~kStoredFlagsMask) | ReadFlagsEntry(PropBag, Name + kFlagsSuffix)) & ~kRunFlagsMask);
    return taken;
}

// ---- FDT parameter document ----

bool clsDataElement::WriteToDtmVariable(P<platform::xml::Element> DOMNode, Ctx DTMContext) {
    const auto& pathInfo = com::Deref(com::Deref(DTMContext).PathInfo());
    pathInfo.SetNodeAttribute("descriptor", Variant(Description), DOMNode);

    const Variant access = Variant::Bool(RelIndex >= 0);
    auto valueNode = pathInfo.AddChildElement("fdt:Value", DOMNode);
    pathInfo.SetNodeAttribute("readAccess", access, valueNode);
    pathInfo.SetNodeAttribute("writeAccess", access, valueNode);

    auto display = pathInfo.AddChildElement("fdt:Display", valueNode);
    const Variant& value = ExportedValue();
    if (IsFloatType(ValueType)) {
        const std::string text = NumberWithPoint(value) + "[" + UnitString(DTMContext) + "]";
        pathInfo.SetNodeAttribute("string", Variant(text), display);
    } else {
        pathInfo.SetNodeAttribute("string", value, display);
    }

    pathInfo.SetNodeAttribute("statusFlag", Variant(ValidityText(Validity())), DOMNode);
    return true;
}

bool clsDataElement::ReadFromDtmVariable(P<platform::xml::Element> DOMNode, Ctx DTMContext) {
    const auto& pathInfo = com::Deref(com::Deref(DTMContext).PathInfo());
    com::Deref(DOMNode);

    const Variant name = pathInfo.GetNodeAttribute("name", DOMNode);
    if (!name.IsString() || !NodeBelongsTo(Name, name.StrRef())) return false;

    const Variant descriptor = pathInfo.GetNodeAttribute("descriptor", DOMNode);
    if (descriptor.IsString()) Description = descriptor.StrRef();

    bool taken = false;
    auto valueNode = FirstChild(DOMNode, "fdt:Value");
    auto display = valueNode ? FirstChild(valueNode, "fdt:Display") : nullptr;
    const Variant text = display ? pathInfo.GetNodeAttribute("string", display) : Variant();
    if (text.IsString()) {
        std::string valueText = text.StrRef();
        const int16_t oldUnit = nTransientUnit;
        bool unitOk = true;
        if (IsFloatType(ValueType) && vb::Right(valueText, 1) == "]") {
            const int32_t open = vb::InStrRev(valueText, "[");
            if (open > 0) {
                const std::string unit = vb::Mid(valueText, open + 1, vb::Len(valueText) - open - 1);
                valueText = vb::Left(valueText, open - 1);
                try {
                    UnitString(DTMContext, unit);
                    // A unit text the table does not know would silently mean "no unit".
                    unitOk = nTransientUnit != 0 || vb::Trim(unit).empty() || vb::Left(unit, 1) == "#";
                } catch (const com::ComError&) {
                    unitOk = false;  // "#" and no 16-bit number
                }
            }
        }
        // The value and its unit are taken together or not at all, and only
        // when the value fits the element: the frame's document is not trusted.
        Variant typed = Variant::Null();
        if (unitOk) {
            if (IsFloatType(ValueType)) typed = NonFiniteValue(valueText, ValueType);
            if (typed.IsNull()) typed = GetTypedValue(Variant(valueText));
        }
        if (typed.IsNull() || !FitsElement(typed, DTMContext)) {
            nTransientUnit = oldUnit;
        } else {
            TransientValue = typed;
            taken = true;
        }
    }

    const Variant status = pathInfo.GetNodeAttribute("statusFlag", DOMNode);
    if (status.IsString()) {
        if (status.StrRef() == "ok") Validity(true);
        else if (status.StrRef() == "invalid") Validity(false);
    }
    return taken;
}

bool clsDataElement::FitsElement(const Variant& typed, const Ctx& DTMContext) const {
    if (ValueType == 1 && ValueTypeLength > 0 && typed.IsByteArray() && typed.Count() > ValueTypeLength)
        return false;
    if (ValueType == 14 && ValueTypeLength < 0 && vb::Len(typed.StrRef()) > kMaxOpenTextLength) return false;
    if (ValueCheck && !ValueCheck(typed)) return false;
    return CalcParamErrorFlags(DTMContext, typed) == 0;
}

// ---- Documentation ----

bool clsDataElement::WriteToDocVariable(P<platform::xml::Element> DOMNode, Ctx DTMContext) {
    const auto& pathInfo = com::Deref(com::Deref(DTMContext).PathInfo());

    const Variant& value = ExportedValue();
    Variant display = value;
    const bool numeric = !value.IsEmpty() && com::IsNumeric(value);
    try {
        if (IsFloatType(ValueType) && numeric) {
            std::string text = vb::Format(com::CDbl(value), "0.0##");
            if (nTransientUnit != 0) text += " [" + UnitString(DTMContext) + "]";
            display = Variant(text);
        } else if (bBitEncoding && IsListType(ValueType) && !ValueList.empty() && numeric) {
            display = Variant(GetStrValueFromIdxList(LowLong(value)));  // bit 31 and above too
        } else if (ValueType >= 2 && ValueType <= 7 && !ValueList.empty() && numeric) {
            display = Variant(GetStrValueFromIdxList(com::CLng(value)));
        } else if (ValueType == 16 && !ValueList.empty() && numeric) {
            double key = com::CDbl(value);
            if (key > 2147483647.0) key -= 4294967296.0;  // bit 31 maps to a negative key
            display = Variant(GetStrValueFromIdxList(com::CLng(Variant::Dbl(key))));
        }
    } catch (const com::ComError&) {
        display = value;  // a value outside its type's range is shown as it is
    }

    pathInfo.SetDocAttribute("fdt:name", Variant(Label), DOMNode);
    pathInfo.SetNodeAttribute("fdt:descriptor", Variant(Description), DOMNode);
    pathInfo.SetNodeAttribute("fdt:display", display, DOMNode);
    pathInfo.SetNodeAttribute("fdt:statusFlag", Variant(ValidityText(Validity())), DOMNode);
    return true;
}

}  // namespace dtm
