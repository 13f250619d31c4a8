// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/run.h"
#include "app/switches.h"
#include "core/library.h"
#include "core/report.h"

#ifndef _WIN32
#include <locale.h>
#endif

namespace {

using Arguments = std::vector<std::string>;

struct Case {
  Arguments args;
  std::string expected;
};

// The processing loop alone, after the declarations, whatever validation would say of the
// line; results go to `out`, and nothing may reach standard error.
std::string ProcessWith(Arguments args) {
  std::string out, err;
  core::TStartUpRec start;
  start.Arguments = std::move(args);
  start.Output = core::TTextChannel{platform::stdOutput, &out};
  start.Error = core::TTextChannel{platform::stdError, &err};
  core::StartUp(std::move(start));
  app::SetUpSwitchStyle();
  core::DeclareRows(app::Switches);
  app::ProcessArguments();
  app::ResetSwitches();
  core::ShutDown();
  EXPECT_EQ("", err);
  return out;
}

// One whole run in this process, which must succeed.
std::string RunWith(Arguments args) {
  std::string out, err;
  core::TStartUpRec run;
  run.Arguments = std::move(args);
  run.Output = core::TTextChannel{platform::stdOutput, &out};
  run.Error = core::TTextChannel{platform::stdError, &err};
  EXPECT_EQ(0, app::Run(std::move(run)));
  EXPECT_EQ("", err);
  return out;
}

void ExpectOutputs(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    EXPECT_EQ(c.expected, ProcessWith(c.args));
  }
}

TEST(ProcessArgumentsTest, WritesOneLinePerSwitchInCommandLineOrder) {
  ExpectOutputs(
      {{{}, ""},
       {{"-u", "abc", "-L", "DEF"}, "ABC\r\ndef\r\n"},
       {{"-u", "a", "-u", "b"}, "A\r\nB\r\n"},
       {{"-P", "ABCDEFG", "-U", "hijklmn", "-l", "OPQRSTU", "-I", "vWxYz-", "/m", "01234"},
        "Abcdefg\r\nHIJKLMN\r\nopqrstu\r\nVwXyZ-\r\n43210\r\n"},
       {{"--upper", "a", "/LOWER", "B", "--Proper", "c d", "--invert", "e", "--mirror", "fg"},
        "A\r\nb\r\nC D\r\nE\r\ngf\r\n"},
       // The value is taken unchanged even when it looks like a switch.
       {{"-u", "-L", "text"}, "-L\r\ntext\r\n"},
       // Neither a bare letter, nor "--" before a letter, nor "-" before a word is a switch.
       {{"u", "abc", "--u", "abc", "-upper", "abc"}, ""}});
}

TEST(ProcessArgumentsTest, SeparatesResultsAsOneLineAndNoSpacesSay) {
  ExpectOutputs({{{"-u", "abc", "-L", "DEF", "-o"}, "ABC def \r\n"},
                 {{"-u", "abc", "-L", "DEF", "-o", "-n"}, "ABCdef\r\n"},
                 {{"-n", "-u", "abc", "-L", "DEF"}, "ABC\r\ndef\r\n"},
                 {{"-o"}, "\r\n"},
                 {{"-p", "hello world", "-u", "abc", "-o"}, "Hello World ABC \r\n"},
                 {{"-p", "all", "-L", "On", "-U", "One", "-p", "LINE --", "-m", "Backwards", "-p",
                   "& Forwards", "-o"},
                  "All on ONE Line -- sdrawkcaB & Forwards \r\n"}});
}

TEST(ProcessArgumentsTest, ReverseAllMirrorsEveryResultExactlyOnce) {
  ExpectOutputs({{{"-m", "abc", "-r"}, "cba\r\n"},
                 {{"-u", "abc", "-r"}, "CBA\r\n"},
                 {{"-r", "-p", "make", "-L", "These", "-U", "All", "-p", "REVERSED", "-i", "aB"},
                  "ekaM\r\neseht\r\nLLA\r\ndesreveR\r\nbA\r\n"},
                 {{"-w", "one two", "-r"}, "eno owt\r\n"}});
}

