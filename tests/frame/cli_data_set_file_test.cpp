// The command-line frame itself with the data-set files a user may hand it:
// `save` and the main job's --data-set over what is no regular file, a link,
// a read-only file or a file beside a "FILE.tmp"; `save` and `load` by a
// relative name; `load` of a file cut short; and the frame whose standard
// output is lost. Every such file lies in a folder of the test's own, which
// is the frame's working directory and holds its temporary folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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
    int signal = 0;  // that ended the frame
    std::string out;
    std::string err;
};

class CliDataSetFiles : public ::testing::Test {
public:
    // Where the standard output of a run goes: a file, or a pipe whose
    // reader is gone, with SIGPIPE's default disposition or ignored.
    enum class Output { File, LostPipe, LostPipeSigpipeIgnored };
    // A file of the test's files folder.
    std::string File(const std::string& name) const { return run_.Path("files/" + name); }
    std::string Read(const std::string& name) const { return run_.Read("files/" + name); }
    void Write(const std::string& name, const std::string& text) const { run_.Write("files/" + name, text); }

protected:
    CliDataSetFiles() {
        for (const char* folder : {"files", "run", "tmp"}) fs::create_directory(run_.Dir() / folder);
    }
    ~CliDataSetFiles() override {
        // Whatever the frame made in its temporary folder, it removed.
        EXPECT_TRUE(fs::is_empty(run_.Dir() / "tmp"));
    }

