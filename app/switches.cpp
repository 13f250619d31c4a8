// SPDX-License-Identifier: MIT
// The switches, and the processing loop that transforms and writes their values.
#include "app/switches.h"

#include <string_view>

#include "core/channels.h"
#include "core/library.h"

namespace app {

// Defined bare: ResetSwitches alone gives them their starting values.
std::string ResultSeparator;
ByteSet ActiveWordDelims;

namespace {

// The modifiers' answers, which the processing loop reads.
core::TFindParamRec AllowBlanksParam, OneLineParam, NoSpacesParam, ReverseAllParam,
    ExtendedDelimsParam;

// Writes the result of one transformation and its separator; -r mirrors every result but -m's,
// which is never mirrored twice.
template <std::string (*Apply)(std::string_view), bool Reversible = true>
void Transform(const core::TOccurrence& occurrence) {
  std::string result = Apply(occurrence.Value);
  if (Reversible && ReverseAllParam.Found) result = MirrorText(result);
  core::Write(core::OutputChannel, result, ResultSeparator);
}

std::string ProperCase(std::string_view text) { return ToProperCase(text, ProperCaseDelims); }
std::string WordsReversed(std::string_view text) { return ReverseWords(text, ActiveWordDelims); }

// A switch without value. Every switch of the program accepts an attached value, which this
// one ignores: "-o:yes" is -o.
constexpr core::TSwitchRow SwitchRow(std::string_view aliases, core::TFindParamRec* record) {
  return {.Aliases = aliases, .Rule = core::vrIgnored, .Record = record};
}

// A transformation: every occurrence counts, one at least must be given, and its value may be
// neither missing nor empty, unless -a was given.
constexpr core::TSwitchRow Transformation(std::string_view aliases,
                                          core::TOccurrenceAction transform) {
  core::TSwitchRow row = core::Value(aliases, core::vrNonEmpty, transform, {}, {},
                                     core::roRepeats | core::roEssential);
  row.BlankWith = &AllowBlanksParam;
  return row;
}

// The library declares the switches in this order, which is behaviour: a switch declared earlier
// cannot be taken as a later one's value. The transformations come last, in the order in which
// they are tried at one position.
constexpr core::TSwitchRow Table[] = {
    SwitchRow("  DEBUG DEBUG-MODE", &core::DebugModeParam),
    {.Aliases = "  ERROR-DELAY", .Rule = core::vrOptional, .Record = &core::ErrorDelayParam},
    {.Aliases = "  AUDIBLE-ERROR", .Rule = core::vrOptional, .Record = &core::AudibleErrorParam},
    SwitchRow("H HELP ? H2 HELP2 ??", &core::HelpParam),
    SwitchRow("V VERBOSE BUILD H2 HELP2 ??", &core::VerboseParam),
    SwitchRow("  VERSION-ONLY BUILD-ONLY", &core::VersionOnlyParam),
    SwitchRow("  INFO", &core::InfoParam),
    SwitchRow("B BANNER", &core::BannerParam),
    SwitchRow("A ALLOW-BLANKS", &AllowBlanksParam),
    SwitchRow("O ONE-LINE", &OneLineParam),
    SwitchRow("N NO-SPACES", &NoSpacesParam),
    SwitchRow("R REVERSE-ALL", &ReverseAllParam),
    SwitchRow("X EXTENDED-DELIMS", &ExtendedDelimsParam),
    Transformation("U UPPER", Transform<ToUpperCase>),
    Transformation("L LOWER", Transform<ToLowerCase>),
    Transformation("P PROPER", Transform<ProperCase>),
    Transformation("I INVERT", Transform<InvertCase>),
    Transformation("M MIRROR", Transform<MirrorText, false>),
    Transformation("W REVERSE-WORDS", Transform<WordsReversed>),
};

}  // namespace

constinit const std::span<const core::TSwitchRow> Switches = Table;

void SetUpSwitchStyle() { core::SwitchStyle = core::ssAttachedValues; }

void ProcessArguments() {
  // The output settings are the same at every position: set once, they cost nothing per
  // argument.
  std::string_view separator = core::LineEnd;
  if (OneLineParam.Found) separator = NoSpacesParam.Found ? "" : " ";
  ResultSeparator.assign(separator);
  ActiveWordDelims = ExtendedDelimsParam.Found ? ExtendedWordDelims : BasicWordDelims;
  core::ActOnOccurrences(Switches);
  if (!core::ParamStatus.empty() && OneLineParam.Found) {
    core::Write(core::OutputChannel, core::LineEnd);
  }
}

void ResetSwitches() {
  ResultSeparator = std::string(core::LineEnd);
  ActiveWordDelims = BasicWordDelims;
}

}  // namespace app
