#include "sheet/pers_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "sheet/memo_text.h"
#include "tests/support/cp1251.h"

namespace tolvaro {
namespace {

using testing::Cp1251;

std::vector<std::string> Cp1251Lines(const std::vector<std::string>& utf8) {
  std::vector<std::string> lines;
  for (const std::string& line : utf8) lines.push_back(Cp1251(line));
  return lines;
}

std::string Row(const std::string& label, const std::string& value) {
  return "[tr][td id=oknt_bt align=center]" + label + "[/td][td id=oknt_bt align=center]" + value + "[/td][/tr]";
}

// A duel list after a refill: the character fields, open.
class PersSheetTest : public ::testing::Test {
 protected:
  PersSheetTest() {
    AddPersFields(list_);
    list_.Open();
  }

  // Appends a character; fields missing from `values` stay null.
  void AddCharacter(const std::vector<std::pair<const char*, std::string>>& values) {
    list_.Append();
    for (const auto& [field, text] : values) list_.FieldByName(field).SetAsString(text);
    list_.Post();
  }

  PersTable list_{"mdBat1"};
};

TEST_F(PersSheetTest, WorkedExample) {
  AddCharacter({{"Login", "player1"}, {"Name", Cp1251("Эльза")}, {"S", "2"}, {"L", "3"}, {"K", "1"},
                {"M", "300"}, {"R", "200"}, {"B", "150"}, {"E", "937"}, {"RE", "134"}, {"C", "777"},
                {"D", Cp1251("Наёмница с севера.")}});
  EXPECT_EQ(PersSheetLines(list_), Cp1251Lines({"[priv=player1][more=Эльза][table id=oknt align=center]",
                                                Row("Сила", "2"), Row("Ловкость", "3"), Row("Красота", "1"),
                                                Row("Фехтование", "300"), Row("Рукопашный бой", "200"),
                                                Row("Бег", "150"), Row("БЭ", "937"), Row("РЭ", "134"),
                                                "[/table]", "Наёмница с севера.", "[/more][/priv]"}));
}

TEST_F(PersSheetTest, NoCurrentRecordGivesEmptyValues) {
  EXPECT_EQ(PersSheetLines(list_),
            Cp1251Lines({"[priv=][more=][table id=oknt align=center]", Row("Сила", ""), Row("Ловкость", ""),
                         Row("Красота", ""), Row("Фехтование", ""), Row("Рукопашный бой", ""), Row("Бег", ""),
                         Row("БЭ", ""), Row("РЭ", ""), "[/table]", "", "[/more][/priv]"}));
}

TEST_F(PersSheetTest, ShowsTheCurrentRecord) {
  AddCharacter({{"Login", "first"}});
  AddCharacter({{"Login", "second"}});
  list_.First();
  EXPECT_EQ(PersSheetLines(list_)[0], "[priv=first][more=][table id=oknt align=center]");
}

TEST_F(PersSheetTest, NullTextsAndNegativeValuesAsTheirTextForm) {
  AddCharacter({{"S", "-5"}, {"L", "1"}, {"M", "100"}});
  const std::vector<std::string> lines = PersSheetLines(list_);
  EXPECT_EQ(lines[0], "[priv=][more=][table id=oknt align=center]");
  EXPECT_EQ(lines[1], Cp1251(Row("Сила", "-5")));
  EXPECT_EQ(lines[2], Cp1251(Row("Ловкость", "1")));
  EXPECT_EQ(lines[3], Cp1251(Row("Красота", "")));
}

TEST_F(PersSheetTest, MarkupInValuesIsCopiedUnchanged) {
  AddCharacter({{"Login", "a]b[/priv]"}, {"D", "[b]x[/b]"}});
  const std::vector<std::string> lines = PersSheetLines(list_);
  EXPECT_EQ(lines[0], "[priv=a]b[/priv]][more=][table id=oknt align=center]");
  EXPECT_EQ(lines[10], "[b]x[/b]");
}

// The description is one item; as memo text its own line breaks make it
// several lines.
struct DescriptionCase {
  const char* what;
  const char* description;
  std::vector<std::string> memoLinesAfterTable;  // up to "[/more][/priv]"
};

void PrintTo(const DescriptionCase& c, std::ostream* out) { *out << c.what; }

class PersSheetDescriptionTest : public PersSheetTest, public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(PersSheetDescriptionTest, KeepsItsLineBreaks) {
  const DescriptionCase& c = GetParam();
  AddCharacter({{"D", c.description}});
  const std::vector<std::string> lines = PersSheetLines(list_);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[10], c.description);

  std::vector<std::string> memoLines;
  const std::string text = MemoText(lines);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "the last line lacks its CR LF";
    memoLines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  std::vector<std::string> expected(memoLines.begin(), memoLines.begin() + 10);
  expected.insert(expected.end(), c.memoLinesAfterTable.begin(), c.memoLinesAfterTable.end());
  expected.emplace_back("[/more][/priv]");
  EXPECT_EQ(memoLines, expected);
  EXPECT_EQ(memoLines[9], "[/table]");
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, PersSheetDescriptionTest,
    ::testing::Values(DescriptionCase{"one line", "Scout.", {"Scout."}},
                      DescriptionCase{"empty", "", {""}},
                      DescriptionCase{"two lines", "First line\r\nSecond line", {"First line", "Second line"}},
                      DescriptionCase{"ending with a line break", "Last words\r\n", {"Last words", ""}}));

TEST(PersSheetUnfilledList, FailsOnLoginBeforeAnyLine) {
  PersTable list("mdBat1");
  try {
    PersSheetLines(list);
    FAIL() << "no failure";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "mdBat1: Field 'Login' not found");
  }
}

}  // namespace
}  // namespace tolvaro
