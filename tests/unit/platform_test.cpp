// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstddef>
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

TEST(SystemTimeNamesTest, NamesEveryMonthAndTheSeparator) {
  const platform::TTimeNames names = platform::SystemTimeNames();
  for (const std::string& month : names.ShortMonths) EXPECT_FALSE(month.empty());
  EXPECT_FALSE(names.TimeSeparator.empty());
}

}  // namespace
