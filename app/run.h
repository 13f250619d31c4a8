// SPDX-License-Identifier: MIT
// One whole run of the program, callable in-process: main() only adapts the process to it.
#pragma once

#include <string_view>

#include "core/library.h"

namespace app {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitMissingEssential = 64;
inline constexpr int ExitInvalidParams = 65;
inline constexpr int ExitIncompleteParams = 67;
inline constexpr int ExitHelpRequested = 255;
/// The run met a fault of its own, such as a build date that cannot be read or an exception
/// that nothing expects (sysexits' EX_SOFTWARE); never expected.
inline constexpr int ExitInternalError = 70;
/// The system had no memory left for the run (sysexits' EX_OSERR).
inline constexpr int ExitOutOfMemory = 71;
/// A write to standard output or standard error failed (sysexits' EX_IOERR).
inline constexpr int ExitIoError = 74;

inline constexpr std::string_view Version = "3.0.0";
inline constexpr std::string_view FullVersion = "3.0.0.200";
inline constexpr std::string_view Description =
    "Change the Case of an Input string to Upper, Lower, Proper, Inverted and/or Reverse it";
/// The switches of which at least one makes a command line worth processing.
inline constexpr std::string_view EssentialSwitches =
    "U UPPER L LOWER P PROPER I INVERT M MIRROR W REVERSE-WORDS";

/// Runs the program once, from the library's start-up to its shutdown, and returns the exit
/// code. Leaves no state behind, whatever happens, so that runs can follow each other in one
/// process: a failed write gives 74, memory that runs out 71 and any other exception 70, each
/// with one line on standard error.
int Run(core::TStartUpRec run);

/// The invalid-syntax outcome: banner, report of `message` (in the form `report_style`
/// selects), help screen, and `exit_code`.
void ReportInvalidSyntax(int report_style, int exit_code, std::string_view message, bool brief);

}  // namespace app
