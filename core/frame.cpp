// SPDX-License-Identifier: MIT
// The run frame: every way out of a run ends in an exit code, one line and a clean library.
#include "core/frame.h"

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "core/banner.h"
#include "core/channels.h"
#include "core/dates.h"
#include "core/library.h"
#include "core/out_of_memory.h"
#include "core/params.h"
#include "core/paths.h"
#include "core/report.h"
#include "core/verdict.h"
#include "platform/platform.h"

namespace core {
namespace {

std::string_view StreamName(platform::TStdStream stream) {
  return stream == platform::stdOutput ? "standard output" : "standard error";
}

// The name the frame's lines begin with.
std::string ToolName() {
  if (!AppVersionInfo.BaseName.empty()) return AppVersionInfo.BaseName;
  std::string name;
  detail::ForEachBaseNamePiece(FileNameOf(detail::ExecutableFullPath),
                               [&](std::string_view piece) { name += piece; });
  return name;
}

// "<tool>: <message>", the form of every line the frame writes for a tool.
std::string ToolLine(std::string_view message) {
  std::string line = ToolName();
  line.append(": ").append(message);
  return line;
}

// Says why the run ended early, on standard error if that still works: neither a failed write
// nor a lack of memory may stop the run from ending with its exit code.
void ReportFatal(std::string_view what, const TTextChannel& error_channel) {
  // What the output holds is written first, as far as it goes.
  try {
    FlushOutput();
  } catch (...) {
  }
  try {
    WriteLine(error_channel, ToolLine(what));
  } catch (...) {
  }
}

// Leaves nothing of a run behind, whichever way it ends: neither the library's state nor the
// tool's, its switch records included.
class TRunGuard {
 public:
  explicit TRunGuard(const TToolRec& tool) : tool_(tool) { ResetTool(); }
  ~TRunGuard() {
    ShutDown();
    ResetTool();
  }
  TRunGuard(const TRunGuard&) = delete;
  TRunGuard& operator=(const TRunGuard&) = delete;

 private:
  void ResetTool() const {
    for (const TSwitchRow& row : tool_.Switches) {
      if (row.Record != nullptr) *row.Record = TFindParamRec();
    }
    if (tool_.Reset != nullptr) tool_.Reset();
  }

