// Calendar days for the demo generator, on top of the exporter's own
// date-time: a day number since 1970-01-01 is the day count since 30 December
// 1899 less 25569, and the texts are the ones the exporter formats.
#include "tools/demo_calendar.h"

#include "base/date_time.h"

namespace varnel::demo {

namespace {

// 1970-01-01 in the exporter's day count (which starts on 30 December 1899).
constexpr std::int64_t kUnixEpochDay = 25569;

DateTime AtDay(std::int64_t day) { return DateTime(static_cast<double>(day + kUnixEpochDay)); }

std::int64_t DayOf(DateTime value) { return static_cast<std::int64_t>(value.DatePart().days()) - kUnixEpochDay; }

}  // namespace

std::int64_t DayNumber(const CivilDate& date) { return DayOf(DateTime::FromDate(date.year, date.month, date.day)); }

CivilDate DateOfDay(std::int64_t day) {
  const DateTimeParts parts = AtDay(day).Decode();
  return {parts.year, parts.month, parts.day};
}

std::optional<CivilDate> ParseIsoDate(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  const auto parsed = DateTime::ParseDatabaseText(text);
  if (!parsed) return std::nullopt;
  return DateOfDay(DayOf(*parsed));
}

std::string DayText(std::int64_t day) { return DateText(AtDay(day)); }

std::string DayTimeText(std::int64_t day, int seconds_of_day) {
  DateTimeParts parts = AtDay(day).Decode();
  parts.hour = seconds_of_day / 3600;
  parts.minute = seconds_of_day / 60 % 60;
  parts.second = seconds_of_day % 60;
  return DateTime::FromParts(parts).DatabaseText();
}

DayPeriod PreviousMonth(const CivilDate& today) {
  const Period period = varnel::PreviousMonth(DateTime::FromDate(today.year, today.month, today.day));
  return {DayOf(period.first), DayOf(period.last)};
}

CivilDate LocalToday() { return DateOfDay(DayOf(DateTime::Today())); }

}  // namespace varnel::demo
