// Date-time values as the point-of-sale database and the audit file know them:
// a day count with the time of day as its fraction, zero at 30 December 1899
// midnight (so 1.25 is 31 December 1899 06:00). Before that day the fraction
// still counts forward from midnight (-1.25 is 29 December 1899 06:00).
// Decoding works to the millisecond and drops fractions of a second in texts.
// Years 1 to 9999 are representable; anything else raises ConversionError.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class DateTime {
 public:
  constexpr DateTime() = default;
  explicit constexpr DateTime(double days) : m_days(days) {}

  // Raises ConversionError for an impossible calendar date or time.
  static DateTime FromDate(int year, int month, int day);
  static DateTime FromParts(const DateTimeParts& parts);

  // Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS[.fff]]" (a "T" may stand for
  // the blank), the form the embedded database stores. nullopt when the text
  // is not such a date.
  static std::optional<DateTime> ParseDatabaseText(std::string_view text);
  // "YYYY-MM-DD HH:MM:SS", the form date-time parameters are bound in.
  std::string DatabaseText() const;

  static DateTime Now();    // local time of the machine
  static DateTime Today();  // Now() without its time of day

  constexpr double days() const { return m_days; }
  // The day number cut toward zero, given back at midnight.
  DateTime DatePart() const;
  DateTimeParts Decode() const;
  int Year() const { return Decode().year; }
  int Month() const { return Decode().month; }
  int Day() const { return Decode().day; }

  friend constexpr auto operator<=>(DateTime, DateTime) = default;
  friend constexpr bool operator==(DateTime, DateTime) = default;

 private:
  double m_days = 0.0;
};

// Days in a month of the Gregorian calendar (month 1 to 12).
int DaysInMonth(int year, int month);

// The default export period: the whole calendar month before the month of
// today (15 January 2016 gives 1 to 31 December 2015), both at midnight.
struct Period {
  DateTime first;
  DateTime last;
};
Period PreviousMonth(DateTime today);

std::string DateText(DateTime value);      // "yyyy-mm-dd"
std::string TimeText(DateTime value);      // "hh:nn:ss", 24-hour clock
std::string DateTimeText(DateTime value);  // DateText + "T" + TimeText

}  // namespace varnel
