// A period that starts on a month's first day and stops one or two days
// before the end of a month (1 to 30 March) is most likely a month with its
// last days cut by mistake: a typing slip or a date picker that clamped the
// day. The front ends say so before exporting (the window asks, the headless
// exporter warns), naming the days left out, since an export of that period
// silently lacks every document of those days.
#pragma once

#include <string>

#include "base/date_time.h"

namespace varnel {

// "A data final, 30/03/2016, deixa de fora o dia 31/03/2016, o último do
// mês." or, two days short, "... deixa de fora os dias 30/03/2016 e
// 31/03/2016, os últimos do mês."; empty for any other period.
std::string MonthEndLeftOutText(DateTime first, DateTime last);

}  // namespace varnel
