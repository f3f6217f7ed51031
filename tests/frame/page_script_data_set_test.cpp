// The data-set and file commands of a page script (save, load, file, trace)
// with the files a user may hand them: files that are no data set, relative
// names (of the working directory for save and load, of the script's copy of
// the component folder for file), the component's own files, a file that
// cannot be written. The interpreter runs line by line, so that the test can
// place files into its working directory and that folder (the component
// folder while the interpreter lives).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "WorkingFolder.h"
#include "frame/PageScriptInterpreter.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/app/Path.h"
#include "platform/ui/Environment.h"

namespace dtm::frame {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

// The data-set text with the entry `name` given the type and value `rest`.
std::string WithEntry(std::string text, const std::string& name, const std::string& rest) {
    const size_t from = ("\n" + text).find("\n" + name + "\t") + name.size() + 1;
    text.replace(from, text.find('\n', from) - from, rest);
    return text;
}

class DataSetCommands : public ::testing::Test {
protected:
    DataSetCommands() {
        Reset();
        fs::remove_all(outside);
        fs::create_directories(outside);
        script = std::make_unique<PageScriptInterpreter>(out, PageScriptOptions{});
        folder = platform::app::Path();
        // A good data set, but outside the folder.
        Say("save " + (outside / "good.dtm").string());
    }
    ~DataSetCommands() override {
        script.reset();
        Reset();
        fs::remove_all(outside);
    }
    static void Reset() {
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::app::ErrorSink::Instance().Clear();
    }
    // Runs one line; answers what it wrote.
    std::string Say(const std::string& line) {
        const size_t from = out.str().size();
        script->RunLine(line);
        return out.str().substr(from);
    }
    // A saved instance, its identification page open and a change typed since.
    void TypeAChange() {
        Say("save base.dtm");
        Say("open RG38N226_4_07.ctlIdent");
        ASSERT_EQ(Say("type ctlParameter.0 \"FT-777\""), "type: ok\n");
        ASSERT_EQ(Say("expect state modified = true"), "expect ok\n");
    }
    // The instance, its page and its typed change are still there.
    void ExpectUntouched() {
        EXPECT_EQ(Say("pages"), "* ctlIdent (RG38N226_4_07.ctlIdent)\n");
        EXPECT_EQ(Say("expect ctlParameter.0 display = \"FT-777\""), "expect ok\n");
        EXPECT_EQ(Say("expect state modified = true"), "expect ok\n");
    }

