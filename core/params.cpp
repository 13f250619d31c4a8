// SPDX-License-Identifier: MIT
// The parameter engine: switch forms, lookups that mark the argument table, declared words.
#include "core/params.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "core/library.h"
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

struct TPrefixes {
  std::array<std::string_view, 3> items;
  std::size_t count;
};

// The prefixes of one alias word, in the order in which its forms are tried.
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

bool AllowsAttached(TSwitchStyle style) {
  return style == ssAttachedValues || style == ssBareAndAttached;
}

// Form texts are built in one reused buffer: the per-position lookup runs for every argument.
std::string& FormBuffer() {
  static std::string buffer;
  return buffer;
}

// AddDeclaredSwitches on DeclaredSwitches is a no-op for alias lists merged since the list last
// changed; remembering them keeps the per-position lookup from rescanning the list.
void NoteDeclared(std::string_view aliases) {
  static std::string snapshot;
  static TStringArray merged;
  if (DeclaredSwitches == snapshot &&
      std::find(merged.begin(), merged.end(), aliases) != merged.end()) {
    return;
  }
  AddDeclaredSwitches(DeclaredSwitches, aliases);
  if (DeclaredSwitches != snapshot) {
    snapshot = DeclaredSwitches;
    merged.clear();
  }
  merged.emplace_back(aliases);
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

bool MatchSwitchArg(std::string_view alias, std::string_view arg, TFindParamRec& match) {
  // Built apart and moved in at the end: `arg` may be a view of one of match's own texts.
  TFindParamRec answer;
  bool result = false;
  const bool attached_allowed = AllowsAttached(SwitchStyle);
  const TPrefixes prefixes = PrefixesOf(alias, SwitchStyle);
  std::string& form = FormBuffer();
  for (std::size_t p = 0; p < prefixes.count; ++p) {
    form.assign(prefixes.items[p]);
    form.append(alias);
    if (platform::EqualsNoCase(arg, form)) {
      result = true;
      answer.Found = true;
      answer.Text = arg;
      continue;
    }
    if (!attached_allowed || result) continue;
    const std::size_t length = form.size() + 1;
    if (arg.size() >= length && (arg[length - 1] == ':' || arg[length - 1] == '=') &&
        platform::EqualsNoCase(arg.substr(0, length - 1), form)) {
      answer.Text = arg.substr(0, length - 1);
      answer.Value1 = arg.substr(length, MaxAttachedValue);
      answer.Attached = true;
      result = true;
      break;
    }
  }
  match = std::move(answer);
  return result;
}

bool SwitchMatches(std::string_view alias, std::string_view arg) {
  const TPrefixes prefixes = PrefixesOf(alias, SwitchStyle);
  for (std::size_t p = 0; p < prefixes.count; ++p) {
    const std::string_view prefix = prefixes.items[p];
    if (arg.size() != prefix.size() + alias.size()) continue;
    std::string& form = FormBuffer();
    form.assign(prefix);
    form.append(alias);
    if (platform::EqualsNoCase(arg, form)) return true;
  }
  return false;
}

namespace {

// FindParam's search: marks `table` and fills `rec` for every occurrence in the range.
void SearchTable(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                 std::int32_t last_index, std::int32_t first_index, std::int32_t value_count,
                 TParamFlags flags) {
  const std::int32_t high = LastPosition(table);
  if (last_index == -1 || last_index > high) last_index = high;
  if (first_index < 0) first_index = 0;
  if (last_index < first_index) return;

  const bool first_required = (flags & (pfNoBlankValues | pfNoBlankFirstValue)) != 0;
  const bool second_required = (flags & pfNoBlankValues) != 0;
  const TStringArray words = AliasWords(aliases);
  TFindParamRec match;
  for (std::int32_t h = first_index; h <= last_index; ++h) {
    TParamStatusRec& entry = table[static_cast<std::size_t>(h)];
    for (const std::string& word : words) {
      if (!MatchSwitchArg(word, entry.Param, match)) continue;
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
    if ((flags & pfFindAll) == 0 && rec.Index != -1) return;
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
  NoteDeclared(aliases);
  SearchTable(answer, table, aliases, last_index, first_index, value_count, flags);
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
  NoteDeclared(aliases);
  TFindParamRec answer;  // `arg` and `next_arg` may be views of rec's own texts
  const bool first_required = (flags & (pfNoBlankValues | pfNoBlankFirstValue)) != 0;
  ForEachWord(aliases, AliasDelimiters, [&](std::string_view word) {
    if (!SwitchMatches(word, arg)) return false;
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
    return true;
  });
  rec = std::move(answer);
}

void BuildSwitchForms(std::string& forms, std::string_view aliases, TSwitchStyle style) {
  forms.clear();
  static constexpr std::array<std::string_view, 3> all_suffixes = {"", ":", "="};
  const std::size_t suffix_count = AllowsAttached(style) ? 3 : 1;
  ForEachWord(aliases, AliasDelimiters, [&](std::string_view word) {
    const TPrefixes prefixes = PrefixesOf(word, style);
    for (std::size_t s = 0; s < suffix_count; ++s) {
      for (std::size_t p = 0; p < prefixes.count; ++p) {
        std::string form(prefixes.items[p]);
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
