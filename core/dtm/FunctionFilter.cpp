// FilterFunctions: which of the DTM's functions the frame may offer, by the
// configuration file and the online state. The file is read for every rule,
// nothing is cached.
#include "core/services/ReadWriteIniFiles.h"
#include "core/dtm/clsFunctionMan.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/FunctionList.h"

namespace dtm {

namespace {

constexpr const char* kOnlineKeys[] = {"Measure", "FunctionBlockOutput", "Alarm", "OnlineParam", "Simulation", "Diagnosis"};
constexpr int32_t kDeveloperOnlyCode = 8;

std::string Advanced(const char* key) { return ReadIniString(platform::Variant(DtmIniFile()), "Advanced", key); }

bool ViewCtrlsOffline() { return Advanced("ViewCtrlsOffline") == "True"; }

bool IsOnline(const platform::P<platform::rt::DTMContext>& DTMContext) {
    return platform::com::Deref(platform::com::Deref(DTMContext).CommService()).IsOnline();
}

}  // namespace

void FilterFunctions(const platform::P<platform::rt::DTMContext>& DTMContext, platform::rt::FunctionList& list) {
    if (Advanced("DTMFeatures") == "DTMDeveloper")
        list.Offer("DTM_TR_Monitor");
    else
        list.Withdraw("DTM_TR_Monitor", kDeveloperOnlyCode, 0);

    if (ViewCtrlsOffline() || IsOnline(DTMContext)) {
        for (const char* key : kOnlineKeys) list.Offer(key);
        list.Withdraw("ChannelAssignment", 0, 0);
    } else {
        for (const char* key : kOnlineKeys) list.Withdraw(key, 0, 0);
        list.Offer("ChannelAssignment");
    }

    if (IsOnline(DTMContext) || ViewCtrlsOffline())
        list.Offer("Trend");
    else
        list.Withdraw("Trend", 0, 0);
}

}  // namespace dtm
