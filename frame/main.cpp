// Command-line frame: runs the component against the simulated device.
//   dtm_frame_cli [--data-set FILE]     loads the component module, creates the DTM through its class
//                                       factory, initialises a new instance, lists its functions, stores
//                                       it to a data-set file and loads it into a second instance
//   dtm_frame_cli model [--device NAME] prints the whole model of a new instance as CSV
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "frame/ComponentModule.h"
#include "frame/FrameSession.h"
#include "frame/ModelInstance.h"
#include "frame/ModelListing.h"
#include "model/clsDataElement.h"
#include "platform/app/Path.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace {

using namespace dtm;

constexpr const char* kUsage =
    "usage: dtm_frame_cli [--data-set FILE]\n"
    "       dtm_frame_cli model [--device \"RXD 214\"|\"RXD 218\"]\n";

#ifndef DTM_MODULE_FILE
#define DTM_MODULE_FILE "RG38N226_4_07.so"
#endif

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

std::string Yes(bool ok) { return ok ? "True" : "False"; }

// The frame's function list: id and text of every offered function.
void PrintFunctions(const std::string& document) {
    platform::xml::Document doc;
    if (!doc.LoadXML(document)) {
        std::cout << "  (no function list)\n";
        return;
    }
    for (const auto& function : doc.SelectNodes("FDT/DtmFunctions/Function"))
        std::cout << "  " << platform::com::CStr(function->GetAttribute("functionId")) << "  "
                  << platform::com::CStr(function->GetAttribute("name")) << "\n";
}

void PrintInstance(const frame::FrameSession& session) {
    auto ctx = session.Context();
    if (!ctx) return;
    auto& params = *ctx->Parameters();
    std::map<std::string, int> perBlock;
    std::vector<std::string> order;
    for (const auto& item : params) {
        const std::string block = BlockOf(item->Name());
        if (perBlock[block]++ == 0) order.push_back(block);
    }
    std::cout << "  " << params.Count() << " elements:";
    for (const auto& block : order) std::cout << " " << block << " " << perBlock[block] << ";";
    std::cout << "\n  data-set state " << params.QueryDataSetState() << ", tag \""
              << platform::com::CStr(params.Item("~/Tag")->TransientValue()) << "\"\n";
}

int MainJob(const std::vector<std::string>& args) {
    std::string dataSet = (std::filesystem::temp_directory_path() / "RG38N226_4_07-PA_FT_101.dataset").string();
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data-set" && i + 1 < args.size()) {
            dataSet = args[++i];
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    std::cout << "Component folder: " << platform::app::Path() << "\n";
    std::string error;
    auto* factory = frame::LoadComponentModule(DTM_MODULE_FILE, error);
    if (!factory) {
        std::cerr << "Cannot load the component: " << error << "\n";
        return 1;
    }
    std::cout << "Loaded the component module " << DTM_MODULE_FILE << "\n";

    frame::FrameSession first("PA_FT_101");
    if (!first.Create(*factory)) {
        std::cerr << "The class factory cannot create RG38N226_4_07.DTMMain\n";
        return 1;
    }
    std::cout << "Created RG38N226_4_07.DTMMain through the class factory\n";
    std::cout << "IDtm_Environment(\"" << first.SystemTag() << "\") = " << Yes(first.Environment()) << "\n";
    std::cout << "IDtm_InitNew(RXD 218) = " << Yes(first.InitNew()) << "\n";
    std::cout << "IDtm_Config(planning engineer) = " << Yes(first.Config()) << "\n";
    PrintInstance(first);
    std::cout << "IDtm_GetFunctions (offline):\n";
    PrintFunctions(first.IDtm().IDtm_GetFunctions(""));
    std::cout << "IDtm_SetCommunication = " << Yes(first.SetCommunication()) << "\n";
    std::cout << "Release of the communication = " << Yes(first.ReleaseCommunication()) << "\n";
    const bool saved = first.SaveToFile(dataSet);
    std::cout << "Stored the instance to " << dataSet << ": " << Yes(saved) << "\n";
    std::cout << "IDtm_PrepareToRelease = " << Yes(first.Release()) << "\n";
    if (!saved) return 1;

    frame::FrameSession second("PA_FT_102");
    const auto report = second.StartStored(*factory, dataSet);
    std::cout << "Loaded the data set into a second instance: " << Yes(report.loaded) << " ("
              << report.damagedEntries.size() << " damaged entries)\n";
    PrintInstance(second);
    std::cout << "IDtm_PrepareToRelease = " << Yes(second.Release()) << "\n";
    for (const auto& e : first.Container()->EventsNamed("OnErrorMessage"))
        std::cout << "Frame message: " << e.args.at(0) << "\n";
    return report.loaded ? 0 : 1;
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
    if (!args.empty() && args.front() == "model") return ModelListing({args.begin() + 1, args.end()});
    return MainJob(args);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return platform::fdt::InvokeFromFrame("dtm_frame_cli", [&] { return Run(args); }, 1);
}
