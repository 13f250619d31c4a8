// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/banner.h"
#include "core/dates.h"
#include "core/internal.h"
#include "core/library.h"
#include "core/paths.h"
#include "core/report.h"

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::string_view kNotC = "the environment's month names or time separator are not C's";

// A run of the library whose channels write into `out` and `err`. Month names and the time
// separator come from the environment's locale, loaded on first use; the expectations here are
// the C locale's, so they are loaded under it.
class CapturedRun {
 public:
  explicit CapturedRun(std::string executable = "/opt/my tools/a.exe.b.EXE") {
    core::TStartUpRec start;
    start.ExecutablePath = std::move(executable);
    start.Output = core::TTextChannel{platform::stdOutput, &out_};
    start.Error = core::TTextChannel{platform::stdError, &err_};
    core::StartUp(std::move(start));
#ifndef _WIN32
    const char* current = std::getenv("LC_ALL");
    const std::optional<std::string> saved =
        current == nullptr ? std::nullopt : std::optional<std::string>(current);
    setenv("LC_ALL", "C", 1);
    core::FormatSettings();
    saved ? setenv("LC_ALL", saved->c_str(), 1) : unsetenv("LC_ALL");
#endif
    const core::TFormatSettings& settings = core::FormatSettings();
    c_names_ = settings.TimeSeparator == ":" &&
               std::equal(kMonths.begin(), kMonths.end(), settings.ShortMonthNames.begin());
  }
  ~CapturedRun() { core::ShutDown(); }
  CapturedRun(const CapturedRun&) = delete;
  CapturedRun& operator=(const CapturedRun&) = delete;

  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }
  bool c_names() const { return c_names_; }

 private:
  std::string out_, err_;
  bool c_names_ = false;
};

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

TEST(ReplaceNoCaseTest, ReplacesCaseInsensitivelyLeftToRightWithoutOverlap) {
  struct Row {
    std::string_view text, old_text, new_text;
    bool first_only;
    std::string_view expected;
  };
  const Row rows[] = {
      {"a.exe.b.EXE", ".exe", "", false, "a.b"},
      {"xAbx", "aB", "AB", false, "xABx"},
      {"aaa", "aa", "b", false, "ba"},
      {"Foo foo FOO", "foo", "x", true, "x foo FOO"},
      {"ab", "a", "aa", false, "aab"},  // the new text is not searched again
      {"abc", "", "x", false, "abc"},
      {"abc", "abcd", "x", false, "abc"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.text << " / " << row.old_text);
    EXPECT_EQ(row.expected,
              core::ReplaceNoCase(row.text, row.old_text, row.new_text, row.first_only));
  }
}

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
    const CapturedRun run{std::string(row.path)};
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
    const CapturedRun run;
    if (!run.c_names()) GTEST_SKIP() << kNotC;
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
    const CapturedRun run;
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
    const CapturedRun run;
    if (!run.c_names()) GTEST_SKIP() << kNotC;
    core::TFormatSettings& settings = core::FormatSettings();
    for (std::string& name : settings.ShortMonthNames) name += row.month_suffix;
    settings.TimeSeparator = row.separator;
    EXPECT_NO_THROW(core::ShowBanner(SampleRecord(), true, false));
    EXPECT_EQ(row.expected, run.err());
  }
}

