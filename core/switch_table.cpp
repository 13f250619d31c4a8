// SPDX-License-Identifier: MIT
// A tool's switch table: declared in order, walked for its occurrences, shown as option lines.
#include "core/switch_table.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/channels.h"
#include "core/params.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {

namespace {

// Whether the row takes the next argument as a required value: such rows are declared last.
bool TakesRequiredValue(const TSwitchRow& row) {
  return row.Rule == vrRequired || row.Rule == vrNonEmpty;
}

// The lookup that the row's value rule makes, with the switch it names (BlankWith) as declared
// by now.
detail::TLookupRule RuleOf(const TSwitchRow& row) {
  detail::TLookupRule rule;
  rule.FindAll = row.Repeats;
  rule.AttachedForms = row.Rule != vrNone && detail::AllowsAttachedValues(SwitchStyle);
  rule.Number = row.Number != nullptr;
  rule.Least = row.Range.Least;
  rule.Most = row.Range.Most;
  const bool blank = row.BlankWith != nullptr && row.BlankWith->Found;
  switch (row.Rule) {
    case vrNone:
    case vrIgnored:
      break;
    case vrAttached:
      rule.AttachedForms = rule.AttachedOnly = true;
      break;
    case vrOptional:
    case vrRequired:
    case vrNonEmpty:
      rule.ValueCount = 1;
      rule.First.Missing = row.Rule != vrOptional && !blank;
      // A number is never empty: an empty one is as good as missing.
      rule.First.Blank = (row.Rule == vrNonEmpty || rule.Number) && !blank;
      break;
  }
  return rule;
}

// Declares the row over positions `first` to `last` (-1: the last position).
void DeclareRow(const TSwitchRow& row, std::int32_t first, std::int32_t last) {
  const detail::TLookupRule rule = RuleOf(row);
  TFindParamRec rec;
  detail::Lookup(rec, ParamStatus, row.Aliases, last, first, rule, {}, {});
  if (row.Setting != nullptr) *row.Setting = rec.Found;
  if (row.Number != nullptr) {
    std::int64_t number = 0;
    const bool given =
        rec.Found && detail::ReadWholeNumber(rec.Value1, rule.Least, rule.Most, number);
    *row.Number = given ? number : row.Range.Default;
  }
  if (row.Record != nullptr) *row.Record = std::move(rec);
}

// Declares every row over the positions before `end` (-1: the whole line).
void DeclareEach(std::span<const TSwitchRow> rows, std::int32_t end) {
  // Before the first position, the range is empty.
  const std::int32_t first = end == 0 ? 1 : 0;
  const std::int32_t last = end < 0 ? -1 : std::max(end - 1, 0);
  for (const bool required : {false, true}) {
    for (const TSwitchRow& row : rows) {
      if (TakesRequiredValue(row) == required) DeclareRow(row, first, last);
    }
  }
}

// The first "--" that no declaration took, as a switch or a value; -1 where there is none.
std::int32_t EndOfSwitches() {
  for (std::size_t h = 0; h < ParamStatus.size(); ++h) {
    if (ParamStatus[h].Status == psUnmatched && ParamStatus[h].Param == "--") {
      return static_cast<std::int32_t>(h);
    }
  }
  return -1;
}

// Every argument unmatched again, as before the first declaration.
void ForgetDeclarations() {
  for (TParamStatusRec& entry : ParamStatus) {
    entry = TParamStatusRec{.Param = entry.Param};
  }
  detail::RefusedNumbers.clear();
  FindHistory.clear();
}

// Whether an argument that no switch took may be an operand: it cannot be a switch.
bool IsOperandShaped(std::string_view arg) {
  if (arg.empty() || arg == "-") return true;
  return arg[0] != '-' && (arg[0] != '/' || !SlashForms);
}

void MarkOperands(const TOperandsRec& operands, std::int32_t end) {
  // A value refused with its switch stays beside it, invalid, rather than become an operand.
  std::vector<bool> refused(ParamStatus.size() + 1);
  for (const detail::TRefusedNumber& number : detail::RefusedNumbers) {
    if (number.NextArgument) refused[static_cast<std::size_t>(number.Index) + 1] = true;
  }
  std::size_t count = 0;
  for (std::size_t h = 0; h < ParamStatus.size() && count < operands.Most; ++h) {
    TParamStatusRec& entry = ParamStatus[h];
    const auto at = static_cast<std::int32_t>(h);
    if (entry.Status != psUnmatched || at == end || refused[h]) continue;
    if ((end < 0 || at < end) && !IsOperandShaped(entry.Param)) continue;
    entry.Status = psOperand;
    ++count;
  }
}

}  // namespace

