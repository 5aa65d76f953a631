#pragma once

#include <QDateTimeEdit>

#include <string>

// Today's local date as a day number.
int TodayDayNumber();

// The date picker: a date and a time of day, the date shown in the short date format with a
// month calendar to drop down. Its parts are edited one at a time with digits and arrow
// keys; no free text, no check box, no range limit.
class DatePicker : public QDateTimeEdit {
 public:
  DatePicker(QWidget* parent, const QFont& font);

  // The date as a day number, and as short date text ("2004/06/08").
  int DayNumber() const;
  std::string DateText() const;
  // Replaces the date and keeps the time of day. The day of 30 December 1899 (the empty date)
  // fails with "この日付を設定するには ShowCheckbox モードになっている必要があります。", a date
  // before the year 100, which the editor cannot hold, with "'%s' is not a valid date"; the
  // picker then keeps its value.
  void SetDayNumber(int dayNumber);

 protected:
  // Tab leaves the picker at once rather than walking its parts.
  bool focusNextPrevChild(bool next) override;
};
