// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/run.h"
#include "app/switches.h"
#include "core/library.h"
#include "core/validation.h"

namespace {

using Arguments = std::vector<std::string>;
using Counts = std::array<int, 12>;

// Starts a run on `args` and makes the program's declarations; Finish() ends it.
void Declare(Arguments args) {
  core::TStartUpRec start;
  start.Arguments = std::move(args);
  core::StartUp(std::move(start));
  app::SetUpSwitchStyle();
  core::DeclareRows(app::Switches);
}

void Finish() {
  app::ResetSwitches();
  core::ShutDown();
}

// Judges `args` the way the program does: its switch style, its declarations, its essentials.
core::TParamStatisticsRec JudgeLine(Arguments args, std::string* hint = nullptr) {
  Declare(std::move(args));
  core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus,
                           core::EssentialList(app::Switches), true, -1, -1);
  core::TParamStatisticsRec result = core::CustomSyntaxStats;
  if (hint != nullptr) *hint = core::HelpSwitchHint;
  Finish();
  return result;
}

Counts CountsOf(const core::TParamStatisticsRec& s) {
  return {s.ParamCount,      s.UniqueCount,   s.NonBlankCount, s.ExaminedCount,
          s.SwitchCount,     s.ValueArgCount, s.OtherCount,    s.AttachedCount,
          s.IncompleteCount, s.InvalidCount,  s.IgnoredCount,  s.ReservedCount};
}

// Every field in order, so that two records compare as one string with a readable difference.
std::string Dump(const core::TParamStatisticsRec& s) {
  std::ostringstream out;
  out << s.Valid << s.Validated << s.EssentialMissing << ' ' << s.FirstIndex << '-' << s.LastIndex;
  for (const int count : CountsOf(s)) out << ' ' << count;
  for (const std::string* text :
       {&s.ParamList, &s.UniqueList, &s.NonBlankList, &s.ExaminedList, &s.SwitchList,
        &s.ValueArgList, &s.OtherList, &s.AttachedList, &s.IncompleteList, &s.InvalidList,
        &s.IgnoredList, &s.ReservedList, &s.EssentialFound, &s.EssentialForms, &s.Name}) {
    out << '|' << *text;
  }
  return out.str();
}

core::TParamStatusRec Entry(std::string_view param, std::int32_t status) {
  core::TParamStatusRec entry;
  entry.Status = status;
  entry.Param = param;
  return entry;
}

TEST(GetParamStatisticsTest, EmptyLineLacksOnlyAnEssentialSwitch) {
  std::string hint;
  const core::TParamStatisticsRec s = JudgeLine({}, &hint);
  EXPECT_EQ(Counts{}, CountsOf(s));
  EXPECT_EQ(0, s.FirstIndex);
  EXPECT_EQ(0, s.LastIndex);
  EXPECT_EQ(
      "/U -U /UPPER --UPPER /L -L /LOWER --LOWER /P -P /PROPER --PROPER /I -I /INVERT "
      "--INVERT /M -M /MIRROR --MIRROR /W -W /REVERSE-WORDS --REVERSE-WORDS ",
      s.EssentialForms);
  EXPECT_EQ("", s.EssentialFound);
  EXPECT_TRUE(s.EssentialMissing);
  EXPECT_TRUE(s.Validated);
  EXPECT_FALSE(s.Valid);
  EXPECT_EQ("Custom Syntax Validation Record", s.Name);
  EXPECT_EQ("-H --HELP -? --H2 --HELP2 --?? --VERSION-ONLY --BUILD-ONLY --INFO", hint);
}

// The lists that tell the kinds apart: Unique|Switch|ValueArg|Other|Attached|Incomplete|Invalid.
std::string KindLists(const core::TParamStatisticsRec& s) {
  return s.UniqueList + '|' + s.SwitchList + '|' + s.ValueArgList + '|' + s.OtherList + '|' +
         s.AttachedList + '|' + s.IncompleteList + '|' + s.InvalidList;
}

struct StatsCase {
  Arguments args;
  Counts counts;  // in the order of the record's fields
  std::string lists, found;
  bool valid;
};

