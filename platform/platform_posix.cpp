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
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <termios.h>
#include <time.h>
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

void PrepareMemory(std::size_t bytes) {
#if defined(__GLIBC__)
  // Faulting pages in 4 KiB at a time, as the run first touches them, costs more than all of
  // its work on a long command line; under a hypervisor each fault can take microseconds. Keep
  // freed memory in the heap, large blocks included, and back the next part of the heap with
  // huge pages where the kernel allows it, made ready in one call.
  constexpr std::size_t most = std::size_t{1} << 27;
  constexpr std::uintptr_t huge = std::uintptr_t{2} << 20;
  if (bytes > most) bytes = most;
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(most));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(most));
  const std::size_t span = bytes + 2 * huge;
  void* block = std::malloc(span);
  if (block == nullptr) return;
  const auto first = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t start = (first + huge - 1) / huge * huge;
  const std::uintptr_t end = (start + bytes + huge - 1) / huge * huge;
#if defined(MADV_HUGEPAGE)
  madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
#if defined(MADV_POPULATE_WRITE)
  madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#endif
  std::free(block);
  // The block went back to the top of the heap, where the next requests are carved from in
  // order. Holding on to the part below the aligned start makes them begin on the huge pages
  // rather than on the small pages before them; it is never touched, so it costs no memory.
  constexpr std::size_t header = 2 * sizeof(std::size_t);
  static void* below_aligned_start = nullptr;
  if (below_aligned_start == nullptr && start - first > 4 * header) {
    below_aligned_start = std::malloc(start - first - header);
  }
#else
  static_cast<void>(bytes);
#endif
}

bool WriteAll(TStdStream stream, std::string_view text, std::string& reason) {
  const int fd = stream == stdOutput ? STDOUT_FILENO : STDERR_FILENO;
  while (!text.empty()) {
    const ssize_t put = write(fd, text.data(), text.size());
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

bool CaseFoldingIsBytewise() { return true; }

std::string_view ExecutablePathInto(std::span<char> buffer) {
#if defined(__linux__)
  const ssize_t got = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (got > 0 && static_cast<std::size_t>(got) < buffer.size()) {
    return {buffer.data(), static_cast<std::size_t>(got)};
  }
#elif defined(__APPLE__)
  auto size = static_cast<std::uint32_t>(buffer.size());
  if (_NSGetExecutablePath(buffer.data(), &size) == 0) {
    return {buffer.data(), strnlen(buffer.data(), buffer.size())};
  }
#else
  static_cast<void>(buffer);
#endif
  return {};
}

void ExitWithLine(std::string_view line, int exit_code) {
  while (!line.empty()) {
    const ssize_t put = write(STDERR_FILENO, line.data(), line.size());
    if (put > 0) {
      line.remove_prefix(static_cast<std::size_t>(put));
      continue;
    }
    if (put < 0 && errno == EINTR) continue;
    if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd error{STDERR_FILENO, POLLOUT, 0};
      if (poll(&error, 1, -1) >= 0 || errno == EINTR) continue;
    }
    break;  // standard error is gone: the exit code still tells
  }
  _exit(exit_code);
}

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
  // A private locale object leaves the process's global locale untouched. It is also made the
  // thread's current locale while it is read: a statically linked glibc (the Linux release)
  // answers nl_langinfo_l from the thread's current locale, whatever locale it is given.
  struct TCurrentLocale {
    locale_t User = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    locale_t Previous = User == static_cast<locale_t>(0) ? User : uselocale(User);
    ~TCurrentLocale() {
      if (User == static_cast<locale_t>(0)) return;
      uselocale(Previous);
      freelocale(User);
    }
  } current;
  if (current.User == static_cast<locale_t>(0)) return names;
  for (int month = 0; month < 12; ++month) {
    names.ShortMonths[static_cast<std::size_t>(month)] =
        nl_langinfo_l(ABMON_1 + month, current.User);
  }
  names.TimeSeparator = TimeSeparatorOf(nl_langinfo_l(T_FMT, current.User));
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