TEST(FormatDateTimeTest, WritesEachTokenAndCopiesOtherBytes) {
  const CapturedRun run;
  if (!run.c_names()) GTEST_SKIP() << kNotC;
  const double value = 45356.0 + (7 * 3600 + 8 * 60 + 9.045) / 86400.0;  // 2024/03/05
  EXPECT_EQ("2024 24 Mar 03 3 05 5 07 7 08 8 09 9 045",
            core::FormatDateTime("yyyy yy mmm mm m dd d hh h nn n ss s zzz", value));
  EXPECT_EQ("05 Mar 2024 @ 07:00:00", core::FormatDateTime("DD MMM YYYY @ hh:00:00", value));
  // Rounding to the millisecond may reach midnight, which belongs to the next day.
  EXPECT_EQ("2024/03/06 00:00:00.000",
            core::FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz", 45357.0 - 0.0002 / 86400.0));
  core::FormatSettings().DateSeparator = '-';
  core::FormatSettings().TimeSeparator = ".";
  EXPECT_EQ("2024-03-05 07.08", core::FormatDateTime("yyyy/mm/dd hh:nn", value));
}

// A value outside the years 1 to 9999 has no date to write: it gives no text, never a wrong one
// or undefined behaviour.
TEST(FormatDateTimeTest, WritesNothingForValuesOutsideItsYears) {
  const CapturedRun run;
  const double first = -693593.0, last = 2958465.0;  // 0001/01/01 and 9999/12/31
  const struct {
    double value;
    std::string_view expected;
  } rows[] = {
      {first, "0001/01/01 00:00"},
      {last + 0.5, "9999/12/31 12:00"},
      {first - 1e-9, ""},
      {last + 1.0, ""},
      // Less than half a millisecond short of the year 10000 rounds into it; more does not.
      {std::nextafter(last + 1.0, 0.0), ""},
      {last + 1.0 - 0.0006 / 86400.0, "9999/12/31 23:59"},
      {1e300, ""},
      {-1e300, ""},
      {std::numeric_limits<double>::infinity(), ""},
      {-std::numeric_limits<double>::infinity(), ""},
      {std::numeric_limits<double>::quiet_NaN(), ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(row.expected, core::FormatDateTime("yyyy/mm/dd hh:nn", row.value));
  }
}

// The parts of a date are read in the order the short date format gives them.
TEST(TextToDateTimeTest, ReadsDateInShortDateFormatOrder) {
  const CapturedRun run;
  if (!run.c_names()) GTEST_SKIP() << kNotC;
  const double march_26 = 45377.0, at_14_50_40 = (14 * 3600 + 50 * 60 + 40) / 86400.0;
  EXPECT_NEAR(march_26 + at_14_50_40, core::TextToDateTime("03/26/2024 14:50:40", "mm/dd/yyyy"),
              1e-9);
  core::FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  const double value = core::TextToDateTime("2024/03/26 14:50:40", "mm/dd/yyyy");
  EXPECT_NEAR(march_26 + at_14_50_40, value, 1e-9);
  EXPECT_EQ("26 Mar 2024 @ 14:00:00", core::FormatDateTime("dd mmm yyyy @ hh:00:00", value));
}

TEST(TextToDateTimeTest, ReadsFractionAsThreeDigitsOfMilliseconds) {
  const CapturedRun run;
  if (!run.c_names()) GTEST_SKIP() << kNotC;
  core::FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  // A dot with nothing after it holds no fraction: the text is read as it stands.
  const std::pair<std::string_view, std::string_view> rows[] = {
      {".5", "500"}, {".05", "050"}, {".12345", "123"}, {".5.9", "500"}, {".", "000"}};
  for (const auto& [fraction, millis] : rows) {
    SCOPED_TRACE(fraction);
    const double value = core::TextToDateTime("2024/03/26 14:50:40" + std::string(fraction), "");
    EXPECT_EQ("14:50:40." + std::string(millis), core::FormatDateTime("hh:nn:ss.zzz", value));
  }
}

TEST(TextToDateTimeTest, PutsTimeAloneOnToday) {
  const CapturedRun run;
  if (!run.c_names()) GTEST_SKIP() << kNotC;
  const std::time_t now = std::time(nullptr);
  char today[16];
  ASSERT_GT(std::strftime(today, sizeof today, "%Y/%m/%d", std::localtime(&now)), 0u);
  EXPECT_EQ(
      std::string(today) + " 14:50:00",
      core::FormatDateTime("yyyy/mm/dd hh:nn:ss", core::TextToDateTime("14:50", "mm/dd/yyyy")));
  // The zero date typed out is meant, and kept.
  EXPECT_EQ("1899/12/30 10:00:00",
            core::FormatDateTime("yyyy/mm/dd hh:nn:ss",
                                 core::TextToDateTime("12/30/1899 10:00", "mm/dd/yyyy")));
}

TEST(TextToDateTimeTest, AcceptsOnlyRealDatesAndTimes) {
  const CapturedRun run;
  if (!run.c_names()) GTEST_SKIP() << kNotC;
  core::FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  // The years 1 to 9999 and number fields of up to nine digits are read; nothing beyond.
  for (const std::string_view text : {"2024/02/29", "2000/02/29", "2024/12/31 23:59:59",
                                      "0001/01/01", "9999/12/31 23:59:59", "2024/03/000000026"}) {
    SCOPED_TRACE(text);
    EXPECT_NO_THROW(core::TextToDateTime(text, "mm/dd/yyyy"));
  }
  for (const std::string_view text :
       {"2023/02/29", "1900/02/29", "2024/04/31", "2024/13/01", "2024/00/10", "", "not a date",
        "25:00", "2024/03/26 14:60", "2024/03/26 14:50:40 pm", "0000/12/31", "10000/01/01",
        "2024/03/0000000026"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(core::TextToDateTime(text, "mm/dd/yyyy"), core::TConvertError);
  }
}

}  // namespace
