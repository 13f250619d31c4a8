// SPDX-License-Identifier: MIT
// Byte-text helpers: ASCII case, trimming, quoted splitting and quoting.
#include "core/text.h"

#include "platform/platform.h"

namespace core {

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = platform::AsciiUpper(c);
  return upper;
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = platform::AsciiLower(c);
  return lower;
}

std::string_view TrimSpaceAndControls(std::string_view text) {
  const auto is_control = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && is_control(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_control(text.back())) text.remove_suffix(1);
  return text;
}

void LowerInCodePage(std::span<char> text) { platform::LowerCodePage(text); }

std::string detail::ShowControls(std::string_view text,
                                 std::span<const platform::TControlRec> controls) {
  std::string shown;
  shown.reserve(text.size() + 3 * controls.size());
  std::size_t at = 0;
  for (const platform::TControlRec& control : controls) {
    if (control.Offset < at || control.Offset > text.size() ||
        control.Size > text.size() - control.Offset) {
      continue;  // out of order or beyond the text: not this text's
    }
    shown.append(text.substr(at, control.Offset - at));
    auto code = static_cast<unsigned char>(control.Code);
    if (code >= 0x80) {
      shown.append("M-");
      code -= 0x80;
    }
    if (code < 0x20 || code == 0x7F) {
      shown.push_back('^');
      code ^= 0x40;
    }
    shown.push_back(static_cast<char>(code));
    at = control.Offset + control.Size;
  }
  shown.append(text.substr(at));
  return shown;
}

TStringArray detail::SplitQuoted(std::string_view text) {
  TStringArray pieces;
  detail::ForEachQuotedPiece(text, [&](std::string_view piece) { pieces.emplace_back(piece); });
  return pieces;
}

void detail::AppendQuotedIfNeeded(std::string& to, std::string_view text) {
  const bool quoted = detail::NeedsQuotes(text);
  if (quoted) to.push_back('"');
  to.append(text);
  if (quoted) to.push_back('"');
}

std::string QuoteIfNeeded(std::string_view text) {
  std::string quoted;
  detail::AppendQuotedIfNeeded(quoted, text);
  return quoted;
}

std::string ReplaceNoCase(std::string_view text, std::string_view old_text,
                          std::string_view new_text, bool first_only) {
  std::string result;
  bool first = true;
  detail::SplitNoCase(text, old_text, first_only, [&](std::string_view piece) {
    if (!first) result.append(new_text);
    result.append(piece);
    first = false;
  });
  return result;
}

}  // namespace core
