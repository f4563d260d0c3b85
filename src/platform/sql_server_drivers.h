// The ODBC drivers that reach SQL Server, best first, as this platform names
// them: on Linux Microsoft's ODBC drivers 18 and 17 when installed, else
// FreeTDS; on Windows drivers 18 and 17, the Native Client 11 and, present on
// every Windows, the old "SQL Server" driver.
#pragma once

#include <string>
#include <vector>

namespace varnel::platform {

const std::vector<std::string>& SqlServerDriverNames();

}  // namespace varnel::platform
