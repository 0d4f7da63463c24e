#include "duel/extended_real.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "duel/duel_chances.h"

namespace tolvaro {
namespace {

// Known results that hold on every platform: exact operations and the
// rounding of ties at the 64th significant bit.
struct KnownCase {
  const char* what;
  ExtendedReal value;
  std::uint64_t significand;
  std::int64_t exponent;
};

ExtendedReal X(double value) { return ExtendedReal(value); }

void PrintTo(const KnownCase& c, std::ostream* out) { *out << c.what; }

class ExtendedRealKnownTest : public ::testing::TestWithParam<KnownCase> {};

TEST_P(ExtendedRealKnownTest, HasTheExactSignificand) {
  const KnownCase& c = GetParam();
  EXPECT_EQ(c.value.Significand(), c.significand) << c.what;
  EXPECT_EQ(c.value.Exponent(), c.exponent) << c.what;
}

constexpr std::uint64_t kOne = std::uint64_t{1} << 63;  // 1.0 is kOne * 2^-63

INSTANTIATE_TEST_SUITE_P(
    Rounding, ExtendedRealKnownTest,
    ::testing::Values(
        KnownCase{"1 exactly", X(1.0), kOne, -63},
        KnownCase{"tie at the 65th bit goes to even (down)", X(1.0) + X(0x1p-64), kOne, -63},
        KnownCase{"just above the tie rounds up", X(1.0) + X(0x1.8p-64), kOne + 1, -63},
        KnownCase{"tie from an odd last bit goes up", X(1.0) + X(0x1p-63) + X(0x1p-64), kOne + 2, -63},
        KnownCase{"far smaller addend only marks inexact", X(1.0) + X(0x1p-200), kOne, -63},
        KnownCase{"far smaller subtrahend rounds back up", X(1.0) + X(-0x1p-200), kOne, -63},
        KnownCase{"subtrahend of three quarters of a unit", X(1.0) + X(-0x1.8p-65), ~std::uint64_t{0}, -64},
        KnownCase{"carry out of the top bit", X(0x1.fffffffffffffp0) + X(0x1.fffffffffffffp0),
                  0xFFFFFFFFFFFFF800u, -62},
        KnownCase{"exact cancellation leaves the low bits", X(1.0 + 0x1p-52) + X(-1.0), kOne, -115},
        KnownCase{"one third", X(1.0) / X(3.0), 0xAAAAAAAAAAAAAAABu, -65},
        KnownCase{"two thirds", X(2.0) / X(3.0), 0xAAAAAAAAAAAAAAABu, -64},
        KnownCase{"100 x 0.1", X(100.0) * X(0.1), 0xA000000000000280u, -60},
        // 2^129 - (2^64 + 2): the smaller operand loses a bit on alignment,
        // and the difference lies just below a tie.
        KnownCase{"difference just below a tie", X(0x1p129) + X(-2.0) * (X(0x1p63) + X(1.0)), ~std::uint64_t{0}, 65}));

TEST(ExtendedRealZero, KeepsTheSignsOfIeeeArithmetic) {
  EXPECT_TRUE((X(0.0) + X(-0.0)).IsZero());
  EXPECT_FALSE((X(0.0) + X(-0.0)).IsNegative());
  EXPECT_TRUE((X(-0.0) + X(-0.0)).IsNegative());
  EXPECT_FALSE((X(3.0) + X(-3.0)).IsNegative());
  EXPECT_TRUE((X(-0.0) * X(5.0)).IsNegative());
  EXPECT_TRUE((X(-0.0) / X(5.0)).IsNegative());
  EXPECT_TRUE(std::signbit(static_cast<double>(X(-0.0))));
}

// ---- against the hardware extended format --------------------------------

long double Native(const ExtendedReal& value) {
  const long double magnitude =
      std::ldexp(static_cast<long double>(value.Significand()), static_cast<int>(value.Exponent()));
  return value.IsNegative() ? -magnitude : magnitude;
}

bool SameBits(double x, double y) { return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y); }

std::string Describe(double a, double b) {
  char text[96];
  std::snprintf(text, sizeof text, "a = %a, b = %a", a, b);
  return text;
}

// Every operation on the pair, in software and on the hardware, compared
// exactly: the sign of zero included.
void ExpectSameAsHardware(double a, double b) {
  const ExtendedReal xa(a);
  const ExtendedReal xb(b);
  const long double la = a;
  const long double lb = b;
  const auto expectSame = [&](const char* op, const ExtendedReal& soft, long double hard) {
    const long double got = Native(soft);
    EXPECT_TRUE(got == hard && std::signbit(got) == std::signbit(hard))
        << op << " with " << Describe(a, b) << ": software " << static_cast<double>(got) << ", hardware "
        << static_cast<double>(hard);
    EXPECT_TRUE(SameBits(static_cast<double>(soft), static_cast<double>(hard)))
        << op << " rounded to double with " << Describe(a, b);
  };
  expectSame("a + b", xa + xb, la + lb);
  expectSame("a - b", xa + ExtendedReal(-b), la - lb);
  expectSame("a * b", xa * xb, la * lb);
  expectSame("100 * a", ExtendedReal(100.0) * xa, 100.0L * la);
  if (b != 0) expectSame("a / b", xa / xb, la / lb);
  if (a + b != 0) expectSame("100 * a / (a + b)", (ExtendedReal(100.0) * xa) / (xa + xb), (100.0L * la) / (la + lb));
}

class ExtendedRealHardwareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!kLongDoubleIsExtended) GTEST_SKIP() << "long double is not the 80-bit extended format here";
  }

  // Finite doubles of every magnitude and sign, subnormals included.
  double AnyFinite() {
    for (;;) {
      const double value = std::bit_cast<double>(engine_());
      if (std::isfinite(value)) return value;
    }
  }

  std::mt19937_64 engine_{20240611};
};

