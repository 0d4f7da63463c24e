#pragma once

#include <cstdint>

namespace tolvaro {

// The six values the derived ones depend on; a null field counts as 0.
struct PersStats {
  std::int32_t S = 0;  // strength
  std::int32_t L = 0;  // agility
  std::int32_t K = 0;  // beauty
  std::int32_t M = 0;  // fencing
  std::int32_t R = 0;  // hand-to-hand combat
  std::int32_t B = 0;  // running
};

// Combat efficiency: (R/4 + M)(1 + S/4)(1 + L/4)(1 + K/50), rounded on the
// exact value, an exact half to the even neighbour.
std::int32_t CalcE(const PersStats& stats);

// Hand-to-hand efficiency: (R/4)(1 + S/4)(1 + L/4)(1 + K/50), rounded as CalcE.
std::int32_t CalcRE(const PersStats& stats);

// Cost: 100(S-1)^2 + 100(L-1)^2 + 100(K-1)^2 + P(M-100) + P(R-100)/2 +
// P(B-100)/2 with P(x) = e^(1.1 ln x), summed in double and rounded half to
// even. Throws Error("Invalid floating point operation") for a skill below 100.
std::int32_t CalcC(const PersStats& stats);

// Nearest whole number, an exact half to the even neighbour.
double RoundHalfEven(double value);

}  // namespace tolvaro
