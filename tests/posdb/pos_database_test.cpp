// PosDatabase and PosQuery around the back ends: one prepared statement per
// query and connection, a connection that breaks in the middle of a run,
// waiting for a lock held by the point of sale, locate on large results, and
// the errors for a database that cannot be reached.
#include "posdb/pos_database.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "base/errors.h"
#include "posdb/database_error.h"
#include "posdb/backend.h"
#include "support/forwarding_backend.h"
#include "support/test_database.h"
#include "tools/sqlite_file.h"

namespace varnel {
namespace {

using testing::DataLinkFileBytes;
using testing::LinkProbe;
using testing::ProbingFactory;
using testing::StoredDate;
using testing::TestDatabase;
using testing::WriteFileBytes;

TEST(PosDatabase, PreparesEachQueryOncePerConnection) {
  TestDatabase db;
  LinkProbe probe;
  PosDatabase database(ProbingFactory(probe));
  database.Connect(db.data_link_file());
  database.Connect(db.data_link_file());  // connected already: nothing happens
  EXPECT_EQ(database.connection_serial(), 1u);

  PosQuery q(database, "q_ven", "SELECT codigo FROM vendas WHERE numero = :numero");
  for (int numero = 1; numero <= 3; ++numero) {
    q.BindInteger("numero", numero);
    q.Open();
    q.Close();
  }
  q.SetSql("SELECT codigo FROM vendas WHERE numero = :numero");
  q.Open();
  EXPECT_EQ(probe.prepared, 1);
  EXPECT_EQ(database.statements_run(), 4u);

  q.SetSql("SELECT descricao FROM vendas WHERE numero = :numero");
  q.Open();  // the value bound before still holds
  EXPECT_EQ(probe.prepared, 2);

  database.Disconnect();
  EXPECT_THROW(q.Open(), DatabaseError);
  database.Connect(db.data_link_file());
  q.Open();
  EXPECT_EQ(probe.prepared, 3);
  EXPECT_EQ(database.statements_run(), 1u);  // counted since the connection was made
}

TEST(PosDatabase, ABrokenConnectionFailsTheRunAndTheNextConnectMakesANewOne) {
  TestDatabase db;
  db.Exec("INSERT INTO clientes (codigo, nome) VALUES (2, 'Ana'), (3, 'Rui')");
  LinkProbe probe;
  probe.break_at_run = 2;
  PosDatabase database(ProbingFactory(probe));
  database.Connect(db.data_link_file());

  PosQuery q_cli(database, "q_cli", "SELECT codigo, nome FROM clientes WHERE codigo > :codigo");
  q_cli.BindInteger("codigo", 1);
  q_cli.Open();
  q_cli.Open();
  try {
    q_cli.Open();
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_STREQ(error.what(), "[08S01] Communication link failure (ODBC, query q_cli)");
  }
  EXPECT_FALSE(q_cli.IsOpen());
  EXPECT_TRUE(q_cli.Eof());
  EXPECT_THROW(q_cli.Open(), DatabaseError);  // stays broken

  // The next run connects again, and the same query works on the new link.
  database.Connect(db.data_link_file());
  EXPECT_EQ(database.connection_serial(), 2u);
  q_cli.Open();
  EXPECT_EQ(q_cli.RowCount(), 2);
  EXPECT_EQ(q_cli.AsText("nome"), "Ana");
}

TEST(PosDatabase, WaitsForALockHeldByThePointOfSale) {
  TestDatabase db;
  PosDatabase& database = db.database();

  // The point of sale's own connection, with no busy timeout: it holds the
  // write lock from BEGIN EXCLUSIVE until its COMMIT 300 ms later.
  tools::SqliteFile point_of_sale(db.database_file(), tools::SqliteFile::Mode::ReadWrite);
  point_of_sale.ExecuteScript("BEGIN EXCLUSIVE; INSERT INTO iva VALUES (23, 'Normal')", "sale");
  std::atomic<bool> committed = false;
  std::thread sale([&point_of_sale, &committed] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    try {
      point_of_sale.ExecuteScript("COMMIT", "commit");
      committed = true;
    } catch (const tools::SqliteError&) {
      // Reported below, on the test's own thread.
    }
  });
  PosQuery q_iva(database, "q_iva", "SELECT codigo, descricao FROM iva ORDER BY codigo");
  EXPECT_NO_THROW(q_iva.Open());
  sale.join();
  EXPECT_TRUE(committed);
  EXPECT_EQ(q_iva.RowCount(), 1);
}

TEST(PosDatabase, LocateOnALargeResultDoesNotRescan) {
  TestDatabase db;
  db.Exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000) "
      "INSERT INTO compensacoes (TK, CM, data) SELECT i, i + 1000000, '2024-01-01 00:00:00' FROM n");
  PosQuery q_comp(db.database(), "q_comp", "SELECT 'TK' AS doc, TK AS numero, CM AS refnum FROM compensacoes");
  q_comp.Open();
  const auto start = std::chrono::steady_clock::now();
  std::int64_t found = 0;
  for (std::int64_t numero = 60000; numero >= 1; --numero) {
    if (q_comp.Locate("doc;numero", {std::string("TK"), numero})) found += q_comp.AsInteger("refnum") - 1000000;
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(found, std::int64_t{60000} * 60001 / 2);
  // A scan from the top per search would take minutes here.
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(PosDatabase, ValuesThatAreNotTheirColumnsTypeNameFieldAndQuery) {
  TestDatabase db;
  db.Exec("INSERT INTO documentos (doc, numero, total, data) VALUES ('FA', 1, 'doze', 'ontem')");
  PosQuery q_doc(db.database(), "q_doc_new", "SELECT total, data FROM documentos");
  q_doc.Open();
  try {
    q_doc.AsCurrency("total");
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "The value \"doze\" of field total in query q_doc_new is not a number.");
  }
  EXPECT_THROW(q_doc.AsDateTime("data"), ConversionError);
  EXPECT_EQ(q_doc.AsText("total"), "doze");
}

