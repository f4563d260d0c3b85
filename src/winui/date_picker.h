// DatePickerKeys: the common controls' date picker of the Win32 view with
// the keys of the window model's DateEntry, so it types and steps as the Qt
// view's field does. The picker's own handling loses days: it refuses a day
// beyond the month it shows, clamps the day for good when a shorter month
// passes by, and does not move on to the month when the day is typed
// ("31032016" typed over 30/11/2026 gives 16/11/2026 under Wine; "31",
// Right, "03", Right, "2016" gives 30/03/2016). Subclassed, the picker takes
// its digits, Up and Down from the entry: digits replace the part and move
// on when it is complete, a day beyond the month is kept until the month and
// year are typed, and steps across months keep the intended day. The
// picker still draws the date, moves its highlight (Left, Right, a click,
// which the entry follows), opens its calendar and handles every other key;
// what it changes on its own comes back through follow().
//
// Lives as long as the dialog's picker; the subclass is removed with it.
#pragma once

#include <windows.h>

#include <functional>

#include "base/date_time.h"
#include "window/date_entry.h"

namespace varnel {

class DatePickerKeys {
 public:
  // changed: the date the entry set, for the window model.
  DatePickerKeys(HWND picker, std::function<void(DateTime)> changed);
  ~DatePickerKeys();
  DatePickerKeys(const DatePickerKeys&) = delete;
  DatePickerKeys& operator=(const DatePickerKeys&) = delete;

  // A date shown from outside (the window model, the calendar, the picker's
  // own keys): the entry follows it, unless the entry set it itself.
  void follow(DateTime day);

 private:
  static LRESULT CALLBACK Proc(HWND picker, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                               DWORD_PTR self);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  // The entry's date into the picker, and to the window model.
  void apply();
  void endTyping();
  // Moves the picker's highlight to the entry's part.
  void highlight(DatePart from);
  void selectDayInPicker();
  DatePart partAt(int x) const;

  HWND m_picker;
  std::function<void(DateTime)> m_changed;
  DateEntry m_entry;
  bool m_applying = false;
};

}  // namespace varnel