    // The working directory: a relative FILE of save and load lies here.
    WorkingFolder working;
    const fs::path outside = fs::temp_directory_path() / ("dtm_outside_" + std::to_string(::getpid()));
    std::ostringstream out;
    std::unique_ptr<PageScriptInterpreter> script;
    fs::path folder;
};

// A file `load` refuses: what the test places into the working directory,
// the name loaded (<folder> for the script's copy of the component folder)
// and the line it writes.
struct RefusedLoad {
    const char* name;
    void (*place)(const fs::path& working, const fs::path& outside);
    const char* file;
    const char* line;
};

void PrintTo(const RefusedLoad& c, std::ostream* os) { *os << c.name; }

class LoadRefuses : public DataSetCommands, public ::testing::WithParamInterface<RefusedLoad> {};

TEST_P(LoadRefuses, AndLeavesTheInstanceItsPagesAndItsChanges) {
    const RefusedLoad& c = GetParam();
    c.place(working.Dir(), outside);
    TypeAChange();
    std::string file = c.file;
    if (const size_t at = file.find("<folder>"); at != std::string::npos) file.replace(at, 8, folder.string());
    EXPECT_EQ(Say("load " + file), c.line);
    ExpectUntouched();
    // A refusal fails a strict run only.
    EXPECT_EQ(script->ExitCode(), kScriptOk);
}

void Nothing(const fs::path&, const fs::path&) {}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadRefuses,
    ::testing::Values(
        RefusedLoad{"Missing", Nothing, "none.dtm",
                    "load: refused (none.dtm is no data-set file: there is none; the instance stays)\n"},
        RefusedLoad{"EmptyFile", [](const fs::path& w, const fs::path&) { WriteFile(w / "empty.dtm", ""); },
                    "empty.dtm",
                    "load: refused (empty.dtm is no data-set file: it names no device type; the instance stays)\n"},
        RefusedLoad{"IniFile", Nothing, "<folder>/Resources/DTM.ini",
                    "load: refused (<folder>/Resources/DTM.ini is no data-set file: it names no device type; the "
                    "instance stays)\n"},
        RefusedLoad{"XmlFile", Nothing, "<folder>/XMLData/DTMInformation.xml",
                    "load: refused (<folder>/XMLData/DTMInformation.xml is no data-set file: it names no device "
                    "type; the instance stays)\n"},
        RefusedLoad{"TextFile",
                    [](const fs::path& w, const fs::path&) { WriteFile(w / "notes.txt", "a note\nname\tvalue\n"); },
                    "notes.txt",
                    "load: refused (notes.txt is no data-set file: it names no device type; the instance stays)\n"},
        RefusedLoad{"BinaryFile", Nothing, "<folder>/XMLData/RXD218.bmp",
                    "load: refused (<folder>/XMLData/RXD218.bmp is no data-set file: it names no device type; the "
                    "instance stays)\n"},
        RefusedLoad{"Folder", [](const fs::path& w, const fs::path&) { fs::create_directory(w / "sets"); }, "sets",
                    "load: refused (sets is no data-set file: it is no regular file; the instance stays)\n"},
        RefusedLoad{"Fifo", [](const fs::path& w, const fs::path&) { ASSERT_EQ(::mkfifo((w / "pipe.dtm").c_str(), 0600), 0); },
                    "pipe.dtm",
                    "load: refused (pipe.dtm is no data-set file: it is no regular file; the instance stays)\n"},
        RefusedLoad{"UnreadableDeviceType",
                    [](const fs::path& w, const fs::path& o) {
                        WriteFile(w / "damaged.dtm", WithEntry(ReadFile(o / "good.dtm"), "DeviceType.ManufacturerId", "?\t"));
                    },
                    "damaged.dtm",
                    "load: refused (damaged.dtm is no data-set file: its device type cannot be read; the instance "
                    "stays)\n"},
        RefusedLoad{"UnsupportedDeviceType",
                    [](const fs::path& w, const fs::path& o) {
                        WriteFile(w / "other.dtm", WithEntry(ReadFile(o / "good.dtm"), "DeviceType.DeviceTypeId", "3\t99"));
                    },
                    "other.dtm",
                    "load: refused (other.dtm is no data-set file of this DTM: it names device type 99 of "
                    "manufacturer 173; the instance stays)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Relative names of save and load are the working directory's, as with any
// command-line tool: through ".." and links too.
TEST_F(DataSetCommands, LoadTakesANameAsTheWorkingDirectoryHasIt) {
    const fs::path here = working.Dir();
    fs::create_directory(here / "sets");
    fs::copy_file(outside / "good.dtm", here / "sets" / "good.dtm");
    fs::create_symlink("sets/good.dtm", here / "inside.dtm");
    fs::create_symlink(outside / "good.dtm", here / "outside.dtm");
    const std::string up = "../" + outside.filename().string() + "/good.dtm";
    for (const std::string& name : {std::string("sets/good.dtm"), std::string("sets/../sets/good.dtm"),
                                    std::string("inside.dtm"), std::string("outside.dtm"), up})
        EXPECT_EQ(Say("load " + name).rfind("loaded " + name + " into a new instance\n", 0), 0u) << name;
    const std::string absolute = (outside / "good.dtm").string();
    EXPECT_EQ(Say("load " + absolute).rfind("loaded " + absolute + " into a new instance\n", 0), 0u);
}

TEST_F(DataSetCommands, SaveWritesWhereTheNameLeadsFromTheWorkingDirectory) {
    const fs::path here = working.Dir();
    fs::create_directory_symlink(outside, here / "linked");
    fs::create_symlink(outside / "good.dtm", here / "link.dtm");
    const std::string up = "../" + outside.filename().string() + "/up.dtm";
    TypeAChange();
    EXPECT_TRUE(fs::exists(here / "base.dtm"));
    for (const std::string& name : {up, std::string("linked/linked.dtm"), std::string("link.dtm")}) {
        Say("type ctlParameter.0 \"" + name + "\"");
        EXPECT_EQ(Say("save " + name), "saved " + name + "\n");
    }
    EXPECT_NE(ReadFile(outside / "up.dtm").find("\t../"), std::string::npos);
    EXPECT_NE(ReadFile(outside / "linked.dtm").find("\tlinked/linked.dtm\n"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(here / "link.dtm"));
    EXPECT_NE(ReadFile(outside / "good.dtm").find("\tlink.dtm\n"), std::string::npos);
}

// The files the DTM reads from its folder, the script's copy's and the real
// one's (here a copy in the working directory), and the component's module.
class ComponentFiles : public DataSetCommands {
protected:
    ComponentFiles() {
        script.reset();
        for (const char* data : {"XMLData", "Resources"}) {
            fs::create_directories(component / data);
            fs::copy(fs::path(platform::app::Path()) / data, component / data, fs::copy_options::recursive);
        }
        WriteFile(component / "module.so", "the module\n");
        platform::app::SetPath(component.string());
        PageScriptOptions options;
        options.moduleFile = (component / "module.so").string();
        script = std::make_unique<PageScriptInterpreter>(out, options);
        folder = platform::app::Path();
    }
    ~ComponentFiles() override {
        script.reset();
        platform::app::SetPath("");
    }
    const fs::path component = working.Dir() / "component";
};

TEST_F(ComponentFiles, SaveRefusesThemByAnyNameAndWritesNothing) {
    fs::create_symlink(folder / "XMLData" / "DTMDictionary.xml", working.Dir() / "dictionary.xml");
    struct Case {
        std::string name;  // <folder>: the script's copy
        fs::path file;     // that must stay as it is
        std::string why;
    };
    const std::string xmlData = "lies in the component's folder XMLData, whose files the DTM reads";
    const std::string resources = "lies in the component's folder Resources, whose files the DTM reads";
    const std::vector<Case> cases = {
        {"<folder>/XMLData/DTMDictionary.xml", folder / "XMLData" / "DTMDictionary.xml", xmlData},
        {"<folder>/Resources/DTM.ini", folder / "Resources" / "DTM.ini", resources},
        {"<folder>/XMLData/new.dtm", folder / "XMLData" / "new.dtm", xmlData},
        {"dictionary.xml", folder / "XMLData" / "DTMDictionary.xml", xmlData},
        {"component/Resources/DTM.ini", component / "Resources" / "DTM.ini", resources},
        {"component/XMLData/../Resources/mw.ico", component / "Resources" / "mw.ico", resources},
        {"component/module.so", component / "module.so", "is the component's module"},
    };
    TypeAChange();
    for (const Case& c : cases) {
        std::string name = c.name;
        if (name.rfind("<folder>", 0) == 0) name.replace(0, 8, folder.string());
        const std::string before = ReadFile(c.file);
        EXPECT_EQ(Say("save " + name), "save: refused (" + c.name + " " + c.why + "; the instance stays as it was)\n");
        EXPECT_EQ(ReadFile(c.file), before) << c.name;
    }
    EXPECT_FALSE(fs::exists(folder / "XMLData" / "new.dtm"));
    ExpectUntouched();
}

TEST_F(DataSetCommands, LoadWhoseInstanceDoesNotStartLeavesTheInstanceAndFailsTheRun) {
    TypeAChange();
    // A dictionary that a new instance cannot read; the running one has its own.
    WriteFile(folder / "XMLData" / "DTMDictionary.xml", "no dictionary");
    const std::string said = Say("load base.dtm");
    EXPECT_EQ(said.rfind("load: refused (the DTM did not start from base.dtm; the instance stays)\n", 0), 0u) << said;
    ExpectUntouched();
    EXPECT_EQ(script->ExitCode(), kScriptErrorTrapped);
}

TEST_F(DataSetCommands, FileRefusesANameOutOfTheFolder) {
    WriteFile(outside / "secret.txt", "outside\n");
    fs::create_symlink(outside / "secret.txt", folder / "link.txt");
    fs::create_directory_symlink(outside, folder / "linked");
    for (const std::string& name : {std::string("link.txt"), std::string("linked/secret.txt"),
                                    "../" + outside.filename().string() + "/secret.txt"})
        EXPECT_EQ(Say("file " + name), "error: file NAME names a file in the component folder, not \"" + name + "\"\n");
    EXPECT_EQ(script->ExitCode(), kScriptCommandError);
}

TEST_F(DataSetCommands, SaveThatWritesNoFileKeepsTheInstanceModified) {
    TypeAChange();
    fs::create_directory(working.Dir() / "sets");
    const std::string missing = (outside / "no" / "such" / "folder.dtm").string();
    for (const std::string& name : {std::string("sets"), missing}) {
        const std::string line = Say("save " + name);
        EXPECT_EQ(line.rfind("save: refused (the file cannot be written: ", 0), 0u) << line;
        EXPECT_EQ(Say("expect state modified = true"), "expect ok\n") << name;
        EXPECT_EQ(Say("expect state data != 0"), "expect ok\n") << name;
    }
    ExpectUntouched();
}

TEST_F(DataSetCommands, LoadKeepsTheFramesLock) {
    Say("save s.dtm");
    Say("lock on");
    EXPECT_EQ(Say("load s.dtm").rfind("loaded s.dtm into a new instance\n", 0), 0u);
    EXPECT_EQ(Say("expect state locked = true"), "expect ok\n");
    Say("open RG38N226_4_07.ctlIdent");
    EXPECT_EQ(Say("type ctlParameter.0 x"), "type: refused (locked: the data set is locked)\n");
}

TEST_F(DataSetCommands, LoadSaysThatTheUnsavedChangesWereDropped) {
    TypeAChange();
    EXPECT_EQ(Say("load base.dtm").find("loaded base.dtm into a new instance\n"
                                        "  the unsaved changes of the released instance were dropped\n"),
              0u);
    // Nothing changed since: nothing dropped.
    EXPECT_EQ(Say("load base.dtm").find("dropped"), std::string::npos);
}

TEST_F(DataSetCommands, TraceWritesTheTraceFilesOfTheFolder) {
    EXPECT_EQ(Say("file TraceInfoFile.txt"), "file \"TraceInfoFile.txt\": none in the component folder\n");
    // The line names the one file a script can make the DTM write: no command
    // asks for the parameter documents or the channel list that the channel
    // trace takes, not even those on the channels.
    EXPECT_EQ(Say("trace on"), "trace on: the DTM appends to TraceInfoFile.txt from its next trace\n");
    Say("functions");
    Say("channels");
    Say("channel 3 used on");
    EXPECT_EQ(Say("file ChannelTraceFile.txt"), "file \"ChannelTraceFile.txt\": none in the component folder\n");
    const std::string traced = Say("file TraceInfoFile.txt");
    EXPECT_EQ(traced.rfind("file \"TraceInfoFile.txt\":\n  ", 0), 0u) << traced;
    EXPECT_NE(traced.find("IDtm_GetFunctions"), std::string::npos) << traced;
    EXPECT_EQ(Say("trace off").rfind("trace off", 0), 0u);
    Say("functions");
    EXPECT_EQ(Say("file TraceInfoFile.txt"), traced);
    EXPECT_EQ(Say("trace maybe"), "error: on or off expected, not \"maybe\"\n");
}

}  // namespace
}  // namespace dtm::frame
