// The SalesInvoices section through whole export runs over real databases:
// selection and control totals, numbering and signatures by generation and
// series, the header, progress every 50 documents, abort at a progress step
// and inside a document, and a well-formed file whatever the stored texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "posdb/field_values.h"
#include "sourcedocs/sales_export.h"

namespace varnel::testing {
namespace {

// The value of the first <tag> line of a block, "" when there is none.
std::string Field(const std::string& block, const std::string& tag) {
  const std::string open = "<" + tag + ">";
  const std::size_t at = block.find(open);
  if (at == std::string::npos) return {};
  const std::size_t start = at + open.size();
  return block.substr(start, block.find("</" + tag + ">", start) - start);
}

// Sum of every DebitAmount (or CreditAmount) of a block.
Currency SumOf(const std::string& block, const std::string& tag) {
  Currency sum;
  const std::string open = "<" + tag + ">";
  for (std::size_t at = block.find(open); at != std::string::npos; at = block.find(open, at + 1)) {
    const std::size_t start = at + open.size();
    sum += *ParseDecimalCurrency(block.substr(start, block.find('<', start) - start));
  }
  return sum;
}

void InsertSale(TestDatabase& db, DocumentRow row, double line_total, std::int64_t iva = 0) {
  Insert(db, row);
  Insert(db, SaleLine{.doc = row.doc, .numero = row.numero, .iva = iva, .total = line_total});
}

TEST(SalesInvoices, EmptyPeriodWritesTheTotalsOnly) {
  TestDatabase db;
  SetVersion(db, 2016);
  const ExportResult run = RunExport(db, DefaultRequest());
  EXPECT_EQ(run.Block("<SalesInvoices>", "</SalesInvoices>"),
            "    <SalesInvoices>\n"
            "      <NumberOfEntries>0</NumberOfEntries>\n"
            "      <TotalDebit>0</TotalDebit>\n"
            "      <TotalCredit>0</TotalCredit>\n"
            "    </SalesInvoices>\n");
  const auto statuses = run.observer.statuses();
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Exportados 0 de 0 registos..."), statuses.end());
}

TEST(SalesInvoices, ControlTotalsCoverTheListedDocumentsThatAreNotAnnulled) {
  TestDatabase db;
  SetVersion(db, 2016);
  Insert(db, DocumentRow{.doc = "TK", .numero = 1});
  Insert(db, SaleLine{.doc = "TK", .numero = 1, .iva = 23, .total = 12.30});   // credit 10
  Insert(db, SaleLine{.doc = "TK", .numero = 1, .iva = 23, .total = -2.46});   // debit 2 on a ticket
  Insert(db, SaleLine{.doc = "TK", .numero = 1, .codigo = -999, .iva = 0, .total = -1});  // withholding
  Insert(db, DocumentRow{.doc = "NC", .numero = 1});
  Insert(db, SaleLine{.doc = "NC", .numero = 1, .iva = 23, .total = 4.92});    // credit 4 on a credit note
  Insert(db, SaleLine{.doc = "NC", .numero = 1, .iva = 23, .total = -6.15});   // debit 5
  InsertSale(db, {.doc = "FS", .numero = 1}, 12.3456);                          // four decimals kept
  InsertSale(db, {.doc = "FA", .numero = 1, .anulado = 1}, 100);                // listed, not totalled
  InsertSale(db, {.doc = "VD", .numero = 1, .pagamento = std::nullopt}, 50);    // neither
  InsertSale(db, {.doc = "VD", .numero = 2, .pagamento = 6}, 70);               // neither
  InsertSale(db, {.doc = "CM", .numero = 1}, 30);                               // a working document
  InsertSale(db, {.doc = "TK", .numero = 2, .data = "2016-02-01 00:00:00"}, 40);  // after the period

  const ExportResult run = RunExport(db, DefaultRequest());
  const std::string section = run.Block("<SalesInvoices>", "</SalesInvoices>");
  EXPECT_EQ(Field(section, "NumberOfEntries"), "4");
  EXPECT_EQ(Field(section, "TotalDebit"), "7");
  EXPECT_EQ(Field(section, "TotalCredit"), "26.3456");
  std::vector<std::string> written;
  for (const auto& invoice : Invoices(run)) {
    written.push_back(Field(invoice, "InvoiceNo") + " " + Field(invoice, "InvoiceStatus"));
  }
  EXPECT_EQ(written, (std::vector<std::string>{"FA ?/1 A", "FS ?/1 N", "NC ?/1 N", "TV ?/1 N"}));
}

TEST(SalesInvoices, ADocumentWhoseAnnulledFlagIsNullCountsAsNotAnnulled) {
  // Written with status "N", so its lines belong in the totals as well.
  TestDatabase db;
  SetVersion(db, 2016);
  Insert(db, DocumentRow{.doc = "FS", .numero = 1, .total = 12.30});
  Insert(db, SaleLine{.doc = "FS", .numero = 1, .iva = 23, .total = 12.30});
  db.Exec("UPDATE documentos SET anulado = NULL");
  const ExportResult run = RunExport(db, DefaultRequest());
  const std::string section = run.Block("<SalesInvoices>", "</SalesInvoices>");
  EXPECT_EQ(Field(section, "TotalCredit"), "10");
  EXPECT_EQ(Field(section, "InvoiceStatus"), "N");
}

TEST(SalesInvoices, ControlTotalsAgreeWithTheInvoicesWritten) {
  TestDatabase db;
  SetVersion(db, 2016);
  const char* codes[] = {"TK", "VD", "FA", "FS", "FT", "NC", "CM"};
  const double totals[] = {12.30, -2.46, 0, 7.5, -1.25, 3.69, 100};
  const std::int64_t rates[] = {23, 23, 0, 25, 25, 23, 0};
  unsigned seed = 7;
  auto next = [&seed](unsigned range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  db.Exec("BEGIN");
  for (int numero = 1; numero <= 60; ++numero) {
    DocumentRow row{.doc = codes[next(7)], .numero = numero, .anulado = next(5) == 0 ? 1 : 0};
    const unsigned payment = next(8);
    row.pagamento = payment == 0 ? std::nullopt : std::optional<int>(payment == 1 ? 6 : 1);
    Insert(db, row);
    for (unsigned line = next(4); line > 0; --line) {
      const unsigned pick = next(7);
      Insert(db, SaleLine{.doc = row.doc, .numero = numero, .codigo = next(6) == 0 ? -999 : 100,
                          .iva = rates[pick], .total = totals[pick]});
    }
  }
  db.Exec("COMMIT");
  const ExportResult run = RunExport(db, DefaultRequest());
  const std::string section = run.Block("<SalesInvoices>", "</SalesInvoices>");
  Currency debit;
  Currency credit;
  const auto invoices = Invoices(run);
  for (const auto& invoice : invoices) {
    if (Field(invoice, "InvoiceStatus") == "A") continue;
    debit += SumOf(invoice, "DebitAmount");
    credit += SumOf(invoice, "CreditAmount");
  }
  EXPECT_EQ(Field(section, "NumberOfEntries"), std::to_string(invoices.size()));
  EXPECT_EQ(Field(section, "TotalDebit"), CurrText(debit));
  EXPECT_EQ(Field(section, "TotalCredit"), CurrText(credit));
  EXPECT_GT(invoices.size(), 20u);
  EXPECT_NE(debit, Currency());
}

// Every code and series case of the number rule, with the Hash lines the
// signature rule gives each document.
TEST(SalesInvoices, NumbersTypesAndSignaturesByGenerationAndSeries) {
  TestDatabase db;
  Insert(db, DocumentRow{.doc = "TK", .numero = 15, .hash = "h15", .hashcontrol = "1"});
  Insert(db, DocumentRow{.doc = "FA", .numero = 7, .hash = "h7", .hashcontrol = "1", .saftsign = "FA X/9"});
  Insert(db, DocumentRow{.doc = "FA   ", .numero = 8});  // trailing blanks in doc
  Insert(db, DocumentRow{.doc = "FS", .numero = 101, .hash = "h101", .saftsign = "FS C/101"});
  Insert(db, DocumentRow{.doc = "FS", .numero = 102, .hash = "h102", .hashcontrol = "2", .saftsign = "FS /102"});
  Insert(db, DocumentRow{.doc = "FT", .numero = 12, .hash = "  ", .hashcontrol = "1", .saftsign = "FT A/12"});
  Insert(db, DocumentRow{.doc = "FT", .numero = 13, .hash = "h13", .hashcontrol = "0", .saftsign = "FT13"});
  Insert(db, DocumentRow{.doc = "FT", .numero = 14, .hash = "h14", .hashcontrol = "x", .saftsign = "/14"});
  Insert(db, DocumentRow{.doc = "NC", .numero = 4});
  Insert(db, DocumentRow{.doc = "VD", .numero = 3, .hash = "h3", .saftsign = "VD B/3"});

  auto summary = [&db](std::int64_t major, int series) {
    SetVersion(db, major);
    ExportRequest request = DefaultRequest();
    request.fserienum = SeriesIndex(series);
    std::vector<std::string> result;
    for (const auto& invoice : Invoices(RunExport(db, request))) {
      std::string text = Field(invoice, "InvoiceNo") + " " + Field(invoice, "InvoiceType") + " " +
                         Field(invoice, "Hash");
      if (invoice.find("<HashControl>") != std::string::npos) text += " " + Field(invoice, "HashControl");
      result.push_back(text);
    }
    return result;
  };
  using Texts = std::vector<std::string>;
  EXPECT_EQ(summary(2016, 0), (Texts{"FA X/9 FT h7 1", "FA ?/8 FT 0", "FS C/101 FS h101", "FS ?/102 FS h102 2",
                                     "FT A/12 FT 0 1", "FT ?/13 FT h13", "FT ?/14 FT h14", "NC ?/4 NC 0",
                                     "TV ?/15 TV h15 1", "VD B/3 VD h3"}));
  // A lettered series: unsigned documents lose their stored signature.
  EXPECT_EQ(summary(2016, 26), (Texts{"FA X/9 FT h7 1", "FA Z/8 FT 0", "FS C/101 FS h101", "FS Z/102 FS h102 2",
                                      "FT A/12 FT 0 1", "FT Z/13 FT h13", "FT Z/14 FT h14", "NC Z/4 NC 0",
                                      "TV Z/15 TV 0", "VD B/3 VD h3"}));
  EXPECT_EQ(summary(2016, 2)[8], "TV B/15 TV 0");
  EXPECT_EQ(summary(2016, -1)[8], "TV ?/15 TV h15 1");  // nothing selected: as without a series
  // Legacy: no FS or FT, no stored signature or signed number.
  EXPECT_EQ(summary(2010, 0), (Texts{"FA ?/7 FT 0", "FA ?/8 FT 0", "NC ?/4 NC 0", "TV ?/15 TV 0", "VD ?/3 VD 0"}));
}

TEST(SalesInvoices, HeaderElements) {
  TestDatabase db;
  SetVersion(db, 2016);
  Insert(db, DocumentRow{.doc = "FA", .numero = 7, .data = "2016-01-05 00:00:00", .datahora = "2016-01-06 09:05:00",
                         .cliente = 25, .anulado = 1, .hash = "abc", .hashcontrol = "1", .saftsign = "FA A/7",
                         .emp = "A&B", .cash_vat = 1});
  Insert(db, DocumentRow{.doc = "FA", .numero = 8, .cliente = 1});
  Insert(db, DocumentRow{.doc = "VD", .numero = 9, .cliente = -4, .cash_vat = 3});
  const ExportResult run = RunExport(db, DefaultRequest());
  const auto invoices = Invoices(run);
  ASSERT_EQ(invoices.size(), 3u);
  EXPECT_EQ(invoices[0].substr(0, invoices[0].find("        <Line>")),
            "      <Invoice>\n"
            "        <InvoiceNo>FA A/7</InvoiceNo>\n"
            "        <DocumentStatus>\n"
            "          <InvoiceStatus>A</InvoiceStatus>\n"
            "          <InvoiceStatusDate>2016-01-06T09:05:00</InvoiceStatusDate>\n"
            "          <SourceID>A&amp;B</SourceID>\n"
            "          <SourceBilling>P</SourceBilling>\n"
            "        </DocumentStatus>\n"
            "        <Hash>abc</Hash>\n"
            "        <HashControl>1</HashControl>\n"
            "        <Period>1</Period>\n"
            "        <InvoiceDate>2016-01-05</InvoiceDate>\n"
            "        <InvoiceType>FT</InvoiceType>\n"
            "        <SpecialRegimes>\n"
            "          <SelfBillingIndicator>0</SelfBillingIndicator>\n"
            "          <CashVATSchemeIndicator>1</CashVATSchemeIndicator>\n"
            "          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>\n"
            "        </SpecialRegimes>\n"
            "        <SourceID>A&amp;B</SourceID>\n"
            "        <SystemEntryDate>2016-01-06T09:05:00</SystemEntryDate>\n"
            "        <CustomerID>25</CustomerID>\n");
  EXPECT_EQ(Field(invoices[1], "CustomerID"), "1");
  EXPECT_EQ(Field(invoices[2], "CustomerID"), "1");
  EXPECT_EQ(Field(invoices[2], "CashVATSchemeIndicator"), "3");
}

// 120 tickets without lines, inserted in one statement.
void InsertTickets(TestDatabase& db, int count) {
  db.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(count) +
          ") INSERT INTO documentos (doc, numero, data, datahora, total, anulado, pagamento, emp)"
          " SELECT 'TK', i, '2016-01-10 00:00:00', '2016-01-10 10:00:00', 0, 0, 1, '1' FROM n");
}

TEST(SalesInvoices, ProgressEveryFiftyDocuments) {
  TestDatabase db;
  SetVersion(db, 2016);
  InsertTickets(db, 120);
  const ExportResult run = RunExport(db, DefaultRequest());
  EXPECT_EQ(run.outcome, RunOutcome::Completed);
  const auto calls = run.observer.export_calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "progressStart: 2"), calls.end());
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "progressStep"), 2);
  const auto statuses = run.observer.export_statuses();
  auto at = std::find(statuses.begin(), statuses.end(), "Abertura de tabelas de vendas");
  for (const char* expected : {"Exportados 0 de 120 registos...", "Exportados 50 de 120 registos...",
                               "Exportados 100 de 120 registos..."}) {
    ASSERT_NE(at, statuses.end());
    EXPECT_EQ(*++at, expected);
  }
  EXPECT_EQ(statuses.back(), "Exportados 120 de 120 registos. Exportação efectuada");
  EXPECT_EQ(Invoices(run).size(), 120u);
}

