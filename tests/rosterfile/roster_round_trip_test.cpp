#include <gtest/gtest.h>

#include <random>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "rosterfile/roster_file.h"
#include "tests/rosterfile/differential_check.h"
#include "tests/rosterfile/roster_test_support.h"

namespace tolvaro {
namespace {

using testing::DifferenceFromLiteral;
using testing::PersTableWithFields;

// Every line break as CR LF, the way the file stores them.
std::string WithCrLf(std::string text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool Unwritable(const std::string& text) {
  return text.find("</V>") != std::string::npos || text.find("</R>") != std::string::npos;
}

// Random rosters whose texts are made of tag texts, pieces of tags, angle
// brackets, line breaks and Windows-1251 letters.
class RandomRoster {
 public:
  explicit RandomRoster(std::uint32_t seed) : random_(seed) {}

  void Fill(PersTable& table) {
    table.Open();
    const int records = Below(6);
    for (int r = 0; r < records; ++r) {
      table.Append();
      for (int field = kLogin; field < kPersFieldCount; ++field) {
        if (Below(6) == 0) continue;  // null
        TableField target = table.Field(field);
        target.SetAsString(target.Kind() == FieldKind::Integer ? Integer() : Text(field == kD ? 1100 : 60));
      }
      if (Below(4) == 0) table.Field(kRecId).SetAsString(std::to_string(Below(10)));
      table.Post();
    }
  }

 private:
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::string Integer() {
    static const char* const kNumbers[] = {"0", "1", "-1", "100", "-2147483648", "2147483647", "$7F"};
    if (Below(2) == 0) return kNumbers[Below(7)];
    return std::to_string(std::uniform_int_distribution<std::int32_t>()(random_));
  }

  std::string Text(int maxLength) {
    static const char* const kPieces[] = {"<",  ">",  "<R>", "<F>", "</F>", "<V>", "</", "R>", "V>", "/",
                                          "a",  "Hero", "\xC0\xE1\xE2", "\r", "\n", "\r\n", " ", "$", "0",
                                          "</V", "</R", "<V", "<<", ">>"};
    std::string text;
    const int length = Below(4) == 0 ? Below(maxLength) : Below(12);
    while (static_cast<int>(text.size()) < length) {
      if (Below(300) == 0) {
        text += Below(2) == 0 ? "</V>" : "</R>";
      } else {
        text += kPieces[Below(static_cast<int>(std::size(kPieces)))];
      }
    }
    return text;
  }

  std::mt19937 random_;
};

class RoundTrip : public ::testing::TestWithParam<std::uint32_t> {};

// A save either refuses a value that would read back otherwise, or writes a
// text that gives every value back: texts with their line breaks as CR LF
// (and cut to the field's size again), integers and nulls as they were, in
// reverse order.
TEST_P(RoundTrip, ReadsBackWhatWasWrittenOrRefuses) {
  RandomRoster generator(GetParam());
  int refused = 0;
  int written = 0;
  for (int i = 0; i < 300; ++i) {
    PersTableWithFields table;
    generator.Fill(table);
    bool unwritable = false;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
      for (int field : {kLogin, kName, kD}) unwritable = unwritable || Unwritable(table.Row(row)[field].text);
    }

    std::string text;
    try {
      text = SaveRosterText(table);
      ASSERT_FALSE(unwritable) << "case " << i;
    } catch (const Error& e) {
      ASSERT_TRUE(unwritable) << "case " << i << ": " << e.what();
      ++refused;
      continue;
    }
    if (table.RecordCount() == 0) continue;
    ++written;

    PersTableWithFields loaded;
    LoadRosterText(loaded, text);
    const std::size_t count = table.RecordCount();
    ASSERT_EQ(loaded.RecordCount(), count) << text;
    std::int32_t highest = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const PersRecord& saved = table.Row(k);
      const PersRecord& read = loaded.Row(count - 1 - k);
      for (int field = kLogin; field < kPersFieldCount; ++field) {
        const FieldDef& def = table.Def(field);
        if (def.kind == FieldKind::Integer) {
          EXPECT_EQ(read[field], saved[field]) << "case " << i << ", record " << k << ", field " << def.name;
        } else {
          EXPECT_FALSE(read[field].isNull);
          EXPECT_EQ(read[field].text, WithCrLf(saved[field].text).substr(0, def.size))
              << "case " << i << ", record " << k << ", field " << def.name;
        }
      }
      highest = saved[kRecId].number > highest ? saved[kRecId].number : highest + 1;
      EXPECT_EQ(read[kRecId].number, highest);
    }
    EXPECT_EQ(DifferenceFromLiteral(text), "") << text;
  }
  EXPECT_GT(refused, 10);
  EXPECT_GT(written, 50);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTrip, ::testing::Range<std::uint32_t>(1, 5));

}  // namespace
}  // namespace tolvaro
