// SQL Server drivers of a Windows installation.
#include "platform/sql_server_drivers.h"

namespace varnel::platform {

const std::vector<std::string>& SqlServerDriverNames() {
  static const std::vector<std::string> names = {"ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server",
                                                 "SQL Server Native Client 11.0", "SQL Server"};
  return names;
}

}  // namespace varnel::platform
