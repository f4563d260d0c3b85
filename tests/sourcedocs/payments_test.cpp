// The Payments section through whole export runs: control totals, a receipt
// settling an invoice at two rates and a credit note, exemption texts per
// settled document, an annulled receipt without customer, a receipt without
// settlement rows; and progress and "Abortar" across the document sections.
#include <gtest/gtest.h>

#include <algorithm>

#include "sourcedocs/section_blocks.h"

namespace varnel {
namespace {

using testing::Blocks;
using testing::DefaultRequest;
using testing::RunExport;
using testing::Tail;
using testing::SqlValue;
using testing::StoredDate;
using testing::TestDatabase;

void AddDocument(TestDatabase& db, const char* doc, int numero, const std::string& data, double total,
                 const char* saftsign = "", SqlValue isencao = nullptr) {
  db.Exec("INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado, saftsign, isencao) "
          "VALUES (?, ?, ?, ?, 2, ?, 0, ?, ?)",
          {doc, numero, data, data, total, saftsign, isencao});
}

void AddReceipt(TestDatabase& db, int numero, const std::string& data, const std::string& datahora,
                SqlValue cliente, SqlValue anulado, const char* saftsign, SqlValue cash_vat) {
  db.Exec("INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado, saftsign, CashVATScheme) "
          "VALUES ('RC', ?, ?, ?, ?, 0, ?, ?, ?)",
          {numero, data, datahora, cliente, anulado, saftsign, cash_vat});
}

void AddSale(TestDatabase& db, const char* doc, int numero, int iva, double valor, double total,
             SqlValue isencao = nullptr) {
  db.Exec("INSERT INTO vendas (doc, numero, codigo, iva, valor, total, isencao) VALUES (?, ?, 5, ?, ?, ?, ?)",
          {doc, numero, iva, valor, total, isencao});
}

void AddSettlement(TestDatabase& db, int rc, SqlValue fa, SqlValue nc, double valor, const std::string& data) {
  db.Exec("INSERT INTO compensacoes (RC, FA, NC, valor, data) VALUES (?, ?, ?, ?, ?)", {rc, fa, nc, valor, data});
}

TEST(Payments, ReceiptSettlingAnInvoiceAndACreditNote) {
  TestDatabase db;
  db.Exec("INSERT INTO versao (major) VALUES (2011)");
  AddDocument(db, "FA", 12, StoredDate(2016, 1, 10), 59.80);
  AddSale(db, "FA", 12, 6, 10.00, 10.60);
  AddSale(db, "FA", 12, 23, 40.00, 49.20);
  AddDocument(db, "NC", 3, StoredDate(2015, 12, 20), -12.30, "NC A/3");
  AddSale(db, "NC", 3, 23, -10.00, -12.30);
  AddReceipt(db, 8, StoredDate(2016, 1, 15), StoredDate(2016, 1, 15, 18, 30, 0), 7, 0, "", 0);
  // In date order: the invoice, then the credit note.
  AddSettlement(db, 8, nullptr, 3, -12.30, StoredDate(2016, 1, 15, 11, 0, 0));
  AddSettlement(db, 8, 12, nullptr, 59.80, StoredDate(2016, 1, 15, 10, 0, 0));

  ExportRequest request = DefaultRequest();
  request.fserienum = SeriesIndex(1);
  const auto result = RunExport(db, request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(result.Block("<Payments>", "</Payments>"),
            "    <Payments>\n"
            "      <NumberOfEntries>1</NumberOfEntries>\n"
            "      <TotalDebit>10</TotalDebit>\n"
            "      <TotalCredit>50</TotalCredit>\n"
            "      <Payment>\n"
            "        <PaymentRefNo>RC A/8</PaymentRefNo>\n"
            "        <TransactionDate>2016-01-15</TransactionDate>\n"
            "        <PaymentType>RG</PaymentType>\n"
            "        <DocumentStatus>\n"
            "          <PaymentStatus>N</PaymentStatus>\n"
            "          <PaymentStatusDate>2016-01-15T18:30:00</PaymentStatusDate>\n"
            "          <SourceID>0</SourceID>\n"
            "          <SourcePayment>P</SourcePayment>\n"
            "        </DocumentStatus>\n"
            "        <SourceID>0</SourceID>\n"
            "        <SystemEntryDate>2016-01-15T18:30:00</SystemEntryDate>\n"
            "        <CustomerID>7</CustomerID>\n"
            "        <Line>\n"
            "          <LineNumber>1</LineNumber>\n"
            "          <SourceDocumentID>\n"
            "            <OriginatingON>FA A/12</OriginatingON>\n"
            "            <InvoiceDate>2016-01-10</InvoiceDate>\n"
            "          </SourceDocumentID>\n"
            "          <CreditAmount>10</CreditAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT</TaxCountryRegion>\n"
            "            <TaxCode>RED</TaxCode>\n"
            "            <TaxPercentage>6</TaxPercentage>\n"
            "          </Tax>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>2</LineNumber>\n"
            "          <SourceDocumentID>\n"
            "            <OriginatingON>FA A/12</OriginatingON>\n"
            "            <InvoiceDate>2016-01-10</InvoiceDate>\n"
            "          </SourceDocumentID>\n"
            "          <CreditAmount>40</CreditAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT</TaxCountryRegion>\n"
            "            <TaxCode>NOR</TaxCode>\n"
            "            <TaxPercentage>23</TaxPercentage>\n"
            "          </Tax>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>3</LineNumber>\n"
            "          <SourceDocumentID>\n"
            "            <OriginatingON>NC A/3</OriginatingON>\n"
            "            <InvoiceDate>2015-12-20</InvoiceDate>\n"
            "          </SourceDocumentID>\n"
            "          <DebitAmount>10</DebitAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT</TaxCountryRegion>\n"
            "            <TaxCode>NOR</TaxCode>\n"
            "            <TaxPercentage>23</TaxPercentage>\n"
            "          </Tax>\n"
            "        </Line>\n"
            "        <DocumentTotals>\n"
            "          <TaxPayable>7.5</TaxPayable>\n"
            "          <NetTotal>40</NetTotal>\n"
            "          <GrossTotal>47.5</GrossTotal>\n"
            "        </DocumentTotals>\n"
            "      </Payment>\n"
            "    </Payments>\n");
}

class PaymentsExport : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Exec("INSERT INTO versao (major) VALUES (2011)");
    db.Exec("INSERT INTO motivos_isencao (codigo, norma) VALUES ('M05', 'Regime & especial')");
    db.Exec("INSERT INTO motivos_isencao (codigo, norma) VALUES ('M01', 'Artigo 9')");
    // Exempt at two exemption codes of its lines; the document's own code
    // gives the text.
    AddDocument(db, "FA", 13, StoredDate(2016, 1, 2), 20.00, "FT X/13", "M05");
    AddSale(db, "FA", 13, 0, 5.00, 5.00, "M01");
    AddSale(db, "FA", 13, 0, 15.00, 15.00, "M02");
    // Exempt without an exemption code of its own.
    AddDocument(db, "FA", 14, StoredDate(2016, 1, 3), 7.00);
    AddSale(db, "FA", 14, 0, 7.00, 7.00, "M01");
    // Annulled, no customer, cash VAT, signed.
    AddReceipt(db, 9, StoredDate(2016, 1, 20), StoredDate(2016, 1, 20, 9, 0, 0), 0, 1, "RC B/9", 1);
    AddSettlement(db, 9, 13, nullptr, 20.00, StoredDate(2016, 1, 20));
    AddSettlement(db, 9, 14, nullptr, 3.50, StoredDate(2016, 1, 21));
    // No settlement rows, null customer, null cash VAT.
    AddReceipt(db, 10, StoredDate(2016, 1, 25), StoredDate(2016, 1, 25, 9, 0, 0), nullptr, 0, "", nullptr);
    // Outside the period.
    AddReceipt(db, 11, StoredDate(2016, 2, 1), StoredDate(2016, 2, 1), 3, 0, "", 0);
  }
  TestDatabase db;
};

TEST_F(PaymentsExport, ExemptionTextsAnnulledReceiptAndReceiptWithoutSettlements) {
  ExportRequest request = DefaultRequest();
  request.company.taxCountryRegion = TaxRegion::NothingChosen;
  const auto result = RunExport(db, request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(testing::XmlLintErrors(db.folder() / "out.xml", false), "");

  // The annulled receipt's settlements stay out of the control totals.
  const std::string section = result.Block("<Payments>", "</Payments>");
  EXPECT_EQ(section.substr(0, section.find("<Payment>")),
            "    <Payments>\n"
            "      <NumberOfEntries>2</NumberOfEntries>\n"
            "      <TotalDebit>0</TotalDebit>\n"
            "      <TotalCredit>0</TotalCredit>\n"
            "      ");

  const auto receipts = Blocks(result, "<Payment>", "</Payment>");
  ASSERT_EQ(receipts.size(), 2u);
  const std::string exempt_line_tail =
      "          <Tax>\n"
      "            <TaxType>IVA</TaxType>\n"
      "            <TaxCode>ISE</TaxCode>\n"
      "            <TaxPercentage>0</TaxPercentage>\n"
      "          </Tax>\n";
  EXPECT_EQ(receipts[0],
            "      <Payment>\n"
            "        <PaymentRefNo>RC B/9</PaymentRefNo>\n"
            "        <TransactionDate>2016-01-20</TransactionDate>\n"
            "        <PaymentType>RC</PaymentType>\n"
            "        <DocumentStatus>\n"
            "          <PaymentStatus>A</PaymentStatus>\n"
            "          <PaymentStatusDate>2016-01-20T09:00:00</PaymentStatusDate>\n"
            "          <SourceID>0</SourceID>\n"
            "          <SourcePayment>P</SourcePayment>\n"
            "        </DocumentStatus>\n"
            "        <SourceID>0</SourceID>\n"
            "        <SystemEntryDate>2016-01-20T09:00:00</SystemEntryDate>\n"
            "        <CustomerID>1</CustomerID>\n"
            "        <Line>\n"
            "          <LineNumber>1</LineNumber>\n"
            "          <SourceDocumentID>\n"
            "            <OriginatingON>FT X/13</OriginatingON>\n"
            "            <InvoiceDate>2016-01-02</InvoiceDate>\n"
            "          </SourceDocumentID>\n"
            "          <CreditAmount>5</CreditAmount>\n" +
                exempt_line_tail +
                "          <TaxExemptionReason>Regime &amp; especial</TaxExemptionReason>\n"
                "        </Line>\n"
                "        <Line>\n"
                "          <LineNumber>2</LineNumber>\n"
                "          <SourceDocumentID>\n"
                "            <OriginatingON>FT X/13</OriginatingON>\n"
                "            <InvoiceDate>2016-01-02</InvoiceDate>\n"
                "          </SourceDocumentID>\n"
                "          <CreditAmount>15</CreditAmount>\n" +
                exempt_line_tail +
                "          <TaxExemptionReason>Regime &amp; especial</TaxExemptionReason>\n"
                "        </Line>\n"
                "        <Line>\n"
                "          <LineNumber>3</LineNumber>\n"
                "          <SourceDocumentID>\n"
                "            <OriginatingON>FA ?/14</OriginatingON>\n"
                "            <InvoiceDate>2016-01-03</InvoiceDate>\n"
                "          </SourceDocumentID>\n"
                "          <CreditAmount>3.5</CreditAmount>\n" +
                exempt_line_tail +
                "          <TaxExemptionReason>Produto isento de IVA com base no Decreto-Lei "
                "346/85</TaxExemptionReason>\n"
                "        </Line>\n"
                "        <DocumentTotals>\n"
                "          <TaxPayable>0</TaxPayable>\n"
                "          <NetTotal>23.5</NetTotal>\n"
                "          <GrossTotal>23.5</GrossTotal>\n"
                "        </DocumentTotals>\n"
                "      </Payment>\n");
  EXPECT_EQ(receipts[1],
            "      <Payment>\n"
            "        <PaymentRefNo>RC ?/10</PaymentRefNo>\n"
            "        <TransactionDate>2016-01-25</TransactionDate>\n"
            "        <PaymentType>RG</PaymentType>\n"
            "        <DocumentStatus>\n"
            "          <PaymentStatus>N</PaymentStatus>\n"
            "          <PaymentStatusDate>2016-01-25T09:00:00</PaymentStatusDate>\n"
            "          <SourceID>0</SourceID>\n"
            "          <SourcePayment>P</SourcePayment>\n"
            "        </DocumentStatus>\n"
            "        <SourceID>0</SourceID>\n"
            "        <SystemEntryDate>2016-01-25T09:00:00</SystemEntryDate>\n"
            "        <CustomerID>1</CustomerID>\n"
            "        <DocumentTotals>\n"
            "          <TaxPayable>0</TaxPayable>\n"
            "          <NetTotal>0</NetTotal>\n"
            "          <GrossTotal>0</GrossTotal>\n"
            "        </DocumentTotals>\n"
            "      </Payment>\n");
}

TEST_F(PaymentsExport, TotalsOfTheSettledShareAndNegativeNet) {
  // A live receipt settling half of FA 14 and a credit note whose net is
  // larger: totals made absolute, control totals rounded to cents.
  AddDocument(db, "NC", 4, StoredDate(2016, 1, 4), -24.69);
  AddSale(db, "NC", 4, 23, -20.07, -24.69);
  AddReceipt(db, 12, StoredDate(2016, 1, 26), StoredDate(2016, 1, 26), 5, 0, "", 0);
  AddSettlement(db, 12, 14, nullptr, 3.50, StoredDate(2016, 1, 26));
  AddSettlement(db, 12, nullptr, 4, -24.69, StoredDate(2016, 1, 27));
  const auto result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const std::string section = result.Block("<Payments>", "</Payments>");
  EXPECT_NE(section.find("      <NumberOfEntries>3</NumberOfEntries>\n"
                         "      <TotalDebit>20.07</TotalDebit>\n"
                         "      <TotalCredit>3.5</TotalCredit>\n"),
            std::string::npos);
  const auto receipts = Blocks(result, "<Payment>", "</Payment>");
  ASSERT_EQ(receipts.size(), 3u);
  // Net 3.5 - 20.07 = -16.57, gross 3.5 - 24.69 = -21.19, tax -4.62.
  EXPECT_NE(receipts[2].find("          <TaxPayable>4.62</TaxPayable>\n"
                             "          <NetTotal>16.57</NetTotal>\n"
                             "          <GrossTotal>21.19</GrossTotal>\n"),
            std::string::npos);
  EXPECT_NE(receipts[2].find("<DebitAmount>20.07</DebitAmount>"), std::string::npos);
  EXPECT_NE(receipts[2].find("<CustomerID>5</CustomerID>"), std::string::npos);
}

// What each receipt writes adds up to the money received, whatever part of
// a document it settles, in both versions (in 1.04_01 a receipt outside the
// cash VAT scheme carries the amounts with their VAT on its lines).
TEST(Payments, ReceiptsAreWorthTheAmountsSettledInBothVersions) {
  TestDatabase db;
  db.Exec("INSERT INTO versao (major) VALUES (2011)");
  AddDocument(db, "FA", 1, StoredDate(2016, 1, 5), 103.00);
  AddSale(db, "FA", 1, 13, 36.7257, 41.50);
  AddSale(db, "FA", 1, 23, 50.00, 61.50);
  AddDocument(db, "FA", 2, StoredDate(2016, 1, 5), 3.00);
  AddSale(db, "FA", 2, 6, 0.9434, 1.00);
  AddSale(db, "FA", 2, 13, 0.885, 1.00);
  AddSale(db, "FA", 2, 23, 0.813, 1.00);
  AddDocument(db, "NC", 1, StoredDate(2016, 1, 6), -3.00);
  AddSale(db, "NC", 1, 23, -2.439, -3.00);
  AddReceipt(db, 1, StoredDate(2016, 1, 20), StoredDate(2016, 1, 20), 2, 0, "", 0);
  AddSettlement(db, 1, 1, nullptr, 52.00, StoredDate(2016, 1, 20));
  AddReceipt(db, 2, StoredDate(2016, 1, 21), StoredDate(2016, 1, 21), 2, 0, "", 1);
  AddSettlement(db, 2, 2, nullptr, 2.00, StoredDate(2016, 1, 21));
  AddSettlement(db, 2, nullptr, 1, -1.00, StoredDate(2016, 1, 21, 1, 0, 0));

  for (const SaftVersion version : {SaftVersion::k1_03_01, SaftVersion::k1_04_01}) {
    SCOPED_TRACE(version == SaftVersion::k1_03_01 ? "1.03_01" : "1.04_01");
    ExportRequest request = DefaultRequest();
    request.saftVersion = version;
    const auto result = RunExport(db, request);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    const auto receipts = Blocks(result, "<Payment>", "</Payment>");
    ASSERT_EQ(receipts.size(), 2u);
    // 20.9515 + 31.0485 at 13 % and 23 %, not 52.0047 of a share rounded first.
    EXPECT_NE(receipts[0].find("<GrossTotal>52</GrossTotal>"), std::string::npos) << receipts[0];
    // Two thirds of three rates of 1.00 (0.6667 twice and 0.6666), less 1.00.
    EXPECT_NE(receipts[1].find("<GrossTotal>1</GrossTotal>"), std::string::npos) << receipts[1];
    // And the comparison with the database finds them so.
    for (const std::string& error : result.observer.verification_errors()) {
      EXPECT_FALSE(error.starts_with("Base de dados")) << error;
    }
  }
}

// Progress and "Abortar" across the consultation and receipt sections. The
// batch counter runs on from one section into the next.
class DocumentSectionsProgress : public ::testing::Test {
 protected:
  void AddDocuments(int consultations, int receipts) {
    db.Exec("INSERT INTO versao (major) VALUES (2011)");
    for (int n = 1; n <= consultations; ++n) {
      db.Exec("INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado) "
              "VALUES ('CM', ?, ?, ?, 0, 0, 0)",
              {n, StoredDate(2016, 1, 10), StoredDate(2016, 1, 10)});
    }
    for (int n = 1; n <= receipts; ++n) {
      AddReceipt(db, n, StoredDate(2016, 1, 12), StoredDate(2016, 1, 12), 2, 0, "", 0);
    }
  }
  std::vector<std::string> StatusesFrom(const std::vector<std::string>& statuses, const std::string& first) {
    const auto start = std::find(statuses.begin(), statuses.end(), first);
    return std::vector<std::string>(start, statuses.end());
  }
  TestDatabase db;
};

TEST_F(DocumentSectionsProgress, StepsRunAcrossSections) {
  AddDocuments(30, 30);
  const auto result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(result.observer.progress_maximum, 1);
  EXPECT_EQ(result.observer.progress_position, 1);
  EXPECT_EQ(StatusesFrom(result.observer.export_statuses(), "Abertura de tabelas de documentos de consulta"),
            (std::vector<std::string>{"Abertura de tabelas de documentos de consulta", "Exportados 0 de 60 registos...",
                                      "Abertura de tabelas de recibos", "Exportados 0 de 60 registos...",
                                      "Exportados 50 de 60 registos...",
                                      "Exportados 60 de 60 registos. Exportação efectuada"}));
  EXPECT_EQ(Blocks(result, "<WorkDocument>", "</WorkDocument>").size(), 30u);
  EXPECT_EQ(Blocks(result, "<Payment>", "</Payment>").size(), 30u);
}

TEST_F(DocumentSectionsProgress, StepFallsAfterTheTwentiethConsultationAfterThirtyInvoices) {
  AddDocuments(30, 0);
  for (int n = 1; n <= 30; ++n) {
    db.Exec("INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado, pagamento) "
            "VALUES ('TK', ?, ?, ?, 0, 0, 0, 0)",
            {n, StoredDate(2016, 1, 9), StoredDate(2016, 1, 9)});
  }
  const auto result = RunExport(db, DefaultRequest(), [](testing::RecordingObserver& observer) {
    observer.abort_on_status = "Exportados 50 de 60 registos...";
  });
  if (result.Block("<SalesInvoices>", "</SalesInvoices>").find("<NumberOfEntries>") == std::string::npos) {
    GTEST_SKIP() << "needs the sales invoices section";
  }
  // The step after 30 invoices and 20 consultations; "Abortar" pressed there
  // leaves the other 10 consultations out.
  ASSERT_EQ(result.outcome, RunOutcome::Aborted);
  EXPECT_EQ(Blocks(result, "<WorkDocument>", "</WorkDocument>").size(), 20u);
  EXPECT_EQ(Tail(result, 4),
            "      </WorkDocument>\n"
            "    </WorkingDocuments>\n"
            "  </SourceDocuments>\n"
            "</AuditFile>\n");
}

TEST_F(DocumentSectionsProgress, AbortAtAReceipt) {
  // The first step falls after the 20th receipt; "Abortar" pressed there
  // ends the receipt loop, and the file still closes normally.
  AddDocuments(30, 30);
  const auto result = RunExport(db, DefaultRequest(), [](testing::RecordingObserver& observer) {
    observer.abort_on_status = "Exportados 50 de 60 registos...";
  });
  ASSERT_EQ(result.outcome, RunOutcome::Aborted);
  EXPECT_EQ(result.observer.status, "Operação abortada!");
  EXPECT_EQ(Blocks(result, "<WorkDocument>", "</WorkDocument>").size(), 30u);
  EXPECT_EQ(Blocks(result, "<Payment>", "</Payment>").size(), 20u);
  EXPECT_EQ(Tail(result, 5),
            "        </DocumentTotals>\n"
            "      </Payment>\n"
            "    </Payments>\n"
            "  </SourceDocuments>\n"
            "</AuditFile>\n");
}

TEST_F(DocumentSectionsProgress, AbortAtAConsultation) {
  // "Abortar" at the step after the 50th consultation: the rest are left
  // out, the Payments section follows with its control totals only. Each
  // section's totals count the documents it wrote.
  AddDocuments(60, 1);
  const auto result = RunExport(db, DefaultRequest(), [](testing::RecordingObserver& observer) {
    observer.abort_on_status = "Exportados 50 de 61 registos...";
  });
  ASSERT_EQ(result.outcome, RunOutcome::Aborted);
  EXPECT_EQ(result.observer.status, "Operação abortada!");
  EXPECT_EQ(Blocks(result, "<WorkDocument>", "</WorkDocument>").size(), 50u);
  const std::string section = result.Block("<WorkingDocuments>", "</WorkingDocuments>");
  EXPECT_NE(section.find("<NumberOfEntries>50</NumberOfEntries>"), std::string::npos);
  EXPECT_EQ(Tail(result, 9),
            "      </WorkDocument>\n"
            "    </WorkingDocuments>\n"
            "    <Payments>\n"
            "      <NumberOfEntries>0</NumberOfEntries>\n"
            "      <TotalDebit>0</TotalDebit>\n"
            "      <TotalCredit>0</TotalCredit>\n"
            "    </Payments>\n"
            "  </SourceDocuments>\n"
            "</AuditFile>\n");
}

TEST_F(DocumentSectionsProgress, AbortAtTheConsultationStage) {
  // Pressed while the section opens: control totals of no document.
  AddDocuments(3, 0);
  const auto result = RunExport(db, DefaultRequest(), [](testing::RecordingObserver& observer) {
    observer.abort_on_status = "Abertura de tabelas de documentos de consulta";
  });
  ASSERT_EQ(result.outcome, RunOutcome::Aborted);
  EXPECT_EQ(Tail(result, 7),
            "    <WorkingDocuments>\n"
            "      <NumberOfEntries>0</NumberOfEntries>\n"
            "      <TotalDebit>0</TotalDebit>\n"
            "      <TotalCredit>0</TotalCredit>\n"
            "    </WorkingDocuments>\n"
            "  </SourceDocuments>\n"
            "</AuditFile>\n");
}

}  // namespace
}  // namespace varnel
