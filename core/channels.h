// SPDX-License-Identifier: MIT
// The library's two text channels, whose every write reaches the system before the call returns,
// and the one error a write can end a run with.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace core {

/// The line end of every line the library writes, on every platform: CR LF, unless the tool
/// that the frame runs chooses another (TToolRec::LineEnd, core/frame.h), from the start of its
/// run to shutdown, which gives it CR LF again.
extern std::string_view LineEnd;

/// Where a channel's text goes: a standard stream, or, when `Buffer` is set, that buffer (tests
/// and in-process runs).
struct TTextChannel {
  platform::TStdStream Stream = platform::stdOutput;
  std::string* Buffer = nullptr;
  /// Most bytes `Buffer` may hold: a write that does not fit fails as on a full disk, so that
  /// in-process runs can meet a failed write too.
  std::size_t Capacity = std::string::npos;
};

// The channels, from start-up to shutdown; start-up binds them, shutdown gives them their
// starting values, and nothing else does.

/// Results and help; bound to standard output at start-up. The syntax report binds it to
/// standard error for the rest of the run.
extern TTextChannel OutputChannel;
/// Banner, build line and syntax report; bound to standard error at start-up.
extern TTextChannel ErrorChannel;

/// Thrown by every write that fails (a full disk, a closed terminal; a buffer past its
/// Capacity); the run frame (core/frame.h) ends the run with it: one line on standard error,
/// unless that is what failed, and exit code 74. A closed pipe ends the process by SIGPIPE
/// before any write can fail, as it ends any filter, unless the program ignores that signal.
struct TWriteFailure {
  platform::TStdStream Stream;  ///< the stream that failed
  std::string Reason;           ///< the system's reason, in words
};

/// Writes `text` and then `tail` in one operation that reaches the system before it returns,
/// unless the tool's output is buffered (TToolRec::BufferedOutput, core/frame.h): then what goes
/// to standard output is held, and handed over when the buffer is full, before anything is
/// written on standard error, and at the end of the run. Throws TWriteFailure when it fails;
/// buffered output that failed once is dropped, and nothing more is written there.
void Write(const TTextChannel& channel, std::string_view text, std::string_view tail = {});

/// Hands the buffered output over now, as before a prompt that waits for input. Throws
/// TWriteFailure when it fails.
void FlushOutput();

/// Writes `text` followed by the line end. Throws TWriteFailure when it fails.
inline void WriteLine(const TTextChannel& channel, std::string_view text) {
  Write(channel, text, LineEnd);
}

/// Writes `text` and the line end twice: the line and an empty line after it, in one operation.
/// Throws TWriteFailure when it fails.
void WriteLineAndEmptyLine(const TTextChannel& channel, std::string_view text);

namespace detail {

/// Binds the channels for a run.
void StartChannels(const TTextChannel& output, const TTextChannel& error);
/// Binds them to the standard streams again, and gives LineEnd CR LF again.
void ResetChannels();
/// Makes standard output buffered for the rest of the run, unless it is a terminal.
void BufferOutput();
/// What buffered standard output holds, not yet written: for the end of a run out of memory,
/// which must hand it over without allocating. Empty where the output is bound to a text.
std::string_view PendingOutput();
/// Ends the run because a write to `channel` failed for `reason`: throws TWriteFailure.
[[noreturn]] void FatalWriteError(const TTextChannel& channel, std::string reason);

/// Adds to `names` the name of each of the module's settings that differs from its starting
/// value: what a tool set before its run, which start-up would undo.
void NameChangedChannelSettings(std::vector<std::string_view>& names);

}  // namespace detail
}  // namespace core
