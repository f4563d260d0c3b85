// A SQLite point-of-sale database per test, with its data link file, and
// the connection that breaks on demand. The file is written through the
// tools' SQLite owner types with a busy timeout, so a test's own statements
// wait for a run that holds the file, as the point of sale would.
#include "support/test_database.h"

#include <chrono>
#include <memory>
#include <utility>

#include "posdb/database_error.h"
#include "posdb/embedded_schema.h"
#include "support/forwarding_backend.h"

namespace varnel::testing {
namespace {

std::string Two(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

class ProbeStatement : public ForwardingStatement {
 public:
  ProbeStatement(std::unique_ptr<BackendStatement> inner, LinkProbe& probe, std::string query_name)
      : ForwardingStatement(std::move(inner), std::move(query_name)), m_probe(probe) {}
  void Run(const ParameterValues& values) override {
    if (m_probe.broken || m_probe.runs++ == m_probe.break_at_run) {
      m_probe.broken = true;
      throw DatabaseError("ODBC", 10054, "[08S01] Communication link failure", query_name());
    }
    ForwardingStatement::Run(values);
  }

 private:
  LinkProbe& m_probe;
};

class ProbeConnection : public ForwardingConnection {
 public:
  ProbeConnection(std::unique_ptr<BackendConnection> inner, LinkProbe& probe)
      : ForwardingConnection(std::move(inner)), m_probe(probe) {}
  bool is_broken() const override { return m_probe.broken; }
  std::unique_ptr<BackendStatement> Prepare(std::string_view sql, const std::string& query_name) override {
    ++m_probe.prepared;
    return ForwardingConnection::Prepare(sql, query_name);
  }

 protected:
  std::unique_ptr<BackendStatement> WrapStatement(std::unique_ptr<BackendStatement> inner,
                                                  const std::string& query_name) override {
    return std::make_unique<ProbeStatement>(std::move(inner), m_probe, query_name);
  }

 private:
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
    : m_database_file(m_folder / "korvel.db"),
      m_data_link_file(m_folder / "Korvel.UDL"),
      m_file(m_database_file, tools::SqliteFile::Mode::Create) {
  m_file.SetBusyTimeout(std::chrono::seconds(10));
  // A throw-away file: no waiting for the disk.
  Exec("PRAGMA synchronous = OFF");
  Exec("BEGIN");
  Exec(schema_sql);
  Exec("COMMIT");
  WriteFileBytes(m_data_link_file,
                 DataLinkFileBytes("Provider=SQLite;Data Source=\"" + m_database_file.string() + "\""));
}

TestDatabase::~TestDatabase() = default;

void TestDatabase::Exec(std::string_view sql) { m_file.ExecuteScript(sql, sql); }

void TestDatabase::Exec(std::string_view sql, std::initializer_list<SqlValue> values) {
  tools::SqliteStatement statement = m_file.Prepare(sql, std::string(sql));
  int index = 1;
  for (const auto& value : values) {
    if (std::holds_alternative<std::nullptr_t>(value)) {
      statement.BindNull(index);
    } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
      statement.BindInteger(index, *integer);
    } else if (const auto* small = std::get_if<int>(&value)) {
      statement.BindInteger(index, *small);
    } else if (const auto* real = std::get_if<double>(&value)) {
      statement.BindReal(index, *real);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
      statement.BindText(index, *text);
    } else if (const char* chars = std::get<const char*>(value); chars != nullptr) {
      statement.BindText(index, chars);
    } else {
      statement.BindNull(index);
    }
    ++index;
  }
  while (statement.Next()) {
  }
}

std::string TestDatabase::QueryText(std::string_view sql) {
  return m_file.QueryText(sql, std::string(sql)).value_or("");
}

std::int64_t TestDatabase::QueryInteger(std::string_view sql) {
  return m_file.QueryInteger(sql, std::string(sql)).value_or(0);
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
