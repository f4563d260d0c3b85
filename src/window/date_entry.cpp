// The date field's typing and stepping. A typed value that could still grow
// ("1" in the day, which may become 12) is shown and taken at once, so a
// field left in the middle of a part keeps what it shows; a digit that
// cannot continue the part ("39" as a day) starts it again with that digit.
#include "window/date_entry.h"

#include <algorithm>

#include "base/date_time.h"

namespace varnel {

namespace {

std::string TwoDigits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

}  // namespace

void DateEntry::set(int year, int month, int day) {
  m_pending.clear();
  m_year = std::clamp(year, kFirstYear, kLastYear);
  m_month = std::clamp(month, 1, 12);
  m_day = std::clamp(day, 1, DaysInMonth(m_year, m_month));
  m_intended_day = m_day;
}

void DateEntry::selectPart(DatePart part) {
  endTyping();
  m_part = part;
}

void DateEntry::endTyping() {
  if (m_part == DatePart::Year && m_pending.size() == 2) applyYear(2000 + std::stoi(m_pending));
  m_pending.clear();
}

void DateEntry::applyDay(int day) {
  m_intended_day = day;
  m_day = std::min(day, DaysInMonth(m_year, m_month));
}

void DateEntry::applyMonth(int month) {
  m_month = month;
  m_day = std::min(m_intended_day, DaysInMonth(m_year, m_month));
}

void DateEntry::applyYear(int year) {
  m_year = year;
  m_day = std::min(m_intended_day, DaysInMonth(m_year, m_month));
}

void DateEntry::completePart() {
  m_pending.clear();
  if (m_part == DatePart::Day) {
    m_part = DatePart::Month;
  } else if (m_part == DatePart::Month) {
    m_part = DatePart::Year;
  }
}

void DateEntry::typeDigit(int digit) {
  if (digit < 0 || digit > 9) return;
  m_pending += static_cast<char>('0' + digit);
  const int value = std::stoi(m_pending);
  switch (m_part) {
    case DatePart::Day: typeDay(digit, value); break;
    case DatePart::Month: typeMonth(digit, value); break;
    case DatePart::Year: typeYear(value); break;
  }
}

void DateEntry::typeDay(int digit, int value) {
  if (m_pending.size() == 1) {
    if (digit >= 1) applyDay(digit);
    if (digit >= 4) completePart();
  } else if (value >= 1 && value <= 31) {
    applyDay(value);
    completePart();
  } else {
    m_pending.clear();
    typeDigit(digit);
  }
}

void DateEntry::typeMonth(int digit, int value) {
  if (m_pending.size() == 1) {
    if (digit >= 1) applyMonth(digit);
    if (digit >= 2) completePart();
  } else if (value >= 1 && value <= 12) {
    applyMonth(value);
    completePart();
  } else {
    m_pending.clear();
    typeDigit(digit);
  }
}

// The year takes effect with its fourth digit; a year outside the field's
// range is dropped and the part starts again.
void DateEntry::typeYear(int value) {
  if (m_pending.size() < 4) return;
  if (value >= kFirstYear && value <= kLastYear) applyYear(value);
  m_pending.clear();
}

void DateEntry::step(int steps) {
  endTyping();
  switch (m_part) {
    case DatePart::Day: {
      const int length = DaysInMonth(m_year, m_month);
      const int day = ((m_day - 1 + steps) % length + length) % length + 1;
      applyDay(day);
      break;
    }
    case DatePart::Month: applyMonth(((m_month - 1 + steps) % 12 + 12) % 12 + 1); break;
    case DatePart::Year: applyYear(std::clamp(m_year + steps, kFirstYear, kLastYear)); break;
  }
}

std::string DateEntry::partText(DatePart part) const {
  if (part == m_part && typing()) return m_pending;
  switch (part) {
    case DatePart::Day: return TwoDigits(m_day);
    case DatePart::Month: return TwoDigits(m_month);
    case DatePart::Year: return std::to_string(m_year);
  }
  return {};
}

std::string DateEntry::text() const {
  return partText(DatePart::Day) + "/" + partText(DatePart::Month) + "/" + partText(DatePart::Year);
}

std::pair<int, int> DateEntry::partRange() const {
  const int day = static_cast<int>(partText(DatePart::Day).size());
  const int month = static_cast<int>(partText(DatePart::Month).size());
  switch (m_part) {
    case DatePart::Day: return {0, day};
    case DatePart::Month: return {day + 1, month};
    case DatePart::Year: return {day + month + 2, static_cast<int>(partText(DatePart::Year).size())};
  }
  return {0, 0};
}

}  // namespace varnel