TEST(ProcessArgumentsTest, WritesEmptyResultsOnlyWhenBlanksAreAllowed) {
  ExpectOutputs({{{"-u"}, ""},
                 {{"-a", "-u"}, "\r\n"},
                 {{"-a", "-o", "-u"}, " \r\n"},
                 {{"-u", "", "-L", "X"}, "x\r\n"},
                 {{"-a", "-u", "", "-L", "X"}, "\r\nx\r\n"},
                 {{"-a", "-o", "-n", "-u", "", "-u", "b"}, "B\r\n"}});
}

TEST(ProcessArgumentsTest, ExtendedDelimsWidenOnlyReverseWords) {
  ExpectOutputs({{{"-w", "one two,three"}, "two,three one\r\n"},
                 {{"-w", "one two,three", "-x"}, "three two one\r\n"},
                 {{"-x", "-u", "a,b;c", "-w", "a;b"}, "A,B;C\r\nb a\r\n"}});
}

// Validation accepts a value after ':' or '=', so the processing loop writes it too.
TEST(ProcessArgumentsTest, TransformsAttachedValues) {
  ExpectOutputs({{{"-u:abc"}, "ABC\r\n"},
                 {{"/U=abc"}, "ABC\r\n"},
                 {{"--upper:abc", "--LOWER=ABC"}, "ABC\r\nabc\r\n"},
                 {{"-u:a=b:c"}, "A=B:C\r\n"},
                 {{"-u:abc", "def"}, "ABC\r\n"},
                 {{"-u:a", "-u:b"}, "A\r\nB\r\n"},
                 {{"-o", "-u:a", "-L", "B"}, "A b \r\n"},
                 {{"-r", "-u:abc", "-m=xyz"}, "CBA\r\nzyx\r\n"},
                 {{"-u:"}, ""},
                 {{"-u:", "abc"}, ""},
                 {{"-a", "-u:", "-L=X"}, "\r\nx\r\n"},
                 {{"--u:abc", "-upper:abc", "-uabc"}, ""}});
}

// A record keeps only 999 bytes of an attached value; the output must not be cut with it.
TEST(ProcessArgumentsTest, WritesLongValuesWhole) {
  const std::string value = std::string(1499, 'A') + "Z";
  const std::string expected = std::string(1499, 'a') + "z\r\n";
  EXPECT_EQ(expected, ProcessWith({"-L:" + value}));
  EXPECT_EQ(expected, ProcessWith({"-L", value}));
}

TEST(RunTest, LeavesNoStateForTheNextRun) {
  const Arguments modified = {"-a", "-o", "-n", "-x", "-r", "--error-delay", "-w", "a,b c", "-u"};
  const Arguments plain = {"-w", "a,b c", "-u", "x"};
  EXPECT_EQ("a b c\r\n", RunWith(modified));
  EXPECT_EQ("c a,b\r\nX\r\n", RunWith(plain));
  // A report moves the output channel to standard error and the banner is shown once per
  // run: neither may carry over into the next run.
  for (int round = 0; round < 2; ++round) {
    std::string out, err;
    core::TStartUpRec run;
    run.Arguments = round == 0 ? Arguments{"-b", "-z"} : Arguments{"-b", "-u", "x"};
    run.Output = core::TTextChannel{platform::stdOutput, &out};
    run.Error = core::TTextChannel{platform::stdError, &err};
    EXPECT_EQ(round == 0 ? 65 : 0, app::Run(std::move(run)));
    EXPECT_EQ(round == 0 ? "" : "X\r\n", out);
    EXPECT_TRUE(err.starts_with(" v3.0.0")) << err;  // no executable path: an empty name
  }
  EXPECT_EQ("a b c\r\n", RunWith(modified));
}

