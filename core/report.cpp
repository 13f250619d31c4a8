// SPDX-License-Identifier: MIT
// Straight-through text channels: every write reaches the system before the call returns.
#include "core/report.h"

#include <utility>

namespace core {

TTextChannel OutputChannel{platform::stdOutput, nullptr};
TTextChannel ErrorChannel{platform::stdError, nullptr};
bool ErrorDelay = false;
bool AudibleError = false;

void FatalWriteError(const TTextChannel& channel, std::string reason) {
  throw TWriteFailure{channel.Stream, std::move(reason)};
}

void Write(const TTextChannel& channel, std::string_view text, std::string_view tail) {
  if (channel.Buffer != nullptr) {
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
  if (!platform::WriteAll(channel.Stream, whole, reason)) FatalWriteError(channel, std::move(reason));
}

}  // namespace core
