// SPDX-License-Identifier: MIT
// The help screen's fixed texts; only the program's own name varies.
#include "app/help.h"

#include <span>
#include <string>

#include "core/banner.h"
#include "core/params.h"
#include "core/report.h"

namespace app {
namespace {

// Lines that follow the program's name.
constexpr std::string_view SyntaxLines[] = {
    " [options] <options> <text> ...",
    " [-a] [-o [-n]] [-b|-v] [-x] [-r] <-u|-L|-p|-i|-m|-w> <text>",
    " [-h|-?|--h2|--??] [-v]",
    " [--Info|--Version-Only]",
};
constexpr bool EmptyLineAfterSyntax[] = {true, true, false, true};

constexpr std::string_view OptionLines[] = {
    " -u, --upper ............... Convert string to all uppercase",
    " -L, --Lower ............... Convert string to all lowercase",
    " -p, --proper .............. Convert string to Proper Name Case",
    " -i, --invert .............. Invert the case of every character in the string",
    " -m, --mirror .............. Reverse the string from left to right by individual characters",
    " -w, --reverse-words ....... Reverse the string from left to right by whole words",
    " -r, --reverse-all ......... Reverse all strings (by character) in addition to other "
    "processing",
    " -a, --allow-blanks ........ Allow processing even if all input strings are blank",
    " -o, --one-line ............ Process all provided case changes on a single line",
    " -n, --no-spaces ........... Do not put spaces between each string when using -O",
    " -x, --extended-delims ..... Use \";\" and \",\" as word delimiters for -W, in addition to "
    "\" \"",
    " -b, --banner .............. Display banner information on each program execution",
    " -v, --verbose, --build .... Display extended build information, plus application "
    "exit/return codes",
    " -h, --help, -? ............ Display this help message.",
    "     --h2, --??, --help2 ... Display extended help information, plus exit/return codes",
    "     --info ................ Display banner and build information, then exit.",
    "     --version-only ........ Display build information without banner, then exit.",
};

// Shown only with the verbose switch, after the --version-only line.
constexpr std::string_view VerboseOptionLines[] = {
    "     --audible-error ....... Enable a beep on syntax error.",
    "     --error-delay ......... Enable a ~7 second delay on syntax error.",
    "     --debug-mode .......... Enable debug mode, which includes enabling Audible Error and "
    "Error Delay.",
};

constexpr std::string_view ExampleLines[] = {
    " -p \"bob\"",
    " -u \"Some Set of Characters\"",
    " -v -L \"WHAT IS THIS ABOUT?\"",
    " -b -i \"sOME oTHER lETTERS...\"",
    " -m \"Make This One Backwards\"",
    " -w \"Change the order of;this sentence\"",
    " -w \"Change the order of;this sentence\" -x",
    " -L \"MULTIPLE\" -p \"ENTRIES\" -U \"allowed\" -M \"Even This\"",
    " -p \"all\" -L \"On\" -U \"One\" -p \"LINE --\" -m \"Backwards\" -p \"& Forwards\" -o",
    " -p \"IT'S not that hard to handle BOB'S writing, is it?\" -u \"No!!\"",
    " -p \"make\" -L \"These\" -U \"All\" -p \"REVERSED\" -o -r",
    " -P \"ABCDEFG\" -U \"hijklmn\" -L \"OPQRSTU\" -I \"vWxYz-\" -m \"01234\" -o -n",
    " -p \"\" -u \"\" -a",
    " -h",
};

// The first general note names the program; it is written apart.
constexpr std::string_view GeneralNoteLines[] = {
    " * Parameters surrounded by <> are mandatory; Those surrounded by [] are optional.",
    " * Parameters are case-insensitive, but may be shown in uppercase for clarity.",
    " * Single-character parameters (e.g. -h) can be prefaced by \"-\" or \"/\".",
    " * Multi-character parameters (e.g. --help) should be prefaced by \"--\".",
    " * All parameters need to be separated from each other by at least one space.",
    " * The -H, --?? --Version-Only and --Info parameters supersede all other options -- in that "
    "order.",
    " * The -V parameter causes application build mode info to be shown whenever the banner is "
    "shown.",
    " * Combining -H/-? and -V will display extended help info plus application exit/return "
    "codes.",
    " * The --?? parameter behaves like the -H/-? and -V parameters combined.",
    " * The --Info parameter will ONLY show the banner, with build info, and quit.  It will "
    "process no other data.",
    " * The --Version-Only parameter behaves like the -I parameter, but without showing the "
    "banner.",
    " * The application banner is only displayed when Help Syntax is displayed, or when -B is "
    "used.",
};

constexpr std::string_view AppNoteLines[] = {
    " * Multiple instances of -U, -L, -P, -I, -M or -W will be displayed in sequence, on "
    "individual lines.",
    " * The strings to be changed must immediately follow the -U, -L, -P, -I, -M and -W "
    "parameters.",
    " * The -R parameter can be used in conjunction with the -U, -L, -P, -I or -W parameters to "
    "reverse all strings.",
    " * If both -M and -R are used, only one mirror action will be performed on the string in "
    "question.",
    " * When -R is used, it is the last operation done on the string. This will impact -P and -I "
    "particularly.",
    " * By default, the -W parameter uses only the \" \" as a word delimiter.  Use -X to add \";\" "
    "and \",\".",
    " * Using -O will general a space between each string, unless the -N paramter is also used.",
    " * Long strings must be enclosed in double quotes (\"\").",
};

constexpr std::string_view ExitCodeLines[] = {
    " * Exit/Return Codes will be generated for the following conditions:",
    "      0 - Command Completed Successfully",
    "     64 - Missing Necessary/Essential Parameters",
    "     65 - Invalid parameters were found",
    "     67 - Parameters are missing mandatory values",
    "    255 - Syntax Help Requested",
};

void WriteLines(std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) core::WriteLine(core::OutputChannel, line);
}

void WriteLineAndGap(std::string_view line) {
  core::WriteLineAndEmptyLine(core::OutputChannel, line);
}

void WriteLinesAndGap(std::span<const std::string_view> lines) {
  WriteLines(lines.first(lines.size() - 1));
  WriteLineAndGap(lines.back());
}

// A title between two dividers as long as the title.
void WriteSectionTitle(std::string_view title) {
  core::WriteDividerLine(static_cast<int>(title.size()), false);
  core::WriteLine(core::OutputChannel, title);
  core::WriteDividerLine(static_cast<int>(title.size()), false);
}

}  // namespace