void DeclareRows(std::span<const TSwitchRow> rows, const TOperandsRec& operands) {
  if (operands.Most > 0) {
    for (const TSwitchRow& row : rows) {
      if (row.Rule != vrOptional) continue;
      throw std::invalid_argument(
          "an optional value taken from the next argument would swallow an operand: \"" +
          std::string(row.Aliases) + "\" may only take an attached one (vrAttached)");
    }
  }
  DeclareEach(rows, -1);
  if (operands.Most == 0) return;
  const std::int32_t end = EndOfSwitches();
  if (end >= 0) {
    // The switches end before it: what a declaration took beyond it is undone.
    ForgetDeclarations();
    DeclareEach(rows, end);
    TParamStatusRec& entry = ParamStatus[static_cast<std::size_t>(end)];
    entry.Status = psSwitch;
    entry.SwitchMark = true;
  }
  MarkOperands(operands, end);
}

std::vector<std::string_view> GetOperands() {
  std::vector<std::string_view> operands;
  for (const TParamStatusRec& entry : ParamStatus) {
    if (entry.Status == psOperand) operands.emplace_back(entry.Param);
  }
  return operands;
}

std::string EssentialList(std::span<const TSwitchRow> rows) {
  std::string list;
  for (const TSwitchRow& row : rows) {
    if (!row.Essential) continue;
    if (!list.empty()) list.push_back(' ');
    list.append(row.Aliases);
  }
  return list;
}

namespace detail {
namespace {

// Whether no alias word stands in two of `rows`, so that an argument that one row matches can
// be no other's. A word that holds a separator might be another's attached form, and a locale
// that folds case beyond ASCII might equate two words: then nothing is assumed.
bool WordsAreDisjoint(const std::vector<TWalkRow>& rows) {
  if (!platform::CaseFoldingIsBytewise()) return false;
  std::vector<std::pair<std::string_view, std::size_t>> words;
  bool separators = false;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    detail::ForEachAliasWord(rows[r].Row->Aliases, [&](std::string_view word) {
      separators =
          separators || word.find_first_of(detail::AttachSeparators) != std::string_view::npos;
      words.emplace_back(word, r);
      return false;
    });
  }
  if (separators) return false;
  for (std::size_t a = 0; a < words.size(); ++a) {
    for (std::size_t b = a + 1; b < words.size(); ++b) {
      if (words[a].second != words[b].second &&
          platform::EqualsAsciiNoCase(words[a].first, words[b].first)) {
        return false;
      }
    }
  }
  return true;
}

// The value of the occurrence that `match` found at `position`, under the row's rule; false
// where the rule makes it none (a value missing or blank that it needs, an empty attached one).
bool ValueOf(const TWalkRow& row, const detail::TFormMatch& match, std::size_t position,
             std::string_view& value) {
  const TParamStatusArray& table = ParamStatus;
  value = {};
  if (match.Attached) {
    value = match.ValuePart(table[position].Param);
    return !value.empty() || !(row.AttachedOnly || row.Blank);
  }
  if (!row.ValueNext) return true;
  if (position + 1 >= table.size()) return !row.Missing;
  value = table[position + 1].Param;
  return !value.empty() || !row.Blank;
}

}  // namespace

TOccurrenceWalk StartWalk(std::span<const TSwitchRow> rows) {
  TOccurrenceWalk walk;
  for (const TSwitchRow& row : rows) {
    if (row.Action == nullptr) continue;
    const TLookupRule rule = RuleOf(row);
    TWalkRow& added = walk.Rows.emplace_back(TWalkRow{
        &row, SearchFormsOf(row.Aliases, SwitchStyle), rule.AttachedForms, rule.AttachedOnly,
        rule.ValueCount > 0, rule.First.Missing, rule.First.Blank, !row.Repeats});
    walk.Bytewise = added.Forms.Bytewise;
    for (std::size_t b = 0; b < walk.First.size(); ++b) {
      walk.First[b] = walk.First[b] || added.Forms.First[b];
    }
    if (!rule.AttachedForms || added.Forms.Words.empty()) continue;
    const std::size_t shortest = added.Forms.Shortest + 1;
    if (!walk.AttachedForms || shortest < walk.ShortestAttached) walk.ShortestAttached = shortest;
    walk.AttachedForms = true;
  }
  walk.Disjoint = WordsAreDisjoint(walk.Rows);
  return walk;
}

