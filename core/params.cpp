// SPDX-License-Identifier: MIT
// The parameter engine: switch forms, lookups that mark the argument table, declared words.
#include "core/params.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "core/settings.h"
#include "core/text.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {
// Defined bare: ResetParamEngine alone gives them their starting values.
TStringArray detail::ArgumentTexts;
TParamStatusArray ParamStatus;
TParamRecArray FindHistory;
std::string DeclaredSwitches;
std::vector<detail::TRefusedNumber> detail::RefusedNumbers;
TFindParamRec DebugModeParam, SpareParam, ErrorDelayParam, AudibleErrorParam, HelpParam,
    VerboseParam, VersionOnlyParam, BannerParam, InfoParam;
TSwitchStyle SwitchStyle;
bool RequireDoubleDash;
bool SlashForms;
bool RecordFindHistory;
TParamFlags ParamFlags;

namespace {

// The engine's settings, each with its starting value: the one list that the reset and the
// frame's check before a run read.
const auto Settings = [](auto visit) {
  visit("SwitchStyle", SwitchStyle, ssPlain);
  visit("RequireDoubleDash", RequireDoubleDash, true);
  visit("SlashForms", SlashForms, true);
  visit("RecordFindHistory", RecordFindHistory, false);
  visit("ParamFlags", ParamFlags, TParamFlags{});
};
// Before the first run too, so that the frame can tell a setting that a tool made before it.
[[maybe_unused]] const bool SettingsAtStart = (detail::RestoreSettings(Settings), true);

}  // namespace

void detail::NameChangedParamSettings(std::vector<std::string_view>& names) {
  NameChangedSettings(Settings, names);
}

void detail::ResetParamEngine() {
  // Fresh containers, not cleared ones: a cleared one would keep its memory.
  ParamStatus = TParamStatusArray();
  detail::ArgumentTexts = TStringArray();
  FindHistory = TParamRecArray();
  detail::RestoreSettings(Settings);
  DeclaredSwitches = std::string();
  detail::RefusedNumbers = std::vector<detail::TRefusedNumber>();
  for (TFindParamRec* rec :
       {&DebugModeParam, &SpareParam, &ErrorDelayParam, &AudibleErrorParam, &HelpParam,
        &VerboseParam, &VersionOnlyParam, &BannerParam, &InfoParam}) {
    *rec = TFindParamRec();
  }
}

namespace {

// Whether `text` is the form `prefix` + `alias`. Where the platform compares byte by byte the
// form is never built: the per-position lookup runs for every argument.
bool EqualsForm(std::string_view text, std::string_view prefix, std::string_view alias) {
  if (platform::CaseFoldingIsBytewise()) {
    if (text.size() != prefix.size() + alias.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      if (text[i] != prefix[i]) return false;
    }
    return platform::EqualsNoCase(text.substr(prefix.size()), alias);
  }
  std::string form(prefix);
  form.append(alias);
  return platform::EqualsNoCase(text, form);
}

std::int32_t LastPosition(const TParamStatusArray& table) {
  constexpr std::size_t most = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(table.size(), most)) - 1;
}

// An answer while a search builds it: its texts are views of the table, made strings once at the
// end, so that a switch met at every other argument copies its texts once, not each time.
struct TAnswer {
  bool Found = false;
  bool Attached = false;
  std::int32_t Index = -1;
  std::string_view Text, Value1, Value2;

  TFindParamRec Record() const {
    TFindParamRec rec;
    rec.Found = Found;
    rec.Attached = Attached;
    rec.Index = Index;
    rec.ParamIndex = Index == -1 ? -1 : Index + 1;
    rec.Text = Text;
    rec.Value1 = Value1;
    rec.Value2 = Value2;
    return rec;
  }
};

// The one way a switch becomes incomplete, for `why` its value fails. The first value leaves
// SwitchMark set and the second clears it, but a value missing at the end of the line leaves it
// set for either. A value that is missing or blank clears the value marks and the answer's
// Found; a blank attached value keeps its attach mark, and an argument taken already keeps
// everything but the status.
void MarkIncomplete(TAnswer& rec, TParamStatusRec& entry, detail::TValueFault why, bool first) {
  entry.Status = psIncomplete;
  entry.SwitchMark = first || why == detail::vfMissing || why == detail::vfAttachedBlank;
  if (why == detail::vfTaken) return;
  entry.ValueMark = false;
  entry.AttachMark = why == detail::vfAttachedBlank;
  if (why != detail::vfAttachedBlank) rec.Found = false;
}

