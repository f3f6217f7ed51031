#include "frame/DeviceChannel.h"

#include <string_view>
#include <utility>
#include <vector>

#include "frame/FrameTime.h"
#include "platform/app/EventLoop.h"
#include "platform/com/HexText.h"
#include "platform/rt/TransactionDocuments.h"
#include "platform/xml/Dom.h"

namespace dtm::frame {

namespace {

constexpr const char* kCommunicationError =
    "<FDT><fdt:CommunicationError communicationError=\"abort\" tag=\"\" errorCode=\"1\" descriptor=\"bad request\"/></FDT>";

bool Consume(std::string_view& text, std::string_view token) {
    if (!text.starts_with(token)) return false;
    text.remove_prefix(token.size());
    return true;
}

// An attribute value of one to three decimal digits, 0 to 255, and its closing quote.
bool ConsumeByte(std::string_view& text, uint8_t& value) {
    const size_t end = text.find('"');
    if (end == 0 || end > 3) return false;
    int number = 0;
    for (size_t i = 0; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        number = number * 10 + (text[i] - '0');
    }
    if (number > 255) return false;
    value = static_cast<uint8_t>(number);
    text.remove_prefix(end + 1);
    return true;
}

// The request in the exact form the runtime writes it, read without the XML
// parser (the parser costs the frame more than the DTM's whole work on a
// transaction):
//   <FDT><ReadRequest slot="S" index="I"/></FDT>
//   <FDT><WriteRequest slot="S" index="I"><fdt:CommunicationData byteArray="HEX"/></WriteRequest></FDT>
// False for any other text, which then goes to the parser.
bool FromCompactText(std::string_view text, DeviceRequest& request) {
    using namespace std::string_view_literals;
    const bool write = Consume(text, "<FDT><WriteRequest slot=\""sv);
    if (!write && !Consume(text, "<FDT><ReadRequest slot=\""sv)) return false;
    uint8_t slot = 0, index = 0;
    if (!ConsumeByte(text, slot) || !Consume(text, " index=\""sv) || !ConsumeByte(text, index)) return false;
    std::vector<uint8_t> data;
    if (write) {
        const std::string_view tail = "\"/></WriteRequest></FDT>"sv;
        if (!Consume(text, "><fdt:CommunicationData byteArray=\""sv) || !text.ends_with(tail) ||
            !platform::rt::BytesFromHex(text.substr(0, text.size() - tail.size()), data))
            return false;
    } else if (text != "/></FDT>"sv) {
        return false;
    }
    request.write = write;
    request.slot = slot;
    request.index = index;
    request.data = std::move(data);
    return true;
}

}  // namespace

DeviceChannel::DeviceChannel(FrameCommunication& channel, SimulatedDevice& device) : device_(device) {
    channel.SetTransactionHandler(
        [this](const std::string& id, const std::string& xml, FrameCommunication::Sink sink) {
            return Transact(id, xml, std::move(sink));
        });
}

bool DeviceChannel::ParseRequest(const std::string& xml, DeviceRequest& request) {
    return FromCompactText(xml, request) || ParseRequestDocument(xml, request);
}

bool DeviceChannel::ParseRequestDocument(const std::string& xml, DeviceRequest& request) {
    platform::xml::Document doc;
    if (!doc.LoadXML(xml)) return false;
    auto node = doc.SelectSingleNode("FDT/ReadRequest");
    request.write = !node;
    if (!node) node = doc.SelectSingleNode("FDT/WriteRequest");
    if (!node) return false;
    const int slot = platform::rt::ByteAttribute(*node, "slot", -1);
    const int index = platform::rt::ByteAttribute(*node, "index", -1);
    if (slot < 0 || index < 0) return false;
    request.slot = static_cast<uint8_t>(slot);
    request.index = static_cast<uint8_t>(index);
    request.data.clear();
    if (!request.write) return true;
    const auto data = node->SelectSingleNode("fdt:CommunicationData");
    if (!data) return false;
    const auto hex = data->GetAttribute("byteArray");
    return !hex.IsNull() && platform::rt::BytesFromHex(platform::com::CStr(hex), request.data);
}

std::string DeviceChannel::AnswerDocument(const DeviceRequest& request, const DeviceAnswer& answer) {
    const char* element = request.write ? "WriteResponse" : "ReadResponse";
    std::string xml;
    xml.reserve(120 + 2 * answer.data.size());
    xml += "<FDT><";
    xml += element;
    xml += " slot=\"" + std::to_string(request.slot) + "\" index=\"" + std::to_string(request.index) + "\"";
    if (!answer.Ok()) {
        xml += " errorCode=\"" + std::to_string(answer.errorCode1) + "\" errorDecode=\"" +
               std::to_string(answer.errorDecode) + "\" errorCode2=\"" + std::to_string(answer.errorCode2) +
               "\"/></FDT>";
        return xml;
    }
    xml += " errorCode=\"0\"";
    if (request.write) return xml + "/></FDT>";
    xml += "><fdt:CommunicationData byteArray=\"";
    platform::com::AppendHexBytes(xml, answer.data);
    xml += "\"/></ReadResponse></FDT>";
    return xml;
}

bool DeviceChannel::Transact(const std::string& invokeId, const std::string& xml, FrameCommunication::Sink sink) {
    const FrameTime::Charge frameTime;
    DeviceRequest request;
    std::string answerXml = kCommunicationError;
    int64_t busTimeUs = SimulatedDevice::kBaseBusTimeUs;
    if (ParseRequest(xml, request)) {
        const DeviceAnswer answer = device_.Transact(request);
        busTimeUs = answer.busTimeUs;
        ++transactions_;
        dataBytes_ += static_cast<int64_t>(request.write ? request.data.size() : answer.data.size());
        if (answer.kind == DeviceAnswer::Kind::Dropped) {
            busTimeUs_ += busTimeUs;
            return true;
        }
        answerXml = AnswerDocument(request, answer);
    }
    busTimeUs_ += busTimeUs;
    // The bus time passes on the virtual clock before the answer arrives.
    platform::app::EventLoop::Instance().PostAfter(
        (busTimeUs + 999) / 1000, [sink, id = invokeId, answer = std::move(answerXml)]() mutable {
            if (auto target = sink.lock()) target->OnTransactionResponse(id, answer);
            // The frame's texts are let go on the frame's time, not when the loop drops the task.
            const FrameTime::Charge frameTime;
            std::string().swap(id);
            std::string().swap(answer);
        });
    return true;
}

}  // namespace dtm::frame
