// The local calendar time of a moment, in the system's time zone. The C
// library's thread-safe form has a different name and argument order on
// each platform (localtime_r, localtime_s); one file per platform keeps the
// difference here.
#pragma once

#include <ctime>

namespace varnel::platform {

// seconds (since the epoch) as local time; an all-zero std::tm when the
// system cannot convert it.
std::tm LocalTime(std::time_t seconds);

}  // namespace varnel::platform
