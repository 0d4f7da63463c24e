#include <gtest/gtest.h>

#include "roster/error.h"
#include "rosterfile/roster_file.h"
#include "tests/rosterfile/example_roster.h"
#include "tests/rosterfile/roster_test_support.h"
#include "tests/support/cp1251.h"

namespace tolvaro {
namespace {

using testing::AddExampleCharacters;
using testing::AppendCharacter;
using testing::FieldTexts;
using testing::Cp1251;
using testing::kExampleFile;
using testing::kExampleLine1;
using testing::kExampleLine2;
using testing::PersTableWithFields;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

class ExampleRosterSave : public ::testing::Test {
 protected:
  void SetUp() override { AddExampleCharacters(table_); }

  PersTableWithFields table_;
  TempFolder folder_;
};

TEST_F(ExampleRosterSave, WritesTheExactBytes) {
  const std::string path = folder_.File("roster.sav");
  SaveRoster(table_, path);

  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes, kExampleFile);
  EXPECT_EQ(bytes.size(), 507u);
  EXPECT_EQ(kExampleLine1.size(), 246u);
  EXPECT_EQ(kExampleLine2.size(), 257u);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"roster.sav"});
}

TEST_F(ExampleRosterSave, LeavesTheLastRecordCurrentAndNothingPending) {
  table_.First();
  SaveRoster(table_, folder_.File("roster.sav"));
  EXPECT_EQ(table_.CurrentRow(), 1u);
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(table_.State(), TableState::Browse);
}

TEST_F(ExampleRosterSave, WritesAPendingEditOfTheCurrentCharacter) {
  table_.Edit();
  table_.FieldByName("Name").SetAsString("Ranger");
  EXPECT_NE(SaveRosterText(table_).find("<F>Name</F><V>Ranger</V>"), std::string::npos);
  EXPECT_EQ(table_.State(), TableState::Browse);
}

TEST_F(ExampleRosterSave, ReplacesAnExistingFileWhole) {
  const std::string path = folder_.File("roster.sav");
  WriteFileBytes(path, std::string(5000, 'x'));
  SaveRoster(table_, path);
  EXPECT_EQ(ReadFileBytes(path), kExampleFile);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"roster.sav"});
}

// A closed roster, an open one without records and one whose only record is
// still pending write nothing, and leave a file of that name as it was.
TEST(EmptyRosterSave, WritesNothing) {
  TempFolder folder;
  const std::string existing = folder.File("old.sav");
  WriteFileBytes(existing, "old content");

  PersTableWithFields closed;
  PersTableWithFields empty;
  empty.Open();
  PersTableWithFields onlyPending;
  onlyPending.Open();
  onlyPending.Insert();
  onlyPending.FieldByName("Name").SetAsString("Draft");

  for (PersTable* table : {static_cast<PersTable*>(&closed), static_cast<PersTable*>(&empty),
                           static_cast<PersTable*>(&onlyPending)}) {
    SaveRoster(*table, existing);
    SaveRoster(*table, folder.File("new.sav"));
    EXPECT_EQ(SaveRosterText(*table), "");
  }
  EXPECT_EQ(ReadFileBytes(existing), "old content");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.sav"});
  EXPECT_EQ(onlyPending.State(), TableState::Insert);
}

struct WrittenValueCase {
  const char* field;
  std::string stored;   // as the field holds it
  std::string written;  // between "<V>" and "</V>"
};

class WrittenValue : public ::testing::TestWithParam<WrittenValueCase> {};

