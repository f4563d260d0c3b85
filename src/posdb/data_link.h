// The data link file "Korvel.UDL": an OLE DB data link, usually UTF-16LE with
// a byte-order mark (plain 8-bit or UTF-8 accepted too), holding "[oledb]",
// comment lines starting with ";" and one init-string line of key=value pairs
// separated by ";" (values may be quoted). It is read into a connection
// description: the embedded SQLite database (Provider=SQLite, our own
// addition) or SQL Server over ODBC (SQLOLEDB*, SQLNCLI*, MSOLEDBSQL*).
//
// A raw ODBC connection is the OLE DB provider for ODBC, as Windows writes it:
//   Provider=MSDASQL.1;Extended Properties="DRIVER={SQLite3};Database=pos.db"
// The Extended Properties value is the ODBC connection string, used as it
// is; without it, Data Source names a DSN ("DSN=<Data Source>", with UID and
// PWD from User ID and Password).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "base/errors.h"

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

// value as an ODBC connection-string value: braced (with "}" doubled) when it
// holds a character that would end or split it.
std::string QuoteOdbcValue(std::string_view value);

// The init-string's pairs, keys lower-cased and trimmed, values unquoted (a
// value in "...", '...' or {...} may hold ";"; a doubled closing quote stands
// for one). Blanks around a plain value are dropped; a later key replaces an
// earlier one.
std::map<std::string, std::string> ParseInitString(const std::string& init_string);

// The connection string with the value of every Password / PWD key replaced
// by "***", for any text that may reach a message.
std::string MaskPasswords(std::string_view connection_string);

// The bytes of a data link file as Windows saves it: UTF-16LE with a
// byte-order mark, "[oledb]", the comment line, then init_string (UTF-8 here).
// Used by the demo generator and the tests, which write such files.
std::string DataLinkFileBytes(std::string_view init_string);

// Reads and interprets the file; raises DataLinkError for a missing or
// unreadable file, a file without an init string, or an unknown provider
// (the message names the provider found).
ConnectionDescription ReadDataLinkFile(const std::filesystem::path& path);

}  // namespace varnel
