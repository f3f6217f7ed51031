#pragma once
// The command language of the command-line frame's `pages` subcommand: one
// command per line, read from a stream, each result and what happened
// meanwhile (message boxes, trapped errors, frame events) written to another.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace dtm::frame {

struct PageScriptOptions {
    std::string device = "RXD 218";
    int32_t userLevel = 3;
    int32_t lcid = 1033;
    bool online = false;  // connect before the first command
    bool echo = false;    // write each command line ("> line") before its result
    bool strict = false;  // exit code 2 when an error was trapped or a save or load refused
    // The component's module, which `save` does not replace ("" for none).
    std::string moduleFile;
};

// Exit codes of a run.
inline constexpr int kScriptOk = 0;
inline constexpr int kScriptExpectFailed = 1;
inline constexpr int kScriptErrorTrapped = 2;  // with strict; a load whose instance did not start
inline constexpr int kScriptCommandError = 3;  // a line that is no command or a wrong use of one
inline constexpr int kScriptBadOption = 2;     // an option the DTM does not take: nothing ran

// Runs every command of `in`; answers the exit code (3 before 2 before 1). A
// refused save or load and a load whose instance did not start are said on
// `err` too. The run stops when `out` can no longer be written. An option the
// DTM does not take (a language its dictionary does not have) runs nothing:
// `badOption` says why and the answer is kScriptBadOption.
int RunPageScript(std::istream& in, std::ostream& out, const PageScriptOptions& options, std::string& badOption,
                  std::ostream* err = nullptr);

// The refusal of an option given last without its value, e.g. "bad option
// --script: its value FILE is missing".
std::string MissingOptionValue(const std::string& option, const std::string& value);

// The options of the `pages` subcommand; False with `error` set on bad ones.
bool ParsePageScriptArgs(const std::vector<std::string>& args, PageScriptOptions& options, std::string& scriptFile,
                         std::string& error);

}  // namespace dtm::frame
