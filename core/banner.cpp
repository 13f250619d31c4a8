// SPDX-License-Identifier: MIT
// Identity record, banner and build line, and the small date library they need.
#include "core/banner.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

#include "core/library.h"
#include "core/report.h"
#include "core/text.h"
#include "platform/ascii.h"
#include "platform/platform.h"

namespace core {

TFileVersionInfoRec AppVersionInfo;
bool BannerShown = false;

namespace {

// Day numbers count from 30 December 1899, which is day 0.
constexpr std::int64_t EpochOffset = 25569;  // days from 1899-12-30 to 1970-01-01

constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct TCivil {
  std::int64_t Year;
  unsigned Month, Day;
};

constexpr TCivil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

constexpr bool IsLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

constexpr unsigned DaysInMonth(std::int64_t y, unsigned m) {
  constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
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
  std::int64_t year = 0;
  unsigned month = 0, day = 0;
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
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  return static_cast<double>(DaysFromCivil(year, month, day) + EpochOffset);
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
  text = TrimControls(text);
  const std::size_t space = text.find(' ');
  const std::string_view first = text.substr(0, space);
  const std::string_view rest =
      space == std::string_view::npos ? std::string_view() : TrimControls(text.substr(space));
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

std::optional<TFormatSettings> LoadedSettings;

}  // namespace

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
  const TFormatSettings& settings = FormatSettings();
  auto days = static_cast<std::int64_t>(std::floor(value));
  auto millis =
      static_cast<std::int64_t>(std::llround((value - static_cast<double>(days)) * 86400000.0));
  if (millis >= 86400000) {
    ++days;
    millis -= 86400000;
  }
  const TCivil date = CivilFromDays(days - EpochOffset);
  const std::int64_t hour = millis / 3600000, minute = millis / 60000 % 60,
                     second = millis / 1000 % 60, milli = millis % 1000;
  std::string text;
  std::size_t at = 0;
  const auto next_is = [&](std::string_view token) {
    if (format.size() - at < token.size()) return false;
    for (std::size_t i = 0; i < token.size(); ++i) {
      if (platform::AsciiLower(format[at + i]) != token[i]) return false;
    }
    at += token.size();
    return true;
  };
  while (at < format.size()) {
    if (next_is("yyyy"))
      text += Digits(date.Year, 4);
    else if (next_is("yy"))
      text += Digits(date.Year % 100, 2);
    else if (next_is("mmm"))
      text += settings.ShortMonthNames[date.Month - 1];
    else if (next_is("mm"))
      text += Digits(date.Month, 2);
    else if (next_is("m"))
      text += Digits(date.Month, 1);
    else if (next_is("dd"))
      text += Digits(date.Day, 2);
    else if (next_is("d"))
      text += Digits(date.Day, 1);
    else if (next_is("hh"))
      text += Digits(hour, 2);
    else if (next_is("h"))
      text += Digits(hour, 1);
    else if (next_is("nn"))
      text += Digits(minute, 2);
    else if (next_is("n"))
      text += Digits(minute, 1);
    else if (next_is("ss"))
      text += Digits(second, 2);
    else if (next_is("s"))
      text += Digits(second, 1);
    else if (next_is("zzz"))
      text += Digits(milli, 3);
    else if (next_is("z"))
      text += Digits(milli, 1);
    else if (next_is("/"))
      text += settings.DateSeparator;
    else if (next_is(":"))
      text += settings.TimeSeparator;
    else
      text += format[at++];
  }
  return text;
}

std::string ReplaceNoCase(std::string_view text, std::string_view old_text,
                          std::string_view new_text, bool first_only) {
  if (old_text.empty()) return std::string(text);
  const std::string upper_text = AsciiUpper(text);
  const std::string upper_old = AsciiUpper(old_text);
  std::string result;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = upper_text.find(upper_old, from);
    if (at == std::string::npos) break;
    result.append(text.substr(from, at - from)).append(new_text);
    from = at + old_text.size();
    if (first_only) break;
  }
  result.append(text.substr(from));
  return result;
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
        local == nullptr
            ? 0.0
            : static_cast<double>(DaysFromCivil(local->tm_year + 1900,
                                                static_cast<unsigned>(local->tm_mon + 1),
                                                static_cast<unsigned>(local->tm_mday)) +
                                  EpochOffset);
    const std::string completed =
        ReplaceNoCase(formatted, "12/30/1899", FormatDateTime(date_format, today), false);
    value = ReadDateTime(completed, settings);
    if (!value) throw TConvertError{std::string(text)};
  }
  return *value;
}

void MakeVersionInfo(TFileVersionInfoRec& rec, std::string_view version,
                     std::string_view full_version, std::string_view description,
                     bool upper_case_names) {
  const std::string_view path = ExecutableFullPath;
  TFileVersionInfoRec info;
  info.ExeDir = DirectoryOf(path);
  info.ExeFileName = std::string(FileNameOf(path));
  const std::size_t dot = info.ExeFileName.find_last_of('.');
  if (dot != std::string::npos && dot > 0) info.ExeFileExt = info.ExeFileName.substr(dot);
  info.BaseName = ReplaceNoCase(info.ExeFileName, info.ExeFileExt, {}, false);
  if (upper_case_names) {
    info.ExeFileName = AsciiUpper(info.ExeFileName);
    info.BaseName = AsciiUpper(info.BaseName);
  }
  info.BuildTitle = info.ExeFileName + " v" + std::string(full_version);
  info.FullTitle = info.BaseName + " v" + std::string(full_version);
  info.BannerTitle = info.BaseName + " v" + std::string(version);
  info.Description = description;
  info.Attribution = AttributionLine;
  info.Copyright = CopyrightLine;
  info.Filled = true;
  rec = std::move(info);
}

void ShowBanner(const TFileVersionInfoRec& rec, bool show_build, bool show_banner) {
  const TSettingsGuard guard;
  FormatSettings().DateSeparator = '/';
  FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  const std::optional<double> build_date = ReadDate(BuildDate, FormatSettings());
  if (!build_date) throw TConvertError{std::string(BuildDate)};
  const std::string date_part = " (" + FormatDateTime("dd mmm yyyy", *build_date) + ") ";
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
    WriteLine(ErrorChannel,
              rec.BannerTitle + std::string(ArchTag) + date_part + "- " + rec.Description);
    WriteLine(ErrorChannel, rec.Copyright);
    Write(ErrorChannel, rec.Attribution, "\r\n\r\n");
  }
  if (show_build) {
    WriteLine(ErrorChannel,
              rec.BuildTitle + std::string(ArchTag) + compile_part + std::string(ToolchainText));
    if (show_banner) Write(ErrorChannel, LineEnd);
  }
}

void ResetBannerState() {
  AppVersionInfo = TFileVersionInfoRec{};
  BannerShown = false;
  LoadedSettings.reset();
}

}  // namespace core
