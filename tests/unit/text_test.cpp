// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/text.h"
#include "platform/platform.h"

namespace {

// What a terminal gets instead of a control holds no control byte, and nothing else changes.
TEST(ShowControlsTest, ShowsEachControlInAsciiAndKeepsEverythingElse) {
  struct ShowRow {
    std::string_view text;
    platform::TControlArray controls;
    std::string_view shown;
  };
  const ShowRow rows[] = {
      {"", {}, ""},
      {"\x1B]0;t\x07", {{0, 1, 0x1B}, {5, 1, 0x07}}, "^[]0;t^G"},
      {std::string_view("a\0b\x1F", 4), {{1, 1, 0x00}, {3, 1, 0x1F}}, "a^@b^_"},
      {"\x7F\x7F", {{0, 1, 0x7F}, {1, 1, 0x7F}}, "^?^?"},
      {"^[ ^? M-^[", {}, "^[ ^? M-^["},              // typed, not controls
      {"a\xC2\x9B[1m", {{1, 2, 0x9B}}, "aM-^[[1m"},  // U+009B in UTF-8
      {"\x9B[2J\x80\x9F", {{0, 1, 0x9B}, {4, 1, 0x80}, {5, 1, 0x9F}}, "M-^[[2JM-^@M-^_"},
      // letters beside controls: s-acute and the euro sign in UTF-8, e-acute in Latin-1
      {"\xC5\x9B\xC2\x9B\xE2\x82\xAC", {{2, 2, 0x9B}}, "\xC5\x9BM-^[\xE2\x82\xAC"},
      {"\xE9\x9B\xE9", {{1, 1, 0x9B}}, "\xE9M-^[\xE9"},
  };
  for (const ShowRow& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(std::string(row.text)));
    EXPECT_EQ(row.shown, core::detail::ShowControls(row.text, row.controls));
  }
}

// Other white space and inner quotes are left alone: only a space or emptiness quotes.
TEST(QuoteIfNeededTest, QuotesOnlyEmptyTextOrTextWithSpace) {
  const struct {
    std::string_view input, expected;
  } rows[] = {
      {"", "\"\""},
      {" ", "\" \""},
      {"/opt/my tools", "\"/opt/my tools\""},
      {"/usr/bin", "/usr/bin"},
      {"a\tb", "a\tb"},
      {"\"quoted\"", "\"quoted\""},
      {"say \"hi\"", "\"say \"hi\"\""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, core::QuoteIfNeeded(row.input));
  }
}

TEST(ReplaceNoCaseTest, ReplacesCaseInsensitivelyLeftToRightWithoutOverlap) {
  struct Row {
    std::string_view text, old_text, new_text;
    bool first_only;
    std::string_view expected;
  };
  const Row rows[] = {
      {"a.exe.b.EXE", ".exe", "", false, "a.b"},
      {"xAbx", "aB", "AB", false, "xABx"},
      {"aaa", "aa", "b", false, "ba"},
      {"Foo foo FOO", "foo", "x", true, "x foo FOO"},
      {"ab", "a", "aa", false, "aab"},  // the new text is not searched again
      {"abc", "", "x", false, "abc"},
      {"abc", "abcd", "x", false, "abc"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.text << " / " << row.old_text);
    EXPECT_EQ(row.expected,
              core::ReplaceNoCase(row.text, row.old_text, row.new_text, row.first_only));
  }
}

}  // namespace
