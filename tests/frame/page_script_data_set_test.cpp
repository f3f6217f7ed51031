// The data-set and file commands of a page script (save, load, file, trace)
// with the files a user may hand them: files that are no data set, names that
// lead out of the script's copy of the component folder, a file that cannot
// be written. The interpreter runs line by line, so that the test can place
// files into that folder (the component folder while the interpreter lives).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

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

    const fs::path outside = fs::temp_directory_path() / ("dtm_outside_" + std::to_string(::getpid()));
    std::ostringstream out;
    std::unique_ptr<PageScriptInterpreter> script;
    fs::path folder;
};

// A file `load` refuses: what the test places into the folder, the name
// loaded (<outside> for the name of the folder outside) and the line it writes.
struct RefusedLoad {
    const char* name;
    void (*place)(const fs::path& folder, const fs::path& outside);
    const char* file;
    const char* line;
};

void PrintTo(const RefusedLoad& c, std::ostream* os) { *os << c.name; }

class LoadRefuses : public DataSetCommands, public ::testing::WithParamInterface<RefusedLoad> {};

TEST_P(LoadRefuses, AndLeavesTheInstanceItsPagesAndItsChanges) {
    const RefusedLoad& c = GetParam();
    c.place(folder, outside);
    TypeAChange();
    const auto named = [&](std::string text) {
        if (const size_t at = text.find("<outside>"); at != std::string::npos)
            text.replace(at, 9, outside.filename().string());
        return text;
    };
    EXPECT_EQ(Say("load " + named(c.file)), named(c.line));
    ExpectUntouched();
}

