// Owner types for the SQLite handles of the demo generator: one database file
// and its prepared statements. Each is movable, not copyable, and releases its
// handle in its destructor (which never throws). Every C call is checked once,
// right after it returns; a failure raises SqliteError naming the call,
// SQLite's code and message and the statement's name. The generator writes a
// fresh file in bulk through these types; its tests read the file back with them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/errors.h"

struct sqlite3;
struct sqlite3_stmt;

namespace varnel::demo {

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
  ~SqliteStatement();
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement& operator=(SqliteStatement&& other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  void BindInteger(int index, std::int64_t value);
  void BindReal(int index, double value);
  void BindText(int index, std::string_view value);
  void BindNull(int index);

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

  sqlite3* m_database = nullptr;
  sqlite3_stmt* m_statement = nullptr;
  std::string m_name;
};

// An open database file. Statements prepared from it must not outlive it.
class SqliteFile {
 public:
  enum class Mode {
    Create,    // a new file; raises when the file already exists
    ReadOnly,  // an existing file, never changed
  };

  SqliteFile(const std::filesystem::path& path, Mode mode);
  ~SqliteFile();
  SqliteFile(SqliteFile&& other) noexcept;
  SqliteFile& operator=(SqliteFile&& other) noexcept;
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  // Runs every statement of a script (the schema, pragmas, transaction
  // boundaries); name is used in error messages.
  void ExecuteScript(std::string_view sql, std::string_view name);
  SqliteStatement Prepare(std::string_view sql, std::string name);

  // Closes the file now, reporting a failure (the destructor cannot).
  void Close();

 private:
  sqlite3* m_database = nullptr;
};

}  // namespace varnel::demo
