// SPDX-License-Identifier: MIT
// The program's switch set: the nineteen rows, and the processing loop over their occurrences.
#pragma once

#include <span>
#include <string>

#include "app/transform.h"
#include "core/switch_table.h"

namespace app {

// The program's output settings, from its start to its end; ResetSwitches gives them their
// starting values, and nothing else does.

/// Written after every result: CR LF, or one space with -o, or nothing with -o and -n.
extern std::string ResultSeparator;
/// The delimiters of -w: with -x also ',' and ';'.
extern ByteSet ActiveWordDelims;

/// The nineteen switches, each described once: its alias list, what it takes, and where its
/// answer goes or what it does. The library declares them, judges the line by their essential
/// rows and hands each transformation its occurrences.
extern const std::span<const core::TSwitchRow> Switches;

/// Sets the engine's switch style: a value may be attached to any switch.
void SetUpSwitchStyle();

/// Writes, in command-line order, the result of every transformation switch that has its value,
/// through the library's OutputChannel.
void ProcessArguments();

/// Gives the program's output settings their starting values: CR LF and the basic delimiters.
/// The frame empties the rows' records itself.
void ResetSwitches();

}  // namespace app
