// SPDX-License-Identifier: MIT
// Dates and times as the library reads and writes them: a value counts days since 30 December
// 1899, its fraction being the time of day, and texts follow the settings below.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace core {

/// The date and time texts the library formats with.
struct TFormatSettings {
  char DateSeparator = '/';
  std::string TimeSeparator = ":";
  std::string ShortDateFormat = "mm/dd/yyyy";
  std::string LongDateFormat = "dddd, mmmm dd, yyyy";
  std::string ShortTimeFormat = "hh:nn:ss";
  std::array<std::string, 12> ShortMonthNames;
};

/// The run's settings: the system locale's month names and time separator with the library's
/// own separator and formats. Loaded from the locale when first needed in a run, so that a run
/// that shows no date never reads it; a caller may change them for the rest of the run.
TFormatSettings& FormatSettings();

/// Thrown by TextToDateTime for a text that is not a date; the run frame (core/frame.h) ends
/// the run with it: "<tool>: cannot read the date <Text>" and exit code 70.
struct TConvertError {
  std::string Text;
};

/// Reads `text` as a date, a time, or a date and a time under the current settings. A time
/// alone is put on today's date, written with `date_format`. Throws TConvertError for a text
/// that is no date, a year outside 1 to 9999 included.
double TextToDateTime(std::string_view text, std::string_view date_format);

/// Formats `value` with the tokens yyyy yy mmm mm m dd d hh h nn n ss s zzz z, "/" and ":" (the
/// settings' separators); other bytes are copied. A value whose date falls outside the years 1
/// to 9999, NaN and the infinities included, gives an empty text.
std::string FormatDateTime(std::string_view format, double value);

namespace detail {

/// Forgets the settings, so that the next run reads the locale afresh; start-up and shutdown
/// call it.
void ResetDates();

}  // namespace detail
}  // namespace core
