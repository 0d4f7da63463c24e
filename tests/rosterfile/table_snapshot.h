#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "roster/pers_table.h"

namespace tolvaro::testing {

// Everything of a table that a reader of it can tell apart: open state, the
// rows with a pending record at its place, the cursor, the pending change and
// the RecId numbering.
struct TableSnapshot {
  bool open = false;
  std::vector<PersRecord> rows;
  std::size_t recordCount = 0;
  std::optional<std::size_t> currentRow;
  TableState state = TableState::Browse;
  bool modified = false;
  bool eof = true;
  std::int32_t maxRecId = 0;

  friend bool operator==(const TableSnapshot&, const TableSnapshot&) = default;
};

inline TableSnapshot Snapshot(const PersTable& table) {
  TableSnapshot snapshot;
  snapshot.open = table.IsOpen();
  for (std::size_t row = 0; row < table.RowCount(); ++row) snapshot.rows.push_back(table.Row(row));
  snapshot.recordCount = table.RecordCount();
  snapshot.currentRow = table.CurrentRow();
  snapshot.state = table.State();
  snapshot.modified = table.Modified();
  snapshot.eof = table.Eof();
  snapshot.maxRecId = table.MaxRecId();
  return snapshot;
}

inline std::ostream& operator<<(std::ostream& out, const TableSnapshot& s) {
  out << (s.open ? "open" : "closed") << ", " << s.recordCount << " records, current row ";
  if (s.currentRow) {
    out << *s.currentRow;
  } else {
    out << "none";
  }
  out << ", state " << static_cast<int>(s.state) << (s.modified ? " modified" : "") << (s.eof ? ", eof" : "")
      << ", MaxRecId " << s.maxRecId << "\n";
  for (const PersRecord& row : s.rows) {
    out << "  [";
    for (const FieldValue& value : row) {
      if (value.isNull) {
        out << "null ";
      } else {
        out << '{' << value.number << ",\"" << value.text << "\"} ";
      }
    }
    out << "]\n";
  }
  return out;
}

}  // namespace tolvaro::testing
