#include "frame/PageScript.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "core/channels/SlaveBusParamSet.h"
#include "core/channels/clsChannel.h"
#include "frame/ComponentFiles.h"
#include "frame/DeviceChoice.h"
#include "frame/FunctionList.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "frame/PageScriptInterpreter.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/Path.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/com/TextCoding.h"
#include "platform/com/VbText.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/ProfibusChannelParameter.h"
#include "platform/rt/UserInfo.h"
#include "platform/ui/Description.h"
#include "platform/ui/TabStrip.h"
#include "platform/win/Files.h"
#include "platform/xml/Dom.h"

namespace dtm::frame {

namespace app = platform::app;
namespace vb = platform::com::vb;
using platform::ui::Quote;

namespace {

std::string AnswerName(int32_t answer) {
    static const char* const kNames[] = {"?", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    return answer >= 1 && answer <= 7 ? kNames[answer] : std::to_string(answer);
}

std::string Hex(uint8_t value) {
    static const char* const kDigits = "0123456789ABCDEF";
    return std::string{kDigits[value >> 4], kDigits[value & 15]};
}

std::string LanguageRefusal(int32_t kept) {
    return "the dictionary has no such language; the language stays " + std::to_string(kept);
}

// "{01 A0}"; `masked` shows each byte as "**" (a secret's, as the traces mask it).
std::string Bytes(const std::vector<uint8_t>& bytes, bool masked = false) {
    std::string text = "{";
    for (size_t i = 0; i < bytes.size(); ++i) text += (i ? " " : "") + (masked ? "**" : Hex(bytes[i]));
    return text + "}";
}

}  // namespace

namespace {
// The one function offered only with the developer features.
constexpr int32_t kTransactionMonitorFunction = 97;
// The user levels a frame gives: observer 0 to planning engineer 3.
constexpr int32_t kLowestLevel = 0, kHighestLevel = 3;
}  // namespace

PageScriptInterpreter::PageScriptInterpreter(std::ostream& out, const PageScriptOptions& options, std::ostream* err)
    : out_(out), err_(err), options_(options) {
    const DeviceChoice* device = FindDevice(options.device);
    if (!device) device = &kDevices[0];
    boxesSeen_ = app::MessageBoxHandler::Instance().Records().size();
    errorsAtStart_ = errorsSeen_ = app::ErrorSink::Instance().Errors().size();
    frame_ = std::make_unique<PageFrame>(DeviceTypeDocument(kManufacturerId, device->deviceTypeId), device->model);
    if (!frame_->Started()) {
        Line("! the DTM did not start");
        ReportMeanwhile();
        return;
    }
    frame_->Ctx().UserInfo()->UserLevel(options.userLevel);
    const int32_t lcid = SetLanguage(options.lcid);
    if (lcid != options.lcid) {
        badOption_ = "bad option --lcid " + std::to_string(options.lcid) + ": the dictionary has no such language; " +
                     "it has " + DictionaryLanguages();
        return;
    }
    Line(std::string("frame ") + device->name + ", user level " + std::to_string(options.userLevel) + ", language " +
         std::to_string(lcid));
    if (options.online) Connect({});
    ReportMeanwhile();
}

const std::map<std::string, PageScriptInterpreter::Command>& PageScriptInterpreter::Commands() {
    using I = PageScriptInterpreter;
    static const std::map<std::string, Command> commands = {
        {"connect", &I::Connect}, {"disconnect", &I::Disconnect}, {"level", &I::Level}, {"lang", &I::Lang},
        {"lock", &I::Lock},       {"functions", &I::Functions},   {"open", &I::Open},   {"pages", &I::Pages},
        {"use", &I::Use},         {"close", &I::Close},           {"show", &I::Show},   {"rows", &I::Rows},
        {"type", &I::Type},       {"edit", &I::Edit},             {"enter", &I::Enter}, {"cancel", &I::Cancel},
        {"select", &I::Select},   {"bits", &I::Bits},             {"key", &I::Key},     {"menu", &I::Menu},
        {"click", &I::Click},     {"check", &I::Check},           {"tab", &I::Tab},     {"focus", &I::Focus},
        {"answer", &I::Answer},   {"tick", &I::Tick},             {"run", &I::RunLoop}, {"device", &I::Device},
        {"expect", &I::Expect},   {"channels", &I::Channels},     {"developer", &I::Developer},
        {"channel", &I::Channel}, {"file", &I::File},             {"find", &I::Find},   {"keys", &I::Keys},
        {"state", &I::State},     {"save", &I::Save},             {"load", &I::Load},   {"trace", &I::Trace},
    };
    return commands;
}

void PageScriptInterpreter::RunLine(const std::string& line) {
    ++lineNumber_;
    const ScriptLine parsed = TokenizeScriptLine(line);
    if (parsed.tokens.empty() && parsed.error.empty()) return;
    // Answers queued with `answer` are for the boxes of the command after
    // them; any left when the next one starts are dropped.
    const bool answering = !parsed.tokens.empty() && vb::LCase(parsed.tokens.front().text) == "answer";
    if (!answering && !std::exchange(answersAwaitCommand_, false)) DropUnusedAnswers();
    if (options_.echo) out_ << "> " << line << "\n";
    if (!parsed.error.empty()) {
        Line("error: " + parsed.error);
        ++commandErrors_;
    } else if (!frame_->Started()) {
        Line("error: no DTM");
        ++commandErrors_;
    } else {
        Run(parsed.tokens);
    }
    ReportMeanwhile();
}

void PageScriptInterpreter::Run(const Args& words) {
    const auto& commands = Commands();
    const auto it = commands.find(vb::LCase(words.front().text));
    if (it == commands.end()) {
        Line("error: unknown command " + Quote(words.front().text));
        ++commandErrors_;
        return;
    }
    const bool isExpect = it->second == &PageScriptInterpreter::Expect;
    try {
        (this->*(it->second))(Args(words.begin() + 1, words.end()));
    } catch (const UsageError& e) {
        Line("error: " + e.message);
        ++commandErrors_;
    } catch (...) {
        // An error the component raised through the command: trapped here.
        const auto error = app::DescribeCurrentException(words.front().text);
        Line("error: " + std::to_string(error.number) + ": " + error.description);
        ++errorsTrapped_;
        if (isExpect) ++expectFailures_;
    }
}

int PageScriptInterpreter::ExitCode() const {
    if (commandErrors_ > 0) return kScriptCommandError;
    if (failures_ > 0) return kScriptErrorTrapped;
    if (options_.strict &&
        (errorsTrapped_ > 0 || refusals_ > 0 || app::ErrorSink::Instance().Errors().size() > errorsAtStart_))
        return kScriptErrorTrapped;
    if (expectFailures_ > 0) return kScriptExpectFailed;
    return kScriptOk;
}

void PageScriptInterpreter::ReportMeanwhile() {
    const auto& boxes = app::MessageBoxHandler::Instance().Records();
    for (; boxesSeen_ < boxes.size(); ++boxesSeen_) {
        const auto& box = boxes[boxesSeen_];
        Line("? [" + std::to_string(box.buttons) + "] " + Quote(box.prompt) + " -> " + AnswerName(box.answer));
    }
    const auto& errors = app::ErrorSink::Instance().Errors();
    if (errors.size() < errorsSeen_) errorsSeen_ = 0;  // cleared meanwhile
    for (; errorsSeen_ < errors.size(); ++errorsSeen_) {
        const auto& error = errors[errorsSeen_];
        Line("! error " + std::to_string(error.number) + ": " + error.description + " (" + error.where + ")");
        ++errorsTrapped_;
    }
    if (!frame_->Started()) return;
    const auto& events = frame_->Session().Container()->Events();
    for (eventsSeen_ = std::max(eventsSeen_, events.first()); eventsSeen_ < events.size(); ++eventsSeen_) {
        std::string text = "~ " + events[eventsSeen_].name;
        for (const auto& arg : events[eventsSeen_].args) text += " " + Quote(arg);
        Line(text);
    }
}

void PageScriptInterpreter::Refused(const std::string& text, bool failure) {
    Line(text);
    ++(failure ? failures_ : refusals_);
    if (err_) *err_ << "dtm_frame_cli: line " << lineNumber_ << ": " << Mask(text) << "\n";
}

std::string PageScriptInterpreter::Mask(std::string text) const {
    for (const auto& id : invokeIds_) text = MaskInvokeId(std::move(text), id);
    // The run's component folder differs on every run.
    if (!folder_.Path().empty())
        for (size_t at = text.find(folder_.Path()); at != std::string::npos; at = text.find(folder_.Path(), at))
            text.replace(at, folder_.Path().size(), "<folder>");
    return text;
}

PageSession& PageScriptInterpreter::Current() {
    std::erase_if(pages_, [](const OpenPage& p) { return p.session->Dropped(); });
    for (const auto& page : pages_)
        if (page.name == current_) return *page.session;
    if (pages_.empty()) throw UsageError{"no page open"};
    current_ = pages_.back().name;
    return *pages_.back().session;
}

void PageScriptInterpreter::Need(const Args& args, size_t min, size_t max, const char* usage) {
    if (args.size() < min || args.size() > max) throw UsageError{std::string("usage: ") + usage};
}

int64_t PageScriptInterpreter::Number(const ScriptToken& word, int64_t min, int64_t max) {
    int64_t value = 0;
    const std::string& text = word.text;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hex ? 2 : 0);
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value, hex ? 16 : 10);
    if (text.empty() || (ec != std::errc() && ec != std::errc::result_out_of_range) ||
        end != text.data() + text.size())
        throw UsageError{"not a number: " + Quote(text)};
    if (ec == std::errc::result_out_of_range || value < min || value > max)
        throw UsageError{text + " is out of range (" + std::to_string(min) + " to " + std::to_string(max) + ")"};
    return value;
}

