// PosDatabase: the one connection through which every query of the system
// runs, and PosQuery, a named, parameterised statement over it. Queries are
// written in T-SQL as the point-of-sale product's database speaks it; each
// back end makes those texts run (the SQLite back end through a small dialect
// adapter, ODBC passing them to SQL Server unchanged).
//
// A query's result is held client-side (static): the row count is exact and
// locate searches from the first row, through an index built on first use.
// A query marked forward-only streams its rows instead (for the long document
// loops, so memory does not grow with the period); its RowCount runs the
// statement once more to count, and Locate on it raises QueryMisuseError.
// Every failure of the database raises DatabaseError with the driver's
// message and the query's name; a use of a query against its rules (a
// parameter or field it does not have, no current row, a query not open)
// raises QueryMisuseError; a value that does not read as the type asked
// raises ConversionError naming the field and the query. Null values read as "", 0, 0, the zero
// date-time, false and 0. Numbers read as text give their shortest decimal
// text ("23", "12.5").
//
// Writes can be grouped in a transaction (a Transaction guard, or
// BeginTransaction, then CommitTransaction or RollbackTransaction); the
// embedded database asks for it (WritesInTransactions), since there every
// commit waits for the disk.
//
// The SQL texts of the system are in posdb/query_texts.h, each with its name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/currency.h"
#include "base/date_time.h"
#include "posdb/data_link.h"
#include "posdb/param_value.h"

namespace varnel {

class BackendConnection;
class ResultStore;
struct CellView;
struct QueryText;

class PosDatabase {
 public:
  using ConnectionFactory =
      std::function<std::unique_ptr<BackendConnection>(const ConnectionDescription&)>;

  PosDatabase();
  // Tests put a wrapper around the real back end through the factory.
  explicit PosDatabase(ConnectionFactory factory);
  ~PosDatabase();
  PosDatabase(const PosDatabase&) = delete;
  PosDatabase& operator=(const PosDatabase&) = delete;

  // Reads the data link file and connects; does nothing while connected,
  // unless the driver has reported the connection lost, in which case it
  // connects afresh (queries then prepare again). Raises DataLinkError or
  // DatabaseError.
  void Connect(const std::filesystem::path& data_link_file);
  void ConnectTo(const ConnectionDescription& description);
  bool IsConnected() const { return m_connection != nullptr; }
  void Disconnect();

  // Number of statements opened or executed since the connection was made
  // (the benchmark reports queries per document).
  std::uint64_t statements_run() const { return m_statements_run; }

  // True on the embedded (SQLite) database, where a commit per statement
  // costs a wait for the disk each; SQL Server commits cheaply.
  bool WritesInTransactions() const { return m_kind == ConnectionDescription::Kind::Sqlite; }
  // Each runs one statement (counted) and raises DatabaseError on failure.
  void BeginTransaction();
  void CommitTransaction();
  // Never raises. When the roll back cannot be sent (the link is gone, or the
  // statement fails) the connection is dropped, which ends the transaction
  // on the database's side; the next Connect connects afresh.
  void RollbackTransaction() noexcept;

  // For PosQuery: the live back end; raises DatabaseError when not connected.
  BackendConnection& backend(std::string_view query_name);
  void CountStatement() { ++m_statements_run; }
  // Bumped on every (re)connection, so queries know to prepare again.
  std::uint64_t connection_serial() const { return m_connection_serial; }

 private:
  ConnectionFactory m_factory;
  std::unique_ptr<BackendConnection> m_connection;
  ConnectionDescription::Kind m_kind = ConnectionDescription::Kind::Sqlite;
  std::uint64_t m_statements_run = 0;
  std::uint64_t m_connection_serial = 0;
};

// A group of writes committed whole or not at all: the constructor begins
// it, Commit commits it, and a guard left without Commit (a failure on the
// way) rolls it back, which never raises (see RollbackTransaction). A
// failing Commit rolls back too.
class Transaction {
 public:
  explicit Transaction(PosDatabase& database);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit();

 private:
  PosDatabase& m_database;
  bool m_committed = false;
};

class PosQuery {
 public:
  PosQuery(PosDatabase& database, std::string name, std::string_view sql = {});
  // A query of the system: its name and text as one value (query_texts.h).
  PosQuery(PosDatabase& database, const QueryText& text);
  ~PosQuery();
  PosQuery(const PosQuery&) = delete;
  PosQuery& operator=(const PosQuery&) = delete;

  const std::string& name() const { return m_name; }
  const std::string& sql() const { return m_sql; }
  // Replaces the statement text; the same text again keeps the prepared
  // statement. Closes the query when the text changes.
  void SetSql(std::string_view sql);
  void SetForwardOnly(bool forward_only);

  // A value stays bound across later openings (and across SetSql). Names are
  // given without the colon and in any letter case; a name the statement
  // text does not have raises QueryMisuseError.
  void BindDateTime(std::string_view name, DateTime value);
  void BindInteger(std::string_view name, std::int64_t value);
  void BindText(std::string_view name, std::string_view value);
  void BindNull(std::string_view name, ParamType type);

  // Runs the query with the values bound and stands on the first row. A
  // parameter without a value raises DatabaseError.
  void Open();
  void Close();  // releases the result; closing a closed query does nothing
  bool IsOpen() const;
  bool IsEmpty() const;
  bool Eof() const;  // past the last row; at once for an empty result
  void Next();
  int RowCount();
  // Stands on the first row whose fields (one name, or two separated by ";")
  // equal the values; returns whether one was found (the position stays
  // where it was when not). Texts compare exactly, ignoring trailing blanks;
  // numbers compare by value (an integer 15 matches 15, 15.0 and "15").
  // Each set of fields is indexed on its first search, so searching once per
  // document line costs no rescan. An unknown field, a count of values other
  // than the fields', a closed or a forward-only query raise QueryMisuseError.
  bool Locate(std::string_view fields, std::initializer_list<LocateValue> values);

  // Field of the current row by column name (case-insensitive). An unknown
  // field, or no current row (closed, at end), raises QueryMisuseError.
  bool IsNull(std::string_view field) const;
  std::string AsText(std::string_view field) const;
  std::int64_t AsInteger(std::string_view field) const;
  Currency AsCurrency(std::string_view field) const;
  DateTime AsDateTime(std::string_view field) const;
  bool AsBoolean(std::string_view field) const;
  double AsFloat(std::string_view field) const;

  // Runs a statement that returns no rows.
  void Execute();

 private:
  struct Impl;
  void SetParameter(std::string_view name, ParamValue value);
  void Prepare();
  std::size_t Column(std::string_view field) const;
  CellView CurrentCell(std::string_view field) const;
  [[noreturn]] void RaiseMisuse(const std::string& message) const;

  PosDatabase& m_database;
  std::string m_name;
  std::string m_sql;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace varnel
