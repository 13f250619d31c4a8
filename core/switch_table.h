// SPDX-License-Identifier: MIT
// A tool's switches declared once, as rows of one table: the declarations, the value each row
// takes, the essential list, every occurrence of the value switches, and the option lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/params.h"

namespace core {

/// What a row takes after its switch. The judgement holds the line to it: a value that the rule
/// refuses leaves its switch unmatched (65), one that is missing where the rule needs it leaves
/// the switch incomplete (67).
enum TValueRule : std::uint8_t {
  vrNone,      ///< a flag: "--quiet=no" is no form of it, and so invalid (65)
  vrIgnored,   ///< a flag that accepts an attached value, where SwitchStyle allows one, and
               ///< ignores it
  vrAttached,  ///< an optional value, attached only: -l, -l=3, --lines:3, never "-l 3"; an
               ///< empty one ("-l=") is refused (65)
  vrOptional,  ///< an optional value: the next argument, whatever it is (--error-delay 5)
  vrRequired,  ///< a value, the next argument or an attached one: missing, incomplete (67); it
               ///< may be empty
  vrNonEmpty,  ///< the same, and an empty value is incomplete too (67)
};

struct TOccurrence;
/// What a value row does with each of its occurrences.
using TOccurrenceAction = void (*)(const TOccurrence&);

/// A row's options, combined with |.
enum TRowOption : unsigned {
  roRepeats = 1,      ///< every occurrence counts; without it a second one is invalid (65)
  roEssential = 2,    ///< one essential switch at least must be given, else 64
  roVerboseOnly = 4,  ///< its option line shows only with the verbose switch
};

/// A whole number that a row takes: its range and the value when the switch is absent.
struct TNumberRange {
  std::int64_t Least = 0, Most = 0, Default = 0;
};

/// One switch of a tool, described once; the helpers below make the usual rows in a line.
struct TSwitchRow {
  std::string_view Aliases{};       ///< the alias list, "C CHARS"
  TValueRule Rule = vrNone;         ///< what it takes after it
  TFindParamRec* Record = nullptr;  ///< receives the declaration's answer
  /// Receives every occurrence in command-line order (ActOnOccurrences, ForEachOccurrence).
  TOccurrenceAction Action = nullptr;
  std::int64_t* Number = nullptr;  ///< receives the value as a whole number, read in Range
  TNumberRange Range{};
  bool Repeats = false;     ///< every occurrence counts (roRepeats)
  bool Essential = false;   ///< one essential switch at least must be given (roEssential)
  bool* Setting = nullptr;  ///< receives Found after the declaration (-q: &core::BannerShown)
  /// Where this switch was found, a value that the rule needs may be missing or empty: Lettrix's
  /// -a makes every transformation's value optional so.
  const TFindParamRec* BlankWith = nullptr;
  std::string_view ValueName{};  ///< what an option line shows after the forms: "<text>"
  std::string_view Help{};       ///< an option line's text; none without it
  /// The forms an option line shows, written whole ("-j, --join[=<sep>]"); else made from the
  /// alias list.
  std::string_view Shows{};
  bool VerboseOnly = false;  ///< its option line shows only with the verbose switch

