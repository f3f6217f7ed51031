#pragma once
// The element collection of one DTM instance: elements in collection order,
// found by path (ASCII case ignored), with the change and data-set notices
// that go on to the model and the open pages.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/com/Variant.h"
#include "platform/rt/IPrivateDataElement.h"

namespace platform::rt {

class DTMContext;
class DtmGuiRegistry;
class IPrivateDataModel;
class ChannelList;

// A static list of element paths under a block prefix, with the id under
// which every collection keeps the elements it found at them (ElementsAt).
class PathList {
public:
    template <size_t N>
    explicit PathList(const char* const (&paths)[N]) : paths_(paths, paths + N), id_(NextId()) {
        for (const std::string_view path : paths_) lengths_ |= LengthBit(path.size());
    }
    std::span<const std::string_view> Paths() const noexcept { return paths_; }
    size_t Id() const noexcept { return id_; }
    // Whether one of the paths may be `length` characters long (always true for long ones).
    bool MayHaveLength(size_t length) const noexcept { return (lengths_ & LengthBit(length)) != 0; }

private:
    static size_t NextId() noexcept;
    static constexpr uint64_t LengthBit(size_t length) noexcept { return uint64_t{1} << (length < 63 ? length : 63); }
    std::vector<std::string_view> paths_;
    size_t id_;
    uint64_t lengths_ = 0;  // bit n: a path of n characters (bit 63: of 63 or more)
};

class Parameters : public com::Object {
public:
    using iterator = std::vector<El>::const_iterator;

    // ---- Elements ----
    // Miss → 5.
    El Item(const std::string& path) const;
    // 1-based; out of range → 5.
    El Item(int32_t i) const;
    // nullptr on a miss; never throws.
    El Find(std::string_view path) const noexcept;
    int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
    // Changes whenever an element is added or the collection is reset, to a
    // number that no collection of the process had before.
    uint64_t Generation() const noexcept { return generation_; }
    iterator begin() const noexcept { return items_.begin(); }
    iterator end() const noexcept { return items_.end(); }

    // In front of the element at beforePath, right behind the one at afterPath,
    // or at the end. Both anchors given, or an unknown anchor → 5; a null
    // element → 91; a path already present (ignoring case) → 457.
    void Add(El el, const Variant& beforePath = Variant::Missing(),
             const Variant& afterPath = Variant::Missing());
    // Removes every element, empties the channel list, clears the dispatch stack.
    void Reset();
    // The elements whose paths start with `header` and differ from it, in
    // collection order; the header itself is not among them.
    std::vector<El> Children(std::string_view header) const;
    // The same elements, found once per header until the collection changes;
    // the list stays valid for its holder across changes of the collection.
    std::shared_ptr<const std::vector<El>> Members(std::string_view header) const;
    // The elements whose paths start with `path`, the one at `path` itself
    // included, in collection order; "" gives every element.
    std::vector<El> StartingWith(std::string_view path) const;
    // The elements at `prefix` & each of the list's paths (null where there is
    // none), for handlers that consult the same elements on every change
    // notice: looked up once per list and `number` until the collection
    // changes. The reference is valid until the next call or change of the
    // collection; a copy of the pointer keeps the list valid for its holder
    // across changes. Every call with one list and number passes the same prefix.
    const std::shared_ptr<const std::vector<El>>& ElementsAt(const PathList& list, int32_t number,
                                                             std::string_view prefix) const {
        const auto n = static_cast<uint32_t>(number);
        if (list.Id() < tables_.size() && n < tables_[list.Id()].size())
            if (const auto& found = tables_[list.Id()][n]) return found;
        return FindElementsAt(list, number, prefix);
    }

    // ---- Model and context (both held weakly) ----
    P<IPrivateDataModel> DataModel() const { return model_.lock(); }
    void DataModel(const P<IPrivateDataModel>& model) { model_ = model; }
    P<DTMContext> Context() const { return context_.lock(); }
    void Context(const P<DTMContext>& ctx) { context_ = ctx; }

