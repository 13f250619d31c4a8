// SPDX-License-Identifier: MIT
#include "core/params.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/library.h"

namespace {

constexpr core::TParamFlags kNone{};
constexpr core::TParamFlags kFirst = core::pfNoBlankFirstValue;
constexpr core::TParamFlags kBoth = core::pfNoBlankValues;

// One line per answer keeps table rows short and shows every field when a case fails:
// "found+attached 0/1 [-u|value1|value2]".
std::string Describe(const core::TFindParamRec& rec) {
  return std::string(rec.Reserved ? "reserved " : "") + (rec.Found ? "found" : "absent") +
         (rec.Attached ? "+attached " : " ") + std::to_string(rec.Index) + "/" +
         std::to_string(rec.ParamIndex) + " [" + rec.Text + "|" + rec.Value1 + "|" + rec.Value2 +
         "]";
}

// The argument table's statuses, one letter each: '.' unmatched, 'S' switch, 'v' value,
// 'A' switch with attached value, '!' incomplete.
std::string Statuses() {
  static constexpr std::string_view kLetters = ".1SvA!6";
  std::string letters;
  for (const core::TParamStatusRec& entry : core::ParamStatus) {
    letters += kLetters.at(static_cast<std::size_t>(entry.Status));
  }
  return letters;
}

// The four marks of an entry as letters, '-' where a mark is clear.
std::string Marks(const core::TParamStatusRec& entry) {
  return std::string{entry.SwitchMark ? 'S' : '-', entry.ValueMark ? 'V' : '-',
                     entry.AttachMark ? 'A' : '-', entry.SpareMark ? 'P' : '-'};
}

// The engine works on library-wide state; every test starts its own run and ends it, so no
// argument table, style or declared word leaks into the next test.
class ParamEngineTest : public testing::Test {
 protected:
  void SetUp() override { Start({}); }
  void TearDown() override { core::ShutDown(); }

  static void Start(std::vector<std::string> args) {
    core::ShutDown();
    core::TStartUpRec start;
    start.Arguments = std::move(args);
    core::StartUp(std::move(start));
  }

  static core::TFindParamRec FindU(std::int32_t value_count, core::TParamFlags flags) {
    core::TFindParamRec rec;
    core::FindParam(rec, core::ParamStatus, "U UPPER", -1, -1, value_count, flags, "", "");
    return rec;
  }

