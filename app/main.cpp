// SPDX-License-Identifier: MIT
// Lettrix: changes the case of the strings given to it on the command line.
#include <utility>

#include "app/run.h"
#include "core/report.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  const char* invoked = argc > 0 ? argv[0] : "Lettrix";
  app::TRunRec run;
  run.Arguments = platform::ArgumentList(argc, argv);
  run.ExecutablePath = platform::ExecutablePath(invoked);
  if (!platform::NativeCommandLine(run.CommandLine)) {
    run.CommandLine = core::JoinCommandLine(invoked, run.Arguments);
  }
  return app::Run(std::move(run));
}
