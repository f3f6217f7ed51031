// Command-line frame: runs the component against the simulated device.
//   dtm_frame_cli [--data-set FILE]     loads the component module, creates the DTM of an RXD 218 through
//                                       its class factory, initialises it, connects it to the simulated
//                                       device, uploads every parameter, changes one offline, downloads and
//                                       reads it back, shows the Physical Block's parameter document, stores
//                                       the instance to a data-set file, loads it into a second instance
//                                       and prints what the transfers cost
//   dtm_frame_cli model [--device NAME] prints the whole model of a new instance as CSV
//   dtm_frame_cli pages [options]       runs page commands from a script or standard input
//   --help with any of them prints the usage
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "frame/ComponentModule.h"
#include "frame/DeviceChannel.h"
#include "frame/DeviceChoice.h"
#include "frame/SimulatedDevice.h"
#include "frame/FrameSession.h"
#include "frame/FrameTime.h"
#include "frame/FunctionList.h"
#include "frame/ModelInstance.h"
#include "frame/ModelListing.h"
#include "frame/PageScript.h"
#include "frame/ProgressLine.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/EventLoop.h"
#include "platform/app/Path.h"
#include "platform/app/ProcessorTime.h"
#include "platform/app/SystemDate.h"
#include "platform/fdt/Boundary.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/xml/Dom.h"

namespace {

using namespace dtm;

constexpr const char* kUsage =
    "usage: dtm_frame_cli [--data-set FILE]\n"
    "       dtm_frame_cli model [--device \"RXD 214\"|\"RXD 218\"]\n"
    "       dtm_frame_cli pages [--device \"RXD 218\"|\"RXD 214\"] [--user-level 0..3] [--lcid 1033] [--online]\n"
    "                           [--script FILE] [--echo] [--strict]\n"
    "       dtm_frame_cli [model|pages] --help\n";

// Exit codes of the main job; a bad option is a usage error in every subcommand.
constexpr int kExitOk = 0;
constexpr int kJobFailed = 1;      // a step failed: the component, a transfer, the load of the stored data set
constexpr int kUsageError = 2;
constexpr int kJobNotStored = 4;   // the data set could not be stored (and was not loaded)
// Standard output could not be written (its reader gone), in every subcommand.
constexpr int kOutputLost = 5;

// True when the arguments ask for the usage.
bool AsksForHelp(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--help") != args.end();
}

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

// What the frame's query of the data-set state answers, with its meaning.
std::string QueriedDataSetState(platform::rt::Parameters& params) {
    const int32_t state = params.QueryDataSetState();
    const char* meaning = state == 0   ? "unchanged"
                          : state == 1 ? "changed"
                          : state == 2 ? "changed, with invalid values"
                          : state == 4 ? "released"
                                       : "unknown";
    return "QueryDataSetState = " + std::to_string(state) + " (" + meaning + ")";
}

// The frame's function list: id and text of every offered function.
void PrintFunctions(const std::string& document) {
    const auto functions = frame::OfferedFunctions(document);
    if (functions.empty()) std::cout << "  (no function list)\n";
    for (const auto& [id, name] : functions) std::cout << "  " << id << "  " << name << "\n";
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
    std::cout << "\n  " << QueriedDataSetState(params) << ", tag \""
              << platform::com::CStr(params.Item("~/Tag")->TransientValue()) << "\"\n";
}

// The parameter document of a block: one line per variable, its path, display text and status.
void PrintParameterDocument(const std::string& document) {
    platform::xml::Document doc;
    if (!doc.LoadXML(document)) {
        std::cout << "  (no parameter document)\n";
        return;
    }
    for (const auto& node : doc.SelectNodes("FDT/DtmParameter/ParameterSet/fdt:DtmVariable")) {
        const auto display = node->SelectSingleNode("fdt:Value/fdt:Display");
        std::cout << "  " << platform::com::CStr(node->GetAttribute("name")) << " = \""
                  << (display ? platform::com::CStr(display->GetAttribute("string")) : std::string()) << "\" ("
                  << platform::com::CStr(node->GetAttribute("statusFlag")) << ")\n";
    }
}

std::string OneVariable(const std::string& path, const std::string& display) {
    return "<FDT xmlns:fdt=\"urn:fdt:types\"><DtmParameter><ParameterSet><fdt:DtmVariable name=\"" + path +
           "\"><fdt:Value><fdt:Display string=\"" + display +
           "\"/></fdt:Value></fdt:DtmVariable></ParameterSet></DtmParameter></FDT>";
}

// How many uploads of the same instance are timed for the upload's figure.
constexpr size_t kTimedUploads = 5;

// What the transfers cost: the bus's time and the DTM's own processor time.
struct Cost {
    int64_t transactions = 0;
    int64_t bytes = 0;
    int64_t busTimeUs = 0;
    int64_t dtmProcessorNs = 0;

