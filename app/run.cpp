// SPDX-License-Identifier: MIT
// The run sequence: identity, declarations, judgement and the one outcome it decides.
#include "app/run.h"

#include <string>
#include <utility>

#include "app/help.h"
#include "app/switches.h"
#include "core/banner.h"
#include "core/library.h"
#include "core/report.h"
#include "core/validation.h"

namespace app {
namespace {

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

namespace {

// The run after the library's start-up: identity, declarations, judgement and one outcome.
void RunLettrix() {
  core::TFileVersionInfoRec identity;
  core::MakeVersionInfo(identity, Version, FullVersion, Description, false);
  core::AppVersionInfo = identity;
  DeclareSwitches();
  Decide();
}

}  // namespace

const core::TToolRec Lettrix = {
    .Body = RunLettrix,
    .Reset = ResetSwitches,
    .SetUp = SetUpSwitchStyle,
    .Copyright = "Copyright (c) 2024-2026 The Lettrix developers. All rights reserved.",
    .Attribution = "Written by the Lettrix team on the QuillonCore console-tool library.",
};

int Run(core::TStartUpRec run) { return core::RunTool(std::move(run), Lettrix); }

}  // namespace app
