// A generated month, exported through the real run with its verification and
// comparison with the database: every document, receipts settling part of an
// invoice included, is worth in the file exactly what the database says.
#include <gtest/gtest.h>

#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"

namespace varnel {
namespace {

std::vector<std::string> DatabaseFindings(const testing::ExportResult& result, FindingSeverity severity) {
  std::vector<std::string> found;
  for (const Finding& finding : result.observer.verification->findings) {
    if (finding.section == "Base de dados" && finding.severity == severity) {
      found.push_back(finding.document + ": " + finding.message);
    }
  }
  return found;
}

TEST(DemoReconciliation, EveryDocumentOfAGeneratedMonthIsWorthWhatTheDatabaseSays) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period.first_day = demo::DayNumber({2016, 1, 1});
  options.period.last_day = demo::DayNumber({2016, 1, 31});
  options.documents = 2000;
  options.seed = 7;
  demo::WriteDemoWorkingDirectory(dir.path(), options);

  for (const SaftVersion version : {SaftVersion::k1_03_01, SaftVersion::k1_04_01}) {
    ExportRequest request = testing::DefaultRequest();
    request.fserienum = SeriesIndex(1);
    request.saftVersion = version;
    PosDatabase connection;
    const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.observer.calls.back();
    ASSERT_TRUE(result.observer.verification);

    // The month holds receipts that settle part of an invoice.
    PosQuery partial(connection, "partial",
                     "SELECT COUNT(*) AS n FROM compensacoes c JOIN documentos d ON d.doc = 'FA' AND d.numero = c.FA "
                     "WHERE c.RC > 0 AND c.valor <> d.total");
    partial.Open();
    EXPECT_GT(partial.AsInteger("n"), 0);

    EXPECT_EQ(DatabaseFindings(result, FindingSeverity::Error), std::vector<std::string>{});
    const std::vector<std::string> notes = DatabaseFindings(result, FindingSeverity::Note);
    ASSERT_FALSE(notes.empty());
    EXPECT_TRUE(notes.back().starts_with(": Nada perdido: dos ")) << notes.back();
    EXPECT_TRUE(notes.back().ends_with(", e os valores de cada documento coincidem com a base de dados"))
        << notes.back();
  }
}

}  // namespace
}  // namespace varnel
