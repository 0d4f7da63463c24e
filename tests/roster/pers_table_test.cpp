#include "roster/pers_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "tests/roster/pers_table_helpers.h"

namespace tolvaro {
namespace {

using ::tolvaro::testing::CurrentRecId;
using ::tolvaro::testing::PostInserted;
using ::tolvaro::testing::PostLoaded;
using ::tolvaro::testing::RowRecIds;
using Ids = std::vector<std::int32_t>;

std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no failure)";
}

class PersTableTest : public ::testing::Test {
 protected:
  PersTableTest() { AddPersFields(table_); }

  // An open table holding records numbered 1..count from the top, the last current.
  void OpenWith(int count) {
    table_.Open();
    for (int i = 0; i < count; ++i) PostLoaded(table_, std::nullopt);
  }

  PersTable table_{"mdPers"};
};

// ---- field list --------------------------------------------------------------

TEST_F(PersTableTest, FieldsComeInRecordOrderWithTheirKindsAndLimits) {
  struct Expected {
    const char* name;
    FieldKind kind;
    int size;
  };
  const Expected expected[] = {
      {"RecId", FieldKind::Integer, 0}, {"Login", FieldKind::Text, 50}, {"Name", FieldKind::Text, 50},
      {"S", FieldKind::Integer, 0},     {"L", FieldKind::Integer, 0},   {"K", FieldKind::Integer, 0},
      {"M", FieldKind::Integer, 0},     {"R", FieldKind::Integer, 0},   {"B", FieldKind::Integer, 0},
      {"E", FieldKind::Integer, 0},     {"RE", FieldKind::Integer, 0},  {"C", FieldKind::Integer, 0},
      {"D", FieldKind::Text, 1000}};
  ASSERT_EQ(table_.FieldCount(), 13);
  for (int i = 0; i < table_.FieldCount(); ++i) {
    const FieldDef& def = table_.Def(i);
    EXPECT_EQ(def.name, expected[i].name);
    EXPECT_EQ(def.kind, expected[i].kind) << def.name;
    if (def.kind == FieldKind::Text) {
      EXPECT_EQ(def.size, expected[i].size) << def.name;
    }
    // RecId alone is hidden and alone leaves a change unmodified.
    EXPECT_EQ(def.hidden, i == kRecId) << def.name;
    EXPECT_EQ(def.marksModified, i != kRecId) << def.name;
    EXPECT_EQ(PersFieldName(static_cast<PersField>(i)), def.name);
  }
}

struct LookupCase {
  const char* asked;
  int index;
};

class FieldLookupTest : public PersTableTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(FieldLookupTest, IgnoresLetterCase) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(table_.FieldByName(c.asked).Index(), c.index);
  ASSERT_TRUE(table_.FindField(c.asked).has_value());
  EXPECT_EQ(table_.FindField(c.asked)->Index(), c.index);
}

INSTANTIATE_TEST_SUITE_P(Names, FieldLookupTest,
                         ::testing::Values(LookupCase{"RecId", kRecId}, LookupCase{"recid", kRecId},
                                           LookupCase{"RECID", kRecId}, LookupCase{"login", kLogin},
                                           LookupCase{"NAME", kName}, LookupCase{"s", kS}, LookupCase{"re", kRE},
                                           LookupCase{"Re", kRE}, LookupCase{"e", kE}, LookupCase{"d", kD}));

TEST(FieldLookup, UnknownNameFailsWithTheTableName) {
  PersTable bat("mdBat1");  // before its first refill: RecId alone
  EXPECT_EQ(bat.FieldCount(), 1);
  EXPECT_EQ(FailureOf([&] { bat.FieldByName("E"); }), "mdBat1: Field 'E' not found");
  EXPECT_FALSE(bat.FindField("E").has_value());
  EXPECT_FALSE(bat.FindField("").has_value());
  EXPECT_FALSE(bat.FindField("RecIdX").has_value());
  EXPECT_FALSE(bat.FindField("Rec").has_value());
}

TEST_F(PersTableTest, FieldNamesStayUniqueAndFixedWhileOpen) {
  FieldDef twin;
  twin.name = "recid";
  EXPECT_THROW(table_.AddField(twin), std::logic_error);
  EXPECT_THROW(AddPersFields(table_), std::logic_error);
  table_.Open();
  FieldDef extra;
  extra.name = "Extra";
  EXPECT_THROW(table_.AddField(extra), std::logic_error);
  EXPECT_EQ(table_.FieldCount(), kPersFieldCount);
}

