// SPDX-License-Identifier: MIT
// Bytecount: writes the number of bytes of each text given after -c, and their sum with -t.
// A complete console tool on QuillonCore; docs/library.md walks through it.
#include <string>

#include "core/banner.h"
#include "core/channels.h"
#include "core/frame.h"
#include "core/switch_table.h"

namespace {

// The tool's own switch records; the frame empties them before and after every run.
core::TFindParamRec TotalParam, CountParam;

// Each switch once, in the order of its declaration: a switch declared earlier is never taken
// as a later one's value.
constexpr core::TSwitchRow Switches[] = {
    {.Aliases = "H HELP ?", .Record = &core::HelpParam, .Help = "Show this help"},
    {.Aliases = "V VERBOSE", .Record = &core::VerboseParam, .Help = "Name the build at the end"},
    {.Aliases = "T TOTAL", .Record = &TotalParam, .Help = "Write the sum of the counts"},
    {.Aliases = "C COUNT",
     .Kind = core::swValue,
     .Record = &CountParam,
     .Repeats = true,
     .Required = true,
     .Essential = true,
     .ValueName = "<text>",
     .Help = "Count the bytes of <text>"},
};

// Writes the length of every -c's text in command-line order, and their sum with -t.
void CountTexts() {
  std::size_t sum = 0;
  core::ForEachOccurrence(Switches, [&](const core::TOccurrence& count) {
    sum += count.Value.size();
    core::WriteLine(core::OutputChannel, std::to_string(count.Value.size()));
  });
  if (TotalParam.Found) core::WriteLine(core::OutputChannel, "total " + std::to_string(sum));
  // Which build counted, for a log: after the counts, on standard error.
  if (core::VerboseParam.Found) core::ShowBanner(core::AppVersionInfo, true, false);
}

const core::TToolRec Bytecount = {
    .Body = CountTexts,
    .Attribution = "An example of a console tool on the QuillonCore library.",
    .Version = "1.0",
    .FullVersion = "1.0.0.1",
    .Description = "Count the bytes of strings",
    .Switches = Switches,
    .Syntax = "[-t] [-v] -c <text> [-c <text> ...]",
};

}  // namespace

int main(int argc, char** argv) { return core::RunMain(argc, argv, Bytecount); }
