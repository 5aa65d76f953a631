#include <gtest/gtest.h>

#include "controls/DatePicker.h"
#include "controls/JapaneseDesktop.h"
#include "platform/Calendar.h"
#include "platform/MessageText.h"
#include "tests/support/FailureText.h"

TEST(DatePicker, ShowsItsStoredValueInTheShortDateFormat) {
  DatePicker picker(nullptr, WindowsFont(FontFace::Mincho, 15));
  EXPECT_EQ(picker.text().toStdString(), "2004/06/08");
  EXPECT_EQ(picker.DateText(), "2004/06/08");
  EXPECT_EQ(picker.time(), QTime(15, 55, 13));
}

TEST(DatePicker, SettingADateKeepsTheTimeOfDay) {
  DatePicker picker(nullptr, WindowsFont(FontFace::Mincho, 15));
  for (const CivilDate date : {CivilDate{2005, 6, 12}, CivilDate{100, 1, 1}, CivilDate{1752, 9, 2},
                               CivilDate{9999, 12, 31}}) {
    picker.SetDayNumber(*DayNumberFromCivil(date));
    EXPECT_EQ(picker.date(), QDate(date.year, date.month, date.day));
    EXPECT_EQ(picker.DayNumber(), *DayNumberFromCivil(date));
    EXPECT_EQ(picker.time(), QTime(15, 55, 13));
  }
}

TEST(DatePicker, TheEmptyDateAndDatesBeforeTheYear100FailAndKeepTheValue) {
  DatePicker picker(nullptr, WindowsFont(FontFace::Mincho, 15));
  EXPECT_EQ(FailureText([&] { picker.SetDayNumber(kDayNumberOf18991230); }),
            Cp932("この日付を設定するには ShowCheckbox モードになっている必要があります。"));
  EXPECT_EQ(FailureText([&] {
              picker.SetDayNumber(*DayNumberFromCivil({99, 12, 31}));
            }),
            "'0099/12/31' is not a valid date");
  EXPECT_EQ(picker.dateTime(), QDateTime(QDate(2004, 6, 8), QTime(15, 55, 13)));
}