  const TToolRec& tool_;
};

// The library's settings as they are when made: before a run, each differs from its starting
// value only when a tool set it there, where start-up would undo it without a word.
struct TSettings {
  TSwitchStyle SwitchStyle = core::SwitchStyle;
  bool RequireDoubleDash = core::RequireDoubleDash;
  bool SlashForms = core::SlashForms;
  bool RecordFindHistory = core::RecordFindHistory;
  TParamFlags ParamFlags = core::ParamFlags;
  bool ErrorDelay = core::ErrorDelay;
  bool AudibleError = core::AudibleError;
  bool HelpRequested = core::HelpRequested;
  bool BannerAllowed = core::BannerAllowed;
  int SyntaxReportStyle = core::SyntaxReportStyle;
  int ExitCode = core::ExitCode;
  std::string_view LineEnd = core::LineEnd;
};

// After start-up: names each setting that start-up has undone, `before` holding what the tool
// made of it, with where the tool should make it instead; true when there was one.
bool ReportSettingsMadeEarly(const TSettings& before, const TTextChannel& error_channel) {
  const TSettings now;
  const std::pair<std::string_view, bool> settings[] = {
      {"SwitchStyle", before.SwitchStyle != now.SwitchStyle},
      {"RequireDoubleDash", before.RequireDoubleDash != now.RequireDoubleDash},
      {"SlashForms", before.SlashForms != now.SlashForms},
      {"RecordFindHistory", before.RecordFindHistory != now.RecordFindHistory},
      {"ParamFlags", before.ParamFlags != now.ParamFlags},
      {"ErrorDelay", before.ErrorDelay != now.ErrorDelay},
      {"AudibleError", before.AudibleError != now.AudibleError},
      {"HelpRequested", before.HelpRequested != now.HelpRequested},
      {"BannerAllowed", before.BannerAllowed != now.BannerAllowed},
      {"SyntaxReportStyle", before.SyntaxReportStyle != now.SyntaxReportStyle},
      {"ExitCode", before.ExitCode != now.ExitCode},
      // The frame has set the tool's line end by now; it starts from that of a tool that
      // chooses none.
      {"LineEnd", before.LineEnd != TToolRec{}.LineEnd},
  };
  bool made_early = false;
  for (const auto& [name, changed] : settings) {
    if (!changed) continue;
    made_early = true;
    std::string line(name);
    line.append(" was set before the run started, and start-up would undo it: ");
    line.append(name == "LineEnd" ? "give it in the tool's TToolRec"
                                  : "set it in the tool's SetUp");
    ReportFatal(line, error_channel);
  }
  return made_early;
}

// RunTool's work, with the settings as they were before the run began, over the arguments of
// `argv` where it holds any (StartUpFromArgv).
int RunFrame(TStartUpRec start, std::span<char* const> argv, const TToolRec& tool,
             const TSettings& before) {
  LineEnd = tool.LineEnd;
  const TTextChannel error_channel = start.Error;
  const TRunGuard guard(tool);
  try {
    detail::StartUpFromArgv(std::move(start), argv);
    detail::SetToolCredits(tool.Copyright, tool.Attribution);
    if (ReportSettingsMadeEarly(before, error_channel)) return ExitInternalError;
    if (tool.BufferedOutput) detail::BufferOutput();
    if (tool.SetUp != nullptr) tool.SetUp();
    if (!tool.Version.empty()) {
      MakeVersionInfo(AppVersionInfo, tool.Version, tool.FullVersion, tool.Description, false);
    }
    bool proceed = true;
    if (!tool.Switches.empty()) {
      DeclareRows(tool.Switches, tool.Operands);
      proceed = JudgeCommandLine(tool);
    }
    if (proceed && tool.Body != nullptr) tool.Body();
    // Inside the frame, so that a failure here too ends the run with its code.
    FlushOutput();
    return ExitCode;
  } catch (const TWriteFailure& failure) {
    // A line on the stream that failed would fail too, or land among the output.
    if (failure.Stream != platform::stdError) {
      ReportFatal(
          "write error on " + std::string(StreamName(failure.Stream)) + ": " + failure.Reason,
          error_channel);
    }
    return ExitIoError;
  } catch (const TConvertError& error) {
    ReportFatal("cannot read the date " + error.Text, error_channel);
    return ExitInternalError;
  } catch (const std::bad_alloc&) {
    // Only where no new-handler ends the process first (RunMain's does): in-process runs.
    ReportFatal("out of memory", error_channel);
    return ExitOutOfMemory;
  } catch (const std::exception& error) {
    const std::string_view what = error.what();
    ReportFatal(what.empty() ? "internal error" : "internal error: " + std::string(what),
                error_channel);
    return ExitInternalError;
  } catch (...) {
    ReportFatal("internal error", error_channel);
    return ExitInternalError;
  }
}

}  // namespace

void WriteErrorLine(std::string_view message) { WriteLine(ErrorChannel, ToolLine(message)); }

int RunTool(TStartUpRec start, const TToolRec& tool) {
  return RunFrame(std::move(start), {}, tool, TSettings{});
}

int RunMain(int argc, char** argv, const TToolRec& tool) {
  const TSettings before;
  const char* invoked = argc > 0 && argv[0] != nullptr ? argv[0] : "";
  // The out-of-memory line ends as the tool's lines do, however early it comes.
  LineEnd = tool.LineEnd;
  EndRunOnOutOfMemory(invoked, ExitOutOfMemory);
  TStartUpRec start;
  start.ExecutablePath = platform::ExecutablePath(invoked);
  // Where the system keeps no command line, the report joins one only if it is ever shown.
  if (!platform::NativeCommandLine(start.CommandLine)) start.Invoked = invoked;
  return RunFrame(std::move(start), platform::ArgumentList(argc, argv), tool, before);
}

}  // namespace core
