// The verifier's results as both windows show them: the findings' rows with
// their severity in Portuguese, the VAT summary's amounts as the audit file
// writes them (the amount columns aligned right), the documents per type
// with the annulled ones.
#include <gtest/gtest.h>

#include "window/verification_tables.h"

using namespace varnel;

TEST(VerificationTables, FindingsVatAndDocumentCounts) {
  VerificationReport report;
  report.findings = {{FindingSeverity::Error, "SalesInvoices", "FT A/3", "Falta o ATCUD"},
                     {FindingSeverity::Warning, "Ficheiro", "", "Aviso"},
                     {FindingSeverity::Note, "MasterFiles", "", "Nota"}};
  report.summary.vat = {{"PT", "NOR", "23.00", Currency::FromRaw(1000000), Currency::FromRaw(230000),
                         Currency::FromRaw(1230000)},
                        {"PT-AC", "ISE", "0.00", Currency::FromRaw(-15000), Currency(), Currency::FromRaw(-15000)}};
  report.summary.documents_by_type = {{"FT", 30}, {"RC", 2}};
  report.summary.annulled_by_type = {{"FT", 1}, {"RC", 0}};

  const TextTable findings = FindingsTable(report);
  EXPECT_EQ(findings.headers, (std::vector<std::string>{"Gravidade", "Secção", "Documento", "Mensagem"}));
  ASSERT_EQ(findings.rows.size(), 3u);
  EXPECT_EQ(findings.rows[0], (std::vector<std::string>{"Erro", "SalesInvoices", "FT A/3", "Falta o ATCUD"}));
  EXPECT_EQ(findings.rows[1][0], "Aviso");
  EXPECT_EQ(findings.rows[2][0], "Nota");

  const TextTable vat = VatSummaryTable(report.summary);
  EXPECT_EQ(vat.right_aligned_from, 2u);
  ASSERT_EQ(vat.rows.size(), 2u);
  EXPECT_EQ(vat.rows[0], (std::vector<std::string>{"PT", "NOR", "23.00", "100", "23", "123"}));
  EXPECT_EQ(vat.rows[1], (std::vector<std::string>{"PT-AC", "ISE", "0.00", "-1.5", "0", "-1.5"}));

  EXPECT_EQ(DocumentCountsText(report.summary), "Documentos: FT 30 (1 anulados), RC 2");
  EXPECT_EQ(DocumentCountsText({}), "");
}