TEST(PosDatabase, ReportsADatabaseThatCannotBeReached) {
  TestDatabase db;
  PosDatabase database;
  PosQuery q(database, "q_versao", "SELECT major FROM versao");
  try {
    q.Open();
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_STREQ(error.what(), "The database is not connected. (database, query q_versao)");
  }

  const auto missing = db.folder() / "missing.db";
  WriteFileBytes(db.data_link_file(), DataLinkFileBytes("Provider=SQLite;Data Source=" + missing.string()));
  try {
    database.Connect(db.data_link_file());
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_EQ(std::string(error.what()),
              "The database file \"" + missing.string() + "\" does not exist. (SQLite)");
  }
  EXPECT_FALSE(std::filesystem::exists(missing));  // not created empty

  WriteFileBytes(missing, "this is no database, just text that is long enough to have a header");
  EXPECT_THROW(database.Connect(db.data_link_file()), DatabaseError);
  EXPECT_FALSE(database.IsConnected());
}

// A fault of the calling code is a QueryMisuseError, never a DatabaseError,
// and its text names the query as a database error does.
TEST(PosQuery, MisuseIsAnErrorOfItsOwnNamingTheQuery) {
  TestDatabase db;
  db.Exec("INSERT INTO clientes (codigo, nome) VALUES (2, 'Ana')");
  PosQuery q_cli(db.database(), "q_cli", "SELECT codigo, nome FROM clientes WHERE codigo > :codigo");
  PosQuery q_docs(db.database(), "q_docs", "SELECT codigo FROM clientes");
  q_docs.SetForwardOnly(true);
  const auto text_of = [](const std::function<void()>& action) -> std::string {
    try {
      action();
    } catch (const DatabaseError& error) {
      return std::string("DatabaseError: ") + error.what();
    } catch (const QueryMisuseError& error) {
      return error.what();
    }
    return "no error";
  };
  EXPECT_EQ(text_of([&] { q_cli.Next(); }), "The query is not open. (database, query q_cli)");
  EXPECT_EQ(text_of([&] { q_cli.BindInteger("codgo", 1); }), "The query has no parameter :codgo. (database, query q_cli)");
  q_cli.BindInteger("codigo", 1);
  q_cli.Open();
  EXPECT_EQ(text_of([&] { q_cli.AsText("morada"); }), "The query has no field morada. (SQLite, query q_cli)");
  EXPECT_EQ(text_of([&] { q_cli.Locate("codigo;nome", {std::int64_t{2}}); }),
            "Locate was given 2 fields and 1 values. (SQLite, query q_cli)");
  q_cli.Next();
  EXPECT_EQ(text_of([&] { q_cli.AsText("nome"); }), "The query has no current row (field nome). (SQLite, query q_cli)");
  q_docs.Open();
  EXPECT_EQ(text_of([&] { q_docs.Locate("codigo", {std::int64_t{2}}); }),
            "A forward-only query cannot be searched (Locate). (SQLite, query q_docs)");
}

