// SPDX-License-Identifier: MIT
// The plain data that crosses the platform layer and that the library's public operations name;
// the services themselves (platform.h) are the library's own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

/// The two standard streams a text channel can be bound to.
enum TStdStream : std::uint8_t { stdOutput, stdError };

/// A character of a text that a terminal would take for a control: where its bytes lie, and
/// which control it is (its code point: 0x00 to 0x1F and 0x7F for C0 and DEL, 0x80 to 0x9F for
/// C1; under a single-byte locale, the byte).
struct TControlRec {
  std::size_t Offset = 0;
  std::size_t Size = 0;
  std::uint8_t Code = 0;
  bool operator==(const TControlRec&) const = default;
};

}  // namespace platform
