// SPDX-License-Identifier: MIT
// Bytecount: writes the number of bytes of each text given after -c, and their sum with -t.
#include <string>
#include <utility>

#include "core/banner.h"
#include "core/library.h"
#include "core/params.h"
#include "core/report.h"
#include "core/validation.h"
#include "platform/platform.h"

namespace {

constexpr int ExitSuccess = 0, ExitMissing = 64, ExitInvalid = 65, ExitIncomplete = 67,
              ExitIoError = 74;
constexpr std::string_view CountAliases = "C COUNT";
constexpr core::TParamFlags CountFlags = core::pfNoBlankFirstValue | core::pfFindAll;

int Decide() {
  core::TFileVersionInfoRec identity;
  core::MakeVersionInfo(identity, "1.0", "1.0.0.1", "Count the bytes of strings", false);
  identity.Attribution = "An example of a console tool on the QuillonCore library.";
  core::AppVersionInfo = identity;

  core::TFindParamRec count, total;
  std::string scratch;
  core::FindParamFlag(total, core::ParamStatus, "T TOTAL", 0, -1, core::skFrom);
  core::FindParamValue(count, core::ParamStatus, CountAliases, scratch, CountFlags, -1,
                       core::skFrom);
  core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus, CountAliases, true, -1, -1);
  const core::TParamStatisticsRec& stats = core::CustomSyntaxStats;
  if (!stats.Valid) {
    core::ShowBanner(core::AppVersionInfo, false, true);
    if (!stats.IncompleteList.empty()) {
      core::ReportSyntaxError("Incomplete Parameters Provided: " + stats.IncompleteList, false,
                              false);
      return ExitIncomplete;
    }
    if (!stats.InvalidList.empty()) {
      core::ReportSyntaxError("Invalid Parameters Provided: " + stats.InvalidList, false, false);
      return ExitInvalid;
    }
    core::ReportSyntaxError("Missing Essential Parameters (e.g. -c <text>)", false, false);
    return ExitMissing;
  }

  // Every occurrence counts, in command-line order; the declaration kept only the last one.
  std::size_t sum = 0;
  const core::TParamStatusArray& args = core::ParamStatus;
  for (std::size_t i = 0; i < args.size(); ++i) {
    core::MatchParamAt(count, args[i].Param, CountAliases,
                       i + 1 < args.size() ? args[i + 1].Param : "", 1, CountFlags);
    if (!count.Found) continue;
    sum += count.Value1.size();
    core::WriteLine(core::OutputChannel, std::to_string(count.Value1.size()));
  }
  if (total.Found) core::WriteLine(core::OutputChannel, "total " + std::to_string(sum));
  return ExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  const char* invoked = argc > 0 ? argv[0] : "Bytecount";
  core::TStartUpRec start;
  start.Arguments = platform::ArgumentList(argc, argv);
  start.ExecutablePath = platform::ExecutablePath(invoked);
  if (!platform::NativeCommandLine(start.CommandLine)) start.Invoked = invoked;
  core::StartUp(std::move(start));
  int exit_code = ExitIoError;
  try {
    exit_code = Decide();
  } catch (const core::TWriteFailure&) {
    // Nothing more can be said: the channel that failed may be the only one.
  }
  core::ShutDown();
  return exit_code;
}
