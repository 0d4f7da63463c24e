#include "duel/extended_real.h"

#include <bit>
#include <cassert>
#include <cmath>
#include <limits>

namespace tolvaro {

// 128 bits as two halves; the value is hi * 2^64 + lo.
struct ExtendedReal::Wide {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
};

namespace {

constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;

// Full 64 x 64 -> 128-bit product from 32-bit halves, so that no compiler
// extension is needed.
void MultiplyWide(std::uint64_t x, std::uint64_t y, std::uint64_t& hi, std::uint64_t& lo) {
  const std::uint64_t x0 = x & 0xFFFFFFFFu;
  const std::uint64_t x1 = x >> 32;
  const std::uint64_t y0 = y & 0xFFFFFFFFu;
  const std::uint64_t y1 = y >> 32;
  const std::uint64_t p00 = x0 * y0;
  const std::uint64_t p01 = x0 * y1;
  const std::uint64_t p10 = x1 * y0;
  const std::uint64_t p11 = x1 * y1;
  const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  lo = (middle << 32) | (p00 & 0xFFFFFFFFu);
  hi = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
}

}  // namespace

ExtendedReal::ExtendedReal(double value) {
  assert(std::isfinite(value));
  const auto bits = std::bit_cast<std::uint64_t>(value);
  negative_ = (bits >> 63) != 0;
  const auto biased = static_cast<std::int64_t>((bits >> 52) & 0x7FF);
  std::uint64_t significand = bits & ((std::uint64_t{1} << 52) - 1);
  std::int64_t exponent = -1074;
  if (biased != 0) {
    significand |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  if (significand == 0) return;  // a zero keeps its sign
  const int shift = std::countl_zero(significand);
  significand_ = significand << shift;
  exponent_ = exponent - shift;
}

ExtendedReal::operator double() const {
  const double sign = negative_ ? -1.0 : 1.0;
  if (significand_ == 0) return sign * 0.0;
  const std::int64_t leading = exponent_ + 63;  // exponent of the top bit
  if (leading > 1023) return sign * std::numeric_limits<double>::infinity();
  // Significant bits a double keeps at this magnitude: 53, fewer below the
  // normal range.
  const std::int64_t kept = leading >= -1022 ? 53 : leading + 1075;
  if (kept < 0) return sign * 0.0;  // below half the smallest subnormal
  const int dropped = static_cast<int>(64 - kept);  // 11..64
  std::uint64_t mantissa = dropped == 64 ? 0 : significand_ >> dropped;
  const bool guard = ((significand_ >> (dropped - 1)) & 1) != 0;
  const bool rest = (significand_ & ((std::uint64_t{1} << (dropped - 1)) - 1)) != 0;
  if (guard && (rest || (mantissa & 1) != 0)) ++mantissa;
  // mantissa <= 2^53 and the value now lies on the double grid, so the
  // scaling is exact (or overflows to an infinity at the very top).
  return sign * std::ldexp(static_cast<double>(mantissa), static_cast<int>(exponent_ + dropped));
}

// value * 2^exponent, plus a fraction below value's last bit when sticky;
// value's top bit must be set unless it is zero and not sticky.
ExtendedReal ExtendedReal::Round(bool negative, Wide value, bool sticky, std::int64_t exponent) {
  std::uint64_t significand = value.hi;
  std::int64_t resultExponent = exponent + 64;
  const bool guard = (value.lo & kTopBit) != 0;
  const bool rest = (value.lo & ~kTopBit) != 0 || sticky;
  if (guard && (rest || (significand & 1) != 0)) {
    ++significand;
    if (significand == 0) {  // carried out of the top bit
      significand = kTopBit;
      ++resultExponent;
    }
  }
  return ExtendedReal(negative, significand, resultExponent);
}

ExtendedReal operator+(const ExtendedReal& x, const ExtendedReal& y) {
  if (x.IsZero() && y.IsZero()) return ExtendedReal(x.negative_ && y.negative_, 0, 0);
  if (x.IsZero()) return y;
  if (y.IsZero()) return x;

  // Normalised significands: the larger exponent, then the larger
  // significand, is the larger magnitude.
  const bool xLarger = x.exponent_ != y.exponent_ ? x.exponent_ > y.exponent_ : x.significand_ >= y.significand_;
  const ExtendedReal& big = xLarger ? x : y;
  const ExtendedReal& small = xLarger ? y : x;
  const std::int64_t gap = big.exponent_ - small.exponent_;

  // Both significands sit in the top half of 128 bits; the smaller one is
  // shifted down, and whatever falls off the bottom only marks the result as
  // inexact (sticky).
  ExtendedReal::Wide large{big.significand_, 0};
  ExtendedReal::Wide part{small.significand_, 0};
  bool sticky = false;
  if (gap >= 128) {
    part = {0, 0};
    sticky = true;
  } else if (gap >= 64) {
    const int shift = static_cast<int>(gap - 64);
    part.lo = shift == 0 ? small.significand_ : small.significand_ >> shift;
    part.hi = 0;
    sticky = shift != 0 && (small.significand_ & ((std::uint64_t{1} << shift) - 1)) != 0;
  } else if (gap > 0) {
    const int shift = static_cast<int>(gap);
    part.lo = small.significand_ << (64 - shift);
    part.hi = small.significand_ >> shift;
  }
  std::int64_t exponent = big.exponent_ - 64;  // exponent of bit 0

  ExtendedReal::Wide result;
  if (x.negative_ == y.negative_) {
    result.lo = large.lo + part.lo;
    const std::uint64_t carry = result.lo < large.lo ? 1 : 0;
    result.hi = large.hi + part.hi + carry;
    const bool overflow = result.hi < large.hi || (carry != 0 && result.hi == large.hi);
    if (overflow) {
      sticky = sticky || (result.lo & 1) != 0;
      result.lo = (result.lo >> 1) | (result.hi << 63);
      result.hi = (result.hi >> 1) | kTopBit;
      ++exponent;
    }
    return ExtendedReal::Round(big.negative_, result, sticky, exponent);
  }

  // Subtraction. With sticky set, the true smaller operand exceeds `part`
  // by less than one unit of bit 0, so the true difference lies strictly
  // between `large - part - 1` and `large - part`.
  const std::uint64_t borrowIn = sticky ? 1 : 0;
  result.lo = large.lo - part.lo - borrowIn;
  const std::uint64_t borrow = (large.lo < part.lo || (large.lo - part.lo) < borrowIn) ? 1 : 0;
  result.hi = large.hi - part.hi - borrow;
  if (result.hi == 0 && result.lo == 0 && !sticky) return ExtendedReal();  // exact cancellation: +0
  // Cancellation of more than one bit only happens for gaps of 0 or 1,
  // where nothing was sticky, so the shift never moves unknown bits up to
  // the guard position.
  const int shift = result.hi != 0 ? std::countl_zero(result.hi) : 64 + std::countl_zero(result.lo);
  if (shift >= 64) {
    result.hi = result.lo << (shift - 64);
    result.lo = 0;
  } else if (shift > 0) {
    result.hi = (result.hi << shift) | (result.lo >> (64 - shift));
    result.lo <<= shift;
  }
  exponent -= shift;
  return ExtendedReal::Round(big.negative_, result, sticky, exponent);
}

ExtendedReal operator*(const ExtendedReal& x, const ExtendedReal& y) {
  const bool negative = x.negative_ != y.negative_;
  if (x.IsZero() || y.IsZero()) return ExtendedReal(negative, 0, 0);
  ExtendedReal::Wide product;
  MultiplyWide(x.significand_, y.significand_, product.hi, product.lo);
  std::int64_t exponent = x.exponent_ + y.exponent_;
  if ((product.hi & kTopBit) == 0) {  // the product of two normalised significands has 127 or 128 bits
    product.hi = (product.hi << 1) | (product.lo >> 63);
    product.lo <<= 1;
    --exponent;
  }
  return ExtendedReal::Round(negative, product, false, exponent);
}

ExtendedReal operator/(const ExtendedReal& x, const ExtendedReal& y) {
  assert(!y.IsZero());
  const bool negative = x.negative_ != y.negative_;
  if (x.IsZero()) return ExtendedReal(negative, 0, 0);

  // Long division of the significands, one quotient bit at a time. The
  // running remainder is `carry * 2^64 + remainder` and stays below twice
  // the divisor; the numerator is doubled first when needed so that the
  // first quotient bit is 1.
  const std::uint64_t divisor = y.significand_;
  std::uint64_t remainder = x.significand_;
  bool carry = false;
  std::int64_t exponent = x.exponent_ - y.exponent_ - 63;
  if (remainder < divisor) {
    carry = (remainder & kTopBit) != 0;
    remainder <<= 1;
    --exponent;
  }
  const auto step = [&]() {
    const bool bit = carry || remainder >= divisor;
    if (bit) remainder -= divisor;  // wraps to the right value when carry is set
    return bit;
  };
  std::uint64_t quotient = 0;
  for (int i = 0; i < 64; ++i) {
    quotient = (quotient << 1) | (step() ? 1 : 0);
    carry = (remainder & kTopBit) != 0;
    remainder <<= 1;
  }
  const bool guard = step();
  const bool sticky = remainder != 0;
  ExtendedReal::Wide value{quotient, guard ? kTopBit : 0};
  return ExtendedReal::Round(negative, value, sticky, exponent - 64);
}

}  // namespace tolvaro
