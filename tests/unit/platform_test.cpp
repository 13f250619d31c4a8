// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace {

// Switch forms are all ASCII; whatever the system's comparison, letter case alone may differ.
TEST(EqualsNoCaseTest, IgnoresLetterCaseOnly) {
  struct CompareRow {
    std::string_view left, right;
    bool equal;
  };
  const CompareRow rows[] = {
      {"", "", true},
      {"-u", "-U", true},
      {"/UPPER", "/upper", true},
      {"--Reverse-Words", "--REVERSE-WORDS", true},
      {"--??", "--??", true},
      {"-u", "-u ", false},
      {"--u", "-u", false},                          // a hyphen is no mere mark
      {"--reverse-words", "--reversewords", false},  // nor inside a word
      {"-@", "-`", false},                           // neighbours of A-Z and a-z
      {"-[", "-{", false},
      {"/\xDAPPER", "/UPPER", false},  // an accent is more than case
      {"-u", "", false},
  };
  for (const CompareRow& row : rows) {
    SCOPED_TRACE(std::string(row.left) + " | " + std::string(row.right));
    EXPECT_EQ(row.equal, platform::EqualsNoCase(row.left, row.right));
    EXPECT_EQ(row.equal, platform::EqualsNoCase(row.right, row.left));
  }
}

// Whatever the code page does above 0x7F, ASCII follows the fixed rule and the length stays.
TEST(LowerCodePageTest, LowersAsciiCapitalsAndKeepsOtherAscii) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string lowered = all;
  platform::LowerCodePage(lowered);
  ASSERT_EQ(all.size(), lowered.size());
  for (std::size_t i = 0; i < 0x7F; ++i) {
    const char c = all[i];
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c)));
    EXPECT_EQ(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c, lowered[i]);
  }
}

// Letters whose bytes fall in 0x80 to 0x9F stay; a C1 control counts in either form, and a
// byte of a sequence cut short or ill-formed stands alone.
TEST(FindUtf8ControlsTest, FindsC0C1AndLoneC1Bytes) {
  using platform::TControlArray;
  struct ControlRow {
    std::string_view text;
    TControlArray controls;
  };
  const ControlRow rows[] = {
      {"", {}},
      {"\x1B[2J\x7F~", {{0, 1, 0x1B}, {4, 1, 0x7F}}},
      {"a\xC2\x9B[1m", {{1, 2, 0x9B}}},
      {"\xC2\x80\xC2\x9F\xC2\xA0", {{0, 2, 0x80}, {2, 2, 0x9F}}},  // NBSP is no control
      {"\x9B[2J", {{0, 1, 0x9B}}},
      // e-acute, s-acute, euro sign, A-umlaut, an emoji
      {"\xC3\xA9\xC5\x9B\xE2\x82\xAC\xC3\x84\xF0\x9F\x98\x80", {}},
      {"\xE2\x82x", {{1, 1, 0x82}}},                                     // a cut sequence
      {"\xC2", {}},                                                      // ends too early
      {"\xC1\x9B", {{1, 1, 0x9B}}},                                      // overlong "["
      {"\xE0\x80\x9B", {{1, 1, 0x80}, {2, 1, 0x9B}}},                    // overlong ESC
      {"\xED\xA0\x80", {{2, 1, 0x80}}},                                  // a surrogate
      {"\xF4\x90\x80\x80", {{1, 1, 0x90}, {2, 1, 0x80}, {3, 1, 0x80}}},  // beyond U+10FFFF
      {"\xC2\xC2\x85", {{1, 2, 0x85}}},                                  // a lead byte starts again
  };
  for (const ControlRow& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(std::string(row.text)));
    EXPECT_EQ(row.controls, platform::FindUtf8Controls(row.text));
  }
}

TEST(SystemTimeNamesTest, NamesEveryMonthAndTheSeparator) {
  const platform::TTimeNames names = platform::SystemTimeNames();
  for (const std::string& month : names.ShortMonths) EXPECT_FALSE(month.empty());
  EXPECT_FALSE(names.TimeSeparator.empty());
}

// The end of a run without memory: what standard output is owed goes there, bytes as they are,
// and standard error gets the line alone.
TEST(ExitWithLineDeathTest, WritesTheOwedOutputThenTheLine) {
  // Beside the test program, so that the suites of two builds never share it; the death test's
  // child, which may be the program started again, names the same file.
  const std::string path = platform::ExecutablePath("unit_tests") + ".stdout";
  const std::string_view output = "owed\n\xE9\x9B";
  std::remove(path.c_str());
  EXPECT_EXIT(
      {
        if (std::freopen(path.c_str(), "wb", stdout) != nullptr) {
          platform::ExitWithLine(output, "Tool: out of memory\n", 71);
        }
      },
      testing::ExitedWithCode(71), "^Tool: out of memory\\s*$");
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(output, std::string(std::istreambuf_iterator<char>(file), {}));
}

}  // namespace