void Nothing(const fs::path&, const fs::path&) {}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadRefuses,
    ::testing::Values(
        RefusedLoad{"Missing", Nothing, "none.dtm",
                    "load: refused (<folder>/none.dtm is no data-set file: there is none; the instance stays)\n"},
        RefusedLoad{"EmptyFile", [](const fs::path& f, const fs::path&) { WriteFile(f / "empty.dtm", ""); },
                    "empty.dtm",
                    "load: refused (<folder>/empty.dtm is no data-set file: it names no device type; the instance "
                    "stays)\n"},
        RefusedLoad{"IniFile", Nothing, "Resources/DTM.ini",
                    "load: refused (<folder>/Resources/DTM.ini is no data-set file: it names no device type; the "
                    "instance stays)\n"},
        RefusedLoad{"XmlFile", Nothing, "XMLData/DTMInformation.xml",
                    "load: refused (<folder>/XMLData/DTMInformation.xml is no data-set file: it names no device "
                    "type; the instance stays)\n"},
        RefusedLoad{"TextFile",
                    [](const fs::path& f, const fs::path&) { WriteFile(f / "notes.txt", "a note\nname\tvalue\n"); },
                    "notes.txt",
                    "load: refused (<folder>/notes.txt is no data-set file: it names no device type; the instance "
                    "stays)\n"},
        RefusedLoad{"BinaryFile", Nothing, "XMLData/RXD218.bmp",
                    "load: refused (<folder>/XMLData/RXD218.bmp is no data-set file: it names no device type; the "
                    "instance stays)\n"},
        RefusedLoad{"Folder", Nothing, "XMLData",
                    "load: refused (<folder>/XMLData is no data-set file: it is no regular file; the instance "
                    "stays)\n"},
        RefusedLoad{"Fifo", [](const fs::path& f, const fs::path&) { ASSERT_EQ(::mkfifo((f / "pipe.dtm").c_str(), 0600), 0); },
                    "pipe.dtm",
                    "load: refused (<folder>/pipe.dtm is no data-set file: it is no regular file; the instance "
                    "stays)\n"},
        RefusedLoad{"UnreadableDeviceType",
                    [](const fs::path& f, const fs::path& o) {
                        WriteFile(f / "damaged.dtm", WithEntry(ReadFile(o / "good.dtm"), "DeviceType.ManufacturerId", "?\t"));
                    },
                    "damaged.dtm",
                    "load: refused (<folder>/damaged.dtm is no data-set file: its device type cannot be read; the "
                    "instance stays)\n"},
        RefusedLoad{"UnsupportedDeviceType",
                    [](const fs::path& f, const fs::path& o) {
                        WriteFile(f / "other.dtm", WithEntry(ReadFile(o / "good.dtm"), "DeviceType.DeviceTypeId", "3\t99"));
                    },
                    "other.dtm",
                    "load: refused (<folder>/other.dtm is no data-set file of this DTM: it names device type 99 "
                    "of manufacturer 173; the instance stays)\n"},
        RefusedLoad{"DotDotOutOfTheFolder", Nothing, "../<outside>/good.dtm",
                    "error: a relative FILE names a file in the component folder, not \"../<outside>/good.dtm\"\n"},
        RefusedLoad{"SymbolicLinkOutOfTheFolder",
                    [](const fs::path& f, const fs::path& o) { fs::create_symlink(o / "good.dtm", f / "link.dtm"); },
                    "link.dtm",
                    "error: a relative FILE names a file in the component folder, not \"link.dtm\"\n"},
        RefusedLoad{"LinkedFolderOutOfTheFolder",
                    [](const fs::path& f, const fs::path& o) { fs::create_directory_symlink(o, f / "linked"); },
                    "linked/good.dtm",
                    "error: a relative FILE names a file in the component folder, not \"linked/good.dtm\"\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataSetCommands, LoadOfAGoodDataSetStillWorksByAnyNameWithinTheFolder) {
    fs::create_directory(folder / "sets");
    fs::copy_file(outside / "good.dtm", folder / "sets" / "good.dtm");
    fs::create_symlink("sets/good.dtm", folder / "inside.dtm");
    for (const char* name : {"sets/good.dtm", "sets/../sets/good.dtm", "inside.dtm", "sets\\good.dtm"})
        EXPECT_EQ(Say(std::string("load ") + name).rfind("loaded <folder>/", 0), 0u) << name;
    const std::string absolute = (outside / "good.dtm").string();
    EXPECT_EQ(Say("load " + absolute).rfind("loaded " + absolute + " into a new instance\n", 0), 0u);
}

TEST_F(DataSetCommands, SaveRefusesANameOutOfTheFolder) {
    fs::create_directory_symlink(outside, folder / "linked");
    fs::create_symlink(outside / "good.dtm", folder / "link.dtm");
    const std::string escape = "../" + outside.filename().string() + "/escaped.dtm";
    TypeAChange();
    for (const std::string& name : {escape, std::string("linked/escaped.dtm"), std::string("link.dtm")}) {
        EXPECT_EQ(Say("save " + name), "error: a relative FILE names a file in the component folder, not \"" + name +
                                            "\"\n");
        EXPECT_FALSE(fs::exists(outside / "escaped.dtm")) << name;
    }
    EXPECT_TRUE(fs::is_symlink(folder / "link.dtm"));
    ExpectUntouched();
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
    const std::string missing = (outside / "no" / "such" / "folder.dtm").string();
    for (const std::string& name : {std::string("XMLData"), missing}) {
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
    EXPECT_EQ(Say("load s.dtm").rfind("loaded <folder>/s.dtm into a new instance\n", 0), 0u);
    EXPECT_EQ(Say("expect state locked = true"), "expect ok\n");
    Say("open RG38N226_4_07.ctlIdent");
    EXPECT_EQ(Say("type ctlParameter.0 x"), "type: refused (locked: the data set is locked)\n");
}

TEST_F(DataSetCommands, LoadSaysThatTheUnsavedChangesWereDropped) {
    TypeAChange();
    EXPECT_EQ(Say("load base.dtm").find("loaded <folder>/base.dtm into a new instance\n"
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
