#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "roster/field_value.h"

namespace tolvaro {

class PersTable;

// A field of a table, read and written on the table's current record.
// Reading without a current record gives null. Writing needs a pending change.
class TableField {
 public:
  TableField(PersTable& table, int index) : table_(&table), index_(index) {}

  int Index() const { return index_; }
  const FieldDef& Def() const;
  const std::string& Name() const { return Def().name; }
  FieldKind Kind() const { return Def().kind; }
  PersTable& Table() const { return *table_; }

  bool IsNull() const;
  double AsFloat() const;
  std::string AsString() const;
  const FieldValue& Value() const;

  // Rounds to the nearest whole number, an exact half to the even neighbour.
  void SetAsFloat(double value);
  // Integer field: the empty text gives null, other text must be integer text.
  // Text field: cut at the first NUL and at the field's size; "" stays non-null.
  void SetAsString(std::string_view text);
  void Clear();

 private:
  PersTable* table_;
  int index_;
};

}  // namespace tolvaro
