// SPDX-License-Identifier: MIT
// Byte-text helpers shared by the library's modules.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ascii.h"
#include "platform/types.h"

namespace core {

/// The library's array of texts: split pieces, and the arguments a run starts with.
using TStringArray = std::vector<std::string>;

/// Only a-z change; every other byte is kept.
std::string AsciiUpper(std::string_view text);
/// Only A-Z change; every other byte is kept.
std::string AsciiLower(std::string_view text);

/// `text` without the bytes up to and including the space, controls among them, at either end.
std::string_view TrimSpaceAndControls(std::string_view text);

/// Lowers `text` in place with the user's single-byte code page: A-Z always become a-z, no other
/// ASCII byte changes, and bytes from 0x80 follow the code page where it has one.
void LowerInCodePage(std::span<char> text);

/// `text` in double quotes when it is empty or holds a space, else unchanged.
std::string QuoteIfNeeded(std::string_view text);

/// `text` with the occurrences of `old_text`, found regardless of ASCII case from the left and
/// without overlap, replaced by `new_text` (only the first when `first_only`).
std::string ReplaceNoCase(std::string_view text, std::string_view old_text,
                          std::string_view new_text, bool first_only);

namespace detail {

/// `text` with each of its `controls` (platform::FindControls) shown in ASCII without a control
/// byte: C0 and DEL in caret notation (ESC as "^[", DEL as "^?"), a C1 control in meta-caret
/// notation, "M-" before the caret form of its code less 0x80 (CSI, U+009B or the byte 0x9B,
/// as "M-^["). Every other byte, the caret included, is kept; a control out of order or beyond
/// the text is ignored.
std::string ShowControls(std::string_view text, std::span<const platform::TControlRec> controls);

/// Calls `visit` with each piece of a space-separated list, as a view of `text`, in order; a
/// stretch in double quotes is never cut, and empty pieces are dropped.
template <typename Visit>
void ForEachQuotedPiece(std::string_view text, Visit visit) {
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t start = at;
    bool quoted = false;
    while (at < text.size() && (quoted || text[at] != ' ')) {
      if (text[at] == '"') quoted = !quoted;
      ++at;
    }
    visit(text.substr(start, at - start));
  }
}

/// The pieces of a space-separated list; a stretch in double quotes is never cut, and empty
/// pieces are dropped.
TStringArray SplitQuoted(std::string_view text);

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

/// A text as a list holds it: QuoteIfNeeded(`text`), then one space. Made once for a text that
/// goes into several lists, so that whether it is quoted is decided once.
struct TListEntry {
  explicit TListEntry(std::string_view text) : Text(text), Quoted(NeedsQuotes(text)) {}

  std::string_view Text;
  bool Quoted;

  std::size_t Size() const { return Text.size() + (Quoted ? 3 : 1); }
  /// Calls `visit` with the entry's pieces in order, as views of Text and of fixed texts.
  template <typename Visit>
  void ForEachPiece(Visit visit) const {
    if (Quoted) visit(std::string_view("\""));
    visit(Text);
    visit(std::string_view(Quoted ? "\" " : " "));
  }
};

/// Calls `visit` with each stretch of `text` around the occurrences of `separator`, found
/// regardless of ASCII case from the left and without overlap (only the first when
/// `first_only`), in order: one stretch more than there are occurrences. An empty separator
/// occurs nowhere. Needs no memory, so that the end of a run out of memory can use it too.
template <typename Visit>
void SplitNoCase(std::string_view text, std::string_view separator, bool first_only, Visit visit) {
  std::size_t from = 0;
  for (std::size_t at = 0; !separator.empty() && at + separator.size() <= text.size();) {
    if (!platform::EqualsAsciiNoCase(text.substr(at, separator.size()), separator)) {
      ++at;
      continue;
    }
    visit(text.substr(from, at - from));
    at += separator.size();
    from = at;
    if (first_only) break;
  }
  visit(text.substr(from));
}

}  // namespace detail
}  // namespace core
