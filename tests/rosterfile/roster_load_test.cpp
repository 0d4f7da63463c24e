#include <gtest/gtest.h>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "roster/table_observer.h"
#include "rosterfile/roster_file.h"
#include "tests/rosterfile/example_roster.h"
#include "tests/rosterfile/roster_test_support.h"
#include "tests/rosterfile/table_snapshot.h"
#include "tests/support/counting_observer.h"

namespace tolvaro {
namespace {

using testing::AddExampleCharacters;
using testing::AppendCharacter;
using testing::FieldTexts;
using testing::kExampleFile;
using testing::PersTableWithFields;
using testing::RecordText;
using testing::RowText;
using testing::Snapshot;
using testing::TempFolder;
using testing::WriteFileBytes;

// The roster as the window holds it: the table with the change rule hooked
// on, loaded under SuppressRecalc as the load command does.
class RosterLoad : public ::testing::Test {
 protected:
  void Load(const std::string& bytes) {
    SuppressRecalcScope quiet(roster_);
    LoadRosterText(table_, bytes);
  }
  void LoadFile(const std::string& path) {
    SuppressRecalcScope quiet(roster_);
    LoadRoster(table_, path);
  }
  void AddExample() {
    SuppressRecalcScope quiet(roster_);
    AddExampleCharacters(table_);
  }
  std::string Text(std::size_t row, PersField field) const { return RowText(table_, row, field); }
  std::vector<std::string> Column(PersField field) const {
    std::vector<std::string> values;
    for (std::size_t row = 0; row < table_.RowCount(); ++row) values.push_back(Text(row, field));
    return values;
  }
  bool IsNull(std::size_t row, PersField field) const { return table_.Row(row).at(field).isNull; }
  // The table after a load of a file without records: open, empty, one
  // blank pending record numbered 1.
  void ExpectBlankPending() const {
    EXPECT_TRUE(table_.IsOpen());
    EXPECT_EQ(table_.RecordCount(), 0u);
    ASSERT_EQ(table_.RowCount(), 1u);
    EXPECT_EQ(table_.State(), TableState::Insert);
    EXPECT_FALSE(table_.Modified());
    EXPECT_EQ(Text(0, kRecId), "1");
    for (int field = kLogin; field < kPersFieldCount; ++field) EXPECT_TRUE(IsNull(0, PersField(field)));
  }

  PersTableWithFields table_;
  PersRoster roster_{table_};
};

TEST_F(RosterLoad, ExampleFileGivesTheCharactersInReverseOrder) {
  TempFolder folder;
  WriteFileBytes(folder.File("roster.sav"), kExampleFile);
  LoadFile(folder.File("roster.sav"));

  ASSERT_EQ(table_.RecordCount(), 2u);
  EXPECT_EQ(table_.State(), TableState::Browse);
  EXPECT_EQ(table_.CurrentRow(), 0u);
  EXPECT_FALSE(table_.Eof());
  EXPECT_EQ(Column(kRecId), (std::vector<std::string>{"2", "1"}));
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"Scout", "Hero"}));
  EXPECT_EQ(Column(kLogin), (std::vector<std::string>{"", "player1"}));
  EXPECT_EQ(Column(kD), (std::vector<std::string>{"", "First line\r\nsecond line"}));
  for (std::size_t row = 0; row < 2; ++row) {
    EXPECT_FALSE(IsNull(row, kLogin));
    EXPECT_EQ(Text(row, kS), "1");
    EXPECT_EQ(Text(row, kL), "1");
    EXPECT_EQ(Text(row, kK), "1");
    EXPECT_EQ(Text(row, kM), "100");
    EXPECT_EQ(Text(row, kR), "100");
    EXPECT_EQ(Text(row, kB), "100");
    EXPECT_EQ(Text(row, kE), "199");
    EXPECT_EQ(Text(row, kRE), "40");
    EXPECT_EQ(Text(row, kC), "0");
  }
}

TEST_F(RosterLoad, EachSaveAndLoadReversesTheOrder) {
  Load(kExampleFile);
  Load(SaveRosterText(table_));
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"Hero", "Scout"}));
  EXPECT_EQ(Column(kRecId), (std::vector<std::string>{"3", "2"}));
  EXPECT_EQ(table_.CurrentRow(), 0u);
  Load(SaveRosterText(table_));
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"Scout", "Hero"}));
}

