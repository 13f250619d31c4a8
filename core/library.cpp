// SPDX-License-Identifier: MIT
// The library's lifecycle: the one place that knows every module, and starts and resets each.
#include "core/library.h"

#include <utility>

#include "core/banner.h"
#include "core/channels.h"
#include "core/dates.h"
#include "core/params.h"
#include "core/report.h"
#include "core/validation.h"
#include "platform/platform.h"

namespace core {
// Their starting values hold before the first run too, so that the run frame can tell one that
// a tool set before its run, which start-up would undo; ResetLibrary gives them again.
int ExitCode = 0;
bool HelpRequested = false;
bool BannerAllowed = true;
int SyntaxReportStyle = 0;

namespace {

// The library's own variables at their starting values; start-up and shutdown both come here.
void ResetLibrary() {
  ExitCode = 0;
  HelpRequested = false;
  BannerAllowed = true;
  SyntaxReportStyle = 0;
}

}  // namespace

void StartUp(TStartUpRec start) { detail::StartUpFromArgv(std::move(start), {}); }

void detail::StartUpFromArgv(TStartUpRec start, std::span<char* const> argv) {
  // Each module's start begins from its starting values; so do the library's own variables and
  // what the platform read, whatever an earlier run in this process may have left. The
  // executable's path comes first: should the rest fail, the run frame names the tool by it.
  ResetLibrary();
  platform::ForgetRunState();
  detail::ResetDates();
  detail::StartBanner(std::move(start.ExecutablePath));
  std::function<std::string()> make_command_line;
  if (start.Invoked) {
    make_command_line = [invoked = std::move(*start.Invoked)] {
      return detail::JoinCommandLine(invoked, ParamStatus,
                                     [](const TParamStatusRec& entry) { return entry.Param; });
    };
  }
  detail::StartChannels(start.Output, start.Error);
  detail::StartReport(detail::ExecutableFullPath, std::move(start.CommandLine),
                      std::move(make_command_line));
  detail::StartParamEngine(std::move(start.Arguments), argv);
  detail::StartValidation();
}

void ShutDown() {
  detail::ResetBanner();
  detail::ResetDates();
  detail::ResetValidation();
  detail::ResetParamEngine();
  detail::ResetReport();
  detail::ResetChannels();
  platform::ForgetRunState();
  ResetLibrary();
}

}  // namespace core
