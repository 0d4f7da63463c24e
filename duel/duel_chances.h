#pragma once

#include <limits>
#include <type_traits>

#include "duel/extended_real.h"
#include "roster/error.h"

namespace tolvaro {

// Where the chances meet a threshold exactly (equal values give 50 and 50,
// one opponent against two gives 60 and 40), plain double evaluation misses
// by one unit in the last place, so the chances are worked out in the 80-bit
// extended format: long double where it is that format, a software
// emulation of it elsewhere. Never silently in double.
inline constexpr bool kLongDoubleIsExtended =
    std::numeric_limits<long double>::radix == 2 && std::numeric_limits<long double>::digits == 64 &&
    std::numeric_limits<long double>::max_exponent == 16384;

using ExtendedArithmetic = std::conditional_t<kLongDoubleIsExtended, long double, ExtendedReal>;

struct DuelChances {
  double Chance1 = 0.0;
  double Chance2 = 0.0;
};

// Chance1 = (100 * a) / (a + b), Chance2 = (100 * b) / (a + b): the product,
// the sum and the quotient each rounded in Real, then the quotient once to a
// double. Chance1 is worked out first, so its fault is the one raised:
// Error(kInvalidFloatOperation) for 0 / 0, Error(kFloatDivisionByZero) for a
// non-zero number divided by a zero sum.
// REQUIRES: a and b are finite.
template <typename Real>
DuelChances DuelChancesIn(double a, double b) {
  const Real sum = Real(a) + Real(b);
  const auto percent = [&sum](double part) {
    const Real scaled = Real(100.0) * Real(part);
    if (IsZero(sum)) throw Error(IsZero(scaled) ? kInvalidFloatOperation : kFloatDivisionByZero);
    return static_cast<double>(scaled / sum);
  };
  const double chance1 = percent(a);
  const double chance2 = percent(b);
  return {chance1, chance2};
}

inline DuelChances DuelChancesOf(double a, double b) { return DuelChancesIn<ExtendedArithmetic>(a, b); }

}  // namespace tolvaro
