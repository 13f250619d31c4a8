// SPDX-License-Identifier: MIT
// Whether a text occurs in a growing list, for every argument in one linear pass.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace core {

/// Answers "does this pattern occur anywhere in the text so far?" while the text grows at its
/// end, for patterns all known in advance, with ASCII letters compared regardless of case.
/// An automaton over all the patterns reads each appended byte once and marks every pattern
/// that ends there, each at most once: the cost is linear in the patterns and the text, and one
/// step of it is one table probe, however many bytes follow a node and whatever they are.
class TUniqueFilter {
 public:
  /// Makes room for patterns of `bytes` bytes in all, so that adding them moves nothing.
  void Reserve(std::size_t bytes);
  /// Adds a pattern and returns its number: 0 for the first, then one more each time.
  std::int32_t AddPattern(std::string_view pattern);
  /// Ends the patterns; call once, before the first Append.
  void Prepare();
  /// Extends the text.
  void Append(std::string_view text);
  /// Whether pattern `number` occurs in the text so far; the empty pattern always does.
  bool Occurs(std::int32_t number) const {
    const std::int32_t node = Ends[static_cast<std::size_t>(number)];
    return node == 0 || (Nodes[static_cast<std::size_t>(node)].Flags & Marked) != 0;
  }

 private:
  static constexpr unsigned char IsPattern = 1, Marked = 2, NextIsChild = 4, Branches = 8;

  std::int32_t Child(std::int32_t node, unsigned char byte) const;
  std::int32_t AddChild(std::int32_t node, unsigned char byte);
  std::size_t Slot(std::uint64_t key) const;
  void Grow();

  // Node 0 is the root. A pattern's bytes mostly become nodes in a row, so a node whose child
  // was made right after it finds that child next to it (NextIsChild); every other child is
  // found in one open-addressed table keyed by node and byte (Branches says a node has one
  // there), and the root's in a plain array.
  // A byte that no pattern holds sends the automaton back to the root at once.
  struct TNode {
    std::int32_t Fail = 0;
    std::int32_t Output = 0;  ///< the nearest pattern node along the fail links
    unsigned char Label = 0;
    unsigned char Flags = 0;
  };
  std::array<std::int32_t, 256> RootChildren{};
  std::array<bool, 256> InPatterns{};
  std::vector<TNode> Nodes{TNode{}};
  std::vector<std::int32_t> Parent{0};
  struct TSlot {
    std::uint64_t Key = 0;  ///< node * 256 + byte + 1; 0 marks a free slot
    std::int32_t Child = 0;
  };
  std::vector<TSlot> Slots;
  std::size_t Used = 0;
  std::vector<std::int32_t> Ends;  ///< the node at which each pattern ends
  std::int32_t State = 0;
};

}  // namespace core
