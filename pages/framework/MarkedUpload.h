#pragma once
// The marked upload: how a page's read button reads some elements once. The
// elements get status flag 16 and the runtime's upload reads every element
// so marked (clearing the flag on those it takes), telling the page the end
// under a new invoke id. A start the runtime refuses shows
// "cannot_start_param_upload".
#include <span>
#include <string>

#include "pages/framework/PageBase.h"

namespace dtm {

struct MarkedUploadStart {
    std::string invokeId;  // made before the start, kept also when it was refused
    bool started = false;
};

// `page` is the upload's IPrivateProcess (error 13 when it is none). A
// refusal is traced under `traceMember` ("Cannot start param upload"); an
// empty member traces nothing.
MarkedUploadStart MarkedUpload(PageBase& page, std::span<const char* const> paths, const std::string& traceMember);

}  // namespace dtm