  static core::TFindParamRec FindValue(std::string_view aliases, std::string& value,
                                       core::TParamFlags flags) {
    core::TFindParamRec rec;
    core::FindParamValue(rec, core::ParamStatus, aliases, value, flags, -1, core::skFrom);
    return rec;
  }
};

// The table-marking lookup and the per-argument one must agree on every form.
TEST_F(ParamEngineTest, SwitchMatchesAcceptsExactlyTheFormsOfTheStyle) {
  struct Case {
    core::TSwitchStyle style;
    bool double_dash;
    const char* aliases;
    std::vector<const char*> accepted, refused;
  };
  const Case cases[] = {
      {core::ssPlain,
       true,
       "U UPPER",
       {"-u", "-U", "/u", "/UPPER", "--upper"},
       // A prefix that differs from a form's in its second byte only is no form.
       {"--u", "-upper", "u", "-up", "--upperx", "-", "/", "-u:abc", "-/UPPER", "/-UPPER"}},
      {core::ssPlain, false, "U UPPER", {"-upper", "--upper", "/upper"}, {"--u", "upper"}},
      {core::ssBareSymbols, true, "+ U ?", {"+", "/+", "-+", "-?"}, {"u", "?", "++", "-u=abc"}},
      {core::ssBareAndAttached, true, "+", {"+"}, {}},
      {core::ssPlain, true, "+", {"/+", "-+"}, {"+"}},
      {core::ssAttachedValues, true, "U +", {"-+"}, {"+", "-uabc", "--u:abc"}},
  };
  for (const Case& c : cases) {
    for (bool found : {true, false}) {
      for (const char* arg : found ? c.accepted : c.refused) {
        SCOPED_TRACE(std::string(c.aliases) + " / " + arg + " / style " + std::to_string(c.style) +
                     (c.double_dash ? "" : " / single dash"));
        // Behind a long line of values the lookup scans another way; it must see the same forms.
        std::vector<std::string> long_line(80, "x");
        long_line.emplace_back(arg);
        core::TFindParamRec rec;
        for (const std::vector<std::string>& args : {std::vector<std::string>{arg}, long_line}) {
          Start(args);
          core::SwitchStyle = c.style;
          core::RequireDoubleDash = c.double_dash;
          core::FindParamFlag(rec, core::ParamStatus, c.aliases, kNone, -1, core::skFrom);
          EXPECT_EQ(rec.Index, found ? static_cast<std::int32_t>(args.size()) - 1 : -1);
        }
        EXPECT_EQ(rec.Found, found);
        EXPECT_EQ(Statuses().back(), found ? 'S' : '.');
        core::MatchParamAt(rec, arg, c.aliases, "", 0, kNone);
        EXPECT_EQ(rec.Found, found);
        // MatchSwitchArg takes one word; a form of any word is a plain match, never attached.
        bool matched = false;
        std::istringstream words(c.aliases);
        for (std::string word; words >> word;) {
          core::TFindParamRec match;
          if (!core::MatchSwitchArg(word, arg, match)) continue;
          matched = true;
          EXPECT_EQ(Describe(match), "found -1/-1 [" + std::string(arg) + "||]");
        }
        EXPECT_EQ(matched, found);
      }
    }
  }
}

// A user's text is never cut: an attached value of thousands of bytes reaches the match and
// the declaration's answer whole.
TEST_F(ParamEngineTest, MatchSwitchArgKeepsALongAttachedValueWhole) {
  const std::string value = std::string(4999, 'a') + "b";
  Start({"-u:" + value});
  core::SwitchStyle = core::ssAttachedValues;
  core::TFindParamRec match;
  ASSERT_TRUE(core::MatchSwitchArg("U", "-u:" + value, match));
  EXPECT_EQ(match.Value1, value);
  EXPECT_EQ(match.Text, "-u");
  std::string declared;
  core::FindParamValue(match, core::ParamStatus, "U UPPER", declared, kFirst, -1, core::skFrom);
  EXPECT_EQ(declared, value);
  EXPECT_EQ(Statuses(), "A");
}

// A fresh table of the run's arguments: each of them, unmatched, whatever the run's own table
// has marked.
TEST_F(ParamEngineTest, BuildParamStatusHoldsTheRunsArgumentsUnmatched) {
  Start({"-u", "", "\xE9t\xE9"});
  std::string value;
  FindValue("U", value, kNone);
  ASSERT_EQ(Statuses(), "Sv.");
  const core::TParamStatusArray table = core::BuildParamStatus();
  ASSERT_EQ(table.size(), 3u);
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(table[i].Param, core::ParamStatus[i].Param);
    EXPECT_EQ(table[i].Status, core::psUnmatched);
    EXPECT_EQ(Marks(table[i]), "----");
  }
}

