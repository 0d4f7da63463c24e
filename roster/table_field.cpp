#include "roster/table_field.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "roster/error.h"
#include "roster/integer_text.h"
#include "roster/pers_formulas.h"
#include "roster/pers_table.h"

namespace tolvaro {
namespace {

const FieldValue kNullValue{};

}  // namespace

const FieldDef& TableField::Def() const { return table_->Def(index_); }

const FieldValue& TableField::Value() const {
  const PersRecord* record = table_->CurrentRecord();
  if (record == nullptr) return kNullValue;
  return (*record)[static_cast<std::size_t>(index_)];
}

bool TableField::IsNull() const { return Value().isNull; }

double TableField::AsFloat() const {
  const FieldValue& value = Value();
  if (value.isNull) return 0.0;
  if (Kind() == FieldKind::Integer) return value.number;
  double result = 0.0;
  const char* begin = value.text.data();
  const char* end = begin + value.text.size();
  const auto parsed = std::from_chars(begin, end, result);
  if (value.text.empty() || parsed.ec != std::errc{} || parsed.ptr != end) {
    throw Error("'" + value.text + "' is not a valid floating point value");
  }
  return result;
}

std::string TableField::AsString() const {
  const FieldValue& value = Value();
  if (value.isNull) return {};
  if (Kind() == FieldKind::Integer) return FormatInteger(value.number);
  return value.text;
}

void TableField::SetAsFloat(double value) {
  if (Kind() == FieldKind::Text) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    SetAsString(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
    return;
  }
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    throw Error(kInvalidFloatOperation);
  }
  FieldValue stored;
  stored.isNull = false;
  stored.number = static_cast<std::int32_t>(rounded);
  table_->WriteValue(index_, std::move(stored));
}

void TableField::SetAsString(std::string_view text) {
  FieldValue stored;
  if (Kind() == FieldKind::Integer) {
    if (!text.empty()) {
      const auto number = ParseIntegerText(text);
      if (!number) throw Error(InvalidIntegerMessage(text, Name()));
      stored.isNull = false;
      stored.number = *number;
    }
  } else {
    text = text.substr(0, text.find('\0'));
    text = text.substr(0, static_cast<std::size_t>(Def().size));
    stored.isNull = false;
    stored.text = std::string(text);
  }
  table_->WriteValue(index_, std::move(stored));
}

void TableField::Clear() { table_->WriteValue(index_, FieldValue{}); }

}  // namespace tolvaro
