// SPDX-License-Identifier: MIT
// A multi-pattern automaton fed with the growing text; see unique_filter.h.
#include "core/unique_filter.h"

#include <cstddef>

namespace core {
namespace {

constexpr std::size_t At(std::int32_t node) { return static_cast<std::size_t>(node); }

}  // namespace

std::int32_t TUniqueFilter::Child(std::int32_t node, unsigned char byte) const {
  if (node == 0) return RootChildren[byte];
  for (std::int32_t child = FirstChild[At(node)]; child != -1; child = NextSibling[At(child)]) {
    if (Label[At(child)] == byte) return child;
  }
  return -1;
}

std::int32_t TUniqueFilter::AddChild(std::int32_t node, unsigned char byte) {
  const auto child = static_cast<std::int32_t>(Label.size());
  Label.push_back(byte);
  IsPattern.push_back(0);
  Marked.push_back(0);
  FirstChild.push_back(-1);
  Fail.push_back(0);
  Output.push_back(-1);
  if (node == 0) {
    RootChildren[byte] = child;
    NextSibling.push_back(-1);
  } else {
    NextSibling.push_back(FirstChild[At(node)]);
    FirstChild[At(node)] = child;
  }
  return child;
}

std::int32_t TUniqueFilter::AddPattern(std::string_view pattern) {
  std::int32_t node = 0;
  for (const char c : pattern) {
    const auto byte = static_cast<unsigned char>(c);
    const std::int32_t next = Child(node, byte);
    node = next != -1 ? next : AddChild(node, byte);
  }
  IsPattern[At(node)] = 1;
  Ends.push_back(node);
  return static_cast<std::int32_t>(Ends.size() - 1);
}

void TUniqueFilter::Prepare() {
  // Breadth first, so that a node's fail link is known before its children need it.
  std::vector<std::int32_t> queue;
  queue.reserve(Label.size());
  for (const std::int32_t child : RootChildren) {
    if (child != -1) queue.push_back(child);
  }
  for (std::size_t head = 0; head < queue.size(); ++head) {
    const std::int32_t node = queue[head];
    for (std::int32_t child = FirstChild[At(node)]; child != -1; child = NextSibling[At(child)]) {
      const unsigned char byte = Label[At(child)];
      std::int32_t fallback = Fail[At(node)];
      std::int32_t target = Child(fallback, byte);
      while (target == -1 && fallback != 0) {
        fallback = Fail[At(fallback)];
        target = Child(fallback, byte);
      }
      Fail[At(child)] = target == -1 ? 0 : target;
      const std::int32_t fail = Fail[At(child)];
      Output[At(child)] = IsPattern[At(fail)] != 0 ? fail : Output[At(fail)];
      queue.push_back(child);
    }
  }
}

void TUniqueFilter::Append(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    std::int32_t next = Child(State, byte);
    while (next == -1 && State != 0) {
      State = Fail[At(State)];
      next = Child(State, byte);
    }
    State = next == -1 ? 0 : next;
    // A marked pattern node has had every shorter pattern ending with it marked too, so the
    // walk stops there: each pattern is marked once in all.
    std::int32_t node = IsPattern[At(State)] != 0 ? State : Output[At(State)];
    while (node > 0 && Marked[At(node)] == 0) {
      Marked[At(node)] = 1;
      node = Output[At(node)];
    }
  }
}

}  // namespace core
