// SPDX-License-Identifier: MIT
// The run frame: every way out of a run ends in an exit code, one line and a clean library.
#include "core/frame.h"

#include <array>
#include <exception>
#include <new>
#include <string>
#include <utility>
#include <vector>

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
// "<tool>: <message>", the form of every line the frame writes for a tool.
std::string ToolLine(std::string_view message) {
  std::array<char, 1024> name;
  std::string line(detail::ToolNameInto(name, detail::ExecutableFullPath));
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

// The library's settings that differ from their starting values, each module's list joined:
// before a run, each is one that a tool made there, which start-up would undo without a word.
std::vector<std::string_view> SettingsMadeEarly() {
  std::vector<std::string_view> names;
  detail::NameChangedParamSettings(names);
  detail::NameChangedReportSettings(names);
  detail::NameChangedLibrarySettings(names);
  detail::NameChangedChannelSettings(names);
  return names;
}

// After start-up: names each setting made early, with where the tool should make it instead;
// true when there was one.
bool ReportSettingsMadeEarly(const std::vector<std::string_view>& early,
                             const TTextChannel& error_channel) {
  for (const std::string_view name : early) {
    std::string line(name);
    line.append(" was set before the run started, and start-up would undo it: ");
    line.append(name == "LineEnd" ? "give it in the tool's TToolRec"
                                  : "set it in the tool's SetUp");
    ReportFatal(line, error_channel);
  }
  return !early.empty();
}

// RunTool's work, with the settings as they were before the run began, over the arguments of
// `argv` where it holds any (StartUpFromArgv).
int RunFrame(TStartUpRec start, std::span<char* const> argv, const TToolRec& tool,
             const std::vector<std::string_view>& early) {
  LineEnd = tool.LineEnd;
  const TTextChannel error_channel = start.Error;
  const TRunGuard guard(tool);
  try {
    detail::StartUpFromArgv(std::move(start), argv);
    detail::SetToolCredits(tool.Copyright, tool.Attribution);
    if (ReportSettingsMadeEarly(early, error_channel)) return ExitInternalError;
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
  return RunFrame(std::move(start), {}, tool, SettingsMadeEarly());
}

int RunMain(int argc, char** argv, const TToolRec& tool) {
  const std::vector<std::string_view> early = SettingsMadeEarly();
  const char* invoked = argc > 0 && argv[0] != nullptr ? argv[0] : "";
  // The out-of-memory line ends as the tool's lines do, however early it comes.
  LineEnd = tool.LineEnd;
  EndRunOnOutOfMemory(invoked, ExitOutOfMemory);
  TStartUpRec start;
  start.ExecutablePath = platform::ExecutablePath(invoked);
  // Where the system keeps no command line, the report joins one only if it is ever shown.
  if (!platform::NativeCommandLine(start.CommandLine)) start.Invoked = invoked;
  return RunFrame(std::move(start), platform::ArgumentList(argc, argv), tool, early);
}

}  // namespace core
