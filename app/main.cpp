// SPDX-License-Identifier: MIT
// Lettrix: changes the case of the strings given to it on the command line.
#include <utility>

#include "app/run.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  app::TRunRec run;
  run.Arguments = platform::ArgumentList(argc, argv);
  run.ExecutablePath = platform::ExecutablePath(argc > 0 ? argv[0] : "Lettrix");
  return app::Run(std::move(run));
}
