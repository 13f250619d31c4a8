// SPDX-License-Identifier: MIT
#include "core/verdict.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/run.h"
#include "tests/unit/captured_run.h"

namespace {

using Arguments = std::vector<std::string>;

// One whole run of the program; returns its exit code and leaves what it wrote on standard error
// in `err`.
int RunWith(Arguments args, std::string& err) {
  std::string out;
  err.clear();
  return app::Run(test::CapturedStart(out, err, std::move(args)));
}

TEST(JudgeCommandLineTest, ReportsIncompleteBeforeInvalidBeforeMissing) {
  const struct {
    Arguments args;
    int exit_code;
    std::string message;  // what the report on standard error must hold
  } cases[] = {
      {{"-u", "x"}, 0, ""},
      {{"-u:a b"}, 0, ""},
      {{"-u=abc"}, 0, ""},
      {{"-u=a:b"}, 0, ""},  // the switch part ends at the first separator
      {{"-z", "-u"}, 67, "Incomplete Parameters Provided: -u "},
      {{"-u", ""}, 67, "Incomplete Parameters Provided: -u "},
      {{"-a", "-a", "-u", "x"}, 65, "Invalid Parameters Provided: -a "},
      {{"hello"}, 65, "Invalid Parameters Provided: hello "},
      {{},
       64,
       "Missing Essential Parameters (e.g. -u <text> -L <text> -p <text> -i <text> -H --HELP -? "
       "--H2 --HELP2 --?? --VERSION-ONLY --BUILD-ONLY --INFO)"},
      {{"-o:-u"}, 64, "Missing Essential Parameters"},
      // Another switch took the only value: still nothing to do, and reported as such.
      {{"--audible-error", "5"}, 64, "Missing Essential Parameters"},
      {{"--help", "-z", "-u"}, 255, ""},
      {{"--info", "-z"}, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    std::string err;
    EXPECT_EQ(c.exit_code, RunWith(c.args, err));
    EXPECT_NE(std::string::npos, err.find(c.message)) << err;
  }
}

// The decision reads the lists of problems, not their 16-bit counts, which wrap at 65,536.
TEST(JudgeCommandLineTest, DecidesByListsWhenSixteenBitCountsWrap) {
  Arguments incomplete;
  for (int i = 0; i < 65536; ++i) incomplete.insert(incomplete.end(), {"-u", ""});
  std::string err;
  EXPECT_EQ(67, RunWith(incomplete, err));
  Arguments invalid(65536, "zz");
  invalid.insert(invalid.end(), {"-u", "x"});
  EXPECT_EQ(65, RunWith(invalid, err));
}

}  // namespace
