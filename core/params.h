// SPDX-License-Identifier: MIT
// Parameter records and switch lookup shared by the console tools.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace core {

/// Classification of one command-line argument.
enum TParamStatus : std::int32_t {
  psUnmatched = 0,       ///< no declared switch has recognised it (yet)
  psOperand = 1,         ///< an operand of a tool that takes them: neither a switch nor a value
  psSwitch = 2,          ///< a declared switch
  psSwitchValue = 3,     ///< taken as a value of the switch one or two places before it
  psAttachedSwitch = 4,  ///< a declared switch carrying its value after ':' or '='
  psIncomplete = 5,      ///< a switch whose required value is missing, blank or taken
  psReserved = 6,        ///< counted by validation; assigned by nothing
};

/// One argument of the command line and what the declarations made of it.
struct TParamStatusRec {
  std::int32_t Status = psUnmatched;  ///< a TParamStatus
  bool SwitchMark = false;  ///< recognised as a switch; cleared when its second value is missing
  bool ValueMark = false;   ///< taken as a switch's value
  bool AttachMark = false;  ///< a switch with its value after ':' or '='
  bool SpareMark = false;   ///< reserved; cleared, never set
  /// The argument exactly as the platform delivered it: a view of main's argv, or of the texts
  /// the run was started with, which the engine keeps until shutdown.
  std::string_view Param;
};
using TParamStatusArray = std::vector<TParamStatusRec>;  ///< the argument table's type

/// The answer for one switch; callers copy it whole.
struct TFindParamRec {
  bool Reserved = false;         ///< reserved; never set
  bool Found = false;            ///< present, with every required value
  bool Attached = false;         ///< a value came after ':' or '='
  std::int32_t Index = -1;       ///< position of the reported occurrence, -1 when absent
  std::int32_t ParamIndex = -1;  ///< Index + 1, the argument number as the platform counts it
  std::string Text;              ///< the matching argument; for an attached value, the switch part
  std::string Value1, Value2;    ///< the values taken, or the defaults when the switch is absent
};
using TParamRecArray = std::vector<TFindParamRec>;  ///< answers kept in FindHistory

/// Extra forms that matching accepts.
enum TSwitchStyle : std::uint8_t {
  ssPlain = 0,            ///< "-" before one letter, "--" before a word, "/" before either
  ssBareSymbols = 1,      ///< a symbol switch may stand without prefix
  ssAttachedValues = 2,   ///< a value may follow the switch after ':' or '='
  ssBareAndAttached = 3,  ///< both of the above
};

/// Lookup flags: a set of the four elements below, combined with |, tested with & in a
/// condition, taken away with -; the empty set is TParamFlags{}. It is a type of its own, so that
/// no integer (a position, a value count) can pass for it, nor it for one.
class TParamFlags {
 public:
  constexpr TParamFlags() = default;

  /// The set whose bit values are `bits` (1, 2, 4 and 8, as the elements below; other bits are
  /// dropped): for flags kept or read as a number.
  static constexpr TParamFlags FromBits(unsigned bits) { return TParamFlags(bits & 15U); }
  constexpr unsigned Bits() const { return bits_; }

  constexpr TParamFlags operator|(TParamFlags other) const {
    return TParamFlags(bits_ | other.bits_);
  }
  constexpr TParamFlags operator&(TParamFlags other) const {
    return TParamFlags(bits_ & other.bits_);
  }
  /// The set without the elements of `other`.
  constexpr TParamFlags operator-(TParamFlags other) const {
    return TParamFlags(bits_ & ~other.bits_);
  }
  constexpr TParamFlags& operator|=(TParamFlags other) { return *this = *this | other; }
  constexpr TParamFlags& operator-=(TParamFlags other) { return *this = *this - other; }
  /// Whether the set holds any element: `if (flags & pfFindAll)`.
  constexpr explicit operator bool() const { return bits_ != 0; }
  constexpr bool operator==(const TParamFlags&) const = default;

 private:
  constexpr explicit TParamFlags(unsigned bits) : bits_(static_cast<std::uint8_t>(bits)) {}
  std::uint8_t bits_ = 0;
};
inline constexpr TParamFlags pfNoBlankValues = TParamFlags::FromBits(1);  ///< neither value blank
inline constexpr TParamFlags pfNoBlankFirstValue = TParamFlags::FromBits(2);  ///< nor the first
/// Examine every occurrence; the last one answers.
inline constexpr TParamFlags pfFindAll = TParamFlags::FromBits(4);
/// FindParamValue keeps the caller's value as the default.
inline constexpr TParamFlags pfKeepDefault = TParamFlags::FromBits(8);

