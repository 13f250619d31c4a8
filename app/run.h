// SPDX-License-Identifier: MIT
// The program as a tool on the library's run frame.
#pragma once

#include "core/frame.h"

namespace app {

/// Lettrix as the library's run frame runs it: its identity, its switch table and help screen,
/// the outcomes of its own, and the reset of its records and settings.
extern const core::TToolRec Lettrix;

/// Runs the program once in this process (tests, the fuzzers): core::RunTool with Lettrix.
int Run(core::TStartUpRec run);

}  // namespace app
