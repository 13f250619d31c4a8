// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/switches.h"
#include "core/library.h"
#include "core/report.h"
#include "tests/unit/captured_run.h"

namespace {

using Arguments = std::vector<std::string>;

struct Case {
  Arguments args;
  std::string expected;
};

// The processing loop alone, after the declarations, whatever validation would say of the
// line; nothing may reach standard error.
std::string ProcessWith(Arguments args) {
  std::string out;
  {
    const test::TCapturedRun run{{}, std::move(args)};
    app::SetUpSwitchStyle();
    core::DeclareRows(app::Switches);
    app::ProcessArguments();
    app::ResetSwitches();
    out = run.out();
    EXPECT_EQ("", run.err());
  }
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

// A value is never cut, attached or not.
TEST(ProcessArgumentsTest, WritesLongValuesWhole) {
  const std::string value = std::string(1499, 'A') + "Z";
  const std::string expected = std::string(1499, 'a') + "z\r\n";
  EXPECT_EQ(expected, ProcessWith({"-L:" + value}));
  EXPECT_EQ(expected, ProcessWith({"-L", value}));
}

// Declares the switches over `args` as a run does, without processing them.
class DeclarationOrderTest : public ::testing::Test {
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
TEST_F(DeclarationOrderTest, DecidesSwitchesAndValues) {
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

}  // namespace
