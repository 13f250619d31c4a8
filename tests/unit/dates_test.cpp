// SPDX-License-Identifier: MIT
#include "core/dates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <string_view>

#include "tests/unit/captured_run.h"

namespace {

constexpr std::string_view kPath = "/opt/my tools/a.exe.b.EXE";

TEST(FormatDateTimeTest, WritesEachTokenAndCopiesOtherBytes) {
  const test::TCapturedRun run{std::string(kPath)};
  if (!test::LoadCDateSettings()) GTEST_SKIP() << test::NotCDateNames;
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
  const test::TCapturedRun run{std::string(kPath)};
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
  const test::TCapturedRun run{std::string(kPath)};
  if (!test::LoadCDateSettings()) GTEST_SKIP() << test::NotCDateNames;
  const double march_26 = 45377.0, at_14_50_40 = (14 * 3600 + 50 * 60 + 40) / 86400.0;
  EXPECT_NEAR(march_26 + at_14_50_40, core::TextToDateTime("03/26/2024 14:50:40", "mm/dd/yyyy"),
              1e-9);
  core::FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  const double value = core::TextToDateTime("2024/03/26 14:50:40", "mm/dd/yyyy");
  EXPECT_NEAR(march_26 + at_14_50_40, value, 1e-9);
  EXPECT_EQ("26 Mar 2024 @ 14:00:00", core::FormatDateTime("dd mmm yyyy @ hh:00:00", value));
  // Two digits of a year stand for 1950 to 2049.
  EXPECT_EQ("1999 2049", core::FormatDateTime("yyyy", core::TextToDateTime("99/3/26", "")) + " " +
                             core::FormatDateTime("yyyy", core::TextToDateTime("49/3/26", "")));
}

TEST(TextToDateTimeTest, ReadsFractionAsThreeDigitsOfMilliseconds) {
  const test::TCapturedRun run{std::string(kPath)};
  if (!test::LoadCDateSettings()) GTEST_SKIP() << test::NotCDateNames;
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
  const test::TCapturedRun run{std::string(kPath)};
  if (!test::LoadCDateSettings()) GTEST_SKIP() << test::NotCDateNames;
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
  const test::TCapturedRun run{std::string(kPath)};
  if (!test::LoadCDateSettings()) GTEST_SKIP() << test::NotCDateNames;
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