TEST(SalesInvoices, AbortAtAProgressStepClosesTheSection) {
  TestDatabase db;
  SetVersion(db, 2016);
  InsertTickets(db, 120);
  const ExportResult run = RunExport(db, DefaultRequest(), [](RecordingObserver& observer) {
    observer.abort_on_status = "Exportados 50 de 120 registos...";
  });
  EXPECT_EQ(run.outcome, RunOutcome::Aborted);
  EXPECT_EQ(run.observer.status, "Operação abortada!");
  const auto invoices = Invoices(run);
  ASSERT_EQ(invoices.size(), 50u);
  EXPECT_EQ(Field(invoices.back(), "InvoiceNo"), "TV ?/50");
  const std::string after = run.text.substr(run.text.rfind("      </Invoice>\r\n") + 18);
  EXPECT_EQ(after.substr(0, 22), "    </SalesInvoices>\r\n");
  const std::string working = run.Block("<WorkingDocuments>", "</WorkingDocuments>");
  EXPECT_FALSE(working.empty());
  EXPECT_EQ(working.find("<WorkDocument>"), std::string::npos);
  EXPECT_EQ(run.text.substr(run.text.size() - 36), "  </SourceDocuments>\r\n</AuditFile>\r\n");
}

// "Abortar" reaching the run while the line query of the second document
// runs: with lines the file ends after its header; without lines after its
// placeholder totals. The closing lines follow without "</Invoice>".
TEST(SalesInvoices, AbortInsideADocumentEndsAfterTheLastCompleteElement) {
  for (const bool with_lines : {true, false}) {
    TestDatabase db;
    SetVersion(db, 2016);
    InsertSale(db, {.doc = "TK", .numero = 1}, 5);
    Insert(db, DocumentRow{.doc = "TK", .numero = 2});
    if (with_lines) Insert(db, SaleLine{.doc = "TK", .numero = 2, .iva = 0, .total = 5});
    HookedDatabase hooked;
    int line_queries = 0;
    const ExportResult run =
        RunExportWith(hooked.database, db.folder(), DefaultRequest(), [&](RecordingObserver& observer) {
          hooked.on_run = [&line_queries, export_run = observer.run](const std::string& name) {
            if (name == "q_ven" && ++line_queries == 2) export_run->requestAbort();
          };
        });
    EXPECT_EQ(run.outcome, RunOutcome::Aborted);
    EXPECT_EQ(Invoices(run).size(), 1u);
    const std::string last_element = with_lines ? "        <CustomerID>1</CustomerID>\r\n"
                                                : "        </DocumentTotals>\r\n";
    EXPECT_EQ(run.text.substr(run.text.size() - last_element.size() - 44),
              last_element + "      </SourceDocuments>\r\n    </AuditFile>\r\n")
        << with_lines;
  }
}

