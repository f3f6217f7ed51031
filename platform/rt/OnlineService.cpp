#include "platform/rt/OnlineService.h"

#include <algorithm>
#include <map>
#include <memory_resource>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/IPrivateDataElement.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransRequest.h"
#include "platform/rt/TransactionDocuments.h"

namespace platform::rt {

namespace {

constexpr int32_t kResponseErrorMask = 0x00F00000;

enum class Kind { Upload, Download, Command, MarkedUpload, Group };

using Address = std::pair<int16_t, int16_t>;

// While it lives, the changes notified come from a device answer or its failure.
class DeviceAnswerScope {
public:
    explicit DeviceAnswerScope(Parameters& params) : params_(params) { params_.BeginDeviceAnswer(); }
    ~DeviceAnswerScope() { params_.EndDeviceAnswer(); }
    DeviceAnswerScope(const DeviceAnswerScope&) = delete;
    DeviceAnswerScope& operator=(const DeviceAnswerScope&) = delete;

private:
    Parameters& params_;
};

bool IsRecordHeader(const IPrivateDataElement& el) {
    const std::string name = el.Name();
    return !name.empty() && name.back() == '/';
}

// The elements of a step, never none; the one most steps have is held
// without an allocation of its own.
class StepElements {
public:
    explicit StepElements(El first) : first_(std::move(first)) {}

    size_t size() const { return 1 + more_.size(); }
    const El& front() const { return first_; }
    const El& operator[](size_t i) const { return i == 0 ? first_ : more_[i - 1]; }
    bool Contains(const El& el) const {
        return first_ == el || std::find(more_.begin(), more_.end(), el) != more_.end();
    }
    void push_back(El el) { more_.push_back(std::move(el)); }
    // The element alone.
    void Only(El el) {
        first_ = std::move(el);
        more_.clear();
    }

    class Iterator {
    public:
        Iterator(const StepElements& elements, size_t at) : elements_(&elements), at_(at) {}
        const El& operator*() const { return (*elements_)[at_]; }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

