#include "roster/integer_text.h"

#include <charconv>

namespace tolvaro {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  int significant = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    if (significant > 0 || digit != 0) ++significant;
    if (significant > 8) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

// Magnitude of a decimal number, capped just past the largest one that fits.
std::optional<std::uint64_t> ParseDecimal(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  constexpr std::uint64_t kCap = std::uint64_t{1} << 32;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > kCap) value = kCap;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  std::string_view rest = text.substr(pos);

  std::size_t prefix = 0;
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    prefix = 1;
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    prefix = 2;
  }
  if (prefix > 0) {
    const auto pattern = ParseHex(rest.substr(prefix));
    if (!pattern) return std::nullopt;
    const std::uint32_t bits = negative ? 0u - *pattern : *pattern;
    return static_cast<std::int32_t>(bits);
  }

  const auto magnitude = ParseDecimal(rest);
  if (!magnitude) return std::nullopt;
  if (negative) {
    if (*magnitude > std::uint64_t{2147483648}) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
  }
  if (*magnitude > std::uint64_t{2147483647}) return std::nullopt;
  return static_cast<std::int32_t>(*magnitude);
}

std::string InvalidIntegerMessage(std::string_view text, std::string_view fieldName) {
  std::string message = "'";
  message += text;
  message += "' is not a valid integer value for field '";
  message += fieldName;
  message += "'";
  return message;
}

std::string FormatInteger(std::int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace tolvaro
