// SPDX-License-Identifier: MIT
#include "core/unique_arguments.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/library.h"
#include "core/validation.h"

namespace {

// The unique list against the rule itself, a search of the whole lower-cased list for each
// lower-cased argument, on random lines where one argument often lies inside another or across
// two entries of the list: few letters in both cases, a byte above ASCII, spaces, quotes and
// empty arguments; every other line has letters alone, whose texts are mostly answered by equal
// entries.
TEST(UniqueArgumentsTest, FollowTheSearchOfTheListSoFar) {
  std::mt19937 random(2026);
  const auto lower = [](std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return text;
  };
  for (int round = 0; round < 400; ++round) {
    // Every tenth line is long and has many letters, so that the search's tables grow.
    const bool long_line = round % 10 == 9;
    const std::string_view letters = long_line ? "abcdefghijklmnopqrstuvwxyz \""
                                               : "aA\xC9"
                                                 "b \"";
    const std::size_t letters_only = long_line ? letters.size() : round % 2 == 0 ? 4 : 6;
    core::TParamStatusArray table = core::NewParamStatusArray(long_line ? 400 : 1 + random() % 24);
    std::vector<std::string> texts(table.size());  // what the entries view
    for (std::size_t h = 0; h < table.size(); ++h) {
      const std::size_t length = random() % 6;
      for (std::size_t i = 0; i < length; ++i) texts[h].push_back(letters[random() % letters_only]);
      table[h].Param = texts[h];
    }
    std::string list;
    std::uint16_t count = 0;
    for (const core::TParamStatusRec& entry : table) {
      const std::string text = entry.Param.empty() ? "\"\"" : std::string(entry.Param);
      if (lower(list).find(lower(text)) != std::string::npos) continue;
      ++count;
      list += text.find(' ') != std::string::npos ? '"' + text + "\" " : text + ' ';
    }
    core::TParamStatisticsRec stats;
    core::ValidateParams(stats, table, "", false, -1, -1);
    SCOPED_TRACE(::testing::PrintToString(stats.ParamList));
    EXPECT_EQ(list, stats.UniqueList);
    EXPECT_EQ(count, stats.UniqueCount);
  }
}

}  // namespace
