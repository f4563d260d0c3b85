// Safe by construction, shown through whole exports: values reach SQL only
// as bound parameters (a customer named as an injection, a document code
// with a quote), a password from the data link file never reaches a message
// or a status text, and the maintenance writes nothing but new customers,
// the customer of the documents it repairs and the three columns it adds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "posdb/database_error.h"
#include "posdb/embedded_schema.h"
#include "reliability/support/database_dump.h"
#include "reliability/support/run_checks.h"
#include "reliability/support/sample_database.h"
#include "support/export_harness.h"

namespace varnel::testing::reliability {
namespace {

const std::string kInjection = "'); DROP TABLE clientes;--";

TEST(Safety, InjectionTextsTravelAsValuesThroughAWholeExport) {
  TestDatabase db;
  FillSampleDatabase(db);
  db.Exec("INSERT INTO clientes (codigo, nome, morada, localidade) VALUES (5, ?, ?, ?)",
          {kInjection, "'; DELETE FROM documentos WHERE '1'='1", "\"; DROP TABLE vendas;--"});
  // Documents that need a customer, one with a quote in its code, one whose
  // number is an injection too.
  db.Exec("INSERT INTO documentos (doc, numero, data, cliente, nome, morada, contribuinte, pagamento) "
          "VALUES ('F''A', 7, '2015-11-02 00:00:00', 0, ?, 'x''); DELETE FROM documentos;--', ?, 0)",
          {kInjection, "1'; DROP TABLE documentos;--"});
  db.Exec("INSERT INTO documentos (doc, numero, data, cliente, nome, contribuinte, pagamento) "
          "VALUES ('CM''; DROP TABLE vendas;--', 8, '2016-01-05 00:00:00', 1, 'Eva', '222222222', 0)");
  db.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, qtd, iva, total, isencao, data) "
          "VALUES ('CM', 1, 2, ?, 1, 0, 1, ?, '2016-01-02 00:00:00')",
          {"'; DROP TABLE vendas;--", "M07' OR '1'='1"});
  const std::string tables_before = db.QueryText("SELECT group_concat(name) FROM sqlite_master WHERE type = 'table'");
  const std::int64_t documents_before = db.QueryInteger("SELECT COUNT(*) FROM documentos");
  const std::int64_t lines_before = db.QueryInteger("SELECT COUNT(*) FROM vendas");

  EndingCheck check;
  check.database_file = db.database_file();
  const ExportResult result = RunChecked(db.database(), db.folder(), DefaultRequest(), check);
  ASSERT_EQ(result.outcome, RunOutcome::Completed) << LastApplicationError(result.observer);
  EXPECT_EQ(XmlLintErrors(db.folder() / "out.xml", false), "");
  EXPECT_TRUE(check.problems.empty());

  // Every table and row is still there.
  EXPECT_EQ(db.QueryText("SELECT group_concat(name) FROM sqlite_master WHERE type = 'table'"), tables_before);
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM documentos"), documents_before);
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM vendas"), lines_before);
  // The document with a quote in its code got the customer made for it, who
  // carries the name as typed and the address and number cut, not escaped.
  const std::int64_t made = db.QueryInteger("SELECT cliente FROM documentos WHERE doc = 'F''A' AND numero = 7");
  EXPECT_GT(made, 5);
  const std::string where = " FROM clientes WHERE codigo = " + std::to_string(made);
  EXPECT_EQ(db.QueryText("SELECT nome" + where), kInjection);
  EXPECT_EQ(db.QueryText("SELECT morada" + where), "x'); DELETE FROM documentos;--");
  EXPECT_EQ(db.QueryText("SELECT contribuinte" + where), "1';DROPTABLE");
  EXPECT_EQ(db.QueryInteger("SELECT cliente FROM documentos WHERE numero = 8 AND doc LIKE 'CM''%'"),
            db.QueryInteger("SELECT codigo FROM clientes WHERE contribuinte = '222222222'"));

