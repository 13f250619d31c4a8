// SPDX-License-Identifier: MIT
// Which arguments join the unique list of a judgement, in one pass linear in their length.
#pragma once

#include <span>
#include <vector>

#include "core/params.h"

namespace core {

/// Whether each argument of `range` joins the unique list: it does unless its text, ASCII
/// letters folded, occurs anywhere in the list of the arguments that joined before it, each
/// listed as AddListEntry lists it, an empty text standing as two double quotes.
std::vector<bool> UniqueArguments(std::span<const TParamStatusRec> range);

}  // namespace core
