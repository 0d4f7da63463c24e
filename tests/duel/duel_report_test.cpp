#include "duel/duel_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duel/duel_resolution.h"
#include "duel_test_support.h"
#include "tests/support/cp1251.h"

namespace tolvaro {
namespace {

using testing::AddCharacter;
using testing::Cp1251;

std::vector<std::string> Cp1251Lines(const std::vector<std::string>& utf8) {
  std::vector<std::string> lines;
  for (const std::string& line : utf8) lines.push_back(Cp1251(line));
  return lines;
}

const std::string kSeparator = "====================";

// The two worked duels after start, resolved from the lists as the duel
// page holds them and written with the names of their current records.
TEST(DuelReportWorkedExamples, FirstAndSecondPressAfterStart) {
  PersTable list1("mdBat1");
  PersTable list2("mdBat2");
  AddCharacter(list1, Cp1251("Страж"), 199, 40);
  AddCharacter(list2, Cp1251("Наёмник"), 199, 40);
  DuelRandom random;
  const auto report = [&](const DuelSide& first, const DuelSide& second) {
    const DuelOutcome outcome = ResolveDuel(first, second, random);
    return DuelReport(outcome, list1.FieldByName("Name").AsString(), list2.FieldByName("Name").AsString());
  };

  const DuelSide guard{.List = list1, .Amount = 2};
  const DuelSide mercenary{.List = list2, .NoKill = true, .Bonus = 100};
  EXPECT_EQ(report(guard, mercenary), Cp1251Lines({kSeparator, "Наёмник не получил ранений", kSeparator,
                                                   "Страж получил ранение", "Место попадания: голова",
                                                   "Тяжесть ранения: тяжелое", kSeparator}));

  AddCharacter(list1, Cp1251("Страж"), 1000, 40);
  AddCharacter(list2, Cp1251("Наёмник"), 199, 40);
  const DuelSide disarming{.List = list1, .Disarm = true, .Bonus = 100};
  const DuelSide bareHanded{.List = list2, .NoWeapon = true};
  EXPECT_EQ(report(disarming, bareHanded),
            Cp1251Lines({kSeparator, "Наёмник обезоружен", kSeparator, "Страж не получил ранений", kSeparator}));
}

TEST(DuelReportWorkedExamples, ChancesOfTheFirstExample) {
  PersTable list1("mdBat1");
  PersTable list2("mdBat2");
  AddCharacter(list1, "A", 199, 40);
  AddCharacter(list2, "B", 199, 40);
  DuelRandom random;
  const DuelOutcome outcome = ResolveDuel(DuelSide{.List = list1, .Amount = 2},
                                          DuelSide{.List = list2, .NoKill = true, .Bonus = 100}, random);
  EXPECT_EQ(outcome.Chance1, 25);
  EXPECT_EQ(outcome.Chance2, 75);
}

// ---- blocks ------------------------------------------------------------------

struct BlockCase {
  const char* what;
  Wound wound;
  std::vector<std::string> block;  // readable text
};

void PrintTo(const BlockCase& c, std::ostream* out) { *out << c.what; }

class DuelReportBlockTest : public ::testing::TestWithParam<BlockCase> {};

// The block sits in the 2nd character's place; the 1st stays unharmed.
TEST_P(DuelReportBlockTest, WritesTheWoundOfTheCharacterStruck) {
  const BlockCase& c = GetParam();
  DuelOutcome outcome;
  outcome.Wound2 = c.wound;
  std::vector<std::string> expected = {kSeparator};
  for (const std::string& line : c.block) expected.push_back(line);
  expected.insert(expected.end(), {kSeparator, "Один не получил ранений", kSeparator});
  EXPECT_EQ(DuelReport(outcome, Cp1251("Один"), Cp1251("Два")), Cp1251Lines(expected));
}

INSTANTIATE_TEST_SUITE_P(
    EveryText, DuelReportBlockTest,
    ::testing::Values(
        BlockCase{"body, light",
                  {true, HitLocation::Body, WoundGrade::Light},
                  {"Два получил ранение", "Место попадания: корпус", "Тяжесть ранения: лёгкое"}},
        BlockCase{"right arm, heavy",
                  {true, HitLocation::RightArm, WoundGrade::Heavy},
                  {"Два получил ранение", "Место попадания: правая рука", "Тяжесть ранения: тяжелое"}},
        BlockCase{"left arm",
                  {true, HitLocation::LeftArm, WoundGrade::Heavy},
                  {"Два получил ранение", "Место попадания: левая рука", "Тяжесть ранения: тяжелое"}},
        BlockCase{"right leg",
                  {true, HitLocation::RightLeg, WoundGrade::Light},
                  {"Два получил ранение", "Место попадания: правая нога", "Тяжесть ранения: лёгкое"}},
        BlockCase{"left leg",
                  {true, HitLocation::LeftLeg, WoundGrade::Heavy},
                  {"Два получил ранение", "Место попадания: левая нога", "Тяжесть ранения: тяжелое"}},
        BlockCase{"head, fatal",
                  {true, HitLocation::Head, WoundGrade::Fatal},
                  {"Два получил ранение", "Место попадания: голова", "Тяжесть ранения: фатальное"}},
        BlockCase{"a blow that missed shows no grade", {false, HitLocation::Head, WoundGrade::Fatal},
                  {"Два не получил ранений"}},
        BlockCase{"disarmed: one line, no place or gravity", {true, HitLocation::LeftArm, WoundGrade::Disarmed},
                  {"Два обезоружен"}}));

TEST(DuelReport, BothWoundedGivesNineLines) {
  DuelOutcome outcome;
  outcome.Wound1 = {true, HitLocation::Body, WoundGrade::Fatal};
  outcome.Wound2 = {true, HitLocation::Head, WoundGrade::Light};
  EXPECT_EQ(DuelReport(outcome, "A", "B"),
            Cp1251Lines({kSeparator, "B получил ранение", "Место попадания: голова", "Тяжесть ранения: лёгкое",
                         kSeparator, "A получил ранение", "Место попадания: корпус", "Тяжесть ранения: фатальное",
                         kSeparator}));
}

TEST(DuelReport, CharacterFromAnEmptyListHasAnEmptyName) {
  // Its value is 0, so the other character's blow always lands.
  PersTable list1("mdBat1");
  PersTable list2("mdBat2");
  testing::FillList(list1);
  AddCharacter(list2, "B", 199, 40);
  DuelRandom random;
  const DuelOutcome outcome = ResolveDuel(DuelSide{list1}, DuelSide{list2}, random);
  const std::vector<std::string> lines =
      DuelReport(outcome, list1.FieldByName("Name").AsString(), list2.FieldByName("Name").AsString());
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[1], Cp1251("B не получил ранений"));
  EXPECT_EQ(lines[3], Cp1251(" получил ранение"));
}

TEST(DuelReport, NamesAreWrittenAsStored) {
  DuelOutcome outcome;
  const std::vector<std::string> lines = DuelReport(outcome, "  [b]x ", "");
  EXPECT_EQ(lines[1], Cp1251(" не получил ранений"));
  EXPECT_EQ(lines[3], Cp1251("  [b]x  не получил ранений"));
}

}  // namespace
}  // namespace tolvaro
