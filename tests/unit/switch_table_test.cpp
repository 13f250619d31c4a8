// SPDX-License-Identifier: MIT
#include "core/switch_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/channels.h"
#include "core/frame.h"
#include "core/library.h"

namespace {

core::TFindParamRec SortParam, CharsParam, WordsParam;
std::string Seen;  // the occurrences that the tool's body met

// A tool of two repeatable value switches, one of them required, with attached values.
constexpr core::TSwitchRow kRows[] = {
    {.Aliases = "H HELP ?", .Record = &core::HelpParam, .Help = "Show this help", .HelpOrder = 2},
    {.Aliases = "  DEBUG", .Record = &core::DebugModeParam, .Help = "Beep", .VerboseOnly = true},
    {.Aliases = "V VERBOSE", .Record = &core::VerboseParam},
    {.Aliases = "S SORT", .Record = &SortParam, .Help = "Sort the counts", .HelpOrder = 1},
    {.Aliases = "C CHARS",
     .Kind = core::swValue,
     .Record = &CharsParam,
     .Repeats = true,
     .Required = true,
     .Essential = true,
     .Tag = 'c',
     .ValueName = "<text>",
     .Help = "Chars"},
    {.Aliases = "W WORDS",
     .Kind = core::swValue,
     .Record = &WordsParam,
     .Repeats = true,
     .Essential = true,
     .Tag = 'w',
     .ValueName = "<text>",
     .Help = "Words"},
};

void Collect() {
  core::ForEachOccurrence(kRows, [](const core::TOccurrence& o) {
    Seen += static_cast<char>(o.Row->Tag);
    Seen.append("[").append(o.Text).append("]");
    Seen += o.Value.size() > 20 ? std::to_string(o.Value.size()) + " bytes" : std::string(o.Value);
    Seen.append(o.Attached ? "+ " : " ");
  });
  // A walk over some of the rows meets theirs only.
  core::ForEachOccurrence(kRows, {&WordsParam}, [](const core::TOccurrence& o) {
    if (o.Row->Record != &WordsParam) Seen += "(not a -w) ";
  });
}

const core::TToolRec kTool = {
    .Body = Collect,
    .SetUp = [] { core::SwitchStyle = core::ssAttachedValues; },
    .Version = "1.0",
    .FullVersion = "1.0.0.1",
    .Description = "Counts",
    .Switches = kRows,
    .Syntax = "[-s] <-c|-w> <text> ...",
};

// One run of the tool in this process, with its two channels bound to strings.
int RunWordstat(std::vector<std::string> args, std::string& out, std::string& err) {
  core::TStartUpRec run;
  run.Arguments = std::move(args);
  run.ExecutablePath = "/opt/tools/wordstat";  // where the tool's name comes from
  run.Output = core::TTextChannel{platform::stdOutput, &out};
  run.Error = core::TTextChannel{platform::stdError, &err};
  return core::RunTool(std::move(run), kTool);
}

// The frame declares the table, judges the line with its standard ways out, and hands a line
// that stands to the body, which walks the occurrences of both value switches together.
TEST(SwitchTableTest, DeclaresJudgesAndWalksFromOneTable) {
  const std::string long_value(5000, 'x');
  const std::string help_lines =
      " -c, --chars <text> .... Chars\r\n"
      " -w, --words <text> .... Words\r\n"
      " -s, --sort ............ Sort the counts\r\n"
      " -h, --help, -? ........ Show this help\r\n";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string seen, out, err_tail;
  } rows[] = {
      {{"-c", "ab", "-W", "x y", "--chars:cd"}, 0, "c[-c]ab w[-W]x y c[--chars]cd+ ", "", ""},
      // A value is the next argument whatever it looks like; an attached one comes whole.
      {{"-c", "-w", "z", "/c=" + long_value}, 0, "c[-c]-w w[-w]z c[/c]5000 bytes+ ", "", ""},
      {{"-w"}, 0, "w[-w] ", "", ""},
      // The shortest forms that carry a value: an empty one, and one byte.
      {{"-w:", "-c=a"}, 0, "w[-w]+ c[-c]a+ ", "", ""},
      {{"-c"}, 67, "", "", "Incomplete Parameters Provided: -c \r\n\r\n"},
      {{"-s", "-c", "a", "-s"}, 65, "", "", "Invalid Parameters Provided: -s \r\n\r\n"},
      {{}, 64, "", "", "(e.g. -c <text> -w <text> -H --HELP -?)\r\n\r\n"},
      {{"-c", "-h"}, 255, "", "Usage: wordstat [-s] <-c|-w> <text> ...\r\n\r\n" + help_lines, ""},
      {{"-?", "-v"},
       255,
       "",
       "Usage: wordstat [-s] <-c|-w> <text> ...\r\n\r\n     --debug ........... Beep\r\n" +
           help_lines,
       ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args).substr(0, 80));
    std::string out, err;
    Seen.clear();
    EXPECT_EQ(row.code, RunWordstat(row.args, out, err));
    EXPECT_EQ(row.seen, Seen);
    if (row.code == 255 || row.code == 0) {
      EXPECT_EQ(row.out, out);
    } else {
      // An invalid line ends with the report's message and the usage line, on standard error.
      EXPECT_TRUE(err.ends_with(row.err_tail + "Usage: wordstat [-s] <-c|-w> <text> ...\r\n"))
          << err;
    }
    // The frame leaves no record of the run behind.
    EXPECT_FALSE(CharsParam.Found || WordsParam.Found || core::HelpParam.Found);
  }
}

}  // namespace
