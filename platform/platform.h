// SPDX-License-Identifier: MIT
// The operating-system services the console tools need; exactly one platform_*.cpp defines them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The two standard streams a text channel can be bound to.
enum TStdStream : std::uint8_t { stdOutput, stdError };

/// The process's arguments after the program's own name, as main received them.
std::vector<std::string> ArgumentList(int argc, char** argv);

/// Full path of the running executable, or `fallback` (main's argv[0]) when the system cannot
/// tell.
std::string ExecutablePath(std::string_view fallback);

/// Hands all of `text` to the operating system at once. On failure returns false and puts the
/// system's reason, in words, into `reason`.
[[nodiscard]] bool WriteAll(TStdStream stream, std::string_view text, std::string& reason);

/// Equality of two switch texts regardless of letter case, whatever the user's locale.
bool EqualsNoCase(std::string_view left, std::string_view right);

/// Lowers `text` in place with the user's single-byte code page: A-Z always become a-z, no other
/// ASCII byte changes, and bytes from 0x80 follow the code page when it has one.
void LowerCodePage(std::span<char> text);

}  // namespace platform
