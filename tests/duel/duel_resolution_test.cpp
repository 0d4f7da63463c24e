#include "duel/duel_resolution.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duel_test_support.h"
#include "roster/error.h"

namespace tolvaro {
namespace {

using testing::AddCharacter;
using testing::FillList;

constexpr HitLocation kBody = HitLocation::Body;
constexpr HitLocation kRightArm = HitLocation::RightArm;
constexpr HitLocation kHead = HitLocation::Head;
constexpr WoundGrade kLight = WoundGrade::Light;
constexpr WoundGrade kHeavy = WoundGrade::Heavy;
constexpr WoundGrade kFatal = WoundGrade::Fatal;
constexpr WoundGrade kDisarmed = WoundGrade::Disarmed;

// ---- locations ------------------------------------------------------------

TEST(LocationOfDraw, EdgesOfEveryBand) {
  const std::vector<std::pair<std::int32_t, HitLocation>> cases = {
      {99, kBody},
      {40, kBody},
      {39, kRightArm},
      {20, kRightArm},
      {19, HitLocation::LeftArm},
      {15, HitLocation::LeftArm},
      {14, HitLocation::RightLeg},
      {10, HitLocation::RightLeg},
      {9, HitLocation::LeftLeg},
      {5, HitLocation::LeftLeg},
      {4, kHead},
      {0, kHead}};
  for (const auto& [draw, location] : cases) EXPECT_EQ(LocationOfDraw(draw), location) << "draw " << draw;
}

// ---- steps after the draws, driven with chosen draws and values ------------

// A side's options; the list is not read by the steps after the draws.
struct Options {
  bool disarm = false;
  bool noKill = false;
  bool noCripple = false;
  std::int32_t bonus = 0;
  std::int32_t amount = 1;
};

struct ResolutionCase {
  const char* what;
  DuelDraws draws;  // r1, r2, r3, r4
  double x1;
  double x2;
  Options first;
  Options second;
  Wound wound2;  // received by the 2nd character
  Wound wound1;  // received by the 1st character
};

void PrintTo(const ResolutionCase& c, std::ostream* out) { *out << c.what; }

class ResolveWithDrawsTest : public ::testing::TestWithParam<ResolutionCase> {
 protected:
  DuelSide Side(const Options& options) {
    return DuelSide{.List = unused_,
                    .Disarm = options.disarm,
                    .NoKill = options.noKill,
                    .NoCripple = options.noCripple,
                    .Bonus = options.bonus,
                    .Amount = options.amount};
  }

