// One set of tests for what every back end must do alike, run against the
// embedded SQLite back end and against the same database file through the
// ODBC driver manager (SQLite ODBC driver): binding of each parameter type,
// reading of each type and of nulls, wide text, exact decimals, date-times,
// row count, navigation, locate, streaming and errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/currency.h"
#include "base/date_time.h"
#include "posdb/database_error.h"
#include "posdb/pos_database.h"
#include "support/driver_path.h"
#include "support/test_database.h"

namespace varnel {
namespace {

using testing::StoredDate;
using testing::TestDatabase;

constexpr const char* kSqliteOdbcDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

enum class Backend { Sqlite, OdbcSqlite };

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::Sqlite ? "Sqlite" : "OdbcSqlite";
}

class BackendContract : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    if (GetParam() == Backend::OdbcSqlite && !std::filesystem::exists(kSqliteOdbcDriver)) {
      GTEST_SKIP() << "the SQLite ODBC driver (libsqliteodbc) is not installed";
    }
    m_db.Exec(
        "CREATE TABLE amostra (id INTEGER PRIMARY KEY, doc VARCHAR(10) COLLATE RTRIM, numero INTEGER, "
        "nome VARCHAR(50) COLLATE RTRIM, valor NUMERIC, preco REAL, data DATETIME, anulado INTEGER)");
    m_db.Exec("INSERT INTO amostra VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
              {1, "FA", 7, "Água & Ções ñ €", "12.3456", 2.5, StoredDate(2024, 1, 31, 13, 45, 10), 1});
    m_db.Exec("INSERT INTO amostra (id) VALUES (2)");  // every other column NULL
    m_db.Exec("INSERT INTO amostra VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
              {3, "NC", -3, "plain", "-0.25", 23.0, StoredDate(2024, 2, 1), 0});
    ConnectionDescription description = m_db.description();
    if (GetParam() == Backend::OdbcSqlite) {
      description.kind = ConnectionDescription::Kind::Odbc;
      description.provider = "MSDASQL";
      description.odbc_connection_string =
          std::string("DRIVER={") + kSqliteOdbcDriver + "};Database=" +
          testing::DriverSidePath(m_db.database_file()) + ";";
    }
    m_database.ConnectTo(description);
    m_description = description;
  }

  TestDatabase m_db;
  ConnectionDescription m_description;
  PosDatabase m_database;
};

TEST_P(BackendContract, ReadsEveryTypeAndNull) {
  PosQuery q(m_database, "q_amostra", "SELECT doc, numero, nome, valor, preco, data, anulado FROM amostra ORDER BY id");
  q.Open();
  ASSERT_EQ(q.RowCount(), 3);
  EXPECT_EQ(q.AsText("doc"), "FA");
  EXPECT_EQ(q.AsInteger("NUMERO"), 7);  // field names ignore letter case
  EXPECT_EQ(q.AsText("numero"), "7");
  EXPECT_EQ(q.AsText("nome"), "Água & Ções ñ €");
  EXPECT_EQ(q.AsCurrency("valor"), Currency::FromRaw(123456));
  EXPECT_EQ(q.AsText("valor"), "12.3456");
  EXPECT_EQ(q.AsFloat("preco"), 2.5);
  EXPECT_EQ(q.AsCurrency("preco"), Currency::FromRaw(25000));
  EXPECT_EQ(DateTimeText(q.AsDateTime("data")), "2024-01-31T13:45:10");
  EXPECT_TRUE(q.AsBoolean("anulado"));
  EXPECT_FALSE(q.IsNull("doc"));

  q.Next();
  for (const char* field : {"doc", "numero", "nome", "valor", "preco", "data", "anulado"}) {
    SCOPED_TRACE(field);
    EXPECT_TRUE(q.IsNull(field));
    EXPECT_EQ(q.AsText(field), "");
    EXPECT_EQ(q.AsInteger(field), 0);
    EXPECT_EQ(q.AsCurrency(field), Currency());
    EXPECT_EQ(q.AsDateTime(field), DateTime());
    EXPECT_FALSE(q.AsBoolean(field));
    EXPECT_EQ(q.AsFloat(field), 0.0);
  }

  q.Next();
  EXPECT_EQ(q.AsInteger("numero"), -3);
  EXPECT_EQ(q.AsCurrency("valor"), Currency::FromRaw(-2500));
  EXPECT_EQ(q.AsText("preco"), "23");  // a whole number shows as one
  EXPECT_EQ(q.AsInteger("preco"), 23);
  EXPECT_FALSE(q.AsBoolean("anulado"));
  q.Next();
  EXPECT_TRUE(q.Eof());
}

