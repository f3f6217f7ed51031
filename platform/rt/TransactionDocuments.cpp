#include "platform/rt/TransactionDocuments.h"

#include <charconv>

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

}  // namespace

int ByteAttribute(const xml::Element& node, const char* name, int fallback) {
    const Variant value = node.GetAttribute(name);
    if (value.IsNull()) return fallback;
    const std::string text = com::CStr(value);
    int v = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || v < 0 || v > 255) return -1;
    return v;
}

bool BytesFromHex(const std::string& hex, std::vector<uint8_t>& bytes) {
    if (hex.size() % 2 != 0) return false;
    bytes.resize(hex.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int hi = com::HexDigitValue(hex[2 * i]);
        const int lo = com::HexDigitValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

bool BuildTransactionDocument(const Transaction& trans, bool write, std::string& xml) {
    const int slot = AddressByte(trans.TransSlot());
    const int index = AddressByte(trans.TransIndex());
    if (slot < 0 || index < 0) return false;
    const std::string address = "slot=\"" + std::to_string(slot) + "\" index=\"" + std::to_string(index) + "\"";
    if (!write) {
        xml = "<FDT><ReadRequest " + address + "/></FDT>";
        return true;
    }
    std::vector<uint8_t> data;
    const Variant bytes = trans.TransData();
    if (bytes.IsByteArray()) {
        data = bytes.ToBytes();
    } else if (!bytes.IsEmpty()) {
        return false;
    }
    xml.clear();
    xml.reserve(100 + 2 * data.size());
    xml += "<FDT><WriteRequest ";
    xml += address;
    xml += "><fdt:CommunicationData byteArray=\"";
    com::AppendHexBytes(xml, data);
    xml += "\"/></WriteRequest></FDT>";
    return true;
}

int32_t DecodeTransactionAnswer(const std::string& response, bool write, Transaction& trans) {
    try {
        xml::Document doc;
        if (!doc.LoadXML(response)) return kTransportError;
        const auto root = doc.DocumentElement();
        if (!root || root->Name() != "FDT") return kTransportError;
        if (doc.SelectSingleNode("FDT/Abort")) return kTransportTimeout;
        const auto answer = doc.SelectSingleNode(write ? "FDT/WriteResponse" : "FDT/ReadResponse");
        if (!answer) return kTransportError;
        const int slot = ByteAttribute(*answer, "slot", -1);
        const int index = ByteAttribute(*answer, "index", -1);
        if (slot != AddressByte(trans.TransSlot()) || index != AddressByte(trans.TransIndex()) || slot < 0)
            return kTransportError;
        const int code = ByteAttribute(*answer, "errorCode", 0);
        const int decode = ByteAttribute(*answer, "errorDecode", 128);
        const int code2 = ByteAttribute(*answer, "errorCode2", 0);
        if (code < 0 || decode < 0 || code2 < 0) return kTransportError;
        if (code != 0) {
            trans.ErrorInfo(Variant::ByteArray(
                {static_cast<uint8_t>(decode), static_cast<uint8_t>(code), static_cast<uint8_t>(code2)}));
            trans.TransData(Variant());
            return kTransportOk;
        }
        Variant data;
        if (!write) {
            const auto node = answer->SelectSingleNode("fdt:CommunicationData");
            if (!node) return kTransportError;
            const Variant hex = node->GetAttribute("byteArray");
            std::vector<uint8_t> bytes;
            if (hex.IsNull() || !BytesFromHex(com::CStr(hex), bytes)) return kTransportError;
            data = Variant::ByteArray(std::move(bytes));
        }
        trans.ErrorInfo(Variant());
        if (!write) trans.TransData(data);
        return kTransportOk;
    } catch (...) {
        return kTransportError;
    }
}

}  // namespace platform::rt
