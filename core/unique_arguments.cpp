// SPDX-License-Identifier: MIT
// Which arguments join the unique list: an equal-entry set for most, a multi-pattern automaton
// for the rest; the reasons stand above UniqueArguments.
#include "core/unique_arguments.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "core/text.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {
namespace {

constexpr std::size_t At(std::int32_t node) { return static_cast<std::size_t>(node); }

unsigned char Folded(char c) { return static_cast<unsigned char>(platform::AsciiLower(c)); }

std::uint64_t KeyOf(std::int32_t node, unsigned char byte) {
  return (static_cast<std::uint64_t>(node) << 8 | byte) + 1;
}

// Answers "does this pattern occur anywhere in the text so far?" while the text grows at its
// end, for patterns all known in advance, with ASCII letters compared regardless of case.
// An automaton over all the patterns reads each appended byte once and marks every pattern
// that ends there, each at most once: the cost is linear in the patterns and the text, and one
// step of it is one table probe, however many bytes follow a node and whatever they are.
class TPatternAutomaton {
 public:
  // Makes room for patterns of `bytes` bytes in all, so that adding them moves nothing.
  void Reserve(std::size_t bytes);
  // Adds a pattern and returns its number: 0 for the first, then one more each time.
  std::int32_t AddPattern(std::string_view pattern);
  // Ends the patterns; call once, before the first Append.
  void Prepare();
  // Extends the text.
  void Append(std::string_view text);
  // Whether pattern `number` occurs in the text so far; the empty pattern always does.
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
    std::int32_t Output = 0;  //< the nearest pattern node along the fail links
    unsigned char Label = 0;
    unsigned char Flags = 0;
  };
  std::array<std::int32_t, 256> RootChildren{};
  std::array<bool, 256> InPatterns{};
  std::vector<TNode> Nodes{TNode{}};
  std::vector<std::int32_t> Parent{0};
  struct TSlot {
    std::uint64_t Key = 0;  //< node * 256 + byte + 1; 0 marks a free slot
    std::int32_t Child = 0;
  };
  std::vector<TSlot> Slots;
  std::size_t Used = 0;
  std::vector<std::int32_t> Ends;  //< the node at which each pattern ends
  std::int32_t State = 0;
};

std::size_t TPatternAutomaton::Slot(std::uint64_t key) const {
  // Fibonacci hashing spreads the keys of neighbouring nodes over the whole table.
  const std::size_t mask = Slots.size() - 1;
  std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & mask;
  while (Slots[slot].Key != 0 && Slots[slot].Key != key) slot = (slot + 1) & mask;
  return slot;
}

void TPatternAutomaton::Grow() {
  std::vector<TSlot> old(Slots.empty() ? 64 : Slots.size() * 2);
  std::swap(old, Slots);
  for (const TSlot& entry : old) {
    if (entry.Key != 0) Slots[Slot(entry.Key)] = entry;
  }
}

void TPatternAutomaton::Reserve(std::size_t bytes) {
  Nodes.reserve(bytes + 1);
  Parent.reserve(bytes + 1);
}

std::int32_t TPatternAutomaton::Child(std::int32_t node, unsigned char byte) const {
  if (node == 0) return RootChildren[byte] != 0 ? RootChildren[byte] : -1;
  const unsigned char flags = Nodes[At(node)].Flags;
  if ((flags & NextIsChild) != 0 && Nodes[At(node) + 1].Label == byte) return node + 1;
  if ((flags & Branches) == 0) return -1;
  const TSlot& slot = Slots[Slot(KeyOf(node, byte))];
  return slot.Key != 0 ? slot.Child : -1;
}

