// SPDX-License-Identifier: MIT
// The six case transformations; each takes bytes and returns new bytes, nothing else.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace app {

/// A membership set over the 256 byte values, one entry per byte, so that a test is one load.
struct ByteSet {
  std::array<bool, 256> Members{};

  constexpr bool Contains(char c) const { return Members[static_cast<unsigned char>(c)]; }
  constexpr void Add(unsigned char b) { Members[b] = true; }
};

constexpr ByteSet MakeByteSet(std::initializer_list<unsigned char> members) {
  ByteSet set;
  for (unsigned char b : members) set.Add(b);
  return set;
}

/// Word starts for proper case: control bytes, the space and sixteen punctuation marks; not the
/// apostrophe or the hyphen, so that "it's" and "mary-jane" stay one word.
inline constexpr ByteSet ProperCaseDelims = [] {
  ByteSet set = MakeByteSet(
      {'!', '"', '(', ')', ',', '.', '/', ':', ';', '?', '[', '\\', ']', '`', '{', '}'});
  for (unsigned char b = 0; b <= 0x20; ++b) set.Add(b);
  return set;
}();
inline constexpr ByteSet BasicWordDelims = MakeByteSet({' '});
inline constexpr ByteSet ExtendedWordDelims = MakeByteSet({' ', ',', ';'});

/// a-z to A-Z; every other byte unchanged.
std::string ToUpperCase(std::string_view text);
/// A-Z to a-z; every other byte unchanged.
std::string ToLowerCase(std::string_view text);
/// Lowers the text with the user's code page, then puts the first byte of every word (runs
/// outside `delims`) through the ASCII upper-case rule.
std::string ToProperCase(std::string_view text, const ByteSet& delims);
/// Swaps the case of ASCII letters; bytes from 0x80 never change.
std::string InvertCase(std::string_view text);
/// The bytes in reverse order.
std::string MirrorText(std::string_view text);
/// The words (runs outside `delims`) last first, joined by single spaces, with bytes up to
/// 0x20 trimmed from both ends of the result.
std::string ReverseWords(std::string_view text, const ByteSet& delims);

}  // namespace app
