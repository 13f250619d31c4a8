// SPDX-License-Identifier: MIT
// The library's lifecycle: the one place that knows every module, and starts and resets each.
#include "core/library.h"

#include <utility>

#include "core/banner.h"
#include "core/channels.h"
#include "core/dates.h"
#include "core/params.h"
#include "core/report.h"
#include "core/settings.h"
#include "core/validation.h"
#include "platform/platform.h"

namespace core {
int ExitCode;
bool HelpRequested;
bool BannerAllowed;
int SyntaxReportStyle;

namespace {

// The library's own variables, each with its starting value: the one list that start-up,
// shutdown and the frame's check before a run read.
const auto Settings = [](auto visit) {
  visit("ExitCode", ExitCode, 0);
  visit("HelpRequested", HelpRequested, false);
  visit("BannerAllowed", BannerAllowed, true);
  visit("SyntaxReportStyle", SyntaxReportStyle, 0);
};
// Before the first run too, so that the frame can tell a setting that a tool made before it.
[[maybe_unused]] const bool SettingsAtStart = (detail::RestoreSettings(Settings), true);

void ResetLibrary() { detail::RestoreSettings(Settings); }

}  // namespace

void detail::NameChangedLibrarySettings(std::vector<std::string_view>& names) {
  NameChangedSettings(Settings, names);
}

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
