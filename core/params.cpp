// SPDX-License-Identifier: MIT
// The parameter engine: switch forms, lookups that mark the argument table, declared words.
#include "core/params.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "core/library.h"
#include "core/param_index.h"
#include "core/text.h"
#include "platform/platform.h"

namespace core {

TParamStatusArray ParamStatus;
TParamRecArray FindHistory;
TSwitchStyle SwitchStyle = ssPlain;
bool RequireDoubleDash = true;
bool RecordFindHistory = false;
TParamFlags ParamFlags = 0;
std::string DeclaredSwitches;

TFindParamRec DebugModeParam, SpareParam, ErrorDelayParam, AudibleErrorParam, HelpParam,
    VerboseParam, VersionOnlyParam, BannerParam, InfoParam;

namespace {

// Calls `visit` with each maximal run of bytes outside `delimiters`; stops early when it
// returns true, and reports whether it did.
template <typename Visit>
bool ForEachWord(std::string_view text, std::string_view delimiters, Visit visit) {
  std::size_t at = 0;
  while (at < text.size()) {
    at = text.find_first_not_of(delimiters, at);
    if (at == std::string_view::npos) break;
    std::size_t end = text.find_first_of(delimiters, at);
    if (end == std::string_view::npos) end = text.size();
    if (visit(text.substr(at, end - at))) return true;
    at = end;
  }
  return false;
}

bool AllowsAttached(TSwitchStyle style) {
  return style == ssAttachedValues || style == ssBareAndAttached;
}

// Whether `text` is the form `prefix` + `alias`. Where the platform compares byte by byte the
// form is never built: the per-position lookup runs for every argument.
bool EqualsForm(std::string_view text, std::string_view prefix, std::string_view alias) {
  if (platform::CaseFoldingIsBytewise()) {
    return text.size() == prefix.size() + alias.size() && text.starts_with(prefix) &&
           platform::EqualsNoCase(text.substr(prefix.size()), alias);
  }
  static std::string form;
  form.assign(prefix);
  form.append(alias);
  return platform::EqualsNoCase(text, form);
}

// What the engine keeps of an alias list it has seen: the per-position lookup asks for the same
// six lists at every argument, in turn, so the entry after the last one asked for is tried
// first.
struct TAliasEntry {
  std::string Aliases;
  TStringArray Words;
  std::uint64_t MergedAt = 0;  ///< the DeclaredSwitches generation that already holds its words
  std::size_t Next = 0;        ///< the entry asked for after this one, last time
};

TAliasEntry& AliasEntry(std::string_view aliases) {
  static std::vector<TAliasEntry> cache;
  static std::size_t last = 0;
  if (!cache.empty()) {
    const std::size_t predicted = cache[last].Next;
    if (predicted < cache.size() && cache[predicted].Aliases == aliases) {
      last = predicted;
      return cache[last];
    }
  }
  std::size_t at = 0;
  while (at < cache.size() && cache[at].Aliases != aliases) ++at;
  if (at == cache.size()) {
    if (cache.size() >= 64) cache.clear();
    at = cache.size();
    cache.push_back({std::string(aliases), AliasWords(aliases), 0, 0});
  }
  if (last < cache.size()) cache[last].Next = at;
  last = at;
  return cache[at];
}

// Merging an alias list into DeclaredSwitches again changes nothing until the list changes, so
// each content the list takes is a generation, and an alias list merged in the current one is
// not merged again: the per-position lookup would otherwise rescan the list at every argument.
void NoteDeclared(TAliasEntry& entry) {
  static std::string snapshot;
  static std::uint64_t generation = 1;
  const auto observe = [] {
    if (DeclaredSwitches != snapshot) {
      snapshot = DeclaredSwitches;
      ++generation;
    }
  };
  observe();
  if (entry.MergedAt == generation) return;
  AddDeclaredSwitches(DeclaredSwitches, entry.Aliases);
  observe();
  entry.MergedAt = generation;
}

std::int32_t LastPosition(const TParamStatusArray& table) {
  constexpr std::size_t most = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(table.size(), most)) - 1;
}

// A required value that no argument supplies.
void MarkValueMissing(TFindParamRec& rec, TParamStatusRec& entry) {
  rec.Found = false;
  entry.Status = psIncomplete;
  entry.SwitchMark = true;
  entry.ValueMark = entry.AttachMark = false;
}

// Takes the argument after `h` (h + `offset`) as a value; the outcomes mark the switch's own
// entry, with SwitchMark as the first and the second value differ in it.
void TakeValue(TFindParamRec& rec, TParamStatusArray& table, std::int32_t h, std::int32_t offset,
               bool required) {
  TParamStatusRec& entry = table[static_cast<std::size_t>(h)];
  TParamStatusRec& next = table[static_cast<std::size_t>(h + offset)];
  std::string& value = offset == 1 ? rec.Value1 : rec.Value2;
  const bool first = offset == 1;
  value = next.Param;
  if (required && value.empty()) {
    rec.Found = false;
    entry.Status = psIncomplete;
    entry.SwitchMark = first;
    entry.ValueMark = false;
    entry.AttachMark = false;
  } else if (next.Status == psUnmatched || next.Status == psSwitchValue) {
    next.Status = psSwitchValue;
    next.ValueMark = true;
  } else {
    // An earlier declaration recognised that argument as a switch: it cannot be a value.
    entry.Status = psIncomplete;
    entry.SwitchMark = first;
  }
}

}  // namespace

