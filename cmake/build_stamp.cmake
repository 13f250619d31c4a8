# Writes the build's date, architecture and toolchain texts as C++ constants, and the same
# values as KEY=VALUE lines for the end-to-end tests. Run by the build whenever a source of the
# program has changed (cmake -P), so the date is that of the build that produced the program, not
# the configuration's; SOURCE_DATE_EPOCH, when set, fixes it.
# Inputs: OUTPUT_SOURCE, OUTPUT_INFO, ARCH_TAG, TOOLCHAIN_TEXT.
string(TIMESTAMP build_date "%Y/%m/%d" UTC)
string(TIMESTAMP build_timestamp "%Y/%m/%d %H:%M:%S" UTC)

set(source "// Generated at build time; do not edit.
#include \"core/banner.h\"

namespace core {
const std::string_view BuildDate = \"${build_date}\";
const std::string_view BuildTimestamp = \"${build_timestamp}\";
const std::string_view ArchTag = \"${ARCH_TAG}\";
const std::string_view ToolchainText = \"${TOOLCHAIN_TEXT}\";
}  // namespace core
")
set(info "BUILD_DATE=${build_date}
BUILD_TIMESTAMP=${build_timestamp}
ARCH_TAG=${ARCH_TAG}
TOOLCHAIN_TEXT=${TOOLCHAIN_TEXT}
")
file(WRITE "${OUTPUT_SOURCE}" "${source}")
file(WRITE "${OUTPUT_INFO}" "${info}")
