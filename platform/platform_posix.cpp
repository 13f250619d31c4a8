// SPDX-License-Identifier: MIT
// POSIX implementation of the platform services.
#include "platform/platform.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>

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

// The user's locale for the categories of `mask`, as a private locale object that leaves the
// process's global locale untouched. It is the thread's current locale while it lives: a
// statically linked glibc (the Linux release) answers nl_langinfo_l from the thread's current
// locale, whatever locale it is given, and MB_CUR_MAX and mbrtowc always read that one.
class TUserLocale {
 public:
  explicit TUserLocale(int mask)
      : User(newlocale(mask, "", static_cast<locale_t>(0))),
        Previous(User == static_cast<locale_t>(0) ? User : uselocale(User)) {}
  ~TUserLocale() {
    if (User == static_cast<locale_t>(0)) return;
    uselocale(Previous);
    freelocale(User);
  }
  TUserLocale(const TUserLocale&) = delete;
  TUserLocale& operator=(const TUserLocale&) = delete;

  const locale_t User;  ///< null when the locale cannot be had

 private:
  const locale_t Previous;
};

using TLowerTable = std::array<unsigned char, 256>;

TLowerTable MakeLowerTable() {
  TLowerTable table;
  for (int b = 0; b < 256; ++b) {
    table[b] = static_cast<unsigned char>(AsciiLower(static_cast<char>(b)));
  }
  const TUserLocale current(LC_CTYPE_MASK);
  if (current.User == static_cast<locale_t>(0) || MB_CUR_MAX != 1) return table;
  for (int b = 0x80; b < 256; ++b) {
    const int lowered = tolower_l(b, current.User);
    if (lowered >= 0 && lowered <= 0xFF) table[b] = static_cast<unsigned char>(lowered);
  }
  return table;
}

// Made on first use in a run, so that a run that proper-cases nothing never reads the locale,
// and forgotten at its end: the next run may have another LC_CTYPE.
std::optional<TLowerTable> LowerTable;

// How the user's LC_CTYPE reads a text, for finding its controls.
enum TReading : std::uint8_t {
  rdUtf8,        // UTF-8, or ASCII only (C, POSIX): the terminal may decode UTF-8 or bytes
  rdSingleByte,  // one byte a character: Controls says which
  rdMultiByte,   // another multibyte encoding, read by the C library
};
struct TControlRule {
  TReading Reading = rdUtf8;
  std::array<bool, 256> Controls{};
};

TControlRule MakeControlRule() {
  TControlRule rule;
  const TUserLocale current(LC_CTYPE_MASK);
  if (current.User == static_cast<locale_t>(0)) return rule;  // a program runs in C then
  if (std::string_view(nl_langinfo_l(CODESET, current.User)) == "UTF-8") return rule;
  if (MB_CUR_MAX > 1) {
    rule.Reading = rdMultiByte;
    return rule;
  }
  // A locale that gives the bytes above 0x7F no class at all (C, POSIX) says nothing about how
  // the terminal reads them.
  bool any_high = false;
  for (int b = 0; b < 256; ++b) {
    const bool control = iscntrl_l(b, current.User) != 0;
    rule.Controls[static_cast<std::size_t>(b)] = control || b < 0x20 || b == 0x7F;
    any_high = any_high || (b >= 0x80 && (control || isprint_l(b, current.User) != 0));
  }
  if (any_high) rule.Reading = rdSingleByte;
  return rule;
}

// Learnt on first use in a run and forgotten at its end, like the case table.
std::optional<TControlRule> ControlRule;

