// clsDataModel: creation of the model, language switch, change reports and the
// evaluation of the data-set state.
#include <utility>

#include "core/services/LangSupp.h"
#include "core/services/ProjectHelpers.h"
#include "model/elements/DataModelHelpers.h"
#include "core/services/Trace.h"
#include "blocks/DataModel_ManuSpec_PB.h"
#include "model/build/ChangeDispatch.h"
#include "model/build/DataModelLanguage.h"
#include "model/build/ModelBuild.h"
#include "model/elements/DataSetState.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/FastCast.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::Variant;
using platform::com::Deref;

namespace {

using Ctx = clsDataModel::Ctx;

constexpr int32_t kModeCommand = clsDataElement::kModeCommand;
constexpr const char* kDictionaryName = "DTMDictionary";

std::shared_ptr<clsDataElement> AsElement(const platform::rt::El& item) {
    return std::static_pointer_cast<clsDataElement>(item);
}

// Restores a flag on every way out of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// A trace line for an error that the member swallows: "error <number>: <text>".
void TraceSwallowedError(const char* member, const std::exception& error, const Ctx& DTMContext) {
    const auto* comError = dynamic_cast<const platform::com::ComError*>(&error);
    const std::string number = comError ? std::to_string(comError->number) : std::string("?");
    TraceOut(member, "error " + number + ": " + error.what(), DTMContext);
}

// One element of a whole data set, worked out at nesting level 1. A value
// refused on the way (380; the refusing handler has set it back) is traced and
// reported to the frame, and the caller goes on with the next element; any
// other error reaches the caller.
void HandleDataSetElement(const clsDataModel* model, const std::shared_ptr<clsDataElement>& element,
                          const Ctx& DTMContext) {
    try {
        HandleDataChange(model, element, DTMContext, 1);
    } catch (const platform::com::ComError& error) {
        if (error.number != platform::com::errBadPropertyValue) throw;
        TraceSwallowedError("clsDataModel-DataSetChanged", error, DTMContext);
        Deref(DTMContext).ReportError("Value refused at " + element->Name + "\r\n#" + std::to_string(error.number) +
                                      ": " + error.description);
    }
}

}  // namespace

void clsDataModel::CreateModel(Ctx DTMContext) {
    auto& ctx = Deref(DTMContext);
    auto dictionary = ctx.Dictionary();
    if (!Deref(dictionary).DictionaryDocument()) dictionary->LoadDictionary(DTMContext, kDictionaryName);
    m_Units = std::make_shared<clsPROFIBUSProfil3Units>();
    m_IdentNumberSelector = nullptr;
    m_FunctionBlocksResolved = false;
    m_SessionVariables.clear();
    m_StateTally.Recount();
    CreateDataModel(DTMContext);
    // What the change dispatch consults on every notice, resolved once.
    auto& parameters = Deref(ctx.Parameters());
    m_IdentNumberSelector = std::dynamic_pointer_cast<clsDataElement>(parameters.Find(kIdentNumberSelectorPath));
    m_FunctionBlocks5To8 = FunctionBlockElements5To8(parameters);
    m_FunctionBlocksResolved = true;
    m_SessionVariables.clear();
    for (const char* path : kSessionVariablePaths)
        if (auto element = std::dynamic_pointer_cast<clsDataElement>(parameters.Find(path)))
            m_SessionVariables.push_back(std::move(element));
    parameters.DataSetState(0);
    auto& comm = Deref(ctx.CommService());
    comm.Setting1(1);
    comm.Setting2(2);
}

void clsDataModel::SetLanguage(Ctx DTMContext, int32_t LanguageId) {
    auto& ctx = Deref(DTMContext);
    const int32_t language = MakeLcid(PrimaryLangId(LanguageId), 0, 0);
    if (m_LanguageId != 0 && m_LanguageId == language) return;
    try {
        auto& dictionary = Deref(ctx.Dictionary());
        if (!dictionary.SelectLanguage(language, 0) && dictionary.LoadDictionary(DTMContext, kDictionaryName))
            dictionary.SelectLanguage(language, 0);
        SetUnitTexts(DTMContext, Deref(m_Units));
        SetLanguageTexts(DTMContext);
    } catch (const platform::com::ComError&) {
        ctx.ReportError("Error setting LanguageId " + std::to_string(language));
        return;
    }
    m_LanguageId = language;
    m_StateTally.Recount();
    auto& parameters = Deref(ctx.Parameters());
    for (const auto& item : parameters) {
        if (item->ElementMode() & kModeCommand) continue;
        UpdateDependentParams(AsElement(item), parameters, true);
    }
}

void clsDataModel::DataChanged(const El& pda, const Ctx& DTMContext) {
    auto element = platform::com::FastPointerCast<clsDataElement>(pda);
    Deref(element);
    // The outermost change decides where the whole chain comes from.
    if (m_ChangeDepth == 0) m_ChangeFromDevice = Deref(Deref(DTMContext).Parameters()).DeviceAnswerInProgress();
    ++m_ChangeDepth;
    try {
        HandleDataChange(this, element, DTMContext, m_ChangeDepth);
    } catch (...) {
        if (--m_ChangeDepth == 0) m_ChangeFromDevice = false;
        throw;
    }
    if (--m_ChangeDepth == 0) m_ChangeFromDevice = false;
    // While a whole data set is taken over, DataSetChanged evaluates the state
    // once at its end instead of after every notice of its handlers; while a
    // notice batch is open (a device transfer), the batch's end does.
    if (m_ChangeDepth != 0 || m_ProcessingCompleteValidation) return;
    if (Deref(Deref(DTMContext).Parameters()).NoticeBatchOpen()) {
        m_StateEvaluationPending = true;
        return;
    }
    EvaluateDataSetState(DTMContext);
}

void clsDataModel::NoticeBatchEnded(Ctx DTMContext) {
    if (!std::exchange(m_StateEvaluationPending, false)) return;
    EvaluateDataSetState(DTMContext);
}

void clsDataModel::DataSetChanged(Ctx DTMContext) {
    {
        FlagScope completeValidation(m_ProcessingCompleteValidation);
        try {
            for (const auto& item : Deref(Deref(DTMContext).Parameters())) {
                if (item->ElementMode() & kModeCommand) continue;
                HandleDataSetElement(this, AsElement(item), DTMContext);
            }
        } catch (const std::exception& error) {
            TraceSwallowedError("clsDataModel-DataSetChanged", error, DTMContext);
        }
    }
    try {
        m_StateTally.Recount();
        EvaluateDataSetState(DTMContext);
    } catch (const std::exception& error) {
        TraceSwallowedError("clsDataModel-DataSetChanged", error, DTMContext);
    }
}

void clsDataModel::EvaluateDataSetState(Ctx DTMContext) {
    auto& ctx = Deref(DTMContext);
    auto& parameters = Deref(ctx.Parameters());
    auto status = ElementAt(parameters, "~/DataStatus");
    DataSetStateResult result;
    if (!m_StateTally.Evaluate(DTMContext, parameters, *status, m_SessionVariables, result))
        result = WalkDataSetState(DTMContext, parameters, *status, m_SessionVariables);
    else if (const auto check = DataSetStateCheckInUse())
        check(result, WalkDataSetState(DTMContext, parameters, *status, m_SessionVariables));
    if (!platform::com::Equals(status->TransientValue, Variant::Byte(result.state))) {
        status->TransientValue = Variant::Byte(result.state);
        Deref(ctx.GuiRegistry()).NotifyParameterChanged(status, "");
    }
    parameters.DataSetState(result.validity);
}

}  // namespace dtm
