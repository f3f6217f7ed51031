// Fuzz target: the frame's communication responses, whatever they hold, to a
// DTM instance that is online and waits for the answer of one transaction.
//
// Input layout: [0] options (bit 0 the transaction is a write (a download),
// bit 1 the same text also comes as a connect and a disconnect answer and as
// an answer for an id nobody asked for), then the response text.
//
// Checked for every input: nothing throws or crashes, the transfer always
// ends, nothing is left pending, a transfer that failed keeps the value, and
// the answer decodes the same with and without the compact-form reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/module/ComponentClasses.h"
#include "frame/DeviceChannel.h"
#include "frame/FrameSession.h"
#include "frame/SimulatedDevice.h"
#include "platform/app/EventLoop.h"
#include "platform/com/ClassRegistry.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransactionDocuments.h"

namespace {

constexpr const char* kPath = "PHYS/TAG_DESC";

struct Instance {
    Instance() {
        dtm::RegisterComponentClasses(registry);
        platform::app::EventLoop::Instance().Reset();
        if (!session.StartNew(registry) || !session.SetCommunication() || !session.Upload(kPath).ok) std::abort();
        ctx = session.Context();
    }
    platform::com::ClassRegistry registry;
    dtm::frame::FrameSession session;
    dtm::frame::SimulatedDevice device;
    dtm::frame::DeviceChannel channel{*session.Communication(), device};
    std::shared_ptr<platform::rt::DTMContext> ctx;
};

Instance& Shared() {
    static Instance instance;
    return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    auto& instance = Shared();
    const bool write = (data[0] & 1) != 0;
    const bool everywhere = (data[0] & 2) != 0;
    const std::string response(reinterpret_cast<const char*>(data + 1), size - 1);

    auto& events = dynamic_cast<platform::fdt::IFdtCommunicationEvents&>(*instance.session.Dtm());
    if (everywhere) {
        events.OnConnectResponse("{00000000-0000-0000-0000-000000000000}", response);
        events.OnDisconnectResponse("{00000000-0000-0000-0000-000000000000}", response);
        events.OnTransactionResponse("{00000000-0000-0000-0000-000000000000}", response);
        events.OnTransactionResponse("", response);
    }
    instance.session.Communication()->SetTransactionHandler(
        [response](const std::string& id, const std::string&, dtm::frame::FrameCommunication::Sink sink) {
            platform::app::EventLoop::Instance().PostAfter(20, [sink, id, response] {
                if (auto target = sink.lock()) target->OnTransactionResponse(id, response);
            });
            return true;
        });

    auto el = instance.ctx->Parameters()->Item(kPath);
    platform::rt::Transaction fast, parsed;
    for (auto* trans : {&fast, &parsed}) {
        trans->TransSlot(platform::Variant::Byte(static_cast<uint8_t>(el->Slot())));
        trans->TransIndex(platform::Variant::Byte(static_cast<uint8_t>(el->Index())));
    }
    if (platform::rt::DecodeTransactionAnswer(response, write, fast) !=
            platform::rt::DecodeTransactionAnswerDocument(response, write, parsed) ||
        !platform::com::Identical(fast.TransData(), parsed.TransData()) ||
        !platform::com::Identical(fast.ErrorInfo(), parsed.ErrorInfo()))
        std::abort();
    const platform::Variant before = el->TransientValue();
    const auto outcome = write ? instance.session.Download(kPath) : instance.session.Upload(kPath);
    if (!outcome.requested || !outcome.finished) std::abort();
    if (!outcome.ok && !write && !platform::com::Equals(el->TransientValue(), before)) std::abort();
    if (instance.ctx->CommService()->PendingTransactions() != 0) std::abort();
    return 0;
}
