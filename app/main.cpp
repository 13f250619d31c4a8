// SPDX-License-Identifier: MIT
// Lettrix: changes the case of the strings given to it on the command line.
#include <string>
#include <utility>

#include "app/run.h"
#include "core/out_of_memory.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  const char* invoked = argc > 0 ? argv[0] : "Lettrix";
  core::EndRunOnOutOfMemory(invoked, app::ExitOutOfMemory);
  core::TStartUpRec run;
  run.Arguments = platform::ArgumentList(argc, argv);
  run.ExecutablePath = platform::ExecutablePath(invoked);
  // Where the system keeps no command line, the report joins one only if it is ever shown.
  if (!platform::NativeCommandLine(run.CommandLine)) run.Invoked = invoked;
  return app::Run(std::move(run));
}
