// The verifier on the exporter's own files: a generated demo month exported
// through the real run, in both types, read back from disk. Nothing may be
// an error, the control totals included (they are made from the lines the
// exporter writes). Both types list the products their lines name, so
// neither gives a ProductCode note.
#include <gtest/gtest.h>

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
    request.saftType = type;
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

}  // namespace
}  // namespace varnel
