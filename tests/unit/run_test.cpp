// SPDX-License-Identifier: MIT
#include "app/run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/report.h"
#include "tests/unit/captured_run.h"

#ifndef _WIN32
#include <locale.h>
#endif

namespace {

using Arguments = std::vector<std::string>;

// One whole run in this process, which must succeed.
std::string RunWith(Arguments args) {
  std::string out, err;
  EXPECT_EQ(0, app::Run(test::CapturedStart(out, err, std::move(args))));
  EXPECT_EQ("", err);
  return out;
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
    const Arguments args = round == 0 ? Arguments{"-b", "-z"} : Arguments{"-b", "-u", "x"};
    EXPECT_EQ(round == 0 ? 65 : 0, app::Run(test::CapturedStart(out, err, args)));
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
  EXPECT_EQ(70, app::Run(test::CapturedStart(out, err, {"--audible-error", "-o", "-z"},
                                             "/opt/lettrix/Lettrix")));
  EXPECT_EQ("", out);
  EXPECT_TRUE(
      err.ends_with("Invalid Parameters Provided: -z \r\n\r\n"
                    "Lettrix: internal error: no beep\r\n"))
      << err;
  // Neither -o nor the audible error carries over, and the next run writes where it is told.
  EXPECT_EQ("X\r\ny\r\n", RunWith({"-u", "x", "-L", "Y"}));
  std::string next_out, next_err;
  EXPECT_EQ(65, app::Run(test::CapturedStart(next_out, next_err, {"-z"})));
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
    core::TStartUpRec run = test::CapturedStart(out, err, row.args, "/opt/lettrix/Lettrix");
    run.Output.Capacity = row.out_room;
    run.Error.Capacity = row.err_room;
    EXPECT_EQ(74, app::Run(std::move(run)));
    EXPECT_EQ(row.out, out);
    EXPECT_EQ(row.err, err);
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
    EXPECT_EQ(row.code, app::Run(test::CapturedStart(out, err, row.args)));
    EXPECT_EQ(row.out, out);
    EXPECT_EQ(row.heard, heard);
  }
}

}  // namespace
