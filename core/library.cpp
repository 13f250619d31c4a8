// SPDX-License-Identifier: MIT
// The library's lifecycle: the one place that knows every module, and starts and resets each.
#include "core/library.h"

#include <utility>

#include "core/banner.h"
#include "core/params.h"
#include "core/validation.h"
#include "platform/platform.h"

namespace core {
namespace {

// Every variable of the library's own, with its starting value: a reset is a fresh record.
struct TLibraryState {
  int ExitCode = 0;
  std::string ExecutableFullPath;
  bool HelpRequested = false;
  bool BannerAllowed = true;
  int SyntaxReportStyle = 0;
};
TLibraryState State;

}  // namespace

int& ExitCode = State.ExitCode;
std::string& ExecutableFullPath = State.ExecutableFullPath;
bool& HelpRequested = State.HelpRequested;
bool& BannerAllowed = State.BannerAllowed;
int& SyntaxReportStyle = State.SyntaxReportStyle;

void StartUp(TStartUpRec start) {
  // Each module's start begins from its starting values; so do the library's own variables and
  // what the platform read, whatever an earlier run in this process may have left.
  State = TLibraryState{};
  platform::ForgetRunState();
  ExecutableFullPath = std::move(start.ExecutablePath);
  std::function<std::string()> make_command_line;
  if (start.Invoked) {
    make_command_line = [invoked = std::move(*start.Invoked)] {
      return JoinCommandLine(invoked, ParamStatus, [](const TParamStatusRec& entry) {
        return std::string_view(entry.Param);
      });
    };
  }
  StartReport(start.Output, start.Error, ExecutableFullPath, std::move(start.CommandLine),
              std::move(make_command_line));
  StartParamEngine(std::move(start.Arguments));
  StartValidation();
  StartBanner(ExecutableFullPath);
}

void ShutDown() {
  ResetBanner();
  ResetValidation();
  ResetParamEngine();
  ResetReport();
  platform::ForgetRunState();
  State = TLibraryState{};
}

}  // namespace core