bool PageScriptInterpreter::OnOff(const ScriptToken& word) {
    const std::string text = vb::LCase(word.text);
    if (text == "on") return true;
    if (text == "off") return false;
    throw UsageError{"on or off expected, not " + Quote(word.text)};
}

// ---- Frame ----

namespace {

// Why the DTM's connect did not bring it online.
std::string ConnectRefusal(platform::rt::DtmCommService::ConnectFailure failure) {
    using Failure = platform::rt::DtmCommService::ConnectFailure;
    switch (failure) {
        case Failure::NotSent: return "the DTM could not send the connect";
        case Failure::Refused: return "the connect was answered with an error";
        case Failure::NoAnswer: return "no answer from the device: its identity could not be read";
        case Failure::WrongType: return "the device's type does not match the instance, and the connect was cancelled";
        case Failure::Dropped: return "the connection was dropped before it was online";
        case Failure::None: break;
    }
    return "the connect did not end";
}

}  // namespace

// The frame hands the DTM its channel; the DTM connects on demand, so the
// command asks it to go online and waits (on the virtual clock) for the
// answer, and for a connection the DTM gives up to be released.
void PageScriptInterpreter::Connect(const Args& args) {
    Need(args, 0, 0, "connect");
    if (!frame_->Connect()) {
        Line("connect: refused (the DTM did not take the communication channel)");
        return;
    }
    auto& service = platform::com::Deref(frame_->Ctx().CommService());
    auto online = std::make_shared<std::optional<bool>>();
    if (!service.IsOnline()) {
        service.WhenOnline([online](bool ok) { *online = ok; });
        auto& loop = app::EventLoop::Instance();
        const auto waiting = [&] { return !online->has_value() || (!**online && service.IsActive()); };
        while (waiting() && loop.PendingCount() > 0) loop.Advance(1);
    }
    Line(service.IsOnline() ? "connected"
                            : "connect: refused (" + ConnectRefusal(service.LastConnectFailure()) + "; the DTM is offline)");
}

