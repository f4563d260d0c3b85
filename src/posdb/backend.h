// The seam between PosDatabase and a database driver. A back end opens one
// connection and prepares statements on it; a statement binds the query's
// named parameters, runs, and hands its rows to a ResultStore cell by cell.
// Tests wrap a real back end in their own (a connection that breaks in the
// middle of a run, a statement that fails) through PosDatabase's factory.
// A transaction is three statements through the same seam (begin, commit,
// roll back), so a wrapper sees and counts them like any other.
//
// Lifetimes: a statement may outlive its connection object (a query that
// still holds one after Disconnect); back ends keep the driver's handles alive
// until the last statement goes. Every failure raises DatabaseError.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "posdb/data_link.h"
#include "posdb/param_value.h"

namespace varnel {

class ResultStore;

// The values bound to a query, by parameter name in lower case.
using ParameterValues = std::map<std::string, ParamValue, std::less<>>;

// The value of parameter name (any letter case) in values; raises
// DatabaseError naming the parameter and the query when none is bound.
const ParamValue& FindParameter(const ParameterValues& values, std::string_view name,
                                std::string_view backend, std::string_view query_name);

class BackendStatement {
 public:
  virtual ~BackendStatement() = default;

  // Binds every parameter of the statement from values and runs it; the
  // result's columns are known afterwards. Ends any earlier run first.
  virtual void Run(const ParameterValues& values) = 0;
  virtual std::size_t ColumnCount() const = 0;
  virtual std::string ColumnName(std::size_t column) const = 0;
  // Appends the next row's cells to store (column by column); false, with
  // nothing appended, past the last row.
  virtual bool FetchRow(ResultStore& store) = 0;
  // Ends the current run and releases its cursor; the statement stays
  // prepared for the next Run. Never raises.
  virtual void Finish() noexcept = 0;
};

// One run of a statement, from Run to the end of its rows: leaving the
// guard's scope, by a return or by a failure, ends the run (Finish), so no
// failure between Run and the last row leaves the back end's cursor open.
// KeepOpen hands the open cursor on instead, for a streamed result whose
// next rows are read later. Make the guard before calling Run, so a failing
// Run is ended too.
class StatementRun {
 public:
  explicit StatementRun(BackendStatement& statement) noexcept : m_statement(&statement) {}
  ~StatementRun() {
    if (m_statement != nullptr) m_statement->Finish();
  }
  StatementRun(const StatementRun&) = delete;
  StatementRun& operator=(const StatementRun&) = delete;

  void KeepOpen() noexcept { m_statement = nullptr; }

 private:
  BackendStatement* m_statement;
};

class BackendConnection {
 public:
  virtual ~BackendConnection() = default;

  // "SQLite" or "ODBC": the back end named in error messages.
  virtual std::string backend_name() const = 0;
  // True once the driver has reported the connection lost; PosDatabase then
  // connects afresh on the next Connect instead of keeping it.
  virtual bool is_broken() const { return false; }
  // Prepares the T-SQL text sql for query query_name (named in its errors).
  virtual std::unique_ptr<BackendStatement> Prepare(std::string_view sql, const std::string& query_name) = 0;

  // A group of writes committed whole or not at all. By default each runs
  // its T-SQL statement (query_texts.h) through Prepare: SQL Server takes
  // them as they are, the SQLite dialect adapter takes the write lock at the
  // begin. Raise DatabaseError like any statement.
  virtual void BeginTransaction();
  virtual void CommitTransaction();
  virtual void RollbackTransaction();
};

// The real back ends. OpenBackendConnection picks one by the description's
// kind; it is PosDatabase's default factory.
std::unique_ptr<BackendConnection> OpenSqliteConnection(const ConnectionDescription& description);
std::unique_ptr<BackendConnection> OpenOdbcConnection(const ConnectionDescription& description);
std::unique_ptr<BackendConnection> OpenBackendConnection(const ConnectionDescription& description);

}  // namespace varnel
