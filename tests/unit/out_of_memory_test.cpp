// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "core/banner.h"
#include "core/channels.h"
#include "core/out_of_memory.h"
#include "platform/platform.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LETTRIX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define LETTRIX_ASAN 1
#endif

namespace {

// The end-to-end test runs out of memory under real limits (POSIX); this one also reaches the
// Windows build: the exit code, and the program's name however it is known.
#if defined(LETTRIX_ASAN)
TEST(OutOfMemoryDeathTest, EndsWith71AndOneLineNamingTheProgram) {
  GTEST_SKIP() << "AddressSanitizer reports a failed allocation itself";
}
#else
void* volatile Kept = nullptr;

// Ends the process: the handler names the program by its identity or, before that is filled,
// by the running executable (this test program) without its extension.
void RunOutOfMemory(const std::string& base_name, std::string_view line_end = "\r\n",
                    std::string_view owed = {}) {
  core::AppVersionInfo.BaseName = base_name;
  core::LineEnd = line_end;
  core::detail::BufferOutput();
  core::Write(core::OutputChannel, owed);
  core::EndRunOnOutOfMemory("ignored/when/the/system/tells", 71);
  // No machine can serve the whole address space, whatever the width of its pointers.
  Kept = ::operator new(std::numeric_limits<std::size_t>::max());
}

TEST(OutOfMemoryDeathTest, EndsWith71AndOneLineNamingTheProgram) {
  // The line end is the end-to-end test's to check: Windows hands it over in text mode.
  EXPECT_EXIT(RunOutOfMemory("Tool"), testing::ExitedWithCode(71), "^Tool: out of memory\\s*$");
  EXPECT_EXIT(RunOutOfMemory(""), testing::ExitedWithCode(71), "^unit_tests: out of memory\\s*$");
  // A tool's own line end ends the line; a visible one, which no text mode translates.
  EXPECT_EXIT(RunOutOfMemory("Tool", "|\n"), testing::ExitedWithCode(71),
              "^Tool: out of memory\\|\\s*$");
  // What buffered output holds reaches standard output first, in a file beside this program.
  const std::string path = platform::ExecutablePath("unit_tests") + ".owed";
  std::remove(path.c_str());
  EXPECT_EXIT(
      {
        if (std::freopen(path.c_str(), "wb", stdout) != nullptr)
          RunOutOfMemory("Tool", "\n", "owed");
      },
      testing::ExitedWithCode(71), "^Tool: out of memory\\s*$");
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ("owed", std::string(std::istreambuf_iterator<char>(file), {}));
}
#endif

}  // namespace
