// SPDX-License-Identifier: MIT
// The run sequence: the outcomes that the program adds to the library's, in their order.
#include "app/run.h"

#include <utility>

#include "app/help.h"
#include "app/switches.h"
#include "core/banner.h"
#include "core/verdict.h"

namespace app {
namespace {

// After the library's judgement, which has shown help or reported an invalid line already:
// the build line alone, the banner with it, or the processing run, in that order.
void Proceed() {
  if (core::VersionOnlyParam.Found) {
    core::ShowBanner(core::AppVersionInfo, true, false);
  } else if (core::InfoParam.Found) {
    core::ShowBanner(core::AppVersionInfo, true, true);
  } else {
    core::ShowRunBanner();
    ProcessArguments();
  }
}

}  // namespace

const core::TToolRec Lettrix = {
    .Body = Proceed,
    .Reset = ResetSwitches,
    .SetUp = SetUpSwitchStyle,
    .Copyright = "Copyright (c) 2024-2026 The Lettrix developers. All rights reserved.",
    .Attribution = "Written by the Lettrix team on the QuillonCore console-tool library.",
    .Version = "3.0.0",
    .FullVersion = "3.0.0.200",
    .Description =
        "Change the Case of an Input string to Upper, Lower, Proper, Inverted and/or Reverse it",
    .Switches = Switches,
    .ShowHelp = ShowHelp,
    .MissingExample = "-u <text> -L <text> -p <text> -i <text> ",
};

int Run(core::TStartUpRec run) { return core::RunTool(std::move(run), Lettrix); }

}  // namespace app
