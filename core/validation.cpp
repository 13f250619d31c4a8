// SPDX-License-Identifier: MIT
// Judging the command line: every argument counted and listed by kind, essential switches found.
#include "core/validation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/params.h"
#include "core/text.h"
#include "core/unique_arguments.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {

// Defined bare: ResetValidation alone gives them their starting values.
TParamStatisticsRec CustomSyntaxStats;
TParamStatisticsRec DefaultSyntaxStats;
std::string HelpSwitchHint;

void detail::ResetValidation() {
  CustomSyntaxStats = TParamStatisticsRec();
  DefaultSyntaxStats = TParamStatisticsRec();
  HelpSwitchHint = std::string();
}

namespace {

// The essential switches among the recognised arguments, in the forms EssentialForms lists,
// matched as every lookup matches them: an attached value is never taken for a switch.
void FindEssentials(TParamStatisticsRec& stats, const TParamStatusArray& table,
                    std::string_view essential, std::int32_t first_index, std::int32_t last_index) {
  const detail::TSearchForms forms = detail::SearchFormsOf(essential, ssPlain);
  // Switches first, then attached switches, each in argument order.
  for (const std::int32_t status : {psSwitch, psAttachedSwitch}) {
    for (auto h = static_cast<std::size_t>(first_index); h <= static_cast<std::size_t>(last_index);
         ++h) {
      if (table[h].Status != status) continue;
      const detail::TFormMatch match =
          detail::MatchAliases(forms, table[h].Param, status == psAttachedSwitch);
      if (match.Found) stats.EssentialFound.append(match.SwitchPart(table[h].Param)).push_back(' ');
    }
  }
}

// The twelve lists, in the record's order.
enum TListId : std::uint8_t {
  liParam,
  liUnique,
  liNonBlank,
  liExamined,
  liSwitch,
  liValueArg,
  liOther,
  liAttached,
  liIncomplete,
  liInvalid,
  liIgnored,
  liReserved,
  ListCount
};

struct TListRef {
  std::uint16_t& Count;
  std::string& List;
};

TListRef ListOf(TParamStatisticsRec& stats, TListId id) {
  switch (id) {
    case liParam:
      return {stats.ParamCount, stats.ParamList};
    case liUnique:
      return {stats.UniqueCount, stats.UniqueList};
    case liNonBlank:
      return {stats.NonBlankCount, stats.NonBlankList};
    case liExamined:
      return {stats.ExaminedCount, stats.ExaminedList};
    case liSwitch:
      return {stats.SwitchCount, stats.SwitchList};
    case liValueArg:
      return {stats.ValueArgCount, stats.ValueArgList};
    case liOther:
      return {stats.OtherCount, stats.OtherList};
    case liAttached:
      return {stats.AttachedCount, stats.AttachedList};
    case liIncomplete:
      return {stats.IncompleteCount, stats.IncompleteList};
    case liInvalid:
      return {stats.InvalidCount, stats.InvalidList};
    case liIgnored:
      return {stats.IgnoredCount, stats.IgnoredList};
    case liReserved:
    case ListCount:
      break;
  }
  return {stats.ReservedCount, stats.ReservedList};
}

// Calls `visit` with the list and the entry of every argument, in the order in which they are
// appended: each argument outside the range to the ignored list, each inside to the lists of
// every kind it is of.
template <typename Visit>
void ForEachEntry(const TParamStatusArray& table, std::size_t first, std::size_t last,
                  const std::vector<bool>& unique, Visit visit) {
  for (std::size_t h = 0; h < table.size(); ++h) {
    const TParamStatusRec& entry = table[h];
    const detail::TListEntry text(entry.Param);
    if (h < first || h > last) {
      visit(liIgnored, text);
      if (entry.Status == psReserved) visit(liReserved, text);
      continue;
    }
    visit(liParam, text);
    if (!entry.Param.empty()) visit(liNonBlank, text);
    if (unique[h - first]) visit(liUnique, text);
    if (entry.Status != psSwitch && entry.Status != psSwitchValue) visit(liOther, text);
    visit(liExamined, text);
    switch (entry.Status) {
      case psUnmatched:
        visit(liInvalid, text);
        break;
      case psSwitch:
        visit(liSwitch, text);
        break;
      case psSwitchValue:
        visit(liValueArg, text);
        break;
      case psAttachedSwitch:
        visit(liAttached, text);
        break;
      case psIncomplete:
        visit(liIncomplete, text);
        break;
      case psReserved:
        visit(liReserved, text);
        break;
      default:
        break;
    }
  }
}

// Counts and lists every argument: those in `first`..`last` by kind, the others as ignored.
void FillLists(TParamStatisticsRec& stats, const TParamStatusArray& table, std::size_t first,
               std::size_t last) {
  // A range that starts past its end judges nothing (the lists of ignored arguments aside).
  const std::vector<bool> unique =
      first <= last ? UniqueArguments(std::span(table).subspan(first, last - first + 1))
                    : std::vector<bool>{};
  // Every list gets its final size before its first entry: a long argument would otherwise be
  // copied again into each of its lists as they grow (docs/performance.md).
  std::array<std::size_t, ListCount> sizes{};
  ForEachEntry(table, first, last, unique,
               [&](TListId id, const detail::TListEntry& entry) { sizes[id] += entry.Size(); });
  for (std::size_t id = 0; id < ListCount; ++id) {
    ListOf(stats, static_cast<TListId>(id)).List.reserve(sizes[id]);
  }
  ForEachEntry(table, first, last, unique, [&](TListId id, const detail::TListEntry& entry) {
    const TListRef ref = ListOf(stats, id);
    detail::AddListEntry(ref.Count, ref.List, entry);
  });
}

}  // namespace

