// SPDX-License-Identifier: MIT
// A value row whose action is left out must not compile, rather than take the next argument's
// place: built as it stands in every build with the tests, and with SWAPPED by a test that
// expects the compiler to refuse the help text where the action belongs.
#include "core/switch_table.h"

// Not file-local: the refused build, which leaves it unused, must fail on the row alone.
void CountBytes(const core::TOccurrence&) {}

extern const core::TSwitchRow Rows[];
constexpr core::TSwitchRow Rows[] = {
#ifdef SWAPPED
    core::Value("C COUNT", core::vrNonEmpty, "<text>", "Count the bytes of <text>"),
#else
    core::Value("C COUNT", core::vrNonEmpty, CountBytes, "<text>", "Count the bytes of <text>"),
#endif
};