TEST_F(ExtendedRealHardwareTest, EdgeValues) {
  const double edges[] = {0.0,
                          -0.0,
                          1.0,
                          -1.0,
                          100.0,
                          1.5,
                          3.0,
                          0.1,
                          std::numeric_limits<double>::denorm_min(),
                          -std::numeric_limits<double>::denorm_min(),
                          std::numeric_limits<double>::min(),
                          std::numeric_limits<double>::min() - std::numeric_limits<double>::denorm_min(),
                          std::numeric_limits<double>::max(),
                          -std::numeric_limits<double>::max(),
                          std::numeric_limits<double>::epsilon(),
                          0x1p63,
                          0x1p64,
                          0x1.fffffffffffffp63,
                          0x1.fffffffffffffp0,
                          1.0 + 0x1p-52,
                          0x1p-1022 * 1.5,
                          0x1p1023,
                          199.0,
                          199.0 / 1.5,
                          199.0 / 2.25,
                          199.0 / 3.375};
  for (const double a : edges) {
    for (const double b : edges) {
      ExpectSameAsHardware(a, b);
      ExpectSameAsHardware(a, -b);
    }
  }
}

TEST_F(ExtendedRealHardwareTest, RandomDoublesOfEveryMagnitude) {
  for (int i = 0; i < 200000; ++i) ExpectSameAsHardware(AnyFinite(), AnyFinite());
}

TEST_F(ExtendedRealHardwareTest, SumsAtEveryExponentGap) {
  // Operands a few bits to far beyond 64 bits apart, so that the sums round
  // at every position, ties and near-total cancellation included.
  std::uniform_int_distribution<std::uint64_t> mantissa(std::uint64_t{1} << 52, (std::uint64_t{1} << 53) - 1);
  std::uniform_int_distribution<int> smallBits(0, 3);
  for (int gap = -140; gap <= 140; ++gap) {
    for (int i = 0; i < 400; ++i) {
      // Mantissas with only their few top bits set make ties likely.
      std::uint64_t m1 = mantissa(engine_);
      std::uint64_t m2 = mantissa(engine_);
      if (smallBits(engine_) == 0) m2 = (std::uint64_t{1} << 52) | (m2 & 0xF);
      if (smallBits(engine_) == 0) m1 = (std::uint64_t{1} << 52) | (std::uint64_t{1} << (m1 & 31));
      const double a = std::ldexp(static_cast<double>(m1), 0);
      const double b = std::ldexp(static_cast<double>(m2), -gap);
      ExpectSameAsHardware(a, b);
      ExpectSameAsHardware(a, -b);
    }
  }
}

