// SPDX-License-Identifier: MIT
// The running program's identity record, its banner and its build line.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace core {

/// Who the running program is; filled once by MakeVersionInfo.
struct TFileVersionInfoRec {
  bool Filled = false;
  std::string ExeFileName;  ///< file name with extension, without directory
  std::string BaseName;     ///< ExeFileName without its extension text
  std::string ExeFileExt;   ///< extension with its dot; empty when there is none
  std::string BannerTitle;  ///< "BaseName vVersion", where the banner's first line begins
  std::string BuildTitle;   ///< "ExeFileName vFullVersion", where the build line begins
  std::string FullTitle;    ///< "BaseName vFullVersion"
  /// Spare1 to Spare7 are reserved: nothing reads or fills them.
  std::string Spare1, Spare2, Spare3, Spare4, Spare5;
  std::string Description;  ///< ends the banner's first line
  std::string Spare6;
  std::string Copyright, Attribution;  ///< the banner's second and third lines
  std::string Spare7;
  std::string ExeDir;  ///< directory of the executable, unquoted
};

// The module's variables, from start-up to shutdown; ResetBanner gives them their starting
// values, and nothing else does.

/// The running program's identity: the program fills it, the banner and help read it.
extern TFileVersionInfoRec AppVersionInfo;
/// Whether this run has already had its banner; it is shown at most once.
extern bool BannerShown;

/// Fixed when the program is built: "yyyy/mm/dd" and "yyyy/mm/dd hh:nn:ss" (UTC, or from
/// SOURCE_DATE_EPOCH), the target architecture (" x64", " arm64", " x86" or empty) and the
/// compiler with its version, each tag beginning with a space.
extern const std::string_view BuildDate;       ///< the build's date, "yyyy/mm/dd"
extern const std::string_view BuildTimestamp;  ///< and its time, "yyyy/mm/dd hh:nn:ss"
extern const std::string_view ArchTag;         ///< the machine built for: " x64", " arm64", ...
extern const std::string_view ToolchainText;   ///< the compiler: " with GCC 12.2.0"

/// Fills `rec` from the running executable's path, as the run was started with it, and the texts
/// given; `upper_case_names` puts the file and base names in ASCII upper case. Copyright and
/// Attribution are the running tool's (TToolRec, core/tool.h), empty outside a run; a tool may
/// replace them afterwards.
void MakeVersionInfo(TFileVersionInfoRec& rec, std::string_view version,
                     std::string_view full_version, std::string_view description,
                     bool upper_case_names);

/// Writes, once per run, the banner (title with architecture, build date and description,
/// copyright and attribution unless empty, an empty line) and/or the build line to ErrorChannel.
/// Throws TConvertError when the build's own date cannot be read.
void ShowBanner(const TFileVersionInfoRec& rec, bool show_build, bool show_banner);

namespace detail {

/// Full path of the running executable, as the run was started with it: the identity's source.
extern std::string ExecutableFullPath;
/// Starts the module for a run of the executable at `executable_path`: no identity yet, no
/// banner shown, the locale's settings read afresh when first needed.
void StartBanner(std::string executable_path);
/// Gives every variable of the module its starting value and releases what it holds.
void ResetBanner();

/// Gives the identity that MakeVersionInfo makes the running tool's copyright and attribution
/// (TToolRec, core/tool.h); the frame calls it when a tool's run starts, and ResetBanner forgets
/// them.
void SetToolCredits(std::string_view copyright, std::string_view attribution);

/// The name that every line of the tool's own begins with, put into `buffer` (cut to its size)
/// without needing memory: AppVersionInfo's BaseName, or, before the identity is made, the base
/// name that MakeVersionInfo would give the executable at `path`.
std::string_view ToolNameInto(std::span<char> buffer, std::string_view path);

}  // namespace detail
}  // namespace core