// Reads `text` with the C library in the user's locale. A byte that starts no character of the
// encoding stands alone, and counts as a control when a terminal reading bytes would obey it.
TControlArray FindMultiByteControls(std::string_view text) {
  TControlArray controls;
  const TUserLocale current(LC_CTYPE_MASK);
  std::mbstate_t state{};
  for (std::size_t at = 0; at < text.size();) {
    wchar_t wide = 0;
    const std::size_t got = std::mbrtowc(&wide, text.data() + at, text.size() - at, &state);
    std::size_t size = 1;
    auto code = static_cast<std::uint32_t>(static_cast<unsigned char>(text[at]));
    if (got == static_cast<std::size_t>(-1) || got == static_cast<std::size_t>(-2)) {
      state = std::mbstate_t{};
    } else {
      size = got == 0 ? 1 : got;
      code = static_cast<std::uint32_t>(wide);
    }
    if (IsControlCode(code)) controls.push_back({at, size, static_cast<std::uint8_t>(code)});
    at += size;
  }
  return controls;
}

// The key watch. It changes the terminal only while the process's group is the terminal's
// foreground group, and with SIGTTOU blocked, so that a job in the background never touches the
// terminal and nothing here can stop the process. Every change is made either with all signals
// blocked (StartKeyWatch, KeyPressed, StopKeyWatch) or in a handler that blocks them all, so no
// change ever interrupts another.
struct TKeyWatch {
  volatile sig_atomic_t Terminal = 0;  // standard input is a terminal
  volatile sig_atomic_t Changed = 0;   // the watch changed the terminal; Saved is as found
  volatile sig_atomic_t Held = 0;      // in single-key mode and in the foreground, at last look
  termios Saved{};
  std::array<struct sigaction, NSIG> Previous{};
  std::array<bool, NSIG> Handled{};
};
TKeyWatch Watch;

// Signals whose default action ends the process: each puts the terminal back first.
constexpr int EndingSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS, SIGFPE,    SIGSEGV, SIGUSR1,
    SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGSYS, SIGVTALRM, SIGPROF,
#if defined(__linux__)
    SIGIO,     SIGPWR,
#endif
#if defined(SIGSTKFLT)
    SIGSTKFLT,
#endif
#if defined(SIGEMT)
    SIGEMT,
#endif
};
// Signals whose default action stops the process: the terminal goes back, the process stops,
// and single-key mode returns when it is continued in the foreground.
constexpr int StopSignals[] = {SIGTSTP, SIGTTIN, SIGTTOU};

// Whether the terminal is the process's to change: it is in the terminal's foreground group, or
// the terminal is not its controlling terminal, where no job control applies.
bool OwnsTerminal() {
  const pid_t foreground = tcgetpgrp(STDIN_FILENO);
  if (foreground < 0) return errno == ENOTTY;
  return foreground == getpgrp();
}

// Single-key mode, if the terminal is the process's: taken from the terminal as it is now,
// unless the watch changed it already and still holds how it was found. Pending input is
// discarded. Every key counts: no flow control (IXON) and no extended characters (IEXTEN:
// Ctrl-V, Ctrl-O), while ISIG keeps Ctrl-C, Ctrl-\ and Ctrl-Z.
void EnterSingleKeyMode() {
  Watch.Held = 0;
  if (Watch.Terminal == 0 || !OwnsTerminal()) return;
  if (Watch.Changed == 0 && tcgetattr(STDIN_FILENO, &Watch.Saved) != 0) return;
  termios single = Watch.Saved;
  single.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | IEXTEN));
  single.c_iflag &= static_cast<tcflag_t>(~IXON);
  single.c_cc[VMIN] = 1;
  single.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &single) != 0) return;
  Watch.Changed = 1;
  Watch.Held = 1;
  tcflush(STDIN_FILENO, TCIFLUSH);
}

// The terminal as the watch found it, pending input discarded, if the watch changed it and the
// terminal is still the process's; a terminal that another job holds now is left to that job.
void LeaveSingleKeyMode() {
  Watch.Held = 0;
  if (Watch.Changed == 0 || !OwnsTerminal()) return;
  tcflush(STDIN_FILENO, TCIFLUSH);
  tcsetattr(STDIN_FILENO, TCSANOW, &Watch.Saved);
  Watch.Changed = 0;
}

