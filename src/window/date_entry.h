// DateEntry: what a date field (dd/MM/yyyy) does with the keys an operator
// types, for both views. Digits typed into a part replace it; a part is
// complete after two digits (four for the year), or after one digit that no
// second digit could follow (a day from 4, a month from 2), and the typing
// then moves on to the next part. Up and Down step the part, wrapping the
// day within its month and the month within its year.
//
// The day the operator asked for is kept as the intent: "31" typed while the
// field shows November shows 30, but when the month typed next is March the
// field shows 31/03, so "31032016" typed over any date gives 31/03/2016. A
// month or year, typed or stepped, clamps the intended day only when the
// month it lands on is shorter (31/01, Up on the month: 29/02 in 2016, Up
// again: 31/03). Only a day typed or stepped, or a date set from outside
// (the calendar, the window model), changes the intent.
//
// States: idle (no digits pending) or typing a part (the digits so far show
// in the text in place of the part). A year left with two digits typed is
// taken in this century ("16" is 2016); any other incomplete part is dropped.
#pragma once

#include <string>
#include <utility>

namespace varnel {

enum class DatePart { Day, Month, Year };

class DateEntry {
 public:
  static constexpr int kFirstYear = 1900;
  static constexpr int kLastYear = 9999;

  DateEntry() = default;
  DateEntry(int year, int month, int day) { set(year, month, day); }

  // A date shown from outside: the intent follows it; typing is dropped.
  void set(int year, int month, int day);
  // The part under the cursor; ends any typing first.
  void selectPart(DatePart part);
  void typeDigit(int digit);
  // Up (+1) or Down (-1), or several steps at once (a wheel, Page keys).
  void step(int steps);
  // The field lost the focus, or a key other than a digit came.
  void endTyping();

  int year() const { return m_year; }
  int month() const { return m_month; }
  int day() const { return m_day; }
  int intendedDay() const { return m_intended_day; }
  DatePart part() const { return m_part; }
  bool typing() const { return !m_pending.empty(); }
  // "31/03/2016"; the part being typed shows its digits so far ("31/0/2016").
  std::string text() const;
  // Where the current part stands in text(): its first character and length.
  std::pair<int, int> partRange() const;

 private:
  void applyDay(int day);
  void applyMonth(int month);
  void applyYear(int year);
  void completePart();
  void typeDay(int digit, int value);
  void typeMonth(int digit, int value);
  void typeYear(int value);
  std::string partText(DatePart part) const;

  int m_year = 2000;
  int m_month = 1;
  int m_day = 1;
  int m_intended_day = 1;
  DatePart m_part = DatePart::Day;
  std::string m_pending;  // the digits typed into m_part so far
};

}  // namespace varnel
