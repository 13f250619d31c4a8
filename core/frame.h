// SPDX-License-Identifier: MIT
// The frame of a tool's run: the library's start-up, the tool's body, and shutdown on every way
// out, with one line on standard error and an exit code for each way a run can fail. It brings
// the tool's record (tool.h), and with it the rows and the channels.
#pragma once

#include <string_view>

#include "core/library.h"
#include "core/tool.h"

namespace core {

/// Writes "<tool>: <message>" and the line end on ErrorChannel, after what the output holds: the
/// line for a fault of the tool's own, such as an input it cannot read (then ExitNoInput).
/// <tool> is AppVersionInfo's BaseName, or the executable's base name before the identity is
/// made. Throws TWriteFailure when it fails.
void WriteErrorLine(std::string_view message);

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

}  // namespace core
