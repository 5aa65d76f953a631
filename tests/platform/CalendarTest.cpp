#include "platform/Calendar.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(CalendarTest, KnownDayNumbers) {
  const std::vector<std::pair<int, CivilDate>> cases = {
      {1, {1, 1, 1}},           {59, {1, 2, 28}},       {60, {1, 3, 1}},
      {693594, {1899, 12, 30}}, {693655, {1900, 3, 1}}, {730179, {2000, 2, 29}},
      {732109, {2005, 6, 12}},  {766704, {2100, 3, 1}}, {3652059, {9999, 12, 31}},
  };
  for (const auto& [dayNumber, date] : cases) {
    EXPECT_EQ(CivilFromDayNumber(dayNumber), date) << dayNumber;
    EXPECT_EQ(DayNumberFromCivil(date), dayNumber) << dayNumber;
  }
}

TEST(CalendarTest, ChecksDates) {
  const std::vector<std::pair<CivilDate, bool>> cases = {
      {{2004, 2, 29}, true},  {{2000, 2, 29}, true},  {{1900, 2, 29}, false},
      {{2100, 2, 29}, false}, {{2005, 2, 29}, false}, {{2005, 4, 30}, true},
      {{2005, 4, 31}, false}, {{2005, 12, 31}, true}, {{2005, 13, 1}, false},
      {{2005, 0, 1}, false},  {{2005, 1, 0}, false},  {{0, 12, 31}, false},
      {{1, 1, 1}, true},      {{9999, 12, 31}, true}, {{10000, 1, 1}, false},
  };
  for (const auto& [date, valid] : cases) {
    EXPECT_EQ(IsValidCivilDate(date), valid) << date.year << "-" << date.month << "-" << date.day;
    EXPECT_EQ(DayNumberFromCivil(date).has_value(), valid);
  }
}

CivilDate NextDate(CivilDate date) {
  if (IsValidCivilDate({date.year, date.month, date.day + 1}))
    return {date.year, date.month, date.day + 1};
  if (date.month < 12) return {date.year, date.month + 1, 1};
  return {date.year + 1, 1, 1};
}

// Each day number gives the day after the previous one and converts back to itself.
TEST(CalendarTest, EveryDayFollowsThePrevious) {
  CivilDate expected{1, 1, 1};
  for (int dayNumber = kFirstDayNumber; dayNumber <= kLastDayNumber; ++dayNumber) {
    const CivilDate date = CivilFromDayNumber(dayNumber);
    ASSERT_EQ(date, expected) << dayNumber;
    ASSERT_EQ(DayNumberFromCivil(date), dayNumber);
    expected = NextDate(date);
  }
  EXPECT_EQ(expected, (CivilDate{10000, 1, 1}));
}

}  // namespace
