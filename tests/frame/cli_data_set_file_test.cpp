// The command-line frame itself with the data-set files a user may hand it:
// `save` and the main job's --data-set over what is no regular file, a link,
// a read-only file or a file beside a "FILE.tmp"; `load` of a file cut short.
// Every such file lies in a folder of the test's own.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/TempFolder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliDataSetFiles : public ::testing::Test {
public:
    // A file of the test's files folder.
    std::string File(const std::string& name) const { return run_.Path("files/" + name); }
    std::string Read(const std::string& name) const { return run_.Read("files/" + name); }
    void Write(const std::string& name, const std::string& text) const { run_.Write("files/" + name, text); }

protected:
    CliDataSetFiles() {
        fs::create_directory(run_.Dir() / "files");
        fs::create_directory(run_.Dir() / "run");
    }

    // Runs build/dtm_frame_cli with `args`, standard input empty.
    CliRun Cli(const std::vector<std::string>& args) {
        const std::string out = run_.Path("run/out"), err = run_.Path("run/err");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<std::string> words{DTM_FRAME_CLI};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        CliRun run;
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, DTM_FRAME_CLI, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0) << DTM_FRAME_CLI;
        int status = 0;
        if (spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
        run.out = run_.Read("run/out");
        run.err = run_.Read("run/err");
        return run;
    }
    // Runs `script` as a page script.
    CliRun Pages(const std::string& script) {
        run_.Write("run/script.pages", script);
        return Cli({"pages", "--script", run_.Path("run/script.pages")});
    }

    // What the files folder holds: each name with its kind, mode and content
    // (a link's target).
    std::map<std::string, std::string> Listing() const {
        std::map<std::string, std::string> listing;
        for (const auto& entry : fs::recursive_directory_iterator(run_.Dir() / "files")) {
            const fs::file_status status = fs::symlink_status(entry.path());
            std::string what = std::to_string(static_cast<int>(status.type())) + " " +
                               std::to_string(static_cast<unsigned>(status.permissions())) + " ";
            if (fs::is_symlink(status)) what += fs::read_symlink(entry.path()).string();
            else if (fs::is_regular_file(status)) what += run_.Read(fs::relative(entry.path(), run_.Dir()).string());
            listing[entry.path().filename().string()] = what;
        }
        return listing;
    }

    // A good data set, saved by the frame as `name` in the files folder.
    std::string GoodDataSet(const std::string& name) {
        const CliRun run = Pages("save " + File(name) + "\n");
        EXPECT_NE(run.out.find("saved " + File(name) + "\n"), std::string::npos) << run.out;
        return Read(name);
    }

    TempFolder run_;
};

// Types a change on the identification page, so that the instance is modified.
const std::string kTypeAChange = "open RG38N226_4_07.ctlIdent\ntype ctlParameter.0 \"FT-777\"\n";

// A file `save` refuses: what the test places into the files folder
// (answering the name saved to) and the reason the frame gives.
struct RefusedSave {
    const char* name;
    std::string (*place)(const CliDataSetFiles& test);
    const char* reason;
};

void PrintTo(const RefusedSave& c, std::ostream* os) { *os << c.name; }

class CliRefusedSave : public CliDataSetFiles, public ::testing::WithParamInterface<RefusedSave> {};