void ShowHelp(bool brief) {
  const std::string& name = core::AppVersionInfo.BaseName;
  const bool verbose = core::VerboseParam.Found;

  WriteSectionTitle("CMD SYNTAX:");
  for (std::size_t i = 0; i < std::size(SyntaxLines); ++i) {
    const std::string line = " " + name + std::string(SyntaxLines[i]);
    if (EmptyLineAfterSyntax[i]) {
      WriteLineAndGap(line);
    } else {
      core::WriteLine(core::OutputChannel, line);
    }
  }
  if (brief) {
    core::WriteLine(core::OutputChannel,
                    "For more details, please type: " + name + " -?  OR  " + name + " --??");
    return;
  }

  WriteSectionTitle("OPTION DEFINITIONS:");
  if (verbose) {
    WriteLines(OptionLines);
    WriteLinesAndGap(VerboseOptionLines);
  } else {
    WriteLinesAndGap(OptionLines);
  }

  WriteSectionTitle("SYNTAX EXAMPLES:");
  for (std::size_t i = 0; i < std::size(ExampleLines); ++i) {
    const std::string line = " " + name + std::string(ExampleLines[i]);
    if (i + 1 == std::size(ExampleLines)) {
      WriteLineAndGap(line);
    } else {
      core::WriteLine(core::OutputChannel, line);
    }
  }
  if (!verbose) return;

  WriteSectionTitle("GENERAL USAGE NOTES:");
  core::WriteLine(core::OutputChannel,
                  " * Entering " + name + " with no parameters will display this help message.");
  WriteLinesAndGap(GeneralNoteLines);
  WriteSectionTitle("APP SPECIFIC USAGE NOTES:");
  WriteLinesAndGap(AppNoteLines);
  WriteSectionTitle("EXIT/RETURN CODES:");
  WriteLines(ExitCodeLines);
}

}  // namespace app