std::int32_t TPatternAutomaton::AddChild(std::int32_t node, unsigned char byte) {
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

std::int32_t TPatternAutomaton::AddPattern(std::string_view pattern) {
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

void TPatternAutomaton::Prepare() {
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

void TPatternAutomaton::Append(std::string_view text) {
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

// A hash that agrees with platform::EqualsAsciiNoCase.
std::uint64_t FoldedHash(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : text) {
    hash = (hash ^ static_cast<unsigned char>(platform::AsciiLower(c))) * 0x100000001b3ULL;
  }
  return hash;
}

// The text an argument is looked for as: an empty argument is listed as two double quotes.
std::string_view LookedFor(const TParamStatusRec& entry) {
  return entry.Param.empty() ? std::string_view("\"\"") : entry.Param;
}

// A text without spaces and quotes, which can lie inside one listed entry only.
bool IsPlain(std::string_view text) { return text.find_first_of(" \"") == std::string_view::npos; }

// How an argument's question is answered (the reasons stand above UniqueArguments).
enum TWay : unsigned char {
  wyNone,       ///< longer than the whole list before it: it cannot occur
  wyEqual,      ///< plain and no shorter than any argument before it: only an equal entry holds it
  wyAutomaton,  ///< any other: the automaton looks for it
};

struct TPlan {
  std::vector<TWay> Ways;
  std::size_t PlainCount = 0;    ///< plain texts, which the set of plain entries may hold
  std::size_t PatternBytes = 0;  ///< the automaton's patterns, in all
  std::size_t LastAsked = 0;     ///< the last argument that the automaton answers
  bool Automaton = false;        ///< whether any argument goes to the automaton
};

TPlan PlanWays(std::span<const TParamStatusRec> range) {
  TPlan plan;
  plan.Ways.assign(range.size(), wyNone);
  std::size_t listed = 0, longest = 0;  // the list's length, were every argument before listed
  for (std::size_t h = 0; h < range.size(); ++h) {
    const std::string_view text = LookedFor(range[h]);
    TWay& way = plan.Ways[h];
    if (IsPlain(text)) {
      ++plan.PlainCount;
      way = text.size() >= longest ? wyEqual : wyAutomaton;
    } else if (text.size() <= listed) {
      way = wyAutomaton;
    }
    if (way == wyAutomaton) {
      plan.PatternBytes += text.size();
      plan.LastAsked = h;
      plan.Automaton = true;
    }
    listed += detail::TListEntry(text).Size();
    longest = std::max(longest, text.size());
  }
  return plan;
}

// The plain texts listed so far, each found regardless of ASCII case in one probe: open
// addressing over argument positions, at most half full.
class TPlainEntries {
 public:
  TPlainEntries(std::span<const TParamStatusRec> range, std::size_t plain_count) : Range(range) {
    std::size_t slots = 16;
    while (slots < 2 * plain_count) slots *= 2;
    if (plain_count > 0) Slots.assign(slots, -1);
  }
  // Lists argument `h`, unless an equal text is listed already: then false.
  bool Insert(std::size_t h) {
    const std::string_view text = LookedFor(Range[h]);
    const std::size_t mask = Slots.size() - 1;
    std::size_t slot = static_cast<std::size_t>(FoldedHash(text)) & mask;
    for (; Slots[slot] != -1; slot = (slot + 1) & mask) {
      if (platform::EqualsAsciiNoCase(LookedFor(Range[At(Slots[slot])]), text)) return false;
    }
    Slots[slot] = static_cast<std::int32_t>(h);
    return true;
  }

 private:
  std::span<const TParamStatusRec> Range;
  std::vector<std::int32_t> Slots;  ///< argument positions; -1 marks a free slot
};

}  // namespace

// Which arguments join the unique list: those whose lower-cased text does not occur in the
// lower-cased list so far. Two ways answer it, each in time linear in the arguments:
// - A text without spaces and quotes can only lie inside one listed entry, since entries are
//   set apart by spaces and quoted only when they hold one. If it is no shorter than every
//   argument before it, it occurs only as an equal entry: a hash set of the listed entries
//   answers that, one probe each. Long lines of values of one length (random words, a glob)
//   go this way, and this way stays small in memory and in cache (docs/performance.md has what
//   it saves).
// - Every other text is looked for by one automaton of all such texts, fed the list as it
//   grows; each answer then costs nothing, and each step of the automaton is one table probe
//   whatever the values look like (a direct search of the list would cost its length for every
//   argument). A text longer than the whole list before it cannot occur and is left out, and
//   the list is fed only while a text is still to be asked for.
std::vector<bool> UniqueArguments(std::span<const TParamStatusRec> range) {
  const TPlan plan = PlanWays(range);
  TPatternAutomaton patterns;
  if (plan.Automaton) {
    patterns.Reserve(plan.PatternBytes);
    for (std::size_t h = 0; h < range.size(); ++h) {
      if (plan.Ways[h] == wyAutomaton) patterns.AddPattern(LookedFor(range[h]));
    }
    patterns.Prepare();
  }
  TPlainEntries listed(range, plan.PlainCount);
  std::vector<bool> unique(range.size());
  std::int32_t number = 0;  // patterns are numbered as they are added
  for (std::size_t h = 0; h < range.size(); ++h) {
    const std::string_view text = LookedFor(range[h]);
    if (plan.Ways[h] == wyAutomaton && patterns.Occurs(number++)) continue;
    // A plain text that the automaton did not find is listed nowhere, so it always goes in.
    if (IsPlain(text) && !listed.Insert(h)) continue;
    unique[h] = true;
    if (plan.Automaton && h < plan.LastAsked) {
      detail::TListEntry(text).ForEachPiece(
          [&](std::string_view piece) { patterns.Append(piece); });
    }
  }
  return unique;
}

}  // namespace core
