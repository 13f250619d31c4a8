// SPDX-License-Identifier: MIT
// Start-up and shutdown of the library's state, so that one process can hold several runs.
#pragma once

#include "core/params.h"
#include "core/report.h"

namespace core {

/// What a run is started with; the channels default to the standard streams.
struct TStartUpRec {
  TStringArray Arguments;  ///< after the program's own name
  TTextChannel Output{platform::stdOutput, nullptr};
  TTextChannel Error{platform::stdError, nullptr};
};

/// The process's exit status: 0 from start-up, changed only by the program's decision.
extern int ExitCode;

/// The arguments the library was started with; BuildParamStatus reads them.
extern TStringArray CommandArguments;

/// Binds the channels, builds ParamStatus and gives every library variable its initial value.
void StartUp(TStartUpRec start);

/// Releases everything the library holds, leaving it as before StartUp.
void ShutDown();

}  // namespace core