// Handlers: only async-signal-safe calls, errno as it was.
extern "C" void OnEndingSignal(int number) {
  const int saved_errno = errno;
  LeaveSingleKeyMode();
  // Blocked in here, the signal is taken with its default action as soon as the handler
  // returns: the same end, and the same exit status, as without the watch.
  sigaction(number, &Watch.Previous[static_cast<std::size_t>(number)], nullptr);
  raise(number);
  errno = saved_errno;
}

extern "C" void OnStopSignal(int number) {
  const int saved_errno = errno;
  LeaveSingleKeyMode();
  struct sigaction own = {};
  sigaction(number, &Watch.Previous[static_cast<std::size_t>(number)], &own);
  raise(number);
  sigset_t just;
  sigemptyset(&just);
  sigaddset(&just, number);
  sigprocmask(SIG_UNBLOCK, &just, nullptr);  // stopped here until continued
  sigprocmask(SIG_BLOCK, &just, nullptr);
  sigaction(number, &own, nullptr);
  EnterSingleKeyMode();
  errno = saved_errno;
}

// Continued after a stop the watch could not see (SIGSTOP), or brought to the foreground.
extern "C" void OnContinue(int) {
  const int saved_errno = errno;
  EnterSingleKeyMode();
  errno = saved_errno;
}

// Installs `handler` for a signal whose action is the default; a signal that the caller ignores
// or handles itself is left as it is.
void HandleWhileWatching(int number, void (*handler)(int)) {
  if (number <= 0 || number >= NSIG) return;
  struct sigaction& previous = Watch.Previous[static_cast<std::size_t>(number)];
  if (sigaction(number, nullptr, &previous) != 0 || (previous.sa_flags & SA_SIGINFO) != 0 ||
      previous.sa_handler != SIG_DFL) {
    return;
  }
  struct sigaction action = {};
  action.sa_handler = handler;
  sigfillset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  Watch.Handled[static_cast<std::size_t>(number)] = sigaction(number, &action, nullptr) == 0;
}

// Runs the caller with every signal blocked.
template <typename TAction>
void WithSignalsBlocked(TAction action) {
  sigset_t all;
  sigset_t before;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &before);
  action();
  sigprocmask(SIG_SETMASK, &before, nullptr);
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

// Hands all the bytes of `pieces` to `fd`, in as few calls as the system allows; `pieces` is
// moved past what it takes. Allocates nothing, for the end of a run without memory writes
// through it too. On failure returns false and puts the errno into `error`.
bool WritePieces(int fd, std::span<iovec> pieces, int& error) {
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
      error = errno;
      return false;
    }
    if (put == 0) {  // a device that takes nothing would otherwise be asked for ever
      error = EIO;
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

}  // namespace

bool NativeCommandLine(std::string&) { return false; }

std::string_view PathSeparators() { return "/"; }

bool WriteAll(TStdStream stream, std::string_view text, std::string_view tail,
              std::string& reason) {
  const int fd = stream == stdOutput ? STDOUT_FILENO : STDERR_FILENO;
  // Both pieces leave in one call, straight from where they lie: a reader on a pipe never sees
  // a result without its separator, and no byte is copied on the way.
  std::array<iovec, 2> pieces{{{const_cast<char*>(text.data()), text.size()},
                               {const_cast<char*>(tail.data()), tail.size()}}};
  int error = 0;
  if (WritePieces(fd, pieces, error)) return true;
  reason = std::strerror(error);
  return false;
}

