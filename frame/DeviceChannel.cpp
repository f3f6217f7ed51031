#include "frame/DeviceChannel.h"

#include "frame/FrameTime.h"
#include "platform/app/EventLoop.h"
#include "platform/com/HexText.h"
#include "platform/rt/TransactionDocuments.h"
#include "platform/xml/Dom.h"

namespace dtm::frame {

namespace {

constexpr const char* kCommunicationError =
    "<FDT><fdt:CommunicationError communicationError=\"abort\" tag=\"\" errorCode=\"1\" descriptor=\"bad request\"/></FDT>";

}  // namespace

DeviceChannel::DeviceChannel(FrameCommunication& channel, SimulatedDevice& device) : device_(device) {
    channel.SetTransactionHandler(
        [this](const std::string& id, const std::string& xml, FrameCommunication::Sink sink) {
            return Transact(id, xml, std::move(sink));
        });
}

bool DeviceChannel::ParseRequest(const std::string& xml, DeviceRequest& request) {
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
