// SPDX-License-Identifier: MIT
// excerpt: writes the first lines of each file, or of standard input. The library guide's third
// example: operands, numbers and buffered output.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "core/frame.h"  // and with it the rows and the channels

namespace {

core::TFindParamRec NumbersParam, QuietParam, VerboseParam;
std::int64_t Count, Width;              // -n, and -l's width
std::vector<std::string_view> Dropped;  // the -d lines, views of the command line
std::size_t LinesWritten, FilesRead;

void Drop(const core::TOccurrence& line) { Dropped.push_back(line.Value); }

constexpr core::TSwitchRow Switches[] = {
    core::Number("N LINES", core::vrRequired, &Count, {1, 1000000, 10}, "<count>",
                 "Write the first <count> lines of each file (10)"),
    core::Value("D DROP", core::vrRequired, Drop, "<line>", "Leave out every line equal to <line>",
                core::roRepeats),
    core::Number("L LINE-NUMBERS", core::vrAttached, &Width, {1, 20, 6}, "<width>",
                 "Number the lines, in <width> columns (6)")
        .WithRecord(&NumbersParam),
    core::Flag("Q QUIET", &QuietParam, "Write no headers"),
    core::Flag("V VERBOSE", &VerboseParam, "Count the lines and files, on standard error"),
    core::Flag("H HELP ?", &core::HelpParam, "Show this help"),
};

// Writes the first lines of the file `operand` names, after its header; false, with the system's
// reason on standard error, when it cannot be read.
bool WriteExcerpt(std::string_view operand, bool header) {
  const bool standard = operand == "-";
  const std::string name = standard ? "standard input" : std::string(operand);
  std::FILE* file = standard ? stdin : std::fopen(name.c_str(), "rb");
  int c = file == nullptr ? EOF : std::getc(file);  // a folder fails here, at its first read
  if (file == nullptr || std::ferror(file)) {
    core::WriteErrorLine(name + ": " + std::strerror(errno));
    if (file != nullptr && !standard) std::fclose(file);
    return false;
  }
  ++FilesRead;
  if (header)
    core::WriteLine(core::OutputChannel, (FilesRead > 1 ? "\n==> " : "==> ") + name + " <==");
  std::string line;
  // n counts the lines of the file, those dropped too; the step reads past the LF.
  for (std::int64_t n = 1, written = 0; c != EOF && written < Count; ++n, c = std::getc(file)) {
    for (line.clear(); c != EOF && c != '\n'; c = std::getc(file))
      line.push_back(static_cast<char>(c));
    if (std::find(Dropped.begin(), Dropped.end(), line) != Dropped.end()) continue;
    if (NumbersParam.Found) {
      const std::string shown = std::to_string(n);
      const auto pad = std::max<std::int64_t>(Width - std::ssize(shown), 0);
      core::Write(core::OutputChannel, std::string(pad, ' ') + shown + ": ");  // a wider one whole
    }
    core::WriteLine(core::OutputChannel, line);
    ++written;
    ++LinesWritten;
  }
  if (!standard) std::fclose(file);
  return true;
}

void WriteExcerpts() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);  // a CR is part of its line here too
#endif
  core::ActOnOccurrences(Switches);  // the -d lines
  std::vector<std::string_view> files = core::GetOperands();
  if (files.empty()) files.push_back("-");
  for (const std::string_view file : files) {
    if (!WriteExcerpt(file, files.size() > 1 && !QuietParam.Found))
      core::ExitCode = core::ExitNoInput;
  }
  if (VerboseParam.Found) {
    core::WriteErrorLine(std::to_string(LinesWritten) + " lines from " + std::to_string(FilesRead) +
                         " files");
  }
}

const core::TToolRec Excerpt = {
    .Body = WriteExcerpts,
    // Its operands are paths: "/" begins no switch.
    .SetUp = [] { core::SwitchStyle = core::ssAttachedValues, core::SlashForms = false; },
    .LineEnd = "\n",
    .Version = "1.0",
    .FullVersion = "1.0.0.1",
    .Description = "Write the first lines of files",
    .Switches = Switches,
    .Operands = {"<file>", 0, SIZE_MAX},
    .BufferedOutput = true,
    .Syntax = "[-n <count>] [-d <line>]... [-l[=<width>]] [-q] [-v]",
};

}  // namespace

int main(int argc, char** argv) { return core::RunMain(argc, argv, Excerpt); }
