#pragma once
// The parameter model of one DTM instance: its identity, the unit table, the
// data-set state rules and the coding of PROFIBUS transactions.
#include <cstdint>
#include <string>
#include <vector>

#include "model/elements/DataSetState.h"
#include "platform/com/Variant.h"
#include "platform/rt/IPrivateDataModel.h"

namespace platform::rt {
class DTMContext;
class Parameters;
}

namespace dtm {

class clsDataElement;
class clsPROFIBUSProfil3Units;

inline constexpr const char* kIdentNumberSelectorPath = "PHYS/IDENT_NUMBER_SELECTOR";
// The state of one session kept in elements: a method analysis running, the
// invoke id of the open transaction monitor and the zero point page's display
// of its adjustment. Reset after a load, they are no part of the data set the
// user works on and never count in its state.
inline constexpr const char* kSessionVariablePaths[] = {"IsMethodRunning", "InvokeId_ctl_TR_Monitor",
                                                        "~/ZERO_POINT_ADJUST"};

class clsDataModel : public platform::rt::IPrivateDataModel {
public:
    using Ctx = platform::rt::IPrivateDataModel::Ctx;
    using El = platform::rt::El;

    // True while a whole data set is being taken over (DataSetChanged).
    bool ProcessingCompleteValidation() const { return m_ProcessingCompleteValidation; }
    // True while the change being handled came with a device answer: values
    // read from the device are taken as they are.
    bool ChangeFromDevice() const { return m_ChangeFromDevice; }
    // Whether the change being handled is one the user made (an edit, or a
    // handler called directly): neither part of a whole data set nor read
    // from the device, and not a notice that another change's handlers sent.
    bool ChangeMadeByUser() const {
        return m_ChangeDepth <= 1 && !m_ChangeFromDevice && !m_ProcessingCompleteValidation;
    }
    // "~/DataStatus" and Parameters::DataSetState from the elements; after the
    // first count only the elements written since are looked at again.
    void EvaluateDataSetState(Ctx DTMContext);
    // The elements that the last evaluation looked at.
    int32_t StateElementsLookedAt() const noexcept { return m_StateTally.ElementsLookedAt(); }
    // The unit table; nullptr until CreateModel.
    platform::P<clsPROFIBUSProfil3Units> PROFIBUSProfil3Units() const { return m_Units; }
    // "PHYS/IDENT_NUMBER_SELECTOR", which every change and transfer of a
    // function block consults, resolved once by CreateModel; nullptr before
    // or when the model has none.
    const platform::P<clsDataElement>& IdentNumberSelector() const { return m_IdentNumberSelector; }
    // The elements of function blocks 5 to 8, which the selector switches, in
    // collection order; resolved once by CreateModel, nullptr before.
    const std::vector<platform::P<clsDataElement>>* FunctionBlocks5To8() const {
        return m_FunctionBlocksResolved ? &m_FunctionBlocks5To8 : nullptr;
    }

    // ---- IPrivateDataModel ----
    std::string DTMName() override;
    std::string DTMVendor() override;
    std::string DTMVersion() override;
    platform::Variant DTMDate() override;
    std::string DTMDescriptor() override;
    void CreateModel(Ctx DTMContext) override;
    void SetLanguage(Ctx DTMContext, int32_t LanguageId) override;
    void DataChanged(const El& pda, const Ctx& DTMContext) override;
    void DataSetChanged(Ctx DTMContext) override;
    // Evaluates the data-set state when a change notice of the closed batch put it off.
    void NoticeBatchEnded(Ctx DTMContext) override;
    bool BuildTransactionRequest(Ctx DTMContext, platform::P<platform::com::Object> CommObj, bool bDownLoad,
                                 El pda) override;
    bool ReadTransactionResponse(Ctx DTMContext, platform::P<platform::com::Object> CommObj, bool bDownLoad,
                                 El pda) override;

protected:
    int32_t m_ChangeDepth = 0;
    int32_t m_LanguageId = 0;
    platform::P<clsPROFIBUSProfil3Units> m_Units;
    platform::P<clsDataElement> m_IdentNumberSelector;
    std::vector<platform::P<clsDataElement>> m_FunctionBlocks5To8;
    bool m_FunctionBlocksResolved = false;
    std::vector<platform::P<clsDataElement>> m_SessionVariables;  // resolved by CreateModel
    bool m_ProcessingCompleteValidation = false;
    bool m_ChangeFromDevice = false;  // the outermost DataChanged came with a device answer
    bool m_StateEvaluationPending = false;  // put off while a notice batch is open
    int32_t m_BusyRetries = 0;
    DataSetStateTally m_StateTally;
};

// The context's data model (through its Parameters) and its unit table; a
// missing object on the way raises 91.
clsDataModel& DataModelOf(const platform::P<platform::rt::DTMContext>& DTMContext);
clsDataModel& DataModelOf(const platform::rt::Parameters& Parameters);
clsPROFIBUSProfil3Units& UnitsOf(const platform::P<platform::rt::DTMContext>& DTMContext);

}  // namespace dtm
