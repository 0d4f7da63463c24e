#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tolvaro {

class TableField;

enum class FieldKind { Integer, Text };

// One field's value in one record; `text` is used by text fields, `number`
// by integer fields. A null value holds neither.
struct FieldValue {
  bool isNull = true;
  std::int32_t number = 0;
  std::string text;

  friend bool operator==(const FieldValue&, const FieldValue&) = default;
};

using FieldHook = std::function<void(TableField)>;

struct FieldDef {
  std::string name;
  FieldKind kind = FieldKind::Integer;
  int size = 0;              // text limit in bytes; 0 for integer fields
  bool hidden = false;
  bool marksModified = true; // false only for RecId
  FieldHook onChange;        // runs after every write, whatever the value
};

}  // namespace tolvaro
