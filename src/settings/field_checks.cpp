#include "settings/field_checks.h"

#include <algorithm>
#include <limits>

#include "platform/ascii_text.h"

namespace animark {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
  text = text.substr(0, 31);
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const bool startsWithZero = i < text.size() && text[i] == '0';

  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    magnitude = std::min(kCap, magnitude * 10 + (text[i] - '0'));
  }
  while (i < text.size() && IsBlank(text[i])) ++i;

  const std::int64_t value = negative ? -magnitude : magnitude;
  if ((value == 0 && !startsWithZero) || i != text.size()) return std::nullopt;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

std::optional<std::string> CheckRange(std::int32_t value, IntegerRange range) {
  if (value >= range.minimum && value <= range.maximum) return std::nullopt;
  return "Please enter an integer between " + std::to_string(range.minimum) + " and " +
         std::to_string(range.maximum) + ".";
}

std::optional<std::string> CheckLength(std::string_view text, std::size_t limit) {
  std::size_t characters = 0;
  for (const char c : text) {
    // Every byte but a UTF-8 continuation byte starts a character.
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  if (characters <= limit) return std::nullopt;
  return "Please enter no more than " + std::to_string(limit) + " characters.";
}

}  // namespace animark