TEST_P(BackendContract, BindsEachParameterTypeAndKeepsValuesAcrossOpenings) {
  PosQuery q(m_database, "q_bind",
             "SELECT id FROM amostra WHERE (numero = :numero OR numero = :numero + 10) AND doc = :doc "
             "AND data >= :datai AND data <= :dataf AND nome <> ':nome'");
  q.BindInteger("numero", 7);
  q.BindText("doc", "FA");
  q.BindDateTime("datai", DateTime::FromDate(2024, 1, 31));
  q.BindDateTime("dataf", DateTime::FromDate(2024, 2, 1));
  q.Open();
  ASSERT_FALSE(q.IsEmpty());
  EXPECT_EQ(q.AsInteger("id"), 1);

  // The same values again, without binding anew.
  q.Close();
  q.Open();
  EXPECT_EQ(q.RowCount(), 1);

  // Bounds are inclusive and compare whole date-times.
  q.BindDateTime("dataf", DateTime::FromParts({2024, 1, 31, 13, 45, 10, 0}));
  q.Open();
  EXPECT_EQ(q.RowCount(), 1);
  q.BindDateTime("dataf", DateTime::FromParts({2024, 1, 31, 13, 45, 9, 0}));
  q.Open();
  EXPECT_TRUE(q.IsEmpty());
  EXPECT_TRUE(q.Eof());

  // A null never equals anything.
  q.BindDateTime("dataf", DateTime::FromDate(2024, 12, 31));
  q.BindNull("doc", varnel::ParamType::Text);
  q.Open();
  EXPECT_TRUE(q.IsEmpty());

  // Wide text with accents is bound and compared as it is.
  PosQuery by_name(m_database, "q_nome", "SELECT numero FROM amostra WHERE nome = :nome");
  by_name.BindText("nome", "Água & Ções ñ €");
  by_name.Open();
  ASSERT_EQ(by_name.RowCount(), 1);
  EXPECT_EQ(by_name.AsInteger("numero"), 7);

  // A parameter the text does not have is a mistake of the caller.
  EXPECT_THROW(by_name.BindInteger("numro", 1), QueryMisuseError);
}

TEST_P(BackendContract, NavigatesAndCountsRows) {
  PosQuery none(m_database, "q_none", "SELECT id FROM amostra WHERE id < 0");
  EXPECT_TRUE(none.Eof());
  none.Open();
  EXPECT_TRUE(none.IsOpen());
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_TRUE(none.Eof());
  EXPECT_EQ(none.RowCount(), 0);
  EXPECT_THROW(none.AsText("id"), QueryMisuseError);
  none.Close();
  none.Close();
  EXPECT_FALSE(none.IsOpen());

  PosQuery all(m_database, "q_all", "SELECT id FROM amostra ORDER BY id");
  all.Open();
  EXPECT_FALSE(all.IsEmpty());
  std::string seen;
  for (; !all.Eof(); all.Next()) seen += all.AsText("id");
  EXPECT_EQ(seen, "123");
  all.Next();  // past the end stays there
  EXPECT_TRUE(all.Eof());
  EXPECT_THROW(all.AsInteger("nowhere"), QueryMisuseError);
}

TEST_P(BackendContract, LocatesTheFirstMatchingRow) {
  m_db.Exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
      "INSERT INTO amostra (id, doc, numero, nome) "
      "SELECT 100 + i, CASE i % 3 WHEN 0 THEN 'TK' WHEN 1 THEN 'VD' ELSE 'FA  ' END, i / 3, 'linha ' || i FROM n");
  PosQuery q(m_database, "q_comp", "SELECT id, doc, numero, nome FROM amostra WHERE id >= 100 ORDER BY id");
  q.Open();
  ASSERT_EQ(q.RowCount(), 3000);

  ASSERT_TRUE(q.Locate("numero", {std::int64_t{500}}));
  EXPECT_EQ(q.AsInteger("id"), 100 + 1500);  // 1500 / 3 = 500 comes first
  ASSERT_TRUE(q.Locate("doc;numero", {std::string("VD"), std::int64_t{500}}));
  EXPECT_EQ(q.AsInteger("id"), 100 + 1501);
  // Stored 'FA  ': trailing blanks do not count, on either side.
  ASSERT_TRUE(q.Locate("doc;numero", {std::string("FA"), std::int64_t{500}}));
  EXPECT_EQ(q.AsInteger("id"), 100 + 1502);
  ASSERT_TRUE(q.Locate("doc; numero", {std::string("FA "), std::int64_t{0}}));
  EXPECT_EQ(q.AsInteger("id"), 100 + 2);
  // Texts compare exactly otherwise.
  EXPECT_FALSE(q.Locate("doc;numero", {std::string("fa"), std::int64_t{500}}));
  EXPECT_FALSE(q.Locate("doc;numero", {std::string(" FA"), std::int64_t{500}}));
  EXPECT_FALSE(q.Locate("doc;numero", {std::string("NC"), std::int64_t{500}}));
  EXPECT_FALSE(q.Locate("numero", {std::int64_t{5000}}));
  // A search after a miss, and a search back towards the top.
  ASSERT_TRUE(q.Locate("nome", {std::string("linha 1")}));
  EXPECT_EQ(q.AsInteger("id"), 101);
  ASSERT_TRUE(q.Locate("numero", {std::string("1000")}));
  EXPECT_EQ(q.AsInteger("id"), 100 + 3000);
  EXPECT_THROW(q.Locate("nowhere", {std::int64_t{1}}), QueryMisuseError);

  // After the query is opened again, the index follows the new rows.
  m_db.Exec("DELETE FROM amostra WHERE id = 1600");
  q.Open();
  ASSERT_TRUE(q.Locate("numero", {std::int64_t{500}}));
  EXPECT_EQ(q.AsInteger("id"), 1601);
}

