#include "platform/Calendar.h"

namespace {

// Day numbers are counted here from 1 March of year 0, so that the leap day ends each
// counted year; 1 January of year 1 is day 306 of that count.
constexpr int kDaysBeforeDayNumberOne = 305;
constexpr int kDaysPer400Years = 146097;

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidCivilDate(const CivilDate& date) {
  return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
         date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

std::optional<int> DayNumberFromCivil(const CivilDate& date) {
  if (!IsValidCivilDate(date)) return std::nullopt;
  const int year = date.month <= 2 ? date.year - 1 : date.year;
  const int era = year / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear =
      (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysPer400Years + dayOfEra - kDaysBeforeDayNumberOne;
}

CivilDate CivilFromDayNumber(int dayNumber) {
  // Unsigned arithmetic: day numbers start at 1, and the divisions by constants come cheaper.
  const unsigned days = static_cast<unsigned>(dayNumber + kDaysBeforeDayNumberOne);
  const unsigned era = days / kDaysPer400Years;
  const unsigned dayOfEra = days - era * kDaysPer400Years;
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
  const unsigned month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  return {.year = static_cast<int>(era * 400 + yearOfEra + (month <= 2 ? 1 : 0)),
          .month = static_cast<int>(month),
          .day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1)};
}
