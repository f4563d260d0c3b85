// Windows local time: localtime_s, which returns an error number.
#include "platform/local_time.h"

namespace varnel::platform {

std::tm LocalTime(std::time_t seconds) {
  std::tm local{};
  if (localtime_s(&local, &seconds) != 0) return std::tm{};
  return local;
}

}  // namespace varnel::platform
