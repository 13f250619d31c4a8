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

/// The pieces of a space-separated list; a stretch in double quotes is never cut, and empty
/// pieces are dropped.
TStringArray SplitQuoted(std::string_view text);

}  // namespace core
