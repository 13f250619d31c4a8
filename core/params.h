// SPDX-License-Identifier: MIT
// Parameter records and switch lookup shared by the console tools.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
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

namespace detail {

/// Makes `rec` fresh (nothing found, Index -1, texts empty) and keeps its memory for the next
/// answer.
void ClearFindParamRec(TFindParamRec& rec);

/// Whether `style` lets a value follow a switch after ':' or '='.
constexpr bool AllowsAttachedValues(TSwitchStyle style) {
  return style == ssAttachedValues || style == ssBareAndAttached;
}
/// Whether `style` lets a one-character switch from SymbolSwitchChars stand without prefix.
constexpr bool AllowsBareSymbols(TSwitchStyle style) {
  return style == ssBareSymbols || style == ssBareAndAttached;
}
/// Whether `flags` require the first value: missing or blank, it leaves the switch incomplete.
constexpr bool FirstValueRequired(TParamFlags flags) {
  return static_cast<bool>(flags & (pfNoBlankValues | pfNoBlankFirstValue));
}
/// Whether `flags` require the second value too.
constexpr bool SecondValueRequired(TParamFlags flags) {
  return static_cast<bool>(flags & pfNoBlankValues);
}

/// The bytes that may separate a switch from its attached value, in the order in which the forms
/// that carry one are listed.
inline constexpr std::string_view AttachSeparators = ":=";

/// Whether `c` may separate a switch from its attached value.
constexpr bool IsAttachSeparator(char c) {
  return AttachSeparators.find(c) != std::string_view::npos;
}

/// Position of the first attach separator in `text` (npos when there is none): where an
/// attached value would begin. Each separator is searched for apart, which is far faster on long
/// texts than one search for either.
inline std::size_t FindAttachSeparator(std::string_view text) {
  std::size_t first = std::string_view::npos;
  for (const char separator : AttachSeparators) first = std::min(first, text.find(separator));
  return first;
}

/// Calls `visit` with each word of an alias list (each maximal run of bytes outside
/// `AliasDelimiters`), in order, as a view of `aliases`; stops early when it returns true, and
/// reports whether it did.
template <typename Visit>
bool ForEachAliasWord(std::string_view aliases, Visit visit) {
  // A loop the compiler unrolls into three comparisons, where find() would call memchr per byte.
  const auto delimiter = [](char c) {
    for (const char d : AliasDelimiters) {
      if (c == d) return true;
    }
    return false;
  };
  std::size_t at = 0;
  while (at < aliases.size()) {
    if (delimiter(aliases[at])) {
      ++at;
      continue;
    }
    std::size_t end = at + 1;
    while (end < aliases.size() && !delimiter(aliases[end])) ++end;
    if (visit(aliases.substr(at, end - at))) return true;
    at = end;
  }
  return false;
}

/// The words of an alias list, split at `AliasDelimiters`, in order.
TStringArray AliasWords(std::string_view aliases);

/// The prefix a user types before `word`: "-" before one character, "--" before a word.
constexpr std::string_view DashPrefixOf(std::string_view word) {
  return word.size() == 1 ? "-" : "--";
}

/// The prefixes of one alias word, in the order in which its forms are tried.
struct TPrefixes {
  std::array<std::string_view, 3> Items{};
  std::size_t Count = 0;
};
TPrefixes PrefixesOf(std::string_view word, TSwitchStyle style);

/// The texts of the arguments a run was started with, where they are not main's argv: what
/// ParamStatus's entries view.
extern TStringArray ArgumentTexts;

/// Starts the engine for a run over `arguments`, or, where `argv` holds any, over its texts:
/// ParamStatus views them, all unmatched (the texts of `arguments` are moved into ArgumentTexts,
/// not copied), and FindHistory is empty.
void StartParamEngine(TStringArray&& arguments, std::span<char* const> argv);
/// Gives every variable of the engine its starting value and releases what it holds; the
/// library's shutdown calls it.
void ResetParamEngine();
// How an argument is a form of one alias word: not at all, exactly, or as the form of `Length`
// bytes followed by ':' or '=' and an attached value (Found true in both cases).
struct TFormMatch {
  bool Found = false;
  bool Attached = false;
  std::size_t Length = 0;

