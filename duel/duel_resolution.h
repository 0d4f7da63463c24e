#pragma once

#include <cstdint>

#include "duel/duel_random.h"
#include "duel/duel_types.h"

namespace tolvaro {

// Where a blow lands for a draw in 0..99: Body 40..99, RightArm 20..39,
// LeftArm 15..19, RightLeg 10..14, LeftLeg 5..9, Head 0..4.
HitLocation LocationOfDraw(std::int32_t draw);

// One exchange of blows. Takes four draws from random before it reads
// anything, so a failed duel has still used them; then reads the 1st
// character's value (E, or RE with NoWeapon) from the current record of
// first.List, then the 2nd's from second.List, and resolves.
// Throws Error: the list's field lookup failure ("mdBat1: Field 'E' not
// found") for a list without the character fields, kInvalidFloatOperation
// when both sides' values come to 0, kFloatDivisionByZero when they sum to 0
// otherwise (possible only with values below zero). A list without records
// gives the value 0.
DuelOutcome ResolveDuel(const DuelSide& first, const DuelSide& second, DuelRandom& random);

// Everything after the draws and the reads: x1 and x2 are the two values as
// read. The sides' lists are not touched. Throws the real-number faults of
// ResolveDuel.
DuelOutcome ResolveWithDraws(const DuelDraws& draws, const DuelSide& first, double x1, const DuelSide& second,
                             double x2);

}  // namespace tolvaro
