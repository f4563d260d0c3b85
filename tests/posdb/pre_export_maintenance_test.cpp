// The repairs before every export: customers for documents that carry a
// taxpayer number, and the columns the current queries read.
#include "posdb/pre_export_maintenance.h"

#include <gtest/gtest.h>

#include "support/export_harness.h"
#include "support/test_database.h"

namespace varnel {
namespace {

using testing::TestDatabase;

void AddDocument(TestDatabase& db, const char* doc, int numero, testing::SqlValue cliente,
                 testing::SqlValue contribuinte, testing::SqlValue nome = "Cliente",
                 testing::SqlValue morada = "Rua Direita 1") {
  db.Exec("INSERT INTO documentos (doc, numero, data, cliente, contribuinte, nome, morada) "
          "VALUES (?, ?, '2016-01-05 00:00:00', ?, ?, ?, ?)",
          {doc, numero, cliente, contribuinte, nome, morada});
}

std::int64_t CustomerOf(TestDatabase& db, const char* doc, int numero) {
  return db.QueryInteger("SELECT cliente FROM documentos WHERE doc = '" + std::string(doc) +
                         "' AND numero = " + std::to_string(numero));
}

TEST(PreExportMaintenance, DocumentsWithTheSameNumberShareOneNewCustomer) {
  TestDatabase db;
  AddDocument(db, "FA", 1, 0, "123456789", "Ana Conceição", "Rua A & B");
  AddDocument(db, "TK", 2, 1, "123456789", "Outro nome");
  RunPreExportMaintenance(db.database());
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM clientes"), 1);
  EXPECT_EQ(CustomerOf(db, "FA", 1), 2);  // an empty table starts at code 2
  EXPECT_EQ(CustomerOf(db, "TK", 2), 2);
  EXPECT_EQ(db.QueryText("SELECT nome FROM clientes WHERE codigo = 2"), "Ana Conceição");
  // Stored as typed, never XML-escaped.
  EXPECT_EQ(db.QueryText("SELECT morada FROM clientes WHERE codigo = 2"), "Rua A & B");
  EXPECT_EQ(db.QueryText("SELECT contribuinte FROM clientes WHERE codigo = 2"), "123456789");
  EXPECT_EQ(db.QueryInteger("SELECT valormov + valordivida + datacriacao FROM clientes WHERE codigo = 2"), 0);
}

TEST(PreExportMaintenance, NumbersWithBlanksOrBeyondTwelveDigitsFindTheCustomerCreatedForThem) {
  TestDatabase db;
  db.Exec("INSERT INTO clientes (codigo, nome, contribuinte) VALUES (7, 'Existente', '501234567')");
  AddDocument(db, "FA", 1, 0, "123 456 789");
  AddDocument(db, "FA", 2, 0, "123 456 789");
  AddDocument(db, "FA", 3, 0, "1234567890123");
  AddDocument(db, "FA", 4, 0, "1234567890123");
  AddDocument(db, "FA", 5, 1, "501234567");
  RunPreExportMaintenance(db.database());
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM clientes"), 3);
  EXPECT_EQ(CustomerOf(db, "FA", 1), 8);
  EXPECT_EQ(CustomerOf(db, "FA", 2), 8);
  EXPECT_EQ(db.QueryText("SELECT contribuinte FROM clientes WHERE codigo = 8"), "123456789");
  EXPECT_EQ(CustomerOf(db, "FA", 3), 9);
  EXPECT_EQ(CustomerOf(db, "FA", 4), 9);
  EXPECT_EQ(db.QueryText("SELECT contribuinte FROM clientes WHERE codigo = 9"), "123456789012");
  EXPECT_EQ(CustomerOf(db, "FA", 5), 7);
}

TEST(PreExportMaintenance, CleansAddressesButCopiesNamesAsTyped) {
  TestDatabase db;
  const std::string long_address(60, 'r');
  AddDocument(db, "FA", 1, 0, "111111111", "   ", "   ");
  AddDocument(db, "FA", 2, 0, "222222222", nullptr, long_address);
  AddDocument(db, "FA", 3, 0, "333333333", "X", nullptr);
  RunPreExportMaintenance(db.database());
  EXPECT_EQ(db.QueryText("SELECT morada FROM clientes WHERE contribuinte = '111111111'"), "Desconhecido");
  EXPECT_EQ(db.QueryText("SELECT nome FROM clientes WHERE contribuinte = '111111111'"), "   ");
  EXPECT_EQ(db.QueryText("SELECT morada FROM clientes WHERE contribuinte = '222222222'"), std::string(50, 'r'));
  EXPECT_EQ(db.QueryInteger("SELECT nome IS NULL FROM clientes WHERE contribuinte = '222222222'"), 1);
  EXPECT_EQ(db.QueryText("SELECT morada FROM clientes WHERE contribuinte = '333333333'"), "Desconhecido");
}

TEST(PreExportMaintenance, LeavesOtherDocumentsAloneAndConverges) {
  TestDatabase db;
  AddDocument(db, "FA", 1, 0, "*123");
  AddDocument(db, "FA", 2, 0, "");
  AddDocument(db, "FA", 3, 0, "   ");
  AddDocument(db, "FA", 4, 5, "999999990");
  AddDocument(db, "FA", 5, nullptr, "123456789");
  AddDocument(db, "FA", 6, 0, nullptr);
  AddDocument(db, "VD", 7, 1, "987654321");
  RunPreExportMaintenance(db.database());
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM clientes"), 1);
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM documentos WHERE cliente = 0"), 4);
  EXPECT_EQ(CustomerOf(db, "FA", 4), 5);
  EXPECT_EQ(db.QueryInteger("SELECT cliente IS NULL FROM documentos WHERE numero = 5"), 1);

  const std::string before = db.QueryText("SELECT group_concat(doc || numero || ':' || IFNULL(cliente, '-'), ',') FROM documentos");
  RunPreExportMaintenance(db.database());
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM clientes"), 1);
  EXPECT_EQ(db.QueryText("SELECT group_concat(doc || numero || ':' || IFNULL(cliente, '-'), ',') FROM documentos"), before);
}

TEST(PreExportMaintenance, AddsTheMissingColumnsAndIgnoresExistingOnes) {
  TestDatabase db;
  db.Exec("ALTER TABLE compensacoes DROP COLUMN FS; ALTER TABLE compensacoes DROP COLUMN FT;"
          "ALTER TABLE documentos DROP COLUMN saftsign");
  RunPreExportMaintenance(db.database());
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM pragma_table_info('compensacoes') WHERE name IN ('FS', 'FT')"), 2);
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM pragma_table_info('documentos') WHERE name = 'saftsign'"), 1);
  EXPECT_NO_THROW(RunPreExportMaintenance(db.database()));  // they exist now: failures swallowed
}

TEST(PreExportMaintenance, AFailingRepairEndsTheRunBeforeTheWindowSwitches) {
  TestDatabase db;
  AddDocument(db, "FA", 1, 0, "123456789");
  db.Exec("DROP TABLE clientes");
  const testing::ExportResult result = testing::RunExport(db);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_TRUE(result.bytes.empty());
  for (const auto& call : result.observer.calls) EXPECT_NE(call, "showProcessing");
  EXPECT_EQ(result.observer.calls.back().rfind("showApplicationError: ", 0), 0u);
}

TEST(PreExportMaintenance, ValuesReachTheDatabaseOnlyAsParameters) {
  TestDatabase db;
  AddDocument(db, "FA", 1, 0, "'); DROP TABLE clientes;--", "'); DROP TABLE clientes;--", "x'); DELETE FROM documentos;--");
  RunPreExportMaintenance(db.database());
  EXPECT_EQ(db.QueryText("SELECT nome FROM clientes WHERE codigo = 2"), "'); DROP TABLE clientes;--");
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM documentos"), 1);
}

}  // namespace
}  // namespace varnel
