// SPDX-License-Identifier: MIT
// What the unit tests share: runs of the library, and of tools, in this process, with their two
// channels bound to texts.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/dates.h"
#include "core/frame.h"
#include "core/library.h"

namespace test {

/// The start of a run over `args`, as the executable at `executable`, whose channels write into
/// `out` and `err`.
inline core::TStartUpRec CapturedStart(std::string& out, std::string& err,
                                       std::vector<std::string> args = {},
                                       std::string executable = {}) {
  core::TStartUpRec start;
  start.Arguments = std::move(args);
  start.ExecutablePath = std::move(executable);
  start.Output = core::TTextChannel{platform::stdOutput, &out};
  start.Error = core::TTextChannel{platform::stdError, &err};
  return start;
}

/// The library started for the life of the object, its channels writing into out() and err().
class TCapturedRun {
 public:
  explicit TCapturedRun(std::string executable = {}, std::vector<std::string> args = {},
                        std::string command_line = {}) {
    core::TStartUpRec start = CapturedStart(out_, err_, std::move(args), std::move(executable));
    start.CommandLine = std::move(command_line);
    core::StartUp(std::move(start));
  }
  ~TCapturedRun() { core::ShutDown(); }
  TCapturedRun(const TCapturedRun&) = delete;
  TCapturedRun& operator=(const TCapturedRun&) = delete;

  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }

 private:
  std::string out_, err_;
};

/// What one run of a tool came to.
struct TToolRun {
  int Code = 0;
  std::string Out, Err;
};

/// Runs `tool` once in this process over `args`, as the executable at `executable`.
inline TToolRun RunCaptured(const core::TToolRec& tool, std::vector<std::string> args = {},
                            std::string executable = "/opt/tools/tiny") {
  TToolRun run;
  run.Code =
      core::RunTool(CapturedStart(run.Out, run.Err, std::move(args), std::move(executable)), tool);
  return run;
}

/// Loads the run's date settings under the C locale, whose month names and time separator the
/// date and banner tests expect: the settings come from the environment's locale when first
/// used. False where the environment gives other names all the same (Windows).
inline bool LoadCDateSettings() {
#ifndef _WIN32
  const char* current = std::getenv("LC_ALL");
  const std::optional<std::string> saved =
      current == nullptr ? std::nullopt : std::optional<std::string>(current);
  setenv("LC_ALL", "C", 1);
  core::FormatSettings();
  saved ? setenv("LC_ALL", saved->c_str(), 1) : unsetenv("LC_ALL");
#endif
  constexpr std::array<std::string_view, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const core::TFormatSettings& settings = core::FormatSettings();
  return settings.TimeSeparator == ":" &&
         std::equal(months.begin(), months.end(), settings.ShortMonthNames.begin());
}

/// Why a test that expects the C locale's date names is skipped.
inline constexpr std::string_view NotCDateNames =
    "the environment's month names or time separator are not C's";

}  // namespace test
