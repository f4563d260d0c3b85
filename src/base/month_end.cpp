// The days a period leaves out at the end of its last month, in words.
#include "base/month_end.h"

namespace varnel {

namespace {

// "31/03/2016", as the date fields show a day.
std::string DayText(int year, int month, int day) {
  std::string text;
  for (const int two_digits : {day, month}) {
    text += static_cast<char>('0' + two_digits / 10);
    text += static_cast<char>('0' + two_digits % 10);
    text += '/';
  }
  return text + std::to_string(year);
}

}  // namespace

std::string MonthEndLeftOutText(DateTime first, DateTime last) {
  if (last < first) return {};
  const DateTimeParts start = first.Decode();
  const DateTimeParts end = last.Decode();
  const int month_length = DaysInMonth(end.year, end.month);
  const int left_out = month_length - end.day;
  if (start.day != 1 || left_out < 1 || left_out > 2) return {};
  std::string text = "A data final, " + DayText(end.year, end.month, end.day) + ", deixa de fora ";
  if (left_out == 1) {
    text += "o dia " + DayText(end.year, end.month, month_length) + ", o último do mês.";
  } else {
    text += "os dias " + DayText(end.year, end.month, month_length - 1) + " e " +
            DayText(end.year, end.month, month_length) + ", os últimos do mês.";
  }
  return text;
}

}  // namespace varnel
