#pragma once

#include "roster/pers_table.h"

namespace tolvaro {

// Positions of a character's fields, in the order every table of characters
// and every roster file keeps them.
enum PersField : int {
  kRecId,
  kLogin,  // forum login of the player
  kName,   // name of the character
  kS,      // strength
  kL,      // agility
  kK,      // beauty
  kM,      // fencing
  kR,      // hand-to-hand combat
  kB,      // running
  kE,      // combat efficiency (derived)
  kRE,     // hand-to-hand efficiency (derived)
  kC,      // cost (derived)
  kD,      // description
  kPersFieldCount
};

inline constexpr int kLoginSize = 50;
inline constexpr int kNameSize = 50;
inline constexpr int kDescrSize = 1000;

// Field name as tables and roster files spell it.
const char* PersFieldName(PersField field);

// Adds the twelve character fields after RecId to a closed table that holds
// RecId alone.
void AddPersFields(PersTable& table);

}  // namespace tolvaro