TEST_P(WrittenValue, StandsBetweenTheValueTags) {
  const WrittenValueCase& c = GetParam();
  PersTableWithFields table;
  table.Open();
  table.Append();
  if (c.stored == "<null>") {
    table.FieldByName(c.field).Clear();
  } else {
    table.FieldByName(c.field).SetAsString(c.stored);
  }
  table.Post();
  const std::string pair = "<F>" + std::string(c.field) + "</F><V>" + c.written + "</V>";
  const std::string text = SaveRosterText(table);
  EXPECT_NE(text.find(pair), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    DecimalEmptyAndUnchanged, WrittenValue,
    ::testing::Values(WrittenValueCase{"S", "-7", "-7"}, WrittenValueCase{"S", "0", "0"},
                      WrittenValueCase{"S", "+0007", "7"}, WrittenValueCase{"M", "$FFFFFFFF", "-1"},
                      WrittenValueCase{"C", "-2147483648", "-2147483648"}, WrittenValueCase{"S", "<null>", ""},
                      WrittenValueCase{"Login", "<null>", ""}, WrittenValueCase{"Login", "", ""},
                      WrittenValueCase{"Name", "<Hero>", "<Hero>"}, WrittenValueCase{"Login", "a<F>b", "a<F>b"},
                      WrittenValueCase{"D", "<R><F></F><V>", "<R><F></F><V>"},
                      WrittenValueCase{"D", "a</b</V</R", "a</b</V</R"},
                      WrittenValueCase{"D", "a\r\nb", "a\r\nb"}, WrittenValueCase{"D", "a\nb", "a\r\nb"},
                      WrittenValueCase{"D", "a\rb", "a\r\nb"}, WrittenValueCase{"D", "a\n\rb", "a\r\n\r\nb"},
                      WrittenValueCase{"D", "a\r\r\nb", "a\r\n\r\nb"}, WrittenValueCase{"D", "\n", "\r\n"},
                      WrittenValueCase{"D", "end\r", "end\r\n"}));

TEST(SavedText, EndsWithOneLineBreakAfterTheLastRecord) {
  PersTableWithFields table;
  AppendCharacter(table, {{"D", "x\n"}});
  const std::string text = SaveRosterText(table);
  EXPECT_TRUE(text.ends_with("<F>D</F><V>x\r\n</V></R>\r\n")) << text;
}

// Values that the file could not give back as they were: the save writes
// nothing and says which character and field hold them.
struct RefusedValueCase {
  const char* description;
  FieldTexts second;  // the second record's fields; the first is plain
  std::string message;  // readable text; the core gives it in Windows-1251
};

class RefusedValue : public ::testing::TestWithParam<RefusedValueCase> {};

TEST_P(RefusedValue, WritesNothingAndNamesCharacterAndField) {
  const RefusedValueCase& c = GetParam();
  PersTableWithFields table;
  AppendCharacter(table, {{"Name", "Plain"}, {"S", "1"}});
  AppendCharacter(table, c.second);
  TempFolder folder;
  const std::string path = folder.File("roster.sav");
  WriteFileBytes(path, "old content");

  try {
    SaveRoster(table, path);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.what(), Cp1251(c.message));
  }
  EXPECT_EQ(ReadFileBytes(path), "old content");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"roster.sav"});
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.CurrentRow(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    ValueCloseOrRecordClose, RefusedValue,
    ::testing::Values(
        RefusedValueCase{"login with value close", {{"Login", "a</V>b"}, {"Name", "Hero"}},
                         "Персонаж \"Hero\": поле Login содержит \"</V>\", такой текст нельзя сохранить в файл. "
                         "Файл не записан."},
        RefusedValueCase{"description with record close, no name", {{"D", "one</R>two"}},
                         "Персонаж в строке 2: поле D содержит \"</R>\", такой текст нельзя сохранить в файл. "
                         "Файл не записан."},
        RefusedValueCase{"empty name counts as none", {{"Name", ""}, {"Login", "</V>"}},
                         "Персонаж в строке 2: поле Login содержит \"</V>\", такой текст нельзя сохранить в файл. "
                         "Файл не записан."},
        RefusedValueCase{"the first of both in a value", {{"Name", "Scout"}, {"D", "x</R>y</V>"}},
                         "Персонаж \"Scout\": поле D содержит \"</R>\", такой текст нельзя сохранить в файл. "
                         "Файл не записан."},
        RefusedValueCase{"the first field in field order", {{"Name", "Hero</V>"}, {"D", "</R>"}},
                         "Персонаж \"Hero</V>\": поле Name содержит \"</V>\", такой текст нельзя сохранить в файл. "
                         "Файл не записан."}),
    [](const ::testing::TestParamInfo<RefusedValueCase>& info) {
      std::string name = info.param.description;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

// Field writes cut a text at a zero byte, but a bulk insert takes values as
// they come; a zero byte would end the file's text on reading.
TEST(RefusedZeroByte, NamesTheCharacter) {
  PersTableWithFields table;
  table.Open();
  PersRecord record(static_cast<std::size_t>(table.FieldCount()));
  record[kName] = FieldValue{false, 0, "Hero"};
  record[kD] = FieldValue{false, 0, std::string("a\0b", 3)};
  table.InsertRecord(record);
  try {
    SaveRosterText(table);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.what(), Cp1251("Персонаж \"Hero\": поле D содержит символ с кодом 0, такой текст нельзя "
                               "сохранить в файл. Файл не записан."));
  }
}

}  // namespace
}  // namespace tolvaro
