// The embedded back end: the point-of-sale database as one SQLite file,
// reached through the SQLite C API. T-SQL texts pass the dialect adapter
// (sql_dialect.h) before they are prepared. Date-time parameters are bound as
// text 'YYYY-MM-DD HH:MM:SS', the form the database stores, so comparisons
// order them correctly. The connection waits up to 10 s for a lock held by the
// point-of-sale program, so a sale being written delays the export instead of
// failing it. Handles have owner types; every C call is checked.
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/file_names.h"
#include "posdb/backend.h"
#include "posdb/database_error.h"
#include "posdb/result_store.h"
#include "posdb/sql_dialect.h"

namespace varnel {
namespace {

constexpr const char* kBackend = "SQLite";
constexpr int kBusyTimeoutMilliseconds = 10000;

// The owners of the two handles. The database is shared by the connection
// and every statement prepared on it, so the file is closed only once all of
// them are gone. Closing and finalizing cannot fail in a way left to handle:
// sqlite3_close_v2 defers the close while a statement is alive, and
// sqlite3_finalize repeats the last step's error, already reported.
struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteDatabase = std::unique_ptr<sqlite3, DatabaseCloser>;
using SharedDatabase = std::shared_ptr<sqlite3>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

[[noreturn]] void Raise(sqlite3* db, int rc, const char* call, const std::string& query_name) {
  std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  throw DatabaseError(kBackend, rc, std::string(call) + ": " + message, query_name);
}

void Check(int rc, sqlite3* db, const char* call, const std::string& query_name) {
  if (rc != SQLITE_OK) Raise(db, rc, call, query_name);
}

bool IsBlankOrComment(std::string_view text) {
  for (const auto& token : TokenizeSql(text)) {
    if (token.kind != SqlTokenKind::Space && token.kind != SqlTokenKind::Comment &&
        !(token.kind == SqlTokenKind::Other && token.text == ";")) {
      return false;
    }
  }
  return true;
}

StatementHandle PrepareOne(sqlite3* db, const std::string& text, const std::string& query_name) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &raw, &tail);
  StatementHandle statement(raw);
  Check(rc, db, "sqlite3_prepare_v2", query_name);
  if (statement.get() == nullptr) {
    throw DatabaseError(kBackend, SQLITE_MISUSE, "the statement text is empty", query_name);
  }
  if (tail != nullptr && !IsBlankOrComment(tail)) {
    throw DatabaseError(kBackend, SQLITE_MISUSE, "the text holds more than one statement", query_name);
  }
  return statement;
}

class SqliteStatement : public BackendStatement {
 public:
  SqliteStatement(SharedDatabase db, std::string_view tsql, std::string query_name)
      : m_db(std::move(db)), m_query_name(std::move(query_name)), m_texts(AdaptForSqlite(tsql)) {
    // One statement is prepared once, here. The parts of a split ALTER TABLE
    // are prepared as they run, since each changes the schema the next sees.
    if (m_texts.size() == 1) m_statement = PrepareOne(m_db.get(), m_texts.front(), m_query_name);
  }

  ~SqliteStatement() override { Finish(); }

  void Run(const ParameterValues& values) override {
    Finish();
    if (m_texts.size() == 1) {
      Start(m_statement, values);
      return;
    }
    // Each part on its own: a failure of one (the column exists) does not
    // stop the others; the first failure is reported once all have run.
    std::string failures;
    long first_code = 0;
    for (const auto& text : m_texts) {
      try {
        m_statement = PrepareOne(m_db.get(), text, m_query_name);
        Start(m_statement, values);
        while (Step()) {
        }
        Finish();
      } catch (const DatabaseError& error) {
        Finish();
        if (failures.empty()) first_code = error.code();
        if (!failures.empty()) failures += "; ";
        failures += error.driver_message();
      }
    }
    m_done = true;
    if (!failures.empty()) throw DatabaseError(kBackend, first_code, failures, m_query_name);
  }

  std::size_t ColumnCount() const override {
    return m_statement.get() == nullptr ? 0 : static_cast<std::size_t>(sqlite3_column_count(m_statement.get()));
  }

  std::string ColumnName(std::size_t column) const override {
    const char* name = sqlite3_column_name(m_statement.get(), static_cast<int>(column));
    return name != nullptr ? name : "";
  }