    // ---- Change notices ----
    // Model DataChanged first (its error reaches the caller and the pages are
    // skipped), unless the element's own change is being dispatched already;
    // then the pages. The modified mark is set on every exit, except while a
    // device answer is handed to the model: whether an answer changed what the
    // data set keeps is the model's to judge (it sets the mark itself), so
    // neither the answer's notices nor those of the changes it brings about
    // set it. More than 64 nested dispatches → 28.
    void NotifyChange(El el, const std::string& text);
    // As NotifyChange, for an element that got back the value the data set
    // held before (a command the device never took): the notices, also those
    // of the changes its handling brings about, leave the mark as it is. The
    // caller judges whether the value given back is apart from the stored
    // project (ProjectValue), as for an answer: a save while the command was
    // on its way stored the command, so the value given back marks the data set.
    void NotifyRestored(El el, const std::string& text, bool apart = false);
    // Pages only; sets the mark, except during a device answer or a restore.
    void NotifyChanged(El el, const std::string& text);

    // ---- Notice batches ----
    // While a batch is open the model may put off what it derives from the
    // whole data set after a change notice; the notices themselves go on as
    // usual. Batches nest; the end of the outermost one calls the model's
    // NoticeBatchEnded when model and context exist (its error reaches the
    // caller; the batch is closed either way). An end without a begin does
    // nothing.
    void BeginNoticeBatch() noexcept { ++noticeBatchDepth_; }
    void EndNoticeBatch();
    bool NoticeBatchOpen() const noexcept { return noticeBatchDepth_ > 0; }

    // ---- Device answers ----
    // While the online service hands a device answer to the model, the
    // changes it notifies were read from the device, not made by the user.
    // Answers nest; an end without a begin does nothing.
    void BeginDeviceAnswer() noexcept { ++deviceAnswerDepth_; }
    void EndDeviceAnswer() noexcept { deviceAnswerDepth_ -= deviceAnswerDepth_ > 0; }
    bool DeviceAnswerInProgress() const noexcept { return deviceAnswerDepth_ > 0; }

    // ---- Data-set state ----
    bool UpdateInProgress() const noexcept { return updateInProgress_; }
    void UpdateInProgress(bool value) noexcept { updateInProgress_ = value; }
    // A model exists and no whole data set is being taken over.
    bool DataSetReady() const noexcept;
    int32_t DataSetState() const noexcept { return dataSetState_; }
    // Derived from the elements by the model: a write leaves the modified mark
    // alone (what changed the elements has set it).
    void DataSetState(int32_t value) noexcept { dataSetState_ = value; }
    // 0 while the modified mark is clear, else DataSetState.
    int32_t QueryDataSetState() const noexcept { return Modified() ? dataSetState_ : 0; }
    // Set by the notices (sticky), or while a device answer keeps a setting
    // apart from the stored project (below). Clearing it (a save, a load)
    // forgets both: the data set is then the stored project. Setting it
    // forgets the record below as well: only clearing ends the mark.
    bool Modified() const noexcept { return modified_ || answersApart_ > 0; }
    void Modified(bool value) noexcept {
        modified_ = value;
        ForgetAnswers();
    }

    // ---- Settings that device answers changed ----
    // While the mark is clear, the model records, for each element that
    // device answers reached since the mark was last cleared, the value the
    // stored project holds (the first one recorded stays) and whether the
    // last answer that judged the element left it apart from that value: the
    // mark follows. While the mark is set (sticky) nothing is recorded: the
    // record would not change the mark, and clearing the mark forgets it.
    // The value recorded for the element, or nullptr.
    const Variant* ProjectValueBeforeAnswers(const IPrivateDataElement& el) const;
    // What the stored project holds of the element: the value recorded; else
    // the stored value (which every answer empties); else, in a data set
    // never stored, the value it holds.
    Variant ProjectValue(const IPrivateDataElement& el) const;
    // An answer reached the element and judged nothing (a read that left a
    // pending edit in place, an error): the value the project held before it
    // is recorded all the same, for it may have emptied the stored value.
    void AnswerReached(const IPrivateDataElement& el, const Variant& projectValue);
    void AnswerJudged(const IPrivateDataElement& el, const Variant& projectValue, bool apart);
    void BeginSetParameters();
    void EndSetParameters();

