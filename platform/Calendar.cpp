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
  const int days = dayNumber + kDaysBeforeDayNumberOne;
  const int era = days / kDaysPer400Years;
  const int dayOfEra = days - era * kDaysPer400Years;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  return {.year = era * 400 + yearOfEra + (month <= 2 ? 1 : 0),
          .month = month,
          .day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1};
}
