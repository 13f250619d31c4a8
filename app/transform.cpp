// SPDX-License-Identifier: MIT
// Byte-wise case rules: ASCII only, except the code-page lowering that starts proper case.
#include "app/transform.h"

#include "platform/ascii.h"
#include "platform/platform.h"

namespace app {
namespace {

template <typename Map>
std::string MapBytes(std::string_view text, Map map) {
  std::string result(text);
  for (char& c : result) c = map(c);
  return result;
}

using platform::AsciiLower;
using platform::AsciiUpper;

// A byte table answers membership faster than the bit set on long texts.
std::array<bool, 256> DelimiterTable(const ByteSet& delims) {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b) {
    table[static_cast<std::size_t>(b)] = delims.Contains(static_cast<char>(b));
  }
  return table;
}

}  // namespace

std::string ToUpperCase(std::string_view text) { return MapBytes(text, AsciiUpper); }

std::string ToLowerCase(std::string_view text) { return MapBytes(text, AsciiLower); }

std::string InvertCase(std::string_view text) {
  return MapBytes(text,
                  [](char c) { return c >= 'a' && c <= 'z' ? AsciiUpper(c) : AsciiLower(c); });
}

std::string MirrorText(std::string_view text) { return std::string(text.rbegin(), text.rend()); }

std::string ToProperCase(std::string_view text, const ByteSet& delims) {
  std::string result(text);
  if (result.empty()) return result;
  platform::LowerCodePage(result);
  // The first byte of every run outside the delimiters is put through the ASCII rule.
  const std::array<bool, 256> is_delim = DelimiterTable(delims);
  bool word_start = true;
  for (char& c : result) {
    if (is_delim[static_cast<unsigned char>(c)]) {
      word_start = true;
    } else if (word_start) {
      c = AsciiUpper(c);
      word_start = false;
    }
  }
  return result;
}

std::string ReverseWords(std::string_view text, const ByteSet& delims) {
  // The words are taken from the end of the text backwards and appended as they come, which
  // is the reversed order in one pass: prepending word by word would copy the growing text for
  // every word.
  const std::array<bool, 256> is_delim = DelimiterTable(delims);
  const auto delimiter = [&](char c) { return is_delim[static_cast<unsigned char>(c)]; };
  std::string result;
  result.reserve(text.size());
  std::size_t end = text.size();
  while (end > 0) {
    while (end > 0 && delimiter(text[end - 1])) --end;
    std::size_t start = end;
    while (start > 0 && !delimiter(text[start - 1])) --start;
    if (start == end) break;
    if (!result.empty()) result.push_back(' ');
    result.append(text.substr(start, end - start));
    end = start;
  }
  // Only the outer ends are trimmed: control bytes that begin the last word or end the first
  // word fall away, those inside the result stay.
  std::size_t first = 0;
  while (first < result.size() && static_cast<unsigned char>(result[first]) <= 0x20) ++first;
  std::size_t last = result.size();
  while (last > first && static_cast<unsigned char>(result[last - 1]) <= 0x20) --last;
  result.erase(last);
  result.erase(0, first);
  return result;
}

}  // namespace app
