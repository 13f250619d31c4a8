// SPDX-License-Identifier: MIT
// Byte-text helpers shared by the library's modules.
#pragma once

#include <string>
#include <string_view>

#include "core/params.h"

namespace core {

/// Only a-z change; every other byte is kept.
std::string AsciiUpper(std::string_view text);
/// Only A-Z change; every other byte is kept.
std::string AsciiLower(std::string_view text);

/// `text` without the bytes up to and including the space at either end.
std::string_view TrimControls(std::string_view text);

/// `text` with every control byte (0x00 to 0x1F and 0x7F) in caret notation: ESC as "^[", BEL
/// as "^G", DEL as "^?". Other bytes, the caret included, are kept.
std::string CaretNotation(std::string_view text);

/// The pieces of a space-separated list; a stretch in double quotes is never cut, and empty
/// pieces are dropped.
TStringArray SplitQuoted(std::string_view text);

/// `text` in double quotes when it is empty or holds a space, else unchanged.
std::string QuoteIfNeeded(std::string_view text);

/// Whether QuoteIfNeeded puts `text` in quotes.
inline bool NeedsQuotes(std::string_view text) {
  return text.empty() || text.find(' ') != std::string_view::npos;
}
/// The length of QuoteIfNeeded(`text`).
inline std::size_t QuotedSize(std::string_view text) {
  return text.size() + (NeedsQuotes(text) ? 2 : 0);
}

/// Appends QuoteIfNeeded(`text`) to `to` without a temporary text.
void AppendQuotedIfNeeded(std::string& to, std::string_view text);

/// The directory part of `path`: cut after its last separator (nothing when it has none), then
/// without a trailing separator unless that would leave a root such as "/" or "C:\\".
std::string DirectoryOf(std::string_view path);

/// Everything after the last separator of `path`.
std::string_view FileNameOf(std::string_view path);

}  // namespace core