TEST_F(RosterLoad, NumberingGoesOnFromTheLoadsHighest) {
  Load(RecordText({{"RecId", "7"}}) + RecordText({{"RecId", "3"}}));
  EXPECT_EQ(table_.MaxRecId(), 8);
  roster_.NewPers();
  EXPECT_EQ(Text(*table_.CurrentRow(), kRecId), "9");
}

struct RecIdCase {
  std::vector<const char*> read;        // RecId pairs in file order; nullptr: no pair
  std::vector<std::string> tableOrder;  // RecIds from the first row on
};

class RecIdNumbering : public RosterLoad, public ::testing::WithParamInterface<RecIdCase> {};

TEST_P(RecIdNumbering, KeepsOnlyValuesThatRise) {
  std::string file;
  for (const char* recId : GetParam().read) {
    file += recId == nullptr ? RecordText({{"Name", "x"}}) : RecordText({{"RecId", recId}});
  }
  Load(file);
  EXPECT_EQ(Column(kRecId), GetParam().tableOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RecIdNumbering,
    ::testing::Values(RecIdCase{{"3", "2", "1"}, {"5", "4", "3"}}, RecIdCase{{"5", "9", "9"}, {"10", "9", "5"}},
                      RecIdCase{{nullptr, "", nullptr}, {"3", "2", "1"}},
                      RecIdCase{{"0", "-4", "$10"}, {"16", "2", "1"}},
                      RecIdCase{{"2147483647", nullptr, "5"}, {"2", "1", "2147483647"}}));

TEST_F(RosterLoad, ValuesHoldingTagTextsReadBack) {
  Load(RecordText({{"Name", "<Hero>"}, {"Login", "a<F>b"}, {"D", "<R>x<V>y</F>z<>"}}));
  EXPECT_EQ(Text(0, kName), "<Hero>");
  EXPECT_EQ(Text(0, kLogin), "a<F>b");
  EXPECT_EQ(Text(0, kD), "<R>x<V>y</F>z<>");
}

TEST_F(RosterLoad, ValueCloseInALoginCutsTheRecordShort) {
  Load(RecordText({{"Name", "First"}}) +
       RecordText({{"Login", "a</V>b"}, {"Name", "Hero"}, {"S", "2"}, {"D", "text"}}) +
       RecordText({{"Name", "Last"}}));
  ASSERT_EQ(table_.RecordCount(), 3u);
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"Last", "", "First"}));
  EXPECT_EQ(Text(1, kLogin), "a");
  EXPECT_TRUE(IsNull(1, kName));
  EXPECT_TRUE(IsNull(1, kS));
  EXPECT_TRUE(IsNull(1, kD));
}

TEST_F(RosterLoad, RecordCloseInADescriptionEndsTheRecord) {
  Load(RecordText({{"Name", "First"}}) + RecordText({{"Name", "Hero"}, {"D", "one</R>two"}}) +
       RecordText({{"Name", "Lost"}}));
  // The rest of the description, up to the next "</R>", is text between
  // records; the record after it is read from its own "<R>" on.
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"Hero", "First"}));
  EXPECT_TRUE(IsNull(0, kD));
}

TEST_F(RosterLoad, RecordCloseBeforeTheNextRecordOpenEndsReading) {
  Load(RecordText({{"Name", "First"}}) + "</R>" + RecordText({{"Name", "Lost"}}));
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"First"}));
}

struct LineBreakCase {
  std::string file;  // the description's value as the file holds it
  std::string read;
};

class DescriptionLineBreaks : public RosterLoad, public ::testing::WithParamInterface<LineBreakCase> {};

TEST_P(DescriptionLineBreaks, ReadAsCrLf) {
  Load(RecordText({{"D", GetParam().file}}));
  EXPECT_EQ(Text(0, kD), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Values, DescriptionLineBreaks,
                         ::testing::Values(LineBreakCase{"a\nb", "a\r\nb"}, LineBreakCase{"a\rb", "a\r\nb"},
                                           LineBreakCase{"a\r\nb", "a\r\nb"}, LineBreakCase{"a\n\rb", "a\r\n\r\nb"},
                                           LineBreakCase{"\n\n", "\r\n\r\n"}, LineBreakCase{"x\r", "x\r\n"},
                                           LineBreakCase{std::string(999, 'a') + "\nbc",
                                                         std::string(999, 'a') + "\r"}));

TEST_F(RosterLoad, LfOnlyAndCrOnlyFilesReadLikeCrLf) {
  const std::string crlf = RecordText({{"Name", "Hero"}, {"D", "a\r\nb"}}) + "\r\n" + RecordText({{"Name", "X"}}) +
                           "\r\n";
  Load(crlf);
  const auto expected = Snapshot(table_);
  for (const char* lone : {"\n", "\r"}) {
    std::string file = crlf;
    for (std::size_t at = file.find("\r\n"); at != std::string::npos; at = file.find("\r\n", at)) {
      file.replace(at, 2, lone);
    }
    Load(file);
    EXPECT_EQ(Snapshot(table_), expected) << "line breaks: " << int(lone[0]);
  }
}

TEST_F(RosterLoad, ZeroByteEndsTheText) {
  Load(RecordText({{"Name", "Kept"}}) + std::string(1, '\0') + RecordText({{"Name", "Lost"}}));
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"Kept"}));

  Load(RecordText({{"Name", std::string("a\0b", 3)}}));
  ExpectBlankPending();
}

