// SPDX-License-Identifier: MIT
// What the library's modules share among themselves and a tool must not use: each module's start
// and reset, and the helpers behind the public operations. Not installed; it may change at any
// time.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/banner.h"
#include "core/channels.h"
#include "core/dates.h"
#include "core/library.h"
#include "core/params.h"
#include "core/paths.h"
#include "core/report.h"
#include "core/text.h"
#include "core/validation.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {

struct TToolRec;

// The lifecycle.

/// StartUp, with ParamStatus made of the texts of `argv` (main's, after the program's own name)
/// where it holds any, each copied straight into its entry; start.Arguments then goes unread.
void StartUpFromArgv(TStartUpRec start, std::span<char* const> argv);

// Byte texts.

/// `text` without the bytes up to and including the space at either end.
std::string_view TrimControls(std::string_view text);

/// `text` with each of its `controls` (platform::FindControls) shown in ASCII without a control
/// byte: C0 and DEL in caret notation (ESC as "^[", DEL as "^?"), a C1 control in meta-caret
/// notation, "M-" before the caret form of its code less 0x80 (CSI, U+009B or the byte 0x9B,
/// as "M-^["). Every other byte, the caret included, is kept; a control out of order or beyond
/// the text is ignored.
std::string ShowControls(std::string_view text, std::span<const platform::TControlRec> controls);

/// Calls `visit` with each piece of a space-separated list, as a view of `text`, in order; a
/// stretch in double quotes is never cut, and empty pieces are dropped.
template <typename Visit>
void ForEachQuotedPiece(std::string_view text, Visit visit) {
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t start = at;
    bool quoted = false;
    while (at < text.size() && (quoted || text[at] != ' ')) {
      if (text[at] == '"') quoted = !quoted;
      ++at;
    }
    visit(text.substr(start, at - start));
  }
}

/// The pieces of a space-separated list; a stretch in double quotes is never cut, and empty
/// pieces are dropped.
TStringArray SplitQuoted(std::string_view text);

/// Whether QuoteIfNeeded puts `text` in quotes.
inline bool NeedsQuotes(std::string_view text) {
  return text.empty() || text.find(' ') != std::string_view::npos;
}
/// The length of QuoteIfNeeded(`text`).
inline std::size_t QuotedSize(std::string_view text) {
  return text.size() + (NeedsQuotes(text) ? 2 : 0);
}

/// Appends QuoteIfNeeded(`text`) to `to` without a temporary text.
void AppendQuotedIfNeeded(std::string& to, std::string_view text);

/// A text as a list holds it: QuoteIfNeeded(`text`), then one space. Made once for a text that
/// goes into several lists, so that whether it is quoted is decided once.
struct TListEntry {
  explicit TListEntry(std::string_view text) : Text(text), Quoted(NeedsQuotes(text)) {}

  std::string_view Text;
  bool Quoted;

  std::size_t Size() const { return Text.size() + (Quoted ? 3 : 1); }
  /// Calls `visit` with the entry's pieces in order, as views of Text and of fixed texts.
  template <typename Visit>
  void ForEachPiece(Visit visit) const {
    if (Quoted) visit(std::string_view("\""));
    visit(Text);
    visit(std::string_view(Quoted ? "\" " : " "));
  }
};

/// Calls `visit` with each stretch of `text` around the occurrences of `separator`, found
/// regardless of ASCII case from the left and without overlap (only the first when
/// `first_only`), in order: one stretch more than there are occurrences. An empty separator
/// occurs nowhere. Needs no memory, so that the end of a run out of memory can use it too.
template <typename Visit>
void SplitNoCase(std::string_view text, std::string_view separator, bool first_only, Visit visit) {
  std::size_t from = 0;
  for (std::size_t at = 0; !separator.empty() && at + separator.size() <= text.size();) {
    if (!platform::EqualsAsciiNoCase(text.substr(at, separator.size()), separator)) {
      ++at;
      continue;
    }
    visit(text.substr(from, at - from));
    at += separator.size();
    from = at;
    if (first_only) break;
  }
  visit(text.substr(from));
}