void PageScriptInterpreter::Disconnect(const Args& args) {
    Need(args, 0, 0, "disconnect");
    Line(frame_->Disconnect() ? "disconnected" : "disconnect: refused (the DTM did not release the communication)");
}

void PageScriptInterpreter::Level(const Args& args) {
    Need(args, 1, 1, "level N");
    const auto level = static_cast<int32_t>(Number(args[0], kLowestLevel, kHighestLevel));
    frame_->Ctx().UserInfo()->UserLevel(level);
    options_.userLevel = level;
    Line("user level " + std::to_string(level));
}

std::string PageScriptInterpreter::DictionaryLanguages() {
    std::string list;
    const auto dictionary = frame_->Ctx().Dictionary()->DictionaryDocument();
    if (dictionary)
        for (const auto& language : dictionary->SelectNodes("Dictionary/Language"))
            list += (list.empty() ? "" : ", ") + platform::com::CStr(language->GetAttribute("lcid"));
    return list.empty() ? "none" : list;
}

int32_t PageScriptInterpreter::SetLanguage(int32_t lcid) {
    auto& registry = platform::com::Deref(frame_->Ctx().GuiRegistry());
    registry.LanguageId(lcid);
    return registry.LanguageId();
}

void PageScriptInterpreter::Lang(const Args& args) {
    Need(args, 1, 1, "lang LCID");
    const auto lcid = static_cast<int32_t>(Number(args[0]));
    const int32_t now = SetLanguage(lcid);
    options_.lcid = now;
    Line(now == lcid ? "language " + std::to_string(lcid) : "lang " + args[0].text + ": refused (" + LanguageRefusal(now) + ")");
}

void PageScriptInterpreter::Lock(const Args& args) {
    Need(args, 1, 1, "lock on|off");
    const std::string& tag = frame_->Session().SystemTag();
    if (OnOff(args[0])) {
        frame_->Ctx().Parameters()->OnLockDataSet(tag);
        Line("data set locked");
    } else {
        Line(frame_->Ctx().Parameters()->OnUnlockDataSet(tag) ? "data set unlocked"
                                                              : "unlock: refused (the DTM keeps the data set locked)");
    }
}

