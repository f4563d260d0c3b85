// PosDatabase and PosQuery over the back-end seam. A query prepares its
// statement once per connection and re-runs it on every Open with the values
// bound so far. States of a query:
//   1. closed   - no result; Open or Execute runs the statement;
//   2. static   - every row in the ResultStore, cursor is a row index;
//   3. streamed - (forward-only) only the current row in the store, the
//                 back end's cursor stays open until the last row or Close;
//   Eof is true when closed, past the last row, or at once for no rows.
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

#include "base/ascii_text.h"

#include <cctype>
#include <optional>
#include <utility>

#include "posdb/backend.h"
#include "posdb/database_error.h"
#include "posdb/field_values.h"
#include "posdb/result_store.h"
#include "posdb/sql_dialect.h"

namespace varnel {
namespace {

// A closed query keeps a small result's memory for its next opening and
// gives a large one back.
constexpr std::size_t kKeptResultBytes = 1 << 20;

}  // namespace

const ParamValue& FindParameter(const ParameterValues& values, std::string_view name, std::string_view backend,
                                std::string_view query_name) {
  const auto found = values.find(AsciiLower(name));
  if (found == values.end()) {
    throw DatabaseError(std::string(backend), 0, "No value is bound to the parameter :" + std::string(name),
                        std::string(query_name));
  }
  return found->second;
}

namespace {

void RunTransactionStatement(BackendConnection& connection, const QueryText& text) {
  const auto statement = connection.Prepare(text.sql, std::string(text.name));
  StatementRun run(*statement);
  statement->Run({});
}

}  // namespace

void BackendConnection::BeginTransaction() { RunTransactionStatement(*this, kBeginTransaction); }
void BackendConnection::CommitTransaction() { RunTransactionStatement(*this, kCommitTransaction); }
void BackendConnection::RollbackTransaction() { RunTransactionStatement(*this, kRollbackTransaction); }

std::unique_ptr<BackendConnection> OpenBackendConnection(const ConnectionDescription& description) {
  if (description.kind == ConnectionDescription::Kind::Sqlite) return OpenSqliteConnection(description);
  return OpenOdbcConnection(description);
}

// ---------------------------------------------------------------------------
// PosDatabase

PosDatabase::PosDatabase() : m_factory(OpenBackendConnection) {}

PosDatabase::PosDatabase(ConnectionFactory factory) : m_factory(std::move(factory)) {}

PosDatabase::~PosDatabase() = default;

void PosDatabase::Connect(const std::filesystem::path& data_link_file) {
  if (m_connection && !m_connection->is_broken()) return;
  ConnectTo(ReadDataLinkFile(data_link_file));
}

void PosDatabase::ConnectTo(const ConnectionDescription& description) {
  if (m_connection && !m_connection->is_broken()) return;
  m_connection.reset();
  auto connection = m_factory(description);
  if (!connection) throw DatabaseError("database", 0, "The database connection could not be made.", "");
  m_connection = std::move(connection);
  m_kind = description.kind;
  ++m_connection_serial;
  m_statements_run = 0;
}

void PosDatabase::Disconnect() { m_connection.reset(); }

void PosDatabase::BeginTransaction() {
  BackendConnection& connection = backend(kBeginTransaction.name);
  CountStatement();
  connection.BeginTransaction();
}

void PosDatabase::CommitTransaction() {
  BackendConnection& connection = backend(kCommitTransaction.name);
  CountStatement();
  connection.CommitTransaction();
}

void PosDatabase::RollbackTransaction() noexcept {
  if (!m_connection) return;
  if (!m_connection->is_broken()) {
    try {
      CountStatement();
      m_connection->RollbackTransaction();
      return;
    } catch (...) {
      // Dropped below: a connection left inside a transaction would hold
      // the database's write lock and lose the next batch at its close.
    }
  }
  Disconnect();
}

Transaction::Transaction(PosDatabase& database) : m_database(database) { m_database.BeginTransaction(); }

Transaction::~Transaction() {
  if (!m_committed) m_database.RollbackTransaction();
}

void Transaction::Commit() {
  m_database.CommitTransaction();
  m_committed = true;
}

BackendConnection& PosDatabase::backend(std::string_view query_name) {
  if (!m_connection) {
    throw DatabaseError("database", 0, "The database is not connected.", std::string(query_name));
  }
  return *m_connection;
}

// ---------------------------------------------------------------------------
// PosQuery

struct PosQuery::Impl {
  std::vector<std::string> parameter_names;  // of the statement text
  ParameterValues values;                    // by lower-case name
  std::unique_ptr<BackendStatement> statement;
  std::uint64_t prepared_serial = 0;  // connection the statement belongs to
  std::string backend_name = "database";
  bool forward_only = false;
  bool open = false;
  bool eof = true;
  ResultStore store;
  std::size_t row = 0;  // static: current row; streamed: rows passed before the current one
  std::optional<int> counted_rows;  // streamed: row count once taken
};

PosQuery::PosQuery(PosDatabase& database, std::string name, std::string_view sql)
    : m_database(database), m_name(std::move(name)), m_impl(std::make_unique<Impl>()) {
  SetSql(sql);
}

PosQuery::PosQuery(PosDatabase& database, const QueryText& text)
    : PosQuery(database, std::string(text.name), text.sql) {}

PosQuery::~PosQuery() { Close(); }

void PosQuery::SetSql(std::string_view sql) {
  if (sql == m_sql) return;
  Close();
  m_sql = std::string(sql);
  m_impl->statement.reset();
  m_impl->parameter_names = ParameterNames(m_sql);
}

void PosQuery::SetForwardOnly(bool forward_only) {
  if (forward_only == m_impl->forward_only) return;
  Close();
  m_impl->forward_only = forward_only;
}

namespace {

ParamValue MakeValue(ParamType type) {
  ParamValue value;
  value.type = type;
  value.is_null = false;
  return value;
}

}  // namespace

void PosQuery::BindDateTime(std::string_view name, DateTime value) {
  ParamValue bound = MakeValue(ParamType::DateTime);
  bound.date_time = value;
  SetParameter(name, std::move(bound));
}

void PosQuery::BindInteger(std::string_view name, std::int64_t value) {
  ParamValue bound = MakeValue(ParamType::Integer);
  bound.integer = value;
  SetParameter(name, std::move(bound));
}

void PosQuery::BindText(std::string_view name, std::string_view value) {
  ParamValue bound = MakeValue(ParamType::Text);
  bound.text = std::string(value);
  SetParameter(name, std::move(bound));
}

void PosQuery::BindNull(std::string_view name, ParamType type) {
  ParamValue bound;
  bound.type = type;
  bound.is_null = true;
  SetParameter(name, std::move(bound));
}

void PosQuery::SetParameter(std::string_view name, ParamValue value) {
  if (!name.empty() && name.front() == ':') name.remove_prefix(1);
  const std::string key = AsciiLower(name);
  bool known = false;
  for (const auto& parameter : m_impl->parameter_names) known = known || AsciiLower(parameter) == key;
  if (!known) RaiseMisuse("The query has no parameter :" + std::string(name) + ".");
  m_impl->values[key] = std::move(value);
}

void PosQuery::Prepare() {
  BackendConnection& backend = m_database.backend(m_name);
  m_impl->backend_name = backend.backend_name();
  if (m_impl->statement && m_impl->prepared_serial == m_database.connection_serial()) return;
  m_impl->statement.reset();
  if (TrimWhiteSpace(m_sql).empty()) RaiseMisuse("The query has no statement text.");
  m_impl->statement = backend.Prepare(m_sql, m_name);
  m_impl->prepared_serial = m_database.connection_serial();
}

void PosQuery::Open() {
  Close();
  Prepare();
  Impl& impl = *m_impl;
  m_database.CountStatement();
  // The result is read into the store taken aside (its memory reused), and
  // put back once whole: a failure drops what was read with it, and the
  // query stays closed and at its end.
  ResultStore store = std::exchange(impl.store, ResultStore());
  StatementRun run(*impl.statement);
  impl.statement->Run(impl.values);
  std::vector<std::string> columns;
  const std::size_t column_count = impl.statement->ColumnCount();
  for (std::size_t column = 0; column < column_count; ++column) {
    columns.push_back(impl.statement->ColumnName(column));
  }
  store.Reset(std::move(columns));
  bool eof = true;
  if (impl.forward_only) {
    eof = !impl.statement->FetchRow(store);
    if (!eof) run.KeepOpen();
  } else {
    while (impl.statement->FetchRow(store)) {
    }
    eof = store.row_count() == 0;
  }
  impl.store = std::move(store);
  impl.eof = eof;
  impl.row = 0;
  impl.counted_rows.reset();
  impl.open = true;
}

void PosQuery::Close() {
  Impl& impl = *m_impl;
  if (!impl.open) return;
  if (impl.statement) impl.statement->Finish();
  if (impl.store.memory_bytes() > kKeptResultBytes) {
    impl.store = ResultStore();
  } else {
    impl.store.ClearRows();
  }
  impl.open = false;
  impl.eof = true;
  impl.row = 0;
  impl.counted_rows.reset();
}

bool PosQuery::IsOpen() const { return m_impl->open; }

bool PosQuery::IsEmpty() const {
  const Impl& impl = *m_impl;
  if (!impl.open) return true;
  if (impl.forward_only) return impl.row == 0 && impl.eof;
  return impl.store.row_count() == 0;
}

bool PosQuery::Eof() const { return m_impl->eof; }

void PosQuery::Next() {
  Impl& impl = *m_impl;
  if (!impl.open) RaiseMisuse("The query is not open.");
  if (impl.eof) return;
  if (!impl.forward_only) {
    ++impl.row;
    impl.eof = impl.row >= impl.store.row_count();
    return;
  }
  impl.store.ClearRows();
  ++impl.row;
  impl.eof = true;  // until the next row is in: a failure leaves the query at its end
  StatementRun run(*impl.statement);
  impl.eof = !impl.statement->FetchRow(impl.store);
  if (!impl.eof) run.KeepOpen();
}

int PosQuery::RowCount() {
  Impl& impl = *m_impl;
  if (!impl.open) RaiseMisuse("The query is not open.");
  if (!impl.forward_only) return static_cast<int>(impl.store.row_count());
  if (impl.counted_rows) return *impl.counted_rows;

  // A streamed result is counted by running the statement once more to its
  // end, then running it again and stepping back to the current row.
  const std::size_t position = impl.row;
  const bool was_at_end = impl.eof;
  impl.eof = true;  // until the position is back: a failure leaves the query at its end
  int count = 0;
  ResultStore scratch;
  scratch.Reset(std::vector<std::string>(impl.store.column_count()));
  {
    StatementRun counting(*impl.statement);
    m_database.CountStatement();
    impl.statement->Run(impl.values);
    while (impl.statement->FetchRow(scratch)) {
      ++count;
      scratch.ClearRows();
    }
  }
  if (!was_at_end) {
    StatementRun again(*impl.statement);
    m_database.CountStatement();
    impl.statement->Run(impl.values);
    impl.store.ClearRows();
    bool more = true;
    for (std::size_t skipped = 0; skipped < position && more; ++skipped) {
      more = impl.statement->FetchRow(impl.store);
      impl.store.ClearRows();
    }
    impl.eof = !(more && impl.statement->FetchRow(impl.store));
    if (!impl.eof) again.KeepOpen();
  }
  impl.counted_rows = count;
  return count;
}

bool PosQuery::Locate(std::string_view fields, std::initializer_list<LocateValue> values) {
  Impl& impl = *m_impl;
  if (impl.forward_only) RaiseMisuse("A forward-only query cannot be searched (Locate).");
  if (!impl.open) RaiseMisuse("The query is not open.");
  std::vector<std::size_t> columns;
  std::size_t start = 0;
  while (start <= fields.size()) {
    auto end = fields.find(';', start);
    if (end == std::string_view::npos) end = fields.size();
    columns.push_back(Column(TrimWhiteSpace(fields.substr(start, end - start))));
    start = end + 1;
  }
  if (columns.size() != values.size()) {
    RaiseMisuse("Locate was given " + std::to_string(columns.size()) + " fields and " +
                std::to_string(values.size()) + " values.");
  }
  const auto found = impl.store.Locate(columns, std::vector<LocateValue>(values));
  if (!found) return false;
  impl.row = *found;
  impl.eof = false;
  return true;
}

std::size_t PosQuery::Column(std::string_view field) const {
  const auto column = m_impl->store.FindColumn(field);
  if (!column) RaiseMisuse("The query has no field " + std::string(field) + ".");
  return *column;
}

CellView PosQuery::CurrentCell(std::string_view field) const {
  const Impl& impl = *m_impl;
  if (!impl.open) RaiseMisuse("The query is not open.");
  const std::size_t column = Column(field);
  if (impl.eof) RaiseMisuse("The query has no current row (field " + std::string(field) + ").");
  return impl.store.Cell(impl.forward_only ? 0 : impl.row, column);
}

bool PosQuery::IsNull(std::string_view field) const { return CurrentCell(field).type == CellType::Null; }

std::string PosQuery::AsText(std::string_view field) const { return CellAsText(CurrentCell(field)); }

std::int64_t PosQuery::AsInteger(std::string_view field) const {
  return CellAsInteger(CurrentCell(field), FieldPlace{field, m_name});
}

Currency PosQuery::AsCurrency(std::string_view field) const {
  return CellAsCurrency(CurrentCell(field), FieldPlace{field, m_name});
}

DateTime PosQuery::AsDateTime(std::string_view field) const {
  return CellAsDateTime(CurrentCell(field), FieldPlace{field, m_name});
}

bool PosQuery::AsBoolean(std::string_view field) const { return CellAsBoolean(CurrentCell(field)); }

double PosQuery::AsFloat(std::string_view field) const {
  return CellAsFloat(CurrentCell(field), FieldPlace{field, m_name});
}

void PosQuery::Execute() {
  Close();
  Prepare();
  m_database.CountStatement();
  StatementRun run(*m_impl->statement);
  m_impl->statement->Run(m_impl->values);
}

void PosQuery::RaiseMisuse(const std::string& message) const {
  throw QueryMisuseError(m_impl->backend_name, message, m_name);
}

}  // namespace varnel
