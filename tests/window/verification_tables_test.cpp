// The verifier's results as both windows show them: the findings errors
// first, then warnings, then notes (each kept in the order found), headed by
// their counts, with the first error selected; the VAT summary's amounts in
// euros with a total row; the documents per type with the annulled ones.
#include <gtest/gtest.h>

#include "window/verification_tables.h"

using namespace varnel;

TEST(VerificationTables, FindingsErrorsFirst) {
  VerificationReport report;
  report.findings = {{FindingSeverity::Note, "SalesInvoices", "", "Série FS A: 39 documentos"},
                     {FindingSeverity::Warning, "Ficheiro", "", "Aviso 1"},
                     {FindingSeverity::Error, "SalesInvoices", "FT A/3", "Falta o ATCUD"},
                     {FindingSeverity::Note, "Payments", "", "Série RC A"},
                     {FindingSeverity::Error, "Payments", "RC A/1", "Total errado"},
                     {FindingSeverity::Warning, "MasterFiles", "", "Aviso 2"}};

  const TextTable findings = FindingsTable(report);
  EXPECT_EQ(findings.headers, (std::vector<std::string>{"Gravidade", "Secção", "Documento", "Mensagem"}));
  ASSERT_EQ(findings.rows.size(), 6u);
  EXPECT_EQ(findings.rows[0], (std::vector<std::string>{"Erro", "SalesInvoices", "FT A/3", "Falta o ATCUD"}));
  EXPECT_EQ(findings.rows[1][3], "Total errado");
  EXPECT_EQ(findings.rows[2][3], "Aviso 1");
  EXPECT_EQ(findings.rows[3][3], "Aviso 2");
  EXPECT_EQ(findings.rows[4][3], "Série FS A: 39 documentos");
  EXPECT_EQ(findings.rows[5][3], "Série RC A");
  EXPECT_EQ(findings.selected_row, 0);
  EXPECT_EQ(SeverityCountsText(report), "2 erros, 2 avisos, 2 notas");

  // Without an error nothing is selected.
  report.findings.erase(report.findings.begin() + 4);
  report.findings.erase(report.findings.begin() + 2);
  EXPECT_EQ(FindingsTable(report).selected_row, -1);
  EXPECT_EQ(FindingsTable(report).rows[0][0], "Aviso");
  EXPECT_EQ(SeverityCountsText(report), "0 erros, 2 avisos, 2 notas");
  EXPECT_EQ(SeverityCountsText({}), "0 erros, 0 avisos, 0 notas");
}

TEST(VerificationTables, VatSummaryWithTotalAndDocumentCounts) {
  VerificationSummary summary;
  summary.vat = {{"PT", "NOR", "23.00", Currency::FromRaw(54678392), Currency::FromRaw(7108191),
                  Currency::FromRaw(61786583)},
                 {"PT-AC", "ISE", "0.00", Currency::FromRaw(-15000), Currency(), Currency::FromRaw(-15000)}};
  summary.documents_by_type = {{"FT", 30}, {"RC", 2}};
  summary.annulled_by_type = {{"FT", 1}, {"RC", 0}};

  const TextTable vat = VatSummaryTable(summary);
  EXPECT_EQ(vat.right_aligned_from, 2u);
  EXPECT_TRUE(vat.last_row_is_total);
  ASSERT_EQ(vat.rows.size(), 3u);
  const std::string nb = "\xC2\xA0";
  EXPECT_EQ(vat.rows[0], (std::vector<std::string>{"PT", "NOR", "23" + nb + "%", "5467,84" + nb + "€",
                                                   "710,82" + nb + "€", "6178,66" + nb + "€"}));
  EXPECT_EQ(vat.rows[1], (std::vector<std::string>{"PT-AC", "ISE", "0" + nb + "%", "-1,50" + nb + "€",
                                                   "0,00" + nb + "€", "-1,50" + nb + "€"}));
  // The total sums the exact amounts, then rounds once.
  EXPECT_EQ(vat.rows[2], (std::vector<std::string>{"Total", "", "", "5466,34" + nb + "€", "710,82" + nb + "€",
                                                   "6177,16" + nb + "€"}));
  EXPECT_TRUE(VatSummaryTable({}).rows.empty());
  EXPECT_FALSE(VatSummaryTable({}).last_row_is_total);

  EXPECT_EQ(DocumentCountsText(summary), "Documentos: FT 30 (1 anulados), RC 2");
  EXPECT_EQ(DocumentCountsText({}), "");
}
