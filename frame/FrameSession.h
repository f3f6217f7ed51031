#pragma once
// One DTM instance driven the way an FDT frame drives it: created by program
// id through the component's class factory, given its environment, a new data
// set or a stored one, the user, the communication channel, and released in
// the frame's order. Each step answers what the DTM answered; persistence
// failures are caught here and answered as False, as a frame sees them.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/FrameCommunication.h"
#include "frame/FrameContainer.h"
#include "platform/com/PropertyBag.h"
#include "platform/fdt/IDtm.h"

namespace platform::com {
class ClassRegistry;
}
namespace platform::rt {
class DTMContext;
}

namespace dtm::frame {

// The frame's device-type text for IDtm_InitNew.
std::string DeviceTypeDocument(int manufacturerId, int deviceTypeId);
inline constexpr int kManufacturerId = 173;
inline constexpr int kRxd214 = 214;
inline constexpr int kRxd218 = 218;

// What a load of a data-set file brought: the entries the file could not
// give back or that hold no data value (Null, Missing, an object), or whose
// value the element did not take, whether the DTM took the data set, and then
// the elements the file has no entry for (in the data set's order), which
// hold their defaults. `attempted`: an instance was to start from the file
// (StartStored); not `loaded` then, it did not start.
struct LoadReport {
    bool attempted = false;
    bool fileRead = false;
    bool loaded = false;
    std::vector<std::string> damagedEntries;
    std::vector<std::string> elementsWithoutEntry;
};

// The report's words on the elements without an entry, the first three
// named: "N elements had no entry in the file and hold their defaults:
// \"A\", \"B\", \"C\", …"; "" when every element had one.
std::string ElementsWithoutEntryText(const LoadReport& report);

// The end of a frame-requested transfer, as the DTM reported it.
struct TransferOutcome {
    bool requested = false;  // the DTM took the request
    bool finished = false;   // OnUploadFinished / OnDownloadFinished arrived
    bool ok = false;         // what it reported
};

class FrameSession {
public:
    // The frame's own container and channel; the DTM is created by Create.
    explicit FrameSession(std::string systemTag = "PA_FT_101");

    // Creates "RG38N226_4_07.DTMMain" through the class factory. False when
    // the factory cannot create it or the object is no DTM.
    bool Create(platform::com::ClassRegistry& factory);
    bool Environment();
    bool InitNew(const std::string& deviceTypeDocument = DeviceTypeDocument(kManufacturerId, kRxd218));
    bool Config(const std::string& userInfo = "<FDT><UserInfo userLevel=\"planningEngineer\"/></FDT>");
    bool SetCommunication();
    // IDtm_PrepareToReleaseCommunication, then the event loop until the DTM has
    // sent OnPreparedToReleaseCommunication, then IDtm_ReleaseCommunication.
    bool ReleaseCommunication();
    // The frame's upload or download request for the elements under `path`,
    // then the event loop (the virtual clock advancing) until the DTM reports
    // the end; `progress` sees each OnProgress event as it comes.
    using ProgressView = std::function<void(int32_t percent, bool show)>;
    TransferOutcome Upload(const std::string& path = "", const ProgressView& progress = {});
    TransferOutcome Download(const std::string& path = "", const ProgressView& progress = {});

    // IDtm_PrepareToRelease, and (when True) the frame's reference dropped.
    bool Release();

    // Class_WriteProperties into a new bag; False when the store failed.
    bool Save(platform::com::PropertyBag& bag);
    // Class_ReadProperties from the bag; False when the load failed.
    bool Load(platform::com::PropertyBag& bag);
    // The data set through a file, as the frame keeps it in its project;
    // `why` gets the reason when it was not stored.
    bool SaveToFile(const std::string& path, std::string* why = nullptr);
    LoadReport LoadFromFile(const std::string& path);

    // The create → environment → new data set → user steps of a new instance.
    bool StartNew(platform::com::ClassRegistry& factory,
                  const std::string& deviceTypeDocument = DeviceTypeDocument(kManufacturerId, kRxd218));
    // The create → environment → stored data set → user steps of a stored instance.
    LoadReport StartStored(platform::com::ClassRegistry& factory, const std::string& path);

    const std::shared_ptr<platform::com::Object>& Dtm() const { return dtm_; }
    platform::fdt::IDtm& IDtm() const;
    // The DTM's context (for tests and listings); null without a DTM.
    std::shared_ptr<platform::rt::DTMContext> Context() const;
    void DropDtm() { dtm_.reset(); }
    // Makes `dtm` the session's DTM: a frame keeps one aside while it starts another.
    void SetDtm(std::shared_ptr<platform::com::Object> dtm) { dtm_ = std::move(dtm); }

    const std::string& SystemTag() const { return systemTag_; }
    const std::shared_ptr<FrameContainer>& Container() const { return container_; }
    const std::shared_ptr<FrameCommunication>& Communication() const { return communication_; }

private:
    TransferOutcome Transfer(bool upload, const std::string& path, const ProgressView& progress);
    // Stores into or loads from the bag at the frame boundary.
    bool Persist(const char* where, bool store, platform::com::PropertyBag& bag);

    std::string systemTag_;
    std::shared_ptr<FrameContainer> container_;
    std::shared_ptr<FrameCommunication> communication_;
    std::shared_ptr<platform::com::Object> dtm_;
};

}  // namespace dtm::frame
