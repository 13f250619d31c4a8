// SPDX-License-Identifier: MIT
// Declaring the switches and walking the command line to transform and write the values.
#include "app/switches.h"

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

// What each transformation switch does with its value; the rows name theirs by Tag.
enum TTransformation : std::uint8_t { tfUpper, tfLower, tfProper, tfInvert, tfMirror, tfWords };

struct TTransformRec {
  std::string (*Apply)(std::string_view);
  bool Reversible;  ///< -r mirrors the result; -m is never mirrored twice
};

constexpr TTransformRec TransformOf[] = {
    {ToUpperCase, true},
    {ToLowerCase, true},
    {[](std::string_view v) { return ToProperCase(v, ProperCaseDelims); }, true},
    {InvertCase, true},
    {MirrorText, false},
    {[](std::string_view v) { return ReverseWords(v, ActiveWordDelims); }, true},
};

// Without -a every transformation switch needs a non-empty value. Only the value switches read
// the flags, and all of them are declared after -a.
void CompleteValueFlags() {
  if (AllowBlanksParam.Found) {
    core::ParamFlags -= core::pfNoBlankValues | core::pfNoBlankFirstValue;
  } else {
    core::ParamFlags |= core::pfNoBlankValues | core::pfNoBlankFirstValue;
  }
}

// The order is behaviour: a switch declared earlier cannot be taken as a later one's value. The
// transformations come last, in the order in which they apply at one position.
constexpr core::TSwitchRow Table[] = {
    {.Aliases = "  DEBUG DEBUG-MODE", .Record = &core::DebugModeParam},
    {.Aliases = "  ERROR-DELAY",
     .Kind = core::swBool,
     .Record = &core::ErrorDelayParam,
     .Setting = &core::ErrorDelay},
    {.Aliases = "  AUDIBLE-ERROR",
     .Kind = core::swBool,
     .Record = &core::AudibleErrorParam,
     .Setting = &core::AudibleError},
    {.Aliases = "H HELP ? H2 HELP2 ??", .Record = &core::HelpParam},
    {.Aliases = "V VERBOSE BUILD H2 HELP2 ??", .Record = &core::VerboseParam},
    {.Aliases = "  VERSION-ONLY BUILD-ONLY", .Record = &core::VersionOnlyParam},
    {.Aliases = "  INFO", .Record = &core::InfoParam},
    {.Aliases = "B BANNER", .Record = &core::BannerParam},
    {.Aliases = "A ALLOW-BLANKS", .Record = &AllowBlanksParam, .Declared = CompleteValueFlags},
    {.Aliases = "O ONE-LINE", .Record = &OneLineParam},
    {.Aliases = "N NO-SPACES", .Record = &NoSpacesParam},
    {.Aliases = "R REVERSE-ALL", .Record = &ReverseAllParam},
    {.Aliases = "X EXTENDED-DELIMS", .Record = &ExtendedDelimsParam},
    {.Aliases = "U UPPER",
     .Kind = core::swValue,
     .Record = &UpperParam,
     .Repeats = true,
     .Essential = true,
     .Tag = tfUpper},
    {.Aliases = "L LOWER",
     .Kind = core::swValue,
     .Record = &LowerParam,
     .Repeats = true,
     .Essential = true,
     .Tag = tfLower},
    {.Aliases = "P PROPER",
     .Kind = core::swValue,
     .Record = &ProperParam,
     .Repeats = true,
     .Essential = true,
     .Tag = tfProper},
    {.Aliases = "I INVERT",
     .Kind = core::swValue,
     .Record = &InvertParam,
     .Repeats = true,
     .Essential = true,
     .Tag = tfInvert},
    {.Aliases = "M MIRROR",
     .Kind = core::swValue,
     .Record = &MirrorParam,
     .Repeats = true,
     .Essential = true,
     .Tag = tfMirror},
    {.Aliases = "W REVERSE-WORDS",
     .Kind = core::swValue,
     .Record = &ReverseWordsParam,
     .Repeats = true,
     .Essential = true,
     .Tag = tfWords},
};

}  // namespace

constinit const std::span<const core::TSwitchRow> Switches = Table;

void SetUpSwitchStyle() {
  core::SwitchStyle = core::ssAttachedValues;
  core::ParamFlags = core::pfFindAll;
}

void DeclareSwitches() { core::DeclareSwitches(Switches); }

void ProcessArguments() {
  // The output settings are the same at every position: set once, they cost nothing per
  // argument.
  std::string_view separator = core::LineEnd;
  if (OneLineParam.Found) separator = NoSpacesParam.Found ? "" : " ";
  ResultSeparator.assign(separator);
  ActiveWordDelims = ExtendedDelimsParam.Found ? ExtendedWordDelims : BasicWordDelims;
  core::ForEachOccurrence(Switches, [](const core::TOccurrence& occurrence) {
    const TTransformRec& transform = TransformOf[occurrence.Row->Tag];
    std::string result = transform.Apply(occurrence.Value);
    if (transform.Reversible && ReverseAllParam.Found) result = MirrorText(result);
    core::Write(core::OutputChannel, result, ResultSeparator);
  });
  if (!core::ParamStatus.empty() && OneLineParam.Found) {
    core::Write(core::OutputChannel, core::LineEnd);
  }
}

void ResetSwitches() {
  for (const core::TSwitchRow& row : Switches) *row.Record = core::TFindParamRec();
  ResultSeparator = std::string(core::LineEnd);
  ActiveWordDelims = BasicWordDelims;
}

}  // namespace app
