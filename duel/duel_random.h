#pragma once

#include <cstdint>

namespace tolvaro {

// The duel's one random source: a 32-bit linear congruential generator whose
// state starts at 0 and is never seeded again, so the n-th duel after start
// always sees the same draws. Its owner passes it to every duel; nothing else
// may draw from it, or the fixed sequence is lost.
class DuelRandom {
 public:
  DuelRandom() = default;
  DuelRandom(const DuelRandom&) = delete;
  DuelRandom& operator=(const DuelRandom&) = delete;

  std::uint32_t Seed() const { return seed_; }

  // Advances the state and returns a number in 0..range-1: the high 32 bits
  // of the 64-bit product of the new state and range.
  // REQUIRES: range > 0.
  std::int32_t Next(std::int32_t range);

 private:
  std::uint32_t seed_ = 0;
};

}  // namespace tolvaro