void PageScriptInterpreter::Functions(const Args& args) {
    Need(args, 0, 0, "functions");
    for (const auto& [id, name] : OfferedFunctions(frame_->Session().IDtm().IDtm_GetFunctions("")))
        Line(id + " " + Quote(name));
}

void PageScriptInterpreter::Developer(const Args& args) {
    Need(args, 0, 0, "developer");
    if (!folder_.EnableDeveloperFeatures()) throw UsageError{"the configuration file cannot be changed"};
    Line("developer features on");
}

void PageScriptInterpreter::Trace(const Args& args) {
    Need(args, 1, 1, "trace on|off");
    const bool on = OnOff(args[0]);
    if (!folder_.SwitchTrace(on)) throw UsageError{"the configuration file cannot be changed"};
    // Both settings are switched; the channel trace, though, takes only the
    // parameter documents and channel lists a frame asks for, which no
    // command here does.
    Line(on ? "trace on: the DTM appends to TraceInfoFile.txt from its next trace"
            : "trace off: the DTM stops tracing from its next trace");
}

void PageScriptInterpreter::Open(const Args& args) {
    Need(args, 1, 2, "open ID|PROGID [path=CTLPATH]");
    std::string path;
    if (args.size() == 2) {
        if (args[1].text.rfind("path=", 0) != 0) throw UsageError{"path=CTLPATH expected, not " + Quote(args[1].text)};
        path = args[1].text.substr(5);
        if (path.empty()) throw UsageError{"path= names no control: a control path expected after it"};
    }
    const std::string& what = args[0].text;
    const bool byId = !what.empty() && what.find_first_not_of("0123456789") == std::string::npos;
    const int32_t functionId = byId ? static_cast<int32_t>(Number(args[0])) : 0;
    if (byId) {
        if (const std::string why = FunctionRefusal(functionId); !why.empty()) {
            Line("open " + Quote(what) + ": refused (" + why + ")");
            return;
        }
    }
    const std::string progId = byId ? frame_->ProgIdFor(functionId) : what;
    if (byId && progId.empty()) {
        // An offered function without a page: the DTM carries it out itself.
        InvokeFunction(functionId);
        return;
    }
    // A page matches a pending path against its own class name or, as the top
    // page of the frame's window, against an empty one: a path that does not
    // start with the class name gets the empty name in front.
    const std::string className = progId.substr(progId.rfind('.') + 1);
    if (!path.empty() && path.front() != '.' && path.substr(0, path.find('.')) != className) path.insert(0, ".");
    std::shared_ptr<PageSession> session;
    if (byId) {
        session = frame_->Open(functionId, path);
    } else {
        frame_->Ctx().Functions()->ControlPfad(path);
        session = frame_->OpenProgId(what);
    }
    if (!session) {
        const std::string why = !frame_->Registry().IsRegistered(progId) ? "page not built: no class " + progId
                                                                         : "the page " + progId + " did not start";
        Line("open " + Quote(what) + ": refused (" + why + ")");
        return;
    }
    invokeIds_.push_back(session->InvokeId());
    // The first name free among the open pages: the type, else "type#2", "type#3", …
    std::erase_if(pages_, [](const OpenPage& p) { return p.session->Dropped(); });
    const std::string type = session->Page()->TypeName();
    std::string name = type;
    for (int copy = 2; std::any_of(pages_.begin(), pages_.end(), [&](const OpenPage& p) { return p.name == name; });
         ++copy)
        name = type + "#" + std::to_string(copy);
    pages_.push_back({name, progId, session});
    current_ = name;
    Line("opened " + name + " (" + progId + ")");
    if (path.empty()) return;
    // A path the page did not take must not wait for the next page.
    const bool taken = frame_->Ctx().Functions()->ControlPfad().empty();
    frame_->Ctx().Functions()->ControlPfad("");
    const std::string within = path.substr(std::min(path.find('.') + 1, path.size()));
    if (!taken || !NamesControl(*session, within))
        throw UsageError{"no control " + Quote(args[1].text.substr(5)) + " on " + name + "; the page shows its start"};
}

