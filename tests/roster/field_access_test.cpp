#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "roster/pers_table.h"
#include "tests/support/cp1251.h"

namespace tolvaro {
namespace {

using ::tolvaro::testing::Cp1251;

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// An open character table with a pending new record to write into, and a
// counter of the change hook on S.
class FieldAccessTest : public ::testing::Test {
 protected:
  FieldAccessTest() {
    AddPersFields(table_);
    table_.SetOnChange(kS, [this](TableField field) {
      ++hookRuns_;
      valueSeenByHook_ = field.AsString();
    });
    table_.Open();
    table_.Insert();
  }

  PersTable table_{"mdPers"};
  int hookRuns_ = 0;
  std::string valueSeenByHook_;
};

TEST_F(FieldAccessTest, NewRecordHoldsNullsButItsRecId) {
  for (int field = kLogin; field < kPersFieldCount; ++field) {
    TableField f = table_.Field(field);
    EXPECT_TRUE(f.IsNull()) << f.Name();
    EXPECT_EQ(f.AsString(), "") << f.Name();
  }
  EXPECT_EQ(table_.Field(kS).AsFloat(), 0.0);
  EXPECT_FALSE(table_.Field(kRecId).IsNull());
}

struct FloatWriteCase {
  double written;
  std::int32_t stored;
  const char* text;
};

class FloatWriteTest : public FieldAccessTest, public ::testing::WithParamInterface<FloatWriteCase> {};

TEST_P(FloatWriteTest, RoundsHalfToEvenAndReadsBack) {
  const FloatWriteCase& c = GetParam();
  TableField m = table_.Field(kM);
  m.SetAsFloat(c.written);
  EXPECT_FALSE(m.IsNull());
  EXPECT_EQ(m.Value().number, c.stored);
  EXPECT_EQ(m.AsFloat(), static_cast<double>(c.stored));
  EXPECT_EQ(m.AsString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, FloatWriteTest,
    ::testing::Values(FloatWriteCase{2.5, 2, "2"}, FloatWriteCase{3.5, 4, "4"}, FloatWriteCase{-2.5, -2, "-2"},
                      FloatWriteCase{0.5, 0, "0"}, FloatWriteCase{1.5, 2, "2"}, FloatWriteCase{-0.5, 0, "0"},
                      FloatWriteCase{-1.5, -2, "-2"}, FloatWriteCase{2.4999999, 2, "2"},
                      FloatWriteCase{2.5000001, 3, "3"}, FloatWriteCase{199.21875, 199, "199"},
                      FloatWriteCase{-7.0, -7, "-7"}, FloatWriteCase{100.0, 100, "100"},
                      FloatWriteCase{1000000000.5, 1000000000, "1000000000"},
                      FloatWriteCase{2147483647.0, kInt32Max, "2147483647"},
                      FloatWriteCase{-2147483648.0, kInt32Min, "-2147483648"},
                      FloatWriteCase{-2147483648.5, kInt32Min, "-2147483648"}));

TEST_F(FieldAccessTest, FloatBeyondThe32BitRangeFailsAndKeepsTheValue) {
  TableField m = table_.Field(kM);
  m.SetAsFloat(300);
  for (double tooLarge : {2147483647.5 + 1.0, -2147483649.0, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
    try {
      m.SetAsFloat(tooLarge);
      ADD_FAILURE() << "stored " << tooLarge;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
    EXPECT_EQ(m.AsString(), "300");
  }
}

struct IntegerTextWriteCase {
  const char* text;
  std::optional<std::int32_t> stored;  // nothing: the field becomes null
};

class IntegerTextWriteTest : public FieldAccessTest, public ::testing::WithParamInterface<IntegerTextWriteCase> {};

TEST_P(IntegerTextWriteTest, StoresTheNumberOrNull) {
  const IntegerTextWriteCase& c = GetParam();
  TableField s = table_.Field(kS);
  s.SetAsFloat(3);
  s.SetAsString(c.text);
  if (c.stored) {
    ASSERT_FALSE(s.IsNull());
    EXPECT_EQ(s.Value().number, *c.stored);
  } else {
    EXPECT_TRUE(s.IsNull());
    EXPECT_EQ(s.AsFloat(), 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, IntegerTextWriteTest,
    ::testing::Values(IntegerTextWriteCase{"  12", 12}, IntegerTextWriteCase{"+5", 5}, IntegerTextWriteCase{"$1F", 31},
                      IntegerTextWriteCase{"0x1F", 31}, IntegerTextWriteCase{"-7", -7},
                      IntegerTextWriteCase{"$FFFFFFFF", -1}, IntegerTextWriteCase{"2147483647", kInt32Max},
                      IntegerTextWriteCase{"-2147483648", kInt32Min}, IntegerTextWriteCase{"", std::nullopt}));

class InvalidIntegerTextTest : public FieldAccessTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(InvalidIntegerTextTest, FailsNamingTextAndFieldAndChangesNothing) {
  const std::string text = GetParam();
  TableField s = table_.Field(kS);
  table_.Field(kRecId).SetAsFloat(77);  // leaves the change unmodified
  ASSERT_FALSE(table_.Modified());
  try {
    s.SetAsString(text);
    ADD_FAILURE() << "accepted [" << text << "]";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value for field 'S'");
  }
  EXPECT_TRUE(s.IsNull());
  EXPECT_FALSE(table_.Modified());
  EXPECT_EQ(hookRuns_, 0);
}

INSTANTIATE_TEST_SUITE_P(Rejected, InvalidIntegerTextTest,
                         ::testing::Values("abc", "12 ", "1.5", "2147483648", "-2147483649", "\t5", " ", "$", "0x",
                                           "+", "--1", "$100000000"));

TEST_F(FieldAccessTest, InvalidIntegerTextKeepsAStoredValue) {
  TableField s = table_.Field(kS);
  s.SetAsFloat(4);
  EXPECT_THROW(s.SetAsString("four"), Error);
  EXPECT_EQ(s.AsString(), "4");
}

struct TextWriteCase {
  PersField field;
  std::string written;
  std::string stored;
};

class TextWriteTest : public FieldAccessTest, public ::testing::WithParamInterface<TextWriteCase> {};

TEST_P(TextWriteTest, CutsAtTheFirstZeroByteAndAtTheLimit) {
  const TextWriteCase& c = GetParam();
  TableField field = table_.Field(c.field);
  field.SetAsString(c.written);
  EXPECT_FALSE(field.IsNull());
  EXPECT_EQ(field.AsString(), c.stored);
}

std::string Repeat(std::string_view piece, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += piece;
  return result;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextWriteTest,
    ::testing::Values(
        TextWriteCase{kName, std::string(60, 'n'), std::string(50, 'n')},
        TextWriteCase{kName, std::string(50, 'n'), std::string(50, 'n')},
        TextWriteCase{kLogin, std::string(51, 'l'), std::string(50, 'l')},
        TextWriteCase{kD, std::string(1200, 'd'), std::string(1000, 'd')},
        TextWriteCase{kD, std::string(1000, 'd'), std::string(1000, 'd')},
        // The limits count bytes of Windows-1251 text: one per Cyrillic letter.
        TextWriteCase{kName, Repeat(Cp1251("Ёж"), 30), Repeat(Cp1251("Ёж"), 25)},
        TextWriteCase{kLogin, Cp1251("Игрок №1"), Cp1251("Игрок №1")},
        TextWriteCase{kD, "line one\r\nline two", "line one\r\nline two"},
        TextWriteCase{kD, std::string("before\0after", 12), "before"},
        TextWriteCase{kName, std::string("\0hidden", 7), ""},
        TextWriteCase{kName, "", ""},
        TextWriteCase{kD, "\xFF\x98\x01\x7F", "\xFF\x98\x01\x7F"}));

TEST_F(FieldAccessTest, EmptyTextIsStoredAsAValueNotAsNull) {
  TableField name = table_.Field(kName);
  name.SetAsString("");
  EXPECT_FALSE(name.IsNull());
  name.Clear();
  EXPECT_TRUE(name.IsNull());
  EXPECT_EQ(name.AsString(), "");
}

TEST_F(FieldAccessTest, ClearMakesAnIntegerNull) {
  TableField s = table_.Field(kS);
  s.SetAsFloat(5);
  s.Clear();
  EXPECT_TRUE(s.IsNull());
  EXPECT_EQ(s.AsFloat(), 0.0);
  EXPECT_EQ(s.AsString(), "");
}

TEST_F(FieldAccessTest, EveryWriteMarksTheChangeAndRunsTheHookAfterStoring) {
  TableField s = table_.Field(kS);
  EXPECT_FALSE(table_.Modified());
  s.SetAsFloat(2);
  EXPECT_TRUE(table_.Modified());
  EXPECT_EQ(hookRuns_, 1);
  EXPECT_EQ(valueSeenByHook_, "2");
  s.SetAsFloat(2);  // the same value still counts as a change
  s.SetAsString("3");
  EXPECT_EQ(valueSeenByHook_, "3");
  s.Clear();
  EXPECT_EQ(valueSeenByHook_, "");
  EXPECT_EQ(hookRuns_, 4);
}

TEST_F(FieldAccessTest, RecIdWritesLeaveTheChangeUnmodified) {
  table_.Field(kRecId).SetAsFloat(5);
  table_.Field(kRecId).SetAsString("6");
  table_.Field(kRecId).Clear();
  EXPECT_FALSE(table_.Modified());
  table_.Field(kName).SetAsString("x");
  EXPECT_TRUE(table_.Modified());
}

TEST(FieldAccessWithoutChange, WritesFailWithTheTableName) {
  PersTable table("mdPers");
  AddPersFields(table);
  const std::vector<std::function<void(TableField)>> writes = {
      [](TableField f) { f.SetAsFloat(1); }, [](TableField f) { f.SetAsString("1"); },
      [](TableField f) { f.Clear(); }};
  auto expectRefused = [&](const char* state) {
    for (PersField field : {kRecId, kS, kName}) {
      for (const auto& write : writes) {
        try {
          write(table.Field(field));
          ADD_FAILURE() << state << ": write to " << PersFieldName(field) << " accepted";
        } catch (const Error& e) {
          EXPECT_STREQ(e.what(), "mdPers: Dataset not in edit or insert mode") << state;
        }
      }
    }
  };
  expectRefused("closed");
  table.Open();
  expectRefused("open, empty");
  table.Insert();
  table.Field(kS).SetAsFloat(2);
  table.Post();
  expectRefused("browsing a record");
  EXPECT_EQ(table.Field(kS).AsString(), "2");
}

TEST(FieldAccessWithoutRecord, ReadsGiveNull) {
  PersTable table("mdBat1");
  AddPersFields(table);
  auto expectNullReads = [&](const char* state) {
    for (int field = 0; field < table.FieldCount(); ++field) {
      TableField f = table.Field(field);
      EXPECT_TRUE(f.IsNull()) << state << " " << f.Name();
      EXPECT_EQ(f.AsString(), "") << state << " " << f.Name();
      if (f.Kind() == FieldKind::Integer) {
        EXPECT_EQ(f.AsFloat(), 0.0) << state << " " << f.Name();
      }
    }
  };
  expectNullReads("closed");
  table.Open();
  expectNullReads("open, empty");
  table.Insert();
  table.Field(kS).SetAsFloat(2);
  table.Post();
  table.Delete();
  expectNullReads("emptied");
}

}  // namespace
}  // namespace tolvaro
