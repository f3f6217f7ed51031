#include "model/build/ChangeDispatch.h"

#include <string_view>

#include "blocks/DataModel_ManuSpec.h"
#include "blocks/DataModel_ManuSpec_PB.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_PB.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "core/services/ProjectHelpers.h"
#include "core/channels/SlaveBusParamSet.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::Variant;

namespace {

constexpr int32_t kCommErrorBits = 0xF0000;

// With the ident-number selector at 0 the function blocks from slot 5 on do not
// exist on the bus: their changes are not dispatched.
// `model` is the collection's model when the caller has it at hand, else null.
bool ExcludedBySelector(const clsDataElement& element, platform::rt::Parameters& parameters,
                        const clsDataModel* model) {
    if (element.Slot <= 4) return false;
    if (element.BlockType != pbfFunctionAIBlock && element.BlockType != pbfFunctionTOTBlock) return false;
    const auto& resolved = (model ? *model : DataModelOf(parameters)).IdentNumberSelector();
    // The collection holds the element: its value outlives a looked-up reference.
    const auto& value =
        resolved ? resolved->TransientValue : ElementAt(parameters, kIdentNumberSelectorPath)->TransientValue;
    return platform::com::CompareTo(value, 0) == platform::com::Cmp::Equal;
}

void CallBlockHandlers(const std::shared_ptr<clsDataElement>& element,
                       const std::shared_ptr<platform::rt::DTMContext>& ctx, platform::rt::Parameters& parameters) {
    const int16_t n = element->BlockNumber;
    switch (element->BlockType) {
    case pbfPhysicalBlock:
        OnPBParameterChanged(element, parameters);
        ManuSpecPBChanged(element, parameters);
        break;
    case pbfTransducerBlock:
        OnTBUnitChanged(n, element, ctx);
        ManuSpecTBChanged(n, element, ctx);
        break;
    case pbfFunctionAIBlock:
        OnAIParameterChanged(n, element, ctx);
        break;
    case pbfFunctionTOTBlock:
        OnTOTUnitChanged(n, element, ctx);
        ManuSpecTOTChanged(n, element, ctx);
        break;
    default:
        break;
    }
}

bool SameValues(const clsDataElement& a, const clsDataElement& b) {
    return IsSameValue(a.DeviceValue, b.DeviceValue) && IsSameValue(a.TransientValue, b.TransientValue) &&
           IsSameValue(a.PersistentValue, b.PersistentValue);
}

void CopyValues(const clsDataElement& from, clsDataElement& to) {
    to.DeviceValue = from.DeviceValue;
    to.TransientValue = from.TransientValue;
    to.PersistentValue = from.PersistentValue;
}

// "~/Tag" and "PHYS/TAG_DESC" hold the same tag; the copy runs only for the
// change that started the chain, so the copy's own notice ends there. A target
// that already holds the three values is neither written nor notified.
void SyncTag(const std::shared_ptr<clsDataElement>& element, platform::rt::Parameters& parameters,
             int32_t nestingLevel) {
    if (nestingLevel != 1) return;
    const char* target = nullptr;
    using namespace std::string_view_literals;
    const std::string_view name = element->Name;
    if (name == "~/Tag"sv) {
        if (parameters.UpdateInProgress()) return;
        target = "PHYS/TAG_DESC";
    } else if (name == "PHYS/TAG_DESC"sv) {
        target = "~/Tag";
    } else {
        return;
    }
    auto other = ElementAt(parameters, target);
    if (SameValues(*element, *other)) return;
    CopyValues(*element, *other);
    parameters.NotifyChange(other, "");
}

// A record header hands its communication-error bits to its members, except to
// members that are both uploaded and downloaded on their own.
void HandOnErrorBits(const clsDataElement& header, platform::rt::Parameters& parameters) {
    const std::string& path = header.Name;
    if (path.empty() || path.back() != '/') return;
    const int32_t bits = header.StatusFlags() & kCommErrorBits;
    const auto members = parameters.Members(path);
    for (const auto& item : *members) {
        auto member = std::static_pointer_cast<clsDataElement>(item);
        constexpr int32_t kUpDown = clsDataElement::kModeUpload | clsDataElement::kModeDownload;
        if ((member->ElementMode & kUpDown) == kUpDown) continue;
        const int32_t before = member->StatusFlags();
        member->StatusFlags((before & ~kCommErrorBits) | bits);
        if (member->StatusFlags() != before) parameters.NotifyChange(member, "");
    }
}

}  // namespace

void HandleDataChange(const std::shared_ptr<clsDataElement>& element,
                      const std::shared_ptr<platform::rt::DTMContext>& DTMContext, int32_t NestingLevel) {
    HandleDataChange(nullptr, element, DTMContext, NestingLevel);
}

void HandleDataChange(const clsDataModel* model, const std::shared_ptr<clsDataElement>& element,
                      const std::shared_ptr<platform::rt::DTMContext>& DTMContext, int32_t NestingLevel) {
    auto& parameters = *platform::com::Deref(DTMContext).Parameters();
    if (ExcludedBySelector(*element, parameters, model)) return;
    CallBlockHandlers(element, DTMContext, parameters);
    SyncTag(element, parameters, NestingLevel);
    UpdateDependentParams(element, parameters, false);
    OnBusParamChanged(element, parameters, NestingLevel);
    HandOnErrorBits(*element, parameters);
}

void UpdateDependentParams(const std::shared_ptr<clsDataElement>& element, platform::rt::Parameters& Parameters,
                           bool bNoNotify) {
    switch (element->BlockType) {
    case pbfPhysicalBlock:
        ManuSpecPBUpdate(element, Parameters, bNoNotify);
        break;
    case pbfTransducerBlock:
        ManuSpecTBUpdate(element, Parameters, bNoNotify);
        break;
    case pbfFunctionAIBlock:
        OnAIUnitChanged(element, Parameters, bNoNotify);
        ManuSpecAIUpdate(element, Parameters, bNoNotify);
        break;
    case pbfFunctionTOTBlock:
        ManuSpecTOTUpdate(element, Parameters, bNoNotify);
        break;
    default:
        break;
    }
}

void OnParamLinkChange(const std::shared_ptr<clsDataElement>&, platform::rt::Parameters&) {}

}  // namespace dtm
