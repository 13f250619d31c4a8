// SPDX-License-Identifier: MIT
// Judging the command line: every argument counted and listed by kind, essential switches found.
#include "core/validation.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/text.h"
#include "core/unique_filter.h"
#include "platform/platform.h"

namespace core {

TParamStatisticsRec CustomSyntaxStats;
TParamStatisticsRec DefaultSyntaxStats;
std::string HelpSwitchHint;

namespace {

// The switch part of a recognised argument: an attached value is never taken for a switch.
std::string_view SwitchPart(const TParamStatusRec& entry) {
  if (entry.Status != psAttachedSwitch) return entry.Param;
  return std::string_view(entry.Param).substr(0, FindAttachSeparator(entry.Param));
}

void FindEssentials(TParamStatisticsRec& stats, const TParamStatusArray& table,
                    std::int32_t first_index, std::int32_t last_index) {
  const TStringArray forms = SplitQuoted(stats.EssentialForms);
  // Switches first, then attached switches, each in argument order.
  for (const std::int32_t status : {psSwitch, psAttachedSwitch}) {
    for (auto h = static_cast<std::size_t>(first_index); h <= static_cast<std::size_t>(last_index);
         ++h) {
      if (table[h].Status != status) continue;
      const std::string_view piece = SwitchPart(table[h]);
      const bool essential = std::any_of(forms.begin(), forms.end(), [&](const std::string& f) {
        return platform::EqualsNoCase(piece, f);
      });
      if (essential) stats.EssentialFound.append(piece).push_back(' ');
    }
  }
}

// Whether an argument's lower-cased text occurs anywhere in the lower-cased unique list so far.
// Short lists are searched directly, and lowered only when a search needs them. Once the
// searches would cost more than a few passes over the whole command line, an automaton of the
// arguments still to come takes over and is fed the list, so that the whole judgement stays
// linear however many distinct arguments there are.
class TUniqueTest {
 public:
  TUniqueTest(const TParamStatusArray& table, std::int64_t first, std::int64_t last,
              const std::string& list)
      : table_(table), last_(last), list_(list) {
    double total = 0;
    for (std::int64_t h = first; h <= last; ++h) {
      total += static_cast<double>(table[static_cast<std::size_t>(h)].Param.size() + 4);
    }
    budget_ = 16 * total + 65536;
  }

  bool Occurs(std::int64_t h, std::string_view text) {
    if (!filter_) {
      if (text.size() > list_.size()) return false;
      // A direct search costs at worst the list's length times the text's.
      spent_ += static_cast<double>(list_.size()) * static_cast<double>(text.size());
      if (spent_ <= budget_) {
        lowered_ += AsciiLower(std::string_view(list_).substr(lowered_.size()));
        const bool has_upper =
            std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
        return has_upper ? lowered_.find(AsciiLower(text)) != std::string::npos
                         : lowered_.find(text) != std::string::npos;
      }
      StartAutomaton(h);
    }
    return filter_->Occurs(patterns_[static_cast<std::size_t>(h - from_)]);
  }

  // The list has grown by an entry.
  void Grown() {
    if (!filter_) return;
    filter_->Append(AsciiLower(std::string_view(list_).substr(fed_)));
    fed_ = list_.size();
  }

 private:
  void StartAutomaton(std::int64_t from) {
    from_ = from;
    filter_.emplace();
    for (std::int64_t h = from; h <= last_; ++h) {
      const std::string& param = table_[static_cast<std::size_t>(h)].Param;
      patterns_.push_back(filter_->AddPattern(AsciiLower(param.empty() ? "\"\"" : param)));
    }
    filter_->Prepare();
    filter_->Append(AsciiLower(list_));
    fed_ = list_.size();
    lowered_ = std::string{};
  }

  const TParamStatusArray& table_;
  std::int64_t last_;
  const std::string& list_;  ///< the unique list itself, as its entries are added
  std::string lowered_;      ///< its lower-cased start, as far as a search has needed it
  double spent_ = 0, budget_ = 0;
  std::optional<TUniqueFilter> filter_;
  std::int64_t from_ = 0;
  std::size_t fed_ = 0;
  std::vector<std::int32_t> patterns_;
};

}  // namespace

void AddListEntry(std::uint16_t& count, std::string& list, std::string_view entry) {
  ++count;
  AppendQuotedIfNeeded(list, entry);
  list.push_back(' ');
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
    for (const std::string& piece : SplitQuoted(AsciiUpper(candidates))) {
      const std::string needle = piece + ' ';
      if ((list + ' ').find(needle) != std::string::npos) continue;
      if (declared_text.find(needle) == std::string::npos) continue;
      list += piece.size() == 1 ? " -" : " --";
      list += piece;
    }
  }
  list = std::string(TrimControls(list));
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
    TUniqueTest unique(table, first_index, last_index, stats.UniqueList);
    // Every argument in range goes into these two lists: size them once.
    std::size_t in_range = 0;
    for (std::int64_t h = first_index; h <= last_index; ++h) {
      in_range += table[static_cast<std::size_t>(h)].Param.size() + 3;
    }
    stats.ParamList.reserve(in_range);
    stats.ExaminedList.reserve(in_range);
    for (std::int64_t h = 0; h <= high; ++h) {
      const TParamStatusRec& entry = table[static_cast<std::size_t>(h)];
      std::string_view text = entry.Param;
      if (h < first_index || h > last_index) {
        AddListEntry(stats.IgnoredCount, stats.IgnoredList, text);
        if (entry.Status == psReserved) {
          AddListEntry(stats.ReservedCount, stats.ReservedList, text);
        }
        continue;
      }
      AddListEntry(stats.ParamCount, stats.ParamList, text);
      if (text.empty()) {
        text = "\"\"";
      } else {
        AddListEntry(stats.NonBlankCount, stats.NonBlankList, text);
      }
      if (!unique.Occurs(h, text)) {
        AddListEntry(stats.UniqueCount, stats.UniqueList, text);
        unique.Grown();
      }
      if (entry.Status != psSwitch && entry.Status != psSwitchValue) {
        AddListEntry(stats.OtherCount, stats.OtherList, text);
      }
      AddListEntry(stats.ExaminedCount, stats.ExaminedList, text);
      switch (entry.Status) {
        case psUnmatched:
          AddListEntry(stats.InvalidCount, stats.InvalidList, text);
          break;
        case psSwitch:
          AddListEntry(stats.SwitchCount, stats.SwitchList, text);
          break;
        case psSwitchValue:
          AddListEntry(stats.ValueArgCount, stats.ValueArgList, text);
          break;
        case psAttachedSwitch:
          AddListEntry(stats.AttachedCount, stats.AttachedList, text);
          break;
        case psIncomplete:
          AddListEntry(stats.IncompleteCount, stats.IncompleteList, text);
          break;
        case psReserved:
          AddListEntry(stats.ReservedCount, stats.ReservedList, text);
          break;
        default:
          break;
      }
    }
  }
  if (!stats.EssentialForms.empty()) {
    if (high >= 0) FindEssentials(stats, table, first_index, last_index);
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

void ResetValidationState() {
  CustomSyntaxStats = TParamStatisticsRec{};
  DefaultSyntaxStats = TParamStatisticsRec{};
  HelpSwitchHint = std::string{};
}

}  // namespace core