void ClearFindParamRec(TFindParamRec& rec) {
  rec.Reserved = rec.Found = rec.Attached = false;
  rec.Index = rec.ParamIndex = -1;
  rec.Text.clear();
  rec.Value1.clear();
  rec.Value2.clear();
}

bool MayBeSwitch(std::string_view arg) {
  // Every form begins with '/', '-' or, given bare symbols, a symbol character; where the
  // comparison is not byte by byte the platform may equate other bytes, so nothing is ruled out.
  if (!platform::CaseFoldingIsBytewise()) return true;
  if (arg.empty()) return false;
  if (arg[0] == '/' || arg[0] == '-') return true;
  return (SwitchStyle == ssBareSymbols || SwitchStyle == ssBareAndAttached) &&
         SymbolSwitchChars.find(arg[0]) != std::string_view::npos;
}

TStringArray AliasWords(std::string_view aliases) {
  TStringArray words;
  ForEachWord(aliases, AliasDelimiters, [&](std::string_view word) {
    words.emplace_back(word);
    return false;
  });
  return words;
}

void ResolveSearchRange(TSearchKind kind, std::int32_t position, std::int32_t& first_index,
                        std::int32_t& last_index) {
  switch (kind) {
    case skFrom:
      first_index = position;
      last_index = -1;
      return;
    case skUpTo:
      first_index = -1;
      last_index = position;
      return;
  }
  // No other kind is defined; the whole command line is the safe reading.
  first_index = -1;
  last_index = -1;
}

namespace {

// MatchSwitchArg's work, written straight into `match`, which must not hold `arg`: the table
// search calls it for every candidate argument and word.
bool MatchForm(std::string_view alias, std::string_view arg, TFindParamRec& match) {
  ClearFindParamRec(match);
  bool result = false;
  const bool attached_allowed = AllowsAttached(SwitchStyle);
  const TPrefixes prefixes = PrefixesOf(alias, SwitchStyle);
  for (std::size_t p = 0; p < prefixes.Count; ++p) {
    const std::string_view prefix = prefixes.Items[p];
    if (EqualsForm(arg, prefix, alias)) {
      result = true;
      match.Found = true;
      match.Text = arg;
      continue;
    }
    if (!attached_allowed || result) continue;
    const std::size_t length = prefix.size() + alias.size() + 1;
    if (arg.size() >= length && (arg[length - 1] == ':' || arg[length - 1] == '=') &&
        EqualsForm(arg.substr(0, length - 1), prefix, alias)) {
      match.Text = arg.substr(0, length - 1);
      match.Value1 = arg.substr(length, MaxAttachedValue);
      match.Attached = true;
      result = true;
      break;
    }
  }
  return result;
}

}  // namespace

