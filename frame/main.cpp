// Command-line frame: runs the component against the simulated device.
//   dtm_frame_cli                       builds a new instance and prints what it holds
//   dtm_frame_cli model [--device NAME] prints the whole model of a new instance as CSV
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "frame/ModelInstance.h"
#include "frame/ModelListing.h"
#include "model/clsDataElement.h"
#include "platform/app/Path.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/Parameters.h"

namespace {

using namespace dtm;

constexpr const char* kUsage =
    "usage: dtm_frame_cli [model [--device \"RXD 214\"|\"RXD 218\"]]\n";

// The block a path belongs to: its prefix up to the block's own name.
std::string BlockOf(const std::string& path) {
    for (const char* prefix : {"DEVICE_DIR/", "PHYS/"})
        if (path.rfind(prefix, 0) == 0) return prefix;
    if (path.rfind("TRANS/", 0) == 0 || path.rfind("FUNC/", 0) == 0) {
        size_t slash = path.find('/');
        for (int i = 0; i < 2 && slash != std::string::npos; ++i) slash = path.find('/', slash + 1);
        return path.substr(0, slash + 1);
    }
    return "(internal)";
}

int Summary() {
    std::cout << "Component folder: " << platform::app::Path() << "\n";
    auto instance = frame::NewModelInstance();
    auto& model = *instance.model;
    std::cout << "DTM: " << model.DTMName() << " | " << model.DTMVendor() << " | version " << model.DTMVersion()
              << " | " << platform::com::CStr(model.DTMDate()) << "\n"
              << "     " << model.DTMDescriptor() << "\n";
    auto& params = instance.Parameters();
    std::map<std::string, int> perBlock;
    std::vector<std::string> order;
    for (const auto& item : params) {
        const std::string block = BlockOf(item->Name());
        if (perBlock[block]++ == 0) order.push_back(block);
    }
    std::cout << "Model of a new instance: " << params.Count() << " elements\n";
    for (const auto& block : order) std::cout << "  " << block << ": " << perBlock[block] << "\n";
    return 0;
}

int ModelListing(const std::vector<std::string>& args) {
    std::string device = "RXD 218";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--device" && i + 1 < args.size()) {
            device = args[++i];
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    auto instance = frame::NewModelInstance(device);
    frame::WriteModelListing(std::cout, instance.Parameters());
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) return Summary();
    if (args.front() == "model") return ModelListing({args.begin() + 1, args.end()});
    std::cerr << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return platform::fdt::InvokeFromFrame("dtm_frame_cli", [&] { return Run(args); }, 1);
}
