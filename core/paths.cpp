// SPDX-License-Identifier: MIT
// Taking the running executable's path apart.
#include "core/paths.h"

#include "platform/platform.h"

namespace core {

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
