// SAF-T (PT) 1.04_01 end to end: generated months exported through the real
// run as 1.04_01, checked by xmllint against the 1.04_01 schema and by the
// verifier; the ATCUD rule of 2023 with and without validation codes; and
// the verifier's own 1.04_01 rules on an exported file broken one way at a
// time (ATCUD form, exemption reason and code, payment Tax, retired types).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/atcud_codes.h"
#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"
#include "verify/audit_file_verifier.h"

namespace varnel {
namespace {

constexpr const char* kSchema104 = "third_party/reference/saftpt1.04_01-2022-05-17-libxml.xsd";

struct Month {
  int year;
  int month;
  int last_day;
};

// A generated month in dir, exported as 1.04_01 with the codes its
// Varnel.ini holds; returns the run's result (the file is dir/out.xml).
testing::ExportResult Export104(const testing::TempDir& dir, Month month, int documents, int type = 0) {
  demo::DemoDatabaseOptions options;
  options.period.first_day = demo::DayNumber({month.year, month.month, 1});
  options.period.last_day = demo::DayNumber({month.year, month.month, month.last_day});
  options.documents = documents;
  options.seed = 2016;
  options.atcud_codes = true;
  demo::WriteDemoWorkingDirectory(dir.path(), options);
  ExportRequest request = testing::DefaultRequest();
  request.datai = DateTime::FromDate(month.year, month.month, 1);
  request.dataf = DateTime::FromDate(month.year, month.month, month.last_day);
  request.saftType = SaftTypeOfIndex(type);
  request.fserienum = SeriesIndex(1);
  request.saftVersion = SaftVersion::k1_04_01;
  request.atcudCodes = AtcudCodes(dir.path()).Load();
  PosDatabase connection;
  return testing::RunExportWith(connection, dir.path(), request);
}

std::vector<std::string> Errors(const VerificationReport& report) {
  std::vector<std::string> errors;
  for (const Finding& f : report.findings) {
    if (f.severity == FindingSeverity::Error) errors.push_back("[" + f.section + "] " + f.document + ": " + f.message);
  }
  return errors;
}

bool HasFinding(const VerificationReport& report, FindingSeverity severity, const std::string& part) {
  for (const Finding& f : report.findings) {
    if (f.severity == severity && f.message.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(Saft104Export, GeneratedMonthsValidateAndVerifyClean) {
  for (const Month month : {Month{2017, 7, 31}, Month{2024, 2, 29}}) {
    for (const int type : {0, 1}) {
      testing::TempDir dir;
      const testing::ExportResult result = Export104(dir, month, 1200, type);
      ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.observer.calls.back();
      EXPECT_TRUE(result.HasLine("<AuditFileVersion>1.04_01</AuditFileVersion>"));
      EXPECT_NE(result.text.find("xmlns=\"urn:OECD:StandardAuditFile-Tax:PT_1.04_01\""), std::string::npos);
      EXPECT_TRUE(result.HasLine("<WorkType>CM</WorkType>"));
      EXPECT_FALSE(result.HasLine("<WorkType>DC</WorkType>"));
      EXPECT_TRUE(result.HasLine("<ATCUD>DEMOFTA01-1</ATCUD>"));
      EXPECT_TRUE(result.HasLine("<TaxExemptionCode>M07</TaxExemptionCode>"));
      // The demo's receipts are outside the cash VAT scheme (RG): no Tax on
      // their lines, no TaxPayable in their totals.
      const std::string payments = result.Block("<Payments>", "</Payments>");
      ASSERT_NE(payments.find("<PaymentType>RG</PaymentType>"), std::string::npos);
      EXPECT_EQ(payments.find("<Tax>"), std::string::npos);
      EXPECT_EQ(payments.find("<TaxExemptionReason>"), std::string::npos);
      EXPECT_NE(payments.find("<TaxPayable>0</TaxPayable>"), std::string::npos);
      // The Resumido type lists no products, so only Normal meets the
      // schema's product references.
      if (type == 0) {
        EXPECT_EQ(testing::XmlLintErrorsAgainst(dir / "out.xml", kSchema104), "");
      }

      VerificationOptions verification;
      verification.summarized_type_expected = type == 1;
      const VerificationReport report = VerifyAuditFile(dir / "out.xml", verification);
      EXPECT_TRUE(report.completed);
      EXPECT_EQ(Errors(report), std::vector<std::string>{}) << month.year << " type " << type;
      EXPECT_EQ(result.observer.verification_errors(), std::vector<std::string>{});
      // A present-day point of sale issues simplified invoices, no type retired in 2013.
      EXPECT_FALSE(HasFinding(report, FindingSeverity::Warning, "com data posterior a 2012-12-31"));
    }
  }
}

TEST(Saft104Export, From2023EveryDocumentNeedsItsSeriesCode) {
  testing::TempDir dir;
  {
    // Without codes: ATCUD "0" everywhere, reported per series from 2023.
    testing::TempDir bare;
    ASSERT_EQ(Export104(bare, {2023, 1, 31}, 400).outcome, RunOutcome::Completed);
    AtcudCodes(bare.path()).Save({});
    const testing::ExportResult result = [&] {
      ExportRequest request = testing::DefaultRequest();
      request.datai = DateTime::FromDate(2023, 1, 1);
      request.dataf = DateTime::FromDate(2023, 1, 31);
      request.fserienum = SeriesIndex(1);
      request.saftVersion = SaftVersion::k1_04_01;
      PosDatabase connection;
      return testing::RunExportWith(connection, bare.path(), request);
    }();
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.HasLine("<ATCUD>0</ATCUD>"));
    EXPECT_EQ(testing::XmlLintErrorsAgainst(bare / "out.xml", kSchema104), "");
    const VerificationReport report = VerifyAuditFile(bare / "out.xml", VerificationOptions{});
    for (const char* series : {"FT A", "FS A", "NC A", "CM A", "RC A"}) {
      EXPECT_TRUE(HasFinding(report, FindingSeverity::Error,
                             std::string("Configure o código de validação da série ") + series +
                                 " (Varnel.ini, secção [ATCUD], chave \"" + series + "\")"))
          << series;
    }
  }
  // With the codes of the demo's Varnel.ini: clean.
  ASSERT_EQ(Export104(dir, {2023, 1, 31}, 400).outcome, RunOutcome::Completed);
  EXPECT_EQ(Errors(VerifyAuditFile(dir / "out.xml", VerificationOptions{})), std::vector<std::string>{});
}

// One exported 1.04_01 file, broken one way per case.
TEST(Saft104Verifier, ChecksWhatTheSchemaCopyCannot) {
  testing::TempDir dir;
  ASSERT_EQ(Export104(dir, {2023, 3, 31}, 300).outcome, RunOutcome::Completed);
  const std::string original = testing::ReadFileBytes(dir / "out.xml");
  struct Case {
    const char* from;  // replaced at its first occurrence
    const char* to;
    FindingSeverity severity;
    const char* expected;
  };
  const Case cases[] = {
      {"<ATCUD>DEMOFTA01-2</ATCUD>", "<ATCUD>DEMOFTA01-3</ATCUD>", FindingSeverity::Error,
       "o número 3 difere do número do documento 2"},
      {"<ATCUD>DEMOFTA01-2</ATCUD>", "<ATCUD>OTHERCODE-2</ATCUD>", FindingSeverity::Error,
       "a série FT A já usou o código de validação DEMOFTA01"},
      {"<ATCUD>DEMOFTA01-2</ATCUD>", "<ATCUD>DEMO-2</ATCUD>", FindingSeverity::Error,
       "não tem a forma \"código de validação-número\""},
      {"<ATCUD>DEMOFTA01-2</ATCUD>", "<ATCUD>0</ATCUD>", FindingSeverity::Error, "1 documento da série FT A"},
      {"<TaxExemptionCode>M07</TaxExemptionCode>", "", FindingSeverity::Error,
       "sem TaxExemptionCode: associe essa norma a um código M.. (Varnel.ini, secção [Isencoes]"},
      {"            <TaxPercentage>23</TaxPercentage>\r\n          </Tax>\r\n",  // a line's, not the table's
       "            <TaxPercentage>23</TaxPercentage>\r\n          </Tax>\r\n"
       "          <TaxExemptionReason>Artigo 9 do CIVA</TaxExemptionReason>\r\n"
       "          <TaxExemptionCode>M07</TaxExemptionCode>\r\n",
       FindingSeverity::Error, "a isenção só cabe às linhas de taxa 0"},
      {"<PaymentType>RG</PaymentType>", "<PaymentType>RC</PaymentType>", FindingSeverity::Error,
       "Recibo RC (regime de IVA de caixa) com"},
      {"<WorkType>CM</WorkType>", "<WorkType>DC</WorkType>", FindingSeverity::Warning,
       "1 documento do tipo DC com data posterior a 2017-06-30"},
  };
  for (const Case& c : cases) {
    std::string broken = original;
    const std::size_t at = broken.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    broken.replace(at, std::string_view(c.from).size(), c.to);
    testing::WriteFileBytes(dir / "broken.xml", broken);
    const VerificationReport report = VerifyAuditFile(dir / "broken.xml", VerificationOptions{});
    EXPECT_TRUE(HasFinding(report, c.severity, c.expected)) << c.from << " -> " << c.to;
  }
}

}  // namespace
}  // namespace varnel
