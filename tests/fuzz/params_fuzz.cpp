// SPDX-License-Identifier: MIT
// Fuzz target: the parameter engine and validation, declared and judged as the program does.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/run.h"
#include "app/switches.h"
#include "core/library.h"
#include "core/params.h"
#include "core/text.h"
#include "core/validation.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct TDeclared {
  std::string_view Aliases;
  bool Last;  ///< the last occurrence answers (every occurrence counts); otherwise the first
};

// The program's nineteen alias lists, written out again: the records are checked against what
// the command line holds, not against the declarations' own view of it.
const std::array<TDeclared, 19> Declared = {{
    {"  DEBUG DEBUG-MODE", false},
    {"  ERROR-DELAY", false},
    {"  AUDIBLE-ERROR", false},
    {"H HELP ? H2 HELP2 ??", false},
    {"V VERBOSE BUILD H2 HELP2 ??", false},
    {"  VERSION-ONLY BUILD-ONLY", false},
    {"  INFO", false},
    {"B BANNER", false},
    {"A ALLOW-BLANKS", false},
    {"O ONE-LINE", false},
    {"N NO-SPACES", false},
    {"R REVERSE-ALL", false},
    {"X EXTENDED-DELIMS", false},
    {"U UPPER", true},
    {"L LOWER", true},
    {"P PROPER", true},
    {"I INVERT", true},
    {"M MIRROR", true},
    {"W REVERSE-WORDS", true},
}};
constexpr std::size_t FirstTransformation = 13;

bool Occurs(std::string_view aliases, std::string_view arg) {
  core::TFindParamRec match;
  for (const std::string& word : core::detail::AliasWords(aliases)) {
    if (core::MatchSwitchArg(word, arg, match)) return true;
  }
  return false;
}

bool IsFresh(const core::TFindParamRec& rec) {
  return !rec.Found && !rec.Attached && rec.Index == -1 && rec.ParamIndex == -1 &&
         rec.Text.empty() && rec.Value1.empty() && rec.Value2.empty();
}

void CheckStatuses(const core::TParamStatusArray& table) {
  for (const core::TParamStatusRec& entry : table) {
    const std::int32_t s = entry.Status;
    fuzz::Require(s == core::psUnmatched || s == core::psSwitch || s == core::psSwitchValue ||
                      s == core::psAttachedSwitch || s == core::psIncomplete,
                  "every argument ends with a named status");
  }
}

// The record of the program's row for `aliases`; none for a row that keeps no answer.
const core::TFindParamRec* RecordOf(std::string_view aliases) {
  for (const core::TSwitchRow& row : app::Switches) {
    if (row.Aliases == aliases) return row.Record;
  }
  fuzz::Require(false, "every alias list is one of the program's rows");
  return nullptr;
}

void CheckRecord(const TDeclared& d, const core::TParamStatusArray& table) {
  if (RecordOf(d.Aliases) == nullptr) return;
  const core::TFindParamRec& rec = *RecordOf(d.Aliases);
  std::int32_t expected = -1;
  for (std::size_t h = 0; h < table.size(); ++h) {
    if (!Occurs(d.Aliases, table[h].Param)) continue;
    expected = static_cast<std::int32_t>(h);
    if (!d.Last) break;
  }
  if (expected == -1) {
    fuzz::Require(IsFresh(rec), "a switch that does not occur leaves a fresh record");
    return;
  }
  fuzz::Require(rec.Index == expected, "Index is the first or last occurrence");
  fuzz::Require(rec.ParamIndex == rec.Index + 1, "ParamIndex is Index + 1");
  const std::int32_t status = table[static_cast<std::size_t>(rec.Index)].Status;
  fuzz::Require(
      status == core::psSwitch || status == core::psAttachedSwitch || status == core::psIncomplete,
      "the answering argument is marked as a switch");
  if (!rec.Found) {
    fuzz::Require(status == core::psIncomplete, "a switch not found where it occurs is incomplete");
  }
}

