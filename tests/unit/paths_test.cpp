// SPDX-License-Identifier: MIT
#include "core/paths.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

// Only a root keeps its trailing slash; a doubled slash is not collapsed. On Windows a backslash
// and a colon separate too.
TEST(DirectoryOfTest, CutsAfterLastSlashAndDropsItUnlessRoot) {
  const struct {
    std::string_view input, expected;
  } rows[] = {
      {"/usr/bin/Lettrix", "/usr/bin"},
      {"/Lettrix", "/"},
      {"Lettrix", ""},
      {"", ""},
      {"/usr/bin/", "/usr/bin"},
      {"a//b", "a//"},
      {"/opt/my tools/a.exe", "/opt/my tools"},
#ifdef _WIN32
      {"C:\\tools\\a.exe", "C:\\tools"},
      {"C:\\a.exe", "C:\\"},  // a drive root keeps its backslash
      {"C:a.exe", "C:"},
      {"C:\\tools/sub\\", "C:\\tools/sub"},
      {"\\\\server\\share\\a.exe", "\\\\server\\share"},
#else
      {"C:\\tools\\a.exe", ""},  // a backslash separates nothing here
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, core::DirectoryOf(row.input));
  }
}

TEST(FileNameOfTest, TakesEverythingAfterLastSlash) {
  const struct {
    std::string_view input, expected;
  } rows[] = {
      {"/usr/bin/Lettrix", "Lettrix"},
      {"Lettrix", "Lettrix"},
      {"/usr/bin/", ""},
      {"/opt/v1.2/tool", "tool"},
      {"/a.exe.b.EXE", "a.exe.b.EXE"},
#ifdef _WIN32
      {"C:\\tools\\a.exe", "a.exe"},
      {"C:a.exe", "a.exe"},
#else
      {"C:\\tools\\a.exe", "C:\\tools\\a.exe"},
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(row.expected, core::FileNameOf(row.input));
  }
}

}  // namespace
