#include "duel/duel_random.h"

#include <cassert>

namespace tolvaro {

std::int32_t DuelRandom::Next(std::int32_t range) {
  assert(range > 0);
  // Unsigned arithmetic wraps modulo 2^32 by definition.
  seed_ = seed_ * 134775813u + 1u;
  const std::uint64_t product = static_cast<std::uint64_t>(seed_) * static_cast<std::uint32_t>(range);
  return static_cast<std::int32_t>(product >> 32);
}

}  // namespace tolvaro