// Statements between Run and Finish, counted by a wrapper around the real
// back end.
class CursorCount : public testing::ForwardingConnection {
 public:
  CursorCount(std::unique_ptr<BackendConnection> inner, int& open)
      : ForwardingConnection(std::move(inner)), m_open(open) {}

 protected:
  class Counted : public testing::ForwardingStatement {
   public:
    Counted(std::unique_ptr<BackendStatement> inner, std::string name, int& open)
        : ForwardingStatement(std::move(inner), std::move(name)), m_open(open) {}
    void Run(const ParameterValues& values) override {
      if (!m_running) ++m_open;
      m_running = true;
      ForwardingStatement::Run(values);
    }
    void Finish() noexcept override {
      if (m_running) --m_open;
      m_running = false;
      ForwardingStatement::Finish();
    }

   private:
    int& m_open;
    bool m_running = false;
  };

  std::unique_ptr<BackendStatement> WrapStatement(std::unique_ptr<BackendStatement> inner,
                                                  const std::string& query_name) override {
    return std::make_unique<Counted>(std::move(inner), query_name, m_open);
  }

 private:
  int& m_open;
};

// A statement that fails while its rows are read is ended, whichever call
// was reading, and the query stands at its end; a streamed query keeps its
// cursor open only while rows are to come. The same for writes and
// transactions, which end with their statement.
TEST(PosQuery, AFailureWhileReadingRowsLeavesNoCursorOpen) {
  TestDatabase db;
  db.Exec("INSERT INTO clientes (codigo, nome) VALUES (1, 'a'), (2, 'b'), (3, 'c')");
  int open = 0;
  PosDatabase database([&open](const ConnectionDescription& description) -> std::unique_ptr<BackendConnection> {
    return std::make_unique<CursorCount>(OpenBackendConnection(description), open);
  });
  database.Connect(db.data_link_file());
  // The third row overflows: the failure comes from the step that reads it.
  const std::string sql =
      "SELECT abs(CASE WHEN codigo = 3 THEN -9223372036854775807 - 1 ELSE codigo END) AS v FROM clientes";

  PosQuery whole(database, "q_whole", sql);
  EXPECT_THROW(whole.Open(), DatabaseError);
  EXPECT_FALSE(whole.IsOpen());
  EXPECT_TRUE(whole.Eof());
  EXPECT_EQ(open, 0);

  PosQuery streamed(database, "q_streamed", sql);
  streamed.SetForwardOnly(true);
  streamed.Open();
  streamed.Next();
  EXPECT_EQ(streamed.AsInteger("v"), 2);
  EXPECT_EQ(open, 1) << "the streamed cursor was closed with rows to come";
  EXPECT_THROW(streamed.RowCount(), DatabaseError);
  EXPECT_TRUE(streamed.Eof());
  EXPECT_EQ(open, 0);

  streamed.Open();
  streamed.Next();
  EXPECT_THROW(streamed.Next(), DatabaseError);
  EXPECT_TRUE(streamed.Eof());
  EXPECT_EQ(open, 0);
  EXPECT_THROW(streamed.AsInteger("v"), QueryMisuseError);

  PosQuery insert(database, "q_AddCli", "INSERT INTO clientes (codigo, nome) VALUES (1, 'again')");
  EXPECT_THROW(insert.Execute(), DatabaseError);
  database.BeginTransaction();
  database.CommitTransaction();
  EXPECT_THROW(database.CommitTransaction(), DatabaseError);  // none is open
  EXPECT_EQ(open, 0);
}

}  // namespace
}  // namespace varnel