  // In the file the texts are escaped values.
  EXPECT_TRUE(result.HasLine("<CompanyName>&apos;); DROP TABLE clientes;--</CompanyName>"));
  EXPECT_TRUE(
      result.HasLine("<AddressDetail>&apos;; DELETE FROM documentos WHERE &apos;1&apos;=&apos;1</AddressDetail>"));
  EXPECT_TRUE(result.HasLine("<City>&quot;; DROP TABLE vendas;--</City>"));
  EXPECT_TRUE(result.HasLine("<ProductDescription>&apos;; DROP TABLE vendas;--</ProductDescription>"));
}

// Every observer call of a run, and the error of a direct connection, with
// a data link whose server cannot be reached.
void ExpectPasswordHidden(const std::string& init_string, const std::string& password) {
  SCOPED_TRACE(init_string);
  TempDir folder;
  WriteFileBytes(folder / "Korvel.UDL", DataLinkFileBytes(init_string));

  PosDatabase connection;
  const ExportResult result = RunExportWith(connection, folder.path());
  EXPECT_EQ(result.outcome, RunOutcome::CheckFailed);
  ASSERT_FALSE(result.observer.calls.empty());
  EXPECT_EQ(result.observer.calls.back(),
            "showError: Falha na ligação à base de dados, verifique a ligação de rede ou o ficheiro "
            "\"Korvel.udl\"");
  for (const auto& call : result.observer.calls) EXPECT_EQ(call.find(password), std::string::npos) << call;

  PosDatabase direct;
  try {
    direct.Connect(folder / "Korvel.UDL");
    ADD_FAILURE() << "the connection did not fail";
  } catch (const DatabaseError& error) {
    EXPECT_EQ(std::string(error.what()).find(password), std::string::npos) << error.what();
    EXPECT_EQ(error.driver_message().find(password), std::string::npos) << error.driver_message();
    EXPECT_FALSE(std::string(error.what()).empty());
  } catch (const std::exception& error) {
    EXPECT_EQ(std::string(error.what()).find(password), std::string::npos) << error.what();
  }
}

TEST(Safety, APasswordFromTheDataLinkNeverReachesAMessage) {
  ExpectPasswordHidden("Provider=SQLOLEDB;Data Source=127.0.0.1,1;User ID=sa;Password=Secret123", "Secret123");
  ExpectPasswordHidden("Provider=SQLOLEDB.1;Password=\"Se;cret 123\";Persist Security Info=True;User ID=sa;"
                       "Initial Catalog=Korvel;Data Source=127.0.0.1,1",
                       "cret 123");
  ExpectPasswordHidden("Provider=MSDASQL.1;Extended Properties=\"DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1;"
                       "UID=sa;PWD={Secret;456}\"",
                       "Secret;456");
  ExpectPasswordHidden("Provider=MSDASQL.1;Data Source=nenhum;User ID=sa;Password=Secret789", "Secret789");
}

// The embedded schema as an older point-of-sale version had it: without
// the columns the maintenance adds.
std::string SchemaWithoutTheAddedColumns() {
  std::string schema(kEmbeddedSchemaSql);
  for (const std::string line : {"  FS INTEGER,\n", "  FT INTEGER,\n", "  saftsign VARCHAR(255) COLLATE RTRIM,\n"}) {
    const auto at = schema.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos) schema.erase(at, line.size());
  }
  return schema;
}