    // `target`: the note on the target, for the transfer it applies to (a full upload).
    void Print(const char* what, const char* target = "") const {
        const double busMs = static_cast<double>(busTimeUs) / 1000.0;
        const double dtmMs = static_cast<double>(dtmProcessorNs) / 1e6;
        std::printf("  %s: %lld transactions, %lld data bytes, bus time %.1f ms, DTM processor time %.3f ms "
                    "(%.4f %% of the bus time%s)\n",
                    what, static_cast<long long>(transactions), static_cast<long long>(bytes), busMs, dtmMs,
                    busMs > 0 ? 100.0 * dtmMs / busMs : 0.0, target);
    }
    Cost& operator+=(const Cost& o) {
        transactions += o.transactions;
        bytes += o.bytes;
        busTimeUs += o.busTimeUs;
        dtmProcessorNs += o.dtmProcessorNs;
        return *this;
    }
};

// One transfer through the frame, with a progress line, and what it cost.
Cost RunTransfer(frame::FrameSession& session, frame::DeviceChannel& channel, bool upload, const std::string& path,
                 bool& ok) {
    const char* title = upload ? "Upload" : "Download";
    channel.ResetTotals();
    const frame::DtmStopwatch watch;
    frame::ProgressLine line(std::cout, title, isatty(fileno(stdout)) != 0);
    const auto progress = [&line](int32_t percent, bool show) { line(percent, show); };
    const auto outcome = upload ? session.Upload(path, progress) : session.Download(path, progress);
    Cost cost;
    cost.dtmProcessorNs = watch.ElapsedNs();
    cost.transactions = channel.Transactions();
    cost.bytes = channel.DataBytes();
    cost.busTimeUs = channel.BusTimeUs();
    ok = outcome.finished && outcome.ok;
    std::cout << "  " << title << "Request(\"" << path << "\") = " << Yes(outcome.requested) << ", finished "
              << Yes(outcome.finished) << ", ok " << Yes(outcome.ok) << "\n";
    return cost;
}

int MainJob(const std::vector<std::string>& args) {
    std::string dataSet = (std::filesystem::temp_directory_path() / "RG38N226_4_07-PA_FT_101.dataset").string();
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data-set" && i + 1 < args.size()) {
            dataSet = args[++i];
        } else if (args[i] == "--data-set") {
            std::cerr << frame::MissingOptionValue("--data-set", "FILE") << "\n" << kUsage;
            return kUsageError;
        } else {
            std::cerr << "bad option " << args[i] << "\n" << kUsage;
            return kUsageError;
        }
    }
    std::cout << "Component folder: " << platform::app::Path() << "\n";
    std::string error;
    auto* factory = frame::LoadComponentModule(DTM_MODULE_FILE, error);
    if (!factory) {
        std::cerr << "Cannot load the component: " << error << "\n";
        return kJobFailed;
    }
    std::cout << "Loaded the component module " << DTM_MODULE_FILE << "\n";

    frame::FrameSession first("PA_FT_101");
    if (!first.Create(*factory)) {
        std::cerr << "The class factory cannot create RG38N226_4_07.DTMMain\n";
        return kJobFailed;
    }
    std::cout << "Created RG38N226_4_07.DTMMain through the class factory\n";
    std::cout << "IDtm_Environment(\"" << first.SystemTag() << "\") = " << Yes(first.Environment()) << "\n";
    std::cout << "IDtm_InitNew(RXD 218) = " << Yes(first.InitNew()) << "\n";
    std::cout << "IDtm_Config(planning engineer) = " << Yes(first.Config()) << "\n";
    PrintInstance(first);
    std::cout << "IDtm_GetFunctions (offline):\n";
    PrintFunctions(first.IDtm().IDtm_GetFunctions(""));

    frame::SimulatedDevice device(frame::SimulatedDevice::Model::RXD218);
    frame::DeviceChannel channel(*first.Communication(), device);
    std::cout << "Simulated RXD 218 on the bus; IDtm_SetCommunication = " << Yes(first.SetCommunication()) << "\n";

    std::cout << "Upload of every parameter:\n";
    bool uploaded = false;
    const Cost upload = RunTransfer(first, channel, true, "", uploaded);
    auto ctx = first.Context();
    auto& params = *ctx->Parameters();
    int64_t uploadElements = 0;
    for (const auto& el : params)
        if (el->IsUploadParam(ctx)) ++uploadElements;
    std::cout << "  " << uploadElements << " elements uploaded, " << QueriedDataSetState(params) << "\n";

    const std::string path = "PHYS/TAG_DESC";
    const std::string newTag = "FT-101 LINE 2";
    auto parameter = std::dynamic_pointer_cast<platform::fdt::IDtmParameter>(first.Dtm());
    std::cout << "Offline change: " << path << " \"" << platform::com::CStr(params.Item(path)->TransientValue())
              << "\" -> \"" << newTag << "\": IDtmParameter_SetParameters = "
              << Yes(parameter && parameter->IDtmParameter_SetParameters("", OneVariable(path, newTag))) << "\n";
    std::cout << "Download of " << path << ":\n";
    bool downloaded = false;
    const Cost download = RunTransfer(first, channel, false, path, downloaded);
    std::cout << "  read back from the device: \"" << platform::com::CStr(params.Item(path)->DeviceValue())
              << "\", " << QueriedDataSetState(params) << "\n";
    const auto totals = ctx->OnlineService()->Totals();

    // One upload's processor time swings with the machine: the first in a new
    // process meets cold caches, and other work on the machine slows it. The
    // same upload is timed again, quietly, and the median of all stands beside
    // the target.
    std::vector<int64_t> uploadNs{upload.dtmProcessorNs};
    while (uploadNs.size() < kTimedUploads) {
        channel.ResetTotals();
        const frame::DtmStopwatch watch;
        if (!first.Upload().ok) break;
        uploadNs.push_back(watch.ElapsedNs());
    }
    std::sort(uploadNs.begin(), uploadNs.end());

    std::cout << "Parameter document of the Physical Block:\n";
    if (parameter) PrintParameterDocument(parameter->IDtmParameter_GetParameters("PHYS/"));

    std::cout << "Release of the communication = " << Yes(first.ReleaseCommunication()) << "\n";
    std::string notStored;
    const bool stored = first.SaveToFile(dataSet, &notStored);
    std::cout << "Stored the instance to " << dataSet << ": " << Yes(stored) << "\n";

    bool loaded = false;
    if (stored) {
        frame::FrameSession second("PA_FT_102");
        const auto report = second.StartStored(*factory, dataSet);
        loaded = report.loaded;
        std::cout << "Loaded the data set into a second instance: " << Yes(loaded) << " ("
                  << report.damagedEntries.size() << " damaged entries, " << report.elementsWithoutEntry.size()
                  << " elements without an entry)\n";
        if (const std::string missing = frame::ElementsWithoutEntryText(report); !missing.empty())
            std::cout << "  " << missing << "\n";
        if (loaded) {
            PrintInstance(second);
            std::cout << "  " << path << " = \""
                      << platform::com::CStr(second.Context()->Parameters()->Item(path)->TransientValue()) << "\"\n";
        } else {
            std::cerr << "dtm_frame_cli: the second instance did not load the data set from " << dataSet << "\n";
        }
        std::cout << "IDtm_PrepareToRelease of the second instance (" << second.SystemTag()
                  << ") = " << Yes(second.Release()) << "\n";
    } else {
        std::cerr << "dtm_frame_cli: the data set was not stored to " << dataSet << ": " << notStored
                  << "; the load into a second instance is skipped\n";
        std::cout << "Load into a second instance: skipped, no data set stored\n";
    }
    if (!uploaded) std::cerr << "dtm_frame_cli: the upload failed\n";
    if (!downloaded) std::cerr << "dtm_frame_cli: the download of " << path << " failed\n";
    for (const auto& e : first.Container()->EventsNamed("OnErrorMessage"))
        std::cout << "Frame message: " << e.args.at(0) << "\n";

    std::cout << "Summary:\n";
    // The DTM's count: the transactions of its transfers, not the reads of the
    // device's identity that the connect makes.
    std::cout << "  transactions for the elements of the upload and the download: " << totals.transactions << " ("
              << totals.repeats << " of them busy repeats; " << uploadElements
              << " elements uploadable; the connect's identity reads not counted)\n";
    // The target holds for a full upload; the download's two transactions are
    // mostly the fixed cost of starting and ending a transfer.
    upload.Print("upload");
    const double medianMs = static_cast<double>(uploadNs[uploadNs.size() / 2]) / 1e6;
    const double busMs = static_cast<double>(upload.busTimeUs) / 1000.0;
    std::printf("  upload, median of %zu of the same instance: DTM processor time %.3f ms (%.4f %% of the bus time; "
                "target for a full upload at most 0.02 %%)\n",
                uploadNs.size(), medianMs, busMs > 0 ? 100.0 * medianMs / busMs : 0.0);
    download.Print("download");
    Cost all = upload;
    all += download;
    all.Print("total");
    std::cout << "IDtm_PrepareToRelease of the first instance (" << first.SystemTag() << ") = " << Yes(first.Release())
              << "\n";
    if (!uploaded || !downloaded || (stored && !loaded)) return kJobFailed;
    return stored ? kExitOk : kJobNotStored;
}

