// SPDX-License-Identifier: MIT
// Byte-wise case rules: ASCII only, except the code-page lowering that starts proper case.
#include "app/transform.h"

#include "core/text.h"
#include "platform/ascii.h"
#include "platform/platform.h"

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
  platform::LowerCodePage(result);
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
  // The words are taken from the end of the text backwards and appended as they come, which
  // is the reversed order in one pass: prepending word by word would copy the growing text for
  // every word.
  const auto delimiter = [&](char c) { return delims.Contains(c); };
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
  const std::string_view trimmed = core::TrimControls(result);
  if (trimmed.size() == result.size()) return result;
  return std::string(trimmed);
}

}  // namespace app
