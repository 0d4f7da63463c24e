#pragma once

#include <stdexcept>
#include <string>

namespace tolvaro {

// The one failure type of the system. what() is the message text the user
// sees (8-bit Windows-1251); nothing catches it short of the event loop.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Messages of real arithmetic faults, shared by the formulas and the duel.
inline constexpr const char* kInvalidFloatOperation = "Invalid floating point operation";
inline constexpr const char* kFloatDivisionByZero = "Floating point division by zero";

}  // namespace tolvaro