TEST_P(CliRefusedSave, InAPageScriptWritesNothingAndKeepsTheChange) {
    const RefusedSave& c = GetParam();
    const std::string file = c.place(*this);
    const auto before = Listing();
    const CliRun run = Pages(kTypeAChange + "save " + file + "\nexpect state modified = true\n");
    EXPECT_NE(run.out.find("save: refused (the file cannot be written: " + std::string(c.reason) +
                           "; the instance stays as it was)\nexpect ok\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(Listing(), before);
}

TEST_P(CliRefusedSave, InTheMainJobIsSaidAndExits4) {
    const RefusedSave& c = GetParam();
    const std::string file = c.place(*this);
    const auto before = Listing();
    const CliRun run = Cli({"--data-set", file});
    EXPECT_EQ(run.exitCode, 4) << run.out;
    EXPECT_EQ(run.err, "dtm_frame_cli: the data set was not stored to " + file +
                           ": the file cannot be written: " + c.reason +
                           "; the load into a second instance is skipped\n");
    EXPECT_NE(run.out.find("Stored the instance to " + file + ": False\n"), std::string::npos) << run.out;
    EXPECT_EQ(Listing(), before);
}

// A file without any write bit is refused to a privileged user too, so the
// read-only cases hold when the tests run as root.
INSTANTIATE_TEST_SUITE_P(
    Files, CliRefusedSave,
    ::testing::Values(
        RefusedSave{"Fifo",
                    [](const CliDataSetFiles& t) {
                        EXPECT_EQ(::mkfifo(t.File("pipe.dtm").c_str(), 0600), 0);
                        return t.File("pipe.dtm");
                    },
                    "it is no regular file"},
        RefusedSave{"LinkToAFifo",
                    [](const CliDataSetFiles& t) {
                        EXPECT_EQ(::mkfifo(t.File("pipe.dtm").c_str(), 0600), 0);
                        fs::create_symlink("pipe.dtm", t.File("link.dtm"));
                        return t.File("link.dtm");
                    },
                    "it is no regular file"},
        RefusedSave{"Folder",
                    [](const CliDataSetFiles& t) {
                        fs::create_directory(t.File("sets"));
                        return t.File("sets");
                    },
                    "Is a directory"},
        RefusedSave{"ReadOnlyFile",
                    [](const CliDataSetFiles& t) {
                        t.Write("kept.dtm", "kept\n");
                        fs::permissions(t.File("kept.dtm"), fs::perms(0444));
                        return t.File("kept.dtm");
                    },
                    "Permission denied"},
        RefusedSave{"LinkToAReadOnlyFile",
                    [](const CliDataSetFiles& t) {
                        t.Write("kept.dtm", "kept\n");
                        fs::permissions(t.File("kept.dtm"), fs::perms(0444));
                        fs::create_symlink("kept.dtm", t.File("link.dtm"));
                        return t.File("link.dtm");
                    },
                    "Permission denied"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliDataSetFiles, SaveWritesALinksTargetKeepsTheModeAndLeavesTheTemporaryNameAlone) {
    fs::create_directory(File("sets"));
    Write("sets/target.dtm", "old\n");
    fs::permissions(File("sets/target.dtm"), fs::perms(0640));
    fs::create_symlink("sets/target.dtm", File("link.dtm"));
    Write("plain.dtm", "old\n");
    Write("plain.dtm.tmp", "someone else's\n");
    const CliRun run = Pages(kTypeAChange + "save " + File("link.dtm") + "\nsave " + File("plain.dtm") +
                             "\nexpect state modified = false\n");
    EXPECT_NE(run.out.find("saved " + File("link.dtm") + "\nsaved " + File("plain.dtm") + "\nexpect ok\n"),
              std::string::npos)
        << run.out;
    EXPECT_TRUE(fs::is_symlink(File("link.dtm")));
    for (const char* written : {"sets/target.dtm", "plain.dtm"})
        EXPECT_EQ(Read(written).rfind("DeviceType.ManufacturerId\t", 0), 0u) << written;
    EXPECT_EQ(fs::status(File("sets/target.dtm")).permissions(), fs::perms(0640));
    EXPECT_EQ(Read("plain.dtm.tmp"), "someone else's\n");
    EXPECT_EQ(Listing().size(), 5u);  // sets, its target, the link, plain.dtm and plain.dtm.tmp
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST_F(CliDataSetFiles, LoadOfAFileCutShortSaysWhichElementsHoldTheirDefaults) {
    const std::string good = GoodDataSet("good.dtm");
    // Every element stores its flags: their count is the number of elements.
    const size_t elements = Occurrences(good, ".Flags\t");
    ASSERT_GT(elements, 3u);
    std::string deviceTypeOnly;
    for (size_t at = 0; at < good.size();) {
        const size_t end = good.find('\n', at) + 1;
        if (good.compare(at, 11, "DeviceType.") == 0) deviceTypeOnly += good.substr(at, end - at);
        at = end;
    }
    Write("device-type-only.dtm", deviceTypeOnly);
    // Cut right after the entries of the first element: all others have none.
    const size_t firstFlags = good.find(".Flags\t");
    Write("cut.dtm", good.substr(0, good.find('\n', firstFlags) + 1));

    const CliRun run = Pages("load " + File("good.dtm") + "\nload " + File("device-type-only.dtm") + "\nload " +
                             File("cut.dtm") + "\n");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("loaded " + File("good.dtm") + " into a new instance\n"), std::string::npos) << run.out;
    EXPECT_EQ(Occurrences(run.out, " had no entry in the file and hold their defaults:"), 2u) << run.out;
    EXPECT_NE(run.out.find("loaded " + File("device-type-only.dtm") + " into a new instance\n  " +
                           std::to_string(elements) +
                           " elements had no entry in the file and hold their defaults: \"~/Tag\", \"~/Address\", "
                           "\"~/NewAddress\", …\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("loaded " + File("cut.dtm") + " into a new instance\n  " + std::to_string(elements - 1) +
                           " elements had no entry in the file and hold their defaults: \"~/Address\", "
                           "\"~/NewAddress\", \"InvokeId_ctl_TR_Monitor\", …\n"),
              std::string::npos)
        << run.out;
}

// The data-set text with the value of entry `name` (type and value) replaced by `rest`.
std::string WithEntry(std::string text, const std::string& name, const std::string& rest) {
    const size_t from = text.find("\n" + name + "\t") + 1 + name.size() + 1;
    text.replace(from, text.find('\n', from) - from, rest);
    return text;
}

// Values out of their element's range or length load as their elements'
// defaults, and the load names each; the bus address page has no such value
// to take over, and a save stores the defaults.
TEST_F(CliDataSetFiles, LoadOfValuesOutOfRangeOrLengthSaysWhichAndTheyHoldTheirDefaults) {
    std::string text = GoodDataSet("good.dtm");
    text = WithEntry(text, "~/Address", "2\t-5");
    text = WithEntry(text, "~/NewAddress", "2\t999");
    text = WithEntry(text, "PHYS/TAG_DESC", "8\t" + std::string(200000, 'A'));
    Write("out-of-range.dtm", text);

    const CliRun run = Pages("load " + File("out-of-range.dtm") +
                             "\nopen 9\nclick cmdChange\nexpect @~/Address display = \"126\"\n"
                             "expect @~/NewAddress display = \"126\"\nclose\nopen RG38N226_4_07.ctlIdent\n"
                             "expect ctlParameter.0 display = \"" + std::string(32, ' ') + "\"\nsave " +
                             File("saved.dtm") + "\n");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("  damaged entry \"~/Address (a value its element does not take)\"\n"
                           "  damaged entry \"~/NewAddress (a value its element does not take)\"\n"
                           "  damaged entry \"PHYS/TAG_DESC (a value its element does not take)\"\n"),
              std::string::npos)
        << run.out.substr(0, 2000);
    EXPECT_EQ(Occurrences(run.out, "damaged entry"), 3u) << run.out.substr(0, 2000);
    EXPECT_EQ(run.out.find("AAAAAAAA"), std::string::npos);
    const std::string saved = Read("saved.dtm");
    EXPECT_NE(saved.find("\n~/Address\t2\t126\n"), std::string::npos);
    EXPECT_NE(saved.find("\n~/NewAddress\t2\t126\n"), std::string::npos);
    EXPECT_NE(saved.find("\nPHYS/TAG_DESC\t8\t" + std::string(32, ' ') + "\n"), std::string::npos);
}

}  // namespace
