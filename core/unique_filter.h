// SPDX-License-Identifier: MIT
// Whether a text occurs in a growing list, for every argument in one linear pass.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace core {

/// Answers "does this pattern occur anywhere in the text so far?" while the text grows at its
/// end, for patterns all known in advance. Cost is linear in the patterns and the text: a
/// pattern automaton over the patterns reads each appended byte once, and marks every pattern
/// that ends there, each at most once.
class TUniqueFilter {
 public:
  /// Adds a pattern and returns its number; equal patterns share one.
  std::int32_t AddPattern(std::string_view pattern);
  /// Ends the patterns; call once, before the first Append.
  void Prepare();
  /// Extends the text.
  void Append(std::string_view text);
  /// Whether pattern `number` occurs in the text so far; the empty pattern always does.
  bool Occurs(std::int32_t number) const {
    const std::int32_t node = Ends[static_cast<std::size_t>(number)];
    return node == 0 || Marked[static_cast<std::size_t>(node)] != 0;
  }

 private:
  std::int32_t Child(std::int32_t node, unsigned char byte) const;
  std::int32_t AddChild(std::int32_t node, unsigned char byte);

  // Node 0 is the root; its children are kept in a table, other nodes' in sibling lists.
  std::vector<std::int32_t> RootChildren = std::vector<std::int32_t>(256, -1);
  std::vector<std::int32_t> FirstChild{-1}, NextSibling{-1}, Fail{0}, Output{-1};
  std::vector<unsigned char> Label{0}, IsPattern{0}, Marked{0};
  std::vector<std::int32_t> Ends;  ///< the node at which each pattern ends
  std::int32_t State = 0;
};

}  // namespace core
