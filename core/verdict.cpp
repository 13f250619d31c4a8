// SPDX-License-Identifier: MIT
// Help, and the report of a line that cannot be accepted: the outcomes every tool shares.
#include "core/verdict.h"

#include <string>

#include "core/banner.h"
#include "core/channels.h"
#include "core/library.h"
#include "core/params.h"
#include "core/report.h"
#include "core/text.h"
#include "core/validation.h"

namespace core {
namespace {

// The example of the missing-essential message: the tool's own, or each essential switch's
// first form, in lower case as a user types it, with the value it takes.
std::string MissingExample(const TToolRec& tool) {
  if (!tool.MissingExample.empty()) return std::string(tool.MissingExample);
  std::string example;
  for (const TSwitchRow& row : tool.Switches) {
    if (!row.Essential) continue;
    detail::ForEachAliasWord(row.Aliases, [&](std::string_view word) {
      example.append(detail::DashPrefixOf(word)).append(AsciiLower(word));
      return true;
    });
    if (!row.ValueName.empty()) example.append(" ").append(row.ValueName);
    example.push_back(' ');
  }
  return example;
}

// For each number refused, the switch as written and the range it takes: "(-n: a whole number
// from 1 to 1000000) ".
std::string RangeNotes() {
  std::string notes;
  for (const detail::TRefusedNumber& refused : detail::RefusedNumbers) {
    const std::string_view arg = ParamStatus[static_cast<std::size_t>(refused.Index)].Param;
    notes.append("(").append(arg.substr(0, refused.Length)).append(": a whole number from ");
    notes.append(std::to_string(refused.Least)).append(" to ");
    notes.append(std::to_string(refused.Most)).append(") ");
  }
  return notes;
}

// What the usage line shows after the tool's name: its Syntax, then its operands,
// "[--] [<file>...]".
std::string SyntaxOf(const TToolRec& tool) {
  std::string syntax(tool.Syntax);
  const TOperandsRec& operands = tool.Operands;
  if (operands.Most == 0) return syntax;
  if (!syntax.empty()) syntax.push_back(' ');
  std::string shown(operands.Name);
  if (operands.Most > 1) shown.append("...");
  if (operands.Least == 0) shown = "[" + shown + "]";
  return syntax.append("[--] ").append(shown);
}

}  // namespace

void ShowToolHelp(const TToolRec& tool, bool brief) {
  if (tool.ShowHelp != nullptr) {
    tool.ShowHelp(brief);
    return;
  }
  const std::string syntax = SyntaxOf(tool);
  if (!syntax.empty()) WriteLine(OutputChannel, "Usage: " + AppVersionInfo.BaseName + " " + syntax);
  if (brief) return;
  if (!syntax.empty()) WriteLine(OutputChannel, {});
  WriteOptionLines(tool.Switches);
}

void ReportInvalidSyntax(const TToolRec& tool, int report_style, int exit_code,
                         std::string_view message, bool brief) {
  ShowBanner(AppVersionInfo, VerboseParam.Found, true);
  if (!message.empty()) {
    if (report_style == 0) {
      ReportSyntaxError(message, ErrorDelay, AudibleError);
    } else {
      ReportSyntaxErrorSeeBelow(message, ErrorDelay, AudibleError);
    }
  }
  ShowToolHelp(tool, brief);
  ExitCode = exit_code;
}

void ShowRunBanner() {
  if (BannerAllowed && (BannerParam.Found || VerboseParam.Found)) {
    ShowBanner(AppVersionInfo, VerboseParam.Found, true);
  }
}

bool JudgeCommandLine(const TToolRec& tool) {
  // The standard switches' meaning: each error mode from its own switch, both from debug mode.
  ErrorDelay = ErrorDelay || ErrorDelayParam.Found || DebugModeParam.Found;
  AudibleError = AudibleError || AudibleErrorParam.Found || DebugModeParam.Found;
  HelpRequested = HelpParam.Found || VersionOnlyParam.Found || InfoParam.Found;
  const std::string essential = EssentialList(tool.Switches);
  GetParamStatistics(CustomSyntaxStats, ParamStatus, essential, !essential.empty(), -1, -1);
  const TParamStatisticsRec& stats = CustomSyntaxStats;
  const bool too_few = GetOperands().size() < tool.Operands.Least;
  if ((stats.Valid && !too_few) || HelpRequested) {
    if (!HelpParam.Found) return true;
    ShowBanner(AppVersionInfo, VerboseParam.Found, true);
    ShowToolHelp(tool, false);
    ExitCode = ExitHelpRequested;
    return false;
  }
  // The lists decide, not the 16-bit counts, which wrap at 65,536 entries.
  if (!stats.IncompleteList.empty()) {
    ReportInvalidSyntax(tool, SyntaxReportStyle, ExitIncompleteParams,
                        "Incomplete Parameters Provided: " + stats.IncompleteList, true);
  } else if (!stats.InvalidList.empty()) {
    ReportInvalidSyntax(tool, SyntaxReportStyle, ExitInvalidParams,
                        "Invalid Parameters Provided: " + stats.InvalidList + RangeNotes(), true);
  } else {
    // Also when some other switch took a value (--error-delay 5 alone): without an essential
    // switch the run has nothing to do, and must not report success.
    std::string example = stats.EssentialMissing ? MissingExample(tool) : std::string();
    if (too_few) example.append(tool.Operands.Name).push_back(' ');
    example.append(HelpSwitchHint);
    if (!example.empty() && example.back() == ' ') example.pop_back();
    ReportInvalidSyntax(tool, SyntaxReportStyle, ExitMissingEssential,
                        "Missing Essential Parameters (e.g. " + example + ")", true);
  }
  return false;
}

}  // namespace core
