// SPDX-License-Identifier: MIT
// A tool's switch table: declared in order, walked for its occurrences, shown as option lines.
#include "core/switch_table.h"

#include <algorithm>
#include <utility>

#include "core/channels.h"
#include "core/internal.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {

TParamFlags RowFlags(const TSwitchRow& row) {
  TParamFlags flags;
  if (row.Kind == swValue) flags = ParamFlags;
  if (row.Kind == swValue && row.Required) flags |= pfNoBlankFirstValue;
  if (row.Kind != swBool && row.Repeats) flags |= pfFindAll;
  return flags;
}

void DeclareSwitches(std::span<const TSwitchRow> rows) {
  for (const TSwitchRow& row : rows) {
    TFindParamRec rec;
    bool found = false;
    switch (row.Kind) {
      case swFlag:
        FindParamFlag(rec, ParamStatus, row.Aliases, RowFlags(row), -1, skFrom);
        break;
      case swBool:
        FindParamBool(rec, ParamStatus, row.Aliases, found, -1, skFrom);
        break;
      case swValue: {
        std::string value;
        FindParamValue(rec, ParamStatus, row.Aliases, value, RowFlags(row), -1, skFrom);
        break;
      }
    }
    if (row.Setting != nullptr) *row.Setting = rec.Found;
    if (row.Record != nullptr) *row.Record = std::move(rec);
    if (row.Declared != nullptr) row.Declared();
  }
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
bool WordsAreDisjoint(const std::vector<const TSwitchRow*>& rows) {
  if (!platform::CaseFoldingIsBytewise()) return false;
  std::vector<std::pair<std::string_view, std::size_t>> words;
  bool separators = false;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ForEachAliasWord(rows[r]->Aliases, [&](std::string_view word) {
      separators = separators || word.find_first_of(AttachSeparators) != std::string_view::npos;
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

// How `arg` is a form of one of the row's words: exactly first, with an attached value only
// when no word matches it exactly.
TFormMatch MatchRow(const TSwitchRow& row, std::string_view arg, bool attachable) {
  const bool exact = ForEachAliasWord(
      row.Aliases, [&](std::string_view word) { return SwitchMatches(word, arg); });
  if (exact) return {true, false, arg.size()};
  TFormMatch attached;
  if (!attachable) return attached;
  ForEachAliasWord(row.Aliases, [&](std::string_view word) {
    attached = MatchForms(word, PrefixesOf(word, SwitchStyle), arg, true);
    return attached.Attached;
  });
  return attached.Attached ? attached : TFormMatch{};
}

}  // namespace

TOccurrenceWalk StartWalk(std::span<const TSwitchRow> rows,
                          std::span<const TFindParamRec* const> records) {
  TOccurrenceWalk walk;
  for (const TSwitchRow& row : rows) {
    if (row.Kind != swValue) continue;
    if (!records.empty() &&
        std::find(records.begin(), records.end(), row.Record) == records.end()) {
      continue;
    }
    walk.Rows.push_back(&row);
  }
  walk.Disjoint = WordsAreDisjoint(walk.Rows);
  return walk;
}

bool NextOccurrence(TOccurrenceWalk& walk, TOccurrence& occurrence) {
  const TParamStatusArray& table = ParamStatus;
  for (; walk.Position < table.size(); ++walk.Position, walk.NextRow = 0) {
    const std::string_view arg = table[walk.Position].Param;
    if (walk.NextRow == 0) {
      // Most arguments of a long line are values: passed over at their first byte.
      walk.MayBeSwitch = MayBeSwitch(arg);
      // A form and its separator take two bytes at least, three but for a bare symbol's.
      const std::size_t shortest = AllowsBareSymbols(SwitchStyle) ? 2 : 3;
      walk.Attachable = walk.MayBeSwitch && AllowsAttachedValues(SwitchStyle) &&
                        arg.size() >= shortest &&
                        FindAttachSeparator(arg) != std::string_view::npos;
    }
    while (walk.MayBeSwitch && walk.NextRow < walk.Rows.size()) {
      const TSwitchRow& row = *walk.Rows[walk.NextRow++];
      const TFormMatch match = MatchRow(row, arg, walk.Attachable);
      if (!match.Found) continue;
      if (walk.Disjoint) walk.NextRow = walk.Rows.size();
      std::string_view value;
      if (match.Attached) {
        value = arg.substr(match.Length + 1);
      } else if (walk.Position + 1 < table.size()) {
        value = table[walk.Position + 1].Param;
      }
      if (ValueMissing(RowFlags(row), value)) continue;
      occurrence.Row = &row;
      occurrence.Index = static_cast<std::int32_t>(walk.Position);
      occurrence.Text = arg.substr(0, match.Length);
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
  std::string forms;
  bool letter = false;
  // Alias lists are written in capitals; the forms shown are lower case, unless the row shows
  // words of its own, written as they are to be shown.
  const bool own = !row.Shows.empty();
  ForEachAliasWord(own ? row.Shows : row.Aliases, [&](std::string_view word) {
    letter = letter || (forms.empty() && word.size() == 1);
    if (!forms.empty()) forms.append(", ");
    forms.append(word.size() == 1 ? "-" : "--");
    for (const char c : word) forms.push_back(own ? c : platform::AsciiLower(c));
    return false;
  });
  if (!letter) forms.insert(0, "    ");
  if (!row.ValueName.empty()) forms.append(" ").append(row.ValueName);
  return forms;
}

}  // namespace

void WriteOptionLines(std::span<const TSwitchRow> rows) {
  std::vector<const TSwitchRow*> shown;
  for (const TSwitchRow& row : rows) {
    if (!row.Help.empty() && (!row.VerboseOnly || VerboseParam.Found)) shown.push_back(&row);
  }
  std::stable_sort(shown.begin(), shown.end(), [](const TSwitchRow* a, const TSwitchRow* b) {
    return a->HelpOrder < b->HelpOrder;
  });
  std::vector<std::string> lefts;
  std::size_t width = 0;
  for (const TSwitchRow* row : shown) {
    lefts.emplace_back(1, ' ').append(ShownForms(*row));
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
