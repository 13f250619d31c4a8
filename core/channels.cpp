// SPDX-License-Identifier: MIT
// The text channels: every write reaches the system, or the buffer, before the call returns.
#include "core/channels.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "core/settings.h"
#include "platform/platform.h"

namespace core {

namespace {

constexpr std::string_view CrLf = "\r\n";

// A buffered run's output, held until the buffer fills, the error channel is written or the run
// ends. A fixed buffer, so that running out of memory can still hand it over before the
// process ends.
std::array<char, 64 * 1024> Pending;
std::size_t PendingSize = 0;
TTextChannel PendingChannel;  // where the held bytes go
bool OutputBuffered = false;
bool OutputDropped = false;  // a write of the output failed: nothing more is written there

// Hands `text` and `tail` to the channel's destination at once.
void Deliver(const TTextChannel& channel, std::string_view text, std::string_view tail) {
  if (channel.Buffer != nullptr) {
    const std::size_t held = channel.Buffer->size();
    if (held > channel.Capacity || text.size() + tail.size() > channel.Capacity - held) {
      detail::FatalWriteError(channel, "No space left in the buffer");
    }
    channel.Buffer->append(text);
    channel.Buffer->append(tail);
    return;
  }
  std::string reason;
  if (!platform::WriteAll(channel.Stream, text, tail, reason)) {
    detail::FatalWriteError(channel, std::move(reason));
  }
}

// The output of a buffered run, delivered; a failure drops it for the rest of the run.
void DeliverOutput(const TTextChannel& channel, std::string_view text, std::string_view tail) {
  try {
    Deliver(channel, text, tail);
  } catch (const TWriteFailure&) {
    OutputDropped = true;
    throw;
  }
}

}  // namespace

// Defined bare: ResetChannels alone gives them their starting values.
TTextChannel OutputChannel;
TTextChannel ErrorChannel;
std::string_view LineEnd;

namespace {

// The channels' setting with its starting value: the one list that the reset and the frame's
// check before a run read.
const auto Settings = [](auto visit) { visit("LineEnd", LineEnd, CrLf); };
// Before any run too: the out-of-memory line may need it, and the frame tells one that a tool
// made before its run.
[[maybe_unused]] const bool SettingsAtStart = (detail::RestoreSettings(Settings), true);

}  // namespace

void detail::NameChangedChannelSettings(std::vector<std::string_view>& names) {
  NameChangedSettings(Settings, names);
}

void detail::StartChannels(const TTextChannel& output, const TTextChannel& error) {
  OutputChannel = output;
  ErrorChannel = error;
}

void detail::ResetChannels() {
  OutputChannel = TTextChannel{platform::stdOutput};
  ErrorChannel = TTextChannel{platform::stdError};
  detail::RestoreSettings(Settings);
  PendingSize = 0;
  PendingChannel = TTextChannel{};
  OutputBuffered = OutputDropped = false;
}

void detail::BufferOutput() {
  // On a terminal a line shows as it is written, as people at it expect.
  const bool terminal =
      OutputChannel.Buffer == nullptr && platform::IsTerminal(OutputChannel.Stream);
  OutputBuffered = !terminal;
}

std::string_view detail::PendingOutput() {
  if (PendingChannel.Buffer != nullptr || PendingChannel.Stream != platform::stdOutput) return {};
  return {Pending.data(), PendingSize};
}

void FlushOutput() {
  if (PendingSize == 0) return;
  const std::string_view held(Pending.data(), PendingSize);
  PendingSize = 0;
  DeliverOutput(PendingChannel, held, {});
}

void detail::FatalWriteError(const TTextChannel& channel, std::string reason) {
  throw TWriteFailure{channel.Stream, std::move(reason)};
}

void Write(const TTextChannel& channel, std::string_view text, std::string_view tail) {
  // Unbuffered, nothing is ever held: every write goes at once, in order.
  if (!OutputBuffered) {
    Deliver(channel, text, tail);
    return;
  }
  if (channel.Stream == platform::stdError) {
    // What the output holds comes first, as it would have unbuffered.
    FlushOutput();
    Deliver(channel, text, tail);
    return;
  }
  if (OutputDropped) return;
  const std::size_t size = text.size() + tail.size();
  const bool elsewhere = channel.Stream != PendingChannel.Stream ||
                         channel.Buffer != PendingChannel.Buffer ||
                         channel.Capacity != PendingChannel.Capacity;
  if (elsewhere || PendingSize + size > Pending.size()) FlushOutput();
  if (size > Pending.size()) {
    DeliverOutput(channel, text, tail);
    return;
  }
  PendingChannel = channel;
  std::copy(text.begin(), text.end(), Pending.begin() + static_cast<std::ptrdiff_t>(PendingSize));
  PendingSize += text.size();
  std::copy(tail.begin(), tail.end(), Pending.begin() + static_cast<std::ptrdiff_t>(PendingSize));
  PendingSize += tail.size();
}

void WriteLineAndEmptyLine(const TTextChannel& channel, std::string_view text) {
  std::string line(text);
  line.append(LineEnd);
  Write(channel, line, LineEnd);
}

}  // namespace core