  bool FetchRow(ResultStore& store) override {
    if (m_done) return false;
    if (!m_row_pending && !Step()) return false;
    m_row_pending = false;
    sqlite3_stmt* statement = m_statement.get();
    const int columns = sqlite3_column_count(statement);
    for (int column = 0; column < columns; ++column) {
      switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
          store.AppendInteger(sqlite3_column_int64(statement, column));
          break;
        case SQLITE_FLOAT:
          store.AppendReal(sqlite3_column_double(statement, column));
          break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
          const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
          const int size = sqlite3_column_bytes(statement, column);
          store.AppendText(std::string_view(bytes != nullptr ? bytes : "", static_cast<std::size_t>(size)));
          break;
        }
        default:
          store.AppendNull();
          break;
      }
    }
    return true;
  }

  void Finish() noexcept override {
    if (m_statement.get() != nullptr) {
      sqlite3_reset(m_statement.get());
      sqlite3_clear_bindings(m_statement.get());
    }
    m_row_pending = false;
    m_done = true;
  }

 private:
  // Binds the statement's parameters and takes the first step.
  void Start(const StatementHandle& handle, const ParameterValues& values) {
    sqlite3* db = m_db.get();
    sqlite3_stmt* statement = handle.get();
    const int count = sqlite3_bind_parameter_count(statement);
    for (int index = 1; index <= count; ++index) {
      const char* raw_name = sqlite3_bind_parameter_name(statement, index);
      const std::string name = raw_name != nullptr ? raw_name : "?";
      if (name.size() < 2 || name[0] != ':') {
        throw DatabaseError(kBackend, SQLITE_MISUSE, "the parameter " + name + " has no value", m_query_name);
      }
      const ParamValue& value = FindParameter(values, std::string_view(name).substr(1), kBackend, m_query_name);
      int rc = SQLITE_OK;
      if (value.is_null) {
        rc = sqlite3_bind_null(statement, index);
      } else if (value.type == ParamType::Integer) {
        rc = sqlite3_bind_int64(statement, index, value.integer);
      } else {
        const std::string text = value.type == ParamType::DateTime ? value.date_time.DatabaseText() : value.text;
        rc = sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      }
      Check(rc, db, "sqlite3_bind", m_query_name);
    }
    m_done = false;
    m_row_pending = Step();
  }

  // One step; true on a row, false at the end (and then the run is done).
  bool Step() {
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
      m_done = true;
      return false;
    }
    m_done = true;
    Raise(m_db.get(), rc, "sqlite3_step", m_query_name);
  }

  SharedDatabase m_db;
  std::string m_query_name;
  std::vector<std::string> m_texts;
  StatementHandle m_statement;
  bool m_row_pending = false;
  bool m_done = true;
};

class SqliteConnection : public BackendConnection {
 public:
  explicit SqliteConnection(SharedDatabase db) : m_db(std::move(db)) {}
  std::string backend_name() const override { return kBackend; }
  std::unique_ptr<BackendStatement> Prepare(std::string_view sql, const std::string& query_name) override {
    return std::make_unique<SqliteStatement>(m_db, sql, query_name);
  }

 private:
  SharedDatabase m_db;
};

}  // namespace

std::unique_ptr<BackendConnection> OpenSqliteConnection(const ConnectionDescription& description) {
  const auto& path = description.database_file;
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
    throw DatabaseError(kBackend, SQLITE_CANTOPEN,
                        "The database file \"" + DisplayPath(path) + "\" does not exist.", "");
  }
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(Utf8FromPath(path).c_str(), &raw,
                                  // One thread uses a connection: no locking of its own needed.
                                  SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  SqliteDatabase db(raw);  // even a failed open gives a handle to close
  Check(rc, raw, "sqlite3_open_v2", "");
  Check(sqlite3_extended_result_codes(raw, 1), raw, "sqlite3_extended_result_codes", "");
  Check(sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds), raw, "sqlite3_busy_timeout", "");
  // Reading the schema proves the file is a database before any query runs.
  Check(sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr), raw,
        "sqlite3_exec", "");
  return std::make_unique<SqliteConnection>(SharedDatabase(std::move(db)));
}

}  // namespace varnel