bool PageScriptInterpreter::NamesControl(const PageSession& page, const std::string& path) {
    if (page.Ctl(path)) return true;
    // A tab of a strip: "TabStrip.3".
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    const auto strip = std::dynamic_pointer_cast<platform::ui::TabStrip>(page.Ctl(path.substr(0, dot)));
    const std::string tab = path.substr(dot + 1);
    int32_t index = 0;
    const auto [end, ec] = std::from_chars(tab.data(), tab.data() + tab.size(), index);
    const bool number = ec == std::errc() && end == tab.data() + tab.size();
    return strip && number && index >= 1 && index <= strip->Tabs().Count();
}

std::string PageScriptInterpreter::FunctionRefusal(int32_t functionId) {
    for (const auto& [id, name] : OfferedFunctions(frame_->Session().IDtm().IDtm_GetFunctions("")))
        if (id == std::to_string(functionId)) return "";
    const std::string function = "function " + std::to_string(functionId);
    if (!ListedFunction(functionId)) return function + " is not in the function list";
    if (functionId == kTransactionMonitorFunction)
        return function + " is offered only with the developer features (command developer)";
    return frame_->Ctx().CommService()->IsOnline() ? function + " is not offered while the DTM is online"
                                                   : function + " is not offered while the DTM is offline";
}

void PageScriptInterpreter::InvokeFunction(int32_t functionId) {
    const auto& events = frame_->Session().Container()->Events();
    const size_t from = events.size();
    const bool ok = frame_->Invoke(functionId);
    std::string printed;
    for (size_t i = std::max(from, events.first()); i < events.size(); ++i)
        if (events[i].name == "OnPrint" && !events[i].args.empty()) printed = events[i].args.front();
    // The function call without its XML declaration.
    if (printed.rfind("<?xml", 0) == 0) printed.erase(0, printed.find("?>") + 2);
    while (!printed.empty() && (printed.front() == '\n' || printed.front() == '\r')) printed.erase(0, 1);
    if (!printed.empty()) Line("function " + std::to_string(functionId) + ": the frame was asked to print " + Quote(printed));
    else Outcome("function " + std::to_string(functionId), ok, "the DTM did not carry it out");
}

void PageScriptInterpreter::Pages(const Args& args) {
    Need(args, 0, 0, "pages");
    std::erase_if(pages_, [](const OpenPage& p) { return p.session->Dropped(); });
    if (pages_.empty()) Line("no page open");
    for (const auto& page : pages_)
        Line((page.name == current_ ? "* " : "  ") + page.name + " (" + page.progId + ")");
}

void PageScriptInterpreter::MakeCurrent(const std::string& name) {
    Current();
    for (const auto& page : pages_) {
        if (vb::LCase(page.name) == vb::LCase(name)) {
            current_ = page.name;
            return;
        }
    }
    throw UsageError{"no page " + Quote(name)};
}

void PageScriptInterpreter::Use(const Args& args) {
    Need(args, 1, 1, "use NAME");
    MakeCurrent(args[0].text);
    Line("using " + current_);
}

void PageScriptInterpreter::Close(const Args& args) {
    Need(args, 0, 1, "close [NAME]");
    if (!args.empty()) MakeCurrent(args[0].text);
    Current();
    const auto it = std::find_if(pages_.begin(), pages_.end(), [&](const OpenPage& p) { return p.name == current_; });
    const std::string name = it->name;
    if (!frame_->Close(*it->session)) {
        Line("close " + name + ": refused (the page did not agree to close)");
        return;
    }
    pages_.erase(it);
    current_ = pages_.empty() ? std::string() : pages_.back().name;
    Line("closed " + name);
}

void PageScriptInterpreter::Answer(const Args& args) {
    if (args.empty()) throw UsageError{"usage: answer yes|no|ok|cancel|abort|retry|ignore ..."};
    std::vector<int32_t> answers;
    for (const auto& word : args) {
        int32_t answer = 0;
        for (int32_t code = app::kAnswerOK; code <= app::kAnswerNo; ++code)
            if (vb::LCase(AnswerName(code)) == vb::LCase(word.text)) answer = code;
        if (answer == 0) throw UsageError{"unknown answer " + Quote(word.text)};
        answers.push_back(answer);
    }
    for (const int32_t answer : answers) app::MessageBoxHandler::Instance().QueueAnswer(answer);
    answersAwaitCommand_ = true;
    Line("answers queued: " + std::to_string(args.size()));
}

void PageScriptInterpreter::End() {
    if (frame_->Started()) DropUnusedAnswers();
}

void PageScriptInterpreter::DropUnusedAnswers() {
    const std::vector<int32_t> dropped = app::MessageBoxHandler::Instance().DropAnswers();
    if (dropped.empty()) return;
    std::string names;
    for (const int32_t answer : dropped) names += " " + AnswerName(answer);
    Line("answers dropped, no box took them:" + names);
}

