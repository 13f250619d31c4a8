// SPDX-License-Identifier: MIT
// Bytecount: writes the number of bytes of each text given after -c, and their sum with -t.
// A complete console tool on QuillonCore; docs/library.md walks through it.
#include <string>

#include "core/banner.h"
#include "core/frame.h"  // and with it the rows and the channels

namespace {

core::TFindParamRec TotalParam;  // the frame empties every row's record before and after a run
std::string::size_type Sum;      // of the texts' sizes

// Writes the length of one -c's text, as the body meets them in command-line order.
void CountBytes(const core::TOccurrence& text) {
  Sum += text.Value.size();
  core::WriteLine(core::OutputChannel, std::to_string(text.Value.size()));
}

// Each switch once, in the order of the help: its aliases, where its answer goes, its help.
constexpr core::TSwitchRow Switches[] = {
    core::Flag("H HELP ?", &core::HelpParam, "Show this help"),
    core::Flag("V VERBOSE", &core::VerboseParam, "Name the build at the end"),
    core::Flag("T TOTAL", &TotalParam, "Write the sum of the counts"),
    core::Value("C COUNT", core::vrNonEmpty, CountBytes, "<text>", "Count the bytes of <text>",
                core::roRepeats | core::roEssential),
};

void CountTexts() {
  Sum = 0;
  core::ActOnOccurrences(Switches);
  if (TotalParam.Found) core::WriteLine(core::OutputChannel, "total " + std::to_string(Sum));
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