  PersTable unused_{"mdBat1"};
};

TEST_P(ResolveWithDrawsTest, GradesAndLanding) {
  const ResolutionCase& c = GetParam();
  const DuelOutcome outcome = ResolveWithDraws(c.draws, Side(c.first), c.x1, Side(c.second), c.x2);
  EXPECT_EQ(outcome.Draws, c.draws);
  EXPECT_EQ(outcome.Wound2, c.wound2);
  EXPECT_EQ(outcome.Wound1, c.wound1);
}

constexpr Options kPlain{};
constexpr Options kTwoOpponents{.amount = 2};
constexpr Options kBonus50{.bonus = 50};
constexpr Options kNoKill{.noKill = true};
constexpr Options kNoCripple{.noCripple = true};
constexpr Options kBoth{.noKill = true, .noCripple = true};
constexpr Options kDisarm{.disarm = true};

// Chances used below: equal values 50/50; one opponent against two 60/40;
// a bonus of 50 on the 2nd side 40/60; a value of 0 against any other
// 0/100, so that d = 100 - attack draw.
INSTANTIATE_TEST_SUITE_P(
    Thresholds, ResolveWithDrawsTest,
    ::testing::Values(
        ResolutionCase{"equal values: a draw of 50 misses, 49 lands", {40, 40, 50, 49}, 199, 199, kPlain, kPlain,
                       {false, kBody, kLight}, {true, kBody, kLight}},
        ResolutionCase{"one against two: 60 misses, 40 misses at 40", {40, 40, 60, 40}, 199, 199, kPlain,
                       kTwoOpponents, {false, kBody, kLight}, {false, kBody, kLight}},
        ResolutionCase{"one against two: 59 and 39 land", {40, 40, 59, 39}, 199, 199, kPlain, kTwoOpponents,
                       {true, kBody, kLight}, {true, kBody, kLight}},
        ResolutionCase{"d = 40 stays light", {40, 40, 20, 99}, 199, 199, kPlain, kTwoOpponents,
                       {true, kBody, kLight}, {false, kBody, kLight}},
        ResolutionCase{"d = 41 is heavy", {40, 40, 19, 99}, 199, 199, kPlain, kTwoOpponents,
                       {true, kBody, kHeavy}, {false, kBody, kLight}},
        ResolutionCase{"d = 50 stays heavy", {40, 40, 10, 99}, 199, 199, kPlain, kTwoOpponents,
                       {true, kBody, kHeavy}, {false, kBody, kLight}},
        ResolutionCase{"d = 51 is fatal", {40, 40, 9, 99}, 199, 199, kPlain, kTwoOpponents,
                       {true, kBody, kFatal}, {false, kBody, kLight}},
        ResolutionCase{"bonus 50 on the 2nd: 40 and 60 miss at their draws", {40, 40, 40, 60}, 199, 199, kPlain,
                       kBonus50, {false, kBody, kLight}, {false, kBody, kLight}},
        ResolutionCase{"bonus 50 on the 2nd: d2 = 41", {40, 40, 39, 19}, 199, 199, kPlain, kBonus50,
                       {true, kBody, kLight}, {true, kBody, kHeavy}},
        ResolutionCase{"value 0 never lands, the other always does", {40, 40, 0, 99}, 0, 199, kPlain, kPlain,
                       {false, kBody, kLight}, {true, kBody, kLight}},
        // Limb rule: each grade goes by where its own character was hit.
        ResolutionCase{"limb hit with d <= 40 is heavy", {20, 40, 49, 49}, 199, 199, kPlain, kPlain,
                       {true, kRightArm, kHeavy}, {true, kBody, kLight}},
        ResolutionCase{"limb hit with d > 50 is heavy", {39, 40, 0, 0}, 199, 0, kPlain, kPlain,
                       {true, kRightArm, kHeavy}, {false, kBody, kLight}},
        ResolutionCase{"limb hit on the 1st character only", {40, 5, 0, 49}, 199, 199, kPlain, kPlain,
                       {true, kBody, kHeavy}, {true, HitLocation::LeftLeg, kHeavy}},
        ResolutionCase{"head hit with d > 50 is fatal", {4, 40, 0, 0}, 199, 0, kPlain, kPlain,
                       {true, kHead, kFatal}, {false, kBody, kLight}},
        // Not to kill: an attack draw of 5 defeats it, 6 does not.
        ResolutionCase{"no kill, draw 5: stays fatal", {40, 40, 5, 0}, 199, 0, kNoKill, kPlain,
                       {true, kBody, kFatal}, {false, kBody, kLight}},
        ResolutionCase{"no kill, draw 6: heavy", {40, 40, 6, 0}, 199, 0, kNoKill, kPlain,
                       {true, kBody, kHeavy}, {false, kBody, kLight}},
        // Not to cripple: an attack draw of 10 defeats it, 11 does not.
        ResolutionCase{"no cripple, draw 10: stays fatal", {40, 40, 10, 0}, 199, 0, kNoCripple, kPlain,
                       {true, kBody, kFatal}, {false, kBody, kLight}},
        ResolutionCase{"no cripple, draw 11: light", {40, 40, 11, 0}, 199, 0, kNoCripple, kPlain,
                       {true, kBody, kLight}, {false, kBody, kLight}},
        ResolutionCase{"no cripple on a heavy limb wound", {20, 40, 49, 0}, 199, 199, kNoCripple, kPlain,
                       {true, kRightArm, kLight}, {true, kBody, kHeavy}},
        ResolutionCase{"both attempts, draw 8: fatal becomes heavy and stays", {40, 40, 8, 0}, 199, 0, kBoth,
                       kPlain, {true, kBody, kHeavy}, {false, kBody, kLight}},
        // Disarming: as not to kill and not to cripple for its own blow, and
        // replacing the grade once d > 60.
        ResolutionCase{"disarm alone, d = 45, draw 11: light", {40, 40, 11, 0}, 56, 44, kDisarm, kPlain,
                       {true, kBody, kLight}, {true, kBody, kHeavy}},
        ResolutionCase{"disarm, d = 61, draw 10", {40, 40, 10, 0}, 71, 29, kDisarm, kPlain,
                       {true, kBody, kDisarmed}, {true, kBody, kLight}},
        ResolutionCase{"disarm, d = 60, draw 10: fatal softened to heavy", {40, 40, 10, 0}, 70, 30, kDisarm, kPlain,
                       {true, kBody, kHeavy}, {true, kBody, kLight}},
        ResolutionCase{"disarm, d = 61, draw 39", {40, 40, 39, 0}, 199, 0, kDisarm, kPlain,
                       {true, kBody, kDisarmed}, {false, kBody, kLight}},
        ResolutionCase{"disarm, d = 60, draw 40: light", {40, 40, 40, 0}, 199, 0, kDisarm, kPlain,
                       {true, kBody, kLight}, {false, kBody, kLight}},
        ResolutionCase{"disarm replaces a limb wound", {20, 40, 0, 0}, 199, 0, kDisarm, kPlain,
                       {true, kRightArm, kDisarmed}, {false, kBody, kLight}},
        ResolutionCase{"disarm, draw 0: disarmed though not softened", {0, 40, 0, 0}, 199, 0, kDisarm, kPlain,
                       {true, kHead, kDisarmed}, {false, kBody, kLight}},
        // The 2nd side's options act on the 1st character's wound only.
        ResolutionCase{"2nd side no kill, draw 5", {40, 40, 0, 5}, 0, 199, kPlain, kNoKill,
                       {false, kBody, kLight}, {true, kBody, kFatal}},
        ResolutionCase{"2nd side no kill, draw 6", {40, 40, 0, 6}, 0, 199, kPlain, kNoKill,
                       {false, kBody, kLight}, {true, kBody, kHeavy}},
        ResolutionCase{"2nd side no cripple, draw 11", {40, 40, 0, 11}, 0, 199, kPlain, kNoCripple,
                       {false, kBody, kLight}, {true, kBody, kLight}},
        ResolutionCase{"2nd side disarm, d = 61", {40, 40, 0, 39}, 0, 199, kPlain, kDisarm,
                       {false, kBody, kLight}, {true, kBody, kDisarmed}},
        ResolutionCase{"1st side's options leave its own wound alone", {40, 40, 0, 0}, 0, 199,
                       Options{.disarm = true, .noKill = true, .noCripple = true}, kPlain,
                       {false, kBody, kLight}, {true, kBody, kFatal}},
        ResolutionCase{"options on both sides, each on its own blow", {40, 20, 6, 11}, 70, 30, kNoKill,
                       kNoCripple, {true, kBody, kHeavy}, {true, kRightArm, kLight}},
        ResolutionCase{"the 2nd side's disarm leaves the 1st side's blow alone", {40, 40, 6, 0}, 70, 30, kPlain,
                       kDisarm, {true, kBody, kFatal}, {true, kBody, kLight}}));

// ---- exactness of the chances ------------------------------------------------

struct ExactCase {
  const char* what;
  Options first;
  Options second;
  double chance1;
  double chance2;
};

void PrintTo(const ExactCase& c, std::ostream* out) { *out << c.what; }

class ExactChancesCaseTest : public ::testing::TestWithParam<ExactCase> {
 protected:
  PersTable unused_{"mdBat1"};
};

TEST_P(ExactChancesCaseTest, HoldForEveryEqualValue) {
  const ExactCase& c = GetParam();
  const DuelSide first{.List = unused_, .Bonus = c.first.bonus, .Amount = c.first.amount};
  const DuelSide second{.List = unused_, .Bonus = c.second.bonus, .Amount = c.second.amount};
  for (int x = 1; x <= 20000; ++x) {
    const DuelOutcome outcome = ResolveWithDraws({40, 40, 50, 50}, first, x, second, x);
    ASSERT_EQ(outcome.Chance1, c.chance1) << "value " << x;
    ASSERT_EQ(outcome.Chance2, c.chance2) << "value " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EqualValues, ExactChancesCaseTest,
    ::testing::Values(ExactCase{"one opponent each", kPlain, kPlain, 50, 50},
                      ExactCase{"two opponents each", kTwoOpponents, kTwoOpponents, 50, 50},
                      ExactCase{"one opponent against two", kPlain, kTwoOpponents, 60, 40},
                      ExactCase{"bonus 50 on the 2nd side", kPlain, kBonus50, 40, 60},
                      ExactCase{"bonus 100 on the 2nd side doubles", kPlain, Options{.bonus = 100},
                                100.0 / 3.0, 200.0 / 3.0},
                      ExactCase{"bonus -100 on the 2nd side makes it 0", kPlain, Options{.bonus = -100}, 100, 0}));

// ---- the whole duel: draws, reads, failures -----------------------------------

class ResolveDuelTest : public ::testing::Test {
 protected:
  PersTable list1_{"mdBat1"};
  PersTable list2_{"mdBat2"};
  DuelRandom random_;
};

TEST_F(ResolveDuelTest, FirstFiveDuelsUseTheFixedDraws) {
  AddCharacter(list1_, "A", 199, 40);
  AddCharacter(list2_, "B", 199, 40);
  struct Expected {
    DuelDraws draws;
    HitLocation location2;
    HitLocation location1;
  };
  const std::vector<Expected> duels = {{{0, 3, 86, 20}, kHead, kHead},
                                       {{27, 67, 31, 16}, kRightArm, kBody},
                                       {{37, 42, 8, 47}, kRightArm, kBody},
                                       {{7, 84, 5, 29}, HitLocation::LeftLeg, kBody},
                                       {{91, 36, 77, 32}, kBody, kRightArm}};
  for (const Expected& duel : duels) {
    const DuelOutcome outcome = ResolveDuel(DuelSide{list1_}, DuelSide{list2_}, random_);
    EXPECT_EQ(outcome.Draws, duel.draws);
    EXPECT_EQ(outcome.Wound2.Location, duel.location2);
    EXPECT_EQ(outcome.Wound1.Location, duel.location1);
  }
}

TEST_F(ResolveDuelTest, NoWeaponPicksRePerSide) {
  AddCharacter(list1_, "A", 300, 100);
  AddCharacter(list2_, "B", 100, 300);
  struct Case {
    bool noWeapon1;
    bool noWeapon2;
    double chance1;
  };
  for (const Case& c : {Case{false, false, 75}, Case{true, false, 50}, Case{false, true, 50}, Case{true, true, 25}}) {
    const DuelOutcome outcome = ResolveDuel(DuelSide{.List = list1_, .NoWeapon = c.noWeapon1},
                                            DuelSide{.List = list2_, .NoWeapon = c.noWeapon2}, random_);
    EXPECT_EQ(outcome.Chance1, c.chance1) << c.noWeapon1 << c.noWeapon2;
    EXPECT_EQ(outcome.Chance2, 100 - c.chance1) << c.noWeapon1 << c.noWeapon2;
  }
}

TEST_F(ResolveDuelTest, ReadsTheCurrentRecord) {
  AddCharacter(list1_, "A", 100, 40);
  AddCharacter(list1_, "B", 300, 40);
  AddCharacter(list2_, "C", 100, 40);
  list1_.First();
  EXPECT_EQ(ResolveDuel(DuelSide{list1_}, DuelSide{list2_}, random_).Chance1, 50);
  list1_.Next();
  EXPECT_EQ(ResolveDuel(DuelSide{list1_}, DuelSide{list2_}, random_).Chance1, 75);
}

TEST_F(ResolveDuelTest, ListWithoutRecordsGivesZero) {
  FillList(list1_);
  AddCharacter(list2_, "B", 199, 40);
  const DuelOutcome outcome = ResolveDuel(DuelSide{list1_}, DuelSide{list2_}, random_);
  EXPECT_EQ(outcome.Chance1, 0);
  EXPECT_EQ(outcome.Chance2, 100);
  EXPECT_FALSE(outcome.Wound2.Landed);
  EXPECT_TRUE(outcome.Wound1.Landed);
}

TEST_F(ResolveDuelTest, NegativeValuesRunThroughUnclamped) {
  AddCharacter(list1_, "A", 300, 40);
  AddCharacter(list2_, "B", -100, 40);
  const DuelOutcome outcome = ResolveDuel(DuelSide{list1_}, DuelSide{list2_}, random_);  // draws 0, 3, 86, 20
  EXPECT_EQ(outcome.Chance1, 150);
  EXPECT_EQ(outcome.Chance2, -50);
  EXPECT_EQ(outcome.Wound2, (Wound{true, kHead, kFatal}));  // d1 = 150 - 86
  EXPECT_EQ(outcome.Wound1, (Wound{false, kHead, kLight}));
}

// How far a duel list got: never filled, filled from an empty roster, or
// holding one character whose E and RE are both the given value.
enum class ListState { Unfilled, Empty, WithCharacter };

struct FailureCase {
  const char* what;
  ListState state1;
  double value1;
  ListState state2;
  double value2;
  DuelSide (*first)(PersTable&);
  DuelSide (*second)(PersTable&);
  const char* message;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.what; }

DuelSide Plain(PersTable& list) { return DuelSide{list}; }
DuelSide NoWeapon(PersTable& list) { return DuelSide{.List = list, .NoWeapon = true}; }
DuelSide LosesAll(PersTable& list) { return DuelSide{.List = list, .Bonus = -100}; }
DuelSide TwoOpponents(PersTable& list) { return DuelSide{.List = list, .Amount = 2}; }
DuelSide NoOpponentsAtAll(PersTable& list) { return DuelSide{.List = list, .Amount = INT32_MIN}; }

void Prepare(PersTable& list, ListState state, double value) {
  if (state == ListState::Empty) FillList(list);
  if (state == ListState::WithCharacter) AddCharacter(list, "X", value, value);
}

class ResolveDuelFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ResolveDuelFailureTest, FailsAfterTakingItsDraws) {
  const FailureCase& c = GetParam();
  PersTable list1("mdBat1");
  PersTable list2("mdBat2");
  Prepare(list1, c.state1, c.value1);
  Prepare(list2, c.state2, c.value2);
  DuelRandom random;
  try {
    ResolveDuel(c.first(list1), c.second(list2), random);
    ADD_FAILURE() << "no failure";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), c.message);
  }
  EXPECT_EQ(random.Seed(), 870078620u);  // the seed after four draws