// An occurrence whose value the rule refuses (a bad number, an empty value where one may only
// be attached): its switch is left unmatched, for the judgement to list as invalid, and the
// argument after it stays as it was.
void Refuse(TAnswer& rec, TParamStatusRec& entry, std::int32_t h, std::size_t length,
            bool next_argument, const detail::TLookupRule& rule) {
  entry.Status = psUnmatched;
  entry.SwitchMark = entry.ValueMark = entry.AttachMark = false;
  rec.Found = false;
  if (rule.Number)
    detail::RefusedNumbers.push_back({h, length, next_argument, rule.Least, rule.Most});
}

// Whether `value`, taken for the switch, is one the rule accepts.
bool Acceptable(std::string_view value, const detail::TLookupRule& rule) {
  std::int64_t number = 0;
  return !rule.Number || detail::ReadWholeNumber(value, rule.Least, rule.Most, number);
}

// Takes the argument after `h` (h + `offset`) as a value; the outcomes mark the switch's own
// entry, with SwitchMark as the first and the second value differ in it.
void TakeValue(TAnswer& rec, TParamStatusArray& table, std::int32_t h, std::int32_t offset,
               const detail::TLookupRule& rule) {
  TParamStatusRec& entry = table[static_cast<std::size_t>(h)];
  TParamStatusRec& next = table[static_cast<std::size_t>(h + offset)];
  const bool first = offset == 1;
  std::string_view& value = first ? rec.Value1 : rec.Value2;
  value = next.Param;
  if (value.empty() && (first ? rule.First : rule.Second).Blank) {
    MarkIncomplete(rec, entry, detail::vfBlank, first);
  } else if (next.Status != psUnmatched && next.Status != psSwitchValue) {
    // An earlier declaration recognised that argument as a switch: it cannot be a value.
    MarkIncomplete(rec, entry, detail::vfTaken, first);
  } else if (!Acceptable(value, rule)) {
    // A switch incomplete already (a blank attached value) stays so: 67 wins over 65.
    if (entry.Status == psIncomplete) return;
    Refuse(rec, entry, h, entry.Param.size(), true, rule);
  } else {
    next.Status = psSwitchValue;
    next.ValueMark = true;
  }
}

}  // namespace

void detail::ClearFindParamRec(TFindParamRec& rec) {
  rec.Reserved = rec.Found = rec.Attached = false;
  rec.Index = rec.ParamIndex = -1;
  rec.Text.clear();
  rec.Value1.clear();
  rec.Value2.clear();
}

TStringArray detail::AliasWords(std::string_view aliases) {
  TStringArray words;
  detail::ForEachAliasWord(aliases, [&](std::string_view word) {
    words.emplace_back(word);
    return false;
  });
  return words;
}

void detail::StartParamEngine(TStringArray&& arguments, std::span<char* const> argv) {
  detail::ResetParamEngine();
  // The table holds views, not copies: of main's argv, which lasts as long as the process, or of
  // the run's own texts, kept here. A long line is held once.
  if (argv.empty()) {
    detail::ArgumentTexts = std::move(arguments);
    ParamStatus.reserve(detail::ArgumentTexts.size());
    for (const std::string& arg : detail::ArgumentTexts) ParamStatus.push_back({.Param = arg});
  } else {
    ParamStatus.reserve(argv.size());
    for (const char* arg : argv) ParamStatus.push_back({.Param = arg});
  }
  FindHistory = NewParamRecArray(0);
}

