// Owner types for SQLite handles outside the product: the only file in tools/
// and tests/ that speaks SQLite's C interface. Each C call is followed by one
// check; each handle has one owner (a unique_ptr with its release), and
// Close() reports a failed close for callers that care.
#include "tools/sqlite_file.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace varnel::tools {

namespace {

std::string MessageOf(sqlite3* database, int result) {
  if (database != nullptr) return sqlite3_errmsg(database);
  return sqlite3_errstr(result);
}

int OpenFlags(SqliteFile::Mode mode) {
  switch (mode) {
    case SqliteFile::Mode::Create:
      return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    case SqliteFile::Mode::ReadWrite:
      return SQLITE_OPEN_READWRITE;
    case SqliteFile::Mode::ReadOnly:
      break;
  }
  return SQLITE_OPEN_READONLY;
}

}  // namespace

void StatementFinalizer::operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }

void DatabaseCloser::operator()(sqlite3* database) const noexcept { sqlite3_close_v2(database); }

SqliteError::SqliteError(std::string call, int code, std::string sqlite_message,
                         std::string statement)
    : VarnelError(sqlite_message + " (SQLite " + call + ", code " + std::to_string(code) +
                  ", statement " + statement + ")"),
      m_call(std::move(call)),
      m_code(code),
      m_sqlite_message(std::move(sqlite_message)),
      m_statement(std::move(statement)) {}

// --- SqliteStatement -------------------------------------------------------

SqliteStatement::SqliteStatement(sqlite3* database, sqlite3_stmt* statement, std::string name)
    : m_database(database), m_statement(statement), m_name(std::move(name)) {}

void SqliteStatement::Check(int result, const char* call) const {
  if (result == SQLITE_OK || result == SQLITE_ROW || result == SQLITE_DONE) return;
  throw SqliteError(call, result, MessageOf(m_database, result), m_name);
}

void SqliteStatement::BindInteger(int index, std::int64_t value) {
  Check(sqlite3_bind_int64(m_statement.get(), index, value), "sqlite3_bind_int64");
}

void SqliteStatement::BindReal(int index, double value) {
  Check(sqlite3_bind_double(m_statement.get(), index, value), "sqlite3_bind_double");
}

void SqliteStatement::BindText(int index, std::string_view value) {
  if (value.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw SqliteError("sqlite3_bind_text", SQLITE_TOOBIG, "text too long", m_name);
  }
  Check(sqlite3_bind_text(m_statement.get(), index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT),
        "sqlite3_bind_text");
}

void SqliteStatement::BindNull(int index) {
  Check(sqlite3_bind_null(m_statement.get(), index), "sqlite3_bind_null");
}

void SqliteStatement::BindOptionalText(int index, const std::optional<std::string>& value) {
  if (value) {
    BindText(index, *value);
  } else {
    BindNull(index);
  }
}

void SqliteStatement::BindTextOrNull(int index, std::string_view value) {
  if (value.empty()) {
    BindNull(index);
  } else {
    BindText(index, value);
  }
}

void SqliteStatement::Execute() {
  int result = sqlite3_step(m_statement.get());
  Check(result, "sqlite3_step");
  Check(sqlite3_reset(m_statement.get()), "sqlite3_reset");
}

bool SqliteStatement::Next() {
  int result = sqlite3_step(m_statement.get());
  Check(result, "sqlite3_step");
  return result == SQLITE_ROW;
}

void SqliteStatement::Reset() { Check(sqlite3_reset(m_statement.get()), "sqlite3_reset"); }

int SqliteStatement::ColumnCount() const { return sqlite3_column_count(m_statement.get()); }

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(m_statement.get(), column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::Integer(int column) const {
  return sqlite3_column_int64(m_statement.get(), column);
}

double SqliteStatement::Real(int column) const { return sqlite3_column_double(m_statement.get(), column); }

std::string SqliteStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(m_statement.get(), column);
  if (text == nullptr) {
    // NULL column, or no memory for the conversion: only the latter is a failure.
    Check(sqlite3_errcode(m_database) == SQLITE_NOMEM ? SQLITE_NOMEM : SQLITE_OK,
          "sqlite3_column_text");
    return {};
  }
  int bytes = sqlite3_column_bytes(m_statement.get(), column);
  return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
}

// --- SqliteFile ------------------------------------------------------------

SqliteFile::SqliteFile(const std::filesystem::path& path, Mode mode) {
  if (mode == Mode::Create && std::filesystem::exists(path)) {
    throw SqliteError("sqlite3_open_v2", SQLITE_CANTOPEN, "the file already exists: " + path.string(),
                      "open");
  }
  sqlite3* database = nullptr;
  int result = sqlite3_open_v2(path.string().c_str(), &database, OpenFlags(mode), nullptr);
  m_database.reset(database);  // owned, and so closed, even when the open failed
  if (result != SQLITE_OK) {
    throw SqliteError("sqlite3_open_v2", result, MessageOf(database, result) + ": " + path.string(), "open");
  }
}

void SqliteFile::SetBusyTimeout(std::chrono::milliseconds wait) {
  const auto clamped = std::min<std::chrono::milliseconds::rep>(
      std::max<std::chrono::milliseconds::rep>(wait.count(), 0), std::numeric_limits<int>::max());
  int result = sqlite3_busy_timeout(m_database.get(), static_cast<int>(clamped));
  if (result != SQLITE_OK) {
    throw SqliteError("sqlite3_busy_timeout", result, MessageOf(m_database.get(), result), "busy timeout");
  }
}

void SqliteFile::ExecuteScript(std::string_view sql, std::string_view name) {
  std::string text(sql);
  char* error = nullptr;
  int result = sqlite3_exec(m_database.get(), text.c_str(), nullptr, nullptr, &error);
  if (result != SQLITE_OK) {
    std::string message = error != nullptr ? error : MessageOf(m_database.get(), result);
    sqlite3_free(error);
    throw SqliteError("sqlite3_exec", result, message, std::string(name));
  }
}

SqliteStatement SqliteFile::Prepare(std::string_view sql, std::string name) {
  if (sql.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw SqliteError("sqlite3_prepare_v2", SQLITE_TOOBIG, "statement too long", name);
  }
  sqlite3_stmt* statement = nullptr;
  int result = sqlite3_prepare_v2(m_database.get(), sql.data(), static_cast<int>(sql.size()), &statement,
                                  nullptr);
  SqliteStatement prepared(m_database.get(), statement, std::move(name));
  if (result != SQLITE_OK) {
    throw SqliteError("sqlite3_prepare_v2", result, MessageOf(m_database.get(), result), prepared.m_name);
  }
  return prepared;
}

std::optional<std::string> SqliteFile::QueryText(std::string_view sql, std::string name) {
  SqliteStatement query = Prepare(sql, std::move(name));
  if (!query.Next()) return std::nullopt;
  return query.Text(0);
}

std::optional<std::int64_t> SqliteFile::QueryInteger(std::string_view sql, std::string name) {
  SqliteStatement query = Prepare(sql, std::move(name));
  if (!query.Next()) return std::nullopt;
  return query.Integer(0);
}

void SqliteFile::Close() {
  if (m_database == nullptr) return;
  int result = sqlite3_close(m_database.get());
  if (result != SQLITE_OK) {
    // Statements still open: the handle stays valid and the destructor closes it.
    throw SqliteError("sqlite3_close", result, MessageOf(m_database.get(), result), "close");
  }
  (void)m_database.release();  // closed just now
}

}  // namespace varnel::tools