// ---- open and close ----------------------------------------------------------

TEST_F(PersTableTest, OpenGivesAnEmptyTable) {
  EXPECT_FALSE(table_.IsOpen());
  table_.Open();
  EXPECT_TRUE(table_.IsOpen());
  EXPECT_EQ(table_.RecordCount(), 0u);
  EXPECT_TRUE(table_.Eof());
  EXPECT_FALSE(table_.CurrentRow().has_value());
  EXPECT_EQ(table_.MaxRecId(), 0);
  EXPECT_EQ(table_.State(), TableState::Browse);
}

TEST_F(PersTableTest, OpenOnAnOpenTableChangesNothing) {
  OpenWith(2);
  table_.Edit();
  table_.Field(kS).SetAsFloat(4);
  table_.Open();
  EXPECT_EQ(table_.RecordCount(), 2u);
  EXPECT_EQ(table_.MaxRecId(), 2);
  EXPECT_EQ(table_.State(), TableState::Edit);
  EXPECT_EQ(table_.Field(kS).AsString(), "4");
}

TEST_F(PersTableTest, CloseDropsRecordsAndTheModifiedChangeButKeepsFields) {
  OpenWith(2);
  table_.Append();
  table_.Field(kS).SetAsFloat(4);
  table_.Close();
  EXPECT_FALSE(table_.IsOpen());
  EXPECT_EQ(table_.RecordCount(), 0u);
  EXPECT_EQ(table_.RowCount(), 0u);
  EXPECT_EQ(table_.State(), TableState::Browse);
  EXPECT_EQ(table_.FieldCount(), kPersFieldCount);
  EXPECT_TRUE(table_.Field(kS).IsNull());
  table_.Close();  // closing again does nothing
  table_.Open();
  EXPECT_EQ(table_.RecordCount(), 0u);
  EXPECT_EQ(table_.MaxRecId(), 0);
}

using TableAction = std::function<void(PersTable&)>;

struct ClosedCase {
  const char* operation;
  TableAction action;
  const char* failure;
};

void PrintTo(const ClosedCase& c, std::ostream* os) { *os << c.operation; }

class ClosedTableTest : public PersTableTest, public ::testing::WithParamInterface<ClosedCase> {};