detail::TPrefixes detail::PrefixesOf(std::string_view word, TSwitchStyle style) {
  detail::TPrefixes prefixes{};
  const auto add = [&prefixes](std::string_view prefix) {
    prefixes.Items[prefixes.Count++] = prefix;
  };
  if (word.size() == 1) {
    if (detail::AllowsBareSymbols(style) &&
        SymbolSwitchChars.find(word.front()) != std::string_view::npos) {
      add("");
    }
    if (SlashForms) add("/");
    add("-");
  } else {
    if (SlashForms) add("/");
    if (!RequireDoubleDash) add("-");
    add("--");
  }
  return prefixes;
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

detail::TFormEnd FormEndOf(std::string_view prefix, std::string_view word) {
  return {prefix.size() + word.size(), platform::AsciiLower(word.back())};
}

bool MayEndAs(std::string_view arg, const detail::TFormEnd& end) {
  return arg.size() >= end.Length && platform::AsciiLower(arg[end.Length - 1]) == end.Last;
}

}  // namespace

// The forms are tried in their order: once one equals `arg`, only equality is looked for; the
// first that `arg` begins with, followed by ':' or '=', ends the search.
detail::TFormMatch detail::MatchForms(std::string_view alias, const detail::TPrefixes& prefixes,
                                      std::string_view arg, bool attached_allowed) {
  detail::TFormMatch match;
  const bool bytewise = platform::CaseFoldingIsBytewise();
  for (std::size_t p = 0; p < prefixes.Count; ++p) {
    const std::string_view prefix = prefixes.Items[p];
    if (bytewise && !alias.empty() && !MayEndAs(arg, FormEndOf(prefix, alias))) continue;
    if (EqualsForm(arg, prefix, alias)) {
      match = {true, false, arg.size()};
      continue;
    }
    if (!attached_allowed || match.Found) continue;
    const std::size_t length = prefix.size() + alias.size();
    if (arg.size() > length && detail::IsAttachSeparator(arg[length]) &&
        EqualsForm(arg.substr(0, length), prefix, alias)) {
      return {true, true, length};
    }
  }
  return match;
}

bool MatchSwitchArg(std::string_view alias, std::string_view arg, TFindParamRec& match) {
  // Built apart and moved in at the end: `arg` may be a view of one of match's own texts.
  TFindParamRec answer;
  const detail::TFormMatch form =
      detail::MatchForms(alias, detail::PrefixesOf(alias, SwitchStyle), arg,
                         detail::AllowsAttachedValues(SwitchStyle));
  if (form.Attached) {
    // The whole value: a user's text is never cut.
    answer.Text = form.SwitchPart(arg);
    answer.Value1 = form.ValuePart(arg);
    answer.Attached = true;
  } else if (form.Found) {
    answer.Found = true;
    answer.Text = arg;
  }
  match = std::move(answer);
  return form.Found;
}

bool detail::ReadWholeNumber(std::string_view text, std::int64_t least, std::int64_t most,
                             std::int64_t& number) {
  if (text.empty()) return false;
  std::int64_t read = 0;
  bool beyond = false;  // past `most`: the rest can only make it larger, and is not added
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    const int digit = c - '0';
    beyond = beyond || most < digit || read > (most - digit) / 10;
    if (!beyond) read = read * 10 + digit;
  }
  if (beyond || read < least) return false;
  number = read;
  return true;
}

bool SwitchMatches(std::string_view alias, std::string_view arg) {
  return detail::MatchForms(alias, detail::PrefixesOf(alias, SwitchStyle), arg, false).Found;
}

detail::TSearchForms detail::SearchFormsOf(std::string_view aliases, TSwitchStyle style) {
  TSearchForms forms;
  forms.Bytewise = platform::CaseFoldingIsBytewise();
  // Made for every declaration: most lists have a word or two, whose forms fit at once.
  forms.Words.reserve(4);
  forms.Ends.reserve(8);
  ForEachAliasWord(aliases, [&](std::string_view word) {
    const TPrefixes& prefixes =
        forms.Words.emplace_back(TSearchForms::TWord{word, PrefixesOf(word, style)}).Prefixes;
    for (std::size_t p = 0; p < prefixes.Count; ++p) {
      // A form begins with its prefix, or, bare, with the word itself.
      const char first = prefixes.Items[p].empty() ? word[0] : prefixes.Items[p][0];
      forms.First[static_cast<unsigned char>(platform::AsciiLower(first))] = true;
      forms.First[static_cast<unsigned char>(platform::AsciiUpper(first))] = true;
      // Each distinct end once, shortest first.
      const TFormEnd end = FormEndOf(prefixes.Items[p], word);
      auto at = forms.Ends.begin();
      while (at != forms.Ends.end() && at->Length < end.Length) ++at;
      if (std::find(at, forms.Ends.end(), end) == forms.Ends.end()) forms.Ends.insert(at, end);
    }
    return false;
  });
  if (!forms.Ends.empty()) forms.Shortest = forms.Ends.front().Length;
  return forms;
}