    private:
        const StepElements* elements_;
        size_t at_;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

private:
    El first_;
    std::vector<El> more_;
};

// One transaction: the first element builds the request; the answer goes to every element.
struct Step {
    StepElements elements;
    bool write = false;
    bool readBack = false;  // asked for by the model after a write: it gives no TransactionResult
    bool sent = false;      // handed to the channel at least once
};

// Reads, one per distinct address in order of appearance: a record header
// alone when one is selected there, else every selected element.
void AddReadSteps(const std::vector<El>& selected, std::vector<Step>& steps) {
    // Each element's step, numbered on from `first` in order of appearance, and
    // per new step whether elements share it: only then do their names matter.
    const size_t first = steps.size();
    // By address, the slot in the high half; its nodes taken from one block.
    std::pmr::monotonic_buffer_resource nodes;
    std::pmr::unordered_map<uint32_t, size_t> stepOf(&nodes);
    stepOf.reserve(selected.size());
    std::vector<size_t> stepOfElement;
    stepOfElement.reserve(selected.size());
    std::vector<bool> shared;
    for (const auto& el : selected) {
        const uint32_t address = static_cast<uint32_t>(static_cast<uint16_t>(el->Slot())) << 16 |
                                 static_cast<uint16_t>(el->Index());
        auto [it, added] = stepOf.try_emplace(address, first + shared.size());
        if (added)
            shared.push_back(false);
        else
            shared[it->second - first] = true;
        stepOfElement.push_back(it->second);
    }
    steps.reserve(first + shared.size());
    std::vector<bool> headerFirst(shared.size(), false);  // per new step: a record header leads it
    for (size_t i = 0; i < selected.size(); ++i) {
        const auto& el = selected[i];
        const size_t step = stepOfElement[i];
        const size_t local = step - first;
        if (step == steps.size()) {
            steps.push_back({StepElements(el), false});
            headerFirst[local] = shared[local] && IsRecordHeader(*el);
            continue;
        }
        if (headerFirst[local]) continue;  // it carries its fields
        auto& elements = steps[step].elements;
        if (IsRecordHeader(*el)) {
            elements.Only(el);
            headerFirst[local] = true;
        } else {
            elements.push_back(el);
        }
    }
}

// Writes: a record header writes its record once (its fields go with it); any
// other element is one write of its own.
void AddWriteSteps(const std::vector<El>& selected, std::vector<Step>& steps) {
    std::map<Address, bool> headerAt;
    for (const auto& el : selected)
        if (IsRecordHeader(*el)) headerAt[{el->Slot(), el->Index()}] = true;
    std::map<Address, bool> written;
    for (const auto& el : selected) {
        const Address address{el->Slot(), el->Index()};
        if (headerAt.count(address)) {
            if (!IsRecordHeader(*el) || written[address]) continue;
            written[address] = true;
        }
        steps.push_back({StepElements(el), true});
    }
}

// Calls `visit` with each element under the path ("" = all), in collection order.
template <class Visit>
void ForEachInScope(const Parameters& params, const std::string& path, Visit visit) {
    if (path.empty()) {
        for (const auto& el : params) visit(el);
        return;
    }
    for (const auto& el : params.StartingWith(path)) visit(el);
}

int64_t ByteCount(const Variant& data) {
    try {
        return data.IsByteArray() ? static_cast<int64_t>(data.BytesRef().size()) : 0;
    } catch (const com::ComError&) {
        return 0;
    }
}

// The progress title, made once: the frame hears it at every step.
const std::string& TitleOf(Kind kind) {
    static const std::string upload = "Upload", download = "Download", command = "Command", none;
    switch (kind) {
        case Kind::Upload:
        case Kind::MarkedUpload: return upload;
        case Kind::Download: return download;
        case Kind::Command: return command;
        case Kind::Group: break;
    }
    return none;
}

}  // namespace

namespace {
uint64_t NextSerial() {
    static uint64_t last = 0;
    return ++last;
}
}  // namespace

struct OnlineService::Transfer {
    // Tells this transfer from a later one that the allocator placed at the same address.
    uint64_t serial = NextSerial();
    Kind kind = Kind::Upload;
    std::string id;
    W<IPrivateProcess> callback;
    std::vector<Step> steps;
    std::map<Address, size_t> readBackStep;  // read-backs queued so far, by address
    std::map<size_t, P<Transaction>> coded;   // a group's writes, coded at its start, by step
    size_t next = 0;
    int32_t elementCount = 0;
    P<Transaction> trans;  // the one on the bus
    bool started = false;
    bool inFlight = false;
    bool ok = true;
    bool cancelled = false;
    bool dropped = false;
    bool finished = false;
    bool lastShow = true;  // the show flag of the last progress event
    std::vector<TransactionResult> results;
    // FollowWrite's judges of writes whose answer was not in, by write step.
    std::vector<std::pair<size_t, WriteJudge>> followers;
    // Open from the start to the end of the transfer, so that the model
    // evaluates the whole data set once instead of after every answer.
    std::unique_ptr<NoticeBatch> batch;
};

namespace {

// A group's transfer whose first write has gone out: cut short, it still
// sends the rest of its writes.
bool WritesBegun(const OnlineService::Transfer& transfer) {
    return transfer.kind == Kind::Group && !transfer.steps.empty() && transfer.steps.front().write &&
           transfer.steps.front().sent;
}

// The transfer has no step left to run: all done, or cut short (past the
// writes of a group whose writes had begun).
bool NothingLeft(const OnlineService::Transfer& transfer) {
    if (transfer.next >= transfer.steps.size()) return true;
    return transfer.cancelled && !(WritesBegun(transfer) && transfer.steps[transfer.next].write);
}

// The step writes the element, or the record it belongs to.
bool Writes(const Step& step, const IPrivateDataElement& el) {
    const IPrivateDataElement& written = *step.elements.front();
    if (&written == &el) return true;
    return IsRecordHeader(written) && written.Slot() == el.Slot() && written.Index() == el.Index();
}

// The result of the transfer's write step, if its answer is in.
const TransactionResult* ResultOf(const OnlineService::Transfer& transfer, const Step& step) {
    for (const auto& result : transfer.results)
        if (result.IsWrite && result.DataElement == step.elements.front()) return &result;
    return nullptr;
}

}  // namespace

OnlineService::OnlineService(W<DTMContext> ctx) : context_(std::move(ctx)) {}
OnlineService::~OnlineService() = default;

// ---- Starting ----

P<DTMContext> OnlineService::ReachableContext() const {
    auto ctx = context_.lock();
    return ctx && ctx->CommService() && ctx->CommService()->Communication() ? ctx : nullptr;
}

bool OnlineService::Upload(const std::string& invokeId, const std::string& path) {
    return StartFrameTransfer(true, invokeId, path);
}

bool OnlineService::Download(const std::string& invokeId, const std::string& path) {
    return StartFrameTransfer(false, invokeId, path);
}

bool OnlineService::StartFrameTransfer(bool upload, const std::string& invokeId, const std::string& path) {
    auto ctx = ReachableContext();
    if (!ctx) return false;
    auto transfer = std::make_shared<Transfer>();
    transfer->kind = upload ? Kind::Upload : Kind::Download;
    transfer->id = invokeId;
    std::vector<El> selected;
    ForEachInScope(com::Deref(ctx->Parameters()), path, [&](const El& el) {
        if (upload ? el->IsUploadParam(ctx) : el->IsDownloadParam(ctx)) selected.push_back(el);
    });
    if (upload)
        AddReadSteps(selected, transfer->steps);
    else
        AddWriteSteps(selected, transfer->steps);
    return Enqueue(transfer);
}

bool OnlineService::StartCommand(const std::string& invokeId, const std::string& elementName,
                                 const P<IPrivateProcess>& callback) {
    auto ctx = ReachableContext();
    if (!ctx) return false;
    auto el = com::Deref(ctx->Parameters()).Find(elementName);
    if (!el) return false;
    auto transfer = std::make_shared<Transfer>();
    transfer->kind = Kind::Command;
    transfer->id = invokeId;
    transfer->callback = callback;
    transfer->steps.push_back({StepElements(el), true});
    return Enqueue(transfer);
}

bool OnlineService::StartUpload(const std::string& invokeId, const std::string& path, int32_t /*mode*/,
                                int32_t flagMask, int32_t, int32_t, const P<IPrivateProcess>& callback) {
    auto ctx = ReachableContext();
    if (!ctx) return false;
    auto transfer = std::make_shared<Transfer>();
    transfer->kind = Kind::MarkedUpload;
    transfer->id = invokeId;
    transfer->callback = callback;
    std::vector<El> selected;
    ForEachInScope(com::Deref(ctx->Parameters()), path, [&](const El& el) {
        const int32_t flags = el->StatusFlags();
        if ((flags & flagMask) == 0) return;
        el->StatusFlags(flags & ~flagMask);
        selected.push_back(el);
    });
    AddReadSteps(selected, transfer->steps);
    return Enqueue(transfer);
}

bool OnlineService::StartGroup(const std::string& invokeId, const std::vector<P<TransRequest>>& requests,
                               const P<IPrivateProcess>& callback) {
    if (!ReachableContext()) return false;
    auto transfer = std::make_shared<Transfer>();
    transfer->kind = Kind::Group;
    transfer->id = invokeId;
    transfer->callback = callback;
    std::vector<El> reads;
    std::vector<El> writes;
    for (const auto& request : requests)
        if (request && request->DataElement) (request->IsWrite ? writes : reads).push_back(request->DataElement);
    AddWriteSteps(writes, transfer->steps);
    AddReadSteps(reads, transfer->steps);
    CodeWrites(*transfer);
    return Enqueue(transfer);
}

void OnlineService::CodeWrites(Transfer& transfer) const {
    auto ctx = context_.lock();
    auto model = ctx ? com::Deref(ctx->Parameters()).DataModel() : nullptr;
    if (!model) return;
    for (size_t i = 0; i < transfer.steps.size(); ++i) {
        const Step& step = transfer.steps[i];
        if (!step.write) continue;
        auto trans = std::make_shared<Transaction>();
        try {
            // One that cannot be coded now is coded at its turn, which records the failure.
            if (model->BuildTransactionRequest(ctx, trans, true, step.elements.front())) transfer.coded[i] = trans;
        } catch (...) {
            app::ErrorSink::Instance().RecordCurrentException("OnlineService-BuildTransactionRequest");
        }
    }
}

bool OnlineService::Enqueue(const std::shared_ptr<Transfer>& transfer) {
    for (const auto& step : transfer->steps) transfer->elementCount += static_cast<int32_t>(step.elements.size());
    transfer->results.reserve(static_cast<size_t>(transfer->elementCount));
    queue_.push_back(transfer);
    if (queue_.size() == 1) StartNext();
    return true;
}

void OnlineService::StartNext() {
    if (queue_.empty()) return;
    auto transfer = queue_.front();
    if (transfer->started) return;
    transfer->started = true;
    auto ctx = context_.lock();
    if (ctx) transfer->batch = std::make_unique<NoticeBatch>(ctx->Parameters());
    W<OnlineService> self = ctx ? ctx->OnlineService() : nullptr;
    auto comm = ctx ? ctx->CommService() : nullptr;
    if (!comm) {
        transfer->ok = false;
        Finish(transfer);
        return;
    }
    comm->WhenOnline([self, transfer](bool online) {
        if (auto service = self.lock()) service->Connected(transfer, online);
    });
}

void OnlineService::Connected(const std::shared_ptr<Transfer>& transfer, bool online) {
    if (transfer->finished) return;
    if (!online) {
        auto ctx = context_.lock();
        transfer->ok = false;
        for (; transfer->next < transfer->steps.size(); ++transfer->next) {
            for (const auto& el : transfer->steps[transfer->next].elements) {
                transfer->results.push_back({});
                transfer->results.back().DataElement = el;
                transfer->results.back().IsWrite = transfer->steps[transfer->next].write;
                transfer->results.back().Failed = true;
            }
        }
        if (ctx) {
            auto& params = com::Deref(ctx->Parameters());
            const DeviceAnswerScope answer(params);
            for (const auto& step : transfer->steps)
                for (const auto& el : step.elements) {
                    const int32_t flags = el->StatusFlags();
                    const int32_t now = (flags & ~kTransportMask) | kTransportNotConnected;
                    if (now == flags) continue;
                    el->StatusFlags(now);
                    try {
                        params.NotifyChange(el, "");
                    } catch (...) {
                        app::ErrorSink::Instance().RecordCurrentException("OnlineService-NotifyChange");
                    }
                }
        }
        Finish(transfer);
        return;
    }
    RunStep(transfer);
}

// ---- The transfer loop ----

void OnlineService::RunStep(const std::shared_ptr<Transfer>& transfer) {
    if (transfer->finished) return;
    if (NothingLeft(*transfer)) {
        Finish(transfer);
        return;
    }
    Send(transfer);
}

void OnlineService::Send(const std::shared_ptr<Transfer>& transfer) {
    auto ctx = context_.lock();
    Step& step = transfer->steps[transfer->next];
    auto model = ctx ? com::Deref(ctx->Parameters()).DataModel() : nullptr;
    auto trans = std::make_shared<Transaction>();
    bool built = false;
    try {
        if (const auto coded = transfer->coded.find(transfer->next); coded != transfer->coded.end()) {
            trans->TransSlot(coded->second->TransSlot());
            trans->TransIndex(coded->second->TransIndex());
            trans->TransData(coded->second->TransData());
            built = true;
        } else {
            built = model && model->BuildTransactionRequest(ctx, trans, step.write, step.elements.front());
        }
    } catch (...) {
        app::ErrorSink::Instance().RecordCurrentException("OnlineService-BuildTransactionRequest");
        built = false;
    }
    transfer->trans = trans;
    DtmCommService* comm = ctx ? ctx->CommService().get() : nullptr;
    int32_t failure = kTransportNotBuilt;
    if (built && comm) {
        // The context owns this service for its whole life and the answer of a
        // transaction reaches it only while the context lives, so the answer
        // may name the service directly; the transfer is looked up again by its
        // serial, which no other transfer in the process shares. Two words keep
        // the callback inside std::function's own buffer, with no allocation.
        transfer->inFlight = comm->SendTransaction(
            trans, step.write, [this, serial = transfer->serial](int32_t status) {
                TransactionAnswered(serial, status);
            });
        if (transfer->inFlight) {
            step.sent = true;
            ++totals_.transactions;
            if (step.write) totals_.bytes += ByteCount(trans->TransData());
            return;
        }
        std::string xml;
        failure = BuildTransactionDocument(*trans, step.write, xml) ? kTransportNotConnected : kTransportNotBuilt;
    }
    // Not sent: the answer handling runs later all the same, so that a long
    // run of refusals never nests.
    W<OnlineService> self = ctx ? ctx->OnlineService() : nullptr;
    app::EventLoop::Instance().Post([self, transfer, failure] {
        if (auto service = self.lock()) service->Answered(transfer, failure);
    });
    transfer->inFlight = true;
}

void OnlineService::TransactionAnswered(uint64_t serial, int32_t status) {
    for (const auto& transfer : queue_)
        if (transfer->serial == serial) {
            const auto keep = transfer;  // Answered may finish it, which drops it from the queue
            Answered(keep, status);
            return;
        }
}

void OnlineService::Answered(const std::shared_ptr<Transfer>& transfer, int32_t status) {
    transfer->inFlight = false;
    if (transfer->finished) return;
    auto ctx = context_.lock();
    if (!ctx) return;
    auto& params = com::Deref(ctx->Parameters());
    auto& comm = com::Deref(ctx->CommService());
    auto model = params.DataModel();
    const Step& step = transfer->steps[transfer->next];
    const auto& trans = transfer->trans;
    if (status == kTransportOk && !step.write) totals_.bytes += ByteCount(trans->TransData());

    comm.TakeRepeatRequest();
    comm.TakeReadBackRequests();
    bool first = true;
    for (const auto& el : step.elements) {
        const int32_t flags = el->StatusFlags();
        const int32_t now = (flags & ~kTransportMask) | status;
        try {
            const DeviceAnswerScope answer(params);
            if (now != flags) {
                el->StatusFlags(now);
                params.NotifyChange(el, "");
            }
            if (status == kTransportOk && model) model->ReadTransactionResponse(ctx, trans, step.write, el);
        } catch (...) {
            app::ErrorSink::Instance().RecordCurrentException("OnlineService-ReadTransactionResponse");
        }
        if (first && comm.TakeRepeatRequest()) {
            ++totals_.repeats;
            Send(transfer);
            return;
        }
        first = false;
    }

    const bool errorInfo = status == kTransportOk && !trans->ErrorInfo().IsEmpty();
    for (const auto& el : step.elements) {
        const bool failed = status != kTransportOk || errorInfo || (el->StatusFlags() & kResponseErrorMask) != 0;
        if (failed) transfer->ok = false;
        // The results are those of the requests made: a page that judges them
        // must not take a read-back for one of its own reads.
        if (step.readBack) continue;
        TransactionResult result;
        result.DataElement = el;
        result.IsWrite = step.write;
        result.Failed = failed;
        transfer->results.push_back(std::move(result));
    }

    // Read-backs the model asked for, after the writes, one per address.
    for (const auto& el : comm.TakeReadBackRequests()) {
        const Address address{el->Slot(), el->Index()};
        auto it = transfer->readBackStep.find(address);
        if (it == transfer->readBackStep.end()) {
            transfer->readBackStep[address] = transfer->steps.size();
            transfer->steps.push_back({StepElements(el), false, true});
            ++transfer->elementCount;
            continue;
        }
        auto& elements = transfer->steps[it->second].elements;
        if (IsRecordHeader(*elements.front())) continue;
        if (elements.Contains(el)) continue;
        elements.push_back(el);
        ++transfer->elementCount;
    }
    Advance(transfer);
}

void OnlineService::Advance(const std::shared_ptr<Transfer>& transfer) {
    ++transfer->next;
    Progress(*transfer, transfer->next < transfer->steps.size() && !transfer->cancelled);
    RunStep(transfer);
}

void OnlineService::Progress(Transfer& transfer, bool show) {
    transfer.lastShow = show;
    if (transfer.kind != Kind::Upload && transfer.kind != Kind::Download) return;
    auto ctx = context_.lock();
    auto events = ctx ? ctx->DTMEvents() : nullptr;
    if (!events) return;
    const size_t total = transfer.steps.empty() ? 1 : transfer.steps.size();
    const size_t done = std::min(transfer.next, total);
    try {
        events->OnProgress(ctx->SystemTag(), TitleOf(transfer.kind), static_cast<int32_t>(done * 100 / total), show);
    } catch (...) {
        app::ErrorSink::Instance().RecordCurrentException("OnlineService-OnProgress");
    }
}

void OnlineService::Finish(const std::shared_ptr<Transfer>& transfer) {
    if (transfer->finished) return;
    transfer->finished = true;
    if (transfer->cancelled) transfer->ok = false;
    transfer->batch.reset();  // the data-set state is evaluated before the frame hears of the end
    if (transfer->lastShow) Progress(*transfer, false);
    totals_.elements += transfer->elementCount;
    auto ctx = context_.lock();
    if (ctx && ctx->CommService()) ctx->CommService()->RecordTransactionResults(transfer->id, transfer->results);
    for (auto& [step, judge] : transfer->followers) {
        const TransactionResult* result = ResultOf(*transfer, transfer->steps[step]);
        app::EventLoop::Instance().Post(
            [judge = std::move(judge), taken = result && !result->Failed] { judge(taken); });
    }
    transfer->followers.clear();
    for (auto it = queue_.begin(); it != queue_.end(); ++it)
        if (*it == transfer) {
            queue_.erase(it);
            break;
        }
    if (!transfer->dropped && ctx) {
        const std::string tag = ctx->SystemTag();
        const bool ok = transfer->ok;
        try {
            auto events = ctx->DTMEvents();
            if (transfer->kind == Kind::Upload && events) events->OnUploadFinished(tag, transfer->id, ok);
            if (transfer->kind == Kind::Download && events) events->OnDownloadFinished(tag, transfer->id, ok);
        } catch (...) {
            app::ErrorSink::Instance().RecordCurrentException("OnlineService-Finished");
        }
        if (auto cb = transfer->callback.lock()) {
            const std::string id = transfer->id;
            W<IPrivateProcess> weak = cb;
            app::EventLoop::Instance().Post([weak, id, ok] {
                if (auto target = weak.lock()) target->OnProcessFinished(id, Variant::Bool(ok));
            });
        }
    }
    W<OnlineService> self = ctx ? ctx->OnlineService() : nullptr;
    app::EventLoop::Instance().Post([self] {
        if (auto service = self.lock()) service->StartNext();
    });
}

// ---- Cancelling and state ----

std::shared_ptr<OnlineService::Transfer> OnlineService::FindTransfer(const std::string& invokeId) const {
    for (const auto& transfer : queue_)
        if (SameInvokeId(transfer->id, invokeId)) return transfer;
    return nullptr;
}

bool OnlineService::Cancel(const std::string& invokeId) {
    auto transfer = FindTransfer(invokeId);
    if (!transfer) return false;
    transfer->cancelled = true;
    transfer->ok = false;
    // Writes that go on end the transfer themselves.
    if (!transfer->inFlight && !WritesBegun(*transfer)) {
        auto ctx = context_.lock();
        W<OnlineService> self = ctx ? ctx->OnlineService() : nullptr;
        app::EventLoop::Instance().Post([self, transfer] {
            if (auto service = self.lock()) service->Finish(transfer);
        });
    }
    return true;
}

void OnlineService::DropRequest(const std::string& invokeId) {
    auto transfer = FindTransfer(invokeId);
    if (!transfer) return;
    transfer->dropped = true;
    Cancel(invokeId);
}

int32_t OnlineService::OperationMode() const {
    if (queue_.empty() || !queue_.front()->started || queue_.front()->finished) return 0;
    const Kind kind = queue_.front()->kind;
    return kind == Kind::Upload || kind == Kind::MarkedUpload ? 1 : 0;
}

bool OnlineService::WriteWaits(const IPrivateDataElement& el, const std::string& invokeId) const {
    for (const auto& transfer : queue_) {
        if (transfer->kind != Kind::Group || (transfer->cancelled && !WritesBegun(*transfer))) continue;
        if (!invokeId.empty() && !SameInvokeId(transfer->id, invokeId)) continue;
        // A group's writes come before its reads.
        for (size_t i = transfer->next; i < transfer->steps.size() && transfer->steps[i].write; ++i) {
            const Step& step = transfer->steps[i];
            if (!step.sent && Writes(step, el)) return true;
        }
    }
    return false;
}

bool OnlineService::FollowWrite(const IPrivateDataElement& el, const std::string& invokeId, WriteJudge judge) {
    const auto transfer = FindTransfer(invokeId);
    if (!transfer || transfer->kind != Kind::Group || transfer->finished) return false;
    for (size_t i = 0; i < transfer->steps.size() && transfer->steps[i].write; ++i) {
        const Step& step = transfer->steps[i];
        if (!Writes(step, el)) continue;
        if (!step.sent) return false;
        if (const TransactionResult* result = ResultOf(*transfer, step)) {
            judge(!result->Failed);
            return true;
        }
        transfer->followers.emplace_back(i, std::move(judge));
        return true;
    }
    return false;
}

int32_t OnlineService::State() const {
    if (queue_.empty() || !queue_.front()->started || queue_.front()->kind == Kind::Group) return 0;
    return OperationMode() == 1 ? 1 : 2;
}

int32_t OnlineService::OnlineState() const {
    if (queue_.empty() || !queue_.front()->started) return 0;
    switch (queue_.front()->kind) {
        case Kind::Upload:
        case Kind::MarkedUpload: return 0x1;
        case Kind::Download: return 0x2;
        case Kind::Command: return 0x4;
        case Kind::Group: return 0;
    }
    return 0;
}

}  // namespace platform::rt
