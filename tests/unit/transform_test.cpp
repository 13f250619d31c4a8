// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/transform.h"

namespace {

struct Row {
  std::string_view input;
  std::string_view expected;
};

// Bytes that sit next to the ASCII letters catch an off-by-one in a range test, bytes above 0x7F
// catch a signed comparison or a locale-aware mapping.
TEST(ToUpperCaseTest, RaisesAsciiLettersOnly) {
  const Row rows[] = {
      {"", ""},
      {"Some Set of Characters", "SOME SET OF CHARACTERS"},
      {"No!!", "NO!!"},
      {"@az[`{", "@AZ[`{"},
      {"\xE9t\xE9 \xDF\xFF", "\xE9T\xE9 \xDF\xFF"},
      {std::string_view("a\0b", 3), std::string_view("A\0B", 3)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, app::ToUpperCase(row.input));
  }
}

TEST(ToLowerCaseTest, LowersAsciiLettersOnly) {
  const Row rows[] = {
      {"", ""},
      {"WHAT IS THIS ABOUT?", "what is this about?"},
      {"@AZ[`{", "@az[`{"},
      {"\xC9T\xC9 \xC0\xDE", "\xC9t\xC9 \xC0\xDE"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, app::ToLowerCase(row.input));
  }
}

TEST(InvertCaseTest, SwapsAsciiLettersOnly) {
  const Row rows[] = {
      {"", ""},
      {"sOME oTHER lETTERS...", "Some Other Letters..."},
      {"vWxYz-", "VwXyZ-"},
      {"@AZ[`az{ 09", "@az[`AZ{ 09"},
      {"\xC9t\xE9", "\xC9T\xE9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, app::InvertCase(row.input));
  }
}

TEST(MirrorTextTest, ReversesBytesNotCharacters) {
  const Row rows[] = {
      {"", ""},
      {"x", "x"},
      {"Make This One Backwards", "sdrawkcaB enO sihT ekaM"},
      {"01234", "43210"},
      {"a\xC3\xA9z",
       "z\xA9\xC3"
       "a"},  // a two-byte character comes out with its bytes swapped
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, app::MirrorText(row.input));
  }
}

TEST(ToProperCaseTest, CapitalisesTheFirstLetterOfEveryWord) {
  const Row rows[] = {
      {"", ""},
      {"bob", "Bob"},
      {"ABCDEFG", "Abcdefg"},
      {"LINE --", "Line --"},
      {"& Forwards", "& Forwards"},
      {"IT'S not that hard to handle BOB'S writing, is it?",
       "It's Not That Hard To Handle Bob's Writing, Is It?"},
      {"  hello,world ", "  Hello,World "},
      {"2nd place", "2nd Place"},
      {"o'neil mary-jane", "O'neil Mary-jane"},
      {"(a)b c!d?e", "(A)B C!D?E"},
      {"x_y z", "X_y Z"},
      {"@a [b `c {d |e ~f", "@a [B `C {D |e ~f"},
      {"\tTAB\nLINE", "\tTab\nLine"},
      {" ,;. ", " ,;. "},
      {"\xE9t\xE9 caf\xE9", "\xE9t\xE9 Caf\xE9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, app::ToProperCase(row.input, app::ProperCaseDelims));
  }
}

// The word starts are easy to get subtly wrong in a 49-byte table, so every byte value is tried
// in front of a letter: the letter is capitalised exactly when the byte ends the previous word.
TEST(ToProperCaseTest, StartsWordsAfterControlBytesSpaceAndSixteenMarks) {
  const std::string_view marks = "!\"(),./:;?[\\]`{}";
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    const bool starts_word = b <= 0x20 || marks.find(byte) != std::string_view::npos;
    SCOPED_TRACE(b);
    const std::string result = app::ToProperCase(std::string{byte, 'x'}, app::ProperCaseDelims);
    ASSERT_EQ(2U, result.size());
    EXPECT_EQ(starts_word ? 'X' : 'x', result[1]);
  }
}

TEST(ReverseWordsTest, ReversesSpaceSeparatedWords) {
  const Row rows[] = {
      {"", ""},
      {"   ", ""},
      {"one", "one"},
      {"one two,three", "two,three one"},
      {"Change the order of;this sentence", "sentence of;this order the Change"},
      {"  a   b  ", "b a"},
      {"a,b;c d", "d a,b;c"},
      {",,,", ",,,"},
      {"a\tb", "a\tb"},
      {"a\tb c", "c a\tb"},
      {"x \ty", "y x"},  // the tab that begins the last word lands at the front and is trimmed
      {"x\t y", "y x"},
      {std::string_view("a\0 b", 4), "b a"},
      {"\xE9t\xE9 caf\xE9", "caf\xE9 \xE9t\xE9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, app::ReverseWords(row.input, app::BasicWordDelims));
  }
}

TEST(ReverseWordsTest, ExtendedDelimitersSeparateOnCommaAndSemicolon) {
  const Row rows[] = {
      {"", ""},
      {",,,", ""},
      {"one two,three", "three two one"},
      {"Change the order of;this sentence", "sentence this of order the Change"},
      {"a,b;c d", "d c b a"},
      {", a ,; b ;", "b a"},
      {"a.b:c\td", "a.b:c\td"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, app::ReverseWords(row.input, app::ExtendedWordDelims));
  }
}

}  // namespace
