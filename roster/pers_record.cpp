#include "roster/pers_record.h"

#include <array>

namespace tolvaro {
namespace {

constexpr std::array<const char*, kPersFieldCount> kNames = {
    "RecId", "Login", "Name", "S", "L", "K", "M", "R", "B", "E", "RE", "C", "D"};

}  // namespace

const char* PersFieldName(PersField field) { return kNames.at(static_cast<std::size_t>(field)); }

void AddPersFields(PersTable& table) {
  for (int field = kLogin; field < kPersFieldCount; ++field) {
    FieldDef def;
    def.name = kNames[static_cast<std::size_t>(field)];
    switch (field) {
      case kLogin: def.kind = FieldKind::Text; def.size = kLoginSize; break;
      case kName: def.kind = FieldKind::Text; def.size = kNameSize; break;
      case kD: def.kind = FieldKind::Text; def.size = kDescrSize; break;
      default: def.kind = FieldKind::Integer; break;
    }
    table.AddField(std::move(def));
  }
}

}  // namespace tolvaro
