// The date fields' keys, shared by both views: a typed day beyond the
// current month is kept as the operator's intent and applied once the month
// and year are typed, so no typed date loses a day; Up and Down on the month
// or the year clamp the intended day only where the month is shorter.
#include <gtest/gtest.h>

#include <string>

#include "window/date_entry.h"

using namespace varnel;

namespace {

void Type(DateEntry& entry, const std::string& digits) {
  for (const char c : digits) entry.typeDigit(c - '0');
}

}  // namespace

TEST(DateEntry, TypedDatesKeepEveryDay) {
  const struct {
    int year, month, day;  // the field before
    const char* typed;     // from the day part on
    const char* shown;
  } cases[] = {
      {2026, 11, 30, "31032016", "31/03/2016"},  // November's 30 days do not cut the 31
      {2026, 2, 28, "31032016", "31/03/2016"},
      {2016, 3, 31, "30112026", "30/11/2026"},
      {2026, 11, 30, "29022016", "29/02/2016"},  // leap year
      {2026, 11, 30, "29022015", "28/02/2015"},  // common year: the month is shorter
      {2026, 11, 30, "31042016", "30/04/2016"},
      {2026, 11, 30, "01012000", "01/01/2000"},
      {2026, 11, 30, "5" "6" "2017", "05/06/2017"},  // a day from 4 and a month from 2 need one digit
      {2026, 11, 30, "39", "09/11/2026"},            // "39" is no day: the 9 starts it again
      {2026, 11, 30, "3113", "31/03/2026"},          // "13" is no month: the 3 starts it again
  };
  for (const auto& c : cases) {
    DateEntry entry(c.year, c.month, c.day);
    entry.selectPart(DatePart::Day);
    Type(entry, c.typed);
    entry.endTyping();
    EXPECT_EQ(entry.text(), c.shown) << c.typed;
  }
}

TEST(DateEntry, WhatTheFieldShowsWhileTyping) {
  DateEntry entry(2026, 11, 30);
  entry.selectPart(DatePart::Day);
  entry.typeDigit(3);
  EXPECT_TRUE(entry.typing());
  EXPECT_EQ(entry.text(), "3/11/2026");
  EXPECT_EQ(entry.partRange(), (std::pair<int, int>{0, 1}));
  entry.typeDigit(1);
  EXPECT_EQ(entry.text(), "30/11/2026");  // November has 30 days; the 31 is kept
  EXPECT_EQ(entry.intendedDay(), 31);
  EXPECT_EQ(entry.part(), DatePart::Month);
  entry.typeDigit(0);
  EXPECT_EQ(entry.text(), "30/0/2026");
  EXPECT_EQ(entry.partRange(), (std::pair<int, int>{3, 1}));
  entry.typeDigit(3);
  EXPECT_EQ(entry.text(), "31/03/2026");
  EXPECT_EQ(entry.part(), DatePart::Year);
  Type(entry, "201");
  EXPECT_EQ(entry.text(), "31/03/201");
  EXPECT_EQ(entry.partRange(), (std::pair<int, int>{6, 3}));
  EXPECT_EQ(entry.year(), 2026);  // not taken before the fourth digit
  entry.typeDigit(6);
  EXPECT_EQ(entry.text(), "31/03/2016");
  EXPECT_FALSE(entry.typing());
  EXPECT_EQ(entry.part(), DatePart::Year);

  // A year left with two digits is this century's; with three, it is dropped.
  Type(entry, "15");
  entry.endTyping();
  EXPECT_EQ(entry.text(), "31/03/2015");
  Type(entry, "201");
  entry.selectPart(DatePart::Month);
  EXPECT_EQ(entry.text(), "31/03/2015");
  // A year outside the field's range is dropped.
  entry.selectPart(DatePart::Year);
  Type(entry, "0016");
  EXPECT_EQ(entry.year(), 2015);
}

TEST(DateEntry, StepsAcrossMonthsKeepTheIntendedDay) {
  DateEntry entry(2016, 1, 31);
  entry.selectPart(DatePart::Month);
  entry.step(+1);
  EXPECT_EQ(entry.text(), "29/02/2016");
  entry.step(+1);
  EXPECT_EQ(entry.text(), "31/03/2016");
  entry.step(+1);
  EXPECT_EQ(entry.text(), "30/04/2016");
  entry.step(-3);
  EXPECT_EQ(entry.text(), "31/01/2016");
  entry.step(-1);  // the month wraps within its year
  EXPECT_EQ(entry.text(), "31/12/2016");

  // 29/02 of a leap year, a year on and back.
  entry.set(2016, 2, 29);
  entry.selectPart(DatePart::Year);
  entry.step(+1);
  EXPECT_EQ(entry.text(), "28/02/2017");
  entry.step(-1);
  EXPECT_EQ(entry.text(), "29/02/2016");

  // The day wraps within its month and becomes the intent.
  entry.set(2016, 1, 31);
  entry.selectPart(DatePart::Day);
  entry.step(+1);
  EXPECT_EQ(entry.text(), "01/01/2016");
  entry.step(-1);
  EXPECT_EQ(entry.text(), "31/01/2016");
  entry.step(-1);
  entry.selectPart(DatePart::Month);
  entry.step(+2);
  EXPECT_EQ(entry.text(), "30/03/2016");  // the day stepped to 30 is the new intent

  // A date set from outside replaces the intent.
  entry.set(2016, 2, 29);
  entry.step(+1);
  EXPECT_EQ(entry.text(), "29/03/2016");
  entry.set(9999, 12, 31);
  entry.selectPart(DatePart::Year);
  entry.step(+1);
  EXPECT_EQ(entry.text(), "31/12/9999");
}
