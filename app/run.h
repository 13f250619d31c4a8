// SPDX-License-Identifier: MIT
// One whole run of the program, callable in-process: main() only adapts the process to it.
#pragma once

#include <string>
#include <vector>

#include "core/report.h"

namespace app {

inline constexpr int ExitSuccess = 0;
/// A write to standard output or standard error failed (sysexits' EX_IOERR).
inline constexpr int ExitIoError = 74;

/// Everything a run reads from its process, and where it writes.
struct TRunRec {
  std::vector<std::string> Arguments;  ///< after the program's own name
  std::string ExecutablePath;
  core::TTextChannel Output{platform::stdOutput, nullptr};
  core::TTextChannel Error{platform::stdError, nullptr};
};

/// Runs the program once, from the library's start-up to its shutdown, and returns the exit
/// code. Leaves no state behind, so that runs can follow each other in one process.
int Run(TRunRec run);

/// The executable's file name without its directory and extension; it names the program in
/// what it writes.
std::string BaseNameOf(std::string_view path);

}  // namespace app
