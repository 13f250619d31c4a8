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

std::string_view TrimControls(std::string_view text) {
  const auto is_control = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && is_control(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_control(text.back())) text.remove_suffix(1);
  return text;
}

std::string ShowControls(std::string_view text, std::span<const platform::TControlRec> controls) {
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

TStringArray SplitQuoted(std::string_view text) {
  TStringArray pieces;
  ForEachQuotedPiece(text, [&](std::string_view piece) { pieces.emplace_back(piece); });
  return pieces;
}

void AppendQuotedIfNeeded(std::string& to, std::string_view text) {
  const bool quoted = NeedsQuotes(text);
  if (quoted) to.push_back('"');
  to.append(text);
  if (quoted) to.push_back('"');
}

std::string QuoteIfNeeded(std::string_view text) {
  std::string quoted;
  AppendQuotedIfNeeded(quoted, text);
  return quoted;
}

std::string DirectoryOf(std::string_view path) {
  const std::string_view separators = platform::PathSeparators();
  const std::size_t last = path.find_last_of(separators);
  if (last == std::string_view::npos) return {};
  std::string_view directory = path.substr(0, last + 1);
  const char trailing = directory.back();  // a colon is kept: "C:" names a drive
  if (directory.size() > 1 && (trailing == '/' || trailing == '\\') &&
      separators.find(directory[directory.size() - 2]) == std::string_view::npos) {
    directory.remove_suffix(1);
  }
  return std::string(directory);
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t last = path.find_last_of(platform::PathSeparators());
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string_view FileExtensionOf(std::string_view file_name) {
  const std::size_t dot = file_name.find_last_of('.');
  return dot != std::string_view::npos && dot > 0 ? file_name.substr(dot) : std::string_view();
}

}  // namespace core