TEST_F(RosterLoad, TextOutsideRecordsAndPairsIsIgnored) {
  Load("\xEF\xBB\xBFheader <F>Name</F><V>x</V>\r\n" + std::string("<R>junk<F>Name</F>mid<V>Hero</V>tail</R>") +
       "between <V>y</V>" + RecordText({{"Name", "Scout"}}) + "after <R> unclosed");
  EXPECT_EQ(Column(kName), (std::vector<std::string>{"Scout", "Hero"}));
}

TEST_F(RosterLoad, NamesMatchWithoutLetterCaseAndUnknownNamesAreSkipped) {
  Load(RecordText({{"login", "x"}, {"NAME", "Hero"}, {"re", "12"}, {"Age", "30"}, {"Age", "abc"}, {"d", "y"}}));
  EXPECT_EQ(Text(0, kLogin), "x");
  EXPECT_EQ(Text(0, kName), "Hero");
  EXPECT_EQ(Text(0, kRE), "12");
  EXPECT_EQ(Text(0, kD), "y");
}

TEST_F(RosterLoad, PairsInAnyOrderLaterOnesWin) {
  Load(RecordText({{"D", "d"}, {"S", "3"}, {"Name", "A"}, {"Name", "B"}, {"S", ""}}));
  EXPECT_EQ(Text(0, kName), "B");
  EXPECT_TRUE(IsNull(0, kS));
  EXPECT_EQ(Text(0, kD), "d");
}

TEST_F(RosterLoad, NameOnlyRecordLeavesEveryOtherFieldWithoutValue) {
  Load("<R><F>Name</F><V>Hero</V></R>");
  ASSERT_EQ(table_.RecordCount(), 1u);
  EXPECT_EQ(Text(0, kRecId), "1");
  EXPECT_EQ(Text(0, kName), "Hero");
  for (PersField field : {kLogin, kS, kL, kK, kM, kR, kB, kE, kRE, kC, kD}) EXPECT_TRUE(IsNull(0, field));
}

TEST_F(RosterLoad, DerivedValuesAreKeptAsRead) {
  Load(RecordText({{"E", "1"}, {"RE", "2"}, {"C", "3"}, {"S", "9"}, {"L", "1"}, {"K", "1"}, {"M", "5000"},
                   {"R", "100"}, {"B", "100"}}));
  EXPECT_EQ(Text(0, kS), "9");
  EXPECT_EQ(Text(0, kM), "5000");
  EXPECT_EQ(Text(0, kE), "1");
  EXPECT_EQ(Text(0, kRE), "2");
  EXPECT_EQ(Text(0, kC), "3");
  // The change rule works as usual once the load is over.
  table_.Edit();
  table_.FieldByName("S").SetAsString("1");
  table_.FieldByName("M").SetAsString("100");
  EXPECT_EQ(table_.FieldByName("E").AsString(), "199");
}

TEST_F(RosterLoad, LongTextsAreCutToTheirFieldSize) {
  Load(RecordText({{"Login", std::string(60, 'L')}, {"Name", std::string(51, 'N')}, {"D", std::string(1200, 'd')}}));
  EXPECT_EQ(Text(0, kLogin), std::string(50, 'L'));
  EXPECT_EQ(Text(0, kName), std::string(50, 'N'));
  EXPECT_EQ(Text(0, kD), std::string(1000, 'd'));
}

class FileWithoutRecords : public RosterLoad, public ::testing::WithParamInterface<std::string> {};