TEST(GetParamStatisticsTest, SortsEachArgumentIntoItsListsAndFindsEssentials) {
  const std::vector<StatsCase> cases = {
      {{"-u", "a b"}, {2, 2, 2, 2, 1, 1}, "-u \"a b\" |-u |\"a b\" ||||", "-u ", true},
      {{"-z"}, {1, 1, 1, 1, 0, 0, 1, 0, 0, 1}, "-z |||-z |||-z ", "", false},
      {{"-u"}, {1, 1, 1, 1, 0, 0, 1, 0, 1}, "-u |||-u ||-u |", "", false},
      // -x is declared before -u, so it cannot be taken as the value of -u.
      {{"-u", "-x"}, {2, 2, 2, 2, 1, 0, 1, 0, 1}, "-u -x |-x ||-u ||-u |", "", false},
      // A blank argument no switch took: unique once, never non-blank.
      {{"-u", "x", "", ""},
       {4, 3, 2, 4, 1, 1, 2, 0, 0, 2},
       "-u x \"\" |-u |x |\"\" \"\" |||\"\" \"\" ",
       "-u ",
       false},
      {{"-u", "a", "-u", "b"}, {4, 3, 4, 4, 2, 2}, "-u a b |-u -u |a b ||||", "-u -u ", true},
      // Uniqueness is a substring test: u occurs inside -u.
      {{"-u", "u"}, {2, 1, 2, 2, 1, 1}, "-u |-u |u ||||", "-u ", true},
      {{"-U", "x", "-u", "y"}, {4, 3, 4, 4, 2, 2}, "-U x y |-U -u |x y ||||", "-U -u ", true},
      {{"-u:abc"}, {1, 1, 1, 1, 0, 0, 1, 1}, "-u:abc |||-u:abc |-u:abc ||", "-u ", true},
      // The switch part is cut from the argument before its value, not from the quoted entry.
      {{"-u:a b"},
       {1, 1, 1, 1, 0, 0, 1, 1},
       "\"-u:a b\" |||\"-u:a b\" |\"-u:a b\" ||",
       "-u ",
       true},
      // Switches are looked up before attached switches.
      {{"-u:x", "-l", "y"},
       {3, 3, 3, 3, 1, 1, 1, 1},
       "-u:x -l y |-l |y |-u:x |-u:x ||",
       "-l -u ",
       true},
      // An attached value is never taken for a switch.
      {{"-o:-u"}, {1, 1, 1, 1, 0, 0, 1, 1}, "-o:-u |||-o:-u |-o:-u ||", "", false},
      {{"--help"}, {1, 1, 1, 1, 1}, "--help |--help |||||", "", false},
  };
  for (const StatsCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const core::TParamStatisticsRec s = JudgeLine(c.args);
    EXPECT_EQ(c.counts, CountsOf(s));
    EXPECT_EQ(c.lists, KindLists(s));
    EXPECT_EQ(s.ParamList, s.ExaminedList);
    EXPECT_EQ(c.found, s.EssentialFound);
    EXPECT_EQ(c.found.empty(), s.EssentialMissing);
    EXPECT_EQ(c.valid, s.Valid);
  }
}

TEST(GetParamStatisticsTest, ListsBlankArgumentQuotedButNeverAsNonBlank) {
  const core::TParamStatisticsRec s = JudgeLine({"-u", "x", ""});
  EXPECT_EQ("-u x \"\" ", s.ParamList);
  EXPECT_EQ("-u x \"\" ", s.ExaminedList);
  EXPECT_EQ("-u x ", s.NonBlankList);
}

TEST(ValidateParamsTest, SecondValidationGivesIdenticalFields) {
  Declare({"-u", "a b", "-z", "", "-l:x", "-U", "-p"});
  core::ValidateParams(core::CustomSyntaxStats, core::ParamStatus,
                       core::EssentialList(app::Switches), true, -1, -1);
  const std::string first = Dump(core::CustomSyntaxStats);
  const std::string hint = core::HelpSwitchHint;
  core::ValidateParams(core::CustomSyntaxStats, core::ParamStatus,
                       core::EssentialList(app::Switches), true, -1, -1);
  EXPECT_EQ(first, Dump(core::CustomSyntaxStats));
  EXPECT_EQ(hint, core::HelpSwitchHint);
  Finish();
}

TEST(GetParamStatisticsTest, FillsDefaultRecordForWholeLineOnFirstCallOnly) {
  Declare({"-z", "-u", "a", "-l"});
  core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus,
                           core::EssentialList(app::Switches), true, 1, 2);
  const core::TParamStatisticsRec& custom = core::CustomSyntaxStats;
  EXPECT_EQ(1, custom.FirstIndex);
  EXPECT_EQ(2, custom.LastIndex);
  EXPECT_EQ("-u a ", custom.ParamList);
  EXPECT_EQ("-z -l ", custom.IgnoredList);
  EXPECT_TRUE(custom.Valid);  // -z and the incomplete -l lie outside the range
  const std::string whole = Dump(core::DefaultSyntaxStats);
  EXPECT_EQ("-z -u a -l ", core::DefaultSyntaxStats.ParamList);
  EXPECT_FALSE(core::DefaultSyntaxStats.Valid);
  EXPECT_EQ("Default Syntax Validation Record", core::DefaultSyntaxStats.Name);
  // A later call, with another range, leaves the default record as the first call left it.
  core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus,
                           core::EssentialList(app::Switches), true, 3, -1);
  EXPECT_EQ("-l ", custom.ParamList);
  EXPECT_EQ(whole, Dump(core::DefaultSyntaxStats));
  // Given the default record itself, the first call validates it once, with the caller's range.
  core::detail::ResetValidation();
  core::GetParamStatistics(core::DefaultSyntaxStats, core::ParamStatus,
                           core::EssentialList(app::Switches), true, 1, 2);
  EXPECT_EQ("-z -l ", core::DefaultSyntaxStats.IgnoredList);
  Finish();
}