bool IsTerminal(TStdStream stream) {
  return isatty(stream == stdOutput ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

TControlArray FindControls(std::string_view text) {
  if (!ControlRule) ControlRule = MakeControlRule();
  switch (ControlRule->Reading) {
    case rdUtf8:
      return FindUtf8Controls(text);
    case rdMultiByte:
      return FindMultiByteControls(text);
    case rdSingleByte:
      break;
  }
  TControlArray controls;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (ControlRule->Controls[byte]) controls.push_back({at, 1, byte});
  }
  return controls;
}

bool EqualsNoCase(std::string_view left, std::string_view right) {
  // ASCII folding only: a Turkish locale must not turn "i" into a dotless letter.
  return EqualsAsciiNoCase(left, right);
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

void ExitWithLine(std::string_view output, std::string_view line, int exit_code) {
  std::array<iovec, 1> piece{{{const_cast<char*>(output.data()), output.size()}}};
  int ignored = 0;
  static_cast<void>(WritePieces(STDOUT_FILENO, piece, ignored));
  piece[0] = {const_cast<char*>(line.data()), line.size()};
  static_cast<void>(WritePieces(STDERR_FILENO, piece, ignored));
  _exit(exit_code);
}

void LowerCodePage(std::span<char> text) {
  // Only bytes above 0x7F depend on the locale: ASCII text never pays for reading it. The ASCII
  // rule goes over every byte in one pass without an early exit, which the compiler vectorises,
  // and notes whether any byte is above 0x7F; the table agrees with the ASCII rule on ASCII
  // bytes, so the table pass over bytes already lowered gives what it gives on the originals.
  unsigned char any_high = 0;
  for (char& c : text) {
    any_high |= static_cast<unsigned char>(c);
    c = AsciiLower(c);
  }
  if (any_high < 0x80) return;
  if (!LowerTable) LowerTable = MakeLowerTable();
  for (char& c : text) c = static_cast<char>((*LowerTable)[static_cast<unsigned char>(c)]);
}

TTimeNames SystemTimeNames() {
  TTimeNames names;
  const TUserLocale current(LC_TIME_MASK);
  if (current.User == static_cast<locale_t>(0)) return names;
  for (int month = 0; month < 12; ++month) {
    names.ShortMonths[static_cast<std::size_t>(month)] =
        nl_langinfo_l(ABMON_1 + month, current.User);
  }
  names.TimeSeparator = TimeSeparatorOf(nl_langinfo_l(T_FMT, current.User));
  return names;
}

void StartKeyWatch() {
  WithSignalsBlocked([] {
    Watch.Terminal = 0;
    Watch.Changed = 0;
    Watch.Held = 0;
    Watch.Handled.fill(false);
    if (!isatty(STDIN_FILENO)) return;
    Watch.Terminal = 1;
    for (const int number : EndingSignals) HandleWhileWatching(number, OnEndingSignal);
#if defined(SIGRTMIN) && defined(SIGRTMAX)
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) {
      HandleWhileWatching(number, OnEndingSignal);
    }
#endif
    for (const int number : StopSignals) HandleWhileWatching(number, OnStopSignal);
    HandleWhileWatching(SIGCONT, OnContinue);
    EnterSingleKeyMode();
  });
}

bool KeyPressed() {
  bool pressed = false;
  WithSignalsBlocked([&pressed] {
    if (Watch.Terminal == 0) return;
    // A job in the background waits like one without a terminal. A shell's `fg` of a job that
    // runs in the background sends no signal: single-key mode starts at the next look.
    if (!OwnsTerminal()) {
      Watch.Held = 0;
    } else if (Watch.Held == 0) {
      EnterSingleKeyMode();
    } else {
      pollfd input{STDIN_FILENO, POLLIN, 0};
      pressed = poll(&input, 1, 0) > 0 && (input.revents & POLLIN) != 0;
    }
  });
  return pressed;
}

void StopKeyWatch() {
  // Signals that arrive meanwhile are taken when they are unblocked, with the terminal back.
  WithSignalsBlocked([] {
    LeaveSingleKeyMode();
    for (int number = 1; number < NSIG; ++number) {
      const auto at = static_cast<std::size_t>(number);
      if (Watch.Handled[at]) sigaction(number, &Watch.Previous[at], nullptr);
    }
    Watch.Handled.fill(false);
    Watch.Terminal = 0;
    Watch.Changed = 0;
  });
}

void ForgetRunState() {
  LowerTable.reset();
  ControlRule.reset();
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
