// SPDX-License-Identifier: MIT
// Dates and times as the library reads and writes them: days since 30 December 1899, the
// fraction being the time of day, in the settings of the system locale and the library.
#include "core/dates.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

#include "core/text.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {
namespace {

std::optional<TFormatSettings> LoadedSettings;  ///< loaded when first needed

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

// Date-time values count days from 30 December 1899, the fraction being the time of day.
constexpr sys_days DayZero = std::chrono::year{1899} / 12 / 30;
constexpr std::int64_t MillisPerDay = 86400000;
// The dates that four-digit years can write: 1 January 1 to 31 December 9999.
constexpr std::int64_t FirstDay = (sys_days{std::chrono::year{1} / 1 / 1} - DayZero).count();
constexpr std::int64_t LastDay = (sys_days{std::chrono::year{9999} / 12 / 31} - DayZero).count();

double ValueOf(const year_month_day& date) {
  return static_cast<double>((sys_days{date} - DayZero).count());
}

std::optional<unsigned> ReadNumber(std::string_view text) {
  unsigned value = 0;
  if (text.empty() || text.size() > 9) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> SplitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos || separator.empty()) return parts;
    text.remove_prefix(at + separator.size());
  }
}

// A date in the order the short date format gives its year, month and day.
std::optional<double> ReadDate(std::string_view text, const TFormatSettings& settings) {
  const std::vector<std::string_view> parts =
      SplitAt(text, std::string_view(&settings.DateSeparator, 1));
  if (parts.size() != 3) return std::nullopt;
  const std::string format = AsciiLower(settings.ShortDateFormat);
  std::array<std::pair<std::size_t, char>, 3> order = {
      {{format.find('y'), 'y'}, {format.find('m'), 'm'}, {format.find('d'), 'd'}}};
  std::sort(order.begin(), order.end());
  unsigned year = 0, month = 0, day = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::optional<unsigned> number = ReadNumber(parts[i]);
    if (!number) return std::nullopt;
    switch (order[i].second) {
      case 'y':
        year = *number;
        if (parts[i].size() <= 2) year += year < 50 ? 2000 : 1900;
        break;
      case 'm':
        month = *number;
        break;
      default:
        day = *number;
    }
  }
  if (year < 1 || year > 9999) return std::nullopt;
  const year_month_day date{std::chrono::year{static_cast<int>(year)}, std::chrono::month{month},
                            std::chrono::day{day}};
  if (!date.ok()) return std::nullopt;
  return ValueOf(date);
}

// A time of day: hours, minutes and optional seconds and milliseconds.
std::optional<double> ReadTime(std::string_view text, const TFormatSettings& settings) {
  std::string_view millis_text;
  if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) {
    millis_text = text.substr(dot + 1);
    text = text.substr(0, dot);
  }
  const std::vector<std::string_view> parts = SplitAt(text, settings.TimeSeparator);
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  std::array<unsigned, 3> hms{};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::optional<unsigned> number = ReadNumber(parts[i]);
    if (!number) return std::nullopt;
    hms[i] = *number;
  }
  unsigned millis = 0;
  if (!millis_text.empty()) {
    const std::optional<unsigned> number = ReadNumber(millis_text);
    if (!number || *number > 999) return std::nullopt;
    millis = *number;
  }
  if (hms[0] > 23 || hms[1] > 59 || hms[2] > 59) return std::nullopt;
  const double seconds = hms[0] * 3600.0 + hms[1] * 60.0 + hms[2] + millis / 1000.0;
  return seconds / 86400.0;
}

// Date, time, or date and time separated by spaces.
std::optional<double> ReadDateTime(std::string_view text, const TFormatSettings& settings) {
  text = TrimSpaceAndControls(text);
  const std::size_t space = text.find(' ');
  const std::string_view first = text.substr(0, space);
  const std::string_view rest = space == std::string_view::npos
                                    ? std::string_view()
                                    : TrimSpaceAndControls(text.substr(space));
  if (first.find(settings.DateSeparator) != std::string_view::npos) {
    const std::optional<double> date = ReadDate(first, settings);
    if (!date) return std::nullopt;
    if (rest.empty()) return date;
    const std::optional<double> time = ReadTime(rest, settings);
    if (!time) return std::nullopt;
    return *date + *time;
  }
  if (!rest.empty()) return std::nullopt;
  return ReadTime(first, settings);
}

