// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "core/library.h"
#include "core/report.h"
#include "core/text.h"
#include "tests/unit/captured_run.h"

namespace {

struct Row {
  std::string_view input;
  std::string_view expected;
};

constexpr std::string_view kExecutable = "/opt/my tools/a.exe.b.EXE";
// What the user typed, spacing and quotes included, must come back unaltered.
constexpr std::string_view kCommandLine = "a.exe.b.EXE  \"two words\"   --bogus";

// The report down to its message line, for the executable and command line above.
std::string ReportWith(std::string_view message_line) {
  return std::string("Invalid or Incomplete Syntax!\r\n\r\n") +
         "Execution Path ... \"/opt/my tools\"\r\n" + "You entered ...... " +
         std::string(kCommandLine) + "\r\n\r\n" + std::string(message_line) + "\r\n\r\n";
}

TEST(JoinCommandLineTest, QuotesEachElementAndJoinsWithSingleSpaces) {
  EXPECT_EQ("\"/opt/my tools/lx\" -u \"two words\" \"\"",
            core::detail::JoinCommandLine("/opt/my tools/lx", {"-u", "two words", ""}));
  EXPECT_EQ("lx", core::detail::JoinCommandLine("lx", {}));
}

TEST(ReportSyntaxErrorTest, WritesSevenLinesOnErrorAndNothingOnOutput) {
  const test::TCapturedRun run{std::string(kExecutable), {}, std::string(kCommandLine)};
  core::ReportSyntaxError("Unknown switch: --bogus", false, false);
  EXPECT_EQ(ReportWith("Unknown switch: --bogus"), run.err());
  EXPECT_EQ("", run.out());
}

// The brief help that follows the report must land under it, on standard error.
TEST(ReportSyntaxErrorTest, LeavesOutputChannelWritingToError) {
  const test::TCapturedRun run{std::string(kExecutable), {}, std::string(kCommandLine)};
  core::ReportSyntaxError("x", false, false);
  core::WriteDividerLine(2, false);
  core::WriteLine(core::OutputChannel, "help");
  EXPECT_EQ(ReportWith("x") + "--\r\nhelp\r\n", run.err());
  EXPECT_EQ("", run.out());
}

TEST(ReportSyntaxErrorTest, PrintsAgainWhenCalledAgain) {
  const test::TCapturedRun run{std::string(kExecutable), {}, std::string(kCommandLine)};
  core::ReportSyntaxError("one", false, false);
  core::ReportSyntaxError("two", false, false);
  EXPECT_EQ(ReportWith("one") + ReportWith("two"), run.err());
}

TEST(ReportSyntaxErrorSeeBelowTest, PointsBelowAfterExactlyOneSpace) {
  const Row rows[] = {
      {"Missing value", "Missing value (See Syntax Definition Below)"},
      {"Missing value ", "Missing value (See Syntax Definition Below)"},
      {"Missing value  ", "Missing value  (See Syntax Definition Below)"},
      {"Missing value\t", "Missing value\t (See Syntax Definition Below)"},
      {"", " (See Syntax Definition Below)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    const test::TCapturedRun run{std::string(kExecutable), {}, std::string(kCommandLine)};
    core::ReportSyntaxErrorSeeBelow(row.input, false, false);
    EXPECT_EQ(ReportWith(row.expected), run.err());
    EXPECT_EQ("", run.out());
  }
}

// Standard input is no terminal here, so no key can end the wait: every step shows its dot.
TEST(WaitForAnyKeyTest, WritesOneDotPerStepAndAtLeastOne) {
  struct WaitRow {
    int steps;
    std::string_view dots;
  };
  for (const WaitRow& row : {WaitRow{1, "."}, WaitRow{0, "."}, WaitRow{2, ".."}}) {
    SCOPED_TRACE(row.steps);
    const test::TCapturedRun run{"/usr/bin/Lettrix"};
    const auto start = std::chrono::steady_clock::now();
    core::WaitForAnyKey(row.steps, "Press Any Key to Continue...");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ("Press Any Key to Continue..." + std::string(row.dots) + "\r\n\r\n", run.out());
    EXPECT_EQ("", run.err());
    EXPECT_GE(waited, std::chrono::milliseconds(240) * static_cast<int>(row.dots.size()));
  }
}

}  // namespace