bool detail::MayMatch(const TSearchForms& forms, std::string_view arg) {
  if (!forms.Bytewise) return true;
  if (arg.empty() || arg.size() < forms.Shortest ||
      !forms.First[static_cast<unsigned char>(arg[0])]) {
    return false;
  }
  return std::any_of(forms.Ends.begin(), forms.Ends.end(),
                     [&](const TFormEnd& end) { return MayEndAs(arg, end); });
}

detail::TFormMatch detail::MatchAliases(const TSearchForms& forms, std::string_view arg,
                                        bool attached_allowed) {
  for (const TSearchForms::TWord& word : forms.Words) {
    const TFormMatch match = MatchForms(word.Text, word.Prefixes, arg, attached_allowed);
    if (match.Found) return match;
  }
  return {};
}

namespace {

// What became of a switch found at one position, so far.
enum TMarked : std::uint8_t {
  mkTakesValues,  // it stands alone, and takes its values from the arguments after it
  mkDone,         // it carried an attached value that stands, or one the rule refused
};

// Marks the switch found at `h` and answers for it.
TMarked MarkSwitch(TAnswer& rec, TParamStatusRec& entry, std::int32_t h,
                   const detail::TFormMatch& match, const detail::TLookupRule& rule) {
  entry.Status = psSwitch;
  entry.SwitchMark = true;
  rec.Index = h;
  rec.Found = true;
  if (!match.Attached) {
    rec.Text = entry.Param;
    return mkTakesValues;
  }
  rec.Text = match.SwitchPart(entry.Param);
  rec.Value1 = match.ValuePart(entry.Param);
  rec.Attached = true;
  if (rec.Value1.empty() && rule.AttachedOnly) {
    Refuse(rec, entry, h, match.Length, false, rule);
    return mkDone;
  }
  if (rec.Value1.empty() && rule.First.Blank) {
    // A blank attached value that is required leaves the next argument to be the value.
    MarkIncomplete(rec, entry, detail::vfAttachedBlank, true);
    return mkTakesValues;
  }
  if (!Acceptable(rec.Value1, rule)) {
    Refuse(rec, entry, h, match.Length, false, rule);
    return mkDone;
  }
  entry.Status = psAttachedSwitch;
  entry.SwitchMark = entry.ValueMark = entry.AttachMark = true;
  entry.SpareMark = false;
  return mkDone;
}

// Takes up to the rule's count of arguments after the switch at `h` as its values.
void TakeFollowingValues(TAnswer& rec, TParamStatusArray& table, std::int32_t h,
                         const detail::TLookupRule& rule) {
  if (rule.ValueCount < 1) return;
  const std::int32_t high = LastPosition(table);
  TParamStatusRec& entry = table[static_cast<std::size_t>(h)];
  if (h == high) {
    rec.Value1 = {};
    if (rule.First.Missing) MarkIncomplete(rec, entry, detail::vfMissing, true);
    return;
  }
  TakeValue(rec, table, h, 1, rule);
  if (rule.ValueCount != 2) return;
  if (h + 1 < high) {
    TakeValue(rec, table, h, 2, rule);
  } else {
    rec.Value2 = {};
    if (rule.Second.Missing) MarkIncomplete(rec, entry, detail::vfMissing, false);
  }
}

// Looks for the words at position `h`; a match marks the table and answers in `rec`.
void ExaminePosition(TAnswer& rec, TParamStatusArray& table, std::int32_t h,
                     const detail::TSearchForms& forms, const detail::TLookupRule& rule) {
  TParamStatusRec& entry = table[static_cast<std::size_t>(h)];
  const detail::TFormMatch match = detail::MatchAliases(forms, entry.Param, rule.AttachedForms);
  if (!match.Found || MarkSwitch(rec, entry, h, match, rule) == mkDone) return;
  TakeFollowingValues(rec, table, h, rule);
  if (RecordFindHistory) FindHistory.push_back(rec.Record());
}

// Over a long range, compared byte by byte, each argument is tested in a loop of its own with
// nothing called, and one shorter than a form is past that form's end at once. On a short line
// the loop costs more than it saves.
constexpr std::int32_t QuickScanFrom = 64;

// The first position from `h` to `last` whose argument may be a form, or `last` + 1. Setting
// 0x20 in both bytes equates more than the ASCII case does, never less: a few arguments more
// reach the exact comparison, none fewer.
std::int32_t NextCandidate(const TParamStatusArray& table, std::int32_t h, std::int32_t last,
                           const detail::TSearchForms& forms) {
  for (; h <= last; ++h) {
    const std::string_view arg = table[static_cast<std::size_t>(h)].Param;
    const std::size_t size = arg.size();
    if (size == 0 || size < forms.Shortest || !forms.First[static_cast<unsigned char>(arg[0])]) {
      continue;
    }
    for (const detail::TFormEnd& end : forms.Ends) {
      if (end.Length > size) break;
      if ((arg[end.Length - 1] | 0x20) == (end.Last | 0x20)) return h;
    }
  }
  return h;
}

// The search: marks `table` and fills `rec` for every occurrence in the range, or for the first
// only unless the rule finds all.
void SearchTable(TAnswer& rec, TParamStatusArray& table, const detail::TSearchForms& forms,
                 std::int32_t last_index, std::int32_t first_index,
                 const detail::TLookupRule& rule) {
  const std::int32_t high = LastPosition(table);
  if (last_index == -1 || last_index > high) last_index = high;
  if (first_index < 0) first_index = 0;
  if (forms.Bytewise && last_index - first_index >= QuickScanFrom) {
    for (std::int32_t h = NextCandidate(table, first_index, last_index, forms); h <= last_index;
         h = NextCandidate(table, h + 1, last_index, forms)) {
      ExaminePosition(rec, table, h, forms, rule);
      if (!rule.FindAll && rec.Index != -1) return;
    }
    return;
  }
  for (std::int32_t h = first_index; h <= last_index; ++h) {
    if (!detail::MayMatch(forms, table[static_cast<std::size_t>(h)].Param)) continue;
    ExaminePosition(rec, table, h, forms, rule);
    if (!rule.FindAll && rec.Index != -1) return;
  }
}

}  // namespace

