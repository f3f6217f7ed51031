#pragma once
// The interpreter behind RunPageScript: the frame, its open pages by name,
// and what has been reported so far. Commands take the words after their
// name; each writes its result line(s).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "frame/PageFrame.h"
#include "frame/PageScript.h"
#include "frame/ScratchFolder.h"
#include "frame/ScriptTokens.h"

namespace platform::ctl {
class ctlParameter;
}
namespace platform::rt {
class ChannelList;
}

namespace dtm::frame {

class PageScriptInterpreter {
public:
    // A refused save or load is said on `err` too, when given.
    PageScriptInterpreter(std::ostream& out, const PageScriptOptions& options, std::ostream* err = nullptr);
    // Why the frame did not take the options (a language the DTM does not
    // have); "" when it took them. Nothing may run when it did not.
    const std::string& BadOption() const { return badOption_; }
    // Runs one line (comments and blank lines do nothing).
    void RunLine(const std::string& line);
    // After the last line: reports the answers that no box took.
    void End();
    int ExitCode() const;

private:
    using Args = std::vector<ScriptToken>;
    using Command = void (PageScriptInterpreter::*)(const Args&);
    struct OpenPage {
        std::string name;
        std::string progId;
        std::shared_ptr<PageSession> session;
    };
    // A wrong use of a command: written as "error: …", the run goes on and
    // ends with kScriptCommandError.
    struct UsageError {
        std::string message;
    };

    static const std::map<std::string, Command>& Commands();
    void Run(const Args& words);
    // Writes what happened since the last report: boxes, trapped errors, frame events.
    void ReportMeanwhile();
    // `text` with the invoke ids of the pages opened so far written as "<id>".
    std::string Mask(std::string text) const;
    void Line(const std::string& text) { out_ << Mask(text) << "\n"; }
    // "what: ok", or "what: refused (why)"; an error raised meanwhile is the
    // why; `note` ends the line.
    void Outcome(const std::string& what, bool ok, const std::string& why, const std::string& note = "");
    // A refused save or load: its line, on `err` too with the script's line
    // number. A `failure` (a load whose instance did not start) fails the run.
    void Refused(const std::string& text, bool failure = false);
    // Why `row` refused the input of `command` (asked after the refusal).
    std::string RowRefusal(const platform::ctl::ctlParameter& row, const std::string& command) const;

    // Lookups; each raises a UsageError when there is nothing to find.
    PageSession& Current();
    void MakeCurrent(const std::string& name);
    platform::P<platform::ui::Control> ControlAt(const std::string& path);
    platform::P<platform::ctl::ctlParameter> RowAt(const std::string& path);
    static void Need(const Args& args, size_t min, size_t max, const char* usage);
    // A whole number within [min, max] (a 32-bit number unless told).
    static int64_t Number(const ScriptToken& word, int64_t min = INT32_MIN, int64_t max = INT32_MAX);
    static bool OnOff(const ScriptToken& word);

    // Whether `path` (relative to the page) names a control or a strip's tab.
    static bool NamesControl(const PageSession& page, const std::string& path);
    // Why the DTM does not offer the function now; "" when it does.
    std::string FunctionRefusal(int32_t functionId);
    // Has the DTM carry out an offered function that has no page.
    void InvokeFunction(int32_t functionId);
    // Sets the registry's language; answers the language it keeps.
    int32_t SetLanguage(int32_t lcid);
    // The lcids of the languages of the DTM's dictionary: "1033".
    std::string DictionaryLanguages();

    // Frame (PageScript.cpp)
    void Connect(const Args& args);
    void Disconnect(const Args& args);
    void Level(const Args& args);
    void Lang(const Args& args);
    void Lock(const Args& args);
    void Functions(const Args& args);
    void Developer(const Args& args);
    // Switches the trace files of the run's component folder on or off.
    void Trace(const Args& args);
    void Open(const Args& args);
    void Pages(const Args& args);
    void Use(const Args& args);
    void Close(const Args& args);
    void Answer(const Args& args);
    // Reports and drops the answers queued with `answer` that no box took.
    void DropUnusedAnswers();
    void Tick(const Args& args);
    void RunLoop(const Args& args);
    void Device(const Args& args);
    // The process-data channels: id, active or not, bit offset, in use.
    void Channels(const Args& args);
    // The channel list as the DTM hands it to a frame, its slots applied.
    const platform::rt::ChannelList& FrameChannels();
    // Marks a channel in use (or not) through its channel parameters, as a frame does.
    void Channel(const Args& args);
    // A file the DTM wrote into the run's component folder.
    void File(const Args& args);
    // The current page's parameter search and caption keys, through its navigation.
    void Find(const Args& args);
    void Keys(const Args& args);
    // The data-set state, the frame's modified mark, the lock and the connection.
    void State(const Args& args);
    // The properties `state` shows, for `expect state PROP`: data, meaning,
    // modified, locked, online.
    std::map<std::string, std::string> DataSetState();
    // The instance stored into a data-set file, and one loaded from it.
    void Save(const Args& args);
    void Load(const Args& args);
    // A relative FILE lies in the working directory, as with any command-line tool.
    static std::string DataSetFile(const ScriptToken& word);
    // Controls and rows (PageScriptControls.cpp)
    void Show(const Args& args);
    void Rows(const Args& args);
    void Type(const Args& args);
    void Edit(const Args& args);
    void Enter(const Args& args);
    void Cancel(const Args& args);
    void Select(const Args& args);
    void Bits(const Args& args);
    void Key(const Args& args);
    void Menu(const Args& args);
    void Click(const Args& args);
    void Check(const Args& args);
    void Tab(const Args& args);
    void Focus(const Args& args);
    void Expect(const Args& args);

    std::ostream& out_;
    std::ostream* err_;
    PageScriptOptions options_;
    // The run's own component folder; it outlives the frame.
    ScratchFolder folder_;
    std::unique_ptr<PageFrame> frame_;
    std::vector<OpenPage> pages_;
    std::string current_;
    std::vector<std::string> invokeIds_;  // of every page opened, for masking
    size_t boxesSeen_ = 0, errorsSeen_ = 0, eventsSeen_ = 0, deviceLogSeen_ = 0;
    size_t errorsAtStart_ = 0, errorsTrapped_ = 0;
    int expectFailures_ = 0;
    int commandErrors_ = 0;
    int refusals_ = 0;  // of save and load
    int failures_ = 0;  // loads whose instance did not start
    size_t lineNumber_ = 0;
    bool answersAwaitCommand_ = false;  // `answer` queued answers for the next command
    std::string badOption_;
};

}  // namespace dtm::frame
