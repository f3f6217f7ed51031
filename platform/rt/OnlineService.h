#pragma once
// Device transfers of one DTM instance: frame uploads and downloads, commands
// and marked uploads, each one transaction per distinct (slot, index).
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;
class IPrivateProcess;

class OnlineService : public com::Object {
public:
    explicit OnlineService(W<DTMContext> ctx = {}) : context_(std::move(ctx)) {}

    // Transfer of the upload or download elements under `path` ("" = all); the
    // end goes to the frame's OnUploadFinished/OnDownloadFinished. False
    // without a channel.
    bool Upload(const std::string& invokeId, const std::string& path);
    bool Download(const std::string& invokeId, const std::string& path);
    // Drops the queued requests; the frame then gets "finished, not ok".
    bool Cancel(const std::string& invokeId);
    // 1 while an Upload or StartUpload runs, else 0.
    int32_t OperationMode() const { return operationMode_; }

    // Writes the command element, then posts OnProcessFinished(id, ok).
    bool StartCommand(const std::string& invokeId, const std::string& elementName,
                      const P<IPrivateProcess>& callback);
    // Forgets the process; no callback.
    void DropRequest(const std::string& invokeId);
    // &H1 upload, &H2 download, &H4 command running.
    int32_t OnlineState() const;
    // Reads the elements whose flags have a bit of `flagMask`, clearing it.
    bool StartUpload(const std::string& invokeId, const std::string& path, int32_t mode,
                     int32_t flagMask, int32_t arg5, int32_t arg6,
                     const P<IPrivateProcess>& callback);
    // 1 during an upload, 2 during a download, else 0.
    int32_t State() const;

private:
    W<DTMContext> context_;
    int32_t operationMode_ = 0;
};

}  // namespace platform::rt
