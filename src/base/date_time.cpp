// Calendar arithmetic for the day-count date-time. The civil calendar
// conversion is the proleptic Gregorian one; texts are built by hand so no
// locale can change them.
#include "base/date_time.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "base/errors.h"
#include "platform/local_time.h"

namespace varnel {

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

// Days since 1970-01-01 of a Gregorian date (valid for any year).
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

// Day 0 of the day count, 30 December 1899, counted from 1970-01-01.
constexpr std::int64_t kEpochOffset = -DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstSerial = DaysFromCivil(1, 1, 1) + kEpochOffset;
constexpr std::int64_t kLastSerial = DaysFromCivil(9999, 12, 31) + kEpochOffset;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

void AppendPadded(std::string& out, int value, int width) {
  char digits[12];
  int length = 0;
  do {
    digits[length++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = length; i < width; ++i) out.push_back('0');
  while (length > 0) out.push_back(digits[--length]);
}

bool ReadDigits(std::string_view text, std::size_t& pos, std::size_t count, int& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += count;
  return true;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

Period PreviousMonth(DateTime today) {
  const DateTimeParts p = today.Decode();
  const int year = p.month == 1 ? p.year - 1 : p.year;
  const int month = p.month == 1 ? 12 : p.month - 1;
  return {DateTime::FromDate(year, month, 1), DateTime::FromDate(year, month, DaysInMonth(year, month))};
}

DateTime DateTime::FromDate(int year, int month, int day) {
  DateTimeParts parts;
  parts.year = year;
  parts.month = month;
  parts.day = day;
  return FromParts(parts);
}

DateTime DateTime::FromParts(const DateTimeParts& p) {
  if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
      p.day > DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
      p.minute > 59 || p.second < 0 || p.second > 59 || p.millisecond < 0 ||
      p.millisecond > 999) {
    throw ConversionError("Invalid date or time");
  }
  const std::int64_t serial =
      DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) +
      kEpochOffset;
  const double fraction =
      ((p.hour * 60.0 + p.minute) * 60.0 + p.second) * 1000.0 + p.millisecond;
  const double time = fraction / kMillisecondsPerDay;
  // Before day 0 the time of day still counts forward from midnight, so it is
  // subtracted from the (negative) day number.
  return DateTime(serial >= 0 ? static_cast<double>(serial) + time
                              : static_cast<double>(serial) - time);
}

std::optional<DateTime> DateTime::ParseDatabaseText(std::string_view text) {
  DateTimeParts p;
  std::size_t pos = 0;
  if (!ReadDigits(text, pos, 4, p.year) || pos >= text.size() || text[pos++] != '-' ||
      !ReadDigits(text, pos, 2, p.month) || pos >= text.size() || text[pos++] != '-' ||
      !ReadDigits(text, pos, 2, p.day)) {
    return std::nullopt;
  }
  if (pos < text.size()) {
    if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
    ++pos;
    if (!ReadDigits(text, pos, 2, p.hour) || pos >= text.size() || text[pos++] != ':' ||
        !ReadDigits(text, pos, 2, p.minute)) {
      return std::nullopt;
    }
    if (pos < text.size()) {
      if (text[pos++] != ':' || !ReadDigits(text, pos, 2, p.second)) return std::nullopt;
      if (pos < text.size()) {
        if (text[pos++] != '.') return std::nullopt;
        // Fractions of a second: milliseconds from the first three digits.
        int digits = 0;
        int millis = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
          if (digits < 3) millis = millis * 10 + (text[pos] - '0');
          ++digits;
          ++pos;
        }
        if (digits == 0 || pos != text.size()) return std::nullopt;
        for (int i = digits; i < 3; ++i) millis *= 10;
        p.millisecond = millis;
      }
    }
  }
  try {
    return FromParts(p);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::string DateTime::DatabaseText() const {
  return DateText(*this) + " " + TimeText(*this);
}

DateTime DateTime::Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const std::tm local = platform::LocalTime(seconds);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                          now.time_since_epoch()) % 1000;
  DateTimeParts p;
  p.year = local.tm_year + 1900;
  p.month = local.tm_mon + 1;
  p.day = local.tm_mday;
  p.hour = local.tm_hour;
  p.minute = local.tm_min;
  p.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // leap second
  p.millisecond = static_cast<int>(millis.count());
  return FromParts(p);
}

DateTime DateTime::Today() { return Now().DatePart(); }

DateTime DateTime::DatePart() const { return DateTime(std::trunc(m_days)); }

DateTimeParts DateTime::Decode() const {
  if (!std::isfinite(m_days)) throw ConversionError("Invalid date-time value");
  const double whole = std::trunc(m_days);
  if (whole < static_cast<double>(kFirstSerial) || whole > static_cast<double>(kLastSerial)) {
    throw ConversionError("Date outside the years 1 to 9999");
  }
  const std::int64_t serial = static_cast<std::int64_t>(whole);
  long long millis = std::llround(std::fabs(m_days - whole) * kMillisecondsPerDay);
  if (millis >= 86400000LL) millis = 86399999LL;  // a hair before midnight stays that day
  DateTimeParts p;
  CivilFromDays(serial - kEpochOffset, p.year, p.month, p.day);
  p.millisecond = static_cast<int>(millis % 1000);
  millis /= 1000;
  p.second = static_cast<int>(millis % 60);
  millis /= 60;
  p.minute = static_cast<int>(millis % 60);
  p.hour = static_cast<int>(millis / 60);
  return p;
}

std::string DateText(DateTime value) {
  const DateTimeParts p = value.Decode();
  std::string text;
  text.reserve(10);
  AppendPadded(text, p.year, 4);
  text.push_back('-');
  AppendPadded(text, p.month, 2);
  text.push_back('-');
  AppendPadded(text, p.day, 2);
  return text;
}

std::string TimeText(DateTime value) {
  const DateTimeParts p = value.Decode();
  std::string text;
  text.reserve(8);
  AppendPadded(text, p.hour, 2);
  text.push_back(':');
  AppendPadded(text, p.minute, 2);
  text.push_back(':');
  AppendPadded(text, p.second, 2);
  return text;
}

std::string DateTimeText(DateTime value) { return DateText(value) + "T" + TimeText(value); }

}  // namespace varnel
