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
#include "tests/unit/captured_run.h"

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
    const test::TToolRun run = test::RunCaptured({.Body = row.body}, {}, "/opt/tools/Tool");
    EXPECT_EQ(run.Code, row.code);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, row.error);
  }
}

// With "\n" a run writes what it writes with CR LF, less each CR: no line keeps a line end of
// its own, from the banner through the report and the pause to the frame's line. The banner's
// lines are the tool's, an empty one left out; outside a run there are none.
TEST(RunToolTest, EndsEveryLineAsTheToolChooses) {
  std::string out[2], err[2];
  for (const int lf : {0, 1}) {
    const test::TToolRun run =
        test::RunCaptured({.Body =
                               [] {
                                 core::ShowBanner(core::AppVersionInfo, true, true);
                                 core::WriteLine(core::OutputChannel, "result");
                                 core::WriteDividerLine(3, true);
                                 core::ReportSyntaxErrorSeeBelow("-z", false, false);
                                 core::WaitForAnyKey(1, "Press");
                                 throw std::runtime_error("broken");
                               },
                           .Attribution = "By us",
                           .LineEnd = lf ? "\n" : "\r\n",
                           .Version = "1.0"});
    EXPECT_EQ(70, run.Code);
    out[lf] = run.Out;
    err[lf] = run.Err;
  }
  EXPECT_TRUE(err[0].ends_with("tiny: internal error: broken\r\n")) << err[0];
  EXPECT_NE(std::string::npos, err[0].find("- \r\nBy us\r\n\r\n")) << err[0];
  EXPECT_EQ(std::string::npos, (out[1] + err[1]).find('\r'));
  std::erase(out[0], '\r');
  std::erase(err[0], '\r');
  EXPECT_EQ(out[0], out[1]);
  EXPECT_EQ(err[0], err[1]);
  EXPECT_EQ("\r\n", core::LineEnd);
  core::TFileVersionInfoRec outside;
  core::MakeVersionInfo(outside, "1.0", "1.0.0.1", "", false);
  EXPECT_EQ("", outside.Copyright + outside.Attribution);
}

// Buffered output is held until the error channel is written, the buffer is full or the run
// ends; a write that fails ends the run with 74 and drops what the output still holds.
TEST(RunToolTest, HandsBufferedOutputOverInOrder) {
  const auto body = [] {
    core::WriteLine(core::OutputChannel, "a");
    core::WriteErrorLine("cannot read b");
    core::WriteLine(core::OutputChannel, std::string(100000, 'c'));
    core::WriteLine(core::OutputChannel, "d");
  };
  const struct {
    std::size_t room;
    int code;
    std::string both;
  } rows[] = {
      {std::string::npos, 0,
       "a\r\ntiny: cannot read b\r\n" + std::string(100000, 'c') + "\r\nd\r\n"},
      // The long line does not fit: nothing after it is written, and the frame names the fault.
      {40, 74,
       "a\r\ntiny: cannot read b\r\ntiny: write error on standard output: No space left in "
       "the buffer\r\n"},
  };
  for (const auto& row : rows) {
    std::string both;
    core::TStartUpRec start = test::CapturedStart(both, both, {}, "/opt/tools/tiny");
    start.Output.Capacity = row.room;
    EXPECT_EQ(row.code, core::RunTool(std::move(start), {.Body = body, .BufferedOutput = true}));
    EXPECT_EQ(row.both, both);
  }
}

core::TSwitchStyle StyleInBody;

// Start-up would undo a setting made before the run: the run ends at once, with a line for each
// such setting, and the next run, which makes the setting in SetUp, is clean. A tool that gives
// no copyright and no attribution shows neither.
TEST(RunToolTest, EndsARunWhoseSettingWasMadeBeforeIt) {
  const std::string undone = " was set before the run started, and start-up would undo it: ";
  const std::string set_up = "set it in the tool's SetUp\n";
  const std::pair<void (*)(), std::string> rows[] = {
      {[] { core::SwitchStyle = core::ssAttachedValues; }, "tiny: SwitchStyle" + undone + set_up},
      {[] {
         core::BannerAllowed = false;
         core::LineEnd = "\r\n\r\n";
       },
       "tiny: BannerAllowed" + undone + set_up + "tiny: LineEnd" + undone +
           "give it in the tool's TToolRec\n"},
  };
  const core::TToolRec tool = {.Body =
                                   [] {
                                     StyleInBody = core::SwitchStyle;
                                     core::ShowBanner(core::AppVersionInfo, false, true);
                                   },
                               .SetUp = [] { core::SwitchStyle = core::ssAttachedValues; },
                               .LineEnd = "\n",
                               .Version = "1.0"};
  for (const auto& [make, expected] : rows) {
    make();
    const test::TToolRun early = test::RunCaptured(tool);
    EXPECT_EQ(70, early.Code);
    EXPECT_EQ(expected, early.Err);
    const test::TToolRun next = test::RunCaptured(tool);
    EXPECT_EQ(0, next.Code);
    EXPECT_TRUE(next.Err.ends_with(") - \n\n")) << next.Err;  // no copyright, no attribution
    EXPECT_EQ(core::ssAttachedValues, StyleInBody);
  }
}

}  // namespace
