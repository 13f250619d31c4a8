// SPDX-License-Identifier: MIT
// Lettrix: changes the case of the strings given to it on the command line.
#include "app/run.h"
#include "core/frame.h"

int main(int argc, char** argv) { return core::RunMain(argc, argv, app::Lettrix); }
