#include "roster/pers_roster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "roster/error.h"
#include "roster/pers_formulas.h"
#include "roster/pers_record.h"
#include "tests/roster/pers_table_helpers.h"

namespace tolvaro {
namespace {

using ::tolvaro::testing::CurrentRecId;
using ::tolvaro::testing::RowRecIds;
using ::tolvaro::testing::WithPersFields;
using Ids = std::vector<std::int32_t>;

class PersRosterTest : public ::testing::Test {
 protected:

  std::string Value(PersField field) { return pers_.Field(field).AsString(); }

  // E, RE and C of the current record, as text.
  std::vector<std::string> Derived() { return {Value(kE), Value(kRE), Value(kC)}; }

  // Commits a record the way the roster load does: the rule silenced, every
  // field taken as given, M left out when it is null.
  void PostLoaded(std::optional<std::int32_t> m, std::int32_t e, std::int32_t re, std::int32_t c) {
    SuppressRecalcScope quiet(roster_);
    if (!pers_.IsOpen()) pers_.Open();
    pers_.Append();
    for (PersField field : {kS, kL, kK}) pers_.Field(field).SetAsFloat(1.0);
    pers_.Field(kR).SetAsFloat(100);
    pers_.Field(kB).SetAsFloat(100);
    if (m) pers_.Field(kM).SetAsFloat(*m);
    pers_.Field(kE).SetAsFloat(e);
    pers_.Field(kRE).SetAsFloat(re);
    pers_.Field(kC).SetAsFloat(c);
    pers_.Post();
  }

  PersTable pers_{"mdPers"};
  PersRoster roster_{WithPersFields(pers_)};
};

// ---- new character ----------------------------------------------------------------

TEST_F(PersRosterTest, FirstNewCharacterOpensTheRosterWithTheDefaults) {
  roster_.NewPers();
  EXPECT_TRUE(pers_.IsOpen());
  EXPECT_EQ(pers_.RecordCount(), 1u);
  EXPECT_EQ(pers_.State(), TableState::Browse);
  EXPECT_EQ(CurrentRecId(pers_), 1);
  const std::pair<PersField, const char*> expected[] = {{kS, "1"},   {kL, "1"},  {kK, "1"},  {kM, "100"},
                                                        {kR, "100"}, {kB, "100"}, {kE, "199"}, {kRE, "40"},
                                                        {kC, "0"}};
  for (const auto& [field, text] : expected) EXPECT_EQ(Value(field), text) << PersFieldName(field);
  for (PersField field : {kLogin, kName, kD}) EXPECT_TRUE(pers_.Field(field).IsNull()) << PersFieldName(field);
  EXPECT_FALSE(roster_.SuppressRecalc());
}

TEST_F(PersRosterTest, NewCharactersGoBeforeTheCurrentOne) {
  for (int i = 0; i < 3; ++i) roster_.NewPers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{3, 2, 1}));
  EXPECT_EQ(CurrentRecId(pers_), 3);
  pers_.GoToRecId(2);
  roster_.NewPers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{3, 4, 2, 1}));
  EXPECT_EQ(CurrentRecId(pers_), 4);
}

TEST_F(PersRosterTest, NewCharacterAfterAWalkGoesBeforeTheLast) {
  for (int i = 0; i < 3; ++i) roster_.NewPers();
  pers_.First();
  while (!pers_.Eof()) pers_.Next();
  roster_.NewPers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{3, 2, 4, 1}));
}

TEST_F(PersRosterTest, NewCharacterCommitsAModifiedEntryFirst) {
  roster_.NewPers();
  pers_.Edit();
  pers_.Field(kName).SetAsString("Bob");
  roster_.NewPers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{2, 1}));
  EXPECT_EQ(pers_.Row(1)[kName].text, "Bob");
}

TEST_F(PersRosterTest, NewCharacterDropsAnUnwrittenNewRecord) {
  pers_.Open();
  pers_.Edit();  // what a bound editor does on an empty roster
  roster_.NewPers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{1}));
}

// ---- delete -----------------------------------------------------------------------

