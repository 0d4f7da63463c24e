#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "roster/pers_table.h"
#include "tests/roster/pers_table_helpers.h"
#include "tests/support/cp1251.h"
#include "tests/support/counting_observer.h"

namespace tolvaro {
namespace {

using ::tolvaro::testing::Cp1251;
using ::tolvaro::testing::CurrentRecId;
using ::tolvaro::testing::PostLoaded;
using ::tolvaro::testing::RowRecIds;
using ::tolvaro::testing::WithPersFields;
using Ids = std::vector<std::int32_t>;

using ::tolvaro::testing::CountingObserver;

class TableCopyTest : public ::testing::Test {
 protected:

  PersTable pers_{"mdPers"};
  PersRoster roster_{WithPersFields(pers_)};
  PersTable bat_{"mdBat1"};
};

TEST_F(TableCopyTest, CopiesEveryRecordInOrderRenumberedByTheRecIdRule) {
  for (int i = 0; i < 3; ++i) roster_.NewPers();  // 3, 2, 1
  pers_.GoToRecId(2);
  pers_.Edit();
  pers_.Field(kName).SetAsString(Cp1251("Ёжик"));
  pers_.Field(kD).SetAsString("line\r\nline");
  pers_.Field(kLogin).SetAsString("");
  pers_.Field(kS).SetAsFloat(2);
  pers_.Post();

  bat_.CopyFrom(pers_);

  EXPECT_TRUE(bat_.IsOpen());
  EXPECT_EQ(RowRecIds(bat_), (Ids{3, 4, 5}));
  EXPECT_EQ(bat_.MaxRecId(), 5);
  ASSERT_EQ(bat_.RowCount(), pers_.RowCount());
  for (std::size_t row = 0; row < bat_.RowCount(); ++row) {
    for (int field = kLogin; field < kPersFieldCount; ++field) {
      EXPECT_EQ(bat_.Row(row)[static_cast<std::size_t>(field)], pers_.Row(row)[static_cast<std::size_t>(field)])
          << "row " << row << " field " << PersFieldName(static_cast<PersField>(field));
    }
  }
  EXPECT_EQ(bat_.Row(1)[kName].text, Cp1251("Ёжик"));
  EXPECT_FALSE(bat_.Row(1)[kLogin].isNull);
  EXPECT_TRUE(bat_.Row(0)[kLogin].isNull);
  // Both end on their last record; the source has walked past it.
  EXPECT_EQ(bat_.CurrentRow(), 2u);
  EXPECT_EQ(pers_.CurrentRow(), 2u);
  EXPECT_TRUE(pers_.Eof());
  EXPECT_EQ(bat_.State(), TableState::Browse);
  EXPECT_EQ(pers_.State(), TableState::Browse);
}

TEST_F(TableCopyTest, RisingNumbersSurviveOthersAreRenumbered) {
  SuppressRecalcScope quiet(roster_);
  pers_.Open();
  auto insertNumbered = [&](std::int32_t id) {
    pers_.Insert();
    pers_.Field(kRecId).SetAsFloat(id);
    pers_.Field(kName).SetAsString("x");
    pers_.Post();
  };
  insertNumbered(10);
  insertNumbered(20);  // before 10
  pers_.GoToRecId(10);
  PostLoaded(pers_, 30);  // after the last
  pers_.GoToRecId(10);
  insertNumbered(40);  // before 10
  pers_.GoToRecId(30);
  insertNumbered(50);
  ASSERT_EQ(RowRecIds(pers_), (Ids{20, 40, 10, 50, 30}));
  bat_.CopyFrom(pers_);
  EXPECT_EQ(RowRecIds(bat_), (Ids{20, 40, 41, 50, 51}));
}

TEST_F(TableCopyTest, TakesTheSourceFieldsWithoutHooks) {
  bat_.CopyFrom(pers_);  // pers_ is closed: fields only
  ASSERT_EQ(bat_.FieldCount(), pers_.FieldCount());
  for (int i = 0; i < bat_.FieldCount(); ++i) {
    EXPECT_EQ(bat_.Def(i).name, pers_.Def(i).name);
    EXPECT_EQ(bat_.Def(i).kind, pers_.Def(i).kind);
    EXPECT_EQ(bat_.Def(i).size, pers_.Def(i).size);
    EXPECT_EQ(bat_.Def(i).hidden, pers_.Def(i).hidden);
    EXPECT_EQ(bat_.Def(i).marksModified, pers_.Def(i).marksModified);
    EXPECT_FALSE(bat_.Def(i).onChange) << bat_.Def(i).name;
  }
  EXPECT_TRUE(pers_.Def(kS).onChange);
}

TEST_F(TableCopyTest, FromAClosedSourceLeavesTheTargetClosedWithTheNewFields) {
  roster_.NewPers();
  bat_.CopyFrom(pers_);
  ASSERT_TRUE(bat_.IsOpen());

  PersTable other("mdOther");  // RecId and one text field only
  FieldDef note;
  note.name = "Note";
  note.kind = FieldKind::Text;
  note.size = 10;
  note.hidden = true;
  other.AddField(note);
  bat_.CopyFrom(other);
  EXPECT_FALSE(bat_.IsOpen());
  EXPECT_EQ(bat_.RecordCount(), 0u);
  ASSERT_EQ(bat_.FieldCount(), 2);
  EXPECT_EQ(bat_.Def(1).name, "Note");
  EXPECT_TRUE(bat_.Def(1).hidden);
  EXPECT_EQ(bat_.Def(1).size, 10);
  EXPECT_FALSE(bat_.FindField("E").has_value());
}

TEST_F(TableCopyTest, OfAnOpenEmptyRosterGivesAnOpenEmptyList) {
  pers_.Open();
  EXPECT_THROW(bat_.FieldByName("E"), Error);
  bat_.CopyFrom(pers_);
  EXPECT_TRUE(bat_.IsOpen());
  EXPECT_EQ(bat_.RecordCount(), 0u);
  EXPECT_EQ(bat_.FieldCount(), kPersFieldCount);
  EXPECT_FALSE(bat_.CurrentRow().has_value());
  EXPECT_EQ(bat_.FieldByName("E").AsFloat(), 0.0);
  EXPECT_EQ(bat_.FieldByName("Name").AsString(), "");
  EXPECT_TRUE(pers_.Eof());
}

TEST_F(TableCopyTest, SettlesThePendingChangeOfTheSourceFirst) {
  roster_.NewPers();
  roster_.NewPers();  // 2, 1
  pers_.Edit();
  pers_.Field(kS).SetAsFloat(3);
  bat_.CopyFrom(pers_);
  EXPECT_EQ(bat_.Row(0)[kS].number, 3);
  EXPECT_EQ(pers_.State(), TableState::Browse);

  pers_.Insert();  // unwritten: dropped, not copied
  bat_.CopyFrom(pers_);
  EXPECT_EQ(RowRecIds(bat_), (Ids{2, 3}));
  EXPECT_EQ(pers_.RecordCount(), 2u);

  pers_.Insert();
  pers_.Field(kName).SetAsString("n");
  bat_.CopyFrom(pers_);
  EXPECT_EQ(bat_.RecordCount(), 3u);
  EXPECT_EQ(bat_.Row(1)[kName].text, "n");
}

TEST_F(TableCopyTest, ReplacesWhatTheTargetHeld) {
  bat_.CopyFrom(pers_);
  bat_.Open();
  for (int i = 0; i < 5; ++i) PostLoaded(bat_, 100 + i);
  bat_.Append();
  bat_.Field(kS).SetAsFloat(4);  // a modified change is dropped, not committed
  roster_.NewPers();
  bat_.CopyFrom(pers_);
  EXPECT_EQ(RowRecIds(bat_), (Ids{1}));
  EXPECT_EQ(bat_.MaxRecId(), 1);
  EXPECT_EQ(bat_.State(), TableState::Browse);
}

TEST_F(TableCopyTest, IntoItselfKeepsTheTable) {
  for (int i = 0; i < 3; ++i) roster_.NewPers();
  pers_.CopyFrom(pers_);
  EXPECT_TRUE(pers_.IsOpen());
  EXPECT_EQ(RowRecIds(pers_), (Ids{3, 2, 1}));
  EXPECT_TRUE(pers_.Def(kS).onChange);
}

TEST_F(TableCopyTest, NotifiesEachTableOnceAtTheEnd) {
  for (int i = 0; i < 50; ++i) roster_.NewPers();
  pers_.Edit();
  pers_.Field(kS).SetAsFloat(2);
  bat_.CopyFrom(pers_);  // the list is open with records now
  CountingObserver roster;
  CountingObserver list;
  pers_.Attach(&roster);
  bat_.Attach(&list);
  bat_.CopyFrom(pers_);
  EXPECT_EQ(roster.resets, 1);
  EXPECT_EQ(roster.others, 0);
  EXPECT_EQ(list.resets, 1);
  EXPECT_EQ(list.others, 0);

  PersTable closed("mdClosed");
  AddPersFields(closed);
  bat_.CopyFrom(closed);
  EXPECT_EQ(list.resets, 2);
  EXPECT_EQ(list.others, 0);
  pers_.Detach(&roster);
  bat_.Detach(&list);
}

}  // namespace
}  // namespace tolvaro
