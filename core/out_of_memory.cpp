// SPDX-License-Identifier: MIT
// A failed allocation ends the process with one fixed line: nothing on this path allocates.
#include "core/out_of_memory.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <new>

#include "core/banner.h"
#include "core/channels.h"
#include "core/paths.h"
#include "platform/platform.h"

namespace core {
namespace {

constexpr std::string_view Reason = ": out of memory";

std::string_view Invoked;
int OutOfMemoryExitCode = 1;
std::atomic_flag Ending;  // clear
// Static, not on the stack: the line is built where no page may need to be found any more.
std::array<char, 4096> PathBuffer;
std::array<char, 512> Line;

// MakeVersionInfo's BaseName, formed in place from the running executable's file name.
std::size_t PutBaseName(std::size_t at, std::size_t end) {
  std::string_view path = platform::ExecutablePathInto(PathBuffer);
  if (path.empty()) path = Invoked;
  detail::ForEachBaseNamePiece(FileNameOf(path), [&](std::string_view piece) {
    for (std::size_t i = 0; i < piece.size() && at < end; ++i) Line[at++] = piece[i];
  });
  return at;
}

void EndOnOutOfMemory() {
  // One line only, also when two threads run out at once: the second waits for the end.
  if (Ending.test_and_set()) {
    for (;;) platform::SleepMilliseconds(1000);
  }
  // The tool's line end is read where it lies; one longer than any real one is cut, not overrun.
  const std::string_view line_end = LineEnd.substr(0, Line.size() / 2);
  const std::size_t end = Line.size() - Reason.size() - line_end.size();
  std::size_t at = 0;
  // Copying an existing text needs no memory; a text being assigned keeps its old bytes until
  // its new memory is there.
  const std::string_view name = AppVersionInfo.BaseName;
  if (name.empty()) {
    at = PutBaseName(at, end);
  } else {
    for (std::size_t i = 0; i < name.size() && at < end; ++i) Line[at++] = name[i];
  }
  for (const std::string_view part : {Reason, line_end}) {
    for (const char c : part) Line[at++] = c;
  }
  // What a buffered run's output holds goes first, as the line would have followed it.
  platform::ExitWithLine(detail::PendingOutput(), std::string_view(Line.data(), at),
                         OutOfMemoryExitCode);
}

}  // namespace

void EndRunOnOutOfMemory(std::string_view invoked, int exit_code) {
  Invoked = invoked;
  OutOfMemoryExitCode = exit_code;
  std::set_new_handler(EndOnOutOfMemory);
}

}  // namespace core