detail::TLookupRule detail::LookupRuleOf(std::int32_t value_count, TParamFlags flags) {
  detail::TLookupRule rule;
  rule.ValueCount = value_count;
  rule.FindAll = static_cast<bool>(flags & pfFindAll);
  rule.AttachedForms = detail::AllowsAttachedValues(SwitchStyle);
  rule.First.Missing = rule.First.Blank = detail::FirstValueRequired(flags);
  rule.Second.Missing = rule.Second.Blank = detail::SecondValueRequired(flags);
  return rule;
}

void detail::Lookup(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                    std::int32_t last_index, std::int32_t first_index,
                    const detail::TLookupRule& rule, std::string_view default1,
                    std::string_view default2) {
  // The answer is built apart and moved in at the end: the defaults and the alias list may be
  // views of the caller's own record.
  TAnswer answer;
  answer.Value1 = default1;
  answer.Value2 = default2;
  AddDeclaredSwitches(DeclaredSwitches, aliases);
  SearchTable(answer, table, detail::SearchFormsOf(aliases, SwitchStyle), last_index, first_index,
              rule);
  rec = answer.Record();
}

void FindParam(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
               std::int32_t last_index, std::int32_t first_index, std::int32_t value_count,
               TParamFlags flags, std::string_view default1, std::string_view default2) {
  detail::Lookup(rec, table, aliases, last_index, first_index,
                 detail::LookupRuleOf(value_count, flags), default1, default2);
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
  FindParam(rec, table, aliases, last, first, 1, TParamFlags{}, {}, {});
  found_flag = rec.Found;
}

