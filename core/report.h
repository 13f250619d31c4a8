// SPDX-License-Identifier: MIT
// The report of a command line that cannot be accepted, with its beep and pause, and the texts
// it shows: the execution path and the command line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels.h"
#include "core/text.h"

namespace core {

// The report's variables, from start-up to shutdown; ResetReport gives them their starting
// values, and nothing else does.

/// The report's two error modes: a pause after it and a beep; false at start-up, set by the
/// program from its switches.
extern bool ErrorDelay;    ///< pause after the report
extern bool AudibleError;  ///< beep after the report

/// The directory of the running executable, quoted when needed; set at start-up.
extern std::string ExecutionPath;
/// The system services behind the pause and the beep. In-process runs with no one at the
/// terminal (the fuzzers) point them elsewhere; start-up and shutdown leave them as they are.
struct TPauseServices {
  void (*Sleep)(int milliseconds) = nullptr;  ///< none: the system's own
  void (*Beep)() = nullptr;                   ///< none: the system's own
};
extern TPauseServices PauseServices;  ///< the services that the pause and the beep use

/// Writes `length` hyphens (none when it is not positive), an empty line when
/// `add_empty_line`, and ends the line, on OutputChannel.
void WriteDividerLine(int length, bool add_empty_line);

/// Writes an empty line, `message` and another empty line on ErrorChannel.
void WriteMessageBlock(std::string_view message);

/// The report of a command line that cannot be accepted, on standard error: title, execution
/// path, command line and `message`, then the beep and the pause when asked for. From here on
/// OutputChannel writes to standard error too.
void ReportSyntaxError(std::string_view message, bool error_delay, bool audible_error);

/// The same report, its message line pointing to the syntax definition that follows it.
void ReportSyntaxErrorSeeBelow(std::string_view message, bool error_delay, bool audible_error);

/// Writes `prompt` and then a dot every 250 ms until a key is pressed or `steps` dots are out
/// (at least one); keys typed before the wait and the key that ends it are discarded.
void WaitForAnyKey(int steps, std::string_view prompt);

namespace detail {

/// The command line as the user entered it, program included; set at start-up where the
/// system keeps one, else made by the report when it first shows it.
extern std::string CommandLineText;

/// The command-line text for a system that keeps only the argument list: the program as
/// invoked, then each argument (`text_of` gives its text), every element quoted when needed,
/// joined by single spaces.
template <typename Arguments, typename TextOf>
std::string JoinCommandLine(std::string_view invoked, const Arguments& arguments, TextOf text_of) {
  std::size_t size = QuotedSize(invoked);
  for (const auto& argument : arguments) size += 1 + QuotedSize(text_of(argument));
  std::string text;
  text.reserve(size);
  AppendQuotedIfNeeded(text, invoked);
  for (const auto& argument : arguments) {
    text.push_back(' ');
    AppendQuotedIfNeeded(text, text_of(argument));
  }
  return text;
}
/// The same for arguments that are texts themselves.
std::string JoinCommandLine(std::string_view invoked, const TStringArray& arguments);

/// Starts the report for a run: sets ExecutionPath from the full path of the running executable
/// and CommandLineText to `command_line`. Where the system keeps no command line,
/// `make_command_line` makes it when the report first shows it, which most runs never do.
void StartReport(std::string_view executable_path, std::string command_line,
                 std::function<std::string()> make_command_line);
/// Gives every variable of the module its starting value and releases what it holds;
/// PauseServices stays as it is.
void ResetReport();

/// Adds to `names` the name of each of the module's settings that differs from its starting
/// value: what a tool set before its run, which start-up would undo.
void NameChangedReportSettings(std::vector<std::string_view>& names);

}  // namespace detail
}  // namespace core
