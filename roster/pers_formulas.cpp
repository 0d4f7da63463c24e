#include "roster/pers_formulas.h"

#include <cmath>
#include <limits>

#include "roster/error.h"

namespace tolvaro {
namespace {

__extension__ using Int128 = __int128;

// Results outside the 32-bit range come only from hand-made files; they are
// stored as the nearest 32-bit value.
std::int32_t Saturate(Int128 value) {
  constexpr Int128 kMin = std::numeric_limits<std::int32_t>::min();
  constexpr Int128 kMax = std::numeric_limits<std::int32_t>::max();
  if (value < kMin) return std::numeric_limits<std::int32_t>::min();
  if (value > kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

// numerator / 3200 rounded to nearest, an exact half to the even neighbour.
std::int32_t DivideBy3200HalfEven(Int128 numerator) {
  constexpr Int128 kDivisor = 3200;
  Int128 quotient = numerator / kDivisor;  // truncates toward zero
  Int128 remainder = numerator % kDivisor;
  if (remainder < 0) {  // make the remainder 0..3199 with floor division
    remainder += kDivisor;
    quotient -= 1;
  }
  const Int128 twice = remainder * 2;
  if (twice > kDivisor || (twice == kDivisor && quotient % 2 != 0)) quotient += 1;
  return Saturate(quotient);
}

Int128 AttributeProduct(const PersStats& s) {
  return (Int128{4} + s.S) * (Int128{4} + s.L) * (Int128{50} + s.K);
}

double SkillPower(std::int32_t skill) {
  const double x = static_cast<double>(skill) - 100.0;
  if (x < 0) throw Error(kInvalidFloatOperation);
  if (x == 0) return 0.0;
  return std::exp(1.1 * std::log(x));
}

double SquareTerm(std::int32_t attribute) {
  const double d = static_cast<double>(attribute) - 1.0;
  return 100.0 * (d * d);
}

}  // namespace

double RoundHalfEven(double value) {
  // nearbyint honours the current rounding mode, which is to-nearest-even.
  return std::nearbyint(value);
}

std::int32_t CalcE(const PersStats& s) {
  return DivideBy3200HalfEven((Int128{s.R} + Int128{4} * s.M) * AttributeProduct(s));
}

std::int32_t CalcRE(const PersStats& s) {
  return DivideBy3200HalfEven(Int128{s.R} * AttributeProduct(s));
}

std::int32_t CalcC(const PersStats& s) {
  double sum = SquareTerm(s.S);
  sum += SquareTerm(s.L);
  sum += SquareTerm(s.K);
  sum += SkillPower(s.M);
  sum += 0.5 * SkillPower(s.R);
  sum += 0.5 * SkillPower(s.B);
  const double rounded = RoundHalfEven(sum);
  if (rounded <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (rounded >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(rounded);
}

}  // namespace tolvaro
