// SPDX-License-Identifier: MIT
// Wordstat: counts the characters of each text after -c and the words of each text after -w,
// in command-line order, and their totals with -s. The library guide's second example.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/frame.h"  // and with it the rows and the channels
#include "core/verdict.h"

namespace {

core::TFindParamRec SummaryParam, QuietParam;
std::size_t TotalChars, TotalWords;

// Adds one text's count to its total and writes it, unless -q: "chars 7".
void Tally(std::string_view what, std::size_t count, std::size_t& total) {
  total += count;
  if (!QuietParam.Found) {
    core::WriteLine(core::OutputChannel, std::string(what) + " " + std::to_string(count));
  }
}

// UTF-8: every byte but a continuation byte begins a character.
void CountChars(const core::TOccurrence& text) {
  std::size_t count = 0;
  for (const char c : text.Value) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  Tally("chars", count, TotalChars);
}

void CountWords(const core::TOccurrence& text) {
  std::size_t count = 0;
  bool inside = false;
  for (const char c : text.Value) {
    const bool blank = c == ' ' || c == '\t';
    count += !blank && !inside;
    inside = !blank;
  }
  Tally("words", count, TotalWords);
}

// In the order of the help; the library declares the value switches last.
constexpr core::TSwitchRow Switches[] = {
    core::Value("C CHARS", core::vrNonEmpty, CountChars, "<text>", "Count the characters of <text>",
                core::roRepeats | core::roEssential),
    core::Value("W WORDS", core::vrNonEmpty, CountWords, "<text>", "Count the words of <text>",
                core::roRepeats | core::roEssential),
    core::Flag("V VERBOSE", &core::VerboseParam, "Show the build"),
    core::Flag("B BANNER", &core::BannerParam, "Show the banner"),
    core::Flag("S SUMMARY", &SummaryParam, "End with the totals"),
    core::Flag("Q QUIET", &QuietParam, "Write the totals only"),
    core::Flag("H HELP ?", &core::HelpParam, "Show this help"),
};

void Count() {
  core::ShowRunBanner();
  TotalChars = TotalWords = 0;
  core::ActOnOccurrences(Switches);
  if (!SummaryParam.Found && !QuietParam.Found) return;
  core::WriteLine(core::OutputChannel, "total " + std::to_string(TotalChars) + " chars, " +
                                           std::to_string(TotalWords) + " words");
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
    .BufferedOutput = true,  // its lines leave in large blocks
    .Syntax = "[-s|-q] [-b|-v] <-c|-w> <text> ...",
};

}  // namespace

int main(int argc, char** argv) { return core::RunMain(argc, argv, Wordstat); }
