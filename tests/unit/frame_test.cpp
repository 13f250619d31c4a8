// SPDX-License-Identifier: MIT
#include "core/frame.h"

#include <gtest/gtest.h>

#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "core/dates.h"
#include "platform/platform.h"

namespace {

// An exception that says nothing of itself.
struct TSilentError : std::exception {
  const char* what() const noexcept override { return ""; }
};

// Each way a body can fail that a tool does not catch: the frame turns it into its exit code and
// one line on standard error that names the tool, and writes nothing on standard output.
TEST(RunToolTest, EndsEachUncaughtFailureWithItsCodeAndLine) {
  const struct {
    std::string_view name;
    void (*body)();
    int code;
    std::string_view error;
  } rows[] = {
      {"exception with a text", [] { throw std::runtime_error("no rows"); }, 70,
       "Tool: internal error: no rows\r\n"},
      {"exception without a text", [] { throw TSilentError(); }, 70, "Tool: internal error\r\n"},
      {"no exception", [] { throw 1; }, 70, "Tool: internal error\r\n"},
      {"unreadable date", [] { core::TextToDateTime("13/45/2024", "mm/dd/yyyy"); }, 70,
       "Tool: cannot read the date 13/45/2024\r\n"},
      {"out of memory", [] { throw std::bad_alloc(); }, 71, "Tool: out of memory\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string out, err;
    core::TStartUpRec start;
    start.ExecutablePath = "/opt/tools/Tool";
    start.Output = core::TTextChannel{platform::stdOutput, &out};
    start.Error = core::TTextChannel{platform::stdError, &err};
    core::TToolRec tool;
    tool.Body = row.body;
    EXPECT_EQ(core::RunTool(std::move(start), tool), row.code);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, row.error);
  }
}

}  // namespace
