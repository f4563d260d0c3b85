// The parts of the ODBC back end that do not need a driver: which installed
// driver serves SQL Server and the connection string built for it. The back
// end itself (OpenOdbcConnection, backend.h) runs T-SQL texts unchanged apart
// from the named parameters, which become positional "?".
#pragma once

#include <string>
#include <vector>

#include "posdb/data_link.h"

namespace varnel {

// The SQL Server drivers in order of preference.
const std::vector<std::string>& SqlServerDriverPreference();

// The first driver of the preference that is installed; "" when none is.
std::string ChooseSqlServerDriver(const std::vector<std::string>& installed);

// The ODBC connection string for a SqlServer description and driver name.
// It holds the password: it never goes into a message unmasked.
std::string SqlServerConnectionString(const ConnectionDescription& description, const std::string& driver);

// The drivers the ODBC driver manager knows (SQLDrivers); raises
// DatabaseError when the driver manager cannot be asked.
std::vector<std::string> InstalledOdbcDrivers();

}  // namespace varnel
