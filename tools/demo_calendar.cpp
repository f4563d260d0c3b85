// Calendar days for the demo generator. The day-number conversions are the
// classic era-based civil calendar algorithms (exact for every Gregorian
// date); texts are put together digit by digit.
#include "tools/demo_calendar.h"

#include <ctime>

namespace varnel::demo {

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

void AppendDigits(std::string& out, int value, int width) {
  char digits[12];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(digits, static_cast<std::size_t>(width));
}

}  // namespace

std::int64_t DayNumber(const CivilDate& date) {
  std::int64_t year = date.year - (date.month <= 2 ? 1 : 0);
  std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  std::int64_t year_of_era = year - era * 400;
  std::int64_t month = date.month;
  std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + date.day - 1;
  std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

CivilDate DateOfDay(std::int64_t day) {
  day += 719468;
  std::int64_t era = (day >= 0 ? day : day - 146096) / 146097;
  std::int64_t day_of_era = day - era * 146097;
  std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  CivilDate date;
  date.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  date.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  date.year = static_cast<int>(year_of_era + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

std::optional<CivilDate> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto number = [&](std::size_t from, std::size_t count) -> int {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  CivilDate date{number(0, 4), number(5, 2), number(8, 2)};
  if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > DaysInMonth(date.year, date.month)) {
    return std::nullopt;
  }
  return date;
}

std::string DayText(std::int64_t day) {
  CivilDate date = DateOfDay(day);
  std::string text;
  text.reserve(10);
  AppendDigits(text, date.year, 4);
  text += '-';
  AppendDigits(text, date.month, 2);
  text += '-';
  AppendDigits(text, date.day, 2);
  return text;
}

std::string DayTimeText(std::int64_t day, int seconds_of_day) {
  std::string text = DayText(day);
  text += ' ';
  AppendDigits(text, seconds_of_day / 3600, 2);
  text += ':';
  AppendDigits(text, seconds_of_day / 60 % 60, 2);
  text += ':';
  AppendDigits(text, seconds_of_day % 60, 2);
  return text;
}

DayPeriod PreviousMonth(const CivilDate& today) {
  int year = today.month == 1 ? today.year - 1 : today.year;
  int month = today.month == 1 ? 12 : today.month - 1;
  DayPeriod period;
  period.first_day = DayNumber({year, month, 1});
  period.last_day = DayNumber({year, month, DaysInMonth(year, month)});
  return period;
}

CivilDate LocalToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace varnel::demo