  // The next duel goes on with the draws that follow.
  AddCharacter(list1, "A", 199, 40);
  AddCharacter(list2, "B", 199, 40);
  EXPECT_EQ(ResolveDuel(DuelSide{list1}, DuelSide{list2}, random).Draws, (DuelDraws{27, 67, 31, 16}));
}

constexpr ListState kUnfilled = ListState::Unfilled;
constexpr ListState kEmpty = ListState::Empty;
constexpr ListState kFilled = ListState::WithCharacter;

INSTANTIATE_TEST_SUITE_P(
    Failures, ResolveDuelFailureTest,
    ::testing::Values(
        FailureCase{"1st list unfilled", kUnfilled, 0, kFilled, 199, Plain, Plain, "mdBat1: Field 'E' not found"},
        FailureCase{"1st list unfilled, no weapon", kUnfilled, 0, kFilled, 199, NoWeapon, Plain,
                    "mdBat1: Field 'RE' not found"},
        FailureCase{"both unfilled: the 1st is read first", kUnfilled, 0, kUnfilled, 0, Plain, NoWeapon,
                    "mdBat1: Field 'E' not found"},
        FailureCase{"2nd list unfilled, no weapon", kFilled, 199, kUnfilled, 0, Plain, NoWeapon,
                    "mdBat2: Field 'RE' not found"},
        FailureCase{"both lists empty", kEmpty, 0, kEmpty, 0, Plain, Plain, "Invalid floating point operation"},
        FailureCase{"both values zero", kFilled, 0, kFilled, 0, Plain, Plain, "Invalid floating point operation"},
        FailureCase{"both bonuses -100", kFilled, 199, kFilled, 199, LosesAll, LosesAll,
                    "Invalid floating point operation"},
        FailureCase{"value 0 against bonus -100", kFilled, 0, kFilled, 199, Plain, LosesAll,
                    "Invalid floating point operation"},
        FailureCase{"zero sum of values below zero", kFilled, 5, kFilled, -5, Plain, Plain,
                    "Floating point division by zero"},
        FailureCase{"zero sum after the opponents' division", kFilled, -300, kFilled, 200, TwoOpponents, Plain,
                    "Floating point division by zero"},
        // Beyond the duel page's range 1..4 the divisor can vanish; that
        // faults rather than running on with an infinity.
        FailureCase{"divisor of opponents too small to represent", kFilled, 199, kFilled, 199, NoOpponentsAtAll,
                    Plain, "Floating point division by zero"}));

}  // namespace
}  // namespace tolvaro
