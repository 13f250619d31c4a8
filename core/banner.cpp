// SPDX-License-Identifier: MIT
// The identity record, the banner and the build line.
#include "core/banner.h"

#include <iterator>
#include <utility>

#include "core/channels.h"
#include "core/dates.h"
#include "core/paths.h"
#include "core/text.h"

namespace core {

// Defined bare: ResetBanner alone gives them their starting values.
TFileVersionInfoRec AppVersionInfo;
bool BannerShown;
std::string detail::ExecutableFullPath;

namespace {

// The running tool's copyright and attribution lines, which the identity takes.
std::string_view ToolCopyright, ToolAttribution;

}  // namespace

void detail::ResetBanner() {
  AppVersionInfo = TFileVersionInfoRec();
  BannerShown = false;
  detail::ExecutableFullPath = std::string();
  ToolCopyright = ToolAttribution = {};
}

void detail::SetToolCredits(std::string_view copyright, std::string_view attribution) {
  ToolCopyright = copyright;
  ToolAttribution = attribution;
}

namespace {

// Restores the settings it was made with, whatever way the scope is left.
class TSettingsGuard {
 public:
  TSettingsGuard() : saved_(FormatSettings()) {}
  ~TSettingsGuard() { FormatSettings() = std::move(saved_); }
  TSettingsGuard(const TSettingsGuard&) = delete;
  TSettingsGuard& operator=(const TSettingsGuard&) = delete;

 private:
  TFormatSettings saved_;
};

}  // namespace

std::string_view detail::ToolNameInto(std::span<char> buffer, std::string_view path) {
  std::size_t at = 0;
  // Copying an existing text needs no memory: the end of a run out of memory names the tool so.
  const auto put = [&](std::string_view piece) {
    for (std::size_t i = 0; i < piece.size() && at < buffer.size(); ++i) buffer[at++] = piece[i];
  };
  if (AppVersionInfo.BaseName.empty()) {
    ForEachBaseNamePiece(FileNameOf(path), put);
  } else {
    put(AppVersionInfo.BaseName);
  }
  return {buffer.data(), at};
}

void MakeVersionInfo(TFileVersionInfoRec& rec, std::string_view version,
                     std::string_view full_version, std::string_view description,
                     bool upper_case_names) {
  const std::string_view path = detail::ExecutableFullPath;
  TFileVersionInfoRec info;
  info.ExeDir = DirectoryOf(path);
  info.ExeFileName = std::string(FileNameOf(path));
  info.ExeFileExt = std::string(FileExtensionOf(info.ExeFileName));
  detail::ForEachBaseNamePiece(info.ExeFileName,
                               [&](std::string_view piece) { info.BaseName += piece; });
  if (upper_case_names) {
    info.ExeFileName = AsciiUpper(info.ExeFileName);
    info.BaseName = AsciiUpper(info.BaseName);
  }
  info.BuildTitle = info.ExeFileName + " v" + std::string(full_version);
  info.FullTitle = info.BaseName + " v" + std::string(full_version);
  info.BannerTitle = info.BaseName + " v" + std::string(version);
  info.Description = description;
  info.Copyright = ToolCopyright;
  info.Attribution = ToolAttribution;
  info.Filled = true;
  rec = std::move(info);
}

void ShowBanner(const TFileVersionInfoRec& rec, bool show_build, bool show_banner) {
  const TSettingsGuard guard;
  FormatSettings().DateSeparator = '/';
  FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  const double build_date = TextToDateTime(BuildDate, "mm/dd/yyyy");
  const std::string date_part = " (" + FormatDateTime("dd mmm yyyy", build_date) + ") ";
  // The build texts are written with colons whatever the locale says: they are read with a
  // colon, and only the shown text follows the locale's time separator.
  const std::string locale_separator = FormatSettings().TimeSeparator;
  FormatSettings().TimeSeparator.assign(1, ':');
  const double compiled = TextToDateTime(BuildTimestamp, "mm/dd/yyyy");
  FormatSettings().TimeSeparator = locale_separator;
  // Only the hour of the build is shown; minutes and seconds are literal zeros.
  const std::string compile_part =
      " was compiled on " + FormatDateTime("dd mmm yyyy @ hh:00:00", compiled);
  if (BannerShown) return;
  BannerShown = true;
  if (show_banner) {
    const std::string title =
        rec.BannerTitle + std::string(ArchTag) + date_part + "- " + rec.Description;
    const std::string_view lines[] = {title, rec.Copyright, rec.Attribution};
    // The empty line leaves with the last line shown, as one write.
    std::size_t last = std::size(lines) - 1;
    while (last > 0 && lines[last].empty()) --last;
    for (std::size_t i = 0; i < last; ++i) {
      if (i == 0 || !lines[i].empty()) WriteLine(ErrorChannel, lines[i]);
    }
    WriteLineAndEmptyLine(ErrorChannel, lines[last]);
  }
  if (show_build) {
    WriteLine(ErrorChannel,
              rec.BuildTitle + std::string(ArchTag) + compile_part + std::string(ToolchainText));
    if (show_banner) Write(ErrorChannel, LineEnd);
  }
}

void detail::StartBanner(std::string executable_path) {
  detail::ResetBanner();
  detail::ExecutableFullPath = std::move(executable_path);
}

}  // namespace core