// What one list of the statistics must hold: every argument that `takes` accepts, in order,
// quoted when needed and followed by a space; its count is their number in 16 bits.
template <typename Takes>
void CheckList(const core::TParamStatusArray& table, std::uint16_t count, const std::string& list,
               Takes takes) {
  std::string expected;
  std::size_t entries = 0;
  for (const core::TParamStatusRec& entry : table) {
    if (!takes(entry)) continue;
    expected += core::QuoteIfNeeded(entry.Param);
    expected.push_back(' ');
    ++entries;
  }
  fuzz::Require(count == static_cast<std::uint16_t>(entries), "a count equals its entries");
  fuzz::Require(list == expected, "a list holds its arguments in order");
}

void CheckStatistics(const core::TParamStatisticsRec& s, const core::TParamStatusArray& table) {
  const auto with = [](std::int32_t status) {
    return [status](const core::TParamStatusRec& e) { return e.Status == status; };
  };
  CheckList(table, s.ParamCount, s.ParamList, [](const core::TParamStatusRec&) { return true; });
  CheckList(table, s.ExaminedCount, s.ExaminedList,
            [](const core::TParamStatusRec&) { return true; });
  CheckList(table, s.NonBlankCount, s.NonBlankList,
            [](const core::TParamStatusRec& e) { return !e.Param.empty(); });
  CheckList(table, s.OtherCount, s.OtherList, [](const core::TParamStatusRec& e) {
    return e.Status != core::psSwitch && e.Status != core::psSwitchValue;
  });
  CheckList(table, s.InvalidCount, s.InvalidList, with(core::psUnmatched));
  CheckList(table, s.SwitchCount, s.SwitchList, with(core::psSwitch));
  CheckList(table, s.ValueArgCount, s.ValueArgList, with(core::psSwitchValue));
  CheckList(table, s.AttachedCount, s.AttachedList, with(core::psAttachedSwitch));
  CheckList(table, s.IncompleteCount, s.IncompleteList, with(core::psIncomplete));
  CheckList(table, s.ReservedCount, s.ReservedList, with(core::psReserved));
  fuzz::Require(s.IgnoredList.empty() && s.IgnoredCount == 0, "the whole line is judged");
  fuzz::Require(s.EssentialMissing == s.EssentialFound.empty(), "an essential switch is required");
  fuzz::Require(
      s.Valid == (s.InvalidList.empty() && s.IncompleteList.empty() && !s.EssentialMissing),
      "the verdict follows the lists");
}

// The processing loop's lookup must agree with the table: an argument that is exactly a
// transformation switch was declared as one.
void CheckMatchesAt(const core::TParamStatusArray& table) {
  const bool value_required = !RecordOf("A ALLOW-BLANKS")->Found;
  const core::TParamFlags flags = value_required ? core::pfNoBlankFirstValue : core::TParamFlags{};
  core::TFindParamRec rec;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::string_view arg = table[i].Param;
    const std::string_view next =
        i + 1 < table.size() ? std::string_view(table[i + 1].Param) : std::string_view();
    for (std::size_t d = FirstTransformation; d < Declared.size(); ++d) {
      core::MatchParamAt(rec, arg, Declared[d].Aliases, next, 1, flags);
      if (rec.Index == -1) {
        fuzz::Require(IsFresh(rec), "MatchParamAt leaves a fresh record without a match");
        continue;
      }
      fuzz::Require(rec.Index == 0 && rec.ParamIndex == 0 && rec.Text == arg,
                    "MatchParamAt answers at position 0 with the argument");
      fuzz::Require(rec.Found == !(value_required && next.empty()),
                    "MatchParamAt finds a switch unless its required value is blank");
      if (rec.Found) fuzz::Require(rec.Value1 == next, "the value is the next argument");
      fuzz::Require(table[i].Status == core::psSwitch || table[i].Status == core::psIncomplete,
                    "a transformation switch is marked as one");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  core::StartUp({fuzz::SplitArguments(data, size), "/opt/fuzz/Lettrix", "Lettrix"});
  app::SetUpSwitchStyle();
  core::DeclareRows(app::Switches);
  core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus,
                           core::EssentialList(app::Switches), true, -1, -1);
  const core::TParamStatusArray& table = core::ParamStatus;
  CheckStatuses(table);
  for (const TDeclared& d : Declared) CheckRecord(d, table);
  CheckStatistics(core::CustomSyntaxStats, table);
  CheckMatchesAt(table);
  app::ResetSwitches();
  core::ShutDown();
  return 0;
}