TEST_F(PersRosterTest, DeleteDoesNothingOnAClosedOrEmptyRoster) {
  EXPECT_NO_THROW(roster_.DeletePers());
  EXPECT_FALSE(pers_.IsOpen());
  roster_.NewPers();
  roster_.DeletePers();
  EXPECT_EQ(pers_.RecordCount(), 0u);
  EXPECT_NO_THROW(roster_.DeletePers());
  EXPECT_TRUE(pers_.IsOpen());
}

TEST_F(PersRosterTest, DeleteRemovesTheCurrentCharacter) {
  for (int i = 0; i < 3; ++i) roster_.NewPers();  // 3, 2, 1
  pers_.GoToRecId(2);
  roster_.DeletePers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{3, 1}));
  EXPECT_EQ(CurrentRecId(pers_), 1);
  roster_.DeletePers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{3}));
  EXPECT_EQ(CurrentRecId(pers_), 3);
}

TEST_F(PersRosterTest, NumbersOfDeletedCharactersAreNotReused) {
  for (int i = 0; i < 3; ++i) roster_.NewPers();
  for (int i = 0; i < 3; ++i) roster_.DeletePers();
  roster_.NewPers();
  EXPECT_EQ(RowRecIds(pers_), (Ids{4}));
}

// ---- change rule --------------------------------------------------------------------

TEST_F(PersRosterTest, WritingAnAttributeRecomputesAtOnceInTheSameEdit) {
  roster_.NewPers();
  pers_.Edit();
  pers_.Field(kS).SetAsFloat(2);
  EXPECT_EQ(Derived(), (std::vector<std::string>{"239", "48", "100"}));
  EXPECT_EQ(pers_.State(), TableState::Edit);
  EXPECT_TRUE(pers_.Modified());
  pers_.Post();
  EXPECT_EQ(Derived(), (std::vector<std::string>{"239", "48", "100"}));
}

TEST_F(PersRosterTest, WritingTheSameValueRunsTheRuleAgain) {
  roster_.NewPers();
  pers_.Edit();
  pers_.Field(kE).SetAsFloat(0);  // E carries no hook
  pers_.Field(kC).Clear();
  EXPECT_EQ(Value(kE), "0");
  pers_.Field(kM).SetAsFloat(100);
  EXPECT_EQ(Derived(), (std::vector<std::string>{"199", "40", "0"}));
}

struct HookCase {
  PersField field;
  bool recomputes;
};

class ChangeRuleHookTest : public PersRosterTest, public ::testing::WithParamInterface<HookCase> {};

TEST_P(ChangeRuleHookTest, RunsOnlyForAttributesAndSkills) {
  roster_.NewPers();
  pers_.Edit();
  pers_.Field(kE).SetAsFloat(-1);
  pers_.Field(kRE).SetAsFloat(-1);
  pers_.Field(kC).SetAsFloat(-1);
  TableField field = pers_.Field(GetParam().field);
  // Writes that keep the values valid for every field: its own text back.
  field.SetAsString(field.AsString());
  const std::string expected = GetParam().recomputes ? "199" : "-1";
  EXPECT_EQ(Value(kE), expected) << field.Name();
}

INSTANTIATE_TEST_SUITE_P(Fields, ChangeRuleHookTest,
                         ::testing::Values(HookCase{kS, true}, HookCase{kL, true}, HookCase{kK, true},
                                           HookCase{kM, true}, HookCase{kR, true}, HookCase{kB, true},
                                           HookCase{kRecId, false}, HookCase{kLogin, false}, HookCase{kName, false},
                                           HookCase{kE, false}, HookCase{kRE, false}, HookCase{kC, false},
                                           HookCase{kD, false}));

TEST_F(PersRosterTest, EveryKindOfWriteRunsTheRule) {
  roster_.NewPers();
  pers_.Edit();
  pers_.Field(kM).SetAsString("$6E");  // 110
  EXPECT_EQ(Derived(), (std::vector<std::string>{"215", "40", "13"}));
  pers_.Field(kR).SetAsFloat(175.5);  // rounds to 176
  EXPECT_EQ(Value(kR), "176");
  EXPECT_EQ(Value(kRE), "70");
  pers_.Field(kM).SetAsFloat(100);
  EXPECT_EQ(Value(kE), "230");
}

