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

void EndOnOutOfMemory() {
  // One line only, also when two threads run out at once: the second waits for the end.
  if (Ending.test_and_set()) {
    for (;;) platform::SleepMilliseconds(1000);
  }
  // The tool's line end is read where it lies; one longer than any real one is cut, not overrun.
  const std::string_view line_end = LineEnd.substr(0, Line.size() / 2);
  const std::size_t end = Line.size() - Reason.size() - line_end.size();
  // Before start-up the executable's path is asked of the system, or taken as invoked.
  std::string_view path = detail::ExecutableFullPath;
  if (path.empty()) path = platform::ExecutablePathInto(PathBuffer);
  if (path.empty()) path = Invoked;
  std::size_t at = detail::ToolNameInto(std::span(Line.data(), end), path).size();
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
