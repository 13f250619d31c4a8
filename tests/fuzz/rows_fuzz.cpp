// SPDX-License-Identifier: MIT
// Fuzz target: a tool made of random rows, of every value rule, run on a random command line;
// on a line that stands, every occurrence and number must be as the user typed it and the rule
// allows.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/frame.h"
#include "core/library.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Few words, so that rows share them and arguments meet them often.
constexpr std::array<std::string_view, 10> Aliases = {
    "A", "B ALPHA", "C", "ALPHA BETA", "D GAMMA", "+", "E", "F GAMMA", "G:H", "AB"};
constexpr std::size_t MostRows = 8;

std::array<core::TFindParamRec, MostRows> Records;
std::array<std::int64_t, MostRows> Numbers;
std::vector<core::TSwitchRow> Rows;
core::TSwitchStyle Style = core::ssPlain;

struct TMet {
  const core::TSwitchRow* Row;
  std::int32_t Index;
  std::string Text, Value;
  bool Attached;
};
std::vector<TMet> Met;
bool BodyRan = false;

void Note(const core::TOccurrence& o) {
  Met.push_back({o.Row, o.Index, std::string(o.Text), std::string(o.Value), o.Attached});
}

void Body() {
  BodyRan = true;
  core::ActOnOccurrences(Rows);
  const core::TParamStatusArray& table = core::ParamStatus;
  for (std::size_t m = 0; m < Met.size(); ++m) {
    const TMet& met = Met[m];
    fuzz::Require(m == 0 || Met[m - 1].Index <= met.Index, "occurrences in command-line order");
    const std::string_view arg = table[static_cast<std::size_t>(met.Index)].Param;
    const std::int32_t status = table[static_cast<std::size_t>(met.Index)].Status;
    fuzz::Require(status == core::psSwitch || status == core::psAttachedSwitch,
                  "an occurrence's switch was declared as one");
    if (met.Attached) {
      fuzz::Require(arg.size() == met.Text.size() + 1 + met.Value.size() &&
                        arg.starts_with(met.Text) && arg.ends_with(met.Value) &&
                        (arg[met.Text.size()] == ':' || arg[met.Text.size()] == '='),
                    "an attached value is the whole rest of its argument");
      fuzz::Require(met.Row->Rule != core::vrNone, "a flag that refuses a value has none");
    } else {
      fuzz::Require(met.Text == arg, "a switch standing alone is its whole argument");
      const auto next = static_cast<std::size_t>(met.Index) + 1;
      fuzz::Require(met.Value.empty() || (next < table.size() && met.Value == table[next].Param),
                    "a value is the next argument, byte for byte");
    }
    const bool may_be_blank = met.Row->BlankWith != nullptr && met.Row->BlankWith->Found;
    if (met.Row->Rule == core::vrNonEmpty && !may_be_blank) {
      fuzz::Require(!met.Value.empty(), "a value that may not be empty is not");
    }
    if (met.Row->Rule == core::vrAttached && met.Attached) {
      fuzz::Require(!met.Value.empty(), "an attached-only value is never empty");
    }
  }
  for (std::size_t r = 0; r < Rows.size(); ++r) {
    const core::TSwitchRow& row = Rows[r];
    if (row.Number != nullptr) {
      fuzz::Require(*row.Number >= row.Range.Least && *row.Number <= row.Range.Most,
                    "every number is in its range");
    }
    if (row.Record == nullptr || !row.Record->Found) continue;
    if (row.Rule == core::vrNone) {
      fuzz::Require(!row.Record->Attached, "a flag that refuses a value has none");
    }
    const std::string& value = row.Record->Value1;
    if (row.Number != nullptr && !value.empty()) {
      fuzz::Require(value.find_first_not_of("0123456789") == std::string::npos &&
                        std::stoll(value) == *row.Number,
                    "a number is its value as typed, digits only");
    }
  }
}

// One row of every kind the input asks for: a value rule, with an action or a number.
core::TSwitchRow MakeRow(FuzzedDataProvider& input, std::size_t r) {
  core::TSwitchRow row;
  row.Aliases = Aliases[input.ConsumeIntegralInRange<std::size_t>(0, Aliases.size() - 1)];
  row.Rule = static_cast<core::TValueRule>(input.ConsumeIntegralInRange(0, 5));
  row.Record = &Records[r];
  row.Repeats = input.ConsumeBool();
  row.Essential = input.ConsumeBool();
  const bool takes_value = row.Rule != core::vrNone && row.Rule != core::vrIgnored;
  if (takes_value && input.ConsumeBool()) {
    const auto least = input.ConsumeIntegralInRange<std::int64_t>(0, 100);
    const auto most = least + input.ConsumeIntegralInRange<std::int64_t>(0, 1000000);
    row.Number = &Numbers[r];
    row.Range = {least, most, input.ConsumeIntegralInRange(least, most)};
  } else if (takes_value) {
    row.Action = Note;
  }
  if (r > 0 && input.ConsumeBool()) {
    row.BlankWith = &Records[input.ConsumeIntegralInRange<std::size_t>(0, r - 1)];
  }
  return row;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  Rows.clear();
  const auto count = input.ConsumeIntegralInRange<std::size_t>(1, MostRows);
  for (std::size_t r = 0; r < count; ++r) Rows.push_back(MakeRow(input, r));
  Style = static_cast<core::TSwitchStyle>(input.ConsumeIntegralInRange(0, 3));
  const std::string rest = input.ConsumeRemainingBytesAsString();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(rest.data());

  std::string out, err;
  core::TStartUpRec run;
  run.Arguments = fuzz::SplitArguments(bytes, rest.size());
  run.ExecutablePath = "/opt/fuzz/tool";
  run.Output = core::TTextChannel{platform::stdOutput, &out};
  run.Error = core::TTextChannel{platform::stdError, &err};
  core::TToolRec tool;
  tool.Body = Body;
  tool.SetUp = [] { core::SwitchStyle = Style; };
  tool.Switches = Rows;
  Met.clear();
  BodyRan = false;
  const int code = core::RunTool(std::move(run), tool);
  fuzz::Require(code == 0 || code == 64 || code == 65 || code == 67,
                "the exit code is one of the library's for a line");
  fuzz::Require(BodyRan == (code == 0), "the body runs on a line that stands, and only there");
  return 0;
}
