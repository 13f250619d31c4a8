// SPDX-License-Identifier: MIT
// Straight-through text channels: every write reaches the system before the call returns.
#include "core/report.h"

#include <utility>

namespace core {

TTextChannel OutputChannel{platform::stdOutput, nullptr};
TTextChannel ErrorChannel{platform::stdError, nullptr};
bool ErrorDelay = false;
bool AudibleError = false;
std::string ExecutionPath;
std::string CommandLineText;
TPauseServices PauseServices;

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
  OutputChannel = ErrorChannel;
  Write(ErrorChannel, "Invalid or Incomplete Syntax!\r\n", LineEnd);
  std::string place = "Execution Path ... ";
  place.append(ExecutionPath).append(LineEnd);
  place.append("You entered ...... ").append(CommandLineText);
  WriteLine(ErrorChannel, place);
  WriteMessageBlock(message_line);
  if (audible_error) PauseServices.Beep();
  if (error_delay) WaitForAnyKey(30, "Press Any Key to Continue...");
}

}  // namespace

std::string JoinCommandLine(std::string_view invoked, const TStringArray& arguments) {
  std::size_t size = invoked.size() + 2;
  for (const std::string& argument : arguments) size += argument.size() + 3;
  std::string text;
  text.reserve(size);
  AppendQuotedIfNeeded(text, invoked);
  for (const std::string& argument : arguments) {
    text.push_back(' ');
    AppendQuotedIfNeeded(text, argument);
  }
  return text;
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
      PauseServices.Sleep(WaitStepMilliseconds);
      Write(OutputChannel, ".");
      ++count;
    } while (count < steps);
  }
  Write(OutputChannel, LineEnd, LineEnd);
}

void FatalWriteError(const TTextChannel& channel, std::string reason) {
  throw TWriteFailure{channel.Stream, std::move(reason)};
}

void Write(const TTextChannel& channel, std::string_view text, std::string_view tail) {
  if (channel.Buffer != nullptr) {
    const std::size_t held = channel.Buffer->size();
    if (held > channel.Capacity || text.size() + tail.size() > channel.Capacity - held) {
      FatalWriteError(channel, "No space left in the buffer");
    }
    channel.Buffer->append(text);
    channel.Buffer->append(tail);
    return;
  }
  // A result and its separator leave in one system call, so that a reader on a pipe never sees
  // one without the other.
  static std::string joined;
  std::string_view whole = text;
  if (!tail.empty()) {
    joined.assign(text);
    joined.append(tail);
    whole = joined;
  }
  std::string reason;
  if (!platform::WriteAll(channel.Stream, whole, reason))
    FatalWriteError(channel, std::move(reason));
}

}  // namespace core
