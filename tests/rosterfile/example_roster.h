#pragma once

#include <string>

#include "tests/rosterfile/roster_test_support.h"

namespace tolvaro::testing {

// The two characters of the format's worked example, in this table order:
// "Hero" (RecId 1, a two-line description) and "Scout" (RecId 2).
inline void AddExampleCharacters(PersTable& table) {
  AppendCharacter(table, {{"Login", "player1"}, {"Name", "Hero"}, {"S", "1"}, {"L", "1"}, {"K", "1"},
                          {"M", "100"}, {"R", "100"}, {"B", "100"}, {"E", "199"}, {"RE", "40"}, {"C", "0"},
                          {"D", "First line\r\nsecond line"}});
  AppendCharacter(table, {{"Login", ""}, {"Name", "Scout"}, {"S", "1"}, {"L", "1"}, {"K", "1"}, {"M", "100"},
                          {"R", "100"}, {"B", "100"}, {"E", "199"}, {"RE", "40"}, {"C", "0"}, {"D", ""}});
}

inline const std::string kExampleLine1 =
    "<R><F>RecId</F><V>1</V><F>Login</F><V>player1</V><F>Name</F><V>Hero</V><F>S</F><V>1</V><F>L</F><V>1</V>"
    "<F>K</F><V>1</V><F>M</F><V>100</V><F>R</F><V>100</V><F>B</F><V>100</V><F>E</F><V>199</V><F>RE</F><V>40</V>"
    "<F>C</F><V>0</V><F>D</F><V>First line";
inline const std::string kExampleLine2 =
    "second line</V></R><R><F>RecId</F><V>2</V><F>Login</F><V></V><F>Name</F><V>Scout</V><F>S</F><V>1</V>"
    "<F>L</F><V>1</V><F>K</F><V>1</V><F>M</F><V>100</V><F>R</F><V>100</V><F>B</F><V>100</V><F>E</F><V>199</V>"
    "<F>RE</F><V>40</V><F>C</F><V>0</V><F>D</F><V></V></R>";
inline const std::string kExampleFile = kExampleLine1 + "\r\n" + kExampleLine2 + "\r\n";

// One record's text with the given pairs, in the given order.
inline std::string RecordText(const FieldTexts& pairs) {
  std::string text = "<R>";
  for (const auto& [name, value] : pairs) text += "<F>" + name + "</F><V>" + value + "</V>";
  return text + "</R>";
}

}  // namespace tolvaro::testing