TEST_P(FileWithoutRecords, LeavesTheRosterEmptyWithABlankPendingRecord) {
  AddExample();
  Load(GetParam());
  ExpectBlankPending();
  EXPECT_EQ(SaveRosterText(table_), "");
  table_.First();  // the blank record goes at the next move
  EXPECT_EQ(table_.RowCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Files, FileWithoutRecords,
                         ::testing::Values("", "\r\n", "no tags at all", "<R><F>Name</F><V>x</V>",
                                           "<F>Name</F><V>x</V></R>", "</R><R><F>Name</F><V>x</V></R>",
                                           std::string("\0<R></R>", 8)));

struct IntegerCase {
  std::string text;
  std::optional<std::string> read;  // the value stored; nothing when the load fails
};

class IntegerValue : public RosterLoad, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IntegerValue, FollowsTheIntegerGrammar) {
  const IntegerCase& c = GetParam();
  const std::string file = RecordText({{"Name", "Hero"}, {"s", c.text}});
  if (c.read) {
    Load(file);
    EXPECT_EQ(Text(0, kS), *c.read);
    EXPECT_EQ(IsNull(0, kS), c.read->empty());
  } else {
    try {
      Load(file);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      // The text as it stood, the name as the table spells it.
      EXPECT_EQ(std::string(e.what()), "'" + c.text + "' is not a valid integer value for field 'S'");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntegerValue,
    ::testing::Values(IntegerCase{" 42", "42"}, IntegerCase{"+7", "7"}, IntegerCase{"$2A", "42"},
                      IntegerCase{"0x2A", "42"}, IntegerCase{"-$10", "-16"}, IntegerCase{"$FFFFFFFF", "-1"},
                      IntegerCase{"-2147483648", "-2147483648"}, IntegerCase{"2147483647", "2147483647"},
                      IntegerCase{"", ""}, IntegerCase{"42 ", std::nullopt}, IntegerCase{"4 2", std::nullopt},
                      IntegerCase{"2147483648", std::nullopt}, IntegerCase{"$", std::nullopt},
                      IntegerCase{"abc", std::nullopt}, IntegerCase{"1.5", std::nullopt},
                      IntegerCase{"\t5", std::nullopt}));

TEST_F(RosterLoad, BadIntegerMessageShowsLineBreaksAsRead) {
  try {
    Load(RecordText({{"M", "5\n"}}));
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "'5\r\n' is not a valid integer value for field 'M'");
  }
}

// A failed load leaves everything as it was: records, current record and a
// pending edit, and the change rule works on afterwards.
TEST_F(RosterLoad, BadIntegerLeavesTheRosterAsItWas) {
  AddExample();
  table_.First();
  table_.Edit();
  table_.FieldByName("Name").SetAsString("Edited");
  const auto before = Snapshot(table_);

  std::string file;
  for (const char* s : {"1", "2", "abc", "4", "5"}) file += RecordText({{"Name", "N"}, {"S", s}});
  EXPECT_THROW(Load(file), Error);
  EXPECT_EQ(Snapshot(table_), before);

  table_.FieldByName("S").SetAsString("2");
  EXPECT_EQ(table_.FieldByName("E").AsString(), "239");
}

TEST_F(RosterLoad, NoFileOrAFolderChangesNothing) {
  AddExample();
  table_.Edit();
  table_.FieldByName("Name").SetAsString("Edited");
  const auto before = Snapshot(table_);
  TempFolder folder;
  std::filesystem::create_directory(folder.Path() / "folder.sav");
  for (const std::string& name : {folder.File("missing.sav"), folder.File("folder.sav"),
                                 folder.File("missing/roster.sav"), std::string()}) {
    LoadFile(name);
    EXPECT_EQ(Snapshot(table_), before) << name;
  }
}

using ::tolvaro::testing::CountingObserver;

TEST_F(RosterLoad, ControlsHearOneResetAtTheEnd) {
  AddExample();
  CountingObserver observer;
  table_.Attach(&observer);
  Load(kExampleFile + kExampleFile);
  EXPECT_EQ(observer.resets, 1);
  EXPECT_EQ(observer.others, 0);

  observer = CountingObserver();
  SaveRosterText(table_);
  EXPECT_EQ(observer.resets, 1);
  EXPECT_EQ(observer.others, 0);

  observer = CountingObserver();
  EXPECT_THROW(Load(RecordText({{"S", "x"}})), Error);
  EXPECT_EQ(observer.resets + observer.others, 0);
  table_.Detach(&observer);
}

}  // namespace
}  // namespace tolvaro
