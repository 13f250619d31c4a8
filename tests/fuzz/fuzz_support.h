// SPDX-License-Identifier: MIT
// What the fuzz targets share: the input read as an argument list, and the check that stops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

/// The input cut at NUL bytes, the one byte no argument can hold; an empty input is an empty
/// command line, and a trailing NUL ends with an empty argument.
inline std::vector<std::string> SplitArguments(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments;
  if (size == 0) return arguments;
  const char* text = reinterpret_cast<const char*>(data);
  std::size_t start = 0;
  for (std::size_t at = 0; at <= size; ++at) {
    if (at == size || text[at] == '\0') {
      arguments.emplace_back(text + start, at - start);
      start = at + 1;
    }
  }
  return arguments;
}

/// Aborts, which libFuzzer reports as a crash with the input that caused it.
inline void Require(bool holds, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", invariant);
  std::abort();
}

}  // namespace fuzz