  /// The switch as written, without the separator and the attached value.
  std::string_view SwitchPart(std::string_view arg) const { return arg.substr(0, Length); }
  /// The whole attached value: a user's text is never cut.
  std::string_view ValuePart(std::string_view arg) const {
    return Attached ? arg.substr(Length + 1) : std::string_view();
  }
};

// Matches `arg` with the forms of `alias` that `prefixes` make: the one rule for a switch and its
// attached value, which every lookup and the occurrences share.
TFormMatch MatchForms(std::string_view alias, const TPrefixes& prefixes, std::string_view arg,
                      bool attached_allowed);

/// Compared byte by byte, a form of a word, bare or followed by an attached value, ends with the
/// word's last byte at the form's own length: that one byte rules most arguments out before any
/// text is compared.
struct TFormEnd {
  std::size_t Length = 0;
  char Last = 0;  ///< lower-cased
  bool operator==(const TFormEnd&) const = default;
};

/// The forms of an alias list, made once from PrefixesOf, that a lookup compares each argument
/// with: its words with their prefixes and, for a comparison byte by byte, the bytes a form may
/// begin with, the shortest form and every distinct end, shortest first.
struct TSearchForms {
  struct TWord {
    std::string_view Text;
    TPrefixes Prefixes;
  };
  std::vector<TWord> Words;
  std::vector<TFormEnd> Ends;
  std::array<bool, 256> First{};
  std::size_t Shortest = 0;
  bool Bytewise = false;  ///< false: the platform may equate other bytes, and nothing is ruled out
};
TSearchForms SearchFormsOf(std::string_view aliases, TSwitchStyle style);

/// Whether `arg` may be a form of one of the words: most arguments of a long command line are
/// passed over at their first byte, their length or one byte where a form would end.
bool MayMatch(const TSearchForms& forms, std::string_view arg);

/// How `arg` is a form of the list: as the first of its words, in order, that it is a form of
/// (MatchForms). The one rule by which every lookup, the occurrences and the judgement of
/// essential switches match an argument with an alias list.
TFormMatch MatchAliases(const TSearchForms& forms, std::string_view arg, bool attached_allowed);

/// When a value leaves its switch incomplete: missing (no argument follows), blank (empty).
struct TValueNeed {
  bool Missing = false;
  bool Blank = false;
};

/// How a lookup treats what it finds: made from a declaration's flags, or from a row's value
/// rule, which can say more than the flags can.
struct TLookupRule {
  std::int32_t ValueCount = 0;  ///< following arguments taken as values: 0, 1 or 2
  bool FindAll = false;         ///< every occurrence, the last answering
  bool AttachedForms = false;   ///< a form may carry its value after ':' or '='
  bool AttachedOnly = false;    ///< the value is never the next argument; an empty one is refused
  TValueNeed First, Second;
  bool Number = false;  ///< a value must be a whole number from Least to Most, or is refused
  std::int64_t Least = 0, Most = 0;
};

/// The rule of a declaration with `flags` that takes `value_count` values, under SwitchStyle.
TLookupRule LookupRuleOf(std::int32_t value_count, TParamFlags flags);

/// FindParam's search under `rule`: the one search that every declaration makes.
void Lookup(TFindParamRec& rec, TParamStatusArray& table, std::string_view aliases,
            std::int32_t last_index, std::int32_t first_index, const TLookupRule& rule,
            std::string_view default1, std::string_view default2);

/// Why a switch is incomplete.
enum TValueFault : std::uint8_t { vfMissing, vfBlank, vfTaken, vfAttachedBlank };

/// A number that a lookup refused: where its switch stands, and the range it missed.
struct TRefusedNumber {
  std::int32_t Index = -1;
  std::size_t Length = 0;     ///< of the switch as written, without an attached value
  bool NextArgument = false;  ///< the value refused was the argument after the switch
  std::int64_t Least = 0, Most = 0;
};
/// The numbers refused since start-up, in the order the lookups met them.
extern std::vector<TRefusedNumber> RefusedNumbers;

/// Reads `text` as a whole number from `least` to `most`: decimal digits only, leading zeros
/// allowed, no sign and no space; past the range, however long, it is refused.
bool ReadWholeNumber(std::string_view text, std::int64_t least, std::int64_t most,
                     std::int64_t& number);

/// Adds to `names` the name of each of the module's settings that differs from its starting
/// value: what a tool set before its run, which start-up would undo.
void NameChangedParamSettings(std::vector<std::string_view>& names);

}  // namespace detail
}  // namespace core
