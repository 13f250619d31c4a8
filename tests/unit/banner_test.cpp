// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/banner.h"
#include "core/dates.h"
#include "core/library.h"
#include "core/report.h"
#include "tests/unit/captured_run.h"

namespace {

constexpr std::string_view kPath = "/opt/my tools/a.exe.b.EXE";

core::TFileVersionInfoRec SampleRecord() {
  core::TFileVersionInfoRec rec;
  rec.BannerTitle = "Lettrix v3.0.0";
  rec.BuildTitle = "Lettrix.exe v3.0.0.200";
  rec.Description = "Change the Case";
  rec.Copyright = "Copyright line";
  rec.Attribution = "Attribution line";
  return rec;
}

// The test programs' own build stamp (tests/build_identity.cpp) as the C locale shows it: built
// on 26 March 2024 at 14:50:40, of which only the hour shows.
constexpr std::string_view kBannerLines =
    "Lettrix v3.0.0 x64 (26 Mar 2024) - Change the Case\r\nCopyright line\r\n"
    "Attribution line\r\n\r\n";
constexpr std::string_view kBuildLine =
    "Lettrix.exe v3.0.0.200 x64 was compiled on 26 Mar 2024 @ 14:00:00 with TestCC 1.0\r\n";

TEST(MakeVersionInfoTest, SplitsExecutablePathIntoNames) {
  struct Row {
    std::string_view path;
    bool upper;
    std::string_view file_name, base_name, ext, dir;
  };
  const Row rows[] = {
      {"/opt/my tools/a.exe.b.EXE", false, "a.exe.b.EXE", "a.b", ".EXE", "/opt/my tools"},
      {"/opt/my tools/a.exe.b.EXE", true, "A.EXE.B.EXE", "A.B", ".EXE", "/opt/my tools"},
      {"/usr/bin/MyTool.Exe", true, "MYTOOL.EXE", "MYTOOL", ".Exe", "/usr/bin"},
      {"/x/caf\xC3\xA9.sh", true, "CAF\xC3\xA9.SH", "CAF\xC3\xA9", ".sh", "/x"},
      {"/home/u/.profile", false, ".profile", ".profile", "", "/home/u"},
      {"/opt/v1.2/lettrix", false, "lettrix", "lettrix", "", "/opt/v1.2"},
      {"lettrix.bin", false, "lettrix.bin", "lettrix", ".bin", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.path << " upper=" << row.upper);
    const test::TCapturedRun run{std::string(row.path)};
    core::TFileVersionInfoRec rec;
    core::MakeVersionInfo(rec, "3.0.0", "3.0.0.200", "Describes", row.upper);
    EXPECT_EQ(row.file_name, rec.ExeFileName);
    EXPECT_EQ(row.base_name, rec.BaseName);
    EXPECT_EQ(row.ext, rec.ExeFileExt);
    EXPECT_EQ(row.dir, rec.ExeDir);
  }
}

// A run shows its banner once: the first call uses it up, even when it showed nothing.
TEST(ShowBannerTest, WritesSelectedPartsOnErrorOnlyOncePerRun) {
  struct Row {
    bool show_build, show_banner;
    std::string expected;
  };
  const Row rows[] = {
      {true, true, std::string(kBannerLines) + std::string(kBuildLine) + "\r\n"},
      {true, false, std::string(kBuildLine)},
      {false, true, std::string(kBannerLines)},
      {false, false, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "build=" << row.show_build << " banner=" << row.show_banner);
    const test::TCapturedRun run{std::string(kPath)};
    if (!test::LoadCDateSettings()) GTEST_SKIP() << test::NotCDateNames;
    core::ShowBanner(SampleRecord(), row.show_build, row.show_banner);
    EXPECT_TRUE(core::BannerShown);
    core::ShowBanner(SampleRecord(), true, true);
    EXPECT_EQ(row.expected, run.err());
    EXPECT_EQ("", run.out());
  }
}

TEST(ShowBannerTest, LeavesFormatSettingsAsFound) {
  for (const bool already_shown : {false, true}) {
    SCOPED_TRACE(already_shown);
    const test::TCapturedRun run{std::string(kPath)};
    core::BannerShown = already_shown;
    core::TFormatSettings& settings = core::FormatSettings();
    settings.DateSeparator = '-';
    settings.ShortDateFormat = "dd-mm-yyyy";
    settings.ShortMonthNames[0] = "janv.";
    const core::TFormatSettings before = settings;
    core::ShowBanner(SampleRecord(), true, true);
    const core::TFormatSettings& after = core::FormatSettings();
    EXPECT_EQ(before.DateSeparator, after.DateSeparator);
    EXPECT_EQ(before.ShortDateFormat, after.ShortDateFormat);
    EXPECT_EQ(before.ShortMonthNames, after.ShortMonthNames);
    EXPECT_EQ(before.TimeSeparator + before.LongDateFormat + before.ShortTimeFormat,
              after.TimeSeparator + after.LongDateFormat + after.ShortTimeFormat);
  }
}

// The build line follows the locale's month names and time separator. A locale that writes
// times as 14.00.00 must still read the build's own timestamp, which is always written with
// colons.
TEST(ShowBannerTest, FollowsLocaleMonthNamesAndTimeSeparator) {
  const struct {
    std::string_view month_suffix, separator, expected;
  } rows[] = {
      {"!", ":",
       "Lettrix.exe v3.0.0.200 x64 was compiled on 26 Mar! 2024 @ 14:00:00 with TestCC 1.0\r\n"},
      {"", ".",
       "Lettrix.exe v3.0.0.200 x64 was compiled on 26 Mar 2024 @ 14.00.00 with TestCC 1.0\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.separator);
    const test::TCapturedRun run{std::string(kPath)};
    if (!test::LoadCDateSettings()) GTEST_SKIP() << test::NotCDateNames;
    core::TFormatSettings& settings = core::FormatSettings();
    for (std::string& name : settings.ShortMonthNames) name += row.month_suffix;
    settings.TimeSeparator = row.separator;
    EXPECT_NO_THROW(core::ShowBanner(SampleRecord(), true, false));
    EXPECT_EQ(row.expected, run.err());
  }
}

}  // namespace