void PageScriptInterpreter::Tick(const Args& args) {
    Need(args, 1, 1, "tick MS");
    auto& loop = app::EventLoop::Instance();
    loop.Advance(Number(args[0], 0));
    Line("time " + std::to_string(loop.Now()) + " ms");
}

void PageScriptInterpreter::RunLoop(const Args& args) {
    Need(args, 0, 0, "run");
    auto& loop = app::EventLoop::Instance();
    // The ticks of a running refresh or poll would go on for ever: `run` does
    // the other work and leaves them to `tick`.
    const bool done = loop.RunUntilOnlyTicks();
    std::string text = (done ? "idle at " : "still busy at ") + std::to_string(loop.Now()) + " ms";
    if (const size_t ticks = loop.PendingTicks(); done && ticks > 0)
        text += " (" + std::to_string(ticks) + (ticks == 1 ? " timer runs" : " timers run") + " on: use tick)";
    Line(text);
}

const platform::rt::ChannelList& PageScriptInterpreter::FrameChannels() {
    // The DTM applies the slot codes to the channels only when it hands them out.
    UpdateChannelSlots(frame_->Session().Context());
    return *frame_->Ctx().Parameters()->Channels();
}

void PageScriptInterpreter::Channels(const Args& args) {
    Need(args, 0, 0, "channels");
    const auto& list = FrameChannels();
    for (int32_t i = 1; i <= list.Count(); ++i) {
        auto& channel = dynamic_cast<clsChannel&>(*list.Item(i));
        const auto& params = *channel.ProfibusChannelParameter();
        Line("channel " + std::to_string(i) + " " + channel.ChannelId() + (channel.Active() ? " active" : " inactive") +
             " bit=" + platform::com::CStr(params.BitOffset()) + (params.ChannelLocked() ? " in use" : ""));
    }
}

void PageScriptInterpreter::Channel(const Args& args) {
    Need(args, 3, 3, "channel N|ID used on|off");
    if (vb::LCase(args[1].text) != "used") throw UsageError{"usage: channel N|ID used on|off"};
    const bool used = OnOff(args[2]);
    const auto& list = FrameChannels();
    clsChannel* channel = nullptr;
    int32_t number = 0;
    for (int32_t i = 1; i <= list.Count() && !channel; ++i) {
        auto& candidate = dynamic_cast<clsChannel&>(*list.Item(i));
        if (args[0].text == std::to_string(i) || vb::LCase(args[0].text) == vb::LCase(candidate.ChannelId())) {
            channel = &candidate;
            number = i;
        }
    }
    if (!channel) throw UsageError{"no channel " + Quote(args[0].text) + "; the DTM has " + std::to_string(list.Count())};
    // As a frame does: the channel's parameters with the in-use flag changed, handed back.
    platform::rt::ProfibusChannelParameter params;
    if (!params.Load(channel->GetChannelParameters("", ""), nullptr))
        throw UsageError{"channel " + args[0].text + " gives no channel parameters"};
    params.ChannelLocked(used);
    const bool ok = channel->SetChannelParameters("", kProfibusDPV1ProtocolId, params.Render(nullptr));
    Outcome("channel " + std::to_string(number) + (used ? " in use" : " not in use"), ok,
            "the DTM did not take the channel parameters");
}

void PageScriptInterpreter::File(const Args& args) {
    Need(args, 1, 1, "file NAME");
    const std::string& name = args[0].text;
    const std::string path = PathInFolder(app::Path(), name);
    if (path.empty()) throw UsageError{"file NAME names a file in the component folder, not " + Quote(name)};
    std::string bytes;
    if (!platform::win::ReadFileBytes(path, bytes)) {
        Line("file " + Quote(name) + ": none in the component folder");
        return;
    }
    // The DTM writes its text files in Windows-1252 with CR LF.
    const std::string text = platform::com::IsValidUtf8(bytes) ? bytes : platform::com::Utf8FromCp1252(bytes);
    Line("file " + Quote(name) + ":");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Line("  " + line);
        start = end + 1;
    }
}

std::map<std::string, std::string> PageScriptInterpreter::DataSetState() {
    auto& ctx = frame_->Ctx();
    const auto status = std::dynamic_pointer_cast<clsDataElement>(ctx.Parameters()->Item("~/DataStatus"));
    const auto flag = [](bool on) { return std::string(on ? "true" : "false"); };
    return {{"data", platform::com::CStr(status->TransientValue)},
            {"meaning", GetValueListText(*status)},
            {"modified", flag(ctx.Parameters()->Modified())},
            {"locked", flag(ctx.GuiRegistry()->LockState())},
            {"online", flag(ctx.CommService()->IsOnline())}};
}