TEST_F(ExtendedRealHardwareTest, ResultsAtTheEdgesOfTheDoubleRange) {
  // Products and quotients near 2^target: into the subnormal range, below
  // half the smallest subnormal, and beyond the largest double.
  std::uniform_real_distribution<double> unit(1.0, 2.0);
  std::uniform_int_distribution<int> spread(-20, 20);
  const auto atTarget = [&](int target) {
    for (int i = 0; i < 50; ++i) {
      const int split = target / 2 + spread(engine_);
      const double a = std::ldexp(unit(engine_), split);
      ExpectSameAsHardware(a, std::ldexp(unit(engine_), target - split));  // a * b near 2^target
      ExpectSameAsHardware(a, std::ldexp(unit(engine_), split - target));  // a / b near 2^target
    }
  };
  for (int target = -1140; target <= -1000; ++target) atTarget(target);
  for (int target = 1000; target <= 1030; ++target) atTarget(target);
}

TEST_F(ExtendedRealHardwareTest, ProductsOfSparseSignificands) {
  // Few set bits make products that end exactly on a tie, or just beside it.
  std::uniform_int_distribution<int> bit(0, 51);
  const auto sparse = [&]() {
    std::uint64_t mantissa = std::uint64_t{1} << 52;
    for (int i = 0; i < 3; ++i) mantissa |= std::uint64_t{1} << bit(engine_);
    return std::ldexp(static_cast<double>(mantissa), -52);
  };
  for (int i = 0; i < 100000; ++i) ExpectSameAsHardware(sparse(), sparse());
}

TEST_F(ExtendedRealHardwareTest, SumsOfRoundedProducts) {
  // Products carry all 64 significand bits, so their sums lose bits on
  // alignment in ways that sums of doubles never do.
  std::uniform_int_distribution<std::uint64_t> mantissa(std::uint64_t{1} << 52, (std::uint64_t{1} << 53) - 1);
  const auto unit = [&]() { return std::ldexp(static_cast<double>(mantissa(engine_)), -52); };
  for (int gap = -140; gap <= 140; ++gap) {
    for (int i = 0; i < 200; ++i) {
      const double a = unit();
      const double b = unit();
      const double c = std::ldexp(unit(), -gap);
      const double d = unit();
      const ExtendedReal p = ExtendedReal(a) * ExtendedReal(b);
      const ExtendedReal q = ExtendedReal(c) * ExtendedReal(d);
      const long double lp = static_cast<long double>(a) * b;
      const long double lq = static_cast<long double>(c) * d;
      const ExtendedReal sum = p + q;
      const ExtendedReal difference = p + ExtendedReal(-c) * ExtendedReal(d);
      ASSERT_EQ(Native(sum), lp + lq) << Describe(a, b) << ", " << Describe(c, d);
      ASSERT_EQ(Native(difference), lp - lq) << Describe(a, b) << ", " << Describe(c, d);
      ASSERT_EQ(Native(p / q), lp / lq) << Describe(a, b) << ", " << Describe(c, d);
    }
  }
}

TEST_F(ExtendedRealHardwareTest, ChancesOfDuelValues) {
  // Values as the bonus and opponent steps produce them.
  std::uniform_int_distribution<int> value(-20000, 20000);
  std::uniform_int_distribution<int> bonus(-100, 100);
  std::uniform_int_distribution<int> amount(1, 4);
  const auto effective = [&]() {
    const double withBonus = (value(engine_) * static_cast<double>(100 + bonus(engine_))) / 100.0;
    return withBonus / std::pow(1.5, amount(engine_) - 1);
  };
  const auto expectSame = [](double a, double b) {
    const DuelChances soft = DuelChancesIn<ExtendedReal>(a, b);
    const DuelChances hard = DuelChancesIn<long double>(a, b);
    ASSERT_TRUE(SameBits(soft.Chance1, hard.Chance1) && SameBits(soft.Chance2, hard.Chance2)) << Describe(a, b);
  };
  for (int i = 0; i < 200000; ++i) {
    const double a = effective();
    const double b = effective();
    if (a + b != 0) expectSame(a, b);
  }
  // Equal values against one and two opponents, where the thresholds lie.
  for (int x = 1; x <= 20000; ++x) {
    expectSame(x, x);
    expectSame(x / 1.5, x / 1.5);
    expectSame(x, x / 1.5);
    expectSame(x, x * 150.0 / 100.0);
  }
}

}  // namespace
}  // namespace tolvaro