// Each outcome writes its own marks on the switch's entry and leaves the others as they were,
// so the entry starts with the marks an outcome might wrongly keep or wrongly clear. Defaults
// show which values an outcome replaces.
TEST_F(ParamEngineTest, FindParamAnswersAndMarksTheSwitchEntryByOutcome) {
  struct Case {
    std::vector<std::string> args;
    std::int32_t taken, value_count;  // taken: a position already recognised as a switch
    core::TParamFlags flags;
    std::string_view answer, statuses, marks;
  };
  const Case cases[] = {
      {{"-u"}, -1, 0, kNone, "found 0/1 [-u|d1|d2]", "S", "SVAP"},
      {{"-u:abc", "x"}, -1, 1, kNone, "found+attached 0/1 [-u|abc|d2]", "A.", "SVA-"},
      {{"-U=abc"}, -1, 1, kNone, "found+attached 0/1 [-U|abc|d2]", "A", "SVA-"},
      {{"--Upper:a=b"}, -1, 1, kNone, "found+attached 0/1 [--Upper|a=b|d2]", "A", "SVA-"},
      {{"/u::x"}, -1, 0, kFirst, "found+attached 0/1 [/u|:x|d2]", "A", "SVA-"},
      {{"-u:", "x"}, -1, 1, kNone, "found+attached 0/1 [-u||d2]", "A.", "SVA-"},
      {{"-u:"}, -1, 0, kFirst, "found+attached 0/1 [-u||d2]", "!", "S-AP"},
      {{"-u:", "abc"}, -1, 1, kFirst, "found+attached 0/1 [-u|abc|d2]", "!v", "S-AP"},
      {{"-u:"}, -1, 1, kFirst, "absent+attached 0/1 [-u||d2]", "!", "S--P"},
      {{"-u"}, -1, 1, kFirst, "absent 0/1 [-u||d2]", "!", "S--P"},
      {{"-u", ""}, -1, 1, kFirst, "absent 0/1 [-u||d2]", "!.", "S--P"},
      {{"-u", ""}, -1, 1, kBoth, "absent 0/1 [-u||d2]", "!.", "S--P"},
      {{"-u", ""}, -1, 1, kNone, "found 0/1 [-u||d2]", "Sv", "SVAP"},
      {{"-u", "-L"}, 1, 1, kNone, "found 0/1 [-u|-L|d2]", "!S", "SVAP"},
      {{"-u", "a", "b"}, -1, 2, kNone, "found 0/1 [-u|a|b]", "Svv", "SVAP"},
      {{"-u", "a", "b"}, -1, 3, kNone, "found 0/1 [-u|a|d2]", "Sv.", "SVAP"},
      {{"-u"}, -1, 2, kNone, "found 0/1 [-u||d2]", "S", "SVAP"},
      {{"-u", "a"}, -1, 2, kBoth, "absent 0/1 [-u|a|]", "!v", "S--P"},
      {{"-u", "a", ""}, -1, 2, kBoth, "absent 0/1 [-u|a|]", "!v.", "---P"},
      {{"-u", "a", ""}, -1, 2, kFirst, "found 0/1 [-u|a|]", "Svv", "SVAP"},
      {{"-u", "a", "-L"}, 2, 2, kNone, "found 0/1 [-u|a|-L]", "!vS", "-VAP"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args) + " / values " + std::to_string(c.value_count) +
                 " / flags " + std::to_string(c.flags.Bits()));
    Start(c.args);
    core::SwitchStyle = core::ssAttachedValues;
    core::TParamStatusRec& entry = core::ParamStatus[0];
    entry.ValueMark = entry.AttachMark = entry.SpareMark = true;
    if (c.taken >= 0) core::ParamStatus[static_cast<std::size_t>(c.taken)].Status = core::psSwitch;
    core::TFindParamRec rec;
    core::FindParam(rec, core::ParamStatus, "U UPPER", -1, -1, c.value_count, c.flags, "d1", "d2");
    EXPECT_EQ(Describe(rec), c.answer);
    EXPECT_EQ(Statuses(), c.statuses);
    EXPECT_EQ(Marks(entry), c.marks);
  }
}

