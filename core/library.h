// SPDX-License-Identifier: MIT
// Start-up and shutdown of the library's state, so that one process can hold several runs.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels.h"
#include "core/text.h"

namespace core {

/// What a run is started with; the channels default to the standard streams.
struct TStartUpRec {
  TStringArray Arguments;      ///< after the program's own name; they become ParamStatus
  std::string ExecutablePath;  ///< full path of the running executable
  std::string CommandLine;     ///< the whole command line as the user entered it, if known
  /// Where the command line is not known: the program as invoked, for the report to join the
  /// line from, only when it shows it.
  std::optional<std::string> Invoked{};
  TTextChannel Output{platform::stdOutput, nullptr};
  TTextChannel Error{platform::stdError, nullptr};
};

// The library's own variables, from start-up to shutdown; start-up and shutdown give them their
// starting values, and nothing else does.

/// The process's exit status: 0 from start-up, changed only by the program's decision.
extern int ExitCode;

/// Settings the program reads or sets while deciding its run.
extern bool HelpRequested;     ///< a help or information switch is present
extern bool BannerAllowed;     ///< a processing run may show the banner; true at start-up
extern int SyntaxReportStyle;  ///< 0: the plain report; otherwise the see-below form

/// Starts every module of the library for a run: binds the channels, computes the execution
/// path, builds ParamStatus, names the statistics records, and gives every other variable its
/// starting value, but for LineEnd, which the frame sets before it. The arguments' texts are
/// moved into ParamStatus, never copied.
void StartUp(TStartUpRec start);

/// Releases everything the library holds, leaving it as before StartUp; what the platform
/// layer learnt during the run (the locale's case table, the streams' code pages) goes too.
void ShutDown();

namespace detail {

/// StartUp, with ParamStatus made of the texts of `argv` (main's, after the program's own name)
/// where it holds any, each copied straight into its entry; start.Arguments then goes unread.
void StartUpFromArgv(TStartUpRec start, std::span<char* const> argv);

/// Adds to `names` the name of each of the module's settings that differs from its starting
/// value: what a tool set before its run, which start-up would undo.
void NameChangedLibrarySettings(std::vector<std::string_view>& names);

}  // namespace detail
}  // namespace core
