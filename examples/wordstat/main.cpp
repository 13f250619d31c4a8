// SPDX-License-Identifier: MIT
// Wordstat: counts the characters of each text after -c and the words of each text after -w,
// in command-line order, and their totals with -s. The library guide's second example.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/channels.h"
#include "core/frame.h"
#include "core/switch_table.h"
#include "core/verdict.h"

namespace {

enum TCount { ctChars, ctWords };

core::TFindParamRec SummaryParam, QuietParam, CharsParam, WordsParam;

// The rows in the order of their declaration; the help shows the two counts first.
constexpr core::TSwitchRow Switches[] = {
    {.Aliases = "H HELP ?", .Record = &core::HelpParam, .Help = "Show this help", .HelpOrder = 2},
    {.Aliases = "V VERBOSE",
     .Record = &core::VerboseParam,
     .Help = "Show the build",
     .HelpOrder = 1},
    {.Aliases = "B BANNER",
     .Record = &core::BannerParam,
     .Help = "Show the banner",
     .HelpOrder = 1},
    {.Aliases = "S SUMMARY",
     .Record = &SummaryParam,
     .Help = "End with the totals",
     .HelpOrder = 1},
    {.Aliases = "Q QUIET", .Record = &QuietParam, .Help = "Write the totals only", .HelpOrder = 1},
    {.Aliases = "C CHARS",
     .Kind = core::swValue,
     .Record = &CharsParam,
     .Repeats = true,
     .Required = true,
     .Essential = true,
     .Tag = ctChars,
     .ValueName = "<text>",
     .Help = "Count the characters of <text>"},
    {.Aliases = "W WORDS",
     .Kind = core::swValue,
     .Record = &WordsParam,
     .Repeats = true,
     .Required = true,
     .Essential = true,
     .Tag = ctWords,
     .ValueName = "<text>",
     .Help = "Count the words of <text>"},
};

// UTF-8: every byte but a continuation byte begins a character.
std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::size_t Words(std::string_view text) {
  std::size_t count = 0;
  bool inside = false;
  for (const char c : text) {
    const bool blank = c == ' ' || c == '\t';
    count += !blank && !inside;
    inside = !blank;
  }
  return count;
}

void Count() {
  core::ShowRunBanner();
  std::size_t totals[2] = {};
  core::ForEachOccurrence(Switches, [&](const core::TOccurrence& text) {
    const bool chars = text.Row->Tag == ctChars;
    const std::size_t count = chars ? Characters(text.Value) : Words(text.Value);
    totals[text.Row->Tag] += count;
    if (QuietParam.Found) return;
    core::WriteLine(core::OutputChannel, (chars ? "chars " : "words ") + std::to_string(count));
  });
  if (!SummaryParam.Found && !QuietParam.Found) return;
  core::WriteLine(core::OutputChannel, "total " + std::to_string(totals[ctChars]) + " chars, " +
                                           std::to_string(totals[ctWords]) + " words");
}

const core::TToolRec Wordstat = {
    .Body = Count,
    // Settings are made here, after start-up: -c:text and --words=text.
    .SetUp = [] { core::SwitchStyle = core::ssAttachedValues; },
    .LineEnd = "\n",  // its lines feed sort and wc
    .Version = "1.0",
    .FullVersion = "1.0.0.1",
    .Description = "Count the characters and words of texts",
    .Switches = Switches,
    .Syntax = "[-s|-q] [-b|-v] <-c|-w> <text> ...",
};

}  // namespace

int main(int argc, char** argv) { return core::RunMain(argc, argv, Wordstat); }