TEST_P(ClosedTableTest, RefusesWithTheTableName) {
  EXPECT_EQ(FailureOf([&] { GetParam().action(table_); }), GetParam().failure);
  EXPECT_FALSE(table_.IsOpen());
  EXPECT_EQ(table_.RowCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ClosedTableTest,
    ::testing::Values(
        ClosedCase{"First", [](PersTable& t) { t.First(); }, "mdPers: Cannot perform this operation on a closed dataset"},
        ClosedCase{"Next", [](PersTable& t) { t.Next(); }, "mdPers: Cannot perform this operation on a closed dataset"},
        ClosedCase{"Insert", [](PersTable& t) { t.Insert(); },
                   "mdPers: Cannot perform this operation on a closed dataset"},
        ClosedCase{"Append", [](PersTable& t) { t.Append(); },
                   "mdPers: Cannot perform this operation on a closed dataset"},
        ClosedCase{"Edit", [](PersTable& t) { t.Edit(); }, "mdPers: Cannot perform this operation on a closed dataset"},
        ClosedCase{"Delete", [](PersTable& t) { t.Delete(); },
                   "mdPers: Cannot perform this operation on a closed dataset"},
        ClosedCase{"Post", [](PersTable& t) { t.Post(); }, "mdPers: Dataset not in edit or insert mode"},
        ClosedCase{"Cancel", [](PersTable& t) { t.Cancel(); }, "(no failure)"}));

TEST_F(PersTableTest, EmptyOpenTableRefusesDeleteAndPost) {
  table_.Open();
  EXPECT_EQ(FailureOf([&] { table_.Delete(); }), "mdPers: Cannot perform this operation on an empty dataset");
  EXPECT_EQ(FailureOf([&] { table_.Post(); }), "mdPers: Dataset not in edit or insert mode");
  EXPECT_EQ(FailureOf([&] { table_.Cancel(); }), "(no failure)");
  EXPECT_TRUE(table_.Eof());
}

TEST_F(PersTableTest, PostWithoutAPendingChangeFails) {
  OpenWith(1);
  EXPECT_EQ(FailureOf([&] { table_.Post(); }), "mdPers: Dataset not in edit or insert mode");
  table_.Edit();
  table_.Post();
  EXPECT_EQ(FailureOf([&] { table_.Post(); }), "mdPers: Dataset not in edit or insert mode");
}

// ---- walking -------------------------------------------------------------------

TEST_F(PersTableTest, FirstAndNextWalkToTheEndAndKeepTheLastCurrent) {
  table_.Open();
  table_.First();
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(CurrentRecId(table_), std::nullopt);
  table_.Next();
  EXPECT_TRUE(table_.Eof());

  for (int i = 0; i < 3; ++i) PostLoaded(table_, std::nullopt);
  EXPECT_FALSE(table_.Eof());
  table_.First();
  Ids walked;
  while (!table_.Eof()) {
    walked.push_back(*CurrentRecId(table_));
    table_.Next();
  }
  EXPECT_EQ(walked, (Ids{1, 2, 3}));
  EXPECT_EQ(CurrentRecId(table_), 3);
  table_.Next();
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(CurrentRecId(table_), 3);
  table_.First();
  EXPECT_FALSE(table_.Eof());
  EXPECT_EQ(CurrentRecId(table_), 1);
}

TEST_F(PersTableTest, PostClearsEof) {
  OpenWith(2);
  table_.Next();
  ASSERT_TRUE(table_.Eof());
  table_.Edit();
  table_.Field(kS).SetAsFloat(3);
  table_.Post();
  EXPECT_FALSE(table_.Eof());
}

// ---- insert, append, edit ------------------------------------------------------

TEST_F(PersTableTest, InsertStartsAnUnmodifiedNumberedNewRecordBeforeTheCurrent) {
  OpenWith(3);
  table_.First();
  table_.Next();  // 2 current
  table_.Insert();
  EXPECT_EQ(table_.State(), TableState::Insert);
  EXPECT_FALSE(table_.Modified());
  EXPECT_EQ(CurrentRecId(table_), 4);
  EXPECT_EQ(table_.MaxRecId(), 3);  // offered, not yet raised
  EXPECT_EQ(table_.RecordCount(), 3u);
  EXPECT_EQ(table_.RowCount(), 4u);
  EXPECT_EQ(table_.CurrentRow(), 1u);
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 4, 2, 3}));
  for (int field = kLogin; field < kPersFieldCount; ++field) EXPECT_TRUE(table_.Field(field).IsNull());
  table_.Field(kS).SetAsFloat(1);
  table_.Post();
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 4, 2, 3}));
  EXPECT_EQ(CurrentRecId(table_), 4);
  EXPECT_EQ(table_.RecordCount(), 4u);
  EXPECT_EQ(table_.MaxRecId(), 4);
}

TEST_F(PersTableTest, InsertIntoAnEmptyTableTakesPositionZero) {
  table_.Open();
  table_.Insert();
  EXPECT_EQ(table_.CurrentRow(), 0u);
  EXPECT_EQ(CurrentRecId(table_), 1);
  EXPECT_EQ(table_.RecordCount(), 0u);
}

TEST_F(PersTableTest, RepeatedInsertsBuildNewestFirst) {
  table_.Open();
  for (int i = 0; i < 3; ++i) PostInserted(table_);
  EXPECT_EQ(RowRecIds(table_), (Ids{3, 2, 1}));
  EXPECT_EQ(CurrentRecId(table_), 3);
}

TEST_F(PersTableTest, InsertAfterAWalkToTheEndGoesBeforeTheLastRecord) {
  OpenWith(3);
  table_.First();
  while (!table_.Eof()) table_.Next();
  PostInserted(table_);
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 2, 4, 3}));
}

TEST_F(PersTableTest, AppendPlacesTheNewRecordAfterTheLast) {
  OpenWith(3);
  table_.First();
  table_.Append();
  EXPECT_EQ(table_.CurrentRow(), 3u);
  table_.Field(kName).SetAsString("x");
  table_.Post();
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 2, 3, 4}));
  EXPECT_EQ(CurrentRecId(table_), 4);
}