void AddListEntry(std::uint16_t& count, std::string& list, std::string_view entry) {
  detail::AddListEntry(count, list, detail::TListEntry(entry));
}

void detail::AddListEntry(std::uint16_t& count, std::string& list, const TListEntry& entry) {
  ++count;
  entry.ForEachPiece([&](std::string_view piece) { list.append(piece); });
}

void ResetStatistics(TParamStatisticsRec& stats, std::string_view new_name) {
  std::string name = new_name.empty() ? std::move(stats.Name) : std::string(new_name);
  stats = TParamStatisticsRec{};
  stats.Name = std::move(name);
}

void ListDeclaredForms(std::string& list, std::string_view declared, std::string_view candidates) {
  if (!candidates.empty()) {
    std::string declared_text(declared);
    declared_text.push_back(' ');
    for (const std::string& piece : detail::SplitQuoted(AsciiUpper(candidates))) {
      const std::string needle = piece + ' ';
      if ((list + ' ').find(needle) != std::string::npos) continue;
      if (declared_text.find(needle) == std::string::npos) continue;
      list.append(" ").append(detail::DashPrefixOf(piece)).append(piece);
    }
  }
  list = std::string(TrimSpaceAndControls(list));
}

void ValidateParams(TParamStatisticsRec& stats, const TParamStatusArray& table,
                    std::string_view essential, bool require_essential, std::int32_t first_index,
                    std::int32_t last_index) {
  ResetStatistics(stats, {});
  ListDeclaredForms(HelpSwitchHint, DeclaredSwitches, HelpSwitchWords);
  BuildSwitchForms(stats.EssentialForms, essential, ssPlain);

  const auto high = static_cast<std::int64_t>(table.size()) - 1;
  if (high >= 0) {
    if (first_index < 0) first_index = 0;
    if (last_index < 0 || last_index > high) last_index = static_cast<std::int32_t>(high);
    stats.FirstIndex = static_cast<std::uint16_t>(first_index);
    stats.LastIndex = static_cast<std::uint16_t>(last_index);
    FillLists(stats, table, static_cast<std::size_t>(first_index),
              static_cast<std::size_t>(last_index));
  }
  if (!stats.EssentialForms.empty()) {
    if (high >= 0) FindEssentials(stats, table, essential, first_index, last_index);
    stats.EssentialMissing = require_essential && stats.EssentialFound.empty();
  }
  stats.Validated = true;
  // A range that starts past the last argument judges nothing, and so cannot be valid.
  const bool range_valid = first_index <= std::max<std::int64_t>(high, 0);
  stats.Valid = stats.InvalidList.empty() && stats.IncompleteList.empty() &&
                !stats.EssentialMissing && range_valid;
}

void GetParamStatistics(TParamStatisticsRec& stats, const TParamStatusArray& table,
                        std::string_view essential, bool require_essential,
                        std::int32_t first_index, std::int32_t last_index) {
  ValidateParams(stats, table, essential, require_essential, first_index, last_index);
  if (DefaultSyntaxStats.Validated) return;
  // Judging the same whole line again would give the same record: copy it.
  if (first_index < 0 && last_index < 0 && &stats != &DefaultSyntaxStats) {
    std::string name = std::move(DefaultSyntaxStats.Name);
    DefaultSyntaxStats = stats;
    DefaultSyntaxStats.Name = std::move(name);
    return;
  }
  ValidateParams(DefaultSyntaxStats, table, essential, require_essential, -1, -1);
}

void detail::StartValidation() {
  detail::ResetValidation();
  ResetStatistics(CustomSyntaxStats, "Custom Syntax Validation Record");
  ResetStatistics(DefaultSyntaxStats, "Default Syntax Validation Record");
}

}  // namespace core
