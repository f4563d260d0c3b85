// DateField: the window's date picker, a QDateEdit whose keys follow the
// window model's DateEntry, so it types and steps as the Win32 view's field
// does. Digits typed at the cursor replace the part under it (even with
// nothing selected) and move on when the part is complete; a day beyond the
// shown month is kept until the month and year are typed ("31032016" over
// 30/11/2026 gives 31/03/2016). Up, Down and the wheel step the part under
// the cursor, wrapping the day within its month and the month within its
// year, and keep the intended day across months. Left and Right move between
// the parts; Tab leaves the field for the next one instead of stepping
// through its parts. The calendar, the window model and every other key
// set the date as Qt does, and the entry follows.
#pragma once

#include <QDateEdit>

#include "window/date_entry.h"

namespace varnel {

class DateField : public QDateEdit {
  Q_OBJECT

 public:
  explicit DateField(QWidget* parent = nullptr);

  void stepBy(int steps) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  // The entry's part follows the cursor while no digits are pending.
  void follow_cursor();
  // The entry's date and text into the widget, its part selected.
  void show_entry();
  void end_typing();

  DateEntry m_entry;
  bool m_showing = false;  // the widget's date is being set from the entry
};

}  // namespace varnel