TEST(SalesInvoices, MarkupInStoredTextsLeavesAWellFormedFile) {
  TestDatabase db;
  SetVersion(db, 2016);
  db.Exec("INSERT INTO unidades (codigo, descricao) VALUES (1, 'kg<&>')");
  db.Exec("INSERT INTO produtos (codigo, descricao, unidade, isencao) VALUES (100, 'x', 1, 'M1')");
  db.Exec("INSERT INTO motivos_isencao (codigo, norma) VALUES ('M1', 'Art. 9\" <b>&')");
  Insert(db, DocumentRow{.doc = "FT", .numero = 3, .cliente = 2, .hash = "<!--x", .hashcontrol = "1",
                         .saftsign = "FT A&B/3", .emp = "<1>"});
  Insert(db, SaleLine{.doc = "FT", .numero = 3, .descricao = "Caf\xC3\xA9 & 'bolo'", .iva = 0, .total = 2});
  const ExportResult run = RunExport(db, DefaultRequest());
  const std::string invoice = Invoices(run).at(0);
  EXPECT_EQ(Field(invoice, "InvoiceNo"), "FT A&amp;B/3");
  EXPECT_EQ(Field(invoice, "Hash"), "&lt;!--x");
  EXPECT_EQ(Field(invoice, "UnitOfMeasure"), "kg&lt;&amp;&gt;");
  EXPECT_EQ(Field(invoice, "TaxExemptionReason"), "Art. 9&quot; &lt;b&gt;&amp;");
  EXPECT_EQ(XmlLintErrors(db.folder() / "out.xml", false), "");
}

}  // namespace
}  // namespace varnel::testing
