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
std::optional<std::string> InvokedName;
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

template <typename Arguments, typename TextOf>
std::string Join(std::string_view invoked, const Arguments& arguments, TextOf text_of) {
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

void Report(std::string_view message_line, bool error_delay, bool audible_error) {
  OutputChannel = ErrorChannel;
  Write(ErrorChannel, "Invalid or Incomplete Syntax!\r\n", LineEnd);
  if (InvokedName) {
    CommandLineText = Join(*InvokedName, ParamStatus, [](const TParamStatusRec& entry) {
      return std::string_view(entry.Param);
    });
    InvokedName.reset();
  }
  // The path, the command line and the lists in the message are the user's bytes, which a
  // script may pass on from anywhere: on a terminal an escape sequence among them would act
  // (retitle it, clear it, hide text), so there they are shown in caret notation. A file or a
  // pipe gets them exactly as they are.
  const bool terminal = ErrorChannel.Buffer == nullptr && platform::IsTerminal(ErrorChannel.Stream);
  const auto shown = [terminal](std::string_view text) {
    return terminal ? CaretNotation(text) : std::string(text);
  };
  std::string place = "Execution Path ... ";
  place.append(shown(ExecutionPath)).append(LineEnd);
  place.append("You entered ...... ").append(shown(CommandLineText));
  WriteLine(ErrorChannel, place);
  WriteMessageBlock(shown(message_line));
  if (audible_error) PauseServices.Beep();
  if (error_delay) WaitForAnyKey(30, "Press Any Key to Continue...");
}

}  // namespace

std::string JoinCommandLine(std::string_view invoked, const TStringArray& arguments) {
  return Join(invoked, arguments,
              [](const std::string& argument) -> std::string_view { return argument; });
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
  std::string reason;
  if (!platform::WriteAll(channel.Stream, text, tail, reason)) {
    FatalWriteError(channel, std::move(reason));
  }
}

}  // namespace core