TEST_F(PersTableTest, EditStartsAnUnmodifiedChangeOfTheCurrentRecord) {
  OpenWith(2);
  table_.First();
  table_.Edit();
  EXPECT_EQ(table_.State(), TableState::Edit);
  EXPECT_FALSE(table_.Modified());
  table_.Field(kS).SetAsFloat(5);
  EXPECT_EQ(table_.Row(0)[kS].number, 5);  // the pending values show in the row
  table_.Edit();                          // a pending change stays as it is
  EXPECT_TRUE(table_.Modified());
  table_.Post();
  EXPECT_EQ(table_.Field(kS).AsString(), "5");
  EXPECT_EQ(CurrentRecId(table_), 1);
}

TEST_F(PersTableTest, EditOnATableWithoutRecordsInserts) {
  table_.Open();
  table_.Edit();
  EXPECT_EQ(table_.State(), TableState::Insert);
  EXPECT_EQ(CurrentRecId(table_), 1);
  table_.Edit();  // pending: nothing
  EXPECT_EQ(table_.RowCount(), 1u);
}

TEST_F(PersTableTest, EditDuringAPendingNewRecordDoesNothing) {
  OpenWith(1);
  table_.Append();
  table_.Edit();
  EXPECT_EQ(table_.State(), TableState::Insert);
  EXPECT_EQ(table_.RowCount(), 2u);
}

TEST_F(PersTableTest, PostOfAnEditKeepsTheRecId) {
  OpenWith(3);
  table_.First();
  table_.Edit();
  table_.Field(kRecId).SetAsFloat(50);
  table_.Field(kS).SetAsFloat(2);
  table_.Post();
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 2, 3}));
  EXPECT_EQ(table_.MaxRecId(), 3);
  EXPECT_EQ(table_.Field(kS).AsString(), "2");
  table_.Edit();
  table_.Field(kRecId).Clear();
  table_.Field(kS).SetAsFloat(3);
  table_.Post();
  EXPECT_EQ(CurrentRecId(table_), 1);
}

// ---- cancel ----------------------------------------------------------------------

TEST_F(PersTableTest, CancelAfterInsertRestoresTheRecordCurrentBefore) {
  OpenWith(3);
  table_.First();
  table_.Next();
  table_.Insert();
  table_.Field(kS).SetAsFloat(4);
  table_.Cancel();
  EXPECT_EQ(table_.State(), TableState::Browse);
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 2, 3}));
  EXPECT_EQ(CurrentRecId(table_), 2);
  EXPECT_EQ(table_.MaxRecId(), 3);
}

TEST_F(PersTableTest, CancelAfterAppendMakesTheLastRecordCurrent) {
  OpenWith(3);
  table_.First();
  table_.Append();
  table_.Cancel();
  EXPECT_EQ(CurrentRecId(table_), 3);
  EXPECT_EQ(table_.RowCount(), 3u);
}

TEST_F(PersTableTest, CancelOfTheOnlyNewRecordLeavesNoCurrentRecord) {
  table_.Open();
  table_.Insert();
  table_.Cancel();
  EXPECT_EQ(table_.RowCount(), 0u);
  EXPECT_FALSE(table_.CurrentRow().has_value());
  EXPECT_TRUE(table_.Field(kRecId).IsNull());
}

TEST_F(PersTableTest, CancelForgetsAnEdit) {
  OpenWith(2);
  table_.First();
  table_.Edit();
  table_.Field(kS).SetAsFloat(5);
  table_.Field(kName).SetAsString("changed");
  table_.Cancel();
  EXPECT_EQ(table_.Field(kS).AsString(), "1");
  EXPECT_TRUE(table_.Field(kName).IsNull());
  EXPECT_EQ(CurrentRecId(table_), 1);
  table_.Cancel();  // nothing pending: nothing happens
  EXPECT_EQ(CurrentRecId(table_), 1);
}

// ---- delete ----------------------------------------------------------------------

struct DeleteCase {
  const char* label;
  int currentBefore;  // RecId
  Ids left;
  std::optional<std::int32_t> currentAfter;
};

void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.label; }

