// SPDX-License-Identifier: MIT
// The platform services that every system shares, built on the system's own in platform_*.cpp.
#include "platform/platform.h"

#include <cstddef>
#include <cstdint>

namespace platform {

std::span<char* const> ArgumentList(int argc, char** argv) {
  if (argc < 2 || argv == nullptr) return {};
  return {argv + 1, static_cast<std::size_t>(argc - 1)};
}

bool IsControlCode(std::uint32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

TControlArray FindUtf8Controls(std::string_view text) {
  TControlArray controls;
  const auto byte_at = [text](std::size_t at) -> unsigned char {
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0U;
  };
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char lead = byte_at(at);
    // The length of a well-formed sequence: no overlong form, no surrogate, nothing beyond
    // U+10FFFF. A byte that starts none stands alone.
    std::size_t size = 1;
    if (lead >= 0xC2 && lead <= 0xF4) {
      const unsigned char second = byte_at(at + 1);
      const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
      const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
      const std::size_t wanted = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      std::size_t got = second >= low && second <= high ? 2 : 1;
      while (got > 1 && got < wanted && (byte_at(at + got) & 0xC0) == 0x80) ++got;
      if (got == wanted) size = wanted;
    }
    // U+0080 to U+009F are C2 80 to C2 9F: the code point is the second byte.
    if (size == 1 && IsControlCode(lead)) {
      controls.push_back({at, 1, lead});
    } else if (size == 2 && lead == 0xC2 && IsControlCode(byte_at(at + 1))) {
      controls.push_back({at, 2, byte_at(at + 1)});
    }
    at += size;
  }
  return controls;
}

std::string ExecutablePath(std::string_view fallback) {
  // A path that does not fit is asked for again with twice the room, up to 64 KiB, longer than
  // any path a system hands out.
  std::string buffer(256, '\0');
  for (;;) {
    const std::string_view path = ExecutablePathInto(buffer);
    if (!path.empty()) return std::string(path);
    if (buffer.size() >= 64 * 1024) return std::string(fallback);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform
