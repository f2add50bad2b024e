#pragma once
// The checks a settings field passes when it is taken from the user, shared by the form and the
// command line so that both refuse the same values with the same messages.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace animark {

struct IntegerRange {
  std::int32_t minimum;
  std::int32_t maximum;
};

inline constexpr IntegerRange kIterationsRange{-1, 65535};
inline constexpr IntegerRange kPersistenceRange{0, 65535};
inline constexpr IntegerRange kRateRange{1, 65535};
inline constexpr IntegerRange kPauseRange{1, 65535};
inline constexpr IntegerRange kRingCountRange{0, 99};

inline constexpr std::size_t kCommentsLimit = 255;  // characters
inline constexpr std::size_t kPathLimit = 256;      // characters

inline constexpr const char* kNotAnIntegerMessage = "Please enter an integer.";
inline constexpr const char* kNotADateMessage = "Please enter a date and/or time.";

// Reads a whole number as typed: blanks and tabs around it, an optional sign, decimal digits
// (saturating at the 32-bit limits); only the first 31 characters count. Nothing when the text is
// empty, a signed zero, has no leading digits or anything else after them.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

// "Please enter an integer between %1 and %2." when `value` lies outside `range`.
std::optional<std::string> CheckRange(std::int32_t value, IntegerRange range);

// "Please enter no more than %1 characters." when `text` (UTF-8) has more characters than
// `limit`.
std::optional<std::string> CheckLength(std::string_view text, std::size_t limit);

}  // namespace animark
