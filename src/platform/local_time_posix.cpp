// POSIX local time: localtime_r.
#include "platform/local_time.h"

namespace varnel::platform {

std::tm LocalTime(std::time_t seconds) {
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return std::tm{};
  return local;
}

}  // namespace varnel::platform
