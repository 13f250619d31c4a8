// SPDX-License-Identifier: MIT
// POSIX implementation of the platform services.
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <ctype.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <sys/uio.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

#include "platform/ascii.h"

namespace platform {
namespace {

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

// The terminal as the key watch found it, for the signal handler as much as for StopKeyWatch.
struct TKeyWatch {
  bool terminal = false;
  termios saved{};
  std::array<struct sigaction, 3> previous{};
  std::array<bool, 3> handled{};
};
TKeyWatch Watch;
constexpr std::array<int, 3> WatchedSignals = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RestoreTerminalAndResignal(int signal_number) {
  // Only async-signal-safe calls here: put the terminal back, then let the signal do what it
  // would have done without the watch.
  tcsetattr(STDIN_FILENO, TCSANOW, &Watch.saved);
  for (std::size_t i = 0; i < WatchedSignals.size(); ++i) {
    if (WatchedSignals[i] == signal_number) sigaction(signal_number, &Watch.previous[i], nullptr);
  }
  raise(signal_number);
}

std::string TimeSeparatorOf(const char* time_format) {
  // The bytes after the hour directive, up to the next directive, separate hours and minutes.
  const std::string_view format(time_format);
  if (format.find("%T") != std::string_view::npos || format.find("%R") != std::string_view::npos) {
    return std::string(1, ':');
  }
  for (std::string_view hour : {"%H", "%I", "%k", "%l", "%OH", "%OI"}) {
    const std::size_t at = format.find(hour);
    if (at == std::string_view::npos) continue;
    const std::size_t start = at + hour.size();
    const std::size_t end = format.find('%', start);
    const std::string_view separator = format.substr(start, end - start);
    if (!separator.empty()) return std::string(separator);
  }
  return std::string(1, ':');
}

}  // namespace

bool NativeCommandLine(std::string&) { return false; }

std::string_view PathSeparators() { return "/"; }

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

bool WriteAll(TStdStream stream, std::string_view text, std::string_view tail,
              std::string& reason) {
  const int fd = stream == stdOutput ? STDOUT_FILENO : STDERR_FILENO;
  // Both pieces leave in one call, straight from where they lie: a reader on a pipe never sees
  // a result without its separator, and no byte is copied on the way.
  std::array<iovec, 2> pieces{{{const_cast<char*>(text.data()), text.size()},
                               {const_cast<char*>(tail.data()), tail.size()}}};
  std::size_t first = 0;
  while (first < pieces.size() && pieces[first].iov_len == 0) ++first;
  while (first < pieces.size()) {
    const ssize_t put = writev(fd, &pieces[first], static_cast<int>(pieces.size() - first));
    if (put < 0) {
      if (errno == EINTR) continue;
      // A parent may hand over a non-blocking descriptor: wait until it takes more, rather
      // than losing output to a reader that is merely slow.
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        pollfd output{fd, POLLOUT, 0};
        if (poll(&output, 1, -1) >= 0 || errno == EINTR) continue;
      }
      reason = std::strerror(errno);
      return false;
    }
    if (put == 0) {  // a device that takes nothing would otherwise be asked for ever
      reason = std::strerror(EIO);
      return false;
    }
    auto left = static_cast<std::size_t>(put);
    // Past what was taken, empty pieces included.
    while (first < pieces.size() && left >= pieces[first].iov_len) {
      left -= pieces[first].iov_len;
      ++first;
    }
    if (first < pieces.size()) {
      pieces[first].iov_base = static_cast<char*>(pieces[first].iov_base) + left;
      pieces[first].iov_len -= left;
    }
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

bool CaseFoldingIsBytewise() { return true; }

void LowerCodePage(std::span<char> text) {
  // Only bytes above 0x7F depend on the locale: ASCII text never pays for reading it.
  if (std::all_of(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    for (char& c : text) c = AsciiLower(c);
    return;
  }
  static const TLowerTable table = MakeLowerTable();
  for (char& c : text) c = static_cast<char>(table.map[static_cast<unsigned char>(c)]);
}

TTimeNames SystemTimeNames() {
  TTimeNames names{{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov",
                    "Dec"},
                   std::string(1, ':')};
  // A private locale object leaves the process's global locale untouched.
  locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return names;
  for (int month = 0; month < 12; ++month) {
    names.ShortMonths[static_cast<std::size_t>(month)] = nl_langinfo_l(ABMON_1 + month, user);
  }
  names.TimeSeparator = TimeSeparatorOf(nl_langinfo_l(T_FMT, user));
  freelocale(user);
  return names;
}

void StartKeyWatch() {
  Watch = TKeyWatch{};
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &Watch.saved) != 0) return;
  Watch.terminal = true;
  for (std::size_t i = 0; i < WatchedSignals.size(); ++i) {
    struct sigaction action {};
    action.sa_handler = RestoreTerminalAndResignal;
    sigemptyset(&action.sa_mask);
    // A signal the caller ignores stays ignored.
    if (sigaction(WatchedSignals[i], nullptr, &Watch.previous[i]) != 0 ||
        Watch.previous[i].sa_handler == SIG_IGN) {
      continue;
    }
    Watch.handled[i] = sigaction(WatchedSignals[i], &action, nullptr) == 0;
  }
  termios raw = Watch.saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));  // ISIG stays: Ctrl-C still works
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  tcflush(STDIN_FILENO, TCIFLUSH);
}

bool KeyPressed() {
  if (!Watch.terminal) return false;
  pollfd input{STDIN_FILENO, POLLIN, 0};
  return poll(&input, 1, 0) > 0 && (input.revents & POLLIN) != 0;
}

void StopKeyWatch() {
  if (!Watch.terminal) return;
  tcflush(STDIN_FILENO, TCIFLUSH);
  tcsetattr(STDIN_FILENO, TCSANOW, &Watch.saved);
  for (std::size_t i = 0; i < WatchedSignals.size(); ++i) {
    if (Watch.handled[i]) sigaction(WatchedSignals[i], &Watch.previous[i], nullptr);
  }
  Watch = TKeyWatch{};
}

void SleepMilliseconds(int milliseconds) {
  timespec left{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

void Beep() {
  // The terminal device, never standard error, so that redirected output stays identical to
  // the Windows build's.
  const int tty = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (tty < 0) return;
  const ssize_t ignored = write(tty, "\a", 1);
  static_cast<void>(ignored);
  close(tty);
}

}  // namespace platform
