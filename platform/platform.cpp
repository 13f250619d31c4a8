// SPDX-License-Identifier: MIT
// The platform services that every system shares, built on the system's own in platform_*.cpp.
#include "platform/platform.h"

#include <cstddef>

namespace platform {

std::vector<std::string> ArgumentList(int argc, char** argv) {
  std::vector<std::string> list;
  if (argc > 1) list.reserve(static_cast<std::size_t>(argc - 1));
  for (int i = 1; i < argc; ++i) list.emplace_back(argv[i]);
  return list;
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
