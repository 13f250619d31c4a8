// SPDX-License-Identifier: MIT
// The frame of a tool's run: the library's start-up, the tool's body, and shutdown on every way
// out, with one line on standard error and an exit code for each way a run can fail.
#pragma once

#include <string_view>

#include "core/library.h"

namespace core {

/// The exit codes that the frame gives when a run cannot end as the tool decided (the values of
/// sysexits.h): a fault of the run's own, such as a build date that cannot be read or an
/// exception that nothing expects; no memory left; a write that failed.
inline constexpr int ExitInternalError = 70;
inline constexpr int ExitOutOfMemory = 71;
inline constexpr int ExitIoError = 74;

/// A tool as the frame runs it.
struct TToolRec {
  /// The run after start-up: declares the switches, judges the command line, writes, and sets
  /// ExitCode. It may let the library's exceptions through; the frame turns each into its line.
  void (*Body)() = nullptr;
  /// Gives the tool's own variables their starting values; the frame calls it before start-up
  /// and again after shutdown, whichever way the run ended. Optional.
  void (*Reset)() = nullptr;
  /// Makes the library's settings for the run (SwitchStyle, ParamFlags, ErrorDelay, ...): the
  /// frame calls it after start-up, which gives every setting its starting value, and before
  /// Body. A setting made before RunMain or RunTool would be undone, and ends the run. Optional.
  void (*SetUp)() = nullptr;
  /// The banner's second and third lines, which MakeVersionInfo puts in the identity; an empty
  /// one is left out of the banner.
  std::string_view Copyright{};
  std::string_view Attribution{};
  /// The end of every line the library writes for the tool (LineEnd, core/channels.h), from
  /// the start of the run, the frame's own lines and the out-of-memory line included.
  std::string_view LineEnd = "\r\n";
};

/// The whole of a tool's main(): return RunMain(argc, argv, tool). Before anything allocates it
/// makes memory that runs out end the process with "<tool>: out of memory" and 71
/// (EndRunOnOutOfMemory); it then starts the library with the process's arguments, executable
/// path and command line, and runs `tool` as RunTool does.
int RunMain(int argc, char** argv, const TToolRec& tool);

/// Runs `tool` once over `start` in this process, whose new-handler stays as it is (tests, a
/// host program), and leaves nothing of the run behind. Returns ExitCode as the body left it,
/// read before shutdown, or, with one line on standard error (none when standard error is
/// what failed, never on standard output), where <tool> is AppVersionInfo's BaseName, or the
/// executable's base name before the identity is made:
///   70  "<tool>: <setting> was set before the run started, and start-up would undo it: set it
///       in the tool's SetUp" (LineEnd: "give it in the tool's TToolRec"), a line for each
///       library setting that differs from its starting value before the run, before SetUp;
///   74  "<tool>: write error on <standard output|standard error>: <reason>" (TWriteFailure);
///   70  "<tool>: cannot read the date <text>" (TConvertError);
///   71  "<tool>: out of memory" (std::bad_alloc);
///   70  "<tool>: internal error", then ": <what>" when the exception says what.
/// A closed pipe ends the process by SIGPIPE before a write can fail, as it ends any filter; a
/// tool that ignores SIGPIPE gets 74 instead.
int RunTool(TStartUpRec start, const TToolRec& tool);

namespace detail {
/// The tool that RunTool is running, for the library's own modules; nullptr outside a run.
const TToolRec* RunningTool();
}  // namespace detail

}  // namespace core