TEST_F(PersRosterTest, SuppressRecalcSilencesTheRule) {
  roster_.NewPers();
  pers_.Edit();
  roster_.SetSuppressRecalc(true);
  pers_.Field(kM).SetAsFloat(500);
  EXPECT_EQ(Derived(), (std::vector<std::string>{"199", "40", "0"}));
  roster_.SetSuppressRecalc(false);
  pers_.Field(kM).SetAsFloat(500);
  EXPECT_NE(Value(kE), "199");
}

TEST_F(PersRosterTest, SuppressRecalcScopeLowersTheFlagHoweverItEnds) {
  {
    SuppressRecalcScope quiet(roster_);
    EXPECT_TRUE(roster_.SuppressRecalc());
  }
  EXPECT_FALSE(roster_.SuppressRecalc());
  try {
    SuppressRecalcScope quiet(roster_);
    throw Error("load failed");
  } catch (const Error&) {
  }
  EXPECT_FALSE(roster_.SuppressRecalc());
}

TEST_F(PersRosterTest, CopiesCarryNoRule) {
  roster_.NewPers();
  PersTable bat("mdBat1");
  bat.CopyFrom(pers_);
  pers_.Edit();
  bat.Edit();
  bat.Field(kS).SetAsFloat(5);  // the copy carries no hooks
  EXPECT_EQ(bat.Field(kE).AsString(), "199");
  EXPECT_EQ(Value(kE), "199");
}

// A record from a file whose M is null or below 100: the cost fails, and what
// was written before the failure stays in the pending change.
class ChangeRuleFailureTest : public PersRosterTest, public ::testing::WithParamInterface<std::optional<std::int32_t>> {};

TEST_P(ChangeRuleFailureTest, LeavesNewEfficienciesTheOldCostAndTheWrittenValue) {
  PostLoaded(GetParam(), 11, 22, 33);
  pers_.Edit();
  try {
    pers_.Field(kS).SetAsFloat(2);
    ADD_FAILURE() << "no failure";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
  PersStats stats;
  stats.S = 2;
  stats.L = stats.K = 1;
  stats.M = GetParam().value_or(0);
  stats.R = stats.B = 100;
  EXPECT_EQ(Value(kS), "2");
  EXPECT_EQ(Value(kE), std::to_string(CalcE(stats)));
  EXPECT_EQ(Value(kRE), "48");
  EXPECT_EQ(Value(kC), "33");
  EXPECT_EQ(pers_.State(), TableState::Edit);
  EXPECT_TRUE(pers_.Modified());
  pers_.Post();  // the user may still commit what stands
  EXPECT_EQ(Value(kC), "33");
}

INSTANTIATE_TEST_SUITE_P(MissingOrLowFencing, ChangeRuleFailureTest,
                         ::testing::Values(std::nullopt, std::optional<std::int32_t>{0},
                                           std::optional<std::int32_t>{99}, std::optional<std::int32_t>{-100}));

TEST_F(PersRosterTest, LoadedValuesStayUntilAWriteRecomputes) {
  PostLoaded(100, 1, 2, 3);
  EXPECT_EQ(Derived(), (std::vector<std::string>{"1", "2", "3"}));
  pers_.Edit();
  pers_.Field(kB).SetAsFloat(100);
  EXPECT_EQ(Derived(), (std::vector<std::string>{"199", "40", "0"}));
}

TEST(PersRosterLifetime, DestroyedRulesLeaveNoHookBehind) {
  PersTable pers("mdPers");
  AddPersFields(pers);
  {
    PersRoster roster(pers);
    roster.NewPers();
  }
  pers.Edit();
  pers.Field(kS).SetAsFloat(5);  // would reach the destroyed rules otherwise
  EXPECT_EQ(pers.Field(kE).AsString(), "199");
  for (PersField field : {kS, kL, kK, kM, kR, kB}) EXPECT_FALSE(pers.Def(field).onChange);
}

}  // namespace
}  // namespace tolvaro
