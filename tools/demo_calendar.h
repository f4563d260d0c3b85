// Calendar days for the demo generator: a day is a count of days from
// 1970-01-01 in the proleptic Gregorian calendar, so a period is two integers
// and days step by one. Texts are the forms the point-of-sale database keeps:
// "YYYY-MM-DD" for a day and "YYYY-MM-DD HH:MM:SS" for a date-time, built from
// digits only (no locale, no stream formatting).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnel::demo {

struct CivilDate {
  int year = 1970;
  int month = 1;
  int day = 1;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

std::int64_t DayNumber(const CivilDate& date);
CivilDate DateOfDay(std::int64_t day);

// Reads exactly "YYYY-MM-DD" naming a real calendar day; nullopt otherwise.
std::optional<CivilDate> ParseIsoDate(std::string_view text);

std::string DayText(std::int64_t day);                           // "YYYY-MM-DD"
std::string DayTimeText(std::int64_t day, int seconds_of_day);  // "YYYY-MM-DD HH:MM:SS"

// The first and last day of the calendar month before the one holding today.
struct DayPeriod {
  std::int64_t first_day = 0;
  std::int64_t last_day = 0;
  std::int64_t length() const { return last_day - first_day + 1; }
};
DayPeriod PreviousMonth(const CivilDate& today);

// Today's date on this machine's local clock.
CivilDate LocalToday();

}  // namespace varnel::demo
