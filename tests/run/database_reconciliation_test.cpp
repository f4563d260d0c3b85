// The comparison of the finished file with the database, document by
// document: the file's amounts read back (block boundaries, withholding,
// amounts that are not amounts), and whole runs whose documents are worth
// what the database says, or not: a receipt of a document whose lines miss
// its total, receipts of documents the database lacks, and a total changed
// by the point of sale while the export runs.
#include "run/database_reconciliation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "run/audit_file_documents.h"
#include "support/export_harness.h"

namespace varnel {
namespace {

using testing::DefaultRequest;
using testing::ExportResult;
using testing::RunExport;
using testing::SqlValue;
using testing::StoredDate;
using testing::TestDatabase;

TEST(AuditFileDocuments, AmountsAsTheFileWritesThem) {
  const struct {
    const char* text;
    std::optional<std::int64_t> raw;
  } cases[] = {{"52", 520000},          {"-0.25", -2500},        {"1167.0616", 11670616},
               {"0.00010", 1},          {"0.00015", std::nullopt}, {"", std::nullopt},
               {"1.", std::nullopt},    {"1,5", std::nullopt},   {"12345678901234", 123456789012340000},
               {"123456789012345", std::nullopt}};
  for (const auto& c : cases) {
    const std::optional<Currency> parsed = ParseFileAmount(c.text);
    EXPECT_EQ(parsed.has_value(), c.raw.has_value()) << c.text;
    if (parsed && c.raw) {
      EXPECT_EQ(parsed->raw(), *c.raw) << c.text;
    }
  }
}

TEST(AuditFileDocuments, EveryDocumentWithItsWorthWhereverTheBlocksCut) {
  testing::TempDir dir;
  const std::filesystem::path file = dir / "saft.xml";
  {
    std::ofstream out(file, std::ios::binary);
    out << "<AuditFile>\r\n    <Invoice>\r\n      <InvoiceNo>FT A/1</InvoiceNo>\r\n"
           "      <GrossTotal>123</GrossTotal>\r\n      <WithholdingTaxAmount>11.5</WithholdingTaxAmount>\r\n"
           "    </Invoice>\r\n";
    // Padding so that the next document's number line straddles the first
    // block of 1 MB.
    const std::string padding_line = std::string(62, ' ') + "\r\n";
    while (static_cast<std::size_t>(out.tellp()) + padding_line.size() < (1u << 20) - 10) out << padding_line;
    out << std::string((1u << 20) - 10 - static_cast<std::size_t>(out.tellp()), ' ') << "\r\n";
    out << "      <DocumentNumber>CM &amp; \xE7/2</DocumentNumber>\r\n      <GrossTotal>15</GrossTotal>\r\n"
           "    </WorkDocument>\r\n"
           "      <PaymentRefNo>RC A/3</PaymentRefNo>\r\n      <GrossTotal>52.0047</GrossTotal>\r\n"
           "    </Payment>\r\n"
           "      <PaymentRefNo>RC A/4</PaymentRefNo>\r\n      <GrossTotal>x</GrossTotal>\r\n    </Payment>\r\n"
           "    </Payments>\r\n</AuditFile>";
  }
  std::vector<std::string> read;
  ReadAuditFileDocuments(file, [&](const FileDocument& d) {
    read.push_back(std::string(1, static_cast<char>(d.section)) + " " + d.number + " " +
                   (d.worth ? CurrText(*d.worth) : "-") + (d.withholding ? " r" + CurrText(*d.withholding) : ""));
  });
  EXPECT_EQ(read, (std::vector<std::string>{"S FT A/1 111.5 r11.5", "W CM &amp; \xE7/2 15", "P RC A/3 52.0047",
                                            "P RC A/4 -"}));
  EXPECT_THROW(ReadAuditFileDocuments(dir / "none.xml", [](const FileDocument&) {}), std::runtime_error);
}

void AddDocument(TestDatabase& db, const char* doc, int numero, double total, int pagamento = 0) {
  db.Exec("INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado, pagamento) "
          "VALUES (?, ?, ?, ?, 2, ?, 0, ?)",
          {doc, numero, StoredDate(2016, 1, 10), StoredDate(2016, 1, 10, 12), total, pagamento});
}

void AddSale(TestDatabase& db, const char* doc, int numero, int iva, double valor, double total,
             int codigo = 0) {
  db.Exec("INSERT INTO vendas (doc, numero, codigo, iva, valor, total, qtd, punit, data) "
          "VALUES (?, ?, ?, ?, ?, ?, 1, ?, ?)",
          {doc, numero, codigo, iva, valor, total, total, StoredDate(2016, 1, 10)});
}

void AddSettlement(TestDatabase& db, int rc, SqlValue fa, SqlValue nc, double valor) {
  db.Exec("INSERT INTO compensacoes (RC, FA, NC, valor, data) VALUES (?, ?, ?, ?, ?)",
          {rc, fa, nc, valor, StoredDate(2016, 1, 20)});
}

// One document of each kind: an invoice settled in half, an invoice with
// withholding, a credit note, a table consultation, a ticket left out.
void FillMonth(TestDatabase& db) {
  db.Exec("INSERT INTO versao (major) VALUES (2011)");
  AddDocument(db, "FA", 1, 61.50);
  AddSale(db, "FA", 1, 23, 50.00, 61.50);
  AddDocument(db, "FA", 2, 111.50);
  AddSale(db, "FA", 2, 23, 100.00, 123.00);
  AddSale(db, "FA", 2, 0, -11.50, -11.50, -999);
  AddDocument(db, "NC", 1, -20.00);
  AddSale(db, "NC", 1, 23, -16.26, -20.00);
  AddDocument(db, "CM", 1, 15.00);
  AddSale(db, "CM", 1, 13, 13.27, 15.00);
  AddDocument(db, "TK", 1, 9.00, 6);
  AddDocument(db, "RC", 1, 0.00);
  AddSettlement(db, 1, 1, nullptr, 30.75);
}

std::vector<std::string> Comparison(const ExportResult& result, FindingSeverity severity) {
  std::vector<std::string> found;
  if (!result.observer.verification) return {"no verification"};
  for (const Finding& finding : result.observer.verification->findings) {
    if (finding.section == "Base de dados" && finding.severity == severity) {
      found.push_back(finding.document + ": " + finding.message);
    }
  }
  return found;
}

TEST(DatabaseReconciliation, EveryDocumentIsWorthWhatTheDatabaseSaysInBothGenerations) {
  TestDatabase db;
  FillMonth(db);
  // The current generation's documents go by their signed numbers, the old
  // one's by the built numbers; receipts by theirs in both.
  db.Exec("UPDATE documentos SET saftsign = 'FT B/' || numero WHERE doc = 'FA'");
  db.Exec("UPDATE documentos SET saftsign = 'RC B/1' WHERE doc = 'RC'");
  for (const int major : {2011, 2005}) {
    SCOPED_TRACE(major);
    db.Exec("UPDATE versao SET major = ?", {major});
    const ExportResult result = RunExport(db);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.HasLine("<InvoiceNo>FT B/1</InvoiceNo>"), major == 2011);
    EXPECT_TRUE(result.HasLine("<PaymentRefNo>RC B/1</PaymentRefNo>"));
    EXPECT_EQ(Comparison(result, FindingSeverity::Error), std::vector<std::string>{});
    EXPECT_EQ(Comparison(result, FindingSeverity::Note),
              (std::vector<std::string>{
                  ": 1 documento(s) do período fora do ficheiro por forma de pagamento 6: TK 1",
                  ": Nada perdido: dos 6 documentos do período, 5 estão no ficheiro e 1 ficaram de fora pelas "
                  "regras indicadas, e os valores de cada documento coincidem com a base de dados"}));
    EXPECT_NE(std::find(result.observer.calls.begin(), result.observer.calls.end(),
                        "setStatus: Comparação com a base de dados"),
              result.observer.calls.end());
  }
}

TEST(DatabaseReconciliation, AReceiptOfADocumentWhoseLinesMissItsTotalIsNamed) {
  TestDatabase db;
  FillMonth(db);
  // The lines add up to 39.90 against a stored 40.00: half of them is 19.95.
  AddDocument(db, "FA", 3, 40.00);
  AddSale(db, "FA", 3, 23, 32.44, 39.90);
  AddDocument(db, "RC", 2, 0.00);
  AddSettlement(db, 2, 3, nullptr, 20.00);
  const ExportResult result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(Comparison(result, FindingSeverity::Error),
            std::vector<std::string>{
                "RC ?/2: Valor diferente da base de dados: o ficheiro tem 19.95 e a base de dados 20 (soma das linhas "
                "de compensação do recibo); documento liquidado FA 3: as linhas somam 39.9 e o total é 40"});
  EXPECT_EQ(Comparison(result, FindingSeverity::Note).back(),
            ": Valores diferentes: 1 documento do ficheiro não coincide com a base de dados; dos 8 documentos do "
            "período, 7 estão no ficheiro e 1 ficaram de fora pelas regras indicadas");
}

TEST(DatabaseReconciliation, ReceiptsOfMissingDocumentsAreListedUpToFifty) {
  TestDatabase db;
  for (int receipt = 1; receipt <= 53; ++receipt) {
    AddDocument(db, "RC", receipt, 0.00);
    AddSettlement(db, receipt, 900 + receipt, nullptr, 1.00);
  }
  const ExportResult result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const std::vector<std::string> errors = Comparison(result, FindingSeverity::Error);
  ASSERT_EQ(errors.size(), 51u);
  EXPECT_EQ(errors.front(),
            "RC ?/1: Valor diferente da base de dados: o ficheiro tem 0 e a base de dados 1 (soma das linhas de "
            "compensação do recibo); documento liquidado FA 901: não está na base de dados");
  EXPECT_EQ(errors.back(), ": ... e mais 3 documento(s) com valor diferente da base de dados");
  EXPECT_EQ(Comparison(result, FindingSeverity::Note).back(),
            ": Valores diferentes: 53 documentos do ficheiro não coincidem com a base de dados; dos 53 documentos do "
            "período, 53 estão no ficheiro e 0 ficaram de fora pelas regras indicadas");
}

TEST(DatabaseReconciliation, ATotalChangedWhileTheExportRunsIsCaught) {
  TestDatabase db;
  FillMonth(db);
  // Readers do not hold writers back: the point of sale goes on writing.
  db.Exec("PRAGMA journal_mode=WAL");
  bool changed = false;
  const ExportResult result = RunExport(db, DefaultRequest(), [&](testing::RecordingObserver& observer) {
    observer.on_pending_events = [&] {
      if (changed || observer.status != "Abertura de tabelas de recibos") return;
      // The invoices are written; one of them changes, one is added.
      db.Exec("UPDATE documentos SET total = 70.00 WHERE doc = 'FA' AND numero = 2");
      AddDocument(db, "FA", 4, 5.00);
      changed = true;
    };
  });
  ASSERT_TRUE(changed);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(Comparison(result, FindingSeverity::Error),
            (std::vector<std::string>{
                ": Documentos FT: a base de dados tem 3 no período e o ficheiro tem 2 (a base de dados mudou durante "
                "a exportação?)",
                "FA ?/2: Valor diferente da base de dados: o ficheiro tem 111.5 (GrossTotal menos a retenção na "
                "fonte) e a base de dados 70 (total do documento)",
                "FA ?/4: Documento da base de dados (valor 5) que o ficheiro não tem com este número"}));
}

}  // namespace
}  // namespace varnel
