// The verifier on the exporter's own files: a generated demo month exported
// through the real run, in both types, read back from disk. Nothing may be
// an error, the control totals included (they are made from the lines the
// exporter writes). Both types list the products their lines name, so
// neither gives a ProductCode note.
#include <gtest/gtest.h>

#include "settings/atcud_codes.h"
#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"
#include "verify/audit_file_verifier.h"

namespace varnel {
namespace {

TEST(VerifyDemoExport, NormalAndSummarizedFilesVerify) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period.first_day = demo::DayNumber({2016, 1, 1});
  options.period.last_day = demo::DayNumber({2016, 1, 31});
  options.documents = 1500;
  options.seed = 2016;
  demo::WriteDemoWorkingDirectory(dir.path(), options);

  for (const int type : {0, 1}) {
    ExportRequest request = testing::DefaultRequest();
    request.saftType = SaftTypeOfIndex(type);
    request.fserienum = SeriesIndex(1);
    PosDatabase connection;
    const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.observer.calls.back();

    VerificationOptions verification;
    const VerificationReport report = VerifyAuditFile(dir / "out.xml", verification);
    EXPECT_TRUE(report.completed);
    int notes_for_products = 0;
    for (const Finding& f : report.findings) {
      // No error at all: the control totals, too, equal the lines.
      EXPECT_NE(f.severity, FindingSeverity::Error)
          << "type " << type << " [" << f.section << "] " << f.document << ": " << f.message;
      notes_for_products += f.message.find("referências ProductCode") != std::string::npos;
    }
    EXPECT_EQ(notes_for_products, 0);
    // The run's own verification, with the comparison with the database,
    // found nothing wrong either.
    EXPECT_EQ(result.observer.verification_errors(), std::vector<std::string>{});
    EXPECT_GT(report.summary.documents_by_type.at("FT"), 0);
    EXPECT_GT(report.summary.documents_by_type.at("NC"), 0);
    EXPECT_FALSE(report.summary.vat.empty());
  }
}

// Receipts on the debit side (refunds paid back on their own) in a Payments
// block, and receipts mixing both sides (an invoice settled with a credit note).
std::pair<int, int> DebitAndMixedReceipts(const std::string& payments) {
  int debit = 0;
  int mixed = 0;
  for (std::size_t at = payments.find("<Payment>"); at != std::string::npos;
       at = payments.find("<Payment>", at + 1)) {
    const std::string receipt = payments.substr(at, payments.find("</Payment>", at) - at);
    const bool debits = receipt.find("<DebitAmount>") != std::string::npos;
    const bool credits = receipt.find("<CreditAmount>") != std::string::npos;
    debit += debits && !credits;
    mixed += debits && credits;
  }
  return {debit, mixed};
}

// A generated month with refunds through receipts exports in both versions
// with no error from its own verification (the exit status 0 of
// varnel-export), its file in Windows-1252 with CR LF line ends throughout.
TEST(VerifyDemoExport, AMonthWithRefundsThroughReceiptsVerifiesWithoutErrors) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period.first_day = demo::DayNumber({2024, 3, 1});
  options.period.last_day = demo::DayNumber({2024, 3, 31});
  options.documents = 4000;
  options.seed = 7;
  options.atcud_codes = true;
  demo::WriteDemoWorkingDirectory(dir.path(), options);
  for (const SaftVersion version : {SaftVersion::k1_03_01, SaftVersion::k1_04_01}) {
    ExportRequest request = testing::DefaultRequest();
    request.datai = DateTime::FromDate(2024, 3, 1);
    request.dataf = DateTime::FromDate(2024, 3, 31);
    request.saftType = SaftType::Normal;
    request.fserienum = SeriesIndex(1);
    request.saftVersion = version;
    request.atcudCodes = AtcudCodes(dir.path()).Load();
    PosDatabase connection;
    const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.observer.calls.back();
    EXPECT_EQ(result.observer.verification_errors(), std::vector<std::string>{});
    const auto [debit, mixed] = DebitAndMixedReceipts(result.Block("<Payments>", "</Payments>"));
    EXPECT_GT(debit, 0);
    EXPECT_GT(mixed, 0);
    EXPECT_TRUE(result.bytes.starts_with("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n"));
    std::size_t bare_line_feeds = 0;
    for (std::size_t i = 0; i < result.bytes.size(); ++i) {
      bare_line_feeds += result.bytes[i] == '\n' && (i == 0 || result.bytes[i - 1] != '\r');
    }
    EXPECT_EQ(bare_line_feeds, 0u);
  }
}

}  // namespace
}  // namespace varnel
