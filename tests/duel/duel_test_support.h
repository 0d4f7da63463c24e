#pragma once

#include <ostream>
#include <string>

#include "duel/duel_types.h"
#include "roster/pers_record.h"
#include "roster/pers_table.h"

namespace tolvaro {

inline void PrintTo(const Wound& wound, std::ostream* out) {
  *out << "{Landed " << wound.Landed << ", Location " << static_cast<int>(wound.Location) << ", Grade "
       << static_cast<int>(wound.Grade) << "}";
}

namespace testing {

// A duel list as a refill leaves it: the character fields, open; then one
// character appended (and current) per call.
inline void FillList(PersTable& list) {
  if (list.FindField("E")) return;
  AddPersFields(list);
  list.Open();
}

inline void AddCharacter(PersTable& list, const std::string& name, double e, double re) {
  FillList(list);
  list.Append();
  list.FieldByName("Name").SetAsString(name);
  list.FieldByName("E").SetAsFloat(e);
  list.FieldByName("RE").SetAsFloat(re);
  list.Post();
}

}  // namespace testing
}  // namespace tolvaro
