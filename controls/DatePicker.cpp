#include "controls/DatePicker.h"

#include "controls/InputMethodMode.h"
#include "platform/Calendar.h"
#include "platform/Failure.h"
#include "platform/JapaneseLocale.h"
#include "platform/MessageText.h"

namespace {

// Day numbers count from 1 January of year 1; QDate's Julian day numbers from 4713 BC.
constexpr qint64 kJulianDayOfDayNumberZero = 1721425;

QDate DateOf(int dayNumber) {
  return QDate::fromJulianDay(kJulianDayOfDayNumberZero + dayNumber);
}

}  // namespace

int TodayDayNumber() {
  return static_cast<int>(QDate::currentDate().toJulianDay() - kJulianDayOfDayNumberZero);
}

DatePicker::DatePicker(QWidget* parent, const QFont& font) : QDateTimeEdit(parent) {
  setFont(font);
  setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  setCalendarPopup(true);
  setMinimumDate(QDate(100, 1, 1));  // the earliest date the editor can hold
  setMaximumDate(DateOf(kLastDayNumber));
  ApplyInputMethodMode(*this, InputMethodMode::Closed);
  // The value the window was stored with: 2004-06-08 15:55:13.
  setDateTime(QDateTime(QDate(2004, 6, 8), QTime(15, 55, 13)));
}

int DatePicker::DayNumber() const {
  return static_cast<int>(date().toJulianDay() - kJulianDayOfDayNumberZero);
}

std::string DatePicker::DateText() const {
  return japanese_locale::FormatShortDate(DayNumber());
}

void DatePicker::SetDayNumber(int dayNumber) {
  if (dayNumber == kDayNumberOf18991230) {
    throw Failure(Cp932("この日付を設定するには ShowCheckbox モードになっている必要があります。"));
  }
  const QDate date = DateOf(dayNumber);
  if (date < minimumDate() || date > maximumDate()) {
    throw Failure(FormatText(Cp932("'%s' is not a valid date"),
                             {japanese_locale::FormatShortDate(dayNumber)}));
  }
  setDateTime(QDateTime(date, time()));
}

bool DatePicker::focusNextPrevChild(bool next) {
  return QWidget::focusNextPrevChild(next);
}