struct RangeCase {
  std::int32_t first, last;
  int first_stored, last_stored;
  std::string params, ignored;
  bool valid;
};

TEST(ValidateParamsTest, RangeIsClampedAndMayNotStartPastLastArgument) {
  // Code 1 is assigned by nothing and makes no argument invalid; reserved ones count anywhere.
  const core::TParamStatusArray table = {Entry("a", core::psSwitchValue),
                                         Entry("b", core::psReserved), Entry("c", 1)};
  const std::vector<RangeCase> cases = {
      {-1, -1, 0, 2, "a b c ", "", true}, {1, -1, 1, 2, "b c ", "a ", true},
      {0, 1, 0, 1, "a b ", "c ", true},   {2, 7, 2, 2, "c ", "a b ", true},
      {2, 1, 2, 1, "", "a b c ", true},   {3, -1, 3, 2, "", "a b c ", false},
      {5, 1, 5, 1, "", "a b c ", false},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.first << ".." << c.last);
    core::TParamStatisticsRec s;
    // No essential list: only the range can make this table invalid.
    core::ValidateParams(s, table, "", true, c.first, c.last);
    EXPECT_EQ(c.first_stored, s.FirstIndex);
    EXPECT_EQ(c.last_stored, s.LastIndex);
    EXPECT_EQ(c.params, s.ParamList);
    EXPECT_EQ(c.ignored, s.IgnoredList);
    EXPECT_EQ("b ", s.ReservedList);
    EXPECT_EQ("", s.InvalidList);
    EXPECT_FALSE(s.EssentialMissing);
    EXPECT_EQ(c.valid, s.Valid);
  }
  for (const auto& [first, valid] :
       std::vector<std::pair<std::int32_t, bool>>{{-1, true}, {0, true}, {1, false}}) {
    SCOPED_TRACE(::testing::Message() << "empty table from " << first);
    core::TParamStatisticsRec s;
    core::ValidateParams(s, {}, "", true, first, -1);
    EXPECT_EQ(valid, s.Valid);
    EXPECT_EQ(Counts{}, CountsOf(s));
  }
}

TEST(ValidateParamsTest, EssentialIsMissingOnlyWhenListedAndRequired) {
  const core::TParamStatusArray table = {Entry("x", core::psSwitchValue)};
  for (const auto& [essential, require] :
       std::vector<std::pair<std::string, bool>>{{"", true}, {"", false}, {"U", false}}) {
    SCOPED_TRACE(essential + (require ? " required" : ""));
    core::TParamStatisticsRec s;
    core::ValidateParams(s, table, essential, require, -1, -1);
    EXPECT_FALSE(s.EssentialMissing);
    EXPECT_TRUE(s.Valid);
  }
}

TEST(AddListEntryTest, QuotesBlankAndSpacedEntriesAndWrapsCount) {
  std::uint16_t count = 65534;
  std::string list = "x ";
  for (const char* entry : {"", "a b", "\"q\"", "c"}) core::AddListEntry(count, list, entry);
  EXPECT_EQ("x \"\" \"a b\" \"q\" c ", list);
  EXPECT_EQ(2, count);
}

struct FormsCase {
  std::string list, declared, candidates, expected;
};

TEST(ListDeclaredFormsTest, AddsDeclaredWordsOnceWithTheirPrefixes) {
  const std::vector<FormsCase> cases = {
      {"", "H HELP INFO", "h help ? info", "-H --HELP --INFO"},
      {"-X", "H", "H", "-X -H"},
      {"-H --HELP", "H HELP", "H HELP", "-H --HELP"},
      // A word is matched whole, not as the start of a longer one.
      {"", "HELP2", "HELP", ""},
      {"--HELP2", "HELP HELP2", "HELP", "--HELP2 --HELP"},
      {"  -Q ", "Q", "", "-Q"},
  };
  for (const FormsCase& c : cases) {
    SCOPED_TRACE(c.list + "|" + c.declared + "|" + c.candidates);
    std::string list = c.list;
    core::ListDeclaredForms(list, c.declared, c.candidates);
    EXPECT_EQ(c.expected, list);
  }
}

}  // namespace
