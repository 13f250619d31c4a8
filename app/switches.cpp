// SPDX-License-Identifier: MIT
// Declaring the switches and walking the command line to transform and write the values.
#include "app/switches.h"

#include <array>

#include "core/library.h"
#include "core/report.h"

namespace app {

core::TFindParamRec AllowBlanksParam, OneLineParam, NoSpacesParam, ReverseAllParam,
    ExtendedDelimsParam, UpperParam, LowerParam, ProperParam, InvertParam, MirrorParam,
    ReverseWordsParam;

std::string ResultSeparator = std::string(core::LineEnd);
ByteSet ActiveWordDelims = BasicWordDelims;

namespace {

enum TDeclarationKind : std::uint8_t { dkFlag, dkBool };

struct TDeclaration {
  std::string_view Aliases;
  TDeclarationKind Kind;
  core::TFindParamRec* Record;
  bool* Setting;  ///< receives Found, for dkBool
};

// The order is behaviour: a switch declared earlier cannot be taken as a later one's value.
const std::array<TDeclaration, 13> ModifierDeclarations = {{
    {"  DEBUG DEBUG-MODE", dkFlag, &core::DebugModeParam, nullptr},
    {"  ERROR-DELAY", dkBool, &core::ErrorDelayParam, &core::ErrorDelay},
    {"  AUDIBLE-ERROR", dkBool, &core::AudibleErrorParam, &core::AudibleError},
    {"H HELP ? H2 HELP2 ??", dkFlag, &core::HelpParam, nullptr},
    {"V VERBOSE BUILD H2 HELP2 ??", dkFlag, &core::VerboseParam, nullptr},
    {"  VERSION-ONLY BUILD-ONLY", dkFlag, &core::VersionOnlyParam, nullptr},
    {"  INFO", dkFlag, &core::InfoParam, nullptr},
    {"B BANNER", dkFlag, &core::BannerParam, nullptr},
    {"A ALLOW-BLANKS", dkFlag, &AllowBlanksParam, nullptr},
    {"O ONE-LINE", dkFlag, &OneLineParam, nullptr},
    {"N NO-SPACES", dkFlag, &NoSpacesParam, nullptr},
    {"R REVERSE-ALL", dkFlag, &ReverseAllParam, nullptr},
    {"X EXTENDED-DELIMS", dkFlag, &ExtendedDelimsParam, nullptr},
}};

struct TTransformation {
  std::string_view Aliases;
  core::TFindParamRec* Record;
  std::string (*Apply)(std::string_view);
  bool Reversible;  ///< -r mirrors the result; -m is never mirrored twice
};

// Declared after the modifiers, and applied at one position in this order.
const std::array<TTransformation, 6> Transformations = {{
    {"U UPPER", &UpperParam, ToUpperCase, true},
    {"L LOWER", &LowerParam, ToLowerCase, true},
    {"P PROPER", &ProperParam, [](std::string_view v) { return ToProperCase(v, ProperCaseDelims); },
     true},
    {"I INVERT", &InvertParam, InvertCase, true},
    {"M MIRROR", &MirrorParam, MirrorText, false},
    {"W REVERSE-WORDS", &ReverseWordsParam,
     [](std::string_view v) { return ReverseWords(v, ActiveWordDelims); }, true},
}};

bool ValueRequired() {
  return (core::ParamFlags & (core::pfNoBlankValues | core::pfNoBlankFirstValue)) != 0;
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
    rec.Found = !(ValueRequired() && value.empty());
    return true;
  });
}

}  // namespace

void SetUpSwitchStyle() {
  core::SwitchStyle = core::ssAttachedValues;
  core::ParamFlags = core::pfFindAll;
}

void DeclareSwitches() {
  for (const TDeclaration& d : ModifierDeclarations) {
    core::TFindParamRec rec;
    switch (d.Kind) {
      case dkFlag:
        core::FindParamFlag(rec, core::ParamStatus, d.Aliases, 0, -1, core::skFrom);
        break;
      case dkBool:
        core::FindParamBool(rec, core::ParamStatus, d.Aliases, *d.Setting, -1, core::skFrom);
        break;
    }
    *d.Record = std::move(rec);
  }
  // Without -a every transformation switch needs a non-empty value.
  if (AllowBlanksParam.Found) {
    core::ParamFlags &=
        static_cast<core::TParamFlags>(~(core::pfNoBlankValues | core::pfNoBlankFirstValue));
  } else {
    core::ParamFlags |= core::pfNoBlankValues | core::pfNoBlankFirstValue;
  }
  std::string scratch;
  for (const TTransformation& t : Transformations) {
    core::FindParamValue(*t.Record, core::ParamStatus, t.Aliases, scratch, core::ParamFlags, -1,
                         core::skFrom);
  }
}

void ProcessArguments() {
  // Declarations never change an argument's text: the table holds the command line.
  const core::TParamStatusArray& args = core::ParamStatus;
  const std::size_t n = args.size();
  std::array<std::string_view, Transformations.size()> values;
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view arg = args[i].Param;
    const std::string_view next =
        i + 1 < n ? std::string_view(args[i + 1].Param) : std::string_view();
    const bool attachable = (core::SwitchStyle == core::ssAttachedValues ||
                             core::SwitchStyle == core::ssBareAndAttached) &&
                            core::FindAttachSeparator(arg) != std::string::npos;
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
    std::string_view separator = core::LineEnd;
    if (OneLineParam.Found) separator = NoSpacesParam.Found ? "" : " ";
    ResultSeparator.assign(separator);
    ActiveWordDelims = ExtendedDelimsParam.Found ? ExtendedWordDelims : BasicWordDelims;
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
  for (core::TFindParamRec* rec :
       {&AllowBlanksParam, &OneLineParam, &NoSpacesParam, &ReverseAllParam, &ExtendedDelimsParam,
        &UpperParam, &LowerParam, &ProperParam, &InvertParam, &MirrorParam, &ReverseWordsParam}) {
    *rec = core::TFindParamRec{};
  }
  ResultSeparator = std::string(core::LineEnd);
  ActiveWordDelims = BasicWordDelims;
}

}  // namespace app
