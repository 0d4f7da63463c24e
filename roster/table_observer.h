#pragma once

#include <cstddef>

namespace tolvaro {

// What a bound control hears from a PersTable. Rows are display rows: the
// committed records in order, with a pending new record shown at its place.
// After TableReset an observer rereads everything: open state, rows, current
// row. While notifications are held back nothing is sent; their release sends
// one TableReset.
class TableObserver {
 public:
  virtual ~TableObserver() = default;

  virtual void TableReset() = 0;
  virtual void RowInserted(std::size_t row) = 0;
  virtual void RowRemoved(std::size_t row) = 0;
  // Some value of the row changed (a post, a cancelled edit, a write).
  virtual void RowChanged(std::size_t row) = 0;
  // A field of the current record was written; reported right after the
  // RowChanged of the current row.
  virtual void FieldChanged(int field) = 0;
  virtual void CurrentChanged() = 0;
};

}  // namespace tolvaro
