#include "platform/JapaneseLocale.h"

#include <cstdio>

#include "platform/Calendar.h"

namespace japanese_locale {
namespace {

constexpr bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}
constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Takes 1 to `maxDigits` decimal digits from the front of `text`.
std::optional<int> TakeNumber(std::string_view& text, std::size_t maxDigits) {
  std::size_t length = 0;
  int value = 0;
  while (length < text.size() && length < maxDigits && IsDigit(text[length])) {
    value = value * 10 + (text[length] - '0');
    ++length;
  }
  if (length == 0) return std::nullopt;
  text.remove_prefix(length);
  return value;
}

}  // namespace

std::string FormatShortDate(int dayNumber) {
  if (dayNumber < kFirstDayNumber || dayNumber > kLastDayNumber) return {};
  const CivilDate date = CivilFromDayNumber(dayNumber);
  char text[sizeof "yyyy/mm/dd"];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year, date.month, date.day);
  return text;
}

std::optional<int> ParseShortDate(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  constexpr std::size_t kMaxDigits[] = {4, 2, 2};
  int fields[3] = {};
  for (std::size_t field = 0; field < 3; ++field) {
    if (field > 0) {
      if (!text.starts_with('/')) return std::nullopt;
      text.remove_prefix(1);
    }
    const std::optional<int> number = TakeNumber(text, kMaxDigits[field]);
    if (!number) return std::nullopt;
    fields[field] = *number;
  }
  if (!text.empty()) return std::nullopt;
  return DayNumberFromCivil({.year = fields[0], .month = fields[1], .day = fields[2]});
}

}  // namespace japanese_locale
