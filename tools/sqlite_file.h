// Owner types for SQLite handles outside the product: one database file and
// its prepared statements, shared by the demo generator and the tests (which
// build point-of-sale databases, read back what a run wrote, and play the
// point of sale holding its lock). Each type is movable, not copyable, and
// releases its handle in its destructor (which never throws). Every C call is
// checked once, right after it returns; a failure raises SqliteError naming
// the call, SQLite's code and message and the statement's name. The product's
// own back end lives in src/posdb and does not use these types.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/errors.h"

struct sqlite3;
struct sqlite3_stmt;

namespace varnel::tools {

// The release of each handle, for its owner: sqlite3_finalize and
// sqlite3_close_v2, whose results a destructor can only ignore.
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const noexcept;
};
struct DatabaseCloser {
  void operator()(sqlite3* database) const noexcept;
};

class SqliteError : public VarnelError {
 public:
  SqliteError(std::string call, int code, std::string sqlite_message, std::string statement);

  const std::string& call() const { return m_call; }
  int code() const { return m_code; }
  const std::string& sqlite_message() const { return m_sqlite_message; }
  const std::string& statement() const { return m_statement; }

 private:
  std::string m_call;
  int m_code;
  std::string m_sqlite_message;
  std::string m_statement;
};

// A prepared statement. Parameters are numbered from 1 in the order they
// stand in the text; a binding stays until it is replaced.
class SqliteStatement {
 public:
  SqliteStatement() = default;

  void BindInteger(int index, std::int64_t value);
  void BindReal(int index, double value);
  void BindText(int index, std::string_view value);
  void BindNull(int index);
  // NULL for an absent value, else the text.
  void BindOptionalText(int index, const std::optional<std::string>& value);
  // NULL for an empty text, else the text.
  void BindTextOrNull(int index, std::string_view value);

  // Runs a statement that returns no rows and makes it ready to run again.
  void Execute();
  // Steps a query: true while a row stands ready, false after the last one.
  bool Next();
  // Back to before the first row; the bindings stay.
  void Reset();

  // Columns of the current row, numbered from 0. A NULL reads as 0 or "".
  int ColumnCount() const;
  bool IsNull(int column) const;
  std::int64_t Integer(int column) const;
  double Real(int column) const;
  std::string Text(int column) const;

 private:
  friend class SqliteFile;
  SqliteStatement(sqlite3* database, sqlite3_stmt* statement, std::string name);
  void Check(int result, const char* call) const;

  sqlite3* m_database = nullptr;  // the file's, lent for its error messages
  std::unique_ptr<sqlite3_stmt, StatementFinalizer> m_statement;
  std::string m_name;
};

// An open database file. Statements prepared from it must not outlive it.
// A new connection fails at once on a lock another connection holds, unless
// it is given a busy timeout.
class SqliteFile {
 public:
  enum class Mode {
    Create,     // a new file; raises when the file already exists
    ReadOnly,   // an existing file, never changed
    ReadWrite,  // an existing file, read and written; never created
  };

  SqliteFile(const std::filesystem::path& path, Mode mode);

  // How long a statement waits for a lock held by another connection before
  // it fails with "database is locked"; zero fails at once.
  void SetBusyTimeout(std::chrono::milliseconds wait);

  // Runs every statement of a script (the schema, pragmas, transaction
  // boundaries); name is used in error messages.
  void ExecuteScript(std::string_view sql, std::string_view name);
  SqliteStatement Prepare(std::string_view sql, std::string name);

  // The first column of the first row of a query, read as Text or Integer
  // read it (NULL as "" or 0); nullopt when the query returns no row. The
  // statement is finished before these return.
  std::optional<std::string> QueryText(std::string_view sql, std::string name);
  std::optional<std::int64_t> QueryInteger(std::string_view sql, std::string name);

  // Closes the file now, reporting a failure (the destructor cannot).
  void Close();

 private:
  std::unique_ptr<sqlite3, DatabaseCloser> m_database;
};

}  // namespace varnel::tools
