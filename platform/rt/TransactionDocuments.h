#pragma once
// The frame's communication documents of a DP-V1 transaction: the read or
// write request the runtime sends, and the decoding of the frame's answer
// into the transaction (data bytes or DP-V1 error bytes).
//
//   <FDT><ReadRequest slot="S" index="I"/></FDT>
//   <FDT><WriteRequest slot="S" index="I"><fdt:CommunicationData byteArray="HEX"/></WriteRequest></FDT>
//   <FDT><ReadResponse slot index errorCode [errorDecode] [errorCode2]><fdt:CommunicationData byteArray/></ReadResponse></FDT>
//   <FDT><WriteResponse slot index errorCode [errorDecode] [errorCode2]/></FDT>
//   <FDT><fdt:CommunicationError .../></FDT>, <FDT><Abort/></FDT>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::xml {
class Element;
}

namespace platform::rt {

class Transaction;

// Transport status of a transaction, as bits 16 to 19 of the element it addresses.
enum TransportStatus : int32_t {
    kTransportOk = 0,
    kTransportTimeout = 0x10000,       // no answer in time, or aborted
    kTransportError = 0x20000,         // communication error or malformed answer
    kTransportNotConnected = 0x40000,  // not connected, or the connect was refused
    kTransportNotBuilt = 0x80000,      // the request could not be coded
    kTransportMask = 0xF0000,
};

// The request document of the transaction's slot, index and (for a write) data.
// False when the slot, index or data are not a transaction's.
bool BuildTransactionDocument(const Transaction& trans, bool write, std::string& xml);

// Decodes the frame's answer into the transaction: on a good answer the read
// data (TransData, a read only) and the DP-V1 error bytes (ErrorInfo, Empty
// when errorCode is 0; TransData then Empty). Answers kTransportOk, or the
// transport status of an answer that is an abort, a communication error, not
// the answer to this request (other kind, slot or index) or malformed; the
// transaction is then left as it was. Never throws.
// Answers in the compact form frames send are read without the XML parser.
int32_t DecodeTransactionAnswer(const std::string& response, bool write, Transaction& trans);
// The same decoding, always through the XML parser.
int32_t DecodeTransactionAnswerDocument(const std::string& response, bool write, Transaction& trans);

// A response in the compact form frames send, read without the XML parser:
//   <FDT><Kind a="v" .../></FDT>  or
//   <FDT><Kind a="v" ...><fdt:CommunicationData byteArray="V"/></Kind></FDT>
// Names of ASCII characters as XML allows them (a letter or "_", then
// letters, digits, "_", "-", "." and ":"); values of ASCII letters and digits
// only, so that the text reads exactly as the XML parser would read it. The
// views point into the text.
struct CompactResponse {
    struct Attribute {
        std::string_view name, value;
    };
    static constexpr size_t kMaxAttributes = 8;
    std::string_view kind;  // "ReadResponse", "fdt:CommunicationError", ...
    std::array<Attribute, kMaxAttributes> attributes{};
    size_t count = 0;
    bool hasData = false;   // a CommunicationData child
    std::string_view data;  // its byteArray
    // The attribute's value; `found` False (and "") when there is none.
    std::string_view Value(std::string_view name, bool& found) const;
};
// False for any other text (more attributes, one named twice, other children,
// a declaration, blanks, entities), which is then the XML parser's to read.
bool ReadCompactResponse(std::string_view text, CompactResponse& response);

// The bytes of hexadecimal digits without separators (either case); False
// for an odd count or any other character.
bool BytesFromHex(std::string_view hex, std::vector<uint8_t>& bytes);
// A decimal attribute of 0 to 255 (slot, index, error codes); `missing` when
// the node has no such attribute, -1 when it is malformed.
int ByteAttribute(const xml::Element& node, const char* name, int missing);

}  // namespace platform::rt
