// SPDX-License-Identifier: MIT
// The program's switch set: its records, the nineteen declarations and the processing loop.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/transform.h"
#include "core/params.h"
#include "core/switch_table.h"

namespace app {

// The program's variables, from its start to its end; ResetSwitches gives them their starting
// values, and nothing else does.

/// The program's own switch records, filled by the declarations.
extern core::TFindParamRec AllowBlanksParam, OneLineParam, NoSpacesParam, ReverseAllParam,
    ExtendedDelimsParam, UpperParam, LowerParam, ProperParam, InvertParam, MirrorParam,
    ReverseWordsParam;

/// Written after every result: CR LF, or one space with -o, or nothing with -o and -n.
extern std::string ResultSeparator;
/// The delimiters of -w: with -x also ',' and ';'.
extern ByteSet ActiveWordDelims;

/// The nineteen switches, each described once, in the order of their declarations: the library
/// declares them, judges the line by their essential rows and walks their occurrences.
extern const std::span<const core::TSwitchRow> Switches;

/// Sets the engine's switch style (attached values) and the lookup flags (every occurrence).
void SetUpSwitchStyle();

/// Declares the nineteen switches in their fixed order; the order decides which argument is a
/// switch and which a value. Sets ErrorDelay and AudibleError from their switches.
void DeclareSwitches();

/// Walks the arguments and writes, in command-line order, the result of every transformation
/// switch that has its value, through the library's OutputChannel.
void ProcessArguments();

/// Gives the switch records and the program's output settings their starting values: empty
/// records, CR LF and the basic delimiters.
void ResetSwitches();

}  // namespace app
