// SPDX-License-Identifier: MIT
// Lettrix: changes the case of the strings given to it on the command line.
#include <cstddef>
#include <string>
#include <utility>

#include "app/run.h"
#include "core/out_of_memory.h"
#include "core/report.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  const char* invoked = argc > 0 ? argv[0] : "Lettrix";
  core::EndRunOnOutOfMemory(invoked, app::ExitOutOfMemory);
  app::TRunRec run;
  run.Arguments = platform::ArgumentList(argc, argv);
  // A run keeps several copies of its arguments in its statistics and results; a long command
  // line gets its memory ready in one go.
  std::size_t bytes = 0;
  for (const std::string& argument : run.Arguments) bytes += 16 * argument.size() + 96;
  if (bytes > (std::size_t{1} << 18)) platform::PrepareMemory(bytes);
  run.ExecutablePath = platform::ExecutablePath(invoked);
  if (!platform::NativeCommandLine(run.CommandLine)) {
    run.CommandLine = core::JoinCommandLine(invoked, run.Arguments);
  }
  return app::Run(std::move(run));
}
