#include "roster/integer_text.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

struct IntegerCase {
  const char* text;
  std::optional<std::int32_t> expected;
};

class IntegerTextTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTest, ParsesOrRejects) {
  const IntegerCase& c = GetParam();
  EXPECT_EQ(ParseIntegerText(c.text), c.expected) << "text: [" << c.text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, IntegerTextTest,
    ::testing::Values(
        IntegerCase{"42", 42}, IntegerCase{"  12", 12}, IntegerCase{" 42", 42}, IntegerCase{"+5", 5},
        IntegerCase{"+7", 7}, IntegerCase{"-7", -7}, IntegerCase{"0", 0}, IntegerCase{"007", 7},
        IntegerCase{"$1F", 31}, IntegerCase{"0x1F", 31}, IntegerCase{"0X1f", 31}, IntegerCase{"x1F", 31},
        IntegerCase{"X1f", 31}, IntegerCase{"$2A", 42}, IntegerCase{"0x2A", 42}, IntegerCase{"-$10", -16},
        IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"$80000000", INT32_MIN}, IntegerCase{"-$80000000", INT32_MIN},
        IntegerCase{"-$FFFFFFFF", 1}, IntegerCase{"$000000001", 1}, IntegerCase{"2147483647", INT32_MAX},
        IntegerCase{"-2147483648", INT32_MIN}, IntegerCase{"00000000002147483647", INT32_MAX},
        IntegerCase{"-0", 0}, IntegerCase{"  -12", -12}, IntegerCase{"+$1F", 31}, IntegerCase{"-0x1F", -31},
        IntegerCase{"0xffffffff", -1}, IntegerCase{"$7FFFFFFF", INT32_MAX}, IntegerCase{"0x0000000000000010", 16},
        IntegerCase{"x0", 0}, IntegerCase{"$aBcD", 0xABCD},
        // rejected
        IntegerCase{"", std::nullopt}, IntegerCase{"   ", std::nullopt}, IntegerCase{"12 ", std::nullopt},
        IntegerCase{"42 ", std::nullopt}, IntegerCase{"4 2", std::nullopt}, IntegerCase{"1.5", std::nullopt},
        IntegerCase{"2147483648", std::nullopt}, IntegerCase{"-2147483649", std::nullopt},
        IntegerCase{"99999999999999999999", std::nullopt}, IntegerCase{"$", std::nullopt},
        IntegerCase{"0x", std::nullopt}, IntegerCase{"-", std::nullopt}, IntegerCase{"+", std::nullopt},
        IntegerCase{"abc", std::nullopt}, IntegerCase{"\t5", std::nullopt}, IntegerCase{"+-5", std::nullopt},
        IntegerCase{"--5", std::nullopt}, IntegerCase{"$100000000", std::nullopt}, IntegerCase{"$1G", std::nullopt},
        IntegerCase{"5\r\n", std::nullopt}, IntegerCase{"- 5", std::nullopt}, IntegerCase{"$-5", std::nullopt},
        IntegerCase{"+ 5", std::nullopt}, IntegerCase{"$ 1F", std::nullopt}, IntegerCase{"0x 1", std::nullopt},
        IntegerCase{"1e3", std::nullopt}, IntegerCase{"1,000", std::nullopt}, IntegerCase{"0b1", std::nullopt},
        IntegerCase{"00x1", std::nullopt}, IntegerCase{"x", std::nullopt}, IntegerCase{"X", std::nullopt},
        IntegerCase{"-$", std::nullopt}, IntegerCase{"1-", std::nullopt}, IntegerCase{"12\n", std::nullopt},
        IntegerCase{"$123456789", std::nullopt}, IntegerCase{"4294967296", std::nullopt},
        IntegerCase{"-4294967296", std::nullopt}, IntegerCase{"0x1F ", std::nullopt},
        IntegerCase{"\xA0" "5", std::nullopt}, IntegerCase{"\xB3", std::nullopt}));

TEST(IntegerTextMessage, NamesTextAndField) {
  EXPECT_EQ(InvalidIntegerMessage("abc", "S"), "'abc' is not a valid integer value for field 'S'");
}

TEST(IntegerTextFormat, DecimalWithMinusOnly) {
  EXPECT_EQ(FormatInteger(-7), "-7");
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(1000), "1000");
  EXPECT_EQ(FormatInteger(INT32_MAX), "2147483647");
  EXPECT_EQ(FormatInteger(INT32_MIN), "-2147483648");
}

// Whatever FormatInteger writes, ParseIntegerText reads back unchanged.
TEST(IntegerTextFormat, ReadsBackEveryPowerOfTwoNeighbour) {
  for (int bit = 0; bit < 32; ++bit) {
    const std::int64_t power = std::int64_t{1} << bit;
    for (std::int64_t candidate : {power - 1, power, power + 1, -power - 1, -power, -power + 1}) {
      if (candidate < INT32_MIN || candidate > INT32_MAX) continue;
      const auto value = static_cast<std::int32_t>(candidate);
      EXPECT_EQ(ParseIntegerText(FormatInteger(value)), value);
    }
  }
}

}  // namespace
}  // namespace tolvaro
