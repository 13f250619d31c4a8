// SPDX-License-Identifier: MIT
#include "core/frame.h"

#include <gtest/gtest.h>

#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "core/banner.h"
#include "core/dates.h"
#include "core/params.h"
#include "core/report.h"
#include "platform/platform.h"

namespace {

// An exception that says nothing of itself.
struct TSilentError : std::exception {
  const char* what() const noexcept override { return ""; }
};

// Each way a body can fail that a tool does not catch: the frame turns it into its exit code and
// one line on standard error that names the tool, and writes nothing on standard output.
TEST(RunToolTest, EndsEachUncaughtFailureWithItsCodeAndLine) {
  const struct {
    std::string_view name;
    void (*body)();
    int code;
    std::string_view error;
  } rows[] = {
      {"exception with a text", [] { throw std::runtime_error("no rows"); }, 70,
       "Tool: internal error: no rows\r\n"},
      {"exception without a text", [] { throw TSilentError(); }, 70, "Tool: internal error\r\n"},
      {"no exception", [] { throw 1; }, 70, "Tool: internal error\r\n"},
      {"unreadable date", [] { core::TextToDateTime("13/45/2024", "mm/dd/yyyy"); }, 70,
       "Tool: cannot read the date 13/45/2024\r\n"},
      {"out of memory", [] { throw std::bad_alloc(); }, 71, "Tool: out of memory\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string out, err;
    core::TStartUpRec start;
    start.ExecutablePath = "/opt/tools/Tool";
    start.Output = core::TTextChannel{platform::stdOutput, &out};
    start.Error = core::TTextChannel{platform::stdError, &err};
    core::TToolRec tool;
    tool.Body = row.body;
    EXPECT_EQ(core::RunTool(std::move(start), tool), row.code);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, row.error);
  }
}

struct CapturedRun {
  int code = -1;
  std::string out, err;
};

// One run of `tool` through the frame, as the tool "tiny", its channels bound to strings.
CapturedRun RunCaptured(const core::TToolRec& tool) {
  CapturedRun run;
  core::TStartUpRec start;
  start.ExecutablePath = "/opt/tools/tiny";
  start.Output = core::TTextChannel{platform::stdOutput, &run.out};
  start.Error = core::TTextChannel{platform::stdError, &run.err};
  run.code = core::RunTool(std::move(start), tool);
  return run;
}

std::string WithLineFeeds(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.erase(at, 1);
  }
  return text;
}

// The same run with "\n" writes what it writes with CR LF, every CR LF a "\n": no line of the
// library keeps a line end of its own.
TEST(RunToolTest, EndsEveryLineAsTheToolChooses) {
  const struct {
    const char* what;
    void (*body)();
    int code;
  } rows[] = {
      {"results, banner and build line",
       [] {
         core::MakeVersionInfo(core::AppVersionInfo, "1.0", "1.0.0.1", "Tiny", false);
         core::ShowBanner(core::AppVersionInfo, true, true);
         core::WriteLine(core::OutputChannel, "result");
         core::WriteDividerLine(3, true);
         core::WriteMessageBlock("message");
       },
       0},
      {"report and pause",
       [] {
         core::ReportSyntaxErrorSeeBelow("Invalid Parameters Provided: -z", false, false);
         core::WaitForAnyKey(1, "Press Any Key to Continue...");
       },
       0},
      {"write error",
       [] {
         throw core::TWriteFailure{platform::stdOutput, "full"};
       },
       74},
      {"unreadable date", [] { throw core::TConvertError{"13/13/2026"}; }, 70},
      {"out of memory", [] { throw std::bad_alloc(); }, 71},
      {"internal error", [] { throw std::runtime_error("broken"); }, 70},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CapturedRun crlf = RunCaptured({.Body = row.body, .Copyright = "C", .Attribution = "A"});
    const CapturedRun lf =
        RunCaptured({.Body = row.body, .Copyright = "C", .Attribution = "A", .LineEnd = "\n"});
    EXPECT_EQ(row.code, crlf.code);
    EXPECT_EQ(row.code, lf.code);
    EXPECT_NE("", crlf.out + crlf.err);
    EXPECT_EQ(WithLineFeeds(crlf.out), lf.out);
    EXPECT_EQ(WithLineFeeds(crlf.err), lf.err);
    EXPECT_EQ(std::string::npos, (lf.out + lf.err).find('\r'));
    EXPECT_EQ("\r\n", core::LineEnd);
  }
}

