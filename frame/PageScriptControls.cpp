// The page script's commands on controls and rows: snapshot, row listing,
// input and expectations.
#include <algorithm>
#include <cstdlib>

#include "core/dtm/IPrivateNavigation.h"
#include "frame/PageScriptInterpreter.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/MessageBox.h"
#include "platform/archive/ArchiveInput.h"
#include "platform/archive/ctlDTMArchive.h"
#include "platform/com/VbText.h"
#include "platform/ctl/RowInput.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateDataElement.h"
#include "platform/rt/UserInfo.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Input.h"
#include "platform/ui/TabStrip.h"
#include "platform/ui/UserControl.h"

namespace dtm::frame {

namespace ui = platform::ui;
namespace ctl = platform::ctl;
namespace vb = platform::com::vb;
using platform::P;
using ui::Quote;

namespace {

struct KeyName {
    const char* name;
    int32_t code;
};
constexpr KeyName kKeys[] = {{"enter", 13}, {"escape", 27}, {"esc", 27}, {"tab", 9},   {"delete", 46},
                             {"up", 38},    {"down", 40},   {"left", 37}, {"right", 39}, {"space", 32}};
constexpr KeyName kShifts[] = {{"shift", 1}, {"ctrl", 2}, {"alt", 4}};

// Every row under `owner` (depth first, in collection order).
void CollectRows(const ui::UserControl& owner, std::vector<P<ctl::ctlParameter>>& rows) {
    for (const auto& child : owner.Controls()) {
        if (auto row = std::dynamic_pointer_cast<ctl::ctlParameter>(child)) rows.push_back(row);
        else if (auto inner = std::dynamic_pointer_cast<ui::UserControl>(child)) CollectRows(*inner, rows);
    }
}

bool Within(const ui::Control& control, const ui::Control& root) {
    for (const ui::Control* c = &control; c; c = c->Container())
        if (c == &root) return true;
    return false;
}

// The text of a raw JSON value of a description: strings unescaped, a
// Variant's "text", anything else as written.
std::string JsonText(const std::string& json) {
    std::string raw = json;
    if (raw.rfind("{\"vt\"", 0) == 0) {
        const size_t at = raw.find("\"text\": ");
        if (at == std::string::npos) return raw;
        raw = raw.substr(at + 8, raw.size() - at - 9);
    }
    if (raw.size() < 2 || raw.front() != '"') return raw;
    std::string text;
    for (size_t i = 1; i + 1 < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 2 >= raw.size()) {
            text += raw[i];
            continue;
        }
        const char e = raw[++i];
        if (e == 'n') text += '\n';
        else if (e == 't') text += '\t';
        else if (e == 'r') text += '\r';
        else if (e == 'u' && i + 4 < raw.size()) {
            text += static_cast<char>(std::strtol(raw.substr(i + 1, 4).c_str(), nullptr, 16));
            i += 4;
        } else text += e;
    }
    return text;
}

// A property of a control for `expect`: the common state, else a member of
// its description ("ro" is a row's readOnly); nothing found answers False.
bool PropertyOf(const ui::Control& control, const std::string& name, std::string& value) {
    const std::string key = vb::LCase(name);
    const auto flag = [](bool on) { return std::string(on ? "true" : "false"); };
    ui::Host* host = control.HostOf();
    if (key == "visible") value = flag(control.EffectiveVisible());
    else if (key == "enabled") value = flag(control.EffectiveEnabled());
    else if (key == "focus") value = flag(host && host->Focus().Focused() == &control);
    else if (key == "path") value = ui::ControlPath(control);
    else {
        ui::Description d;
        control.Describe(d);
        if (key == "kind") {
            value = d.kind;
            return true;
        }
        const std::string wanted = key == "ro" ? "readonly" : key;
        for (const auto& list : {d.props, d.members})
            for (const auto& [prop, json] : list)
                if (vb::LCase(prop) == wanted) {
                    value = JsonText(json);
                    return true;
                }
        return false;
    }
    return true;
}

bool Compare(const std::string& actual, const std::string& op, const std::string& expected, bool& known) {
    known = true;
    if (op == "=" || op == "==") return actual == expected;
    if (op == "!=") return actual != expected;
    if (op == "~") return actual.find(expected) != std::string::npos;
    char* endA = nullptr;
    char* endE = nullptr;
    const double a = std::strtod(actual.c_str(), &endA);
    const double e = std::strtod(expected.c_str(), &endE);
    const bool numbers = !actual.empty() && !expected.empty() && *endA == '\0' && *endE == '\0';
    if (op == "<") return numbers && a < e;
    if (op == ">") return numbers && a > e;
    if (op == "<=") return numbers && a <= e;
    if (op == ">=") return numbers && a >= e;
    known = false;
    return false;
}

// Why a control takes no input at all; "" when it may.
std::string InputRefusal(const ui::Control& control) {
    if (!control.EffectiveVisible()) return "hidden";
    if (!control.EffectiveEnabled()) return "disabled";
    return "";
}

// Why the element did not take the text the row shows after an edit (a wrong
// input or one out of range, marked on the row); "" when it did.
std::string InvalidInput(const ctl::ctlParameter& row) {
    const std::string icon = row.StatusIconKey();
    if (icon != "InputErr" && icon != "RangeErr") return "";
    return "the row shows " + icon + ": " + Quote(row.IconToolTip());
}

// The command that a row of `kind` takes.
std::string RowKindHint(int32_t kind) {
    switch (kind) {
        case ctl::kRowChosenForType10:
        case ctl::kRowValueList: return "a list row: use select";
        case ctl::kRowBitList: return "a bit row: use bits";
        case ctl::kRowCommand: return "a command row: use click";
        default: return "a text row: use type";
    }
}

}  // namespace

