#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "duel/duel_types.h"

namespace tolvaro {

// The report lines of a duel, for the result memo: a separator, the 2nd
// character's block (name2, Wound2), a separator, the 1st character's block
// (name1, Wound1), a separator. A block is one line "<name> обезоружен" for a
// Disarmed grade; three lines "<name> получил ранение", "Место попадания:
// <location>", "Тяжесть ранения: <grade>" for a landed blow; else one line
// "<name> не получил ранений". Names are written as given, so an empty name
// leaves the line starting with a blank. Windows-1251 text.
std::vector<std::string> DuelReport(const DuelOutcome& outcome, std::string_view name1, std::string_view name2);

}  // namespace tolvaro