int Bodies = 0;
core::TSwitchStyle StyleInBody = core::ssPlain;

// A setting made before the run would be undone by start-up: the run ends before SetUp and
// Body, and the next run, whose SetUp makes the setting, is clean.
TEST(RunToolTest, EndsARunWhoseSettingWasMadeBeforeIt) {
  const std::string ending = " was set before the run started, and start-up would undo it: ";
  const struct {
    void (*make)();
    std::string err;
  } rows[] = {
      {[] { core::SwitchStyle = core::ssAttachedValues; },
       "tiny: SwitchStyle" + ending + "set it in the tool's SetUp\n"},
      {[] { core::ParamFlags = core::pfFindAll; },
       "tiny: ParamFlags" + ending + "set it in the tool's SetUp\n"},
      {[] {
         core::BannerAllowed = false;
         core::ExitCode = 3;
         core::LineEnd = "\r\n\r\n";
       },
       "tiny: BannerAllowed" + ending + "set it in the tool's SetUp\ntiny: ExitCode" + ending +
           "set it in the tool's SetUp\ntiny: LineEnd" + ending +
           "give it in the tool's TToolRec\n"},
  };
  const core::TToolRec tool = {
      .Body =
          [] {
            ++Bodies;
            StyleInBody = core::SwitchStyle;
          },
      .SetUp = [] { core::SwitchStyle = core::ssAttachedValues; },
      .LineEnd = "\n",
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.err);
    Bodies = 0;
    row.make();
    const CapturedRun early = RunCaptured(tool);
    EXPECT_EQ(70, early.code);
    EXPECT_EQ(row.err, early.err);
    EXPECT_EQ("", early.out);
    EXPECT_EQ(0, Bodies);
    const CapturedRun next = RunCaptured(tool);
    EXPECT_EQ(0, next.code);
    EXPECT_EQ("", next.err);
    EXPECT_EQ(1, Bodies);
    EXPECT_EQ(core::ssAttachedValues, StyleInBody);
    EXPECT_EQ(core::ssPlain, core::SwitchStyle);
  }
}

core::TFileVersionInfoRec Identity;

// The banner's second and third lines are the running tool's, each left out when it gives none;
// outside a run there are none.
TEST(RunToolTest, BannerShowsTheToolsOwnLines) {
  const struct {
    std::string_view copyright, attribution, after_title;
  } rows[] = {
      {"", "", "\r\n"},
      {"(c) Tiny", "", "(c) Tiny\r\n\r\n"},
      {"", "By us", "By us\r\n\r\n"},
      {"(c) Tiny", "By us", "(c) Tiny\r\nBy us\r\n\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.copyright) + "|" + std::string(row.attribution));
    const CapturedRun run =
        RunCaptured({.Body =
                         [] {
                           core::MakeVersionInfo(Identity, "1.0", "1.0.0.1", "Tiny", false);
                           core::ShowBanner(Identity, false, true);
                         },
                     .Copyright = row.copyright,
                     .Attribution = row.attribution});
    EXPECT_EQ(0, run.code);
    EXPECT_EQ(row.copyright, Identity.Copyright);
    EXPECT_EQ(row.attribution, Identity.Attribution);
    EXPECT_TRUE(run.err.starts_with("tiny v1.0")) << run.err;
    EXPECT_EQ(row.after_title, run.err.substr(run.err.find("\r\n") + 2));
  }
  core::MakeVersionInfo(Identity, "1.0", "1.0.0.1", "Tiny", false);
  EXPECT_EQ("", Identity.Copyright);
  EXPECT_EQ("", Identity.Attribution);
}

}  // namespace
