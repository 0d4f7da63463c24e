#pragma once

#include <optional>
#include <sstream>
#include <string>

#include "roster/error.h"
#include "rosterfile/roster_file.h"
#include "tests/rosterfile/literal_reader.h"
#include "tests/rosterfile/roster_test_support.h"
#include "tests/rosterfile/table_snapshot.h"

namespace tolvaro::testing {

// A roster that a load replaces: two characters and a pending edit.
inline void FillPriorRoster(PersTable& table) {
  AppendCharacter(table, {{"Name", "Prior one"}, {"S", "2"}, {"D", "kept\r\nunless loaded"}});
  AppendCharacter(table, {{"Name", "Prior two"}, {"RecId", "40"}});
  table.First();
  table.Edit();
  table.FieldByName("Login").SetAsString("edited");
}

// Loads bytes with LoadRosterText and with the literal reader, each on its
// own table holding the same prior roster. Gives "" when they agree: the
// same table after a load, or the same message with the fast reader's table
// left exactly as it was before. Otherwise a description of the difference.
inline std::string DifferenceFromLiteral(const std::string& bytes) {
  PersTableWithFields fast;
  PersTableWithFields literal;
  FillPriorRoster(fast);
  FillPriorRoster(literal);
  const TableSnapshot before = Snapshot(fast);

  std::optional<std::string> fastError;
  std::optional<std::string> literalError;
  try {
    LoadRosterText(fast, bytes);
  } catch (const Error& e) {
    fastError = e.what();
  }
  try {
    LiteralLoadRosterText(literal, bytes);
  } catch (const Error& e) {
    literalError = e.what();
  }

  std::ostringstream difference;
  if (fastError != literalError) {
    difference << "failures differ: fast [" << fastError.value_or("none") << "], literal ["
               << literalError.value_or("none") << "]";
  } else if (fastError) {
    const TableSnapshot after = Snapshot(fast);
    if (after != before) difference << "a failed load changed the table:\n" << before << "became\n" << after;
  } else {
    const TableSnapshot fastResult = Snapshot(fast);
    const TableSnapshot literalResult = Snapshot(literal);
    if (fastResult != literalResult) difference << "fast:\n" << fastResult << "literal:\n" << literalResult;
  }
  return difference.str();
}

}  // namespace tolvaro::testing
