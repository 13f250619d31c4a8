// SPDX-License-Identifier: MIT
// The operating-system services the console tools need: platform.cpp holds what every system
// shares, and exactly one platform_*.cpp the rest.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

/// The process's arguments after the program's own name, as main received them: a view of
/// `argv`, so that a long command line is copied once, where it is kept.
std::span<char* const> ArgumentList(int argc, char** argv);

/// The command line as one text, exactly as the system holds it, where the system keeps one
/// (Windows); false where only the argument list exists (POSIX).
bool NativeCommandLine(std::string& text);

/// The bytes that separate the parts of a path: "/" on POSIX; "\\", "/" and ":" on Windows.
std::string_view PathSeparators();

/// Full path of the running executable, or `fallback` (main's argv[0]) when the system cannot
/// tell.
std::string ExecutablePath(std::string_view fallback);

/// The full path of the running executable, put into `buffer` without allocating memory; empty
/// when the system cannot tell or the path does not fit.
std::string_view ExecutablePathInto(std::span<char> buffer);

/// Hands all of `text` and then `tail` to the operating system in one request (more only when
/// the system takes part of it), without copying them. On failure, a device that takes nothing
/// included, returns false and puts the system's reason, in words, into `reason`.
[[nodiscard]] bool WriteAll(TStdStream stream, std::string_view text, std::string_view tail,
                            std::string& reason);

/// Whether `stream` is a terminal (a console on Windows), where control bytes act rather than
/// show.
bool IsTerminal(TStdStream stream);

using TControlArray = std::vector<TControlRec>;

/// The controls among the characters of `text`, in order, read in the user's encoding: the
/// locale's LC_CTYPE on POSIX, the ANSI code page of the arguments on Windows. A UTF-8 locale,
/// and an ASCII-only one (C, POSIX) whose terminal may decode either way, read it as UTF-8
/// (FindUtf8Controls); under a single-byte locale the bytes that it classes as controls count.
TControlArray FindControls(std::string_view text);

/// The controls of `text` read as UTF-8: C0, DEL and U+0080 to U+009F, and also every byte from
/// 0x80 to 0x9F outside a valid sequence, which a terminal reading single bytes would obey.
/// The bytes of a letter, such as the 0x9B of U+015B (C5 9B), are never controls.
TControlArray FindUtf8Controls(std::string_view text);

/// Whether the character `code` (a code point, or a byte read alone) is one that a terminal
/// obeys rather than shows: C0 (below 0x20), DEL (0x7F) or C1 (0x80 to 0x9F).
bool IsControlCode(std::uint32_t code);

/// Equality of two switch texts regardless of letter case, whatever the user's locale.
bool EqualsNoCase(std::string_view left, std::string_view right);

/// Whether EqualsNoCase compares byte by byte, folding ASCII letters only: then texts of
/// different lengths never compare equal and a text can be compared piece by piece, which lets
/// the parameter engine index and skip arguments.
bool CaseFoldingIsBytewise();

/// Lowers `text` in place with the user's single-byte code page: A-Z always become a-z, no other
/// ASCII byte changes, and bytes from 0x80 follow the code page when it has one.
void LowerCodePage(std::span<char> text);

/// Hands `output` (bytes still owed to standard output; may be empty) to standard output, then
/// `line` to standard error, both as they are, and ends the process at once with `exit_code`.
/// A write that fails is passed over, for the exit code still tells; on POSIX a closed pipe ends
/// the process by SIGPIPE, as any write to it does. Needs no memory and runs nothing else on the
/// way out (no destructors, no handlers): the end of a run that has no memory left.
[[noreturn]] void ExitWithLine(std::string_view output, std::string_view line, int exit_code);

/// The system locale's abbreviated month names (January first) and its time separator; English
/// names and ":" until the locale is read.
struct TTimeNames {
  std::array<std::string, 12> ShortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string TimeSeparator = ":";
};
/// The names of the user's locale for dates and times; English names and ":" when that locale
/// cannot be read.
TTimeNames SystemTimeNames();

/// Starts watching the keyboard for the error pause: pending input is discarded, and until
/// StopKeyWatch the terminal hands over single key presses without echo (on POSIX Ctrl-S,
/// Ctrl-Q, Ctrl-V and Ctrl-O too). On POSIX the terminal is the watch's only while the process
/// is in its foreground group: a job in the background changes nothing and sees no key, and
/// takes the terminal when it is brought to the foreground. A signal that ends the process puts
/// the terminal back before it takes its usual course; one that stops it (Ctrl-Z) puts it back
/// while the process is stopped. On Windows, Ctrl-C stops the console reader before the process
/// ends.
void StartKeyWatch();
/// Whether a key press is pending, without blocking; always false when input is no terminal or
/// the process is in the background.
bool KeyPressed();
/// Stops watching: pending input, the key that ended the wait included, is discarded and the
/// terminal is as StartKeyWatch found it.
void StopKeyWatch();

/// Forgets what the services learnt from the system during a run (the locale's case table and
/// controls, the code pages), so that the next run in the process asks the system afresh.
void ForgetRunState();

/// Blocks the calling thread for about `milliseconds`.
void SleepMilliseconds(int milliseconds);

/// Sounds the system beep once, if the system can; never through standard output or error.
void Beep();

}  // namespace platform
