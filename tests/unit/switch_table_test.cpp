// SPDX-License-Identifier: MIT
#include "core/switch_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/frame.h"
#include "core/library.h"
#include "tests/unit/captured_run.h"

namespace {

core::TFindParamRec SortParam, EchoParam, LimitParam;
std::int64_t Number, Limit;
std::string Seen;  // what the tool's body met

// Every value row's action: the row's letter, the switch as written, the value ("+" when
// attached).
void Note(const core::TOccurrence& o) {
  Seen += static_cast<char>(o.Row->Aliases[0] + 32);
  Seen.append("[").append(o.Text).append("]");
  Seen += o.Value.size() > 20 ? std::to_string(o.Value.size()) + " bytes" : std::string(o.Value);
  Seen.append(o.Attached ? "+ " : " ");
}

// A tool with a row of each value rule. -c and -w share the word T, so that one argument is an
// occurrence of both.
constexpr core::TSwitchRow kRows[] = {
    core::Value("C CHARS T", core::vrNonEmpty, Note, "<text>", "Chars",
                core::roRepeats | core::roEssential),
    core::Value("W WORDS T", core::vrRequired, Note, "<text>", "Words",
                core::roRepeats | core::roEssential),
    core::Number("N NUMBER", core::vrRequired, &Number, {1, 1000000, 10}, "<n>", "Number"),
    core::Value("J JOIN", core::vrAttached, Note, "<sep>", "Join"),
    core::Flag("S SORT", &SortParam, "Sort the counts"),
    {.Aliases = "I IGNORED", .Rule = core::vrIgnored},
    {.Aliases = "E ECHO", .Rule = core::vrOptional, .Record = &EchoParam},
    core::Flag("  DEBUG", &core::DebugModeParam, "Beep", core::roVerboseOnly),
    core::Flag("V VERBOSE", &core::VerboseParam),
    core::Flag("H HELP ?", &core::HelpParam, "Show this help"),
};

void Collect() {
  core::ActOnOccurrences(kRows);
  if (SortParam.Found) Seen += "sorted ";
  if (EchoParam.Found) Seen += "echo[" + EchoParam.Value1 + "] ";
  if (Number != 10) Seen += "n=" + std::to_string(Number) + " ";
  // The limit is an attached-only number of its own row, with its record.
  if (LimitParam.Found) Seen += "l=" + std::to_string(Limit) + " ";
}

constexpr core::TSwitchRow kLimitRow[] = {{.Aliases = "L LIMIT",
                                           .Rule = core::vrAttached,
                                           .Record = &LimitParam,
                                           .Number = &Limit,
                                           .Range = {1, 20, 6}}};

std::vector<core::TSwitchRow> AllRows() {
  std::vector<core::TSwitchRow> rows(std::begin(kRows), std::end(kRows));
  rows.insert(rows.end(), std::begin(kLimitRow), std::end(kLimitRow));
  return rows;
}
const std::vector<core::TSwitchRow> kAllRows = AllRows();

const core::TToolRec kTool = {
    .Body = Collect,
    .SetUp = [] { core::SwitchStyle = core::ssAttachedValues; },
    .Version = "1.0",
    .FullVersion = "1.0.0.1",
    .Description = "Counts",
    .Switches = kAllRows,
    .Syntax = "[-s] <-c|-w> <text> ...",
};

// The frame declares the table, judges the line by each row's value rule with its standard ways
// out, and hands a line that stands to the body, which walks the occurrences of the value rows.
TEST(SwitchTableTest, HoldsEachRowToItsValueRule) {
  const std::string long_value(5000, 'x');
  // Past 64 arguments a lookup scans another way: -s must still be found behind a first
  // candidate that is no form of it.
  std::vector<std::string> long_line = {"-c", "--sorted"};
  for (int i = 0; i < 33; ++i) long_line.insert(long_line.end(), {"-c", "x"});
  long_line.emplace_back("-s");
  std::string long_seen = "c[-c]--sorted ";
  for (int i = 0; i < 33; ++i) long_seen += "c[-c]x ";
  const std::string help_lines =
      " -c, --chars, -t <text> .... Chars\r\n"
      " -w, --words, -t <text> .... Words\r\n"
      " -n, --number <n> .......... Number\r\n"
      " -j, --join[=<sep>] ........ Join\r\n"
      " -s, --sort ................ Sort the counts\r\n";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string seen, out_or_err_tail;
  } rows[] = {
      {{"-c", "ab", "-W", "x y", "--chars:cd"}, 0, "c[-c]ab w[-W]x y c[--chars]cd+ ", ""},
      // A value is the next argument whatever it looks like; an attached one comes whole.
      {{"-c", "-w", "z", "/c=" + long_value}, 0, "c[-c]-w w[-w]z c[/c]5000 bytes+ ", ""},
      {{"-t", "ab"}, 0, "c[-t]ab w[-t]ab ", ""},
      {long_line, 0, long_seen + "sorted ", ""},
      // A required value may be empty where the row allows it, never missing.
      {{"-w", ""}, 0, "w[-w] ", ""},
      {{"-w:", "-c=a"}, 0, "w[-w]+ c[-c]a+ ", ""},
      {{"-w"}, 67, "", "Incomplete Parameters Provided: -w \r\n\r\n"},
      {{"-c", ""}, 67, "", "Incomplete Parameters Provided: -c \r\n\r\n"},
      // A flag takes no value, unless its row ignores it.
      {{"-s", "-c", "a", "-s"}, 65, "", "Invalid Parameters Provided: -s \r\n\r\n"},
      {{"--sort=no", "-c", "a"}, 65, "", "Invalid Parameters Provided: --sort=no \r\n\r\n"},
      {{"-i:yes", "-c", "a"}, 0, "c[-c]a ", ""},
      // An optional value is the next argument, whatever it is.
      {{"-e", "-c", "-c", "a"}, 0, "c[-c]-c c[-c]a echo[-c] ", ""},
      {{"-c", "a", "-e"}, 0, "c[-c]a echo[] ", ""},
      // An optional value that may only be attached never takes the next argument.
      {{"-j", "-c", "a"}, 0, "j[-j] c[-c]a ", ""},
      {{"-c", "a", "-j=,"}, 0, "c[-c]a j[-j],+ ", ""},
      {{"-j=", "-c", "a"}, 65, "", "Invalid Parameters Provided: -j= \r\n\r\n"},
      {{"-l", "-c", "a"}, 0, "c[-c]a l=6 ", ""},
      {{"-c", "a", "--limit:020"}, 0, "c[-c]a l=20 ", ""},
      {{"-l", "3", "-c", "a"}, 65, "", "Invalid Parameters Provided: 3 \r\n\r\n"},
      {{"-l=", "-c", "a"},
       65,
       "",
       "Invalid Parameters Provided: -l= (-l: a whole number from 1 to 20) \r\n\r\n"},
      // A number: digits only, within its range; empty is missing, and 67 wins over 65.
      {{"-c", "a", "-n", "007"}, 0, "c[-c]a n=7 ", ""},
      {{"-c", "a", "-N=1000000"}, 0, "c[-c]a n=1000000 ", ""},
      {{"-c", "a", "-n", "0"},
       65,
       "",
       "Invalid Parameters Provided: -n 0 (-n: a whole number from 1 to 1000000) \r\n\r\n"},
      {{"--number=1000001", "-c", "a"},
       65,
       "",
       "Invalid Parameters Provided: --number=1000001 (--number: a whole number from 1 to "
       "1000000) \r\n\r\n"},
      {{"-n", "18446744073709551621", "-c", "a"},
       65,
       "",
       "Invalid Parameters Provided: -n 18446744073709551621 (-n: a whole number from 1 to "
       "1000000) \r\n\r\n"},
      {{"-n", "+5", "-c", "a"}, 65, "", "(-n: a whole number from 1 to 1000000) \r\n\r\n"},
      {{"-n", "5", "-n", "6", "-c", "a"}, 65, "", "Invalid Parameters Provided: -n 6 \r\n\r\n"},
      {{"-c", "a", "-n", ""}, 67, "", "Incomplete Parameters Provided: -n \r\n\r\n"},
      {{"-c", "a", "-n="}, 67, "", "Incomplete Parameters Provided: -n= \r\n\r\n"},
      {{"-n", "x", "-c"}, 67, "", "Incomplete Parameters Provided: -c \r\n\r\n"},
      {{}, 64, "", "(e.g. -c <text> -w <text> -H --HELP -?)\r\n\r\n"},
      {{"-c", "-h"},
       255,
       "",
       "Usage: wordstat [-s] <-c|-w> <text> ...\r\n\r\n" + help_lines +
           " -h, --help, -? ............ Show this help\r\n"},
      {{"-?", "-v"},
       255,
       "",
       "Usage: wordstat [-s] <-c|-w> <text> ...\r\n\r\n" + help_lines +
           "     --debug ............... Beep\r\n"
           " -h, --help, -? ............ Show this help\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args).substr(0, 80));
    Seen.clear();
    const test::TToolRun run = test::RunCaptured(kTool, row.args, "/opt/tools/wordstat");
    EXPECT_EQ(row.code, run.Code);
    EXPECT_EQ(row.seen, Seen);
    if (row.code == 255 || row.code == 0) {
      EXPECT_EQ(row.out_or_err_tail, run.Out);
    } else {
      // An invalid line ends with the report's message and the usage line, on standard error.
      EXPECT_TRUE(
          run.Err.ends_with(row.out_or_err_tail + "Usage: wordstat [-s] <-c|-w> <text> ...\r\n"))
          << run.Err;
    }
    // The frame leaves no record of the run behind.
    EXPECT_FALSE(SortParam.Found || LimitParam.Found || core::HelpParam.Found);
  }
}

// A tool of one or two file operands, whose paths may begin with "/".
constexpr core::TSwitchRow kFileRows[] = {
    core::Number("N LINES", core::vrRequired, &Number, {1, 1000000, 10}, "<n>", "Lines"),
    core::Value("D DROP", core::vrRequired, Note, "<line>", "Drop", core::roRepeats),
    core::Flag("Q QUIET", &SortParam, "Quiet"),
    core::Flag("H HELP ?", &core::HelpParam, "Help"),
};

void CollectFiles() {
  core::ActOnOccurrences(kFileRows);
  for (const std::string_view file : core::GetOperands()) Seen.append(file).append(" ");
}

const core::TToolRec kFileTool = {.Body = CollectFiles,
                                  .SetUp = [] { core::SlashForms = false; },
                                  .Version = "1.0",
                                  .Switches = kFileRows,
                                  .Operands = {"<file>", 1, 2},
                                  .Syntax = "[-q]"};

// Operands come in command-line order, mixed with the switches; "--" ends the switches unless a
// switch takes it as its value.
TEST(SwitchTableTest, TakesOperandsInOrder) {
  const struct {
    std::vector<std::string> args;
    int code;
    std::string seen, err_tail;
  } rows[] = {
      {{"a", "-q", "/etc/hosts"}, 0, "a /etc/hosts ", ""},
      {{"-d", "--", "-"}, 0, "d[-d]-- - ", ""},
      {{"--", "-q", "--"}, 0, "-q -- ", ""},
      {{"-q", "/q", "-z"}, 65, "", "Invalid Parameters Provided: -z \r\n\r\n"},
      {{"a", "b", "c", "d"}, 65, "", "Invalid Parameters Provided: c d \r\n\r\n"},
      {{"-n", "0", "a"},
       65,
       "",
       "Invalid Parameters Provided: -n 0 (-n: a whole number from 1 to 1000000) \r\n\r\n"},
      {{"-q"}, 64, "", "Missing Essential Parameters (e.g. <file> -H --HELP -?)\r\n\r\n"},
      {{"-h", "a", "b", "c"}, 255, "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args));
    Seen.clear();
    const test::TToolRun run = test::RunCaptured(kFileTool, row.args, "/opt/tools/files");
    EXPECT_EQ(row.code, run.Code);
    EXPECT_EQ(row.seen, Seen);
    const std::string usage = "Usage: files [-q] [--] <file>...\r\n";
    EXPECT_TRUE(row.code == 0 || (run.Out + run.Err).ends_with(row.err_tail + usage) ||
                (row.code == 255 && run.Out.starts_with(usage)))
        << run.Out << run.Err;
  }
  // An optional value taken from the next argument would swallow a file: such a tool is refused.
  const core::TSwitchRow optional[] = {{.Aliases = "E ECHO", .Rule = core::vrOptional}};
  const test::TToolRun run =
      test::RunCaptured({.Switches = optional, .Operands = {"<file>", 0, 1}});
  EXPECT_EQ(70, run.Code);
  EXPECT_NE(std::string::npos, run.Err.find("\"E ECHO\" may only take an attached one")) << run.Err;
}

}  // namespace
