// SPDX-License-Identifier: MIT
// The text channels: every write reaches the system, or the buffer, before the call returns.
#include "core/channels.h"

#include "core/internal.h"

#include <utility>

namespace core {

namespace {

constexpr std::string_view CrLf = "\r\n";

}  // namespace

// Defined bare: ResetChannels alone gives them their starting values.
TTextChannel OutputChannel;
TTextChannel ErrorChannel;
// Not bare: the out-of-memory line may need it before any run has started.
std::string_view LineEnd = CrLf;

void StartChannels(const TTextChannel& output, const TTextChannel& error) {
  OutputChannel = output;
  ErrorChannel = error;
}

void ResetChannels() {
  OutputChannel = TTextChannel{platform::stdOutput};
  ErrorChannel = TTextChannel{platform::stdError};
  LineEnd = CrLf;
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

void WriteLineAndEmptyLine(const TTextChannel& channel, std::string_view text) {
  std::string line(text);
  line.append(LineEnd);
  Write(channel, line, LineEnd);
}

}  // namespace core
