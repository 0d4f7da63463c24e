#pragma once

#include <array>
#include <cstdint>

#include "roster/pers_table.h"

namespace tolvaro {

// The inputs of one character in a duel. Each side's options govern that
// side's own blow; Bonus and Amount change only that side's value.
struct DuelSide {
  PersTable& List;         // the side's duel list; its current record is the character
  bool NoWeapon = false;   // fights bare-handed: RE instead of E
  bool Disarm = false;     // tries to disarm; for its own blow also NoKill and NoCripple
  bool NoKill = false;
  bool NoCripple = false;
  std::int32_t Bonus = 0;  // total bonus in percent on the value; the duel page gives -100..100
  std::int32_t Amount = 1; // opponents faced at once; the duel page gives 1..4
};

// Where a blow lands. Values 2..5 are the limbs.
enum class HitLocation : int {
  Body = 1,
  RightArm = 2,
  LeftArm = 3,
  RightLeg = 4,
  LeftLeg = 5,
  Head = 6,
};

inline bool IsLimb(HitLocation location) {
  return location >= HitLocation::RightArm && location <= HitLocation::LeftLeg;
}

// Ordered: a grade greater than Light is Heavy or Fatal. Disarmed replaces a
// grade only in the last steps of a resolution.
enum class WoundGrade : int {
  Light = 1,
  Heavy = 2,
  Fatal = 3,
  Disarmed = 4,
};

// What one character received from the other's blow. Location and Grade are
// worked out whether or not the blow landed; the report shows a grade only
// when the blow landed or when it is Disarmed.
struct Wound {
  bool Landed = false;
  HitLocation Location = HitLocation::Body;
  WoundGrade Grade = WoundGrade::Light;

  friend bool operator==(const Wound&, const Wound&) = default;
};

// r1, r2, r3, r4 in the order drawn: r1 places the 1st character's blow,
// r2 the 2nd's; r3 is the 1st character's attack draw, r4 the 2nd's.
using DuelDraws = std::array<std::int32_t, 4>;

struct DuelOutcome {
  DuelDraws Draws{};
  double Chance1 = 0.0;  // percent chance of the 1st character's blow to land
  double Chance2 = 0.0;
  Wound Wound1;          // received by the 1st character, from the 2nd's blow
  Wound Wound2;          // received by the 2nd character, from the 1st's blow
};

}  // namespace tolvaro