std::string Digits(std::int64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

void detail::ResetDates() { LoadedSettings.reset(); }

TFormatSettings& FormatSettings() {
  // Loaded on first use, so that a run that shows no date never reads the locale.
  if (!LoadedSettings) {
    platform::TTimeNames names = platform::SystemTimeNames();
    LoadedSettings.emplace();
    LoadedSettings->ShortMonthNames = std::move(names.ShortMonths);
    LoadedSettings->TimeSeparator = std::move(names.TimeSeparator);
  }
  return *LoadedSettings;
}

std::string FormatDateTime(std::string_view format, double value) {
  // Outside the years 1 to 9999 (NaN and the infinities included) the date has no text, and
  // its day could not even be counted in an integer.
  if (!(value >= static_cast<double>(FirstDay) && value < static_cast<double>(LastDay + 1))) {
    return {};
  }
  auto day_count = static_cast<std::int64_t>(std::floor(value));
  auto millis = static_cast<std::int64_t>(
      std::llround((value - static_cast<double>(day_count)) * static_cast<double>(MillisPerDay)));
  if (millis >= MillisPerDay) {
    ++day_count;
    millis -= MillisPerDay;
  }
  if (day_count > LastDay) return {};  // rounded up into the year 10000
  const year_month_day date{DayZero + days{day_count}};
  const std::int64_t year = static_cast<int>(date.year());
  const auto month = static_cast<unsigned>(date.month());
  const auto day = static_cast<unsigned>(date.day());
  const std::int64_t hour = millis / 3600000, minute = millis / 60000 % 60,
                     second = millis / 1000 % 60, milli = millis % 1000;
  const TFormatSettings& settings = FormatSettings();
  // Longer tokens first, where one begins another.
  const std::pair<std::string_view, std::string> tokens[] = {
      {"yyyy", Digits(year, 4)},
      {"yy", Digits(year % 100, 2)},
      {"mmm", settings.ShortMonthNames[month - 1]},
      {"mm", Digits(month, 2)},
      {"m", Digits(month, 1)},
      {"dd", Digits(day, 2)},
      {"d", Digits(day, 1)},
      {"hh", Digits(hour, 2)},
      {"h", Digits(hour, 1)},
      {"nn", Digits(minute, 2)},
      {"n", Digits(minute, 1)},
      {"ss", Digits(second, 2)},
      {"s", Digits(second, 1)},
      {"zzz", Digits(milli, 3)},
      {"z", Digits(milli, 1)},
      {"/", std::string(1, settings.DateSeparator)},
      {":", settings.TimeSeparator},
  };
  std::string text;
  std::size_t at = 0;
  while (at < format.size()) {
    const auto token = std::find_if(std::begin(tokens), std::end(tokens), [&](const auto& t) {
      return platform::EqualsAsciiNoCase(format.substr(at, t.first.size()), t.first);
    });
    if (token == std::end(tokens)) {
      text += format[at++];
    } else {
      text += token->second;
      at += token->first.size();
    }
  }
  return text;
}

double TextToDateTime(std::string_view text, std::string_view date_format) {
  std::string readable(text);
  // A fraction of a second is read as exactly three digits.
  if (const std::size_t dot = readable.find('.'); dot != std::string::npos) {
    const std::size_t next = readable.find('.', dot + 1);
    const std::size_t end = next == std::string::npos ? readable.size() : next;
    if (end > dot + 1) {
      const std::string fraction = (readable.substr(dot + 1, end - dot - 1) + "000").substr(0, 3);
      readable = readable.substr(0, dot) + "." + fraction;
    }
  }
  const TFormatSettings& settings = FormatSettings();
  std::optional<double> value = ReadDateTime(readable, settings);
  if (!value) throw TConvertError{std::string(text)};
  // A time of day alone reads as day 0; it is put on today's date instead.
  const std::string formatted = FormatDateTime("mm/dd/yyyy hh:nn:ss.zzz", *value);
  if (formatted.starts_with("12/30/1899") && text.find("12/30/1899") == std::string_view::npos) {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    const double today =
        local == nullptr ? 0.0
                         : ValueOf({std::chrono::year{local->tm_year + 1900},
                                    std::chrono::month{static_cast<unsigned>(local->tm_mon + 1)},
                                    std::chrono::day{static_cast<unsigned>(local->tm_mday)}});
    const std::string completed =
        ReplaceNoCase(formatted, "12/30/1899", FormatDateTime(date_format, today), false);
    value = ReadDateTime(completed, settings);
    if (!value) throw TConvertError{std::string(text)};
  }
  return *value;
}

}  // namespace core
