// Feeds arbitrary bytes to the roster file reader. Checks that it agrees with
// the literal reading of the format (same table, or same message with the
// table left as it was), and that whatever it read saves without refusal and
// reads back with the same values in reverse order.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "rosterfile/roster_file.h"
#include "tests/rosterfile/differential_check.h"

namespace {

using tolvaro::PersTable;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

// Values of two tables' rows agree, a null text counting as the empty text
// (the file writes both alike); RecId is renumbered by every load.
bool SameValues(const PersTable& a, std::size_t rowA, const PersTable& b, std::size_t rowB) {
  const tolvaro::PersRecord& x = a.Row(rowA);
  const tolvaro::PersRecord& y = b.Row(rowB);
  for (int field = tolvaro::kLogin; field < tolvaro::kPersFieldCount; ++field) {
    const auto& u = x[static_cast<std::size_t>(field)];
    const auto& v = y[static_cast<std::size_t>(field)];
    if (a.Def(field).kind == tolvaro::FieldKind::Text ? u.text != v.text : !(u == v)) return false;
  }
  return true;
}

void CheckRoundTrip(const std::string& bytes) {
  tolvaro::testing::PersTableWithFields loaded;
  try {
    tolvaro::LoadRosterText(loaded, bytes);
  } catch (const tolvaro::Error&) {
    return;
  }
  const std::string saved = tolvaro::SaveRosterText(loaded);
  tolvaro::testing::PersTableWithFields again;
  tolvaro::LoadRosterText(again, saved);
  const std::size_t count = loaded.RecordCount();
  if (again.RecordCount() != count) Fail("round trip changed the number of records:\n" + saved);
  for (std::size_t row = 0; row < count; ++row) {
    if (!SameValues(loaded, row, again, count - 1 - row)) Fail("round trip changed a record:\n" + saved);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string difference = tolvaro::testing::DifferenceFromLiteral(bytes);
  if (!difference.empty()) Fail(difference);
  CheckRoundTrip(bytes);
  return 0;
}