TEST_F(ParamEngineTest, FindParamFindAllReportsTheLastOccurrence) {
  Start({"-u", "a", "-u", "b"});
  EXPECT_EQ(Describe(FindU(1, core::pfFindAll)), "found 2/3 [-u|b|]");
  EXPECT_EQ(Statuses(), "SvSv");

  Start({"-u", "a", "-u", "b"});
  EXPECT_EQ(Describe(FindU(1, kNone)), "found 0/1 [-u|a|]");
  EXPECT_EQ(Statuses(), "Sv..");

  // An occurrence lacking its value still ends the search.
  Start({"-u", "", "-u", "b"});
  EXPECT_EQ(Describe(FindU(1, kFirst)), "absent 0/1 [-u||]");
  EXPECT_EQ(Statuses(), "!...");

  // A long line is scanned another way, and every occurrence still answers in turn.
  std::vector<std::string> pairs;
  std::string statuses;
  for (int i = 0; i < 40; ++i) {
    pairs.insert(pairs.end(), {"-u", "v" + std::to_string(i)});
    statuses += "Sv";
  }
  Start(pairs);
  core::RecordFindHistory = true;
  EXPECT_EQ(Describe(FindU(1, core::pfFindAll)), "found 78/79 [-u|v39|]");
  EXPECT_EQ(Statuses(), statuses);
  EXPECT_EQ(core::FindHistory.size(), 40u);
}

TEST_F(ParamEngineTest, FindParamRecordsEveryAnswerButAnAcceptedAttachedOne) {
  Start({"-u", "a", "-u:b", "-u"});
  core::SwitchStyle = core::ssAttachedValues;
  core::RecordFindHistory = true;
  // Once an occurrence carried an attached value, the answer keeps saying so.
  EXPECT_EQ(Describe(FindU(1, core::pfFindAll)), "found+attached 3/4 [-u||]");
  ASSERT_EQ(core::FindHistory.size(), 2u);
  EXPECT_EQ(Describe(core::FindHistory[0]), "found 0/1 [-u|a|]");
  EXPECT_EQ(Describe(core::FindHistory[1]), "found+attached 3/4 [-u||]");
}

TEST_F(ParamEngineTest, FindParamFindsNothingOnAnEmptyCommandLineOrWithoutWords) {
  core::RecordFindHistory = true;
  core::TFindParamRec rec{true, true, true, 4, 5, "old", "old", "old"};
  core::FindParam(rec, core::ParamStatus, "U UPPER", -1, -1, 2, kBoth, "d1", "d2");
  EXPECT_EQ(Describe(rec), "absent -1/-1 [|d1|d2]");
  EXPECT_TRUE(core::FindHistory.empty());
  EXPECT_EQ(core::DeclaredSwitches, "U UPPER");  // declared even when nothing can match

  Start({"-u", ","});
  core::FindParam(rec, core::ParamStatus, " ,; ", -1, -1, 1, kNone, "", "");
  EXPECT_EQ(Describe(rec), "absent -1/-1 [||]");
  EXPECT_EQ(Statuses(), "..");
}

// A library user may put a table of its own in ParamStatus's place, even one of the same size
// in the same memory: no lookup may answer from what it knew of the old one.
TEST_F(ParamEngineTest, FindParamLooksUpARefilledTableAfresh) {
  std::string value;
  const auto table = [](std::string_view switch_text, std::string_view value_text) {
    core::TParamStatusArray fresh = core::NewParamStatusArray(2);
    fresh[0].Param = switch_text;
    fresh[1].Param = value_text;
    return fresh;
  };
  const core::TParamStatusArray first = table("-u", "abc"), second = table("-L", "def");
  core::ParamStatus = first;
  EXPECT_EQ(Describe(FindValue("U UPPER", value, kFirst)), "found 0/1 [-u|abc|]");
  core::ParamStatus = second;  // copied into the same memory
  EXPECT_EQ(Describe(FindValue("L LOWER", value, kFirst)), "found 0/1 [-L|def|]");
  EXPECT_EQ(Describe(FindValue("U UPPER", value, kFirst)), "absent -1/-1 [||]");
}

