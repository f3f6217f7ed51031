#include "platform/rt/TransactionDocuments.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <string_view>

#include "platform/com/Error.h"
#include "platform/com/HexText.h"
#include "platform/rt/Transaction.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

// An address byte of the transaction (slot or index): 0 to 255, else -1.
int AddressByte(const Variant& value) {
    try {
        if (value.IsEmpty() || value.IsNull()) return -1;
        const int32_t v = com::CLng(value);
        return v >= 0 && v <= 255 ? v : -1;
    } catch (const com::ComError&) {
        return -1;
    }
}

// A decimal of 0 to 255 (as std::from_chars reads an int: leading zeros, and
// a minus before zeros only), else -1.
int ByteValue(std::string_view text) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
        return !text.empty() && text.find_first_not_of('0') == std::string_view::npos ? 0 : -1;
    }
    if (text.empty()) return -1;
    int v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
        if (v > 255) return -1;
    }
    return v;
}

// What an answer says, read from its text by either reader below.
struct AnswerFields {
    bool abort = false;  // an Abort under FDT
    bool found = false;  // the ReadResponse or WriteResponse the request expects
    int slot = -1;
    int index = -1;
    int code = 0;
    int decode = 128;
    int code2 = 0;
    bool hasData = false;   // a read answer's CommunicationData with its byteArray
    std::string_view hex;   // its byteArray
    bool decoded = false;   // `bytes` holds the byteArray's bytes already
    std::vector<uint8_t> bytes;
};

// The answer as the XML parser reads it; False when it is no FDT document.
bool FieldsFromDocument(const std::string& response, bool write, AnswerFields& fields, std::string& hexHolder) {
    xml::Document doc;
    if (!doc.LoadXML(response)) return false;
    const auto root = doc.DocumentElement();
    if (!root || root->Name() != "FDT") return false;
    fields.abort = doc.SelectSingleNode("FDT/Abort") != nullptr;
    const auto answer = doc.SelectSingleNode(write ? "FDT/WriteResponse" : "FDT/ReadResponse");
    if (fields.abort || !answer) return true;
    fields.found = true;
    fields.slot = ByteAttribute(*answer, "slot", -1);
    fields.index = ByteAttribute(*answer, "index", -1);
    fields.code = ByteAttribute(*answer, "errorCode", 0);
    fields.decode = ByteAttribute(*answer, "errorDecode", 128);
    fields.code2 = ByteAttribute(*answer, "errorCode2", 0);
    if (write) return true;
    const auto node = answer->SelectSingleNode("fdt:CommunicationData");
    const Variant hex = node ? node->GetAttribute("byteArray") : Variant::Null();
    if (hex.IsNull()) return true;
    hexHolder = com::CStr(hex);
    fields.hex = hexHolder;
    fields.hasData = true;
    return true;
}

bool Consume(std::string_view& text, std::string_view token) {
    if (!text.starts_with(token)) return false;
    text.remove_prefix(token.size());
    return true;
}

bool Consume(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

// ASCII letters and digits, by character.
constexpr auto kPlain = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) table[static_cast<size_t>(c)] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return table;
}();
constexpr bool IsPlain(char c) { return kPlain[static_cast<uint8_t>(c)]; }

// `"value"` of ASCII letters and digits only (so no entity or quote differs
// from what the XML parser would read); the rest of the text stays in `text`.
bool ConsumePlainValue(std::string_view& text, std::string_view& value) {
    if (text.empty() || text.front() != '"') return false;
    size_t end = 1;
    while (end < text.size() && IsPlain(text[end])) ++end;
    if (end == text.size() || text[end] != '"') return false;
    value = text.substr(1, end - 1);
    text.remove_prefix(end + 1);
    return true;
}

constexpr bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsNameChar(char c) { return IsPlain(c) || c == '_' || c == '-' || c == '.' || c == ':'; }

// An XML name of ASCII characters up to the first other character: a letter
// or "_", then letters, digits, "_", "-", "." and ":". "" when the text starts
// with no such name (a digit, "-", "." or ":" included), so that whatever
// the XML parser might refuse is left to it.
std::string_view ConsumeName(std::string_view& text) {
    if (text.empty() || !(IsLetter(text.front()) || text.front() == '_')) return {};
    size_t end = 1;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    const std::string_view name = text.substr(0, end);
    text.remove_prefix(end);
    return name;
}

// The answer of a read or write request, when the text is in the compact form.
bool FieldsFromCompactText(std::string_view text, bool write, AnswerFields& fields) {
    CompactResponse response;
    if (!ReadCompactResponse(text, response) || response.kind != (write ? "WriteResponse" : "ReadResponse"))
        return false;
    struct Attribute {
        std::string_view name;
        int AnswerFields::*field;
    };
    static constexpr Attribute kAttributes[] = {{"slot", &AnswerFields::slot},
                                                {"index", &AnswerFields::index},
                                                {"errorCode", &AnswerFields::code},
                                                {"errorDecode", &AnswerFields::decode},
                                                {"errorCode2", &AnswerFields::code2}};
    for (size_t a = 0; a < response.count; ++a) {
        const CompactResponse::Attribute& attribute = response.attributes[a];
        const auto known = std::find_if(std::begin(kAttributes), std::end(kAttributes),
                                        [&](const Attribute& k) { return k.name == attribute.name; });
        if (known == std::end(kAttributes)) return false;
        fields.*known->field = ByteValue(attribute.value);
    }
    if (write && response.hasData) return false;
    fields.found = true;
    if (response.hasData) {
        fields.hasData = true;
        fields.hex = response.data;
        fields.decoded = BytesFromHex(response.data, fields.bytes);
    }
    return true;
}