// Each run reads the locale afresh: a second run in the process under another LC_CTYPE must
// lower by that one, not by what the first run found.
TEST(RunTest, ProperCaseFollowsEachRunsLocale) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows lowers by the thread's code page, which the environment does not set";
#else
  const locale_t latin1 = newlocale(LC_CTYPE_MASK, "fr_FR.ISO-8859-1", static_cast<locale_t>(0));
  if (latin1 == static_cast<locale_t>(0)) GTEST_SKIP() << "no fr_FR.ISO-8859-1 locale";
  freelocale(latin1);
  const char* current = std::getenv("LC_ALL");
  const std::optional<std::string> saved =
      current == nullptr ? std::nullopt : std::optional<std::string>(current);
  for (const auto& [locale, expected] : {std::pair{"C",
                                                   "\xC9"
                                                   "cole\r\n"},
                                         std::pair{"fr_FR.ISO-8859-1",
                                                   "\xE9"
                                                   "cole\r\n"},
                                         std::pair{"C",
                                                   "\xC9"
                                                   "cole\r\n"}}) {
    SCOPED_TRACE(locale);
    setenv("LC_ALL", locale, 1);
    EXPECT_EQ(expected, RunWith({"-p",
                                 "\xC9"
                                 "COLE"}));
  }
  saved ? setenv("LC_ALL", saved->c_str(), 1) : unsetenv("LC_ALL");
#endif
}

// Whatever a run meets, it ends with an exit code and one line, and the next run in the process
// finds nothing of it: here the beep of a syntax report throws what nothing expects.
TEST(RunTest, EndsAnUnexpectedExceptionWith70AndLeavesNoState) {
  static int beeps = 0;
  struct TRestoredServices {
    core::TPauseServices Saved = core::PauseServices;
    ~TRestoredServices() { core::PauseServices = Saved; }
  } restored;
  core::PauseServices.Beep = [] {
    if (++beeps == 1) throw std::runtime_error("no beep");
  };
  std::string out, err;
  core::TStartUpRec run;
  run.Arguments = {"--audible-error", "-o", "-z"};
  run.ExecutablePath = "/opt/lettrix/Lettrix";
  run.Output = core::TTextChannel{platform::stdOutput, &out};
  run.Error = core::TTextChannel{platform::stdError, &err};
  EXPECT_EQ(70, app::Run(std::move(run)));
  EXPECT_EQ("", out);
  EXPECT_TRUE(
      err.ends_with("Invalid Parameters Provided: -z \r\n\r\n"
                    "Lettrix: internal error: no beep\r\n"))
      << err;
  // Neither -o nor the audible error carries over, and the next run writes where it is told.
  EXPECT_EQ("X\r\ny\r\n", RunWith({"-u", "x", "-L", "Y"}));
  std::string next_err;
  core::TStartUpRec next;
  next.Arguments = {"-z"};
  next.Error = core::TTextChannel{platform::stdError, &next_err};
  EXPECT_EQ(65, app::Run(std::move(next)));
  EXPECT_NE(std::string::npos, next_err.find("Invalid Parameters Provided: -z ")) << next_err;
  EXPECT_EQ(1, beeps);
}

// A failed write ends the run at once: nothing after it, one line on standard error if that
// still takes it, and 74.
TEST(RunTest, FailedWriteEndsTheRunWith74) {
  const std::string diagnostic =
      "Lettrix: write error on standard output: No space left in the buffer\r\n";
  const struct {
    Arguments args;
    std::size_t out_room, err_room;
    std::string out, err;
  } rows[] = {
      {{"-u", "abc"}, 0, std::string::npos, "", diagnostic},
      {{"-u", "ab", "-u", "cd"}, 4, std::string::npos, "AB\r\n", diagnostic},
      {{"-z"}, std::string::npos, 0, "", ""},             // the report itself fails
      {{"-b", "-u", "x"}, std::string::npos, 5, "", ""},  // the banner fails before any result
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.args));
    std::string out, err;
    core::TStartUpRec run;
    run.Arguments = row.args;
    run.ExecutablePath = "/opt/lettrix/Lettrix";
    run.Output = core::TTextChannel{platform::stdOutput, &out, row.out_room};
    run.Error = core::TTextChannel{platform::stdError, &err, row.err_room};
    EXPECT_EQ(74, app::Run(std::move(run)));
    EXPECT_EQ(row.out, out);
    EXPECT_EQ(row.err, err);
  }
}

