// SPDX-License-Identifier: MIT
// A multi-pattern automaton fed with the growing text; see unique_filter.h.
#include "core/unique_filter.h"

#include <cstddef>
#include <utility>

#include "platform/ascii.h"

namespace core {
namespace {

constexpr std::size_t At(std::int32_t node) { return static_cast<std::size_t>(node); }

unsigned char Folded(char c) { return static_cast<unsigned char>(platform::AsciiLower(c)); }

std::uint64_t KeyOf(std::int32_t node, unsigned char byte) {
  return (static_cast<std::uint64_t>(node) << 8 | byte) + 1;
}

}  // namespace

std::size_t TUniqueFilter::Slot(std::uint64_t key) const {
  // Fibonacci hashing spreads the keys of neighbouring nodes over the whole table.
  const std::size_t mask = Slots.size() - 1;
  std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & mask;
  while (Slots[slot].Key != 0 && Slots[slot].Key != key) slot = (slot + 1) & mask;
  return slot;
}

void TUniqueFilter::Grow() {
  std::vector<TSlot> old(Slots.empty() ? 64 : Slots.size() * 2);
  std::swap(old, Slots);
  for (const TSlot& entry : old) {
    if (entry.Key != 0) Slots[Slot(entry.Key)] = entry;
  }
}

void TUniqueFilter::Reserve(std::size_t bytes) {
  Nodes.reserve(bytes + 1);
  Parent.reserve(bytes + 1);
}

std::int32_t TUniqueFilter::Child(std::int32_t node, unsigned char byte) const {
  if (node == 0) return RootChildren[byte] != 0 ? RootChildren[byte] : -1;
  const unsigned char flags = Nodes[At(node)].Flags;
  if ((flags & NextIsChild) != 0 && Nodes[At(node) + 1].Label == byte) return node + 1;
  if ((flags & Branches) == 0) return -1;
  const TSlot& slot = Slots[Slot(KeyOf(node, byte))];
  return slot.Key != 0 ? slot.Child : -1;
}

std::int32_t TUniqueFilter::AddChild(std::int32_t node, unsigned char byte) {
  const auto child = static_cast<std::int32_t>(Nodes.size());
  Nodes.push_back({0, 0, byte, 0});
  Parent.push_back(node);
  InPatterns[byte] = true;
  if (node == 0) {
    RootChildren[byte] = child;
  } else if (child == node + 1) {
    Nodes[At(node)].Flags |= NextIsChild;
  } else {
    if (4 * (Used + 1) > 3 * Slots.size()) Grow();
    const std::uint64_t key = KeyOf(node, byte);
    Slots[Slot(key)] = {key, child};
    Nodes[At(node)].Flags |= Branches;
    ++Used;
  }
  return child;
}

std::int32_t TUniqueFilter::AddPattern(std::string_view pattern) {
  std::int32_t node = 0;
  for (const char c : pattern) {
    const unsigned char byte = Folded(c);
    const std::int32_t next = Child(node, byte);
    node = next != -1 ? next : AddChild(node, byte);
  }
  Nodes[At(node)].Flags |= IsPattern;
  Ends.push_back(node);
  return static_cast<std::int32_t>(Ends.size() - 1);
}

void TUniqueFilter::Prepare() {
  // A node's fail link needs its parent's and those of shallower nodes: take the nodes by
  // depth. A parent is always made before its child, so depths come in one pass; each node's
  // Output holds its depth until its turn comes.
  const std::size_t count = Nodes.size();
  std::vector<std::int32_t> first(2, 0);
  for (std::size_t node = 1; node < count; ++node) {
    const std::int32_t depth = Nodes[At(Parent[node])].Output + 1;
    Nodes[node].Output = depth;
    if (At(depth) + 1 >= first.size()) first.resize(At(depth) + 2, 0);
    ++first[At(depth)];
  }
  for (std::size_t d = 1; d < first.size(); ++d) first[d] += first[d - 1];
  std::vector<std::int32_t> order(count > 0 ? count - 1 : 0);
  for (std::size_t node = count; node-- > 1;) {
    order[At(--first[At(Nodes[node].Output)])] = static_cast<std::int32_t>(node);
  }
  for (const std::int32_t node : order) {
    const std::int32_t parent = Parent[At(node)];
    TNode& entry = Nodes[At(node)];
    if (parent != 0) {
      std::int32_t fallback = Nodes[At(parent)].Fail;
      std::int32_t target = Child(fallback, entry.Label);
      while (target == -1 && fallback != 0) {
        fallback = Nodes[At(fallback)].Fail;
        target = Child(fallback, entry.Label);
      }
      entry.Fail = target == -1 ? 0 : target;
    }
    // The fail node is shallower, so its Output is its own by now.
    const TNode& fail = Nodes[At(entry.Fail)];
    entry.Output = (fail.Flags & IsPattern) != 0 ? entry.Fail : fail.Output;
  }
  Parent = {};
}

void TUniqueFilter::Append(std::string_view text) {
  for (const char c : text) {
    const unsigned char byte = Folded(c);
    if (!InPatterns[byte]) {
      State = 0;
      continue;
    }
    std::int32_t next = Child(State, byte);
    while (next == -1 && State != 0) {
      State = Nodes[At(State)].Fail;
      next = Child(State, byte);
    }
    State = next == -1 ? 0 : next;
    // A marked pattern node has had every shorter pattern ending with it marked too, so the
    // walk stops there: each pattern is marked once in all.
    const TNode& reached = Nodes[At(State)];
    std::int32_t node = (reached.Flags & IsPattern) != 0 ? State : reached.Output;
    while (node > 0 && (Nodes[At(node)].Flags & Marked) == 0) {
      Nodes[At(node)].Flags |= Marked;
      node = Nodes[At(node)].Output;
    }
  }
}

}  // namespace core
