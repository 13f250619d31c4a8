// SPDX-License-Identifier: MIT
// Declaring the switches and walking the command line to transform and write the values.
#include "app/switches.h"

#include <array>
#include <cstdint>
#include <span>

#include "core/library.h"
#include "core/report.h"

namespace app {

// Defined bare: ResetSwitches alone gives them their starting values.
core::TFindParamRec AllowBlanksParam, OneLineParam, NoSpacesParam, ReverseAllParam,
    ExtendedDelimsParam, UpperParam, LowerParam, ProperParam, InvertParam, MirrorParam,
    ReverseWordsParam;
std::string ResultSeparator;
ByteSet ActiveWordDelims;

namespace {

enum TDeclarationKind : std::uint8_t { dkFlag, dkBool, dkValue };

struct TDeclaration {
  std::string_view Aliases;
  TDeclarationKind Kind;
  core::TFindParamRec* Record;
  bool* Setting = nullptr;                           ///< receives Found, for dkBool
  std::string (*Apply)(std::string_view) = nullptr;  ///< the transformation, for dkValue
  bool Reversible = false;  ///< -r mirrors the result; -m is never mirrored twice
};

// The order is behaviour: a switch declared earlier cannot be taken as a later one's value. The
// transformations come last, in the order in which they apply at one position.
const std::array<TDeclaration, 19> Declarations = {{
    {"  DEBUG DEBUG-MODE", dkFlag, &core::DebugModeParam},
    {"  ERROR-DELAY", dkBool, &core::ErrorDelayParam, &core::ErrorDelay},
    {"  AUDIBLE-ERROR", dkBool, &core::AudibleErrorParam, &core::AudibleError},
    {"H HELP ? H2 HELP2 ??", dkFlag, &core::HelpParam},
    {"V VERBOSE BUILD H2 HELP2 ??", dkFlag, &core::VerboseParam},
    {"  VERSION-ONLY BUILD-ONLY", dkFlag, &core::VersionOnlyParam},
    {"  INFO", dkFlag, &core::InfoParam},
    {"B BANNER", dkFlag, &core::BannerParam},
    {"A ALLOW-BLANKS", dkFlag, &AllowBlanksParam},
    {"O ONE-LINE", dkFlag, &OneLineParam},
    {"N NO-SPACES", dkFlag, &NoSpacesParam},
    {"R REVERSE-ALL", dkFlag, &ReverseAllParam},
    {"X EXTENDED-DELIMS", dkFlag, &ExtendedDelimsParam},
    {"U UPPER", dkValue, &UpperParam, nullptr, ToUpperCase, true},
    {"L LOWER", dkValue, &LowerParam, nullptr, ToLowerCase, true},
    {"P PROPER", dkValue, &ProperParam, nullptr,
     [](std::string_view v) { return ToProperCase(v, ProperCaseDelims); }, true},
    {"I INVERT", dkValue, &InvertParam, nullptr, InvertCase, true},
    {"M MIRROR", dkValue, &MirrorParam, nullptr, MirrorText, false},
    {"W REVERSE-WORDS", dkValue, &ReverseWordsParam, nullptr,
     [](std::string_view v) { return ReverseWords(v, ActiveWordDelims); }, true},
}};
// The library's standard switches come first, then the program's own, the modifiers and the
// transformations.
const std::span<const TDeclaration, 13> Modifiers = std::span(Declarations).first<13>();
const std::span<const TDeclaration, 11> OwnSwitches = std::span(Declarations).last<11>();
const std::span<const TDeclaration, 6> Transformations = std::span(Declarations).last<6>();

void Declare(const TDeclaration& d) {
  core::TFindParamRec rec;
  std::string value;
  switch (d.Kind) {
    case dkFlag:
      core::FindParamFlag(rec, core::ParamStatus, d.Aliases, core::TParamFlags{}, -1, core::skFrom);
      break;
    case dkBool:
      core::FindParamBool(rec, core::ParamStatus, d.Aliases, *d.Setting, -1, core::skFrom);
      break;
    case dkValue:
      core::FindParamValue(rec, core::ParamStatus, d.Aliases, value, core::ParamFlags, -1,
                           core::skFrom);
      break;
  }
  *d.Record = std::move(rec);
}

// The processing loop honours a value attached after ':' or '=' as validation accepts it, so
// that -u:abc is not a silent no-op. The written value is the whole attachment: the record keeps
// only its first 999 bytes, and output must not lose the rest.
bool MatchAttached(core::TFindParamRec& rec, std::string_view arg, std::string_view aliases,
                   std::string_view& value) {
  return core::ForEachAliasWord(aliases, [&](std::string_view word) {
    core::TFindParamRec match;
    if (!core::MatchSwitchArg(word, arg, match) || !match.Attached) return false;
    rec = std::move(match);
    rec.Index = rec.ParamIndex = 0;
    value = arg.substr(rec.Text.size() + 1);
    rec.Found = !(core::FirstValueRequired(core::ParamFlags) && value.empty());
    return true;
  });
}

}  // namespace

void SetUpSwitchStyle() {
  core::SwitchStyle = core::ssAttachedValues;
  core::ParamFlags = core::pfFindAll;
}

void DeclareSwitches() {
  for (const TDeclaration& d : Modifiers) Declare(d);
  // Without -a every transformation switch needs a non-empty value.
  if (AllowBlanksParam.Found) {
    core::ParamFlags -= core::pfNoBlankValues | core::pfNoBlankFirstValue;
  } else {
    core::ParamFlags |= core::pfNoBlankValues | core::pfNoBlankFirstValue;
  }
  for (const TDeclaration& d : Transformations) Declare(d);
}

void ProcessArguments() {
  // Declarations never change an argument's text: the table holds the command line.
  const core::TParamStatusArray& args = core::ParamStatus;
  const std::size_t n = args.size();
  // The output settings are the same at every position: set once, they cost nothing per
  // argument.
  std::string_view separator = core::LineEnd;
  if (OneLineParam.Found) separator = NoSpacesParam.Found ? "" : " ";
  ResultSeparator.assign(separator);
  ActiveWordDelims = ExtendedDelimsParam.Found ? ExtendedWordDelims : BasicWordDelims;
  const bool attached_allowed = core::AllowsAttachedValues(core::SwitchStyle);
  std::array<std::string_view, Transformations.size()> values;
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view arg = args[i].Param;
    const std::string_view next =
        i + 1 < n ? std::string_view(args[i + 1].Param) : std::string_view();
    const bool attachable = attached_allowed && core::FindAttachSeparator(arg) != std::string::npos;
    // An argument that cannot be a switch matches none of the six; the lookups would only
    // confirm it, once per switch and argument.
    const bool may_be_switch = core::MayBeSwitch(arg);
    // No word stands in two of the six lists: once one matches, the others cannot.
    bool matched = false;
    for (std::size_t t = 0; t < Transformations.size(); ++t) {
      core::TFindParamRec& rec = *Transformations[t].Record;
      if (!may_be_switch || matched) {
        core::ClearFindParamRec(rec);
        values[t] = {};
        continue;
      }
      core::MatchParamAt(rec, arg, Transformations[t].Aliases, next, 1, core::ParamFlags);
      values[t] = rec.Value1;
      if (rec.Index == -1 && attachable) {
        MatchAttached(rec, arg, Transformations[t].Aliases, values[t]);
      }
      matched = rec.Index != -1;
    }
    for (std::size_t t = 0; t < Transformations.size(); ++t) {
      if (!Transformations[t].Record->Found) continue;
      std::string result = Transformations[t].Apply(values[t]);
      if (Transformations[t].Reversible && ReverseAllParam.Found) result = MirrorText(result);
      core::Write(core::OutputChannel, result, ResultSeparator);
    }
    if (i + 1 == n && OneLineParam.Found) core::Write(core::OutputChannel, core::LineEnd);
  }
}

void ResetSwitches() {
  // The standard switches' records are the library's, which its shutdown resets.
  for (const TDeclaration& d : OwnSwitches) *d.Record = core::TFindParamRec();
  ResultSeparator = std::string(core::LineEnd);
  ActiveWordDelims = BasicWordDelims;
}

}  // namespace app