// Declares the switches over `args` as a run does, without processing them.
class DeclareSwitchesTest : public ::testing::Test {
 protected:
  void Declare(Arguments args) {
    Clear();
    core::StartUp({std::move(args), {}, {}});
    app::SetUpSwitchStyle();
    core::DeclareRows(app::Switches);
  }
  static std::vector<std::int32_t> Statuses() {
    std::vector<std::int32_t> statuses;
    for (const core::TParamStatusRec& entry : core::ParamStatus) statuses.push_back(entry.Status);
    return statuses;
  }
  static void Clear() {
    app::ResetSwitches();
    core::ShutDown();
  }
  void TearDown() override { Clear(); }
};

// An earlier declaration's switch cannot become a later one's value, while an argument taken as
// a value becomes a switch again when its own switch is declared later.
TEST_F(DeclareSwitchesTest, OrderDecidesSwitchesAndValues) {
  constexpr std::int32_t un = core::psUnmatched, sw = core::psSwitch, val = core::psSwitchValue,
                         inc = core::psIncomplete;
  const struct {
    Arguments args;
    std::vector<std::int32_t> statuses;
  } rows[] = {{{"-a", "-a", "-u", "x"}, {sw, un, sw, val}},
              {{"-u", "a", "-u", "b"}, {sw, val, sw, val}},
              {{"-u", "-o"}, {inc, sw}},
              {{"-u", "-L", "text"}, {sw, sw, val}},
              {{"-L", "-u", "text"}, {inc, sw, val}},
              {{"--error-delay", "-u", "x"}, {sw, sw, val}},
              {{"-u"}, {inc}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.args));
    Declare(row.args);
    EXPECT_EQ(row.statuses, Statuses());
  }
}

// Without -a every transformation switch needs a value; each error mode comes from its own
// switch, and both from debug mode, whatever the line's fault.
TEST(RunTest, BlankValuesAndErrorModesFollowTheirSwitches) {
  static std::string heard;  // 'b' for each beep, 's' for each step of a pause
  struct TRestoredServices {
    core::TPauseServices Saved = core::PauseServices;
    ~TRestoredServices() { core::PauseServices = Saved; }
  } restored;
  core::PauseServices.Beep = [] { heard += 'b'; };
  core::PauseServices.Sleep = [](int) {
    if (heard.empty() || heard.back() != 's') heard += 's';
  };
  const struct {
    Arguments args;
    int code;
    std::string out, heard;
  } rows[] = {{{"-u", ""}, 67, "", ""},
              {{"-a", "-u", ""}, 0, "\r\n", ""},
              {{"-u", "x", "/ALLOW-BLANKS", "-L"}, 0, "X\r\n\r\n", ""},
              {{"-allow-blanks", "--error-delay", "-u", "x"}, 65, "", "s"},
              {{"--AUDIBLE-ERROR", "5"}, 64, "", "b"},
              {{"--audible-error", "--error-delay", "-u"}, 67, "", "bs"},
              {{"--debug", "-error-delay"}, 65, "", "bs"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.args));
    heard.clear();
    std::string out, err;
    core::TStartUpRec run;
    run.Arguments = row.args;
    run.Output = core::TTextChannel{platform::stdOutput, &out};
    run.Error = core::TTextChannel{platform::stdError, &err};
    EXPECT_EQ(row.code, app::Run(std::move(run)));
    EXPECT_EQ(row.out, out);
    EXPECT_EQ(row.heard, heard);
  }
}

}  // namespace
