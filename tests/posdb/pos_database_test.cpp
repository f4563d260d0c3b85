// PosDatabase and PosQuery around the back ends: one prepared statement per
// query and connection, a connection that breaks in the middle of a run,
// waiting for a lock held by the point of sale, locate on large results, and
// the errors for a database that cannot be reached.
#include "posdb/pos_database.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "base/errors.h"
#include "posdb/database_error.h"
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

}  // namespace
}  // namespace varnel