int ModelListing(const std::vector<std::string>& args) {
    std::string device = "RXD 218";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--device" && i + 1 < args.size()) {
            device = args[++i];
            if (!frame::FindDevice(device)) {
                std::cerr << frame::UnknownDevice(device) << "\n" << kUsage;
                return kUsageError;
            }
        } else if (args[i] == "--device") {
            std::cerr << frame::MissingOptionValue("--device", "NAME") << "\n" << kUsage;
            return kUsageError;
        } else {
            std::cerr << "bad option " << args[i] << "\n" << kUsage;
            return kUsageError;
        }
    }
    auto instance = frame::NewModelInstance(frame::FindDevice(device)->name);
    frame::WriteModelListing(std::cout, instance.Parameters());
    return kExitOk;
}

// The exit code of a page script's run; an option the DTM did not take is said
// as any bad option is.
int PageScriptExit(int exitCode, const std::string& badOption) {
    if (badOption.empty()) return exitCode;
    std::cerr << badOption << "\n" << kUsage;
    return kUsageError;
}

int PageCommands(const std::vector<std::string>& args) {
    frame::PageScriptOptions options;
    options.moduleFile = DTM_MODULE_FILE;
    std::string scriptFile, error, badOption;
    if (!frame::ParsePageScriptArgs(args, options, scriptFile, error)) {
        std::cerr << error << "\n" << kUsage;
        return kUsageError;
    }
    if (scriptFile.empty())
        return PageScriptExit(frame::RunPageScript(std::cin, std::cout, options, badOption, &std::cerr), badOption);
    std::ifstream script(scriptFile);
    // A folder opens as a stream that gives no line: it is no script either.
    std::error_code ec;
    const bool folder = std::filesystem::is_directory(scriptFile, ec);
    if (!script || folder) {
        std::cerr << "Cannot read the script " << scriptFile << (folder ? ": it is a folder" : "") << "\n";
        return kUsageError;
    }
    return PageScriptExit(frame::RunPageScript(script, std::cout, options, badOption, &std::cerr), badOption);
}

int Run(const std::vector<std::string>& args) {
    if (AsksForHelp(args)) {
        std::cout << kUsage;
        return kExitOk;
    }
    if (!args.empty() && args.front() == "model") return ModelListing({args.begin() + 1, args.end()});
    if (!args.empty() && args.front() == "pages") return PageCommands({args.begin() + 1, args.end()});
    return MainJob(args);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // The virtual clock's dates begin at the system's date and time, so that what
    // the instance keeps with a date (the archive's samples) follows what earlier
    // runs kept. A page script keeps the clock's fixed start, so that it gives
    // the same output on every run.
    if (args.empty() || args.front() != "pages")
        platform::app::EventLoop::Instance().SetBaseDate(platform::app::SystemDate());
    // A reader that goes away makes a write fail rather than end the process
    // on the spot: the frame then removes what it made and says so.
    std::signal(SIGPIPE, SIG_IGN);
    const int code = platform::fdt::InvokeFromFrame("dtm_frame_cli", [&] { return Run(args); }, 1);
    // A failed write may have been long before the end, its reason gone.
    std::cout.flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout) {
        std::cerr << "dtm_frame_cli: standard output could not be written\n";
        return kOutputLost;
    }
    return code;
}
