// SPDX-License-Identifier: MIT
// A module's settings, listed once with their starting values: the list gives them their values
// at a reset and tells the frame which a tool made before its run. Not installed.
#pragma once

#include <string_view>
#include <vector>

namespace core::detail {

/// Gives every setting that `settings` lists its starting value; `settings(visit)` calls
/// `visit(name, setting, starting value)` for each.
template <typename Settings>
void RestoreSettings(Settings settings) {
  settings([](std::string_view, auto& setting, const auto& start) { setting = start; });
}

/// Adds to `names` the name of each setting that `settings` lists and that differs from its
/// starting value.
template <typename Settings>
void NameChangedSettings(Settings settings, std::vector<std::string_view>& names) {
  settings([&names](std::string_view name, const auto& setting, const auto& start) {
    if (!(setting == start)) names.push_back(name);
  });
}

}  // namespace core::detail