void PageScriptInterpreter::Outcome(const std::string& what, bool ok, const std::string& why, const std::string& note) {
    if (ok) {
        Line(what + ": ok" + note);
        return;
    }
    const bool raised = platform::app::ErrorSink::Instance().Errors().size() > errorsSeen_;
    const std::string reason = raised ? "the input raised an error, below" : why.empty() ? "not taken" : why;
    Line(what + ": refused (" + reason + ")" + note);
}

std::string PageScriptInterpreter::RowRefusal(const ctl::ctlParameter& row, const std::string& command) const {
    if (std::string why = InputRefusal(row); !why.empty()) return why;
    if (command == "enter" || command == "cancel") return "no edit in progress";
    if (row.Unbound()) return "no element is bound to the row";
    if (!row.SiteEditable()) return "locked: the data set is locked";
    const bool commandClick = command == "click" && row.ControlType() == ctl::kRowCommand;
    if (row.Locked() && !commandClick) {
        const auto element = std::dynamic_pointer_cast<clsDataElement>(row.Bound());
        const int32_t level = frame_->Ctx().UserInfo()->UserLevel();
        if (element && element->RequiredUserLevel > level)
            return "read-only: needs user level " + std::to_string(element->RequiredUserLevel) + ", the user has " +
                   std::to_string(level);
        return "read-only";
    }
    const int32_t kind = row.ControlType();
    if ((command == "type" || command == "edit") && kind != ctl::kRowNotChosen && kind != ctl::kRowPlain)
        return "not a text row, " + RowKindHint(kind);
    if (command == "select" && kind != ctl::kRowChosenForType10 && kind != ctl::kRowValueList)
        return "not a list row, " + RowKindHint(kind);
    if (command == "select") return "not in the list";
    if (command == "bits" && kind != ctl::kRowBitList) return "not a bit row, " + RowKindHint(kind);
    if (command == "bits") return "a bit index is out of range (0 to 255)";
    return "the row did not take it";
}

P<ui::Control> PageScriptInterpreter::ControlAt(const std::string& path) {
    PageSession& page = Current();
    P<ui::Control> control = path.rfind('@', 0) == 0 ? page.Row(path) : page.Ctl(path == "." ? "" : path);
    if (!control) throw UsageError{"no control " + Quote(path) + " on " + current_};
    return control;
}

P<ctl::ctlParameter> PageScriptInterpreter::RowAt(const std::string& path) {
    auto row = std::dynamic_pointer_cast<ctl::ctlParameter>(ControlAt(path));
    if (!row) throw UsageError{Quote(path) + " is no row"};
    return row;
}