class DeleteTest : public PersTableTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteTest, MakesTheFollowingOrTheNewLastRecordCurrent) {
  const DeleteCase& c = GetParam();
  OpenWith(static_cast<int>(c.left.size()) + 1);
  table_.GoToRecId(c.currentBefore);
  table_.Delete();
  EXPECT_EQ(RowRecIds(table_), c.left);
  EXPECT_EQ(CurrentRecId(table_), c.currentAfter);
  EXPECT_EQ(table_.Eof(), c.left.empty());
  EXPECT_EQ(table_.MaxRecId(), static_cast<std::int32_t>(c.left.size()) + 1);
}

INSTANTIATE_TEST_SUITE_P(Positions, DeleteTest,
                         ::testing::Values(DeleteCase{"first", 1, {2, 3}, 2}, DeleteCase{"middle", 2, {1, 3}, 3},
                                           DeleteCase{"last", 3, {1, 2}, 2}, DeleteCase{"only", 1, {}, std::nullopt}));

TEST_F(PersTableTest, DeleteWithAPendingNewRecordOnlyCancelsIt) {
  OpenWith(3);
  table_.First();
  table_.Insert();
  table_.Field(kS).SetAsFloat(2);
  table_.Delete();
  EXPECT_EQ(table_.State(), TableState::Browse);
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 2, 3}));
  EXPECT_EQ(CurrentRecId(table_), 1);
}

TEST_F(PersTableTest, DeleteWithAPendingNewRecordInAnEmptyTableCancelsIt) {
  table_.Open();
  table_.Insert();
  table_.Delete();
  EXPECT_EQ(table_.RowCount(), 0u);
  EXPECT_EQ(table_.State(), TableState::Browse);
}

TEST_F(PersTableTest, DeleteTakesAPendingEditWithTheRecord) {
  OpenWith(2);
  table_.First();
  table_.Edit();
  table_.Field(kS).SetAsFloat(5);
  table_.Delete();
  EXPECT_EQ(table_.State(), TableState::Browse);
  EXPECT_EQ(RowRecIds(table_), (Ids{2}));
  EXPECT_EQ(table_.Field(kS).AsString(), "1");
}

// ---- cursor rule -------------------------------------------------------------------

struct MoveCase {
  const char* operation;
  TableAction move;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.operation; }

class CursorRuleTest : public PersTableTest, public ::testing::WithParamInterface<MoveCase> {
 protected:
  // A table of records 1, 2, 3 with 2 current, before the move.
  void SetUp() override {
    OpenWith(3);
    table_.GoToRecId(2);
  }
  // Committed RecIds: the display rows less a pending new record.
  Ids Committed() {
    Ids ids = RowRecIds(table_);
    if (table_.State() == TableState::Insert) ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(*table_.CurrentRow()));
    return ids;
  }
  // The row numbered recId (a pending new record carries a number of its own).
  const PersRecord& Committed(std::int32_t recId) {
    for (std::size_t row = 0; row < table_.RowCount(); ++row) {
      if (table_.Row(row)[kRecId].number == recId) return table_.Row(row);
    }
    throw std::logic_error("no such record");
  }
};

TEST_P(CursorRuleTest, DropsAnUnwrittenNewRecord) {
  table_.Insert();
  GetParam().move(table_);
  EXPECT_EQ(Committed(), (Ids{1, 2, 3}));
  EXPECT_EQ(table_.RecordCount(), 3u);
}

TEST_P(CursorRuleTest, DropsANewRecordWithOnlyItsRecIdWritten) {
  table_.Insert();
  table_.Field(kRecId).SetAsFloat(40);
  GetParam().move(table_);
  EXPECT_EQ(Committed(), (Ids{1, 2, 3}));
  EXPECT_EQ(table_.MaxRecId(), 3);
}

TEST_P(CursorRuleTest, CommitsAModifiedNewRecordAtItsPlace) {
  table_.Insert();
  table_.Field(kD).SetAsString("");
  GetParam().move(table_);
  EXPECT_EQ(Committed(), (Ids{1, 4, 2, 3}));
  EXPECT_EQ(table_.MaxRecId(), 4);
  EXPECT_EQ(Committed(4)[kD], (FieldValue{false, 0, ""}));
}

