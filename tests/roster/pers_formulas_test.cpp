#include "roster/pers_formulas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

#include "roster/error.h"

namespace tolvaro {
namespace {

PersStats Stats(std::int32_t s, std::int32_t l, std::int32_t k, std::int32_t m, std::int32_t r, std::int32_t b) {
  PersStats stats;
  stats.S = s;
  stats.L = l;
  stats.K = k;
  stats.M = m;
  stats.R = r;
  stats.B = b;
  return stats;
}

struct FormulaCase {
  const char* label;
  PersStats stats;
  std::optional<std::int32_t> e;
  std::optional<std::int32_t> re;
  std::optional<std::int32_t> c;
};

void PrintTo(const FormulaCase& c, std::ostream* os) { *os << c.label; }

class FormulaExampleTest : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(FormulaExampleTest, GivesTheStoredValues) {
  const FormulaCase& c = GetParam();
  if (c.e) {
    EXPECT_EQ(CalcE(c.stats), *c.e);
  }
  if (c.re) {
    EXPECT_EQ(CalcRE(c.stats), *c.re);
  }
  if (c.c) {
    EXPECT_EQ(CalcC(c.stats), *c.c);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormulaExampleTest,
    ::testing::Values(
        FormulaCase{"defaults", Stats(1, 1, 1, 100, 100, 100), 199, 40, 0},
        FormulaCase{"maxima", Stats(5, 5, 5, 1000, 1000, 1000), 6961, 1392, 8354},
        FormulaCase{"defaults but S 2", Stats(2, 1, 1, 100, 100, 100), 239, 48, 100},
        FormulaCase{"defaults but M 110", Stats(1, 1, 1, 110, 100, 100), 215, 40, 13},
        FormulaCase{"mixed, E exact", Stats(2, 3, 4, 350, 200, 150), 1134, 142, 1950},
        FormulaCase{"E 229.5", Stats(1, 1, 1, 100, 176, 100), 230, 70, std::nullopt},
        FormulaCase{"E 472.5", Stats(1, 1, 4, 255, 100, 100), 472, std::nullopt, std::nullopt},
        FormulaCase{"RE 192.5", Stats(1, 1, 5, 100, 448, 100), std::nullopt, 192, std::nullopt},
        FormulaCase{"C 0.5", Stats(1, 1, 1, 100, 101, 100), std::nullopt, std::nullopt, 0},
        FormulaCase{"C 1.5", Stats(1, 1, 1, 101, 101, 100), std::nullopt, std::nullopt, 2},
        FormulaCase{"C 100.5", Stats(2, 1, 1, 100, 100, 101), std::nullopt, std::nullopt, 100},
        FormulaCase{"C just below 640.5", Stats(1, 1, 1, 215, 232, 484), std::nullopt, std::nullopt, 640},
        FormulaCase{"C just below 640.5, R and B swapped", Stats(1, 1, 1, 215, 484, 232), std::nullopt,
                    std::nullopt, 640},
        FormulaCase{"null S", Stats(0, 1, 1, 100, 100, 100), 159, 32, 100},
        FormulaCase{"null attributes", Stats(0, 0, 0, 100, 100, 100), std::nullopt, std::nullopt, 300},
        FormulaCase{"negative halves -25.5", Stats(1, 1, 1, 0, -64, 100), -26, -26, std::nullopt},
        FormulaCase{"negative halves -76.5", Stats(1, 1, 1, 0, -192, 100), -76, -76, std::nullopt},
        FormulaCase{"negative M, E -76.5", Stats(1, 1, 1, -48, 0, 100), -76, 0, std::nullopt}));

class FailingCostTest : public ::testing::TestWithParam<PersStats> {};

TEST_P(FailingCostTest, SkillBelow100IsAnInvalidOperation) {
  try {
    CalcC(GetParam());
    ADD_FAILURE() << "no failure";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
  // The efficiencies have no such limit.
  EXPECT_NO_THROW(CalcE(GetParam()));
  EXPECT_NO_THROW(CalcRE(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Skills, FailingCostTest,
                         ::testing::Values(Stats(1, 1, 1, 0, 100, 100), Stats(1, 1, 1, 99, 100, 100),
                                           Stats(1, 1, 1, 100, 0, 100), Stats(1, 1, 1, 100, 100, 99),
                                           Stats(1, 1, 1, 100, 100, std::numeric_limits<std::int32_t>::min()),
                                           Stats(0, 0, 0, 0, 0, 0)));

// Values far outside the editors' ranges come only from hand-made files;
// they must give some 32-bit result without undefined arithmetic.
TEST(FormulaExtremes, StayWithinThe32BitRange) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(CalcE(Stats(kMax, kMax, kMax, kMax, kMax, kMax)), kMax);
  EXPECT_EQ(CalcRE(Stats(kMax, kMax, kMax, kMax, kMax, kMax)), kMax);
  EXPECT_EQ(CalcE(Stats(kMax, kMax, kMax, kMin, kMin, 100)), kMin);
  EXPECT_EQ(CalcE(Stats(kMin, kMin, kMin, kMin, kMin, 100)), kMax);
  EXPECT_EQ(CalcC(Stats(kMax, kMax, kMax, kMax, kMax, kMax)), kMax);
  EXPECT_EQ(CalcE(Stats(-4, 1, 1, 1000, 1000, 100)), 0);
}

// A fraction kept in lowest terms, enough for the formulas' exact values.
struct Fraction {
  std::int64_t num;
  std::int64_t den;  // > 0
};

Fraction Reduced(std::int64_t num, std::int64_t den) {
  const std::int64_t g = std::gcd(num, den);
  return {num / g, den / g};
}

Fraction operator*(Fraction a, Fraction b) { return Reduced(a.num * b.num, a.den * b.den); }
Fraction operator+(Fraction a, Fraction b) { return Reduced(a.num * b.den + b.num * a.den, a.den * b.den); }

// Nearest whole number of a fraction, an exact half to the even neighbour.
std::int64_t RoundHalfEvenExact(Fraction f) {
  std::int64_t floor = f.num / f.den;
  if (f.num % f.den != 0 && f.num < 0) --floor;
  const std::int64_t twiceRest = 2 * (f.num - floor * f.den);
  if (twiceRest > f.den || (twiceRest == f.den && floor % 2 != 0)) ++floor;
  return floor;
}

// (1 + 0.25 S)(1 + 0.25 L)(1 + 0.02 K), exactly.
Fraction AttributeFactor(int s, int l, int k) {
  const Fraction one{1, 1};
  return (one + Fraction{s, 4}) * (one + Fraction{l, 4}) * (one + Fraction{2 * k, 100});
}

constexpr int kSkillMin = 100;
constexpr int kSkillMax = 1000;

// The exact halves in the editors' ranges, counted over every whole skill
// value from 100 to 1000: as many as the formulas' own analysis says.
TEST(EfficiencyRounding, ExactHalvesAreAsFrequentAsExpected) {
  int halvesOfE = 0;   // distinct S, L, K and R + 4M
  int halvesOfRE = 0;  // distinct S, L, K and R
  for (int s = 1; s <= 5; ++s) {
    for (int l = 1; l <= 5; ++l) {
      for (int k = 1; k <= 5; ++k) {
        const Fraction factor = AttributeFactor(s, l, k);
        for (int sum = kSkillMin + 4 * kSkillMin; sum <= kSkillMax + 4 * kSkillMax; ++sum) {
          if ((Fraction{sum, 4} * factor).den == 2) ++halvesOfE;
        }
        for (int r = kSkillMin; r <= kSkillMax; ++r) {
          if ((Fraction{r, 4} * factor).den == 2) ++halvesOfRE;
        }
      }
    }
  }
  EXPECT_EQ(halvesOfE, 4624);
  EXPECT_EQ(halvesOfRE, 952);
}

// Compares the efficiencies with the exact value of their formulas for every
// whole skill value from 100 to 1000 (the editors' steps of 10 among them)
// and the editors' attribute range; one strength per case.
class ExhaustiveEfficiencyTest : public ::testing::TestWithParam<int> {};

TEST_P(ExhaustiveEfficiencyTest, MatchesExactArithmetic) {
  const int s = GetParam();
  int mismatches = 0;
  for (int l = 1; l <= 5; ++l) {
    for (int k = 1; k <= 5; ++k) {
      const Fraction factor = AttributeFactor(s, l, k);
      // E depends on M and R only through R/4 + M = (R + 4M)/4.
      std::vector<std::int64_t> exactE(kSkillMax + 4 * kSkillMax + 1);
      for (int sum = kSkillMin + 4 * kSkillMin; sum <= kSkillMax + 4 * kSkillMax; ++sum) {
        exactE[static_cast<std::size_t>(sum)] = RoundHalfEvenExact(Fraction{sum, 4} * factor);
      }
      for (int r = kSkillMin; r <= kSkillMax; ++r) {
        if (CalcRE(Stats(s, l, k, 100, r, 100)) != RoundHalfEvenExact(Fraction{r, 4} * factor)) {
          ADD_FAILURE() << "RE for S=" << s << " L=" << l << " K=" << k << " R=" << r;
          if (++mismatches > 20) return;
        }
        for (int m = kSkillMin; m <= kSkillMax; ++m) {
          if (CalcE(Stats(s, l, k, m, r, 100)) != exactE[static_cast<std::size_t>(r + 4 * m)]) {
            ADD_FAILURE() << "E for S=" << s << " L=" << l << " K=" << k << " M=" << m << " R=" << r;
            if (++mismatches > 20) return;
          }
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Strengths, ExhaustiveEfficiencyTest, ::testing::Range(1, 6));

// The cost summed in double must round as the sum in wider precision does
// for every skill combination the editors allow, the near-halves included.
TEST(CostRounding, DoubleAgreesWithLongDoubleOverTheSkillGrid) {
  for (int m = 100; m <= 1000; m += 10) {
    for (int r = 100; r <= 1000; r += 10) {
      for (int b = 100; b <= 1000; b += 10) {
        auto power = [](int skill) -> long double {
          const long double x = skill - 100;
          return x == 0 ? 0.0L : std::exp(1.1L * std::log(x));
        };
        const long double sum = power(m) + 0.5L * power(r) + 0.5L * power(b);
        const auto expected = static_cast<std::int32_t>(std::nearbyint(sum));
        if (CalcC(Stats(1, 1, 1, m, r, b)) != expected) {
          FAIL() << "C for M=" << m << " R=" << r << " B=" << b;
        }
      }
    }
  }
}

TEST(CostRounding, AttributeSquaresAreExact) {
  for (int s = 0; s <= 5; ++s) {
    for (int l = 0; l <= 5; ++l) {
      for (int k = 0; k <= 5; ++k) {
        EXPECT_EQ(CalcC(Stats(s, l, k, 100, 100, 100)), 100 * ((s - 1) * (s - 1) + (l - 1) * (l - 1) + (k - 1) * (k - 1)));
      }
    }
  }
}

struct RoundCase {
  double value;
  double rounded;
};

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, GoesToTheEvenNeighbourOnHalves) {
  EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEvenTest,
                         ::testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{-2.5, -2}, RoundCase{0.5, 0},
                                           RoundCase{1.5, 2}, RoundCase{-1.5, -2}, RoundCase{640.4999999993, 640},
                                           RoundCase{100.5, 100}, RoundCase{2.51, 3}, RoundCase{-0.4, 0}));

}  // namespace
}  // namespace tolvaro
