// SPDX-License-Identifier: MIT
// Bytecount: writes the number of bytes of each text given after -c, and their sum with -t.
// A complete console tool on QuillonCore; docs/library.md walks through it.
#include <cstddef>
#include <string>

#include "core/banner.h"
#include "core/channels.h"
#include "core/frame.h"
#include "core/params.h"
#include "core/report.h"
#include "core/validation.h"

namespace {

// The exit codes of the tools on the library: 0, 64 to 67 for a command line that cannot be
// accepted, 255 after help. The frame adds 70, 71 and 74.
constexpr int ExitSuccess = 0, ExitMissing = 64, ExitInvalid = 65, ExitIncomplete = 67,
              ExitHelp = 255;

constexpr std::string_view CountAliases = "C COUNT";
// Every -c counts (pfFindAll), and each needs a text (pfNoBlankFirstValue).
constexpr core::TParamFlags CountFlags = core::pfNoBlankFirstValue | core::pfFindAll;
constexpr std::string_view Usage = "Usage: Bytecount [-t] [-v] -c <text> [-c <text> ...]";

// The tool's own switch records; Reset gives them their starting values.
core::TFindParamRec TotalParam, CountParam;

void Reset() {
  TotalParam = core::TFindParamRec();
  CountParam = core::TFindParamRec();
}

// The order is behaviour: a switch declared earlier is never taken as a later one's value.
void DeclareSwitches() {
  const core::TParamFlags once{};  // the first occurrence answers; a second one stays invalid
  core::FindParamFlag(core::HelpParam, core::ParamStatus, "H HELP ?", once, -1, core::skFrom);
  core::FindParamFlag(core::VerboseParam, core::ParamStatus, "V VERBOSE", once, -1, core::skFrom);
  core::FindParamFlag(TotalParam, core::ParamStatus, "T TOTAL", once, -1, core::skFrom);
  std::string value;  // the last -c's text; the walk below reads every one
  core::FindParamValue(CountParam, core::ParamStatus, CountAliases, value, CountFlags, -1,
                       core::skFrom);
}

// The banner first, then the report; from the report on, OutputChannel writes to standard
// error, so the usage line follows it there.
void ReportInvalid(int exit_code, const std::string& message) {
  core::ShowBanner(core::AppVersionInfo, false, true);
  core::ReportSyntaxError(message, false, false);
  core::WriteLine(core::OutputChannel, Usage);
  core::ExitCode = exit_code;
}

// Writes the length of every -c's text in command-line order, and their sum with -t.
void CountTexts() {
  const core::TParamStatusArray& args = core::ParamStatus;
  std::size_t sum = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view next =
        i + 1 < args.size() ? std::string_view(args[i + 1].Param) : std::string_view();
    core::TFindParamRec count;
    core::MatchParamAt(count, args[i].Param, CountAliases, next, 1, CountFlags);
    if (!count.Found) continue;
    sum += count.Value1.size();
    core::WriteLine(core::OutputChannel, std::to_string(count.Value1.size()));
  }
  if (TotalParam.Found) core::WriteLine(core::OutputChannel, "total " + std::to_string(sum));
}

void Run() {
  core::TFileVersionInfoRec identity;
  core::MakeVersionInfo(identity, "1.0", "1.0.0.1", "Count the bytes of strings", false);
  identity.Attribution = "An example of a console tool on the QuillonCore library.";
  core::AppVersionInfo = identity;
  DeclareSwitches();
  core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus, CountAliases, true, -1, -1);
  const core::TParamStatisticsRec& stats = core::CustomSyntaxStats;

  if (core::HelpParam.Found) {
    core::ShowBanner(core::AppVersionInfo, core::VerboseParam.Found, true);
    core::WriteLine(core::OutputChannel, Usage);
    core::ExitCode = ExitHelp;
  } else if (!stats.IncompleteList.empty()) {
    ReportInvalid(ExitIncomplete, "Incomplete Parameters Provided: " + stats.IncompleteList);
  } else if (!stats.InvalidList.empty()) {
    ReportInvalid(ExitInvalid, "Invalid Parameters Provided: " + stats.InvalidList);
  } else if (!stats.Valid) {
    ReportInvalid(ExitMissing, "Missing Essential Parameters (e.g. -c <text>)");
  } else {
    CountTexts();
    // Which build counted, for a log: after the counts, on standard error.
    if (core::VerboseParam.Found) core::ShowBanner(core::AppVersionInfo, true, false);
    core::ExitCode = ExitSuccess;
  }
}

}  // namespace

int main(int argc, char** argv) { return core::RunMain(argc, argv, {Run, Reset}); }