void PageScriptInterpreter::Show(const Args& args) {
    ui::SnapshotOptions options;
    bool json = false;
    std::string path;
    for (const auto& word : args) {
        if (word.text == "--all" && !word.quoted) options.all = true;
        else if (word.text == "--json" && !word.quoted) json = true;
        else if (word.text == "--tips" && !word.quoted) options.tips = true;
        else if (path.empty()) path = word.text;
        else throw UsageError{"usage: show [PATH] [--all] [--json] [--tips]"};
    }
    const auto control = ControlAt(path.empty() ? "." : path);
    out_ << Mask(json ? ui::SnapshotJson(*control) : ui::Snapshot(*control, options));
}

void PageScriptInterpreter::Rows(const Args& args) {
    Need(args, 0, 1, "rows [PATH]");
    const auto root = ControlAt(args.empty() ? "." : args[0].text);
    std::vector<P<ctl::ctlParameter>> rows;
    if (auto row = std::dynamic_pointer_cast<ctl::ctlParameter>(root)) rows.push_back(row);
    else CollectRows(*Current().Page(), rows);
    for (const auto& row : rows) {
        if (!Within(*row, *root)) continue;
        const auto element = row->Bound();
        std::string text = ui::ControlPath(*row) + " @" + (element ? element->Name() : row->parameterTag()) + " " +
                           Quote(row->LabelText()) + " = " + Quote(row->DisplayText());
        if (!row->UnitText().empty()) text += " " + Quote(row->UnitText());
        text += " icon=" + (row->StatusIcon() ? row->StatusIconKey() : std::string("none"));
        if (!element) text += " unbound";
        if (row->ReadOnly()) text += " ro";
        if (row->Editing()) text += " editing";
        if (!row->EffectiveVisible()) text += " hidden";
        Line(text);
    }
}

void PageScriptInterpreter::Type(const Args& args) {
    Need(args, 2, 2, "type PATH TEXT");
    const auto row = RowAt(args[0].text);
    const std::string& text = args[1].text;
    const bool typed = ctl::RowInput::Type(*row, text);
    const int32_t max = row->ValueMaxLength();
    const bool cut = typed && max > 0 && vb::Len(text) > max;
    const bool committed = typed && ctl::RowInput::Commit(*row);
    const std::string invalid = committed ? InvalidInput(*row) : "";
    const bool ok = committed && invalid.empty();
    Outcome("type", ok, ok ? "" : !invalid.empty() ? invalid : RowRefusal(*row, typed ? "enter" : "type"),
            cut ? "; cut to the row's " + std::to_string(max) + " characters" : "");
}

void PageScriptInterpreter::Edit(const Args& args) {
    Need(args, 2, 2, "edit PATH TEXT");
    const auto row = RowAt(args[0].text);
    const bool ok = ctl::RowInput::Type(*row, args[1].text);
    Outcome("edit", ok, ok ? "" : RowRefusal(*row, "edit"));
}

void PageScriptInterpreter::Enter(const Args& args) {
    Need(args, 1, 1, "enter PATH");
    const auto row = RowAt(args[0].text);
    const bool committed = ctl::RowInput::Commit(*row);
    const std::string invalid = committed ? InvalidInput(*row) : "";
    const bool ok = committed && invalid.empty();
    Outcome("enter", ok, ok ? "" : !invalid.empty() ? invalid : RowRefusal(*row, "enter"));
}

void PageScriptInterpreter::Cancel(const Args& args) {
    Need(args, 1, 1, "cancel PATH");
    const auto row = RowAt(args[0].text);
    const bool ok = ctl::RowInput::Cancel(*row);
    Outcome("cancel", ok, ok ? "" : RowRefusal(*row, "cancel"));
}

void PageScriptInterpreter::Select(const Args& args) {
    Need(args, 2, 2, "select PATH N|\"text\"");
    const auto row = RowAt(args[0].text);
    const auto entries = ctl::ParseValueList(row->ValueList());
    const auto unknown = [&](const std::string& what) {
        std::string list;
        for (const auto& entry : entries)
            list += (list.empty() ? "" : ", ") + std::to_string(entry.code) + " " + Quote(entry.text);
        return UsageError{"no " + what + " in " + Quote(args[0].text) + "; " +
                          (list.empty() ? "its list is empty" : "the list has " + list)};
    };
    int64_t code = 0;
    if (args[1].quoted) {
        const auto entry =
            std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.text == args[1].text; });
        if (entry == entries.end()) throw unknown("choice " + Quote(args[1].text));
        code = entry->code;
    } else {
        code = Number(args[1]);
        // A value-list row takes only the codes of its list.
        if (row->ControlType() == ctl::kRowValueList &&
            std::none_of(entries.begin(), entries.end(), [&](const auto& e) { return e.code == code; }))
            throw unknown("code " + args[1].text);
    }
    const bool ok = ctl::RowInput::Select(*row, static_cast<int32_t>(code));
    Outcome("select", ok, ok ? "" : RowRefusal(*row, "select"));
}