  /// The same row, with its declaration's answer going to `record` too: whether a number that
  /// may only be attached was given at all.
  constexpr TSwitchRow WithRecord(TFindParamRec* record) const {
    TSwitchRow row = *this;
    row.Record = record;
    return row;
  }
};

namespace detail {
constexpr TSwitchRow WithOptions(TSwitchRow row, unsigned options) {
  row.Repeats = (options & roRepeats) != 0;
  row.Essential = (options & roEssential) != 0;
  row.VerboseOnly = (options & roVerboseOnly) != 0;
  return row;
}
}  // namespace detail

/// A flag (vrNone), whose answer goes to `record`.
constexpr TSwitchRow Flag(std::string_view aliases, TFindParamRec* record,
                          std::string_view help = {}, unsigned options = 0) {
  return detail::WithOptions({.Aliases = aliases, .Record = record, .Help = help}, options);
}

/// A switch that takes a value under `rule`, each of whose occurrences `action` receives. A row
/// without its action is no value row: a null one does not make a table.
constexpr TSwitchRow Value(std::string_view aliases, TValueRule rule, TOccurrenceAction action,
                           std::string_view value_name = {}, std::string_view help = {},
                           unsigned options = 0) {
  if (action == nullptr) throw std::invalid_argument("a value row needs its action");
  return detail::WithOptions(
      {.Aliases = aliases, .Rule = rule, .Action = action, .ValueName = value_name, .Help = help},
      options);
}

/// A switch that takes a whole number in `range` under `rule` (vrRequired, or vrAttached for one
/// that may only be attached), into `*number`: the range's Default when the switch is absent, or
/// when it stands without its attached value. Digits only, leading zeros allowed; an empty
/// value is missing (67), anything else outside the range is refused (65), overflow included.
constexpr TSwitchRow Number(std::string_view aliases, TValueRule rule, std::int64_t* number,
                            TNumberRange range, std::string_view value_name = {},
                            std::string_view help = {}, unsigned options = 0) {
  if (number == nullptr) throw std::invalid_argument("a number row needs its variable");
  return detail::WithOptions({.Aliases = aliases,
                              .Rule = rule,
                              .Number = number,
                              .Range = range,
                              .ValueName = value_name,
                              .Help = help},
                             options);
}

/// A tool's operands: the arguments that are neither a switch nor a switch's value, as many as
/// Least to Most of them, shown as Name ("<file>") on the usage line.
struct TOperandsRec {
  std::string_view Name{};
  std::size_t Least = 0;
  std::size_t Most = 0;  ///< none unless above 0
};

/// Declares every row over ParamStatus: in table order, but for the rows that take the next
/// argument as a required value, which come after all the others, in table order too. The order
/// is behaviour: a switch declared earlier is never taken as a later one's value. Each answer
/// goes to its Record, Found to its Setting, a number to its variable.
///
/// Where `operands` allows any, an argument still unmatched that cannot be a switch is an
/// operand (psOperand): "-" alone, one that does not begin with "-", or with "/" where
/// SlashForms is off. The first "--" that is no switch's value ends the switches, and every
/// argument after it is an operand. Operands past Most stay unmatched, and so invalid (65). A
/// row with an optional value taken from the next argument (vrOptional) would swallow an
/// operand: beside operands it throws std::invalid_argument, which ends the run with 70.
void DeclareRows(std::span<const TSwitchRow> rows, const TOperandsRec& operands = {});

/// The operands that DeclareRows found, in command-line order: views of ParamStatus.
std::vector<std::string_view> GetOperands();

/// The alias lists of the essential rows, joined: the list that judging the line requires.
std::string EssentialList(std::span<const TSwitchRow> rows);

/// One occurrence of a value switch, met in command-line order: views of ParamStatus, valid
/// until the table changes.
struct TOccurrence {
  const TSwitchRow* Row = nullptr;
  std::int32_t Index = -1;  ///< position of the switch in ParamStatus
  std::string_view Text;    ///< the switch as written; for an attached value, the part before it
  std::string_view Value;   ///< the next argument, or the whole attached value; empty when none
  bool Attached = false;    ///< the value came after ':' or '='
};

namespace detail {

// A row as the walk matches it.
struct TWalkRow {
  const TSwitchRow* Row = nullptr;
  TSearchForms Forms;
  bool AttachedForms = false;  // a form may carry its value after ':' or '='
  bool AttachedOnly = false;   // the value is never the next argument, and never empty
  bool ValueNext = false;      // standing alone, it takes the next argument as its value
  bool Missing = false;        // without a next argument it is no occurrence
  bool Blank = false;          // nor with an empty value
  bool Once = false;           // only its first occurrence counts, as only that one was declared
  bool Met = false;            // and the walk has met it
};

// Where a walk over the occurrences stands.
struct TOccurrenceWalk {
  std::vector<TWalkRow> Rows;
  bool Disjoint = false;       // no alias word stands in two rows: the first match ends a position
  bool AttachedForms = false;  // whether any row takes an attached value
  bool Bytewise = false;       // whether the rows' forms rule arguments out by their bytes
  std::array<bool, 256> First{};     // the bytes that some row's form begins with
  std::size_t ShortestAttached = 0;  // the shortest form that carries a value, separator included
  std::size_t Position = 0;          // the argument being examined
  std::size_t NextRow = 0;           // the row to try next at that position
  bool MayBeSwitch = false;          // whether the argument at Position can be a switch at all
  bool Attachable = false;           // whether it can carry an attached value
};

TOccurrenceWalk StartWalk(std::span<const TSwitchRow> rows);
bool NextOccurrence(TOccurrenceWalk& walk, TOccurrence& occurrence);

}  // namespace detail

/// Calls `visit` with every occurrence of the rows of `rows` that have an Action, merged in
/// command-line order. A switch's value is the argument after it, whatever it looks like (in
/// -u -L text, -u's value is -L), or the whole value attached after ':' or '='. An occurrence
/// whose value the judgement refused, or that lacks one its rule needs, is none. Each
/// occurrence is found as the walk reaches it; none is stored.
template <typename Visit>
void ForEachOccurrence(std::span<const TSwitchRow> rows, Visit visit) {
  detail::TOccurrenceWalk walk = detail::StartWalk(rows);
  TOccurrence occurrence;
  while (detail::NextOccurrence(walk, occurrence)) visit(occurrence);
}

/// Hands every occurrence to its row's Action, in command-line order.
void ActOnOccurrences(std::span<const TSwitchRow> rows);

/// Writes on OutputChannel an option line for every row with Help, in table order, leaving out
/// VerboseOnly rows unless the verbose switch is found: one space, the forms ("-c, --chars" in
/// lower case, or the row's Shows; word forms set in where the first is no letter), its
/// ValueName ("[=<width>]" for a value that may only be attached), dots up to a column shared by
/// the lines, and the Help.
void WriteOptionLines(std::span<const TSwitchRow> rows);

}  // namespace core
