#include "duel/duel_random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tolvaro {
namespace {

TEST(DuelRandom, StartsAtZeroAndAdvancesByTheFixedRecurrence) {
  DuelRandom random;
  EXPECT_EQ(random.Seed(), 0u);
  const std::vector<std::uint32_t> seeds = {1u, 134775814u, 3698175007u, 870078620u};
  for (const std::uint32_t expected : seeds) {
    random.Next(100);
    EXPECT_EQ(random.Seed(), expected);
  }
}

TEST(DuelRandom, FirstFiveDuelsDrawTheFixedSequence) {
  const std::vector<std::int32_t> expected = {0,  3,  86, 20,   // duel 1
                                              27, 67, 31, 16,   // duel 2
                                              37, 42, 8,  47,   // duel 3
                                              7,  84, 5,  29,   // duel 4
                                              91, 36, 77, 32};  // duel 5
  DuelRandom random;
  std::vector<std::int32_t> drawn;
  for (std::size_t i = 0; i < expected.size(); ++i) drawn.push_back(random.Next(100));
  EXPECT_EQ(drawn, expected);
}

TEST(DuelRandom, TakesTheHighHalfOfTheProductWithTheRange) {
  // After one step the state is 1, after two 134775814.
  DuelRandom random;
  EXPECT_EQ(random.Next(1), 0);
  EXPECT_EQ(random.Next(INT32_MAX), static_cast<std::int32_t>((134775814ull * INT32_MAX) >> 32));
}

}  // namespace
}  // namespace tolvaro
