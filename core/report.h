// SPDX-License-Identifier: MIT
// The library's two text channels and the one fatal error of a run: a write that fails.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/text.h"
#include "platform/platform.h"

namespace core {

/// The line end on every channel and every platform.
inline constexpr std::string_view LineEnd = "\r\n";
/// The line end twice: a line, then an empty line.
inline constexpr std::string_view EmptyLineAfter = "\r\n\r\n";

/// Where a channel's text goes: a standard stream, or, when `Buffer` is set, that buffer (tests
/// and in-process runs).
struct TTextChannel {
  platform::TStdStream Stream = platform::stdOutput;
  std::string* Buffer = nullptr;
  /// Most bytes `Buffer` may hold: a write that does not fit fails as on a full disk, so that
  /// in-process runs can meet a failed write too.
  std::size_t Capacity = std::string::npos;
};

// The report's variables, from start-up to shutdown; ResetReport gives them their starting
// values, and nothing else does.

/// Results and help; bound to standard output at start-up.
extern TTextChannel OutputChannel;
/// Banner, build line and syntax report; bound to standard error at start-up.
extern TTextChannel ErrorChannel;

/// The report's two error modes: a pause after it and a beep; false at start-up, set by the
/// program from its switches.
extern bool ErrorDelay;
extern bool AudibleError;

/// The directory of the running executable, quoted when needed; set at start-up.
extern std::string ExecutionPath;
/// The command line as the user entered it, program included; set at start-up where the
/// system keeps one, else made by the report when it first shows it.
extern std::string CommandLineText;

/// The system services behind the pause and the beep. In-process runs with no one at the
/// terminal (the fuzzers) point them elsewhere; start-up and shutdown leave them as they are.
struct TPauseServices {
  void (*Sleep)(int milliseconds) = platform::SleepMilliseconds;
  void (*Beep)() = platform::Beep;
};
extern TPauseServices PauseServices;

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

/// Starts the channels and the report for a run: binds the channels, sets ExecutionPath from
/// the full path of the running executable and CommandLineText to `command_line`. Where the
/// system keeps no command line, `make_command_line` makes it when the report first shows it,
/// which most runs never do.
void StartReport(const TTextChannel& output, const TTextChannel& error,
                 std::string_view executable_path, std::string command_line,
                 std::function<std::string()> make_command_line);
/// Gives every variable of the module its starting value and releases what it holds;
/// PauseServices stays as it is.
void ResetReport();

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

/// Thrown, through `FatalWriteError` only, when a channel's write fails; the run ends with it.
struct TWriteFailure {
  platform::TStdStream Stream;
  std::string Reason;
};

/// Ends the run because a write to `channel` failed for `reason`.
[[noreturn]] void FatalWriteError(const TTextChannel& channel, std::string reason);

/// Writes `text` and then `tail` in one operation that reaches the system before it returns; a
/// failure ends the run through `FatalWriteError`.
void Write(const TTextChannel& channel, std::string_view text, std::string_view tail = {});

/// Writes `text` followed by the line end.
inline void WriteLine(const TTextChannel& channel, std::string_view text) {
  Write(channel, text, LineEnd);
}

/// Writes `text`, the line end as text and the line end: the line and an empty line after it.
inline void WriteLineAndEmptyLine(const TTextChannel& channel, std::string_view text) {
  Write(channel, text, EmptyLineAfter);
}

}  // namespace core
