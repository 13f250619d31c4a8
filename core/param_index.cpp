// SPDX-License-Identifier: MIT
// An index of the argument table by switch name, so that nineteen declarations over a command
// line of 200,000 arguments cost one pass over it instead of nineteen full comparisons each.
#include "core/param_index.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "platform/platform.h"

namespace core {
namespace {

// A form is a prefix, the word, and for an attached value ':' or '=' and the value. An
// argument is filed under each prefix it starts with, by the lower-cased text after that prefix
// up to the first ':' or '=': exactly where a word without those characters can match it.
constexpr std::array<std::string_view, 4> IndexedPrefixes = {"", "/", "-", "--"};

std::string KeyOf(std::size_t prefix, std::string_view name) {
  std::string key(1, static_cast<char>('0' + prefix));
  key.reserve(name.size() + 1);
  for (char c : name) key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
  return key;
}

std::size_t PrefixNumber(std::string_view prefix) {
  return static_cast<std::size_t>(
      std::find(IndexedPrefixes.begin(), IndexedPrefixes.end(), prefix) -
      IndexedPrefixes.begin());
}

struct TParamIndex {
  bool Built = false;
  // The table the index describes: arguments never change after start-up, but a caller may
  // put a new table in ParamStatus's place.
  const TParamStatusRec* Data = nullptr;
  std::size_t Size = 0;
  std::unordered_map<std::string, std::vector<std::int32_t>> Positions;
  std::vector<std::int32_t> Candidates;
};

TParamIndex Index;

void Build(const TParamStatusArray& table) {
  Index.Positions.clear();
  for (std::size_t h = 0; h < table.size(); ++h) {
    const std::string_view arg = table[h].Param;
    for (std::size_t p = 0; p < IndexedPrefixes.size(); ++p) {
      const std::string_view prefix = IndexedPrefixes[p];
      // Bare forms are single symbol characters, so only those arguments need the empty prefix.
      if (prefix.empty() ? arg.empty() || SymbolSwitchChars.find(arg[0]) == std::string_view::npos
                         : !arg.starts_with(prefix)) {
        continue;
      }
      const std::string_view body = arg.substr(prefix.size());
      Index.Positions[KeyOf(p, body.substr(0, FindAttachSeparator(body)))].push_back(
          static_cast<std::int32_t>(h));
    }
  }
  Index.Built = true;
  Index.Data = table.data();
  Index.Size = table.size();
}

}  // namespace

TPrefixes PrefixesOf(std::string_view word, TSwitchStyle style) {
  if (word.size() == 1) {
    const bool bare = (style == ssBareSymbols || style == ssBareAndAttached) &&
                      SymbolSwitchChars.find(word.front()) != std::string_view::npos;
    if (bare) return {{"", "/", "-"}, 3};
    return {{"/", "-", ""}, 2};
  }
  if (RequireDoubleDash) return {{"/", "--", ""}, 2};
  return {{"/", "-", "--"}, 3};
}

void ResetParamIndex() { Index = TParamIndex{}; }

const std::vector<std::int32_t>* CandidatePositions(const TParamStatusArray& table,
                                                    const TStringArray& words) {
  if (&table != &ParamStatus || !platform::CaseFoldingIsBytewise()) return nullptr;
  for (const std::string& word : words) {
    if (FindAttachSeparator(word) != std::string::npos) return nullptr;
  }
  if (!Index.Built || Index.Data != table.data() || Index.Size != table.size()) Build(table);
  Index.Candidates.clear();
  std::size_t lists = 0;
  for (const std::string& word : words) {
    const TPrefixes prefixes = PrefixesOf(word, SwitchStyle);
    for (std::size_t p = 0; p < prefixes.Count; ++p) {
      const auto found = Index.Positions.find(KeyOf(PrefixNumber(prefixes.Items[p]), word));
      if (found == Index.Positions.end()) continue;
      Index.Candidates.insert(Index.Candidates.end(), found->second.begin(), found->second.end());
      ++lists;
    }
  }
  // Each list is in increasing order already; only a union of several needs sorting.
  if (lists > 1) {
    std::sort(Index.Candidates.begin(), Index.Candidates.end());
    Index.Candidates.erase(std::unique(Index.Candidates.begin(), Index.Candidates.end()),
                           Index.Candidates.end());
  }
  return &Index.Candidates;
}

}  // namespace core