// The parameter engine.

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

/// Whether `arg` can be a form of any switch under the current style; when false, every lookup
/// of `arg` alone finds nothing.
bool MayBeSwitch(std::string_view arg);

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

// Validation.

/// The same for an entry made already.
void AddListEntry(std::uint16_t& count, std::string& list, const TListEntry& entry);

/// Starts the module for a run: both statistics records empty and named.
void StartValidation();
/// Gives every variable of the module its starting value and releases what it holds.
void ResetValidation();

// The report.

/// The command line as the user entered it, program included; set at start-up where the
/// system keeps one, else made by the report when it first shows it.
extern std::string CommandLineText;

/// The command-line text for a system that keeps only the argument list: the program as
/// invoked, then each argument (`text_of` gives its text), every element quoted when needed,
/// joined by single spaces.
template <typename Arguments, typename TextOf>
std::string JoinCommandLine(std::string_view invoked, const Arguments& arguments, TextOf text_of) {
  std::size_t size = QuotedSize(invoked);
  for (const auto& argument : arguments) size += 1 + QuotedSize(text_of(argument));
  std::string text;
  text.reserve(size);
  AppendQuotedIfNeeded(text, invoked);
  for (const auto& argument : arguments) {
    text.push_back(' ');
    AppendQuotedIfNeeded(text, text_of(argument));
  }
  return text;
}
/// The same for arguments that are texts themselves.
std::string JoinCommandLine(std::string_view invoked, const TStringArray& arguments);

/// Starts the report for a run: sets ExecutionPath from the full path of the running executable
/// and CommandLineText to `command_line`. Where the system keeps no command line,
/// `make_command_line` makes it when the report first shows it, which most runs never do.
void StartReport(std::string_view executable_path, std::string command_line,
                 std::function<std::string()> make_command_line);
/// Gives every variable of the module its starting value and releases what it holds;
/// PauseServices stays as it is.
void ResetReport();

// The channels.

/// Binds the channels for a run.
void StartChannels(const TTextChannel& output, const TTextChannel& error);
/// Binds them to the standard streams again, and gives LineEnd CR LF again.
void ResetChannels();
/// Makes standard output buffered for the rest of the run.
void BufferOutput();
/// What buffered standard output holds, not yet written: for the end of a run out of memory,
/// which must hand it over without allocating. Empty where the output is bound to a text.
std::string_view PendingOutput();
/// Ends the run because a write to `channel` failed for `reason`: throws TWriteFailure.
[[noreturn]] void FatalWriteError(const TTextChannel& channel, std::string reason);

// The identity.

/// Full path of the running executable, as the run was started with it: the identity's source.
extern std::string ExecutableFullPath;
/// Starts the module for a run of the executable at `executable_path`: no identity yet, no
/// banner shown, the locale's settings read afresh when first needed.
void StartBanner(std::string executable_path);
/// Gives every variable of the module its starting value and releases what it holds.
void ResetBanner();

/// The tool that RunTool is running, whose copyright and attribution MakeVersionInfo takes;
/// nullptr outside a run.
const TToolRec* RunningTool();

// Paths.

/// Calls `visit` with the pieces of the program's base name: `file_name` without any occurrence
/// of its extension, in any case ("a.exe.b.EXE" gives "a" and ".b"). Needs no memory, so that
/// the end of a run out of memory can name the program too.
template <typename Visit>
void ForEachBaseNamePiece(std::string_view file_name, Visit visit) {
  SplitNoCase(file_name, FileExtensionOf(file_name), false, visit);
}

// Dates.

/// Forgets the settings, so that the next run reads the locale afresh; start-up and shutdown
/// call it.
void ResetDates();

}  // namespace core