/// Which part of the command line a declaration searches: from its position to the end, or
/// from the start up to its position.
enum TSearchKind : std::uint8_t { skFrom = 0, skUpTo = 1 };

/// Separators between the words of an alias list in lookups (ForEachAliasWord tests them).
inline constexpr std::string_view AliasDelimiters = " ,;";
/// One-character aliases that the bare styles accept without prefix.
inline constexpr std::string_view SymbolSwitchChars = "!#$%*+-.@_~";

// The engine's variables, from start-up to shutdown; ResetParamEngine gives them their starting
// values, and nothing else does.
extern TParamStatusArray ParamStatus;  ///< the argument table; built at start-up
extern TParamRecArray FindHistory;     ///< a copy of every answer while RecordFindHistory holds
extern TSwitchStyle SwitchStyle;       ///< the forms matching accepts; ssPlain at start-up
extern bool RequireDoubleDash;         ///< word switches need "--"; when false "-" is accepted too
/// A switch may be written with "/" too (/u, /UPPER); true at start-up. A tool whose operands
/// are paths turns it off, so that /etc/hosts is an operand.
extern bool SlashForms;
extern bool RecordFindHistory;        ///< false at start-up
extern TParamFlags ParamFlags;        ///< kept for the program; the engine never reads it
extern std::string DeclaredSwitches;  ///< every alias word declared, upper-cased, each once

/// Standard switch records that the program fills by copying its declarations' answers.
extern TFindParamRec DebugModeParam, SpareParam, ErrorDelayParam, AudibleErrorParam, HelpParam,
    VerboseParam, VersionOnlyParam, BannerParam, InfoParam;

/// Declares a switch without value: looks it up over the range that `position` and `kind`
/// select and marks what it recognised in `table`.
void FindParamFlag(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                   TParamFlags flags, std::int32_t position, TSearchKind kind);

/// Declares a switch with one optional value; `found_flag` receives `rec.Found`.
void FindParamBool(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                   bool& found_flag, std::int32_t position, TSearchKind kind);

/// Declares a switch with one value; `value` receives `rec.Value1`. It is cleared first unless
/// `flags` holds pfKeepDefault, in which case it serves as the default.
void FindParamValue(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
                    std::string& value, TParamFlags flags, std::int32_t position, TSearchKind kind);

/// The core search over positions `first_index`..`last_index` (-1: the last position), taking
/// `value_count` following arguments as values (0, 1 or 2; more act as 1).
void FindParam(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
               std::int32_t last_index, std::int32_t first_index, std::int32_t value_count,
               TParamFlags flags, std::string_view default1, std::string_view default2);

/// Turns a declaration's position and kind into the range FindParam searches.
void ResolveSearchRange(TSearchKind kind, std::int32_t position, std::int32_t& first_index,
                        std::int32_t& last_index);

/// Whether `arg` alone is a form of the switch, with `next_arg` as its value; attached values
/// are not recognised and the argument table is not touched. A match sets Index 0.
void MatchParamAt(TFindParamRec& rec, std::string_view arg, std::string_view aliases,
                  std::string_view next_arg, std::int32_t value_count, TParamFlags flags);

/// Whether `arg` is a form of the one word `alias`, attached values included when the switch
/// style allows them; `match` gets Found and Text for the switch alone, or Text, Attached and
/// the whole attached value in Value1.
bool MatchSwitchArg(std::string_view alias, std::string_view arg, TFindParamRec& match);

/// Whether `arg` is exactly a form of `alias`, never with an attached value.
bool SwitchMatches(std::string_view alias, std::string_view arg);

/// Sets `forms` to every accepted form of every word of `aliases` under `style`, each followed
/// by one space and listed once.
void BuildSwitchForms(std::string& forms, std::string_view aliases, TSwitchStyle style);

/// Merges the upper-cased words of `aliases` into the space-separated `list`, each word once.
void AddDeclaredSwitches(std::string& list, std::string_view aliases);

/// Whether `word` is not one of the space-separated words of `list`.
bool WordNotInList(std::string_view word, std::string_view list);

/// The argument table of the arguments the library was started with, all unmatched: views of
/// the same texts as ParamStatus.
TParamStatusArray BuildParamStatus();
/// `count` empty entries (none when `count` is not positive).
TParamStatusArray NewParamStatusArray(std::int32_t count);
/// `count` empty answers (none when `count` is not positive).
TParamRecArray NewParamRecArray(std::int32_t count);

}  // namespace core
