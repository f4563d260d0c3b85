// The T-SQL reading of the statement texts: the SQLite adapter on each
// construct it rewrites, the positional parameters of ODBC, and every SQL
// text of the system prepared and run against the embedded schema.
#include "posdb/sql_dialect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/date_time.h"
#include "posdb/backend.h"
#include "posdb/database_error.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "support/test_database.h"

namespace varnel {
namespace {

using testing::StoredDate;
using testing::TestDatabase;
using Statements = std::vector<std::string>;

TEST(SqlDialect, TokensCoverTheTextAndKnowLiterals) {
  const std::string text = "SELECT 'a:b @c ''ISNULL(' AS x, [y:z], \"w\" -- :no\n/* @v */ :p, @v, 100.0";
  std::string joined;
  std::vector<std::string> parameters, variables;
  for (const auto& token : TokenizeSql(text)) {
    joined += token.text;
    if (token.kind == SqlTokenKind::Parameter) parameters.emplace_back(token.text);
    if (token.kind == SqlTokenKind::Variable) variables.emplace_back(token.text);
  }
  EXPECT_EQ(joined, text);
  EXPECT_EQ(parameters, std::vector<std::string>{":p"});
  EXPECT_EQ(variables, std::vector<std::string>{"@v"});
}

TEST(SqlDialect, AdaptsTheTsqlConstructsForSqlite) {
  struct Case {
    const char* tsql;
    Statements sqlite;
  };
  const Case cases[] = {
      // Variables: declaration dropped, SET gives the value of every later use.
      {"DECLARE @datai DATETIME, @dataf DATETIME\nSET @datai=:datai\nSET @dataf = :dataf\n\n"
       "SELECT 1 FROM t WHERE d >=@datai AND d <= @DATAF AND e = '@datai'",
       {"\nSELECT 1 FROM t WHERE d >=:datai AND d <= :dataf AND e = '@datai'"}},
      {"declare @n int\nset @n = :a + 1\nSELECT @n", {"SELECT (:a + 1)"}},
      // ISNULL in any letter case, not inside literals, not as a longer name.
      {"SELECT ISNULL(a, 0), isnull (b,'x'), IsNull(c, 'ISNULL(d)'), ISNULLX(e) FROM t",
       {"SELECT IFNULL(a, 0), IFNULL (b,'x'), IFNULL(c, 'ISNULL(d)'), ISNULLX(e) FROM t"}},
      {"SELECT 'NA' AS doc, GETDATE() AS data, getdate ( ) AS d2, 'GETDATE()' AS t",
       {"SELECT 'NA' AS doc, datetime('now','localtime') AS data, datetime('now','localtime') AS d2, "
        "'GETDATE()' AS t"}},
      // One ALTER per column added.
      {"ALTER TABLE compensacoes ADD FS int, FT int",
       {"ALTER TABLE compensacoes ADD FS int", "ALTER TABLE compensacoes ADD FT int"}},
      {"ALTER TABLE t ADD a decimal(10,2), b varchar(5)",
       {"ALTER TABLE t ADD a decimal(10,2)", "ALTER TABLE t ADD b varchar(5)"}},
      {"ALTER TABLE documentos ADD saftsign varchar(255)", {"ALTER TABLE documentos ADD saftsign varchar(255)"}},
      // A transaction takes the write lock when it begins.
      {"BEGIN TRANSACTION", {"BEGIN IMMEDIATE TRANSACTION"}},
      {"begin tran;", {"BEGIN IMMEDIATE TRANSACTION"}},
      {"BEGIN TRANSACTION x", {"BEGIN TRANSACTION x"}},
      // Everything else passes unchanged.
      {"UPDATE documentos\nSET cliente = :cliente\nWHERE numero = :numero",
       {"UPDATE documentos\nSET cliente = :cliente\nWHERE numero = :numero"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tsql);
    EXPECT_EQ(AdaptForSqlite(c.tsql), c.sqlite);
  }
}

TEST(SqlDialect, NamedParametersBecomePositional) {
  const auto positional =
      ToPositionalParameters("SELECT a FROM t WHERE x >=:datai AND y = ':no' AND (z = :Numero OR w = :numero)");
  EXPECT_EQ(positional.text, "SELECT a FROM t WHERE x >=? AND y = ':no' AND (z = ? OR w = ?)");
  EXPECT_EQ(positional.parameters, (std::vector<std::string>{"datai", "Numero", "numero"}));
  EXPECT_EQ(ParameterNames("SELECT :a, :b, :A, ':c'"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ToPositionalParameters(kQ_comp_new.sql).parameters, (std::vector<std::string>{"datai", "dataf"}));
}

TEST(SqlDialect, EveryTextOfTheSystemPreparesAgainstTheSchema) {
  TestDatabase db;
  auto connection = OpenSqliteConnection(db.description());
  int prepared = 0;
  for (const auto& [name, sql] : AllQueryTexts()) {
    if (sql.rfind("ALTER", 0) == 0) continue;  // the columns exist here; run below
    SCOPED_TRACE(std::string(name));
    EXPECT_NO_THROW(connection->Prepare(sql, std::string(name)));
    ++prepared;
  }
  EXPECT_EQ(prepared, 36);
}

TEST(SqlDialect, EveryTextOfTheSystemRunsWithItsParameters) {
  TestDatabase db;
  db.Exec("INSERT INTO versao VALUES (2015)");
  db.Exec("INSERT INTO documentos (doc, numero, data, cliente, total, anulado, pagamento, contribuinte) "
          "VALUES ('FA', 1, ?, 1, 12.3, 0, 0, '123456789')",
          {StoredDate(2024, 1, 10)});
  PosDatabase& database = db.database();
  for (const auto& [name, sql] : AllQueryTexts()) {
    if (sql.rfind("ALTER", 0) == 0) continue;
    SCOPED_TRACE(std::string(name));
    PosQuery q(database, std::string(name), sql);
    for (const auto& parameter : ParameterNames(sql)) {
      if (parameter == "datai" || parameter == "dataf") {
        q.BindDateTime(parameter, DateTime::FromDate(2024, parameter == "datai" ? 1 : 12, 1));
      } else if (parameter == "numero" || parameter == "codigo" || parameter == "rc" || parameter == "cliente") {
        q.BindInteger(parameter, 1);
      } else {
        q.BindText(parameter, "FA");
      }
    }
    const bool returns_rows = sql.rfind("SELECT", 0) == 0 || sql.rfind("DECLARE", 0) == 0;
    if (returns_rows) {
      EXPECT_NO_THROW(q.Open());
    } else {
      EXPECT_NO_THROW(q.Execute());
    }
  }

  // A few results that show the rewritten texts mean what they say.
  PosQuery q_countRC(database, kQ_countRC);
  q_countRC.BindDateTime("datai", DateTime::FromDate(2024, 1, 1));
  q_countRC.BindDateTime("dataf", DateTime::FromDate(2024, 1, 31));
  q_countRC.Open();
  EXPECT_EQ(q_countRC.AsInteger("nrecs"), 0);
  PosQuery q_MaxCli(database, kQ_MaxCli);
  q_MaxCli.Open();
  EXPECT_EQ(q_MaxCli.AsInteger("codigo"), 2);
  PosQuery q_comp_old(database, kQ_comp_old);
  q_comp_old.BindDateTime("datai", DateTime::FromDate(2024, 1, 1));
  q_comp_old.BindDateTime("dataf", DateTime::FromDate(2024, 1, 31));
  q_comp_old.Open();
  EXPECT_EQ(q_comp_old.AsText("doc"), "NA");
  EXPECT_EQ(q_comp_old.AsDateTime("data").DatePart(), DateTime::Today());
}

TEST(SqlDialect, AlterTableAddsEachMissingColumnAndReportsTheRest) {
  TestDatabase db(
      "CREATE TABLE compensacoes (id INTEGER PRIMARY KEY, FA INTEGER, FS INTEGER);"
      "CREATE TABLE documentos (doc VARCHAR(50), numero INTEGER);");
  PosDatabase& database = db.database();

  // FS exists already: FT is still added, and the failure still reported.
  PosQuery q_usertable(database, kAlterCompensacoes);
  try {
    q_usertable.Execute();
    FAIL() << "no error for the existing column";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("duplicate column name: FS"), std::string::npos) << error.what();
    EXPECT_EQ(error.query_name(), "q_usertable");
  }
  EXPECT_EQ(db.QueryInteger("SELECT count(*) FROM pragma_table_info('compensacoes') WHERE name = 'FT'"), 1);

  q_usertable.SetSql(kAlterDocumentos.sql);
  q_usertable.Execute();
  EXPECT_EQ(db.QueryInteger("SELECT count(*) FROM pragma_table_info('documentos') WHERE name = 'saftsign'"), 1);
  EXPECT_THROW(q_usertable.Execute(), DatabaseError);  // now it exists
}

}  // namespace
}  // namespace varnel
