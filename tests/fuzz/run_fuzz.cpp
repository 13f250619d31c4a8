// SPDX-License-Identifier: MIT
// Fuzz target: whole runs of the program in this process, against the outcomes it may have.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "app/run.h"
#include "app/switches.h"
#include "core/library.h"
#include "core/report.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

int Sleeps = 0;

// The error pause must not make the fuzzer wait 7.5 seconds, nor ring a bell, per input.
void CountSleep(int) { ++Sleeps; }
void NoBeep() {}

// Which of the switches that decide the kind of run the declarations find.
struct TRunKind {
  bool Help, VersionOnly, Info, Banner, Verbose;
};

TRunKind KindOf(const std::vector<std::string>& arguments) {
  core::StartUp({arguments, {}, {}});
  app::SetUpSwitchStyle();
  core::DeclareRows(app::Switches);
  const TRunKind kind{core::HelpParam.Found, core::VersionOnlyParam.Found, core::InfoParam.Found,
                      core::BannerParam.Found, core::VerboseParam.Found};
  app::ResetSwitches();
  core::ShutDown();
  return kind;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Standard input from nowhere: the key watch must never touch the fuzzer's own terminal.
  const int nothing = open("/dev/null", O_RDONLY);
  if (nothing >= 0) {
    dup2(nothing, STDIN_FILENO);
    close(nothing);
  }
  core::PauseServices = {CountSleep, NoBeep};
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments = fuzz::SplitArguments(data, size);
  const TRunKind kind = KindOf(arguments);

  std::string out, err;
  core::TStartUpRec run;
  run.ExecutablePath = "/opt/lettrix fuzz/Lettrix";
  run.CommandLine = core::detail::JoinCommandLine(run.ExecutablePath, arguments);
  run.Arguments = std::move(arguments);
  run.Output = core::TTextChannel{platform::stdOutput, &out};
  run.Error = core::TTextChannel{platform::stdError, &err};
  Sleeps = 0;
  const int code = app::Run(std::move(run));

  fuzz::Require(code == 0 || code == 64 || code == 65 || code == 67 || code == 255,
                "the exit code is 0, 64, 65, 67 or 255");
  fuzz::Require(Sleeps <= 30, "the pause takes at most 30 steps");
  if (kind.Help) {
    fuzz::Require(code == 255 && !out.empty(), "help wins, on standard output");
  } else if (kind.VersionOnly || kind.Info) {
    fuzz::Require(code == 0 && out.empty() && !err.empty(), "information goes to standard error");
  } else if (code == 0) {
    fuzz::Require(out.ends_with("\r\n"), "a processing run writes its results");
    if (!kind.Banner && !kind.Verbose) {
      fuzz::Require(err.empty(), "a processing run without -b or -v is silent on standard error");
    }
  } else {
    fuzz::Require(code != 255, "only help exits with 255");
    fuzz::Require(out.empty() && !err.empty(), "a syntax error is reported on standard error only");
  }
  return 0;
}
