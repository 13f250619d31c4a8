// SPDX-License-Identifier: MIT
// Byte-text helpers shared by the library's modules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

/// The library's array of texts: split pieces, and the arguments a run starts with.
using TStringArray = std::vector<std::string>;

/// Only a-z change; every other byte is kept.
std::string AsciiUpper(std::string_view text);
/// Only A-Z change; every other byte is kept.
std::string AsciiLower(std::string_view text);

/// `text` in double quotes when it is empty or holds a space, else unchanged.
std::string QuoteIfNeeded(std::string_view text);

/// `text` with the occurrences of `old_text`, found regardless of ASCII case from the left and
/// without overlap, replaced by `new_text` (only the first when `first_only`).
std::string ReplaceNoCase(std::string_view text, std::string_view old_text,
                          std::string_view new_text, bool first_only);

}  // namespace core
