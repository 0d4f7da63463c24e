#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "roster/pers_record.h"
#include "roster/pers_table.h"

namespace tolvaro {

// Readable failure output for field values: null, a number or quoted text.
inline void PrintTo(const FieldValue& value, std::ostream* os) {
  if (value.isNull) {
    *os << "null";
  } else if (!value.text.empty()) {
    *os << '"' << value.text << '"';
  } else {
    *os << value.number;
  }
}

}  // namespace tolvaro

namespace tolvaro::testing {

// Gives a table the character fields; for member initialisers that need the
// fields before the constructor body runs.
inline PersTable& WithPersFields(PersTable& table) {
  AddPersFields(table);
  return table;
}

// RecId of every display row, top to bottom (a pending new record included).
inline std::vector<std::int32_t> RowRecIds(const PersTable& table) {
  std::vector<std::int32_t> ids;
  for (std::size_t row = 0; row < table.RowCount(); ++row) ids.push_back(table.Row(row)[kRecId].number);
  return ids;
}

// RecId of the current record, or nothing when there is none.
inline std::optional<std::int32_t> CurrentRecId(PersTable& table) {
  TableField recId = table.Field(kRecId);
  if (recId.IsNull()) return std::nullopt;
  return recId.Value().number;
}

// Commits one record as a roster load does: Append, optionally overwrite or
// clear the offered RecId, write S so the record counts as modified, Post.
inline void PostLoaded(PersTable& table, std::optional<std::int32_t> recId, std::int32_t s = 1) {
  table.Append();
  if (recId) {
    table.Field(kRecId).SetAsFloat(*recId);
  } else {
    table.Field(kRecId).Clear();
  }
  table.Field(kS).SetAsFloat(s);
  table.Post();
}

// Commits a record before the current one, the way "Новый" places it.
inline void PostInserted(PersTable& table, std::int32_t s = 1) {
  table.Insert();
  table.Field(kS).SetAsFloat(s);
  table.Post();
}

}  // namespace tolvaro::testing
