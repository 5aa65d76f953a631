#pragma once

#include <optional>

// Day numbers count days in the proleptic Gregorian calendar, 1 January of year 1 being day 1
// (30 December 1899 is day 693594). Years run from 1 to 9999.
struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator==(const CivilDate&) const = default;
};

constexpr int kFirstDayNumber = 1;       // 0001-01-01
constexpr int kLastDayNumber = 3652059;  // 9999-12-31
constexpr int kDayNumberOf18991230 = 693594;

bool IsValidCivilDate(const CivilDate& date);
// nullopt when the date is not a valid date of years 1 to 9999.
std::optional<int> DayNumberFromCivil(const CivilDate& date);
// Requires kFirstDayNumber <= dayNumber <= kLastDayNumber.
CivilDate CivilFromDayNumber(int dayNumber);
