// SPDX-License-Identifier: MIT
// The report of a command line that cannot be accepted, with its beep and pause.
#include "core/report.h"

#include <utility>

#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"
#include "platform/platform.h"

namespace core {
namespace {

std::function<std::string()> MakeCommandLine;  ///< set until the command line is made

}  // namespace

// ResetReport gives them their starting values.
bool ErrorDelay;
bool AudibleError;
std::string ExecutionPath;
std::string detail::CommandLineText;

// Outside any run: whoever points it elsewhere keeps it so across runs.
TPauseServices PauseServices;

namespace {

// The report's settings, each with its starting value: the one list that the reset and the
// frame's check before a run read.
const auto Settings = [](auto visit) {
  visit("ErrorDelay", ErrorDelay, false);
  visit("AudibleError", AudibleError, false);
};
// Before the first run too, so that the frame can tell a setting that a tool made before it.
[[maybe_unused]] const bool SettingsAtStart = (detail::RestoreSettings(Settings), true);

}  // namespace

void detail::NameChangedReportSettings(std::vector<std::string_view>& names) {
  NameChangedSettings(Settings, names);
}

void detail::ResetReport() {
  detail::RestoreSettings(Settings);
  ExecutionPath = std::string();
  detail::CommandLineText = std::string();
  MakeCommandLine = nullptr;
}

namespace {

constexpr int WaitStepMilliseconds = 250;

// Watching the keyboard puts the terminal in a special mode; it must end on every way out of
// the wait, a failed write included.
class TKeyWatchGuard {
 public:
  TKeyWatchGuard() { platform::StartKeyWatch(); }
  ~TKeyWatchGuard() { platform::StopKeyWatch(); }
  TKeyWatchGuard(const TKeyWatchGuard&) = delete;
  TKeyWatchGuard& operator=(const TKeyWatchGuard&) = delete;
};

void Report(std::string_view message_line, bool error_delay, bool audible_error) {
  // What a buffered run's output holds goes first: Write hands it over before anything on
  // standard error.
  OutputChannel = ErrorChannel;
  WriteLineAndEmptyLine(ErrorChannel, "Invalid or Incomplete Syntax!");
  if (MakeCommandLine) {
    detail::CommandLineText = MakeCommandLine();
    MakeCommandLine = nullptr;
  }
  // The path, the command line and the lists in the message are the user's bytes, which a
  // script may pass on from anywhere: on a terminal an escape sequence among them would act
  // (retitle it, clear it, hide text), so there every control character, C1 included, is
  // shown visibly. A file or a pipe gets them exactly as they are.
  const bool terminal = ErrorChannel.Buffer == nullptr && platform::IsTerminal(ErrorChannel.Stream);
  const auto shown = [terminal](std::string_view text) {
    return terminal ? detail::ShowControls(text, platform::FindControls(text)) : std::string(text);
  };
  std::string place = "Execution Path ... ";
  place.append(shown(ExecutionPath)).append(LineEnd);
  place.append("You entered ...... ").append(shown(detail::CommandLineText));
  WriteLine(ErrorChannel, place);
  WriteMessageBlock(shown(message_line));
  if (audible_error) (PauseServices.Beep != nullptr ? PauseServices.Beep : platform::Beep)();
  if (error_delay) WaitForAnyKey(30, "Press Any Key to Continue...");
}

}  // namespace

std::string detail::JoinCommandLine(std::string_view invoked, const TStringArray& arguments) {
  return detail::JoinCommandLine(
      invoked, arguments, [](const std::string& argument) -> std::string_view { return argument; });
}

void detail::StartReport(std::string_view executable_path, std::string command_line,
                         std::function<std::string()> make_command_line) {
  detail::ResetReport();
  ExecutionPath = QuoteIfNeeded(DirectoryOf(executable_path));
  detail::CommandLineText = std::move(command_line);
  MakeCommandLine = std::move(make_command_line);
}

void WriteDividerLine(int length, bool add_empty_line) {
  std::string line(static_cast<std::size_t>(length > 0 ? length : 0), '-');
  if (add_empty_line) line.append(LineEnd);
  WriteLine(OutputChannel, line);
}

void WriteMessageBlock(std::string_view message) {
  std::string block(LineEnd);
  block.append(message).append(LineEnd);
  WriteLine(ErrorChannel, block);
}

void ReportSyntaxError(std::string_view message, bool error_delay, bool audible_error) {
  Report(message, error_delay, audible_error);
}

void ReportSyntaxErrorSeeBelow(std::string_view message, bool error_delay, bool audible_error) {
  std::string line(message);
  if (line.empty() || line.back() != ' ') line.push_back(' ');
  line.append("(See Syntax Definition Below)");
  Report(line, error_delay, audible_error);
}

void WaitForAnyKey(int steps, std::string_view prompt) {
  {
    const TKeyWatchGuard watch;
    Write(OutputChannel, prompt);
    int count = 0;
    do {
      if (platform::KeyPressed()) break;
      (PauseServices.Sleep != nullptr ? PauseServices.Sleep
                                      : platform::SleepMilliseconds)(WaitStepMilliseconds);
      Write(OutputChannel, ".");
      ++count;
    } while (count < steps);
  }
  Write(OutputChannel, LineEnd, LineEnd);
}

}  // namespace core
