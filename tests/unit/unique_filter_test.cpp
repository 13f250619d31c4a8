// SPDX-License-Identifier: MIT
#include "core/unique_filter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The filter must answer exactly as a search through the text would, whatever the overlaps
// between patterns: a small alphabet makes prefixes, suffixes and repeats common.
TEST(UniqueFilterTest, AnswersAsASearchOfTheTextSoFar) {
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    std::vector<std::string> patterns(1 + random() % 12);
    for (std::string& pattern : patterns) {
      const std::size_t length = random() % 5;
      for (std::size_t i = 0; i < length; ++i) pattern.push_back("ab \""[random() % 4]);
    }
    core::TUniqueFilter filter;
    std::vector<std::int32_t> numbers;
    for (const std::string& pattern : patterns) numbers.push_back(filter.AddPattern(pattern));
    filter.Prepare();
    std::string text;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      ASSERT_EQ(text.find(patterns[i]) != std::string::npos, filter.Occurs(numbers[i]))
          << "pattern \"" << patterns[i] << "\" in \"" << text << "\"";
      if (random() % 2 == 0) {
        const std::string piece = patterns[i] + " ";
        text += piece;
        filter.Append(piece);
      }
    }
  }
}

TEST(UniqueFilterTest, HandlesBytesAboveAscii) {
  core::TUniqueFilter filter;
  const std::int32_t high = filter.AddPattern("\xC9\xFF");
  const std::int32_t split = filter.AddPattern("\xFF\xC9");
  filter.Prepare();
  filter.Append("x\xC9");
  EXPECT_FALSE(filter.Occurs(high));
  filter.Append("\xFF\xC9");
  EXPECT_TRUE(filter.Occurs(high));
  EXPECT_TRUE(filter.Occurs(split));
}

}  // namespace