void PageScriptInterpreter::Bits(const Args& args) {
    Need(args, 1, 2, "bits PATH i,j");
    std::vector<int32_t> indexes;
    if (args.size() == 2) {
        size_t start = 0;
        const std::string& list = args[1].text;
        while (start <= list.size()) {
            const size_t comma = std::min(list.find(',', start), list.size());
            indexes.push_back(static_cast<int32_t>(Number({list.substr(start, comma - start), false})));
            start = comma + 1;
        }
    }
    const auto row = RowAt(args[0].text);
    const bool ok = ctl::RowInput::SetBits(*row, indexes);
    Outcome("bits", ok, ok ? "" : RowRefusal(*row, "bits"));
}

void PageScriptInterpreter::Key(const Args& args) {
    Need(args, 2, 3, "key PATH KEY [shift|ctrl|alt|N]");
    const auto named = [](const ScriptToken& word, const auto& table) -> int32_t {
        const std::string lower = vb::LCase(word.text);
        if (lower.size() >= 2 && lower[0] == 'f' && lower.find_first_not_of("0123456789", 1) == std::string::npos) {
            const int n = std::atoi(lower.c_str() + 1);
            if (n >= 1 && n <= 12) return 111 + n;
        }
        for (const auto& key : table)
            if (lower == key.name) return key.code;
        return static_cast<int32_t>(Number(word));
    };
    const int32_t code = named(args[1], kKeys);
    const int32_t shift = args.size() == 3 ? named(args[2], kShifts) : 0;
    const int32_t left = ctl::RowInput::Key(*RowAt(args[0].text), code, shift);
    Line("key " + std::to_string(code) + " -> " + std::to_string(left));
}

void PageScriptInterpreter::Menu(const Args& args) {
    Need(args, 2, 2, "menu PATH N");
    const auto row = RowAt(args[0].text);
    const auto item = Number(args[1]);
    if (item < 1 || item > row->MenuItemCount())
        throw UsageError{"no menu item " + args[1].text + "; the row has " + std::to_string(row->MenuItemCount())};
    const bool ok = ctl::RowInput::Menu(*row, static_cast<int32_t>(item));
    Outcome("menu", ok, ok ? "" : RowRefusal(*row, "menu"));
}

void PageScriptInterpreter::Click(const Args& args) {
    Need(args, 1, 2, "click PATH [--yes|--no]");
    const auto control = ControlAt(args[0].text);
    if (args.size() == 2 && args[1].text != "--yes" && args[1].text != "--no")
        throw UsageError{"usage: click PATH [--yes|--no]"};
    // The answer belongs to this click: a question the click raises takes it,
    // and when none came it is dropped, never left for a later question.
    auto& boxes = platform::app::MessageBoxHandler::Instance();
    if (args.size() == 2)
        boxes.QueueQuestionAnswer(args[1].text == "--yes" ? platform::app::kAnswerYes : platform::app::kAnswerNo);
    const auto row = std::dynamic_pointer_cast<ctl::ctlParameter>(control);
    bool ok = false;
    try {
        ok = row ? ctl::RowInput::Click(*row) : ui::Input::Click(*control);
    } catch (...) {
        boxes.DropQuestionAnswers();
        throw;
    }
    const std::string why = ok ? "" : row ? RowRefusal(*row, "click") : InputRefusal(*control);
    const std::string unused = boxes.DropQuestionAnswers().empty()
                                   ? ""
                                   : "; no question came, the answer " + args[1].text + " is dropped";
    Outcome("click", ok, why, unused);
}