int32_t ApplyAnswer(AnswerFields& fields, bool write, Transaction& trans) {
    if (fields.abort) return kTransportTimeout;
    if (!fields.found) return kTransportError;
    if (fields.slot != AddressByte(trans.TransSlot()) || fields.index != AddressByte(trans.TransIndex()) ||
        fields.slot < 0)
        return kTransportError;
    if (fields.code < 0 || fields.decode < 0 || fields.code2 < 0) return kTransportError;
    if (fields.code != 0) {
        trans.ErrorInfo(Variant::ByteArray({static_cast<uint8_t>(fields.decode), static_cast<uint8_t>(fields.code),
                                            static_cast<uint8_t>(fields.code2)}));
        trans.TransData(Variant());
        return kTransportOk;
    }
    std::vector<uint8_t> bytes;
    if (!write) {
        if (!fields.hasData) return kTransportError;
        if (fields.decoded)
            bytes = std::move(fields.bytes);
        else if (!BytesFromHex(fields.hex, bytes))
            return kTransportError;
    }
    if (!trans.ErrorInfo().IsEmpty()) trans.ErrorInfo(Variant());
    if (!write) trans.TransData(Variant::ByteArray(std::move(bytes)));
    return kTransportOk;
}

}  // namespace

std::string_view CompactResponse::Value(std::string_view name, bool& found) const {
    for (size_t a = 0; a < count; ++a)
        if (attributes[a].name == name) {
            found = true;
            return attributes[a].value;
        }
    found = false;
    return {};
}

bool ReadCompactResponse(std::string_view text, CompactResponse& response) {
    response = CompactResponse{};
    if (!Consume(text, "<FDT><")) return false;
    response.kind = ConsumeName(text);
    if (response.kind.empty()) return false;
    while (Consume(text, ' ')) {
        const std::string_view name = ConsumeName(text);
        std::string_view value;
        if (name.empty() || !Consume(text, '=') || !ConsumePlainValue(text, value)) return false;
        for (size_t a = 0; a < response.count; ++a)
            if (response.attributes[a].name == name) return false;
        if (response.count == CompactResponse::kMaxAttributes) return false;
        response.attributes[response.count++] = {name, value};
    }
    if (Consume(text, "/>")) return text == "</FDT>";
    if (!Consume(text, "><fdt:CommunicationData byteArray=") || !ConsumePlainValue(text, response.data) ||
        !Consume(text, "/></") || !Consume(text, response.kind))
        return false;
    response.hasData = true;
    return text == "></FDT>";
}

int ByteAttribute(const xml::Element& node, const char* name, int fallback) {
    const Variant value = node.GetAttribute(name);
    if (value.IsNull()) return fallback;
    return ByteValue(com::CStr(value));
}

bool BytesFromHex(std::string_view hex, std::vector<uint8_t>& bytes) {
    // The value of every character as a digit; 0xFF for none.
    static constexpr auto kDigit = [] {
        std::array<uint8_t, 256> table{};
        for (int c = 0; c < 256; ++c) {
            const int v = com::HexDigitValue(static_cast<char>(c));
            table[static_cast<size_t>(c)] = v < 0 ? 0xFF : static_cast<uint8_t>(v);
        }
        return table;
    }();
    if (hex.size() % 2 != 0) return false;
    bytes.resize(hex.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t hi = kDigit[static_cast<uint8_t>(hex[2 * i])];
        const uint8_t lo = kDigit[static_cast<uint8_t>(hex[2 * i + 1])];
        if ((hi | lo) == 0xFF) return false;
        bytes[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    return true;
}

namespace {

// The decimal digits of an address byte (0..255), without the locale.
void AppendNumber(std::string& out, int value) {
    char digits[4];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

}  // namespace

bool BuildTransactionDocument(const Transaction& trans, bool write, std::string& xml) {
    using namespace std::string_view_literals;
    const int slot = AddressByte(trans.TransSlot());
    const int index = AddressByte(trans.TransIndex());
    if (slot < 0 || index < 0) return false;
    static const std::vector<uint8_t> kNoData;
    const std::vector<uint8_t>* data = &kNoData;
    if (write) {
        const Variant& bytes = trans.TransData();
        if (bytes.IsByteArray()) {
            data = &bytes.BytesRef();
        } else if (!bytes.IsEmpty()) {
            return false;
        }
    }
    xml.clear();
    xml.reserve(100 + 2 * data->size());
    xml += write ? "<FDT><WriteRequest slot=\""sv : "<FDT><ReadRequest slot=\""sv;
    AppendNumber(xml, slot);
    xml += "\" index=\""sv;
    AppendNumber(xml, index);
    xml += '"';
    if (!write) {
        xml += "/></FDT>"sv;
        return true;
    }
    xml += "><fdt:CommunicationData byteArray=\""sv;
    com::AppendHexBytes(xml, *data);
    xml += "\"/></WriteRequest></FDT>"sv;
    return true;
}

int32_t DecodeTransactionAnswer(const std::string& response, bool write, Transaction& trans) {
    try {
        AnswerFields fields;
        if (FieldsFromCompactText(response, write, fields)) return ApplyAnswer(fields, write, trans);
    } catch (...) {
        return kTransportError;
    }
    return DecodeTransactionAnswerDocument(response, write, trans);
}

int32_t DecodeTransactionAnswerDocument(const std::string& response, bool write, Transaction& trans) {
    try {
        AnswerFields fields;
        std::string hex;
        if (!FieldsFromDocument(response, write, fields, hex)) return kTransportError;
        return ApplyAnswer(fields, write, trans);
    } catch (...) {
        return kTransportError;
    }
}

}  // namespace platform::rt
