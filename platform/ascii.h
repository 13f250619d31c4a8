// SPDX-License-Identifier: MIT
// ASCII letter case, the one folding rule that every layer shares: bytes outside A-Z and a-z never
// change, whatever the locale, so that a Turkish "i" or a code page's letters never sneak in.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

/// Whether `c` is one of A-Z.
constexpr bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
/// Whether `c` is one of a-z.
constexpr bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
/// `c` lowered if it is one of A-Z, else unchanged.
constexpr char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c + 32) : c; }
/// `c` raised if it is one of a-z, else unchanged.
constexpr char AsciiUpper(char c) { return IsAsciiLower(c) ? static_cast<char>(c - 32) : c; }

/// Equality of two texts with ASCII letters folded; needs no memory.
constexpr bool EqualsAsciiNoCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i) {
    if (AsciiLower(left[i]) != AsciiLower(right[i])) return false;
  }
  return true;
}

}  // namespace platform
