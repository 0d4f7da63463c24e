#pragma once

#include <cstddef>

#include "roster/table_observer.h"

namespace tolvaro::testing {

// Counts what a table tells its bound controls: resets apart from the rest.
class CountingObserver : public TableObserver {
 public:
  void TableReset() override { ++resets; }
  void RowInserted(std::size_t) override { ++others; }
  void RowRemoved(std::size_t) override { ++others; }
  void RowChanged(std::size_t) override { ++others; }
  void FieldChanged(int) override { ++others; }
  void CurrentChanged() override { ++others; }

  int resets = 0;
  int others = 0;
};

}  // namespace tolvaro::testing
