// SPDX-License-Identifier: MIT
// Byte-wise case rules: ASCII only, except the code-page lowering that starts proper case.
#include "app/transform.h"

#include <algorithm>

#include "core/text.h"
#include "platform/ascii.h"

namespace app {

using platform::AsciiLower;
using platform::AsciiUpper;

std::string ToUpperCase(std::string_view text) { return core::AsciiUpper(text); }

std::string ToLowerCase(std::string_view text) { return core::AsciiLower(text); }

std::string InvertCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = platform::IsAsciiLower(c) ? AsciiUpper(c) : AsciiLower(c);
  return result;
}

std::string MirrorText(std::string_view text) { return std::string(text.rbegin(), text.rend()); }

std::string ToProperCase(std::string_view text, const ByteSet& delims) {
  std::string result(text);
  core::LowerInCodePage(result);
  // The first byte of every run outside the delimiters is put through the ASCII rule. Each run
  // is skipped in a loop of its own, so that a byte costs one lookup and no state to carry.
  char* at = result.data();
  char* const end = at + result.size();
  while (true) {
    while (at != end && delims.Contains(*at)) ++at;
    if (at == end) break;
    *at = AsciiUpper(*at);
    do {
      ++at;
    } while (at != end && !delims.Contains(*at));
  }
  return result;
}

std::string ReverseWords(std::string_view text, const ByteSet& delims) {
  // The words are taken from the end of the text backwards and written as they come, which is
  // the reversed order in one pass: prepending word by word would copy the growing text for
  // every word. Words joined by single spaces never need more room than the text they came
  // from, so the result is sized once and written through a pointer, with no check of its
  // capacity for every word.
  std::string result(text.size(), '\0');
  char* out = result.data();
  const char* const first = text.data();
  const char* end = first + text.size();
  while (true) {
    while (end != first && delims.Contains(end[-1])) --end;
    if (end == first) break;
    const char* start = end - 1;
    while (start != first && !delims.Contains(start[-1])) --start;
    if (out != result.data()) *out++ = ' ';
    out = std::copy(start, end, out);
    end = start;
  }
  result.resize(static_cast<std::size_t>(out - result.data()));
  // Only the outer ends are trimmed: control bytes that begin the last word or end the first
  // word fall away, those inside the result stay.
  const std::string_view trimmed = core::TrimSpaceAndControls(result);
  if (trimmed.size() == result.size()) return result;
  return std::string(trimmed);
}

}  // namespace app
