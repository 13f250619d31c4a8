// SPDX-License-Identifier: MIT
// The run sequence from start-up to exit code, and the one way a run can fail: a lost write.
#include "app/run.h"

#include <utility>

#include "app/switches.h"
#include "core/library.h"

namespace app {
namespace {

std::string_view StreamName(platform::TStdStream stream) {
  return stream == platform::stdOutput ? "standard output" : "standard error";
}

void ReportWriteFailure(const core::TWriteFailure& failure, std::string_view program,
                        const core::TTextChannel& error_channel) {
  std::string line(program);
  line.append(": write error on ").append(StreamName(failure.Stream)).append(": ");
  line.append(failure.Reason).append(core::LineEnd);
  // Standard error may be the stream that failed; then nothing more can be said.
  try {
    core::Write(error_channel, line);
  } catch (const core::TWriteFailure&) {
  }
}

}  // namespace

std::string BaseNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

int Run(TRunRec run) {
  const core::TTextChannel error_channel = run.Error;
  core::StartUp({std::move(run.Arguments), run.Output, run.Error});
  int exit_code = ExitSuccess;
  try {
    SetUpSwitchStyle();
    DeclareSwitches();
    ProcessArguments();
    exit_code = core::ExitCode;
  } catch (const core::TWriteFailure& failure) {
    ReportWriteFailure(failure, BaseNameOf(run.ExecutablePath), error_channel);
    exit_code = ExitIoError;
  }
  ResetSwitches();
  core::ShutDown();
  return exit_code;
}

}  // namespace app
