// SPDX-License-Identifier: MIT
// Paths as the running executable's is taken apart: its directory, file name, extension and the
// program's base name. Separators are the platform's ("/"; on Windows also "\" and ":").
#pragma once

#include <string>
#include <string_view>

#include "core/text.h"

namespace core {

/// The directory part of `path`: cut after its last separator (nothing when it has none), then
/// without a trailing separator unless that would leave a root such as "/" or "C:\\".
std::string DirectoryOf(std::string_view path);

/// Everything after the last separator of `path`.
std::string_view FileNameOf(std::string_view path);

/// The extension of `file_name`, from its last dot to the end; empty when it has no dot, or when
/// its last dot is its first byte (".profile").
std::string_view FileExtensionOf(std::string_view file_name);

namespace detail {

/// Calls `visit` with the pieces of the program's base name: `file_name` without any occurrence
/// of its extension, in any case ("a.exe.b.EXE" gives "a" and ".b"). Needs no memory, so that
/// the end of a run out of memory can name the program too.
template <typename Visit>
void ForEachBaseNamePiece(std::string_view file_name, Visit visit) {
  SplitNoCase(file_name, FileExtensionOf(file_name), false, visit);
}

}  // namespace detail
}  // namespace core
