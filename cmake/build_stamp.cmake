# Writes the build's date, architecture and toolchain texts as C++ constants, and the same
# values as KEY=VALUE lines for the end-to-end tests. Run at every build (cmake -P), so the date
# is the build's, not the configuration's; SOURCE_DATE_EPOCH, when set, fixes it.
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
# Unchanged contents keep their file times: a build with a fixed SOURCE_DATE_EPOCH rebuilds nothing.
foreach(pair IN ITEMS "source;OUTPUT_SOURCE" "info;OUTPUT_INFO")
  list(GET pair 0 content_var)
  list(GET pair 1 path_var)
  set(old "")
  if(EXISTS "${${path_var}}")
    file(READ "${${path_var}}" old)
  endif()
  if(NOT old STREQUAL "${${content_var}}")
    file(WRITE "${${path_var}}" "${${content_var}}")
  endif()
endforeach()
