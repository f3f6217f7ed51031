#include "model/elements/DataSetState.h"

#include <algorithm>
#include <bit>

#include "core/services/ProjectHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/UserInfo.h"

namespace dtm {

using platform::P;
using platform::com::Deref;
using Ctx = P<platform::rt::DTMContext>;
using SessionVariables = std::span<const P<clsDataElement>>;

namespace {

constexpr int32_t kModeSavedState = 0x10;
constexpr int32_t kValidityFlags = 0xF008;
constexpr int32_t kStatusChanged = 0x4;

// The bits of an element's share, each counted in the tally.
enum ShareBit : uint8_t { kChanged = 1, kNotOnline = 2, kNotSaved = 4, kInvalid = 8 };
constexpr int kShareBits = 4;

DataSetStateCheck g_check = nullptr;

bool IsSessionVariable(const clsDataElement* element, SessionVariables sessionVariables) {
    return std::any_of(sessionVariables.begin(), sessionVariables.end(),
                       [element](const P<clsDataElement>& session) { return session.get() == element; });
}

// Neither the session's own variables nor a secret are kept with the data set.
bool Counts(const clsDataElement* element, SessionVariables sessionVariables) {
    return !IsSessionVariable(element, sessionVariables) && !element->Secret;
}

// Online: no stored value, and the device value is the value. Without a stored
// value but with a device value, the status flags have just compared the two.
bool KeptOnline(const clsDataElement& element) {
    return element.PersistentValue.IsEmpty() && !element.DeviceValue.IsEmpty();
}

bool Unsaved(const clsDataElement& element) {
    return (element.ElementMode & kModeSavedState) && !IsSameValue(element.TransientValue, element.PersistentValue);
}

uint8_t ShareOf(clsDataElement& element, const Ctx& DTMContext, const clsDataElement& status,
                SessionVariables sessionVariables) {
    if (!Counts(&element, sessionVariables)) return 0;
    uint8_t share = 0;
    if (element.StatusFlags() & kValidityFlags) share |= kInvalid;
    if (element.ValueType != 0 && &element != &status) {
        if (element.CalcParamStatusFlags(DTMContext, element.TransientValue) & kStatusChanged)
            share |= kChanged;
        else if ((element.IsDownloadParam(DTMContext) || element.IsUploadParam(DTMContext)) && !KeptOnline(element))
            share |= kNotOnline;
    }
    if (Unsaved(element)) share |= kNotSaved;
    return share;
}

// 1 when the ident number selector, found as clsDataElement::ExcludedByIdentNumber
// finds it, leaves out the function blocks 5 to 8; 0 when not; -1 without one.
int32_t SelectorState(const platform::rt::Parameters& parameters) {
    const auto owner = parameters.DataModel();
    const auto* model = dynamic_cast<const clsDataModel*>(owner.get());
    P<platform::rt::IPrivateDataElement> selector = model ? model->IdentNumberSelector() : nullptr;
    if (!selector) selector = parameters.Find(kIdentNumberSelectorPath);
    if (!selector) return -1;
    return platform::com::CompareTo(selector->TransientValue(), 0) == platform::com::Cmp::Equal ? 1 : 0;
}

DataSetStateResult ResultOf(bool changed, bool online, bool saved, bool valid) {
    return {.state = static_cast<uint8_t>(changed ? 2 : online ? 1 : saved ? 0 : 3), .validity = valid ? 1 : 2};
}

}  // namespace

DataSetStateResult WalkDataSetState(const Ctx& DTMContext, const platform::rt::Parameters& parameters,
                                    const clsDataElement& status, SessionVariables sessionVariables) {
    bool changed = false;
    bool online = true;
    bool saved = true;
    bool valid = true;
    for (const auto& item : parameters) {
        auto* element = static_cast<clsDataElement*>(item.get());
        if (!Counts(element, sessionVariables)) continue;
        if (valid && (element->StatusFlags() & kValidityFlags)) valid = false;
        if ((!changed || online) && element->ValueType != 0 && element != &status) {
            if (element->CalcParamStatusFlags(DTMContext, element->TransientValue) & kStatusChanged) {
                changed = true;
                online = false;
            } else if (element->IsDownloadParam(DTMContext) || element->IsUploadParam(DTMContext)) {
                if (!KeptOnline(*element)) online = false;
            }
        }
        if (saved && Unsaved(*element)) saved = false;
    }
    return ResultOf(changed, online, saved, valid);
}

bool DataSetStateTally::Evaluate(const Ctx& DTMContext, const platform::rt::Parameters& parameters,
                                 const clsDataElement& status, SessionVariables sessionVariables,
                                 DataSetStateResult& result) {
    // An error while the shares are worked out is left to the walk: the
    // caller's walk meets it again where an element raises it, or not at all
    // where the walk stops short of that element (it compares values only up
    // to the first changed one, and each kind only until it is decided).
    try {
        const Basis basis = BasisOf(DTMContext, parameters, status);
        if (!counted_ || basis != basis_) {
            counted_ = false;
            basis_ = basis;
            CountAll(DTMContext, parameters, status, sessionVariables);
            counted_ = true;
        } else {
            CountWritten(DTMContext, status, sessionVariables);
        }
    } catch (...) {
        counted_ = false;
        lookedAt_ = parameters.Count();  // the caller walks them all
        return false;
    }
    result = Result();
    return true;
}

DataSetStateTally::Basis DataSetStateTally::BasisOf(const Ctx& DTMContext, const platform::rt::Parameters& parameters,
                                                    const clsDataElement& status) {
    return {.parameters = &parameters,
            .generation = parameters.Generation(),
            .status = &status,
            .userLevel = Deref(Deref(DTMContext).UserInfo()).UserLevel(),
            .selector = SelectorState(parameters)};
}

void DataSetStateTally::CountAll(const Ctx& DTMContext, const platform::rt::Parameters& parameters,
                                 const clsDataElement& status, SessionVariables sessionVariables) {
    // A list of its own: elements that have left the collection since the
    // last count go on the old one, which nobody looks at any more.
    changes_ = std::make_shared<ChangeList>();
    elementsWith_ = {};
    lookedAt_ = 0;
    for (const auto& item : parameters) {
        auto* element = static_cast<clsDataElement*>(item.get());
        element->WatchInto(changes_);
        element->StateShare(ShareOf(*element, DTMContext, status, sessionVariables));
        Add(element->StateShare(), 1);
        ++lookedAt_;
    }
}

void DataSetStateTally::CountWritten(const Ctx& DTMContext, const clsDataElement& status,
                                     SessionVariables sessionVariables) {
    changes_->TakeInto(taken_);
    lookedAt_ = 0;
    for (ChangeWatcher* watcher : taken_) {
        if (!watcher) continue;  // gone since it was written
        watcher->Unlisted();
        auto* element = static_cast<clsDataElement*>(watcher);
        const uint8_t share = ShareOf(*element, DTMContext, status, sessionVariables);
        Add(element->StateShare(), -1);
        Add(share, 1);
        element->StateShare(share);
        ++lookedAt_;
    }
}

void DataSetStateTally::Add(uint8_t share, int32_t sign) noexcept {
    for (int bit = 0; bit < kShareBits; ++bit)
        if (share & (1 << bit)) elementsWith_[static_cast<size_t>(bit)] += sign;
}

DataSetStateResult DataSetStateTally::Result() const noexcept {
    const auto with = [this](ShareBit bit) {
        return elementsWith_[static_cast<size_t>(std::countr_zero(static_cast<unsigned>(bit)))] > 0;
    };
    return ResultOf(with(kChanged), !with(kNotOnline), !with(kNotSaved), !with(kInvalid));
}

void CheckDataSetStateWith(DataSetStateCheck check) noexcept { g_check = check; }
DataSetStateCheck DataSetStateCheckInUse() noexcept { return g_check; }

}  // namespace dtm
