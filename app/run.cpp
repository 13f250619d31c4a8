// SPDX-License-Identifier: MIT
// The run sequence: identity, declarations, judgement and the one outcome it decides.
#include "app/run.h"

#include <utility>

#include "app/help.h"
#include "app/switches.h"
#include "core/banner.h"
#include "core/library.h"
#include "core/validation.h"

namespace app {
namespace {

std::string_view StreamName(platform::TStdStream stream) {
  return stream == platform::stdOutput ? "standard output" : "standard error";
}

// Says why the run ended early, on standard error if that still works.
void ReportFatal(std::string_view program, std::string_view what,
                 const core::TTextChannel& error_channel) {
  std::string line(program);
  line.append(": ").append(what).append(core::LineEnd);
  try {
    core::Write(error_channel, line);
  } catch (const core::TWriteFailure&) {
  }
}

void Decide() {
  if (core::DebugModeParam.Found) {
    core::AudibleError = true;
    core::ErrorDelay = true;
  }
  core::HelpRequested =
      core::HelpParam.Found || core::VersionOnlyParam.Found || core::InfoParam.Found;
  core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus, EssentialSwitches, true, -1,
                           -1);
  const core::TParamStatisticsRec& stats = core::CustomSyntaxStats;
  const bool verbose = core::VerboseParam.Found;

  if (stats.Valid || core::HelpRequested) {
    if (core::HelpParam.Found) {
      core::ShowBanner(core::AppVersionInfo, verbose, true);
      ShowHelp(false);
      core::ExitCode = ExitHelpRequested;
    } else if (core::VersionOnlyParam.Found) {
      core::ShowBanner(core::AppVersionInfo, true, false);
    } else if (core::InfoParam.Found) {
      core::ShowBanner(core::AppVersionInfo, true, true);
    } else {
      if (core::BannerAllowed && (core::BannerParam.Found || verbose)) {
        core::ShowBanner(core::AppVersionInfo, verbose, true);
      }
      ProcessArguments();
    }
    return;
  }
  // The lists decide, not the 16-bit counts, which wrap at 65,536 entries.
  if (!stats.IncompleteList.empty()) {
    ReportInvalidSyntax(core::SyntaxReportStyle, ExitIncompleteParams,
                        "Incomplete Parameters Provided: " + stats.IncompleteList, true);
  } else if (!stats.InvalidList.empty()) {
    ReportInvalidSyntax(core::SyntaxReportStyle, ExitInvalidParams,
                        "Invalid Parameters Provided: " + stats.InvalidList, true);
  } else {
    // Also when some other switch took a value (--error-delay 5 alone): without a
    // transformation switch the run has nothing to do, and must not report success.
    const std::string example = "-u <text> -L <text> -p <text> -i <text> " + core::HelpSwitchHint;
    ReportInvalidSyntax(core::SyntaxReportStyle, ExitMissingEssential,
                        "Missing Essential Parameters (e.g. " + example + ")", true);
  }
}

}  // namespace

void ReportInvalidSyntax(int report_style, int exit_code, std::string_view message, bool brief) {
  core::ShowBanner(core::AppVersionInfo, core::VerboseParam.Found, true);
  if (!message.empty()) {
    if (report_style == 0) {
      core::ReportSyntaxError(message, core::ErrorDelay, core::AudibleError);
    } else {
      core::ReportSyntaxErrorSeeBelow(message, core::ErrorDelay, core::AudibleError);
    }
  }
  ShowHelp(brief);
  core::ExitCode = exit_code;
}

int Run(TRunRec run) {
  const core::TTextChannel error_channel = run.Error;
  core::StartUp({std::move(run.Arguments), std::move(run.ExecutablePath),
                 std::move(run.CommandLine), std::move(run.Invoked), run.Output, run.Error});
  int exit_code = ExitSuccess;
  try {
    SetUpSwitchStyle();
    core::TFileVersionInfoRec identity;
    core::MakeVersionInfo(identity, Version, FullVersion, Description, false);
    core::AppVersionInfo = identity;
    DeclareSwitches();
    Decide();
    exit_code = core::ExitCode;
  } catch (const core::TWriteFailure& failure) {
    ReportFatal(core::AppVersionInfo.BaseName,
                "write error on " + std::string(StreamName(failure.Stream)) + ": " + failure.Reason,
                error_channel);
    exit_code = ExitIoError;
  } catch (const core::TConvertError& error) {
    ReportFatal(core::AppVersionInfo.BaseName, "cannot read the date " + error.Text, error_channel);
    exit_code = ExitInternalError;
  }
  ResetSwitches();
  core::ShutDown();
  return exit_code;
}

}  // namespace app
