#include "duel/duel_resolution.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "duel/duel_chances.h"

namespace tolvaro {

#ifdef __FAST_MATH__
#error "The duel's thresholds need strict IEEE arithmetic; build without -ffast-math."
#endif
static_assert(std::numeric_limits<double>::is_iec559, "the duel needs IEEE doubles");
static_assert(FLT_EVAL_METHOD == 0, "the bonus and opponent steps must round every operation to double");

namespace {

constexpr std::int32_t kDrawRange = 100;

double SideValue(const DuelSide& side) {
  return side.List.FieldByName(side.NoWeapon ? "RE" : "E").AsFloat();
}

// The value with its total bonus applied, then divided among its opponents:
// ordinary double operations, the product before the division.
double EffectiveValue(double value, const DuelSide& side) {
  const double withBonus = (value * static_cast<double>(std::int64_t{100} + side.Bonus)) / 100.0;
  // 1, 1.5, 2.25 and 3.375 for one to four opponents, all exact. Numbers
  // far beyond what the duel page allows can make the power vanish; that
  // division faults like any other instead of yielding an infinity.
  const double divisor = std::pow(1.5, static_cast<double>(std::int64_t{side.Amount} - 1));
  if (divisor == 0.0) throw Error(withBonus == 0.0 ? kInvalidFloatOperation : kFloatDivisionByZero);
  return withBonus / divisor;
}

WoundGrade GradeOfDifference(double difference) {
  WoundGrade grade = WoundGrade::Light;
  if (difference > 40) grade = WoundGrade::Heavy;
  if (difference > 50) grade = WoundGrade::Fatal;
  return grade;
}

// A limb hit is always Heavy before the options: never Light, never Fatal.
void ApplyLimbRule(Wound& wound) {
  if (IsLimb(wound.Location)) wound.Grade = WoundGrade::Heavy;
}

// The attacker's attempts not to kill and not to cripple, which an attack
// draw of 0..5 and 0..10 respectively defeats.
void SoftenByAttacker(const DuelSide& attacker, std::int32_t attackDraw, Wound& inflicted) {
  if ((attacker.NoKill || attacker.Disarm) && inflicted.Grade == WoundGrade::Fatal && attackDraw > 5) {
    inflicted.Grade = WoundGrade::Heavy;
  }
  if ((attacker.NoCripple || attacker.Disarm) && inflicted.Grade > WoundGrade::Light && attackDraw > 10) {
    inflicted.Grade = WoundGrade::Light;
  }
}

}  // namespace

HitLocation LocationOfDraw(std::int32_t draw) {
  HitLocation location = HitLocation::Body;
  if (draw < 40) location = HitLocation::RightArm;
  if (draw < 20) location = HitLocation::LeftArm;
  if (draw < 15) location = HitLocation::RightLeg;
  if (draw < 10) location = HitLocation::LeftLeg;
  if (draw < 5) location = HitLocation::Head;
  return location;
}

DuelOutcome ResolveWithDraws(const DuelDraws& draws, const DuelSide& first, double x1, const DuelSide& second,
                             double x2) {
  DuelOutcome outcome;
  outcome.Draws = draws;
  const double r3 = draws[2];
  const double r4 = draws[3];
  outcome.Wound2.Location = LocationOfDraw(draws[0]);
  outcome.Wound1.Location = LocationOfDraw(draws[1]);

  const DuelChances chances = DuelChancesOf(EffectiveValue(x1, first), EffectiveValue(x2, second));
  outcome.Chance1 = chances.Chance1;
  outcome.Chance2 = chances.Chance2;

  const double d1 = outcome.Chance1 - r3;
  const double d2 = outcome.Chance2 - r4;
  outcome.Wound2.Grade = GradeOfDifference(d1);
  outcome.Wound1.Grade = GradeOfDifference(d2);
  ApplyLimbRule(outcome.Wound2);
  ApplyLimbRule(outcome.Wound1);

  SoftenByAttacker(first, draws[2], outcome.Wound2);
  SoftenByAttacker(second, draws[3], outcome.Wound1);
  // A disarming replaces whatever grade the blow had, also one that the
  // attack draw kept from being softened.
  if (first.Disarm && d1 > 60) outcome.Wound2.Grade = WoundGrade::Disarmed;
  if (second.Disarm && d2 > 60) outcome.Wound1.Grade = WoundGrade::Disarmed;

  outcome.Wound2.Landed = outcome.Chance1 > r3;
  outcome.Wound1.Landed = outcome.Chance2 > r4;
  return outcome;
}

DuelOutcome ResolveDuel(const DuelSide& first, const DuelSide& second, DuelRandom& random) {
  DuelDraws draws{};
  for (std::int32_t& draw : draws) draw = random.Next(kDrawRange);
  const double x1 = SideValue(first);
  const double x2 = SideValue(second);
  return ResolveWithDraws(draws, first, x1, second, x2);
}

}  // namespace tolvaro
