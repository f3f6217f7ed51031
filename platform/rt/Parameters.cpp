#include "platform/rt/Parameters.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "platform/app/ErrorSink.h"
#include "platform/com/Error.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateDataModel.h"

namespace platform::rt {

namespace {

constexpr size_t kMaxDispatchDepth = 64;

inline unsigned char AsciiLower(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Orders texts by their lower-cased bytes; texts with a common prefix (ASCII
// case ignored) lie next to each other in this order.
bool LessIgnoringCase(std::string_view a, std::string_view b) noexcept {
    const size_t n = std::min(a.size(), b.size());
    // Equal bytes are equal ignoring case too: the folding starts at the first difference.
    const auto end = a.begin() + static_cast<std::ptrdiff_t>(n);
    const size_t same = static_cast<size_t>(std::mismatch(a.begin(), end, b.begin()).first - a.begin());
    for (size_t i = same; i < n; ++i) {
        const unsigned char x = AsciiLower(static_cast<unsigned char>(a[i]));
        const unsigned char y = AsciiLower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) noexcept {
    if (prefix.size() > text.size()) return false;
    if (text.starts_with(prefix)) return true;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(static_cast<unsigned char>(text[i])) != AsciiLower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

std::string AnchorPath(const Variant& anchor) {
    if (anchor.IsMissing()) return {};
    return com::CStr(anchor);
}

}  // namespace

size_t Parameters::PathHash::operator()(std::string_view s) const noexcept {
    // Eight bytes at a time, each with bit 5 set: an upper-case letter hashes
    // as its lower-case one (a few other bytes pair up too; PathEqual decides).
    constexpr uint64_t kFold = 0x2020202020202020ull;
    constexpr uint64_t kPrime = 1099511628211ull;
    uint64_t h = 1469598103934665603ull ^ s.size();
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, sizeof word);
        h = (h ^ (word | kFold)) * kPrime;
        h ^= h >> 32;
    }
    for (; i < s.size(); ++i) h = (h ^ (static_cast<unsigned char>(s[i]) | 0x20u)) * kPrime;
    return static_cast<size_t>(h ^ (h >> 29));
}

bool Parameters::PathEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    // Paths are mostly looked up as they were added: the byte compare decides those.
    return a.size() == b.size() && (a == b || StartsWithIgnoringCase(a, b));
}

El Parameters::Item(const std::string& path) const {
    El el = Find(path);
    if (!el) com::Raise(com::errInvalidArgument);
    return el;
}

El Parameters::Item(int32_t i) const {
    if (i < 1 || i > Count()) com::Raise(com::errInvalidArgument);
    return items_[static_cast<size_t>(i - 1)];
}

El Parameters::Find(std::string_view path) const noexcept {
    auto it = byPath_.find(path);
    return it == byPath_.end() ? nullptr : it->second;
}

size_t Parameters::PositionOf(const Variant& anchor) const {
    El target = Find(AnchorPath(anchor));
    if (!target) com::Raise(com::errInvalidArgument);
    auto it = std::find(items_.begin(), items_.end(), target);
    return static_cast<size_t>(it - items_.begin());
}

void Parameters::Add(El el, const Variant& beforePath, const Variant& afterPath) {
    if (!el) com::Raise(com::errObjectNotSet);
    const bool hasBefore = !beforePath.IsMissing();
    const bool hasAfter = !afterPath.IsMissing();
    if (hasBefore && hasAfter) com::Raise(com::errInvalidArgument);

    size_t pos = items_.size();
    if (hasBefore) pos = PositionOf(beforePath);
    if (hasAfter) pos = PositionOf(afterPath) + 1;

    std::string path = el->Name();
    if (byPath_.find(std::string_view(path)) != byPath_.end()) com::Raise(com::errDuplicateKey);
    const auto added = byPath_.emplace(std::move(path), el).first;
    paths_.insert(paths_.begin() + static_cast<std::ptrdiff_t>(pos), added->first);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(el));
    byPrefix_.clear();
    members_.clear();
    tables_.clear();
    generation_ = NextGeneration();
}

void Parameters::Reset() {
    generation_ = NextGeneration();
    items_.clear();
    paths_.clear();
    byPrefix_.clear();
    members_.clear();
    tables_.clear();
    unkeptTable_.reset();
    byPath_.clear();
    dispatchStack_.clear();
    ForgetAnswers();
    if (channels_) channels_->Clear();
}

std::vector<El> Parameters::ElementsUnder(std::string_view prefix, size_t minLength) const {
    // Positions in path order, made on the first look-up after the collection changed.
    if (byPrefix_.size() != paths_.size()) {
        byPrefix_.resize(paths_.size());
        for (size_t i = 0; i < paths_.size(); ++i) byPrefix_[i] = static_cast<uint32_t>(i);
        std::sort(byPrefix_.begin(), byPrefix_.end(),
                  [this](uint32_t a, uint32_t b) { return LessIgnoringCase(paths_[a], paths_[b]); });
    }
    auto it = std::lower_bound(byPrefix_.begin(), byPrefix_.end(), prefix,
                               [this](uint32_t pos, std::string_view h) { return LessIgnoringCase(paths_[pos], h); });
    std::vector<uint32_t> positions;
    for (; it != byPrefix_.end() && StartsWithIgnoringCase(paths_[*it], prefix); ++it) {
        if (paths_[*it].size() >= minLength) positions.push_back(*it);
    }
    std::sort(positions.begin(), positions.end());
    std::vector<El> found;
    found.reserve(positions.size());
    for (const uint32_t pos : positions) found.push_back(items_[pos]);
    return found;
}

std::vector<El> Parameters::Children(std::string_view header) const { return *Members(header); }

std::shared_ptr<const std::vector<El>> Parameters::Members(std::string_view header) const {
    auto it = members_.find(header);
    if (it == members_.end())
        it = members_
                 .emplace(std::string(header),
                          std::make_shared<const std::vector<El>>(ElementsUnder(header, header.size() + 1)))
                 .first;
    return it->second;
}

uint64_t Parameters::NextGeneration() noexcept {
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

size_t PathList::NextId() noexcept {
    static std::atomic<size_t> next{0};
    return next++;
}

const std::shared_ptr<const std::vector<El>>& Parameters::FindElementsAt(const PathList& list, int32_t number,
                                                                         std::string_view prefix) const {
    std::vector<El> found;
    found.reserve(list.Paths().size());
    std::string path(prefix);
    for (const std::string_view rest : list.Paths()) {
        path.resize(prefix.size());
        path += rest;
        found.push_back(Find(path));
    }
    auto table = std::make_shared<const std::vector<El>>(std::move(found));
    // Block numbers are small; any other number is looked up on every call.
    constexpr uint32_t kKeptNumbers = 64;
    const auto n = static_cast<uint32_t>(number);
    if (n >= kKeptNumbers) return unkeptTable_ = std::move(table);
    if (tables_.size() <= list.Id()) tables_.resize(list.Id() + 1);
    auto& numbers = tables_[list.Id()];
    if (numbers.size() <= n) numbers.resize(n + 1);
    return numbers[n] = std::move(table);
}

std::vector<El> Parameters::StartingWith(std::string_view path) const { return ElementsUnder(path, path.size()); }

const Variant* Parameters::ProjectValueBeforeAnswers(const IPrivateDataElement& el) const {
    const auto found = answered_.find(&el);
    return found == answered_.end() ? nullptr : &found->second.projectValue;
}

void Parameters::ForgetAnswers() noexcept {
    if (!answered_.empty()) decltype(answered_)().swap(answered_);
    answersApart_ = 0;
}

Variant Parameters::ProjectValue(const IPrivateDataElement& el) const {
    if (const Variant* recorded = ProjectValueBeforeAnswers(el)) return *recorded;
    Variant stored = el.PersistentValue();
    if (stored.IsEmpty()) return el.TransientValue();
    return stored;
}

void Parameters::AnswerReached(const IPrivateDataElement& el, const Variant& projectValue) {
    if (!modified_) answered_.try_emplace(&el, Answered{projectValue});
}

void Parameters::AnswerJudged(const IPrivateDataElement& el, const Variant& projectValue, bool apart) {
    if (modified_) return;
    auto& answered = answered_.try_emplace(&el, Answered{projectValue}).first->second;
    answersApart_ += static_cast<int32_t>(apart) - static_cast<int32_t>(answered.apart);
    answered.apart = apart;
}

void Parameters::NotifyRestored(El el, const std::string& text, bool apart) {
    if (el) AnswerJudged(*el, ProjectValue(*el), apart);
    ++restoreDepth_;
    struct Restored {
        int32_t& depth;
        ~Restored() { --depth; }
    } restored{restoreDepth_};
    NotifyChange(std::move(el), text);
}

void Parameters::NotifyChange(El el, const std::string& text) {
    if (!el) com::Raise(com::errObjectNotSet);
    // The caller has changed the element, so the mark is set on every exit,
    // also when the model's change handling fails and the pages are skipped.
    struct Mark {
        Parameters& self;
        bool marks;
        ~Mark() {
            if (marks) self.SetMark();
        }
    } mark{*this, NoticesMark()};
    // One reference to the context serves the model and the pages, unless the
    // model's handling gave the collection another context.
    auto ctx = Context();
    const bool dispatching =
        std::find(dispatchStack_.begin(), dispatchStack_.end(), el.get()) != dispatchStack_.end();
    if (!dispatching) {
        if (auto model = DataModel()) {
            if (dispatchStack_.size() >= kMaxDispatchDepth) com::Raise(com::errDispatchDepth);
            dispatchStack_.push_back(el.get());
            // Popped on every exit; a Reset inside the dispatch may have emptied the stack.
            struct Pop {
                std::vector<IPrivateDataElement*>& stack;
                ~Pop() {
                    if (!stack.empty()) stack.pop_back();
                }
            } pop{dispatchStack_};
            model->DataChanged(el, ctx);
        }
        if (ctx.owner_before(context_) || context_.owner_before(ctx)) ctx = Context();
    }
    NotifyPages(ctx, el, text);
}

void Parameters::NotifyChanged(El el, const std::string& text) {
    if (!el) com::Raise(com::errObjectNotSet);
    NotifyPages(Context(), el, text);
    if (NoticesMark()) SetMark();
}

void Parameters::NotifyPages(const P<DTMContext>& ctx, const El& el, const std::string& text) {
    if (!ctx) return;
    // The context holds its registry for the call; no copy of the reference is needed.
    if (const auto& registry = ctx->GuiRegistry()) registry->NotifyParameterChanged(el, text);
}

P<DtmGuiRegistry> Parameters::Registry() const {
    auto ctx = Context();
    return ctx ? ctx->GuiRegistry() : nullptr;
}

void Parameters::EndNoticeBatch() {
    if (noticeBatchDepth_ == 0 || --noticeBatchDepth_ > 0) return;
    // Without its context (an instance being torn down) the model has nothing to evaluate.
    auto model = DataModel();
    auto ctx = Context();
    if (model && ctx) model->NoticeBatchEnded(ctx);
}

NoticeBatch::NoticeBatch(const P<Parameters>& params) : params_(params), open_(params != nullptr) {
    if (params) params->BeginNoticeBatch();
}

NoticeBatch::~NoticeBatch() {
    try {
        Close();
    } catch (...) {
        app::ErrorSink::Instance().RecordCurrentException("Parameters-EndNoticeBatch");
    }
}

void NoticeBatch::Close() {
    if (!std::exchange(open_, false)) return;
    if (auto params = params_.lock()) params->EndNoticeBatch();
}

bool Parameters::DataSetReady() const noexcept { return !model_.expired() && !updateInProgress_; }

void Parameters::BeginSetParameters() {
    ++setParametersDepth_;
    updateInProgress_ = true;
}

void Parameters::EndSetParameters() {
    if (setParametersDepth_ == 0) return;
    if (--setParametersDepth_ > 0) return;
    struct Finish {
        Parameters& self;
        ~Finish() {
            self.updateInProgress_ = false;
            self.SetMark();
        }
    } finish{*this};
    if (auto model = DataModel()) model->DataSetChanged(Context());
    if (auto registry = Registry()) registry->NotifyParameterSetChanged();
}

void Parameters::OnChildParameterChanged(const std::string& tag, const std::string& arg) {
    parameterEvents_.emplace_back(tag, arg);
}

void Parameters::OnParameterChanged(const std::string& tag, const std::string& arg) {
    parameterEvents_.emplace_back(tag, arg);
}

void Parameters::OnLockDataSet(const std::string&) {
    if (auto registry = Registry()) registry->LockState(true);
}

bool Parameters::OnUnlockDataSet(const std::string&) {
    if (auto registry = Registry()) registry->LockState(false);
    return true;
}

}  // namespace platform::rt
