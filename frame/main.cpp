// Command-line frame: creates a DTM instance's context and data model, builds
// the profile block tables into it and prints what exists.
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "frame/ProfileBlocks.h"
#include "frame/StandaloneModel.h"
#include "model/clsDataElement.h"
#include "platform/app/Path.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace {

using namespace dtm;

// The block a path belongs to: its prefix up to the block's own name.
std::string BlockOf(const std::string& path) {
    for (const char* prefix : {"DEVICE_DIR/", "PHYS/"})
        if (path.rfind(prefix, 0) == 0) return prefix;
    if (path.rfind("TRANS/", 0) == 0 || path.rfind("FUNC/", 0) == 0) {
        size_t slash = path.find('/');
        for (int i = 0; i < 2 && slash != std::string::npos; ++i) slash = path.find('/', slash + 1);
        return path.substr(0, slash + 1);
    }
    return "(other)";
}

int Run() {
    std::cout << "Component folder: " << platform::app::Path() << "\n";

    auto ctx = platform::rt::DTMContext::Create();
    auto model = std::make_shared<frame::StandaloneDataModel>();
    ctx->InitContext(nullptr, model, nullptr, nullptr);
    std::cout << "DTM: " << model->DTMName() << " | " << model->DTMVendor() << " | version "
              << model->DTMVersion() << " | " << platform::com::CStr(model->DTMDate()) << "\n"
              << "     " << model->DTMDescriptor() << "\n";

    frame::BuildProfileBlocks(ctx);
    auto& params = *ctx->Parameters();
    std::map<std::string, int> perBlock;
    std::vector<std::string> order;
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        const std::string block = BlockOf(el->Name);
        if (perBlock[block]++ == 0) order.push_back(block);
    }
    std::cout << "Profile block tables: " << params.Count() << " elements\n";
    for (const auto& block : order) std::cout << "  " << block << ": " << perBlock[block] << "\n";
    return 0;
}

}  // namespace

int main() {
    return platform::fdt::InvokeFromFrame("dtm_frame_cli", [] { return Run(); }, 1);
}
