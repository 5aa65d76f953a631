#include "platform/JapaneseLocale.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Calendar.h"

namespace {

using japanese_locale::FormatShortDate;
using japanese_locale::ParseShortDate;

TEST(JapaneseLocaleTest, FormatsShortDates) {
  const std::vector<std::pair<int, std::string>> cases = {
      {1, "0001/01/01"},
      {364604, "0999/04/02"},
      {693594, "1899/12/30"},
      {732109, "2005/06/12"},
      {3652059, "9999/12/31"},
      {0, ""},
      {-1, ""},
      {3652060, ""},
  };
  for (const auto& [dayNumber, text] : cases) {
    EXPECT_EQ(FormatShortDate(dayNumber), text);
  }
}

TEST(JapaneseLocaleTest, ParsesShortDates) {
  const std::vector<std::pair<std::string, std::optional<int>>> cases = {
      {"2005/06/12", 732109},
      {"2005/6/12", 732109},
      {" \t2005/6/12\r\n", 732109},
      {"1/1/1", 1},
      {"0001/01/01", 1},
      {"9999/12/31", 3652059},
      {"2000/2/29", 730179},
      {"1900/2/29", std::nullopt},
      {"0/1/1", std::nullopt},
      {"12345/1/1", std::nullopt},
      {"2005/006/12", std::nullopt},
      {"2005/6/123", std::nullopt},
      {"2005/13/1", std::nullopt},
      {"2005-06-12", std::nullopt},
      {"2005/ 6/12", std::nullopt},
      {"+2005/6/12", std::nullopt},
      {"2005/6/12/", std::nullopt},
      {"2005//12", std::nullopt},
      {"/6/12", std::nullopt},
      {"2005/6/", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
  };
  for (const auto& [text, dayNumber] : cases) {
    EXPECT_EQ(ParseShortDate(text), dayNumber) << text;
  }
}

TEST(JapaneseLocaleTest, FormattedDatesParseBack) {
  std::vector<int> dayNumbers = {kFirstDayNumber, kLastDayNumber};
  for (int dayNumber = kFirstDayNumber; dayNumber <= kLastDayNumber; dayNumber += 997) {
    dayNumbers.push_back(dayNumber);
  }
  for (const int dayNumber : dayNumbers) {
    EXPECT_EQ(ParseShortDate(FormatShortDate(dayNumber)), dayNumber) << dayNumber;
  }
}

}  // namespace
