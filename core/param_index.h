// SPDX-License-Identifier: MIT
// Where switches can stand in the argument table, found once rather than by every declaration.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/params.h"

namespace core {

/// The prefixes of one alias word, in the order in which its forms are tried.
struct TPrefixes {
  std::array<std::string_view, 3> Items;
  std::size_t Count;
};
TPrefixes PrefixesOf(std::string_view word, TSwitchStyle style);

/// Forgets what was learned of ParamStatus; start-up and shutdown call it, as they rebuild it.
void ResetParamIndex();

/// The positions of `table`, in increasing order, whose argument may be a form of one of
/// `words`, attached value or not; every other position certainly is none. Null when no index
/// applies (a table other than ParamStatus, a word holding ':' or '=', or a platform whose
/// comparison is not byte by byte): then every position must be tried.
const std::vector<std::int32_t>* CandidatePositions(const TParamStatusArray& table,
                                                    const TStringArray& words);

}  // namespace core
