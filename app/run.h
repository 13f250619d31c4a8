// SPDX-License-Identifier: MIT
// The program as a tool on the library's run frame, and its exit codes.
#pragma once

#include <string_view>

#include "core/frame.h"

namespace app {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitMissingEssential = 64;
inline constexpr int ExitInvalidParams = 65;
inline constexpr int ExitIncompleteParams = 67;
inline constexpr int ExitHelpRequested = 255;
// A run that cannot end as decided ends through the library's frame: 70, 71 or 74.

inline constexpr std::string_view Version = "3.0.0";
inline constexpr std::string_view FullVersion = "3.0.0.200";
inline constexpr std::string_view Description =
    "Change the Case of an Input string to Upper, Lower, Proper, Inverted and/or Reverse it";
/// The switches of which at least one makes a command line worth processing.
inline constexpr std::string_view EssentialSwitches =
    "U UPPER L LOWER P PROPER I INVERT M MIRROR W REVERSE-WORDS";

/// Lettrix as the library's run frame runs it: the run, and the reset of the program's own
/// records and settings.
extern const core::TToolRec Lettrix;

/// Runs the program once in this process (tests, the fuzzers): core::RunTool with Lettrix.
int Run(core::TStartUpRec run);

/// The invalid-syntax outcome: banner, report of `message` (in the form `report_style`
/// selects), help screen, and `exit_code`.
void ReportInvalidSyntax(int report_style, int exit_code, std::string_view message, bool brief);

}  // namespace app