TEST_F(ParamEngineTest, FindParamValueSearchesOnlyTheRangeButTakesValuesBeyondIt) {
  Start({"-u", "a", "-u", "b"});
  core::TFindParamRec rec;
  std::string value;
  core::FindParamValue(rec, core::ParamStatus, "U", value, kNone, 1, core::skFrom);
  EXPECT_EQ(Describe(rec), "found 2/3 [-u|b|]");
  core::FindParamValue(rec, core::ParamStatus, "U", value, core::pfFindAll, 0, core::skUpTo);
  EXPECT_EQ(Describe(rec), "found 0/1 [-u|a|]");
  core::FindParamValue(rec, core::ParamStatus, "U", value, kNone, 4, core::skFrom);
  EXPECT_EQ(rec.Index, -1);
}

// The value variable serves as the default only when asked, even when it is the answer's own
// field: the default has to be read before the answer is started afresh.
TEST_F(ParamEngineTest, FindParamValueKeepsTheValueAsDefaultOnlyWhenAsked) {
  Start({"-x"});
  std::string value = "x";
  EXPECT_EQ(Describe(FindValue("U", value, kNone)), "absent -1/-1 [||]");
  EXPECT_EQ(value, "");
  core::TFindParamRec rec;
  rec.Value1 = "keep";
  core::FindParamValue(rec, core::ParamStatus, "U", rec.Value1, core::pfKeepDefault, -1,
                       core::skFrom);
  EXPECT_EQ(Describe(rec), "absent -1/-1 [|keep|]");
}

// A later declaration re-marks an argument an earlier one took as its value, and an earlier
// declaration's switch cannot serve as a later one's value.
TEST_F(ParamEngineTest, FindParamValueDeclarationOrderDecidesClassification) {
  std::string value;
  Start({"-L", "-u", "text"});
  FindValue("U UPPER", value, kFirst);
  EXPECT_EQ(Statuses(), ".Sv");
  EXPECT_EQ(Describe(FindValue("L LOWER", value, kFirst)), "found 0/1 [-L|-u|]");
  EXPECT_EQ(Statuses(), "!Sv");

  Start({"-u", "-L", "text"});
  EXPECT_EQ(Describe(FindValue("U UPPER", value, kFirst)), "found 0/1 [-u|-L|]");
  EXPECT_EQ(Statuses(), "Sv.");
  EXPECT_EQ(Describe(FindValue("L LOWER", value, kFirst)), "found 1/2 [-L|text|]");
  EXPECT_EQ(Statuses(), "SSv");
  // Declared again, a switch finds its own value already taken and keeps it.
  EXPECT_EQ(Describe(FindValue("L LOWER", value, kFirst)), "found 1/2 [-L|text|]");
  EXPECT_EQ(Statuses(), "SSv");
}

TEST_F(ParamEngineTest, FindParamBoolReportsPresenceWithAnOptionalValue) {
  Start({"--error-delay", "5"});
  core::TFindParamRec rec;
  bool flag = false;
  core::FindParamBool(rec, core::ParamStatus, "  ERROR-DELAY", flag, -1, core::skFrom);
  EXPECT_TRUE(flag);
  EXPECT_EQ(Describe(rec), "found 0/1 [--error-delay|5|]");
  EXPECT_EQ(Statuses(), "Sv");

  Start({"-e"});
  core::FindParamBool(rec, core::ParamStatus, "  ERROR-DELAY", flag, -1, core::skFrom);
  EXPECT_FALSE(flag);
}