bool NextOccurrence(TOccurrenceWalk& walk, TOccurrence& occurrence) {
  const TParamStatusArray& table = ParamStatus;
  for (; walk.Position < table.size(); ++walk.Position, walk.NextRow = 0) {
    const std::string_view arg = table[walk.Position].Param;
    if (walk.NextRow == 0) {
      // Most arguments of a long line are values: passed over at their first byte. An operand
      // is never a switch, whatever it looks like (after "--").
      walk.MayBeSwitch =
          table[walk.Position].Status != psOperand &&
          (!walk.Bytewise || (!arg.empty() && walk.First[static_cast<unsigned char>(arg[0])]));
      walk.Attachable = walk.MayBeSwitch && walk.AttachedForms &&
                        arg.size() >= walk.ShortestAttached &&
                        FindAttachSeparator(arg) != std::string_view::npos;
    }
    while (walk.MayBeSwitch && walk.NextRow < walk.Rows.size()) {
      TWalkRow& row = walk.Rows[walk.NextRow++];
      if (row.Once && row.Met) continue;
      const TFormMatch match = MatchAliases(row.Forms, arg, walk.Attachable && row.AttachedForms);
      if (!match.Found) continue;
      row.Met = true;
      if (walk.Disjoint) walk.NextRow = walk.Rows.size();
      std::string_view value;
      if (!ValueOf(row, match, walk.Position, value)) continue;
      occurrence.Row = row.Row;
      occurrence.Index = static_cast<std::int32_t>(walk.Position);
      occurrence.Text = match.SwitchPart(arg);
      occurrence.Value = value;
      occurrence.Attached = match.Attached;
      return true;
    }
  }
  return false;
}

}  // namespace detail

namespace {

// The forms an option line shows: "-c, --chars", word forms set in by the width of a letter's
// form when the row has no letter, so that the word forms of all lines line up.
std::string ShownForms(const TSwitchRow& row) {
  std::string forms(row.Shows);
  if (forms.empty()) {
    // Alias lists are written in capitals; the forms a user types are shown in lower case.
    detail::ForEachAliasWord(row.Aliases, [&](std::string_view word) {
      if (!forms.empty()) forms.append(", ");
      forms.append(detail::DashPrefixOf(word)).append(AsciiLower(word));
      return false;
    });
  }
  if (!forms.starts_with("-") || forms.starts_with("--")) forms.insert(0, "    ");
  if (row.ValueName.empty()) return forms;
  if (row.Rule == vrAttached) return forms.append("[=").append(row.ValueName).append("]");
  return forms.append(" ").append(row.ValueName);
}

}  // namespace

void ActOnOccurrences(std::span<const TSwitchRow> rows) {
  ForEachOccurrence(rows,
                    [](const TOccurrence& occurrence) { occurrence.Row->Action(occurrence); });
}

void WriteOptionLines(std::span<const TSwitchRow> rows) {
  std::vector<const TSwitchRow*> shown;
  std::vector<std::string> lefts;
  std::size_t width = 0;
  for (const TSwitchRow& row : rows) {
    if (row.Help.empty() || (row.VerboseOnly && !VerboseParam.Found)) continue;
    shown.push_back(&row);
    lefts.emplace_back(1, ' ').append(ShownForms(row));
    width = std::max(width, lefts.back().size());
  }
  // At least three dots lead from the longest forms to the text, as on a printed page.
  for (std::size_t i = 0; i < shown.size(); ++i) {
    std::string line = lefts[i];
    line.append(" ").append(width + 4 - lefts[i].size(), '.').append(" ").append(shown[i]->Help);
    WriteLine(OutputChannel, line);
  }
}

}  // namespace core
