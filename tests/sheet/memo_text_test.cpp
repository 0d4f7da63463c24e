#include "sheet/memo_text.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

TEST(MemoText, EveryLineEndsWithCrLfTheLastIncluded) {
  EXPECT_EQ(MemoText({}), "");
  EXPECT_EQ(MemoText({""}), "\r\n");
  EXPECT_EQ(MemoText({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(MemoText({"two\r\nlines", "c"}), "two\r\nlines\r\nc\r\n");
}

}  // namespace
}  // namespace tolvaro
