// A database file's path as an ODBC driver of the machine reads it. On
// POSIX and on Windows that is the path itself; under Wine the ODBC driver
// manager hands over to the host's unixODBC, whose drivers are host programs
// and need the host's name of the file ("/tmp/...", not "C:\users\...").
#pragma once

#include <filesystem>
#include <string>

namespace varnel::testing {

std::string DriverSidePath(const std::filesystem::path& path);

}  // namespace varnel::testing
