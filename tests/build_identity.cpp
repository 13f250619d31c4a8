// SPDX-License-Identifier: MIT
// The test programs' build stamp: fixed, so that a banner test compares literal text and a wrong
// date, tag or toolchain text in the banner cannot pass.
#include "core/banner.h"

namespace core {
const std::string_view BuildDate = "2024/03/26";
const std::string_view BuildTimestamp = "2024/03/26 14:50:40";
const std::string_view ArchTag = " x64";
const std::string_view ToolchainText = " with TestCC 1.0";
}  // namespace core
