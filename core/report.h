// SPDX-License-Identifier: MIT
// The library's two text channels and the one fatal error of a run: a write that fails.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace core {

/// The line end on every channel and every platform.
inline constexpr std::string_view LineEnd = "\r\n";

/// Where a channel's text goes: a standard stream, or, when `Buffer` is set, that buffer (tests
/// and in-process runs).
struct TTextChannel {
  platform::TStdStream Stream = platform::stdOutput;
  std::string* Buffer = nullptr;
};

/// Results and help; bound to standard output at start-up.
extern TTextChannel OutputChannel;
/// Banner, build line and syntax report; bound to standard error at start-up.
extern TTextChannel ErrorChannel;

/// The report's two error modes: a pause after it and a beep; false at start-up, set by the
/// program from its switches.
extern bool ErrorDelay;
extern bool AudibleError;

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

}  // namespace core