bool MatchSwitchArg(std::string_view alias, std::string_view arg, TFindParamRec& match) {
  // Built apart and moved in at the end: `arg` may be a view of one of match's own texts.
  TFindParamRec answer;
  const bool result = MatchForm(alias, arg, answer);
  match = std::move(answer);
  return result;
}

bool SwitchMatches(std::string_view alias, std::string_view arg) {
  const TPrefixes prefixes = PrefixesOf(alias, SwitchStyle);
  for (std::size_t p = 0; p < prefixes.Count; ++p) {
    if (EqualsForm(arg, prefixes.Items[p], alias)) return true;
  }
  return false;
}

namespace {

// FindParam's search: marks `table` and fills `rec` for every occurrence in the range.
void SearchTable(TFindParamRec& rec, TParamStatusArray& table, const TStringArray& words,
                 std::int32_t last_index, std::int32_t first_index, std::int32_t value_count,
                 TParamFlags flags) {
  const std::int32_t high = LastPosition(table);
  if (last_index == -1 || last_index > high) last_index = high;
  if (first_index < 0) first_index = 0;
  if (last_index < first_index) return;

  const bool first_required = (flags & (pfNoBlankValues | pfNoBlankFirstValue)) != 0;
  const bool second_required = (flags & pfNoBlankValues) != 0;
  TFindParamRec match;
  // Examines one position; true when the search ends there.
  const auto examine = [&](std::int32_t h) {
    TParamStatusRec& entry = table[static_cast<std::size_t>(h)];
    for (const std::string& word : words) {
      if (!MatchForm(word, entry.Param, match)) continue;
      entry.Status = psSwitch;
      entry.SwitchMark = true;
      rec.Text = entry.Param;
      rec.Index = h;
      rec.ParamIndex = h + 1;
      rec.Found = true;
      if (match.Attached) {
        rec.Text = match.Text;
        rec.Value1 = match.Value1;
        rec.Attached = true;
        if (!first_required || !rec.Value1.empty()) {
          entry.Status = psAttachedSwitch;
          entry.SwitchMark = entry.ValueMark = entry.AttachMark = true;
          entry.SpareMark = false;
          break;
        }
        // A blank attached value that is required leaves the next argument to be the value.
        entry.Status = psIncomplete;
        entry.SwitchMark = true;
        entry.ValueMark = false;
        entry.AttachMark = true;
      }
      if (value_count >= 1) {
        if (h < high) {
          TakeValue(rec, table, h, 1, first_required);
          if (value_count == 2) {
            if (h + 1 < high) {
              TakeValue(rec, table, h, 2, second_required);
            } else {
              rec.Value2.clear();
              if (second_required) MarkValueMissing(rec, entry);
            }
          }
        } else {
          rec.Value1.clear();
          if (first_required) MarkValueMissing(rec, entry);
        }
      }
      if (RecordFindHistory) FindHistory.push_back(rec);
    }
    return (flags & pfFindAll) == 0 && rec.Index != -1;
  };
  if (const std::vector<std::int32_t>* candidates = CandidatePositions(table, words)) {
    // Positions outside the index match no word, so skipping them changes nothing.
    auto h = std::lower_bound(candidates->begin(), candidates->end(), first_index);
    for (; h != candidates->end() && *h <= last_index; ++h) {
      if (examine(*h)) return;
    }
    return;
  }
  for (std::int32_t h = first_index; h <= last_index; ++h) {
    if (examine(h)) return;
  }
}

}  // namespace

void FindParam(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
               std::int32_t last_index, std::int32_t first_index, std::int32_t value_count,
               TParamFlags flags, std::string_view default1, std::string_view default2) {
  // The answer is built apart and moved in at the end: the defaults and the alias list may be
  // views of the caller's own record.
  TFindParamRec answer;
  answer.Value1 = default1;
  answer.Value2 = default2;
  TAliasEntry& entry = AliasEntry(aliases);
  NoteDeclared(entry);
  SearchTable(answer, table, entry.Words, last_index, first_index, value_count, flags);
  rec = std::move(answer);
}

