// SPDX-License-Identifier: MIT
// A tool's switches declared once, as rows of one table: the declarations in order, the
// essential list, every occurrence of the value switches, and the option lines of a help screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/params.h"

namespace core {

/// What a row declares, named for the operation that declares it.
enum TSwitchKind : std::uint8_t {
  swFlag,   ///< no value (FindParamFlag)
  swBool,   ///< one optional value, such as --error-delay 5 (FindParamBool)
  swValue,  ///< one value, the next argument or an attached one (FindParamValue)
};

/// One switch of a tool, described once. Only Aliases and Record are needed; a row reads well
/// with designated initialisers: {.Aliases = "C CHARS", .Kind = core::swValue, ...}.
struct TSwitchRow {
  std::string_view Aliases{};       ///< the alias list, "C CHARS"
  TSwitchKind Kind = swFlag;        ///< how it takes a value
  TFindParamRec* Record = nullptr;  ///< receives the declaration's answer
  bool Repeats = false;             ///< every occurrence counts (pfFindAll); not for swBool
  bool Required = false;            ///< swValue: a missing or empty value is incomplete (67)
  bool Essential = false;           ///< at least one essential switch must be given (else 64)
  bool* Setting = nullptr;          ///< receives Found after the declaration (ErrorDelay, ...)
  void (*Declared)() = nullptr;     ///< runs after the declaration: may change ParamFlags
  int Tag = 0;                      ///< the tool's own number for the row, for its occurrences
  std::string_view ValueName{};     ///< what an option line shows after the forms: "<text>"
  std::string_view Help{};          ///< an option line's text; none without it
  std::string_view Shows{};         ///< the words an option line shows, as written; else all
  std::uint8_t HelpOrder = 0;       ///< option lines come in this order, then in the table's
  bool VerboseOnly = false;         ///< its option line shows only with the verbose switch
};

/// The flags a row is declared with: ParamFlags as it stands for a value switch, with pfFindAll
/// for a row that repeats and a required value for a row that needs one; none for a flag.
TParamFlags RowFlags(const TSwitchRow& row);

/// Declares every row over ParamStatus in table order: the order is behaviour, since a switch
/// declared earlier is never taken as a later one's value. Each answer goes to its Record, Found
/// to its Setting, and then Declared runs.
void DeclareSwitches(std::span<const TSwitchRow> rows);

/// The alias lists of the essential rows, joined: the list that judging the line requires.
std::string EssentialList(std::span<const TSwitchRow> rows);

/// One occurrence of a value switch, met in command-line order: views of ParamStatus, valid
/// until the table changes.
struct TOccurrence {
  const TSwitchRow* Row = nullptr;
  std::int32_t Index = -1;  ///< position of the switch in ParamStatus
  std::string_view Text;    ///< the switch as written; for an attached value, the part before it
  std::string_view Value;   ///< the next argument, or the whole attached value
  bool Attached = false;    ///< the value came after ':' or '='
};

namespace detail {

// Where a walk over the occurrences stands.
struct TOccurrenceWalk {
  std::vector<const TSwitchRow*> Rows;
  bool Disjoint = false;     // no alias word stands in two rows: the first match ends a position
  std::size_t Position = 0;  // the argument being examined
  std::size_t NextRow = 0;   // the row to try next at that position
  bool MayBeSwitch = false;  // whether the argument at Position can be a switch at all
  bool Attachable = false;   // whether it can carry an attached value
};

TOccurrenceWalk StartWalk(std::span<const TSwitchRow> rows,
                          std::span<const TFindParamRec* const> records);
bool NextOccurrence(TOccurrenceWalk& walk, TOccurrence& occurrence);

}  // namespace detail

/// Calls `visit` with every occurrence of the value rows (swValue) of `rows`, merged in
/// command-line order. A switch's value is the argument after it, whatever it looks like (in
/// -u -L text, -u's value is -L), or the whole value attached after ':' or '=' where SwitchStyle
/// allows one. A switch whose required value is missing is no occurrence: judging the line has
/// reported it already. Each occurrence is found as the walk reaches it; none is stored.
template <typename Visit>
void ForEachOccurrence(std::span<const TSwitchRow> rows, Visit visit) {
  detail::TOccurrenceWalk walk = detail::StartWalk(rows, {});
  TOccurrence occurrence;
  while (detail::NextOccurrence(walk, occurrence)) visit(occurrence);
}

/// The same for the value rows whose Record is one of `records`.
template <typename Visit>
void ForEachOccurrence(std::span<const TSwitchRow> rows,
                       std::initializer_list<const TFindParamRec*> records, Visit visit) {
  detail::TOccurrenceWalk walk = detail::StartWalk(
      rows, std::span<const TFindParamRec* const>(records.begin(), records.size()));
  TOccurrence occurrence;
  while (detail::NextOccurrence(walk, occurrence)) visit(occurrence);
}

/// Writes on OutputChannel an option line for every row with Help, in HelpOrder and then table
/// order, leaving out VerboseOnly rows unless the verbose switch is found: one space, the forms
/// ("-c, --chars" in lower case, or the row's Shows as written; word forms set in where the
/// first is no letter), its ValueName, dots up to a column shared by the lines, and the Help.
void WriteOptionLines(std::span<const TSwitchRow> rows);

}  // namespace core
