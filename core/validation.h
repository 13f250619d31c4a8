// SPDX-License-Identifier: MIT
// The verdict on a whole command line, read from the marks that the declarations left.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/params.h"
#include "core/text.h"

namespace core {

/// Counts and lists of the arguments by kind, and the verdict. A list holds its entries in
/// argument order, each quoted when empty or holding a space and followed by one space; its
/// count rises with every entry and, being 16 bits, wraps past 65,535.
struct TParamStatisticsRec {
  bool Valid = true;       ///< the verdict: nothing unmatched or incomplete, essentials present
  bool Validated = false;  ///< a judgement has filled the record
  bool EssentialMissing = false;                ///< essential switches are required and none occurs
  std::uint16_t FirstIndex = 0, LastIndex = 0;  ///< the range judged; outside it, Ignored
  std::uint16_t ParamCount = 0, UniqueCount = 0, NonBlankCount = 0, ExaminedCount = 0,
                SwitchCount = 0, ValueArgCount = 0, OtherCount = 0, AttachedCount = 0,
                IncompleteCount = 0, InvalidCount = 0, IgnoredCount = 0, ReservedCount = 0;
  std::string ParamList, UniqueList, NonBlankList, ExaminedList, SwitchList, ValueArgList,
      OtherList, AttachedList, IncompleteList, InvalidList, IgnoredList, ReservedList;
  std::string EssentialFound;  ///< the essential switches found, each followed by a space
  std::string EssentialForms;  ///< every accepted form of every essential switch, likewise
  std::string Name;            ///< what the record is for, set by ResetStatistics
};

// The module's variables, from start-up to shutdown; ResetValidation gives them their starting
// values, and nothing else does.
extern TParamStatisticsRec CustomSyntaxStats;   ///< the program's verdict
extern TParamStatisticsRec DefaultSyntaxStats;  ///< the whole line, filled by the first judgement
/// The declared help and information switches with their prefixes, for a usage hint.
extern std::string HelpSwitchHint;
/// The help and information words from which HelpSwitchHint is drawn.
inline constexpr std::string_view HelpSwitchWords =
    "H HELP ? H2 HELP2 ?? VERSION-ONLY BUILD-ONLY INFO";

/// Judges `table` into `stats` (ValidateParams), then fills DefaultSyntaxStats once for the
/// whole line. `essential` is the alias list of which at least one switch must occur when
/// `require_essential` holds; -1 for either index means the whole line.
void GetParamStatistics(TParamStatisticsRec& stats, const TParamStatusArray& table,
                        std::string_view essential, bool require_essential,
                        std::int32_t first_index, std::int32_t last_index);

/// The judgement itself; validating the same record twice gives the same result.
void ValidateParams(TParamStatisticsRec& stats, const TParamStatusArray& table,
                    std::string_view essential, bool require_essential, std::int32_t first_index,
                    std::int32_t last_index);

/// Empties every count and list and sets Valid; `new_name`, unless empty, becomes the name.
void ResetStatistics(TParamStatisticsRec& stats, std::string_view new_name);

/// Appends to `list` each word of `candidates` that `declared` holds and `list` does not, with
/// its switch prefix; then trims `list`.
void ListDeclaredForms(std::string& list, std::string_view declared, std::string_view candidates);

/// Appends the quoted `entry` and a space to `list`, and counts it.
void AddListEntry(std::uint16_t& count, std::string& list, std::string_view entry);

namespace detail {

/// The same for an entry made already.
void AddListEntry(std::uint16_t& count, std::string& list, const TListEntry& entry);

/// Starts the module for a run: both statistics records empty and named.
void StartValidation();
/// Gives every variable of the module its starting value and releases what it holds.
void ResetValidation();

}  // namespace detail
}  // namespace core
