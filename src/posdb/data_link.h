// The data link file "Korvel.UDL": an OLE DB data link, usually UTF-16LE with
// a byte-order mark (plain 8-bit or UTF-8 accepted too), holding "[oledb]",
// comment lines starting with ";" and one init-string line of key=value pairs
// separated by ";" (values may be quoted). It is read into a connection
// description: the embedded SQLite database (Provider=SQLite, our own
// addition) or SQL Server over ODBC (SQLOLEDB*, SQLNCLI*, MSOLEDBSQL*).
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "export/errors.h"

namespace varnel {

class DataLinkError : public VarnelError {
 public:
  using VarnelError::VarnelError;
};

struct ConnectionDescription {
  enum class Kind {
    Sqlite,     // the embedded database file
    SqlServer,  // SQL Server through an installed ODBC driver
    Odbc,       // a raw ODBC connection string (tests, other drivers)
  };
  Kind kind = Kind::Sqlite;
  std::string provider;                // as found in the file
  std::filesystem::path database_file; // Sqlite: resolved against the working directory
  std::string server;                  // SqlServer: host, host\instance or host,port
  std::string database;                // SqlServer: Initial Catalog
  std::string user;
  std::string password;                // never put into a message
  bool trusted_connection = false;     // Integrated Security=SSPI
  std::string odbc_connection_string;  // Odbc
};

// The init-string's pairs, keys lower-cased, values unquoted.
std::map<std::string, std::string> ParseInitString(const std::string& init_string);

// Reads and interprets the file; raises DataLinkError for a missing or
// unreadable file, a file without an init string, or an unknown provider
// (the message names the provider found).
ConnectionDescription ReadDataLinkFile(const std::filesystem::path& path);

}  // namespace varnel
