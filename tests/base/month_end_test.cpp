// A period from a month's first day that stops one or two days short of a
// month's end is named with the days it leaves out; any other period is not.
#include <gtest/gtest.h>

#include "base/month_end.h"

using namespace varnel;

TEST(MonthEnd, DaysLeftOutAtTheEndOfAMonth) {
  const struct {
    DateTime first, last;
    const char* text;
  } cases[] = {
      {DateTime::FromDate(2016, 3, 1), DateTime::FromDate(2016, 3, 30),
       "A data final, 30/03/2016, deixa de fora o dia 31/03/2016, o último do mês."},
      {DateTime::FromDate(2016, 3, 1), DateTime::FromDate(2016, 3, 29),
       "A data final, 29/03/2016, deixa de fora os dias 30/03/2016 e 31/03/2016, os últimos do mês."},
      {DateTime::FromDate(2016, 2, 1), DateTime::FromDate(2016, 2, 28),
       "A data final, 28/02/2016, deixa de fora o dia 29/02/2016, o último do mês."},
      {DateTime::FromDate(2016, 1, 1), DateTime::FromDate(2016, 3, 30),  // several months
       "A data final, 30/03/2016, deixa de fora o dia 31/03/2016, o último do mês."},
      {DateTime::FromDate(2015, 2, 1), DateTime::FromDate(2015, 2, 28), ""},   // the whole month
      {DateTime::FromDate(2016, 3, 1), DateTime::FromDate(2016, 3, 31), ""},
      {DateTime::FromDate(2016, 3, 1), DateTime::FromDate(2016, 3, 28), ""},   // three days short: meant
      {DateTime::FromDate(2016, 3, 2), DateTime::FromDate(2016, 3, 30), ""},   // not from a first day
      {DateTime::FromDate(2016, 3, 1), DateTime::FromDate(2016, 3, 1), ""},
      {DateTime::FromDate(2016, 4, 1), DateTime::FromDate(2016, 3, 30), ""},   // reversed: the run's check
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MonthEndLeftOutText(c.first, c.last), c.text) << DateText(c.first) << " " << DateText(c.last);
  }
}
