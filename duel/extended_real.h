#pragma once

#include <cstdint>

namespace tolvaro {

// A binary floating-point number with a 64-bit significand, rounded to
// nearest with ties to even after every operation: the arithmetic of the
// 80-bit extended format, in software, for platforms whose long double is
// narrower. The exponent is unbounded; results of +, * and / on operands
// taken from finite doubles lie far inside the extended format's range, so
// for them every result equals the extended format's bit for bit.
class ExtendedReal {
 public:
  ExtendedReal() = default;  // +0
  // Exact. REQUIRES: value is finite.
  explicit ExtendedReal(double value);
  // Rounded once to the nearest double, ties to even, the subnormal range
  // included; beyond the largest double it gives an infinity.
  explicit operator double() const;

  bool IsZero() const { return significand_ == 0; }
  bool IsNegative() const { return negative_; }
  // value = Significand() * 2^Exponent(); the significand's top bit is set
  // unless the value is zero.
  std::uint64_t Significand() const { return significand_; }
  std::int64_t Exponent() const { return exponent_; }

  friend ExtendedReal operator+(const ExtendedReal& x, const ExtendedReal& y);
  friend ExtendedReal operator*(const ExtendedReal& x, const ExtendedReal& y);
  // REQUIRES: y is not zero (callers raise their own division fault first).
  friend ExtendedReal operator/(const ExtendedReal& x, const ExtendedReal& y);

 private:
  ExtendedReal(bool negative, std::uint64_t significand, std::int64_t exponent)
      : negative_(negative), significand_(significand), exponent_(exponent) {}

  struct Wide;  // a 128-bit unsigned intermediate
  static ExtendedReal Round(bool negative, Wide value, bool sticky, std::int64_t exponent);

  bool negative_ = false;
  std::uint64_t significand_ = 0;
  std::int64_t exponent_ = 0;
};

inline bool IsZero(const ExtendedReal& value) { return value.IsZero(); }
inline bool IsZero(long double value) { return value == 0.0L; }

}  // namespace tolvaro
