// What the tests need to know about the platform they run on, in one place:
// a few file-system facts differ (Windows keeps no POSIX permission bits,
// has no /dev/full, and its C runtime writes CR LF to a text stream), and a
// test that depends on one says so and skips with the reason elsewhere.
#pragma once

#ifndef _WIN32
#include <unistd.h>
#endif

namespace varnel::testing {

#ifdef _WIN32
inline constexpr bool kOnWindows = true;
// Windows has no superuser that writes through file permissions.
inline bool RunningAsSuperuser() { return false; }
#else
inline constexpr bool kOnWindows = false;
inline bool RunningAsSuperuser() { return geteuid() == 0; }
#endif

}  // namespace varnel::testing