void PageScriptInterpreter::State(const Args& args) {
    Need(args, 0, 0, "state");
    auto state = DataSetState();
    Line("data set " + state["data"] + " " + Quote(state["meaning"]) +
         (state["modified"] == "true" ? ", modified" : ", not modified") +
         (state["locked"] == "true" ? ", locked" : ", not locked") +
         (state["online"] == "true" ? ", online" : ", offline"));
}

std::string PageScriptInterpreter::DataSetFile(const ScriptToken& word) {
    if (word.text.empty()) throw UsageError{"a file name expected"};
    // The frame never changes its working directory: the system resolves a
    // relative name against the one it was started in.
    return word.text;
}

void PageScriptInterpreter::Save(const Args& args) {
    Need(args, 1, 1, "save FILE");
    const std::string file = DataSetFile(args[0]);
    // The files the DTM reads, of the script's copy and of the real folder.
    std::string why = ComponentFileRefusal(file, {folder_.Path(), folder_.Original()}, options_.moduleFile);
    if (why.empty() && frame_->Session().SaveToFile(file, &why)) Line("saved " + file);
    else Refused("save: refused (" + why + "; the instance stays as it was)");
}

void PageScriptInterpreter::Load(const Args& args) {
    Need(args, 1, 1, "load FILE");
    const std::string file = DataSetFile(args[0]);
    const bool unsaved = frame_->Ctx().Parameters()->Modified();
    std::string refusal;
    const LoadReport report = frame_->LoadInstance(file, refusal);
    std::erase_if(pages_, [](const OpenPage& p) { return p.session->Dropped(); });
    if (!refusal.empty()) {
        Refused("load: refused (" + refusal + "; the instance stays)", report.attempted && !report.loaded);
        return;
    }
    // The new instance gets the frame's user and language again.
    frame_->Ctx().UserInfo()->UserLevel(options_.userLevel);
    SetLanguage(options_.lcid);
    Line("loaded " + file + " into a new instance");
    if (unsaved) Line("  the unsaved changes of the released instance were dropped");
    for (const auto& entry : report.damagedEntries) Line("  damaged entry " + Quote(entry));
    if (const std::string missing = ElementsWithoutEntryText(report); !missing.empty()) Line("  " + missing);
}

void PageScriptInterpreter::Device(const Args& args) {
    constexpr const char* kUsage =
        "device set PATH VALUE | device error SLOT INDEX r|w CODE [N] | device zero N|never|refuse|busy | "
        "device address | device log";
    if (args.empty()) throw UsageError{std::string("usage: ") + kUsage};
    const std::string what = vb::LCase(args[0].text);
    SimulatedDevice& device = frame_->Device();
    if (what == "set") {
        Need(args, 3, 3, kUsage);
        std::string refusal;
        if (!device.SetValue(args[1].text, args[2].text, &refusal))
            throw UsageError{"device set " + Quote(args[1].text) + " " + Quote(args[2].text) + ": " + refusal};
        Line("device " + args[1].text + " = " + Quote(args[2].text));
    } else if (what == "error") {
        Need(args, 5, 6, kUsage);
        // Every bad argument is named, not only the first.
        std::string bad;
        const auto note = [&bad](const std::string& why) { bad += (bad.empty() ? "" : "; ") + why; };
        const auto number = [&note](const ScriptToken& word, int64_t min, int64_t max) -> int64_t {
            try {
                return Number(word, min, max);
            } catch (const UsageError& e) {
                note(e.message);
                return 0;
            }
        };
        const auto slot = static_cast<uint8_t>(number(args[1], 0, 255));
        const auto index = static_cast<uint8_t>(number(args[2], 0, 255));
        const std::string direction = vb::LCase(args[3].text);
        if (direction != "r" && direction != "w") note("r or w expected, not " + Quote(args[3].text));
        const auto code = static_cast<uint8_t>(number(args[4], 0, 255));
        const int nth = args.size() == 6 ? static_cast<int>(number(args[5], 1, INT32_MAX)) : 1;
        if (!bad.empty()) throw UsageError{bad};
        device.ScheduleAddressFailure(slot, index, direction == "w", code, nth);
        Line("device error 0x" + Hex(code) + " on slot " + std::to_string(slot) + " index " + std::to_string(index) +
             " " + direction + " #" + std::to_string(nth));
    } else if (what == "zero") {
        Need(args, 2, 2, kUsage);
        const std::string mode = vb::LCase(args[1].text);
        using Mode = SimulatedDevice::ZeroPointMode;
        if (mode == "never") device.SetZeroPoint(Mode::NeverStarts);
        else if (mode == "refuse") device.SetZeroPoint(Mode::Refuses);
        else if (mode == "busy") device.SetZeroPoint(Mode::Busy);
        else device.SetZeroPoint(Mode::Runs, static_cast<int>(Number(args[1], 0, 1000)));
        Line("device zero point " + (mode == "never" || mode == "refuse" || mode == "busy"
                                         ? mode
                                         : "runs for " + args[1].text + " reads"));
    } else if (what == "address") {
        Need(args, 1, 1, kUsage);
        Line("device address " + std::to_string(device.BusAddress()));
    } else if (what == "log") {
        Need(args, 1, 1, kUsage);
        const auto& log = device.Log();
        for (deviceLogSeen_ = std::max(deviceLogSeen_, log.first()); deviceLogSeen_ < log.size(); ++deviceLogSeen_) {
            const auto& [request, answer] = log[deviceLogSeen_];
            // The service code written is never shown.
            const bool secret = std::pair{request.slot, request.index} == device.ServiceCodeAddress();
            std::string text = "slot " + std::to_string(request.slot) + " index " + std::to_string(request.index) +
                               (request.write ? " w " + Bytes(request.data, secret) : std::string(" r")) + " -> ";
            if (answer.kind == DeviceAnswer::Kind::Dropped) text += "dropped";
            else if (answer.kind == DeviceAnswer::Kind::Error) text += "error 0x" + Hex(answer.errorCode1);
            else text += request.write ? "ok" : Bytes(answer.data);
            Line(text);
        }
    } else {
        throw UsageError{std::string("usage: ") + kUsage};
    }
}

