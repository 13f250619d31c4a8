// SPDX-License-Identifier: MIT
// The standard ways out of a run that every tool shares: help, and a command line that cannot be
// accepted, each with its banner, report, help screen and exit code.
#pragma once

#include <string_view>

#include "core/tool.h"

namespace core {

/// Judges the line after the tool's switches are declared and takes the standard ways out.
/// First debug mode turns on both error modes, HelpRequested is set from the help, version-only
/// and information switches, and GetParamStatistics fills CustomSyntaxStats with the essential
/// list of `tool`'s Switches. Then, on a valid line or one that asks for information: with the
/// help switch, the banner (the build line too when verbose), the full help and 255, and false;
/// otherwise true, and the tool decides the rest. On any other line the first of these, with
/// ReportInvalidSyntax, and false: a switch without its value (67), an argument that no switch
/// recognises (65), no essential switch (64). Throws what writing throws.
bool JudgeCommandLine(const TToolRec& tool);

/// The invalid-syntax way out: the banner, the report of `message` in the form that
/// `report_style` selects (0: plain, else see-below; none for an empty message), the tool's
/// help screen (`brief` or full), and `exit_code` as ExitCode.
void ReportInvalidSyntax(const TToolRec& tool, int report_style, int exit_code,
                         std::string_view message, bool brief);

/// Writes `tool`'s help screen: its ShowHelp, or the usage line and, unless `brief`, an empty
/// line and the option lines of its Switches.
void ShowToolHelp(const TToolRec& tool, bool brief);

/// The banner of a run that goes on to its work: shown where BannerAllowed holds and the banner
/// or the verbose switch is found, with the build line when verbose.
void ShowRunBanner();

}  // namespace core