void FindParamValue(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                    std::string& value, TParamFlags flags, std::int32_t position,
                    TSearchKind kind) {
  if (!(flags & pfKeepDefault)) value.clear();
  std::int32_t first = 0, last = 0;
  ResolveSearchRange(kind, position, first, last);
  FindParam(rec, table, aliases, last, first, 1, flags, value, {});
  value = rec.Value1;
}

void MatchParamAt(TFindParamRec& rec, std::string_view arg, std::string_view aliases,
                  std::string_view next_arg, std::int32_t value_count, TParamFlags flags) {
  AddDeclaredSwitches(DeclaredSwitches, aliases);
  const detail::TSearchForms forms = detail::SearchFormsOf(aliases, SwitchStyle);
  const bool found = detail::MayMatch(forms, arg) && detail::MatchAliases(forms, arg, false).Found;
  if (!found) {
    detail::ClearFindParamRec(rec);
    return;
  }
  const bool takes_value =
      value_count == 1 && !(detail::FirstValueRequired(flags) && next_arg.empty());
  // Built apart and moved in at the end: `arg` and `next_arg` may be views of rec's own texts.
  TFindParamRec answer;
  answer.Text = arg;
  answer.Index = answer.ParamIndex = 0;
  answer.Found = value_count != 1 || takes_value;
  if (takes_value) answer.Value1 = next_arg;
  rec = std::move(answer);
}

void BuildSwitchForms(std::string& forms, std::string_view aliases, TSwitchStyle style) {
  forms.clear();
  // The bare form first, then one with each separator that an attached value may follow.
  const std::size_t suffix_count =
      detail::AllowsAttachedValues(style) ? 1 + detail::AttachSeparators.size() : 1;
  detail::ForEachAliasWord(aliases, [&](std::string_view word) {
    const detail::TPrefixes prefixes = detail::PrefixesOf(word, style);
    for (std::size_t s = 0; s < suffix_count; ++s) {
      const std::string_view suffix =
          s == 0 ? std::string_view() : detail::AttachSeparators.substr(s - 1, 1);
      for (std::size_t p = 0; p < prefixes.Count; ++p) {
        std::string form(prefixes.Items[p]);
        form.append(word).append(suffix).push_back(' ');
        if (forms.find(form) == std::string::npos) forms += form;
      }
    }
    return false;
  });
}

namespace {

// Whether a space, `word` and a space occur in a space, `list` and a space, with `fold` applied
// to the word's bytes; no text is built, so that merging words already declared costs nothing.
template <typename Fold>
bool ListHoldsWord(std::string_view list, std::string_view word, Fold fold) {
  for (std::size_t at = 0; at + word.size() <= list.size(); ++at) {
    const std::size_t end = at + word.size();
    if ((at > 0 && list[at - 1] != ' ') || (end < list.size() && list[end] != ' ')) continue;
    std::size_t i = 0;
    while (i < word.size() && list[at + i] == fold(word[i])) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

}  // namespace

bool WordNotInList(std::string_view word, std::string_view list) {
  return !ListHoldsWord(list, word, [](char c) { return c; });
}

void AddDeclaredSwitches(std::string& list, std::string_view aliases) {
  // Upper-casing moves no space and no quote: the pieces are cut from the aliases as they are.
  detail::ForEachQuotedPiece(aliases, [&](std::string_view piece) {
    if (ListHoldsWord(list, piece, platform::AsciiUpper)) return;
    list.push_back(' ');
    for (const char c : piece) list.push_back(platform::AsciiUpper(c));
  });
  const std::string_view trimmed = TrimSpaceAndControls(list);
  if (trimmed.size() != list.size()) list = std::string(trimmed);
}

TParamStatusArray NewParamStatusArray(std::int32_t count) {
  return TParamStatusArray(static_cast<std::size_t>(std::max<std::int32_t>(count, 0)));
}

TParamRecArray NewParamRecArray(std::int32_t count) {
  return TParamRecArray(static_cast<std::size_t>(std::max<std::int32_t>(count, 0)));
}

TParamStatusArray BuildParamStatus() {
  // Declarations never change an argument's text, so the table holds the arguments still.
  TParamStatusArray table(ParamStatus.size());
  for (std::size_t i = 0; i < table.size(); ++i) table[i].Param = ParamStatus[i].Param;
  return table;
}

}  // namespace core