    // Runs build/dtm_frame_cli with `args`, standard input empty, in the
    // files folder, with the test's own temporary folder.
    CliRun Cli(const std::vector<std::string>& args, Output output = Output::File) {
        const std::string out = run_.Path("run/out"), err = run_.Path("run/err");
        int pipe[2] = {-1, -1};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (output != Output::File && ::pipe2(pipe, O_CLOEXEC) == 0) {
            ::close(pipe[0]);
            posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
        } else {
            posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        }
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, run_.Path("files").c_str());
        std::vector<std::string> words{DTM_FRAME_CLI};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        std::vector<std::string> variables{"TMPDIR=" + run_.Path("tmp")};
        for (char** variable = environ; *variable; ++variable)
            if (std::string(*variable).rfind("TMPDIR=", 0) != 0) variables.push_back(*variable);
        std::vector<char*> envp;
        for (auto& variable : variables) envp.push_back(variable.data());
        envp.push_back(nullptr);
        CliRun run;
        pid_t pid = 0;
        // An ignored signal stays ignored in the frame.
        const auto disposition = std::signal(SIGPIPE, output == Output::LostPipeSigpipeIgnored ? SIG_IGN : SIG_DFL);
        const int spawned = ::posix_spawn(&pid, DTM_FRAME_CLI, &actions, nullptr, argv.data(), envp.data());
        std::signal(SIGPIPE, disposition);
        posix_spawn_file_actions_destroy(&actions);
        if (pipe[1] >= 0) ::close(pipe[1]);
        EXPECT_EQ(spawned, 0) << DTM_FRAME_CLI;
        int status = 0;
        if (spawned == 0 && ::waitpid(pid, &status, 0) == pid) {
            if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
            if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
        }
        if (output == Output::File) run.out = run_.Read("run/out");
        run.err = run_.Read("run/err");
        return run;
    }
    // Runs `script` as a page script, with the `options` of `pages`.
    CliRun Pages(const std::string& script, std::vector<std::string> options = {},
                 Output output = Output::File) {
        run_.Write("run/script.pages", script);
        options.insert(options.begin(), "pages");
        options.insert(options.end(), {"--script", run_.Path("run/script.pages")});
        return Cli(options, output);
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
    const std::string refused =
        "save: refused (the file cannot be written: " + std::string(c.reason) + "; the instance stays as it was)\n";
    EXPECT_NE(run.out.find(refused + "expect ok\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "dtm_frame_cli: line 3: " + refused);
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

TEST_F(CliDataSetFiles, ARelativeNameIsAFileOfTheWorkingDirectoryThatOutlivesTheRun) {
    const CliRun saved = Pages(kTypeAChange + "save my.ds\nstate\n");
    EXPECT_EQ(saved.exitCode, 0) << saved.out;
    EXPECT_NE(saved.out.find("saved my.ds\ndata set 0 \"Saved\", not modified"), std::string::npos) << saved.out;
    EXPECT_EQ(Read("my.ds").rfind("DeviceType.ManufacturerId\t", 0), 0u);
    // A later run finds it by the same name.
    const CliRun loaded = Pages("load my.ds\nopen RG38N226_4_07.ctlIdent\nexpect ctlParameter.0 display = \"FT-777\"\n");
    EXPECT_EQ(loaded.exitCode, 0) << loaded.out;
    EXPECT_NE(loaded.out.find("loaded my.ds into a new instance\n"), std::string::npos) << loaded.out;
    EXPECT_NE(loaded.out.find("expect ok\n"), std::string::npos) << loaded.out;
}

// A refused save or load: the script line, whether the run is strict, and
// the reason it gives on both outputs.
struct RefusedCommand {
    const char* name;
    const char* line;
    bool strict;
    int exitCode;
    const char* refusal;
};

void PrintTo(const RefusedCommand& c, std::ostream* os) { *os << c.name; }

class CliRefusedCommand : public CliDataSetFiles, public ::testing::WithParamInterface<RefusedCommand> {};

TEST_P(CliRefusedCommand, IsSaidOnStandardErrorAndFailsAStrictRun) {
    const RefusedCommand& c = GetParam();
    fs::create_directory(File("sets"));
    const CliRun run = Pages(std::string("state\n") + c.line + "\n",
                             c.strict ? std::vector<std::string>{"--strict"} : std::vector<std::string>{});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.out;
    EXPECT_NE(run.out.find(std::string("\n") + c.refusal + "\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, std::string("dtm_frame_cli: line 2: ") + c.refusal + "\n");
}

constexpr const char* kSaveIntoAFolder = "save: refused (the file cannot be written: Is a directory; the instance stays as it was)";
constexpr const char* kLoadOfNone = "load: refused (none.dtm is no data-set file: there is none; the instance stays)";

INSTANTIATE_TEST_SUITE_P(
    Commands, CliRefusedCommand,
    ::testing::Values(RefusedCommand{"SaveIntoAFolder", "save sets", false, 0, kSaveIntoAFolder},
                      RefusedCommand{"SaveIntoAFolderStrict", "save sets", true, 2, kSaveIntoAFolder},
                      RefusedCommand{"LoadOfAMissingFile", "load none.dtm", false, 0, kLoadOfNone},
                      RefusedCommand{"LoadOfAMissingFileStrict", "load none.dtm", true, 2, kLoadOfNone}),
    [](const auto& info) { return std::string(info.param.name); });

// Standard output whose reader is gone: the frame, ended by the signal or
// not, exits with its own code, says so on standard error and removes its
// folder from the temporary folder (checked after every run).
struct LostOutput {
    const char* name;
    bool pages;
    CliDataSetFiles::Output output;
};

void PrintTo(const LostOutput& c, std::ostream* os) { *os << c.name; }

class CliLostOutput : public CliDataSetFiles, public ::testing::WithParamInterface<LostOutput> {};

TEST_P(CliLostOutput, IsAnErrorExitSaidOnStandardError) {
    const LostOutput& c = GetParam();
    // More output than a pipe's buffer holds: the writes fail while the script runs.
    const CliRun run = c.pages ? Pages("open 8\nrows\nrows\n", {}, c.output)
                               : Cli({"--data-set", File("job.dtm")}, c.output);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_EQ(run.err, "dtm_frame_cli: standard output could not be written\n");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliLostOutput,
    ::testing::Values(LostOutput{"Pages", true, CliDataSetFiles::Output::LostPipe},
                      LostOutput{"PagesSigpipeIgnored", true, CliDataSetFiles::Output::LostPipeSigpipeIgnored},
                      LostOutput{"MainJob", false, CliDataSetFiles::Output::LostPipe},
                      LostOutput{"MainJobSigpipeIgnored", false, CliDataSetFiles::Output::LostPipeSigpipeIgnored}),
    [](const auto& info) { return std::string(info.param.name); });

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
