// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "core/internal.h"
#include "core/library.h"
#include "core/paths.h"
#include "core/report.h"
#include "core/text.h"

namespace {

struct Row {
  std::string_view input;
  std::string_view expected;
};

// A run of the library whose two channels write into `out` and `err`.
class CapturedRun {
 public:
  explicit CapturedRun(std::string executable, std::string command_line = "") {
    core::TStartUpRec start;
    start.ExecutablePath = std::move(executable);
    start.CommandLine = std::move(command_line);
    start.Output = core::TTextChannel{platform::stdOutput, &out_};
    start.Error = core::TTextChannel{platform::stdError, &err_};
    core::StartUp(std::move(start));
  }
  ~CapturedRun() { core::ShutDown(); }
  CapturedRun(const CapturedRun&) = delete;
  CapturedRun& operator=(const CapturedRun&) = delete;

  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }

 private:
  std::string out_, err_;
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

// Other white space and inner quotes are left alone: only a space or emptiness quotes.
TEST(QuoteIfNeededTest, QuotesOnlyEmptyTextOrTextWithSpace) {
  const Row rows[] = {
      {"", "\"\""},
      {" ", "\" \""},
      {"/opt/my tools", "\"/opt/my tools\""},
      {"/usr/bin", "/usr/bin"},
      {"a\tb", "a\tb"},
      {"\"quoted\"", "\"quoted\""},
      {"say \"hi\"", "\"say \"hi\"\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, core::QuoteIfNeeded(row.input));
  }
}

// Only a root keeps its trailing slash; a doubled slash is not collapsed. On Windows a backslash
// and a colon separate too.
TEST(DirectoryOfTest, CutsAfterLastSlashAndDropsItUnlessRoot) {
  const Row rows[] = {
      {"/usr/bin/Lettrix", "/usr/bin"},
      {"/Lettrix", "/"},
      {"Lettrix", ""},
      {"", ""},
      {"/usr/bin/", "/usr/bin"},
      {"a//b", "a//"},
      {"/opt/my tools/a.exe", "/opt/my tools"},
#ifdef _WIN32
      {"C:\\tools\\a.exe", "C:\\tools"},
      {"C:\\a.exe", "C:\\"},  // a drive root keeps its backslash
      {"C:a.exe", "C:"},
      {"C:\\tools/sub\\", "C:\\tools/sub"},
      {"\\\\server\\share\\a.exe", "\\\\server\\share"},
#else
      {"C:\\tools\\a.exe", ""},  // a backslash separates nothing here
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, core::DirectoryOf(row.input));
  }
}

TEST(FileNameOfTest, TakesEverythingAfterLastSlash) {
  const Row rows[] = {
      {"/usr/bin/Lettrix", "Lettrix"},
      {"Lettrix", "Lettrix"},
      {"/usr/bin/", ""},
      {"/opt/v1.2/tool", "tool"},
      {"/a.exe.b.EXE", "a.exe.b.EXE"},
#ifdef _WIN32
      {"C:\\tools\\a.exe", "a.exe"},
      {"C:a.exe", "a.exe"},
#else
      {"C:\\tools\\a.exe", "C:\\tools\\a.exe"},
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, core::FileNameOf(row.input));
  }
}

TEST(StartUpTest, ExecutionPathIsQuotedDirectoryOfExecutable) {
  const Row rows[] = {
      {kExecutable, "\"/opt/my tools\""},
      {"/usr/bin/Lettrix", "/usr/bin"},
      {"/Lettrix", "/"},
#ifdef _WIN32
      {"C:\\Program Files\\Lettrix\\Lettrix.exe", "\"C:\\Program Files\\Lettrix\""},
      {"C:\\Lettrix.exe", "C:\\"},  // a drive root, unquoted
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    const CapturedRun run{std::string(row.input)};
    EXPECT_EQ(row.expected, core::ExecutionPath);
  }
}

TEST(JoinCommandLineTest, QuotesEachElementAndJoinsWithSingleSpaces) {
  EXPECT_EQ("\"/opt/my tools/lx\" -u \"two words\" \"\"",
            core::JoinCommandLine("/opt/my tools/lx", {"-u", "two words", ""}));
  EXPECT_EQ("lx", core::JoinCommandLine("lx", {}));
}

TEST(WriteDividerLineTest, WritesHyphensOptionalEmptyLineAndLineEnd) {
  struct DividerRow {
    int length;
    bool add_empty_line;
    std::string_view expected;
  };
  const DividerRow rows[] = {{0, false, "\r\n"},
                             {-4, false, "\r\n"},
                             {3, true, "---\r\n\r\n"},
                             {5, false, "-----\r\n"},
                             {0, true, "\r\n\r\n"}};
  for (const DividerRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.length << " " << row.add_empty_line);
    const CapturedRun run{"/usr/bin/Lettrix"};
    core::WriteDividerLine(row.length, row.add_empty_line);
    EXPECT_EQ(row.expected, run.out());
    EXPECT_EQ("", run.err());
  }
}

TEST(WriteMessageBlockTest, SurroundsMessageWithEmptyLinesOnError) {
  const CapturedRun run{"/usr/bin/Lettrix"};
  core::WriteMessageBlock("Unknown switch");
  EXPECT_EQ("\r\nUnknown switch\r\n\r\n", run.err());
  EXPECT_EQ("", run.out());
}

TEST(ReportSyntaxErrorTest, WritesSevenLinesOnErrorAndNothingOnOutput) {
  const CapturedRun run{std::string(kExecutable), std::string(kCommandLine)};
  core::ReportSyntaxError("Unknown switch: --bogus", false, false);
  EXPECT_EQ(ReportWith("Unknown switch: --bogus"), run.err());
  EXPECT_EQ("", run.out());
}

// The brief help that follows the report must land under it, on standard error.
TEST(ReportSyntaxErrorTest, LeavesOutputChannelWritingToError) {
  const CapturedRun run{std::string(kExecutable), std::string(kCommandLine)};
  core::ReportSyntaxError("x", false, false);
  core::WriteDividerLine(2, false);
  core::WriteLine(core::OutputChannel, "help");
  EXPECT_EQ(ReportWith("x") + "--\r\nhelp\r\n", run.err());
  EXPECT_EQ("", run.out());
}

TEST(ReportSyntaxErrorTest, PrintsAgainWhenCalledAgain) {
  const CapturedRun run{std::string(kExecutable), std::string(kCommandLine)};
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
    const CapturedRun run{std::string(kExecutable), std::string(kCommandLine)};
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
    const CapturedRun run{"/usr/bin/Lettrix"};
    const auto start = std::chrono::steady_clock::now();
    core::WaitForAnyKey(row.steps, "Press Any Key to Continue...");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ("Press Any Key to Continue..." + std::string(row.dots) + "\r\n\r\n", run.out());
    EXPECT_EQ("", run.err());
    EXPECT_GE(waited, std::chrono::milliseconds(240) * static_cast<int>(row.dots.size()));
  }
}

}  // namespace