void FindParamFlag(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                   TParamFlags flags, std::int32_t position, TSearchKind kind) {
  std::int32_t first = 0, last = 0;
  ResolveSearchRange(kind, position, first, last);
  FindParam(rec, table, aliases, last, first, 0, flags, {}, {});
}

void FindParamBool(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                   bool& found_flag, std::int32_t position, TSearchKind kind) {
  std::int32_t first = 0, last = 0;
  ResolveSearchRange(kind, position, first, last);
  FindParam(rec, table, aliases, last, first, 1, 0, {}, {});
  found_flag = rec.Found;
}

void FindParamValue(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                    std::string& value, TParamFlags flags, std::int32_t position,
                    TSearchKind kind) {
  if ((flags & pfKeepDefault) == 0) value.clear();
  std::int32_t first = 0, last = 0;
  ResolveSearchRange(kind, position, first, last);
  FindParam(rec, table, aliases, last, first, 1, flags, value, {});
  value = rec.Value1;
}

void MatchParamAt(TFindParamRec& rec, std::string_view arg, std::string_view aliases,
                  std::string_view next_arg, std::int32_t value_count, TParamFlags flags) {
  TAliasEntry& entry = AliasEntry(aliases);
  NoteDeclared(entry);
  if (!MayBeSwitch(arg)) {
    ClearFindParamRec(rec);
    return;
  }
  TFindParamRec answer;  // `arg` and `next_arg` may be views of rec's own texts
  const bool first_required = (flags & (pfNoBlankValues | pfNoBlankFirstValue)) != 0;
  for (const std::string& word : entry.Words) {
    if (!SwitchMatches(word, arg)) continue;
    answer.Text = arg;
    answer.Index = 0;
    answer.ParamIndex = 0;
    answer.Found = true;
    if (value_count == 1) {
      if (first_required && next_arg.empty()) {
        answer.Found = false;
      } else {
        answer.Value1 = next_arg;
      }
    }
    break;
  }
  rec = std::move(answer);
}

void BuildSwitchForms(std::string& forms, std::string_view aliases, TSwitchStyle style) {
  forms.clear();
  static constexpr std::array<std::string_view, 3> all_suffixes = {"", ":", "="};
  const std::size_t suffix_count = AllowsAttached(style) ? 3 : 1;
  ForEachWord(aliases, AliasDelimiters, [&](std::string_view word) {
    const TPrefixes prefixes = PrefixesOf(word, style);
    for (std::size_t s = 0; s < suffix_count; ++s) {
      for (std::size_t p = 0; p < prefixes.Count; ++p) {
        std::string form(prefixes.Items[p]);
        form.append(word).append(all_suffixes[s]).push_back(' ');
        if (forms.find(form) == std::string::npos) forms += form;
      }
    }
    return false;
  });
}

bool WordNotInList(std::string_view word, std::string_view list) {
  std::string needle = " ";
  needle.append(word).push_back(' ');
  std::string haystack = " ";
  haystack.append(list).push_back(' ');
  return haystack.find(needle) == std::string::npos;
}

void AddDeclaredSwitches(std::string& list, std::string_view aliases) {
  if (!aliases.empty()) {
    for (const std::string& piece : SplitQuoted(AsciiUpper(aliases))) {
      if (WordNotInList(piece, list)) {
        list.push_back(' ');
        list += piece;
      }
    }
  }
  const std::string_view trimmed = TrimControls(list);
  if (trimmed.size() != list.size()) list = std::string(trimmed);
}

TParamStatusArray NewParamStatusArray(std::int32_t count) {
  return TParamStatusArray(static_cast<std::size_t>(std::max<std::int32_t>(count, 0)));
}

TParamRecArray NewParamRecArray(std::int32_t count) {
  return TParamRecArray(static_cast<std::size_t>(std::max<std::int32_t>(count, 0)));
}

TParamStatusArray BuildParamStatus() {
  TParamStatusArray table(CommandArguments.size());
  for (std::size_t i = 0; i < table.size(); ++i) table[i].Param = CommandArguments[i];
  return table;
}

}  // namespace core
