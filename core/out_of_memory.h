// SPDX-License-Identifier: MIT
// The end of a run that runs out of memory: one line on standard error and an exit code,
// written without needing any memory.
#pragma once

#include <string_view>

namespace core {

/// From now on, an allocation that the system cannot serve ends the process at once with
/// `exit_code`: standard error gets "<program>: out of memory" and the line end, and nothing
/// else; what the run wrote before stays written, and buffered output is handed over first.
/// The program is named as a write error names it, by AppVersionInfo's BaseName, or, before
/// that is filled, by the running executable's file name without its extension (`invoked`, main's
/// argv[0], when the system cannot tell; it must stay valid as long as the process runs). RunMain
/// (core/frame.h) sets it up for a tool's main(); a host program that runs tools with RunTool keeps
/// its own new-handler.
void EndRunOnOutOfMemory(std::string_view invoked, int exit_code);

}  // namespace core
