// Owner types for SQLite handles outside the product: the only file in tools/
// and tests/ that speaks SQLite's C interface. Each C call is followed by one
// check; handles are released in destructors with sqlite3_finalize and
// sqlite3_close_v2, whose results a destructor can only ignore (Close()
// reports them for callers that care).
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

SqliteStatement::~SqliteStatement() {
  if (m_statement != nullptr) sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_database(std::exchange(other.m_database, nullptr)),
      m_statement(std::exchange(other.m_statement, nullptr)),
      m_name(std::move(other.m_name)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
  if (this != &other) {
    if (m_statement != nullptr) sqlite3_finalize(m_statement);
    m_database = std::exchange(other.m_database, nullptr);
    m_statement = std::exchange(other.m_statement, nullptr);
    m_name = std::move(other.m_name);
  }
  return *this;
}

void SqliteStatement::Check(int result, const char* call) const {
  if (result == SQLITE_OK || result == SQLITE_ROW || result == SQLITE_DONE) return;
  throw SqliteError(call, result, MessageOf(m_database, result), m_name);
}

void SqliteStatement::BindInteger(int index, std::int64_t value) {
  Check(sqlite3_bind_int64(m_statement, index, value), "sqlite3_bind_int64");
}

void SqliteStatement::BindReal(int index, double value) {
  Check(sqlite3_bind_double(m_statement, index, value), "sqlite3_bind_double");
}

void SqliteStatement::BindText(int index, std::string_view value) {
  if (value.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw SqliteError("sqlite3_bind_text", SQLITE_TOOBIG, "text too long", m_name);
  }
  Check(sqlite3_bind_text(m_statement, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT),
        "sqlite3_bind_text");
}

void SqliteStatement::BindNull(int index) {
  Check(sqlite3_bind_null(m_statement, index), "sqlite3_bind_null");
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
  int result = sqlite3_step(m_statement);
  Check(result, "sqlite3_step");
  Check(sqlite3_reset(m_statement), "sqlite3_reset");
}

bool SqliteStatement::Next() {
  int result = sqlite3_step(m_statement);
  Check(result, "sqlite3_step");
  return result == SQLITE_ROW;
}

void SqliteStatement::Reset() { Check(sqlite3_reset(m_statement), "sqlite3_reset"); }

int SqliteStatement::ColumnCount() const { return sqlite3_column_count(m_statement); }

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::Integer(int column) const {
  return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::Real(int column) const { return sqlite3_column_double(m_statement, column); }

std::string SqliteStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(m_statement, column);
  if (text == nullptr) {
    // NULL column, or no memory for the conversion: only the latter is a failure.
    Check(sqlite3_errcode(m_database) == SQLITE_NOMEM ? SQLITE_NOMEM : SQLITE_OK,
          "sqlite3_column_text");
    return {};
  }
  int bytes = sqlite3_column_bytes(m_statement, column);
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
  if (result != SQLITE_OK) {
    std::string message = MessageOf(database, result) + ": " + path.string();
    sqlite3_close_v2(database);
    throw SqliteError("sqlite3_open_v2", result, message, "open");
  }
  m_database = database;
}

SqliteFile::~SqliteFile() {
  if (m_database != nullptr) sqlite3_close_v2(m_database);
}

SqliteFile::SqliteFile(SqliteFile&& other) noexcept
    : m_database(std::exchange(other.m_database, nullptr)) {}

SqliteFile& SqliteFile::operator=(SqliteFile&& other) noexcept {
  if (this != &other) {
    if (m_database != nullptr) sqlite3_close_v2(m_database);
    m_database = std::exchange(other.m_database, nullptr);
  }
  return *this;
}

void SqliteFile::SetBusyTimeout(std::chrono::milliseconds wait) {
  const auto clamped = std::min<std::chrono::milliseconds::rep>(
      std::max<std::chrono::milliseconds::rep>(wait.count(), 0), std::numeric_limits<int>::max());
  int result = sqlite3_busy_timeout(m_database, static_cast<int>(clamped));
  if (result != SQLITE_OK) {
    throw SqliteError("sqlite3_busy_timeout", result, MessageOf(m_database, result), "busy timeout");
  }
}

void SqliteFile::ExecuteScript(std::string_view sql, std::string_view name) {
  std::string text(sql);
  char* error = nullptr;
  int result = sqlite3_exec(m_database, text.c_str(), nullptr, nullptr, &error);
  if (result != SQLITE_OK) {
    std::string message = error != nullptr ? error : MessageOf(m_database, result);
    sqlite3_free(error);
    throw SqliteError("sqlite3_exec", result, message, std::string(name));
  }
}

SqliteStatement SqliteFile::Prepare(std::string_view sql, std::string name) {
  if (sql.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw SqliteError("sqlite3_prepare_v2", SQLITE_TOOBIG, "statement too long", name);
  }
  sqlite3_stmt* statement = nullptr;
  int result = sqlite3_prepare_v2(m_database, sql.data(), static_cast<int>(sql.size()), &statement,
                                  nullptr);
  if (result != SQLITE_OK) {
    sqlite3_finalize(statement);
    throw SqliteError("sqlite3_prepare_v2", result, MessageOf(m_database, result), name);
  }
  return SqliteStatement(m_database, statement, std::move(name));
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
  int result = sqlite3_close(m_database);
  if (result != SQLITE_OK) {
    // Statements still open: the handle stays valid and the destructor closes it.
    throw SqliteError("sqlite3_close", result, MessageOf(m_database, result), "close");
  }
  m_database = nullptr;
}

}  // namespace varnel::tools
