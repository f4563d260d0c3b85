// The verifier's findings as the headless exporter prints them: errors
// first, then warnings, then notes, each in the order found; the VAT summary
// with the file's four decimals and a total row. The JSON report keeps the
// order found and the file's own figures.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/verification_report.h"
#include "platform/open_file.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

std::string Printed(const VerificationReport& report) {
  testing::TempDir dir;
  std::FILE* stream = platform::OpenFile(dir / "report.txt", "w+b");
  EXPECT_NE(stream, nullptr);
  PrintVerification(stream, report);
  std::rewind(stream);
  std::string text;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, got);
  std::fclose(stream);
  return text;
}

TEST(VerificationPrinting, ErrorsFirstAndFourDecimals) {
  VerificationReport report;
  report.completed = true;
  report.findings = {{FindingSeverity::Note, "SalesInvoices", "", "Série FS A: 39 documentos"},
                     {FindingSeverity::Warning, "MasterFiles", "", "Aviso um"},
                     {FindingSeverity::Error, "SalesInvoices", "FT A/3", "Erro um"},
                     {FindingSeverity::Error, "Payments", "", "Erro dois"}};
  report.summary.vat = {{"PT", "ISE", "0.00", Currency::FromRaw(3829000), Currency(), Currency::FromRaw(3829000)},
                        {"PT", "NOR", "23.00", Currency::FromRaw(17197466), Currency::FromRaw(3955417),
                         Currency::FromRaw(21152883)}};
  const std::string text = Printed(report);
  const std::size_t first_error = text.find("ERRO SalesInvoices FT A/3: Erro um\n");
  const std::size_t second_error = text.find("ERRO Payments: Erro dois\n");
  const std::size_t warning = text.find("AVISO MasterFiles: Aviso um\n");
  const std::size_t note = text.find("NOTA SalesInvoices: Série FS A: 39 documentos\n");
  ASSERT_NE(note, std::string::npos) << text;
  EXPECT_LT(text.find("Verificação: 2 erros, 1 aviso, 1 nota\n"), first_error);
  EXPECT_LT(first_error, second_error);
  EXPECT_LT(second_error, warning);
  EXPECT_LT(warning, note);
  EXPECT_NE(text.find("  PT      ISE        0.00         382.9000         0.0000         382.9000\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("  Total                          2102.6466       395.5417        2498.1883\n"), std::string::npos)
      << text;

  const std::string json = VerificationJson(report);
  EXPECT_LT(json.find("Série FS A"), json.find("Erro um"));
  EXPECT_NE(json.find("\"taxable\": \"382.9\""), std::string::npos);
}

}  // namespace
}  // namespace varnel
