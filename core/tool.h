// SPDX-License-Identifier: MIT
// A tool as the library runs it: its record and the exit codes every tool shares. A tool's
// record names its rows and its channels, so this header brings both (switch_table.h,
// channels.h).
#pragma once

#include <span>
#include <string_view>

#include "core/channels.h"
#include "core/switch_table.h"

namespace core {

/// The exit codes of every tool on the library. A tool decides the first six; the frame gives
/// the last three when a run cannot end as the tool decided (the values of sysexits.h).
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitMissingEssential = 64;  ///< none of the essential switches is given
inline constexpr int ExitInvalidParams = 65;     ///< an argument that no switch recognises
inline constexpr int ExitNoInput = 66;           ///< an input the tool could not read
inline constexpr int ExitIncompleteParams = 67;  ///< a switch without its required value
inline constexpr int ExitHelpRequested = 255;    ///< help was shown
inline constexpr int ExitInternalError = 70;  ///< a build date that cannot be read, a bad setting
inline constexpr int ExitOutOfMemory = 71;    ///< no memory left
inline constexpr int ExitIoError = 74;        ///< a write that failed

/// A tool as the frame runs it. Written with designated initialisers, it names only what the
/// tool has: {.Body = Count, .Reset = Reset, .Switches = Switches, ...}.
struct TToolRec {
  /// The tool's own work. With Switches, the frame has declared them and judged the line, and
  /// calls Body only for a line that is valid or asks for information other than help; without,
  /// Body is the whole run: it declares, judges, writes and sets ExitCode. It may let the
  /// library's exceptions through; the frame turns each into its line.
  void (*Body)() = nullptr;
  /// Gives the tool's own variables their starting values; the frame calls it before start-up
  /// and again after shutdown, whichever way the run ended. Optional.
  void (*Reset)() = nullptr;
  /// Makes the tool's settings (SwitchStyle, RequireDoubleDash, BannerAllowed, ...) after
  /// start-up has given every setting its starting value, before the switches are declared. A
  /// setting made before RunMain or RunTool would be undone there, and ends the run instead.
  void (*SetUp)() = nullptr;
  std::string_view Copyright{};    ///< the banner's second line; none when empty
  std::string_view Attribution{};  ///< the banner's third line; none when empty
  /// Ends every line the library writes for the tool; CR LF unless the tool chooses another.
  std::string_view LineEnd = "\r\n";
  /// The identity that the frame makes with MakeVersionInfo before the declarations: none when
  /// Version is empty (the body makes it then, or the tool has none).
  std::string_view Version{}, FullVersion{}, Description{};
  /// The tool's switches, which the frame declares (DeclareRows) and judges (JudgeCommandLine)
  /// before it calls Body. Empty: the body does both itself.
  std::span<const TSwitchRow> Switches{};
  /// The tool's operands, the arguments that are neither a switch nor a switch's value; none
  /// unless its Most is above 0.
  TOperandsRec Operands{};
  /// Holds what the tool writes on standard output and hands it over in large blocks (Write,
  /// core/channels.h), rather than each write as it comes; not where it is a terminal.
  bool BufferedOutput = false;
  /// Writes the tool's help screen on OutputChannel, the brief form after a syntax report.
  /// Without it: the usage line, and with the full form the option lines of Switches.
  void (*ShowHelp)(bool brief) = nullptr;
  /// What follows "Usage: " and the tool's name on the usage line, "[-t] -c <text> ...", before
  /// the operands, which the library adds.
  std::string_view Syntax{};
  /// The example that the message of a line without essential switches gives, before the help
  /// switches' hint: "-c <text> "; without it, the first form and value of each essential row.
  std::string_view MissingExample{};
};

}  // namespace core
