// SPDX-License-Identifier: MIT
// Flags and a position passed in each other's place must not compile: built as it stands in
// every build with the tests, and with SWAPPED by a test that expects the compiler to refuse
// the flags.
#include "core/params.h"

void DeclareTotal(core::TFindParamRec& rec) {
#ifdef SWAPPED
  core::FindParamFlag(rec, core::ParamStatus, "T TOTAL", -1, 0, core::skFrom);
#else
  core::FindParamFlag(rec, core::ParamStatus, "T TOTAL", core::TParamFlags{}, -1, core::skFrom);
#endif
}
