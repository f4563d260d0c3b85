// TestDatabase: a point-of-sale database for one test (group), built in a few
// lines. It creates a SQLite file with the embedded schema in a fresh
// temporary folder, writes a Korvel.UDL for it beside it (UTF-16LE with a
// byte-order mark, Provider=SQLite, as the installation would), and hands out
// a PosDatabase connected through that file. Everything is removed with the
// object. ProbingFactory (below) makes a connection that breaks on demand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "posdb/pos_database.h"
#include "support/test_paths.h"
#include "tools/sqlite_file.h"

// Rows are added with plain SQL:
//
//   TestDatabase db;
//   db.Exec("INSERT INTO clientes (codigo, nome) VALUES (2, 'Ana')");
//   db.Exec("INSERT INTO documentos (doc, numero, data) VALUES (?, ?, ?)",
//           {"FA", 7, StoredDate(2024, 1, 31)});
//   PosQuery q(db.database(), "q", "SELECT nome FROM clientes");
//
// Date-times are stored as text 'YYYY-MM-DD HH:MM:SS' (StoredDate), the form
// the queries compare with; a bare 'YYYY-MM-DD' would sort before midnight.

namespace varnel::testing {

// A value for the "?" of TestDatabase::Exec.
using SqlValue = std::variant<std::nullptr_t, std::int64_t, int, double, std::string, const char*>;

// "YYYY-MM-DD HH:MM:SS", the stored form of a date-time.
std::string StoredDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

class TestDatabase {
 public:
  // A database with the embedded schema and no rows.
  TestDatabase();
  // schema_sql instead of the embedded schema (for tables as an older
  // point-of-sale version had them).
  explicit TestDatabase(std::string_view schema_sql);
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  // Runs one or more statements (SQLite dialect) directly on the file;
  // raises tools::SqliteError (a std::runtime_error) with SQLite's message
  // and the statement on failure.
  void Exec(std::string_view sql);
  // Runs one statement with its "?" bound in order.
  void Exec(std::string_view sql, std::initializer_list<SqlValue> values);

  // The first column of the first row of a query run directly on the file
  // (for checking what the code under test wrote); "" / 0 when no row.
  std::string QueryText(std::string_view sql);
  std::int64_t QueryInteger(std::string_view sql);

  // The PosDatabase connected through the data link file (connected on the
  // first call).
  PosDatabase& database();

  const std::filesystem::path& folder() const { return m_folder.path(); }
  const std::filesystem::path& database_file() const { return m_database_file; }
  const std::filesystem::path& data_link_file() const { return m_data_link_file; }
  ConnectionDescription description() const;

 private:
  TempDir m_folder;
  std::filesystem::path m_database_file;
  std::filesystem::path m_data_link_file;
  // Closed after the PosDatabase (members go in reverse order) and before the
  // folder is removed.
  tools::SqliteFile m_file;
  std::unique_ptr<PosDatabase> m_database;
};

// A connection that can be made to break, for tests of a failure in the
// middle of a run: ProbingFactory(probe) gives PosDatabase a factory whose
// connections wrap the real back end and count into probe. When the run
// numbered break_at_run (0 for the first Open or Execute) starts, it fails
// with an ODBC link failure, and every later run fails too, until PosDatabase
// connects again (a broken connection is replaced on the next Connect).
struct LinkProbe {
  int prepared = 0;        // statements prepared
  int runs = 0;            // statements opened or executed
  int break_at_run = -1;   // -1: never breaks
  bool broken = false;
};
PosDatabase::ConnectionFactory ProbingFactory(LinkProbe& probe);

// The bytes of a data link file, as the posdb layer writes them.
using varnel::DataLinkFileBytes;

}  // namespace varnel::testing