void PageScriptInterpreter::Check(const Args& args) {
    Need(args, 2, 2, "check PATH on|off");
    const std::string& path = args[0].text;
    const bool on = OnOff(args[1]);
    // A curve of an archive control is its path and the curve's index ("ctlDTMArchive.2").
    const size_t dot = path.rfind('.');
    if (!Current().Ctl(path) && dot != std::string::npos) {
        if (auto archive = std::dynamic_pointer_cast<platform::archive::ctlDTMArchive>(Current().Ctl(path.substr(0, dot)))) {
            const auto index = static_cast<int16_t>(Number({path.substr(dot + 1), false}, 0, 31));
            std::string why = InputRefusal(*archive);
            if (why.empty() && !archive->Editable()) why = "locked: the data set is locked";
            if (why.empty()) why = "no curve " + std::to_string(index) + ", or the curves are not set up";
            Outcome("check", platform::archive::ArchiveInput::CheckCurve(*archive, index, on), why);
            return;
        }
    }
    auto box = std::dynamic_pointer_cast<ui::CheckBox>(ControlAt(path));
    if (!box) throw UsageError{Quote(path) + " is no check box"};
    Outcome("check", ui::Input::Check(*box, on), InputRefusal(*box));
}

void PageScriptInterpreter::Tab(const Args& args) {
    Need(args, 2, 2, "tab PATH N");
    auto strip = std::dynamic_pointer_cast<ui::TabStrip>(ControlAt(args[0].text));
    if (!strip) throw UsageError{Quote(args[0].text) + " is no tab strip"};
    const auto tab = Number(args[1]);
    if (tab < 1 || tab > strip->Tabs().Count())
        throw UsageError{"no tab " + args[1].text + "; the strip has " + std::to_string(strip->Tabs().Count())};
    Outcome("tab", ui::Input::ClickTab(*strip, static_cast<int32_t>(tab)), InputRefusal(*strip));
}

void PageScriptInterpreter::Focus(const Args& args) {
    Need(args, 1, 1, "focus PATH");
    const auto control = ControlAt(args[0].text);
    const std::string why = InputRefusal(*control);
    Outcome("focus", ui::Input::Focus(*control), why.empty() ? "the control takes no focus" : why);
}

void PageScriptInterpreter::Find(const Args& args) {
    Need(args, 1, 1, "find TAG");
    const auto navigation = std::dynamic_pointer_cast<IPrivateNavigation>(Current().Page());
    if (!navigation) throw UsageError{current_ + " has no parameter search"};
    // The frame names its top page "", as when it shows a control path.
    const auto hits = navigation->FindParameters(args[0].text, "");
    const int32_t count = hits ? hits->Count() : 0;
    Line("find " + Quote(args[0].text) + ": " + std::to_string(count) + (count == 1 ? " row" : " rows"));
    if (!hits) return;
    for (const auto& hit : *hits)
        if (const auto item = std::dynamic_pointer_cast<clsSearchItem>(hit.ObjRef())) Line("  " + item->Pfad);
}

void PageScriptInterpreter::Keys(const Args& args) {
    Need(args, 0, 0, "keys");
    const auto navigation = std::dynamic_pointer_cast<IPrivateNavigation>(Current().Page());
    if (!navigation) throw UsageError{current_ + " has no caption keys"};
    const auto keys = navigation->GetDictKeys("");
    if (!keys) return;
    for (const auto& key : *keys)
        if (const auto item = std::dynamic_pointer_cast<clsSearchItem>(key.ObjRef()))
            Line(item->Pfad + " " + Quote(item->DictKey) + " " + item->ItemType);
}

void PageScriptInterpreter::Expect(const Args& args) {
    Need(args, 4, 4, "expect PATH|state PROP OP VALUE");
    std::string actual;
    if (args[0].text == "state" && !args[0].quoted) {
        const auto state = DataSetState();
        const auto it = state.find(vb::LCase(args[1].text));
        if (it == state.end()) throw UsageError{"the state has no property " + Quote(args[1].text)};
        actual = it->second;
    } else if (!PropertyOf(*ControlAt(args[0].text), args[1].text, actual)) {
        throw UsageError{Quote(args[0].text) + " has no property " + Quote(args[1].text)};
    }
    bool known = false;
    const bool ok = Compare(actual, args[2].text, args[3].text, known);
    if (!known) throw UsageError{"unknown operator " + Quote(args[2].text) + " (= != ~ < > <= >=)"};
    if (ok) {
        Line("expect ok");
        return;
    }
    ++expectFailures_;
    Line("expect FAILED: " + args[0].text + " " + args[1].text + " is " + Quote(actual) + ", not " + args[2].text +
         " " + Quote(args[3].text));
}

}  // namespace dtm::frame