std::vector<std::string> Columns(TestDatabase& db, const std::string& table) {
  std::vector<std::string> names;
  const std::string list = db.QueryText("SELECT group_concat(name, ',') FROM pragma_table_info('" + table + "')");
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

TEST(Safety, TheMaintenanceWritesOnlyCustomersTheirDocumentsAndTheThreeColumns) {
  TestDatabase db(SchemaWithoutTheAddedColumns());
  db.Exec(R"sql(
    INSERT INTO versao (major) VALUES (2016);
    INSERT INTO clientes (codigo, nome, contribuinte, morada) VALUES (2, 'Ana', '123456789', 'Rua A');
    INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal');
    INSERT INTO documentos (doc, numero, data, datahora, cliente, nome, morada, contribuinte, total, pagamento)
      VALUES ('FA', 1, '2016-01-04 00:00:00', '2016-01-04 10:00:00', 0, 'Ana', 'Rua A', '123456789', 10, 0),
             ('TK', 2, '2016-01-05 00:00:00', '2016-01-05 10:00:00', 1, '<Rui & Eva>', '', '500 100 144', 5, 0),
             ('CM', 3, '2016-01-06 00:00:00', '2016-01-06 10:00:00', 1, 'Zé', NULL, '*sem', 5, 0),
             ('RC', 4, '2016-01-07 00:00:00', '2016-01-07 10:00:00', 0, NULL, NULL, '', 10, 0),
             ('VD', 5, '2016-01-08 00:00:00', '2016-01-08 10:00:00', 2, 'Ana', NULL, '123456789', 5, 0);
    INSERT INTO vendas (doc, numero, codigo, descricao, qtd, iva, total, data)
      VALUES ('CM', 3, 1, 'Bica', 1, 23, 5, '2016-01-06 00:00:00');
    INSERT INTO compensacoes (RC, FA, valor, data) VALUES (4, 1, 10, '2016-01-07 00:00:00');
  )sql");
  const std::string before_beyond = DumpBeyondMaintenance(db, 2);
  const std::string tables_before =
      db.QueryText("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master ORDER BY name)");
  std::vector<std::string> documentos_columns = Columns(db, "documentos");
  std::vector<std::string> compensacoes_columns = Columns(db, "compensacoes");

  // A run that fails its checks writes nothing at all.
  const std::string untouched = DumpDatabase(db);
  ExportRequest invalid = DefaultRequest();
  invalid.company.companyID = "123456780";
  EXPECT_EQ(RunExport(db, invalid).outcome, RunOutcome::CheckFailed);
  EXPECT_EQ(DumpDatabase(db), untouched);

  const ExportResult result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed) << LastApplicationError(result.observer);

  // Nothing changed beyond what the maintenance may change; no table or
  // index came or went.
  EXPECT_EQ(DumpBeyondMaintenance(db, 2), before_beyond);
  EXPECT_EQ(db.QueryText("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master ORDER BY name)"),
            tables_before);
  // The three columns were added, empty, after the others.
  documentos_columns.push_back("saftsign");
  compensacoes_columns.insert(compensacoes_columns.end(), {"FS", "FT"});
  EXPECT_EQ(Columns(db, "documentos"), documentos_columns);
  EXPECT_EQ(Columns(db, "compensacoes"), compensacoes_columns);
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM documentos WHERE saftsign IS NOT NULL"), 0);
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM compensacoes WHERE FS IS NOT NULL OR FT IS NOT NULL"), 0);
  // Only the two documents with a number and no customer got one: FA 1 the
  // existing customer 2, TK 2 a new one (its number as typed, with blanks,
  // is no customer's).
  EXPECT_EQ(db.QueryText("SELECT group_concat(doc || numero || '=' || cliente, ' ') FROM "
                         "(SELECT doc, numero, cliente FROM documentos ORDER BY numero)"),
            "FA1=2 TK2=3 CM3=1 RC4=0 VD5=2");
  // The one new customer: the document's name as typed, the rest cleaned,
  // and zero for the three values the maintenance sets.
  EXPECT_EQ(db.QueryText("SELECT group_concat(quote(codigo) || '|' || quote(nome) || '|' || quote(morada) || '|' || "
                         "quote(contribuinte) || '|' || quote(datacriacao) || '|' || quote(valormov) || '|' || "
                         "quote(valordivida) || '|' || quote(localidade) || '|' || quote(codpostal) || '|' || "
                         "quote(codpostal1), ' ') FROM clientes WHERE codigo > 2"),
            "3|'<Rui & Eva>'|'Desconhecido'|'500100144'|0|0|0|NULL|NULL|NULL");

  // A second run right after changes nothing.
  const std::string repaired = DumpDatabase(db);
  EXPECT_EQ(RunExport(db).outcome, RunOutcome::Completed);
  EXPECT_EQ(DumpDatabase(db), repaired);
}

}  // namespace
}  // namespace varnel::testing::reliability
