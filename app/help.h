// SPDX-License-Identifier: MIT
// The help screen: the program's whole user documentation, in a brief and a full form.
#pragma once

#include <string_view>

namespace app {

/// Writes the help screen on OutputChannel: the syntax and a pointer to the full help when
/// `brief`, else the syntax, every switch and the examples, with usage notes and exit codes
/// when the verbose switch is present.
void ShowHelp(bool brief);

}  // namespace app