TEST_F(ParamEngineTest, MatchParamAtMatchesOneArgumentWithoutTouchingTheTable) {
  struct Case {
    std::string_view arg, next;
    std::int32_t value_count;
    core::TParamFlags flags;
    std::string_view answer;
  };
  const core::TParamFlags required = kFirst | core::pfFindAll;
  const Case cases[] = {
      {"-u:abc", "x", 1, kNone, "absent -1/-1 [||]"},
      {"-u", "", 1, kBoth, "absent 0/0 [-u||]"},
      {"-u", "abc", 1, required, "found 0/0 [-u|abc|]"},
      {"--upper", "", 1, kNone, "found 0/0 [--upper||]"},
      {"-u", "abc", 2, kNone, "found 0/0 [-u||]"},
      {"u", "abc", 1, kNone, "absent -1/-1 [||]"},
  };
  Start({"-u", "abc"});
  core::SwitchStyle = core::ssAttachedValues;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.arg) + " / " + std::string(c.next) + " / values " +
                 std::to_string(c.value_count) + " / flags " + std::to_string(c.flags.Bits()));
    core::TFindParamRec rec;
    core::MatchParamAt(rec, c.arg, "U UPPER", c.next, c.value_count, c.flags);
    EXPECT_EQ(Describe(rec), c.answer);
  }
  EXPECT_EQ(Statuses(), "..");
  EXPECT_EQ(core::DeclaredSwitches, "U UPPER");
}

TEST_F(ParamEngineTest, BuildSwitchFormsListsEveryFormOnce) {
  struct Case {
    const char* aliases;
    core::TSwitchStyle style;
    bool double_dash;
    const char* forms;
  };
  const Case cases[] = {
      {"U UPPER", core::ssPlain, true, "/U -U /UPPER --UPPER "},
      {"U UPPER", core::ssAttachedValues, true,
       "/U -U /U: -U: /U= -U= /UPPER --UPPER /UPPER: --UPPER: /UPPER= --UPPER= "},
      {"+", core::ssBareAndAttached, true, "+ /+ -+ +: /+: -+: += /+= -+= "},
      {"+ ?", core::ssBareSymbols, true, "+ /+ -+ /? -? "},
      {"u,Upper;u", core::ssPlain, false, "/u -u /Upper -Upper --Upper "},
      // A form already contained in an earlier one, even inside it, is not listed again.
      {"X-A A", core::ssPlain, true, "/X-A --X-A /A "},
      {" ,; ", core::ssPlain, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.aliases) + " / style " + std::to_string(c.style));
    core::RequireDoubleDash = c.double_dash;
    std::string forms = "stale ";
    core::BuildSwitchForms(forms, c.aliases, c.style);
    EXPECT_EQ(forms, c.forms);
  }
}

TEST_F(ParamEngineTest, DeclaredSwitchesCollectsEveryDeclaredWordOnce) {
  core::TFindParamRec rec;
  for (const char* aliases :
       {"  DEBUG DEBUG-MODE", "H HELP ? H2 HELP2 ??", "V VERBOSE BUILD H2 HELP2 ??"}) {
    core::FindParamFlag(rec, core::ParamStatus, aliases, kNone, -1, core::skFrom);
  }
  EXPECT_EQ(core::DeclaredSwitches, "DEBUG DEBUG-MODE H HELP ? H2 HELP2 ?? V VERBOSE BUILD");

  // A list the program changed itself is merged into again, not taken as already complete.
  core::DeclaredSwitches = "X";
  core::FindParamFlag(rec, core::ParamStatus, "H HELP ? H2 HELP2 ??", kNone, -1, core::skFrom);
  EXPECT_EQ(core::DeclaredSwitches, "X H HELP ? H2 HELP2 ??");
}

TEST_F(ParamEngineTest, DeclaredSwitchesMergesUpperCasedSpaceSeparatedPieces) {
  struct Case {
    std::string_view list, aliases, merged;
  };
  const Case cases[] = {
      {"", "  debug  debug-mode ", "DEBUG DEBUG-MODE"},
      {"AB", "a b ab", "AB A B"},
      {"A", "a,b;c d", "A A,B;C D"},
      {" A ", "", "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.list) + " + " + testing::PrintToString(c.aliases));
    std::string list(c.list);
    core::AddDeclaredSwitches(list, c.aliases);
    EXPECT_EQ(list, c.merged);
  }
  EXPECT_TRUE(core::WordNotInList("A", "AB BA"));
  EXPECT_FALSE(core::WordNotInList("A B", "X A B Y"));
}

}  // namespace