// ---- Running ----

int RunPageScript(std::istream& in, std::ostream& out, const PageScriptOptions& options, std::string& badOption,
                  std::ostream* err) {
    PageScriptInterpreter interpreter(out, options, err);
    badOption = interpreter.BadOption();
    if (!badOption.empty()) return kScriptBadOption;
    // A UTF-8 byte order mark before the first line is no part of it.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::string line;
    // Output nobody can read is no reason to go on.
    for (bool first = true; out && std::getline(in, line); first = false) {
        if (first && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        interpreter.RunLine(line);
    }
    interpreter.End();
    return interpreter.ExitCode();
}

std::string MissingOptionValue(const std::string& option, const std::string& value) {
    return "bad option " + option + ": its value " + value + " is missing";
}

bool ParsePageScriptArgs(const std::vector<std::string>& args, PageScriptOptions& options, std::string& scriptFile,
                         std::string& error) {
    // The value after the option at `i` (the loop has made sure there is one) as
    // a whole number; otherwise `error` says what it is to be.
    const auto number = [&](size_t& i, int32_t& value, const std::string& what) {
        const std::string& option = args[i];
        const std::string& text = args[++i];
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size()) return true;
        error = "bad option " + option + " " + Quote(text) + ": " + what;
        return false;
    };
    const std::string level =
        "a level from " + std::to_string(kLowestLevel) + " to " + std::to_string(kHighestLevel);
    bool scriptGiven = false;
    static const std::map<std::string, std::string> kValueOf = {
        {"--device", "NAME"}, {"--user-level", "N"}, {"--lcid", "LCID"}, {"--script", "FILE"}};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto value = kValueOf.find(arg); value != kValueOf.end() && i + 1 == args.size()) {
            error = MissingOptionValue(arg, value->second);
            return false;
        }
        bool ok = true;
        if (arg == "--device" && i + 1 < args.size()) {
            options.device = args[++i];
            if (!FindDevice(options.device)) {
                error = UnknownDevice(options.device);
                return false;
            }
        } else if (arg == "--user-level") {
            if (!number(i, options.userLevel, level)) return false;
            if (options.userLevel < kLowestLevel || options.userLevel > kHighestLevel) {
                error = "bad option --user-level " + std::to_string(options.userLevel) + ": " + level;
                return false;
            }
        } else if (arg == "--lcid") {
            if (!number(i, options.lcid, "a language id is a number, such as 1033")) return false;
        } else if (arg == "--script" && i + 1 < args.size()) {
            if (std::exchange(scriptGiven, true)) {
                error = "bad option --script " + args[i + 1] + ": a run reads one script, and " + scriptFile +
                        " was given before";
                return false;
            }
            scriptFile = args[++i];
        } else if (arg == "--online") {
            options.online = true;
        } else if (arg == "--echo") {
            options.echo = true;
        } else if (arg == "--strict") {
            options.strict = true;
        } else {
            ok = false;
        }
        if (!ok) {
            error = "bad option " + arg;
            return false;
        }
    }
    return true;
}

}  // namespace dtm::frame
