// The day-count date-time: calendar, texts, the database form, the edges.
#include "base/date_time.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace varnel {
namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return DateTime::FromParts({y, mo, d, h, mi, s, ms});
}

TEST(DateTime, DayCountStartsOn30December1899) {
  EXPECT_EQ(DateTime().days(), 0.0);
  EXPECT_EQ(DateText(DateTime()), "1899-12-30");
  EXPECT_EQ(TimeText(DateTime()), "00:00:00");
  EXPECT_EQ(DateTime::FromDate(1900, 1, 1).days(), 2.0);
  EXPECT_EQ(DateTime::FromDate(2015, 1, 5).days(), 42009.0);
  EXPECT_EQ(At(1899, 12, 31, 6).days(), 1.25);
  EXPECT_EQ(At(1899, 12, 29, 6).days(), -1.25);  // fraction counts forward from midnight
  EXPECT_EQ(DateTimeText(DateTime(-1.25)), "1899-12-29T06:00:00");
}

TEST(DateTime, TextsDropFractionsOfASecond) {
  EXPECT_EQ(DateTimeText(At(2015, 1, 5, 9, 7, 3, 600)), "2015-01-05T09:07:03");
  EXPECT_EQ(DateTimeText(At(2016, 3, 1, 23, 59, 59, 999)), "2016-03-01T23:59:59");
  EXPECT_EQ(DateText(DateTime::FromDate(987, 6, 5)), "0987-06-05");
  EXPECT_EQ(DateText(DateTime::FromDate(9999, 12, 31)), "9999-12-31");
  const DateTimeParts p = At(2016, 2, 29, 13, 45, 10).Decode();
  EXPECT_EQ(p.year, 2016);
  EXPECT_EQ(p.month, 2);
  EXPECT_EQ(p.day, 29);
  EXPECT_EQ(p.hour, 13);
  EXPECT_EQ(p.minute, 45);
  EXPECT_EQ(p.second, 10);
}

TEST(DateTime, DatePartCutsTheTimeOfDay) {
  EXPECT_EQ(At(2016, 1, 31, 10, 30).DatePart(), DateTime::FromDate(2016, 1, 31));
  EXPECT_EQ(DateTime(-1.25).DatePart().days(), -1.0);
  EXPECT_EQ(At(2016, 1, 31, 10, 30).Month(), 1);
}

TEST(DateTime, DatabaseTextRoundTrips) {
  EXPECT_EQ(At(2016, 1, 31, 10, 30, 5).DatabaseText(), "2016-01-31 10:30:05");
  EXPECT_EQ(DateTime::ParseDatabaseText("2016-01-31 10:30:05"), At(2016, 1, 31, 10, 30, 5));
  EXPECT_EQ(DateTime::ParseDatabaseText("2016-01-31"), DateTime::FromDate(2016, 1, 31));
  EXPECT_EQ(DateTime::ParseDatabaseText("2016-01-31T10:30"), At(2016, 1, 31, 10, 30));
  EXPECT_EQ(DateTime::ParseDatabaseText("2016-01-31 10:30:05.25"), At(2016, 1, 31, 10, 30, 5, 250));
  for (const char* bad : {"", "2016-1-31", "2016-02-30", "2016-01-31 24:00:00", "31/01/2016",
                          "2016-01-31 10:30:05x", "2016-01-31 10:3"}) {
    EXPECT_FALSE(DateTime::ParseDatabaseText(bad).has_value()) << bad;
  }
}

TEST(DateTime, PreviousMonthIsTheDefaultPeriod) {
  const struct {
    DateTime today;
    const char* first;
    const char* last;
  } cases[] = {
      {At(2016, 1, 15, 10), "2015-12-01", "2015-12-31"},
      {At(2016, 3, 31), "2016-02-01", "2016-02-29"},
      {At(2015, 3, 31), "2015-02-01", "2015-02-28"},
      {At(2016, 5, 1), "2016-04-01", "2016-04-30"},
  };
  for (const auto& c : cases) {
    const Period period = PreviousMonth(c.today);
    EXPECT_EQ(DateTimeText(period.first), std::string(c.first) + "T00:00:00");
    EXPECT_EQ(DateTimeText(period.last), std::string(c.last) + "T00:00:00");
  }
}

TEST(DateTime, ImpossibleValuesRaise) {
  EXPECT_THROW(DateTime::FromDate(2015, 2, 29), ConversionError);
  EXPECT_THROW(DateTime::FromDate(0, 1, 1), ConversionError);
  EXPECT_THROW(DateText(DateTime(1e12)), ConversionError);
  EXPECT_THROW(DateText(DateTime(-1e12)), ConversionError);
  EXPECT_EQ(DaysInMonth(2016, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

}  // namespace
}  // namespace varnel