TEST_P(BackendContract, StreamsForwardOnlyResults) {
  PosQuery q(m_database, "q_doc", "SELECT id FROM amostra ORDER BY id");
  q.SetForwardOnly(true);
  q.Open();
  EXPECT_FALSE(q.IsEmpty());
  EXPECT_EQ(q.AsInteger("id"), 1);
  q.Next();
  EXPECT_EQ(q.RowCount(), 3);  // counting keeps the position
  EXPECT_EQ(q.AsInteger("id"), 2);
  EXPECT_EQ(q.RowCount(), 3);
  q.Next();
  EXPECT_EQ(q.AsInteger("id"), 3);
  q.Next();
  EXPECT_TRUE(q.Eof());
  EXPECT_FALSE(q.IsEmpty());
  EXPECT_EQ(q.RowCount(), 3);
  EXPECT_THROW(q.Locate("id", {std::int64_t{1}}), QueryMisuseError);

  PosQuery none(m_database, "q_none", "SELECT id FROM amostra WHERE id < 0");
  none.SetForwardOnly(true);
  none.Open();
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_TRUE(none.Eof());
  EXPECT_EQ(none.RowCount(), 0);
}

TEST_P(BackendContract, ExecutesAndCountsStatements) {
  const auto before = m_database.statements_run();
  PosQuery insert(m_database, "q_AddCli", "INSERT INTO amostra (id, doc, nome) VALUES (:id, :doc, :nome)");
  insert.BindInteger("id", 50);
  insert.BindText("doc", "O'Neil");  // a quote in a value is data, not text of the statement
  insert.BindNull("nome", varnel::ParamType::Text);
  insert.Execute();
  PosQuery update(m_database, "q_UpdDoc", "UPDATE amostra SET numero = :numero WHERE id = :id");
  update.BindInteger("numero", 99);
  update.BindInteger("id", 12345);  // touches no row: no failure
  update.Execute();
  EXPECT_EQ(m_database.statements_run() - before, 2u);

  PosQuery check(m_database, "q_check", "SELECT doc, nome FROM amostra WHERE id = 50");
  check.Open();
  check.Open();
  EXPECT_EQ(m_database.statements_run() - before, 4u);
  EXPECT_EQ(check.AsText("doc"), "O'Neil");
  EXPECT_TRUE(check.IsNull("nome"));
}

TEST_P(BackendContract, FailuresCarryTheDriverMessageAndTheQuery) {
  PosQuery bad(m_database, "q_bad", "SELECT nada FROM tabela_inexistente");
  try {
    bad.Open();
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_EQ(error.query_name(), "q_bad");
    EXPECT_NE(std::string(error.what()).find("tabela_inexistente"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("query q_bad"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(bad.IsOpen());

  PosQuery unbound(m_database, "q_unbound", "SELECT id FROM amostra WHERE id = :id");
  try {
    unbound.Open();
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find(":id"), std::string::npos) << error.what();
    EXPECT_EQ(error.query_name(), "q_unbound");
  }
}

TEST_P(BackendContract, QueriesMayOutliveTheirDatabase) {
  auto database = std::make_unique<PosDatabase>();
  database->ConnectTo(m_description);
  PosQuery streamed(*database, "q_doc", "SELECT id FROM amostra ORDER BY id");
  streamed.SetForwardOnly(true);
  streamed.Open();  // its cursor is still open
  PosQuery prepared(*database, "q_ven", "SELECT id FROM amostra");
  prepared.Execute();
  database.reset();
  EXPECT_EQ(streamed.AsInteger("id"), 1);  // the row in hand stays readable
}

INSTANTIATE_TEST_SUITE_P(Backends, BackendContract, ::testing::Values(Backend::Sqlite, Backend::OdbcSqlite),
                         BackendName);

}  // namespace
}  // namespace varnel
