#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvaro {

// Reads the integer text that integer fields and roster files accept:
// leading blanks (code 32 only), at most one sign, then decimal digits in the
// 32-bit signed range or "$", "x", "X", "0x", "0X" and at most eight
// significant hex digits taken as a two's-complement pattern. Nothing may
// follow the digits. Gives nothing for any other text, the empty text included.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

// "'%s' is not a valid integer value for field '%s'".
std::string InvalidIntegerMessage(std::string_view text, std::string_view fieldName);

// Decimal form: digits with a leading "-" for negatives, nothing else.
std::string FormatInteger(std::int32_t value);

}  // namespace tolvaro