TEST_P(CursorRuleTest, CommitsAModifiedEdit) {
  table_.Edit();
  table_.Field(kS).SetAsFloat(5);
  GetParam().move(table_);
  EXPECT_EQ(Committed(2)[kS].number, 5);
}

TEST_P(CursorRuleTest, DropsAnUnmodifiedEdit) {
  table_.Edit();
  table_.Field(kRecId).SetAsFloat(99);
  GetParam().move(table_);
  EXPECT_EQ(Committed(), (Ids{1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Moves, CursorRuleTest,
    ::testing::Values(MoveCase{"First", [](PersTable& t) { t.First(); }}, MoveCase{"Next", [](PersTable& t) { t.Next(); }},
                      MoveCase{"Insert", [](PersTable& t) { t.Insert(); }},
                      MoveCase{"Append", [](PersTable& t) { t.Append(); }},
                      MoveCase{"choosing another row", [](PersTable& t) { t.GoToRecId(1); }}));

TEST_F(PersTableTest, NextMovesOnFromWhereTheRuleLeftTheCursor) {
  OpenWith(3);
  table_.GoToRecId(2);
  table_.Insert();  // dropped: 2 is current again, then 3
  table_.Next();
  EXPECT_EQ(CurrentRecId(table_), 3);
  table_.GoToRecId(2);
  PostInserted(table_);  // 4 committed before 2 and current, then 2
  table_.Insert();
  table_.Field(kS).SetAsFloat(1);
  table_.Next();  // 5 committed before 4 and current, then 4
  EXPECT_EQ(RowRecIds(table_), (Ids{1, 5, 4, 2, 3}));
  EXPECT_EQ(CurrentRecId(table_), 4);
}

TEST_F(PersTableTest, ChoosingTheShownRowKeepsThePendingChange) {
  OpenWith(2);
  table_.GoToRecId(1);
  table_.Edit();
  table_.Field(kS).SetAsFloat(3);
  table_.GoToRecId(1);
  EXPECT_EQ(table_.State(), TableState::Edit);
  table_.Insert();
  const std::int32_t offered = *CurrentRecId(table_);
  table_.GoToRecId(offered);
  EXPECT_EQ(table_.State(), TableState::Insert);
}

TEST_F(PersTableTest, ChoosingAMissingRowOnlySettlesThePendingChange) {
  OpenWith(2);
  table_.GoToRecId(1);
  table_.Edit();
  table_.Field(kS).SetAsFloat(3);
  table_.GoToRecId(77);
  EXPECT_EQ(table_.State(), TableState::Browse);
  EXPECT_EQ(CurrentRecId(table_), 1);
  EXPECT_EQ(table_.Field(kS).AsString(), "3");
}

// ---- RecId rule -------------------------------------------------------------------

TEST_F(PersTableTest, DeletedNumbersAreNotGivenAgain) {
  table_.Open();
  for (int i = 0; i < 3; ++i) PostInserted(table_);
  while (table_.RecordCount() > 0) table_.Delete();
  PostInserted(table_);
  EXPECT_EQ(RowRecIds(table_), (Ids{4}));
}

struct OfferedIdCase {
  const char* label;
  std::vector<std::optional<std::int32_t>> carried;  // RecId written before each Post; nothing: cleared
  Ids stored;
};

void PrintTo(const OfferedIdCase& c, std::ostream* os) { *os << c.label; }

class RecIdRuleTest : public PersTableTest, public ::testing::WithParamInterface<OfferedIdCase> {};

TEST_P(RecIdRuleTest, KeepsOnlyNumbersAboveEveryEarlierOne) {
  table_.Open();
  for (const auto& carried : GetParam().carried) PostLoaded(table_, carried);
  EXPECT_EQ(RowRecIds(table_), GetParam().stored);
  std::int32_t largest = 0;
  for (std::int32_t id : GetParam().stored) largest = std::max(largest, id);
  EXPECT_EQ(table_.MaxRecId(), largest);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, RecIdRuleTest,
    ::testing::Values(OfferedIdCase{"rising kept", {1, 2, 3}, {1, 2, 3}},
                      OfferedIdCase{"gaps kept", {3, 10, 11}, {3, 10, 11}},
                      OfferedIdCase{"10 over 3, then 5", {1, 2, 3, 10, 5}, {1, 2, 3, 10, 11}},
                      OfferedIdCase{"cleared", {std::nullopt, std::nullopt}, {1, 2}},
                      OfferedIdCase{"equal to the largest", {4, 4, 4}, {4, 5, 6}},
                      OfferedIdCase{"zero and negative", {0, -5, std::numeric_limits<std::int32_t>::min()}, {1, 2, 3}},
                      OfferedIdCase{"falling", {3, 2, 1}, {3, 4, 5}}));

TEST_F(PersTableTest, NumberingRestartsAfterCloseAndOpen) {
  OpenWith(3);
  table_.Close();
  table_.Open();
  PostInserted(table_);
  EXPECT_EQ(RowRecIds(table_), (Ids{1}));
}

TEST_F(PersTableTest, IssuedButDroppedNumbersAreOfferedAgain) {
  OpenWith(2);
  table_.Insert();
  table_.Cancel();
  table_.Append();
  EXPECT_EQ(CurrentRecId(table_), 3);
}

// A roster file may bring the largest RecId there is; from then on every new
// record needs some other number not in use, and nothing may fail.
class SaturatedRecIdTest : public PersTableTest {
 protected:
  static constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();

  void ExpectUniqueIds() {
    Ids ids = RowRecIds(table_);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "a RecId is used twice";
  }
};

TEST_F(SaturatedRecIdTest, LoadedLargestThenNewRecordsGetFreeNumbers) {
  table_.Open();
  PostLoaded(table_, 1);
  PostLoaded(table_, 2);
  PostLoaded(table_, kLargest);
  PostLoaded(table_, 3);  // not above the largest: renumbered
  PostLoaded(table_, kLargest);
  PostLoaded(table_, std::nullopt);
  EXPECT_EQ(table_.MaxRecId(), kLargest);
  EXPECT_EQ(table_.RecordCount(), 6u);
  ExpectUniqueIds();
  for (int i = 0; i < 500; ++i) {
    table_.Insert();
    const std::int32_t offered = *CurrentRecId(table_);
    Ids inUse = RowRecIds(table_);
    EXPECT_EQ(std::count(inUse.begin(), inUse.end(), offered), 1) << "offered " << offered;
    table_.Field(kS).SetAsFloat(1);
    table_.Post();
    if (i % 7 == 0) table_.Delete();
    if (i % 11 == 0) PostLoaded(table_, i);  // a number perhaps in use
  }
  ExpectUniqueIds();
  EXPECT_EQ(table_.MaxRecId(), kLargest);
}

TEST_F(SaturatedRecIdTest, EditsAndDeletesKeepNumbersUnique) {
  table_.Open();
  PostLoaded(table_, kLargest - 1);
  PostLoaded(table_, kLargest);
  for (int i = 0; i < 50; ++i) PostInserted(table_);
  table_.First();
  for (int i = 0; i < 10; ++i) table_.Delete();
  table_.Edit();
  table_.Field(kS).SetAsFloat(3);
  table_.Post();
  for (int i = 0; i < 50; ++i) PostInserted(table_);
  EXPECT_EQ(table_.RecordCount(), 92u);
  ExpectUniqueIds();
}

TEST_F(SaturatedRecIdTest, ReopeningEndsTheSaturation) {
  table_.Open();
  PostLoaded(table_, kLargest);
  table_.Close();
  table_.Open();
  PostLoaded(table_, std::nullopt);
  EXPECT_EQ(RowRecIds(table_), (Ids{1}));
}

// ---- display rows ------------------------------------------------------------------

TEST_F(PersTableTest, RowsShowThePendingNewRecordAtItsPlace) {
  OpenWith(2);
  table_.GoToRecId(2);
  table_.Insert();
  table_.Field(kName).SetAsString("new");
  ASSERT_EQ(table_.RowCount(), 3u);
  EXPECT_EQ(table_.Row(1)[kName].text, "new");
  EXPECT_EQ(table_.Row(2)[kRecId].number, 2);
  EXPECT_EQ(table_.CurrentRow(), 1u);
  table_.Cancel();
  EXPECT_EQ(table_.RowCount(), 2u);
  EXPECT_EQ(table_.CurrentRow(), 1u);
}

}  // namespace
}  // namespace tolvaro
