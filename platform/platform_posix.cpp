// SPDX-License-Identifier: MIT
// POSIX implementation of the platform services.
#include "platform/platform.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <ctype.h>
#include <locale.h>
#include <unistd.h>

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace platform {
namespace {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Built on first use: a run that proper-cases nothing never pays for reading the locale.
struct TLowerTable {
  std::array<unsigned char, 256> map{};
};

TLowerTable MakeLowerTable() {
  TLowerTable table;
  for (int b = 0; b < 256; ++b) {
    table.map[b] = static_cast<unsigned char>(AsciiLower(static_cast<char>(b)));
  }
  // A private locale object leaves the process's global locale untouched.
  locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return table;
  locale_t previous = uselocale(user);
  const bool single_byte = MB_CUR_MAX == 1;
  uselocale(previous);
  if (single_byte) {
    for (int b = 0x80; b < 256; ++b) {
      const int lowered = tolower_l(b, user);
      if (lowered >= 0 && lowered <= 0xFF) table.map[b] = static_cast<unsigned char>(lowered);
    }
  }
  freelocale(user);
  return table;
}

}  // namespace

std::vector<std::string> ArgumentList(int argc, char** argv) {
  std::vector<std::string> list;
  if (argc > 1) list.reserve(static_cast<std::size_t>(argc - 1));
  for (int i = 1; i < argc; ++i) list.emplace_back(argv[i]);
  return list;
}

std::string ExecutablePath(std::string_view fallback) {
#if defined(__linux__)
  std::string path(PATH_MAX, '\0');
  for (;;) {
    const ssize_t got = readlink("/proc/self/exe", path.data(), path.size());
    if (got < 0) break;
    if (static_cast<std::size_t>(got) < path.size()) {
      path.resize(static_cast<std::size_t>(got));
      return path;
    }
    path.resize(path.size() * 2);
  }
#elif defined(__APPLE__)
  std::uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::string path(size, '\0');
  if (_NSGetExecutablePath(path.data(), &size) == 0) {
    path.resize(std::strlen(path.c_str()));
    return path;
  }
#endif
  return std::string(fallback);
}

bool WriteAll(TStdStream stream, std::string_view text, std::string& reason) {
  const int fd = stream == stdOutput ? STDOUT_FILENO : STDERR_FILENO;
  while (!text.empty()) {
    const ssize_t put = write(fd, text.data(), text.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      reason = std::strerror(errno);
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool EqualsNoCase(std::string_view left, std::string_view right) {
  // ASCII folding only: a Turkish locale must not turn "i" into a dotless letter.
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i) {
    if (AsciiLower(left[i]) != AsciiLower(right[i])) return false;
  }
  return true;
}

void LowerCodePage(std::span<char> text) {
  static const TLowerTable table = MakeLowerTable();
  for (char& c : text) c = static_cast<char>(table.map[static_cast<unsigned char>(c)]);
}

}  // namespace platform
