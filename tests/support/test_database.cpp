// A SQLite point-of-sale database per test, with its data link file.
#include "support/test_database.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

#include "posdb/backend.h"
#include "posdb/database_error.h"
#include "posdb/embedded_schema.h"
#include "posdb/result_store.h"
#include "posdb/text_encoding.h"

namespace varnel::testing {
namespace {

void Check(int rc, sqlite3* db, std::string_view what) {
  if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
  }
}

std::string Two(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

// A prepared statement, finalized with the object.
class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql) : m_db(db) {
    Check(sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr), db,
          std::string(sql));
  }
  ~Statement() { sqlite3_finalize(m_statement); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return m_statement; }
  bool Step() {
    const int rc = sqlite3_step(m_statement);
    Check(rc, m_db, sqlite3_sql(m_statement));
    return rc == SQLITE_ROW;
  }

 private:
  sqlite3* m_db;
  sqlite3_stmt* m_statement = nullptr;
};

class ProbeStatement : public BackendStatement {
 public:
  ProbeStatement(std::unique_ptr<BackendStatement> inner, LinkProbe& probe, std::string query_name)
      : m_inner(std::move(inner)), m_probe(probe), m_query_name(std::move(query_name)) {}
  void Run(const ParameterValues& values) override {
    if (m_probe.broken || m_probe.runs++ == m_probe.break_at_run) {
      m_probe.broken = true;
      throw DatabaseError("ODBC", 10054, "[08S01] Communication link failure", m_query_name);
    }
    m_inner->Run(values);
  }
  std::size_t ColumnCount() const override { return m_inner->ColumnCount(); }
  std::string ColumnName(std::size_t column) const override { return m_inner->ColumnName(column); }
  bool FetchRow(ResultStore& store) override { return m_inner->FetchRow(store); }
  void Finish() noexcept override { m_inner->Finish(); }

 private:
  std::unique_ptr<BackendStatement> m_inner;
  LinkProbe& m_probe;
  std::string m_query_name;
};

class ProbeConnection : public BackendConnection {
 public:
  ProbeConnection(std::unique_ptr<BackendConnection> inner, LinkProbe& probe)
      : m_inner(std::move(inner)), m_probe(probe) {}
  std::string backend_name() const override { return m_inner->backend_name(); }
  bool is_broken() const override { return m_probe.broken; }
  std::unique_ptr<BackendStatement> Prepare(std::string_view sql, const std::string& query_name) override {
    ++m_probe.prepared;
    return std::make_unique<ProbeStatement>(m_inner->Prepare(sql, query_name), m_probe, query_name);
  }

 private:
  std::unique_ptr<BackendConnection> m_inner;
  LinkProbe& m_probe;
};

}  // namespace

PosDatabase::ConnectionFactory ProbingFactory(LinkProbe& probe) {
  return [&probe](const ConnectionDescription& description) -> std::unique_ptr<BackendConnection> {
    probe.broken = false;
    return std::make_unique<ProbeConnection>(OpenBackendConnection(description), probe);
  };
}

std::string StoredDate(int year, int month, int day, int hour, int minute, int second) {
  return std::to_string(year) + "-" + Two(month) + "-" + Two(day) + " " + Two(hour) + ":" + Two(minute) + ":" +
         Two(second);
}

TestDatabase::TestDatabase() : TestDatabase(kEmbeddedSchemaSql) {}

TestDatabase::TestDatabase(std::string_view schema_sql)
    : m_database_file(m_folder / "korvel.db"), m_data_link_file(m_folder / "Korvel.UDL") {
  const int rc = sqlite3_open_v2(m_database_file.string().c_str(), &m_db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  Check(rc, m_db, "open test database");
  sqlite3_busy_timeout(m_db, 10000);
  // A throw-away file: no waiting for the disk.
  Exec("PRAGMA synchronous = OFF");
  Exec("BEGIN");
  Exec(schema_sql);
  Exec("COMMIT");
  WriteFileBytes(m_data_link_file,
                 DataLinkFileBytes("Provider=SQLite;Data Source=\"" + m_database_file.string() + "\""));
}

TestDatabase::~TestDatabase() {
  m_database.reset();
  sqlite3_close_v2(m_db);
}

void TestDatabase::Exec(std::string_view sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(m_db, std::string(sql).c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    const std::string text = message != nullptr ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw std::runtime_error(text + " in: " + std::string(sql));
  }
}

void TestDatabase::Exec(std::string_view sql, std::initializer_list<SqlValue> values) {
  Statement statement(m_db, sql);
  int index = 1;
  for (const auto& value : values) {
    sqlite3_stmt* s = statement.get();
    int rc = SQLITE_OK;
    if (std::holds_alternative<std::nullptr_t>(value)) {
      rc = sqlite3_bind_null(s, index);
    } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
      rc = sqlite3_bind_int64(s, index, *integer);
    } else if (const auto* small = std::get_if<int>(&value)) {
      rc = sqlite3_bind_int64(s, index, *small);
    } else if (const auto* real = std::get_if<double>(&value)) {
      rc = sqlite3_bind_double(s, index, *real);
    } else {
      const std::string text =
          std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : std::get<const char*>(value);
      rc = sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    Check(rc, m_db, "bind");
    ++index;
  }
  while (statement.Step()) {
  }
}

std::string TestDatabase::QueryText(std::string_view sql) {
  Statement statement(m_db, sql);
  if (!statement.Step()) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
  return text != nullptr ? text : "";
}

std::int64_t TestDatabase::QueryInteger(std::string_view sql) {
  Statement statement(m_db, sql);
  if (!statement.Step()) return 0;
  return sqlite3_column_int64(statement.get(), 0);
}

PosDatabase& TestDatabase::database() {
  if (!m_database) {
    m_database = std::make_unique<PosDatabase>();
    m_database->Connect(m_data_link_file);
  }
  return *m_database;
}

ConnectionDescription TestDatabase::description() const {
  ConnectionDescription description;
  description.kind = ConnectionDescription::Kind::Sqlite;
  description.provider = "SQLite";
  description.database_file = m_database_file;
  return description;
}

}  // namespace varnel::testing
