// SPDX-License-Identifier: MIT
#include "core/library.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/report.h"
#include "tests/unit/captured_run.h"

namespace {

TEST(StartUpTest, ExecutionPathIsQuotedDirectoryOfExecutable) {
  const struct {
    std::string_view input, expected;
  } rows[] = {
      {"/opt/my tools/a.exe.b.EXE", "\"/opt/my tools\""},
      {"/usr/bin/Lettrix", "/usr/bin"},
      {"/Lettrix", "/"},
#ifdef _WIN32
      {"C:\\Program Files\\Lettrix\\Lettrix.exe", "\"C:\\Program Files\\Lettrix\""},
      {"C:\\Lettrix.exe", "C:\\"},  // a drive root, unquoted
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    const test::TCapturedRun run{std::string(row.input)};
    EXPECT_EQ(row.expected, core::ExecutionPath);
  }
}

}  // namespace
