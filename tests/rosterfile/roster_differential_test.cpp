#include <gtest/gtest.h>

#include "tests/rosterfile/differential_check.h"
#include "tests/rosterfile/example_roster.h"
#include "tests/rosterfile/roster_text_generator.h"

namespace tolvaro {
namespace {

using testing::DifferenceFromLiteral;
using testing::kExampleFile;
using testing::RecordText;
using testing::RosterTextGenerator;

// Inputs chosen by hand for the corners of the reading loops.
TEST(LiteralReader, AgreesOnHandPickedTexts) {
  const std::string texts[] = {
      "",
      kExampleFile,
      kExampleFile + kExampleFile,
      "<R></R>",
      "<R><R></R></R>",
      "</R><R></R>",
      "<R></R></R><R>",
      "<R><F>Name</F><V>x</V></R>",
      "<R><V>x</V><F>Name</F></R>",
      "<R><V>x</V><F>Name</F><V>y</V></R>",
      "<R><F>Name</F></F><V>x</V><V>y</V></R>",
      "<R><F>Name<V>val</F>ue</V></R>",
      "<R><F>S</F><V>1</V><F>S</F></V><V>2</V></R>",
      "<R><F>RecId</F><V>5</V></R><R><F>recid</F><V>5</V></R><R></R>",
      "<R><F>S</F><V>abc</V></R>",
      "<R><F>Age</F><V>abc</V><F>S</F><V>7</V></R>",
      "<R><F>Name</F><V>a\rb\nc\r\nd\n\re</V></R>",
      "<R><F>Name</F><V>" + std::string(70, 'n') + "</V></R>",
      "<R><F>D</F><V>" + std::string(998, 'd') + "\n\n\n</V></R>",
      "<R><F>Name</F><V>a</V>b</V><F>S</F><V>1</V></R>",
      "<R><F>D</F><V>a</R>b</V></R><R><F>Name</F><V>n</V></R>",
      "<R><F>S</F><V>5\n</V></R>",
      "<R><F>S\n</F><V>5</V></R>",
      std::string("<R><F>Name</F><V>a\0b</V></R>", 29),
      RecordText({{"S", "1"}, {"M", "x"}}) + RecordText({{"S", "2"}}),
  };
  for (const std::string& text : texts) EXPECT_EQ(DifferenceFromLiteral(text), "") << "input: " << text;
}

class LiteralReaderOnGeneratedTexts : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(LiteralReaderOnGeneratedTexts, AgreesOnEveryText) {
  RosterTextGenerator generator(GetParam());
  for (int i = 0; i < 2500; ++i) {
    const std::string text = generator.Next();
    const std::string difference = DifferenceFromLiteral(text);
    ASSERT_EQ(difference, "") << "seed " << GetParam() << ", case " << i << ", input:\n" << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LiteralReaderOnGeneratedTexts, ::testing::Range<std::uint32_t>(1, 9));

}  // namespace
}  // namespace tolvaro