    // ---- Frame data-set events ----
    // The two parameter events are recorded; lock and unlock set the GUI
    // registry's LockState (unlock answers True).
    void OnChildParameterChanged(const std::string& tag, const std::string& arg);
    void OnParameterChanged(const std::string& tag, const std::string& arg);
    void OnLockDataSet(const std::string& tag);
    bool OnUnlockDataSet(const std::string& tag);
    // Recorded parameter events, in arrival order (tag, argument).
    const std::vector<std::pair<std::string, std::string>>& ParameterEvents() const noexcept {
        return parameterEvents_;
    }

    // ---- Channels ----
    P<ChannelList> Channels() const { return channels_; }
    void Channels(const P<ChannelList>& list) { channels_ = list; }

private:
    struct PathHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const noexcept;
    };
    struct PathEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };

    static uint64_t NextGeneration() noexcept;
    size_t PositionOf(const Variant& anchor) const;  // unknown → 5
    // The elements whose paths start with `prefix` and are at least `minLength` long.
    std::vector<El> ElementsUnder(std::string_view prefix, size_t minLength) const;
    // Whether a notice now sets the mark: no device answer or restore is being handled.
    bool NoticesMark() const noexcept { return deviceAnswerDepth_ == 0 && restoreDepth_ == 0; }
    // Sets the (sticky) mark, which the record of answers then no longer serves.
    void SetMark() noexcept {
        modified_ = true;
        ForgetAnswers();
    }
    // Empties the record of answers and gives its memory back.
    void ForgetAnswers() noexcept;
    // Tells the pages of `ctx` (none without it).
    static void NotifyPages(const P<DTMContext>& ctx, const El& el, const std::string& text);
    P<DtmGuiRegistry> Registry() const;

    std::vector<El> items_;
    // items_' paths as added, for prefix scans without virtual calls: views of
    // the keys of byPath_, whose nodes stay where they are.
    std::vector<std::string_view> paths_;
    mutable std::vector<uint32_t> byPrefix_;  // positions sorted by path (case ignored); empty when stale
    std::unordered_map<std::string, El, PathHash, PathEqual> byPath_;
    // Members per header; emptied whenever the collection changes.
    mutable std::unordered_map<std::string, std::shared_ptr<const std::vector<El>>, PathHash, PathEqual> members_;
    const std::shared_ptr<const std::vector<El>>& FindElementsAt(const PathList& list, int32_t number,
                                                                 std::string_view prefix) const;
    mutable std::shared_ptr<const std::vector<El>> unkeptTable_;  // ElementsAt of a number not kept
    // ElementsAt per list id and number; emptied whenever the collection changes.
    mutable std::vector<std::vector<std::shared_ptr<const std::vector<El>>>> tables_;
    std::vector<IPrivateDataElement*> dispatchStack_;
    W<IPrivateDataModel> model_;
    W<DTMContext> context_;
    P<ChannelList> channels_;
    std::vector<std::pair<std::string, std::string>> parameterEvents_;
    uint64_t generation_ = NextGeneration();
    int32_t dataSetState_ = 0;
    int32_t setParametersDepth_ = 0;
    int32_t noticeBatchDepth_ = 0;
    int32_t deviceAnswerDepth_ = 0;
    int32_t restoreDepth_ = 0;
    bool updateInProgress_ = false;
    bool modified_ = false;
    struct Answered {
        Variant projectValue;
        bool apart = false;
    };
    // Elements of the collection only: emptied with it.
    std::unordered_map<const IPrivateDataElement*, Answered> answered_;
    int32_t answersApart_ = 0;
};

// One open notice batch of a Parameters (held weakly): Close ends it with the
// model's error reaching the caller; the destructor ends it if Close did not,
// recording an error in the error sink.
class NoticeBatch {
public:
    explicit NoticeBatch(const P<Parameters>& params);
    ~NoticeBatch();
    NoticeBatch(const NoticeBatch&) = delete;
    NoticeBatch& operator=(const NoticeBatch&) = delete;
    void Close();

private:
    W<Parameters> params_;
    bool open_ = false;
};

}  // namespace platform::rt
