// SPDX-License-Identifier: MIT
// ASCII letter case, the one folding rule that every layer shares: bytes outside A-Z and a-z never
// change, whatever the locale, so that a Turkish "i" or a code page's letters never sneak in.
#pragma once

namespace platform {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

}  // namespace platform
