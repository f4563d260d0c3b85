// POSIX: the driver reads the path as it is.
#include "support/driver_path.h"

namespace varnel::testing {

std::string DriverSidePath(const std::filesystem::path& path) { return path.string(); }

}  // namespace varnel::testing
