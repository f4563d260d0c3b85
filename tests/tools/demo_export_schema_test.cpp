// The whole audit file against the tax authority's schema: a demo period is
// generated, exported through the real run and validated with xmllint (the
// Normal type against the schema, the summarized one for well-formedness). The schema's key references check that every CustomerID and
// ProductCode used in documents is listed in MasterFiles and that document
// numbers are unique.
#include <gtest/gtest.h>

#include "base/value_routines.h"
#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"

namespace varnel {
namespace {

class DemoExportSchema : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(DemoExportSchema, NormalAndSummarizedFilesValidate) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period.first_day = demo::DayNumber({2016, 1, 1});
  options.period.last_day = demo::DayNumber({2016, 1, 31});
  options.documents = 600;
  options.seed = GetParam();
  const demo::DemoDatabaseSummary summary = demo::WriteDemoWorkingDirectory(dir.path(), options);

  for (const int type : {0, 1}) {
    ExportRequest request = testing::DefaultRequest();
    request.saftType = type;
    request.fserienum = SeriesIndex(1);
    PosDatabase connection;
    const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.observer.calls.back();
    // The summarized type lists no products, so only the Normal file can
    // satisfy the schema's product references; the other must be well-formed.
    const std::string errors = testing::XmlLintErrors(dir / "out.xml", type == 0);
    EXPECT_EQ(errors, "") << "SAF-T type " << type;

    // Nothing lost: every document of the period that the file should list.
    const auto count_rows = [&connection](const std::string& condition) {
      PosQuery count(connection, "count",
                     "SELECT COUNT(*) AS n FROM documentos WHERE data >= '2016-01-01 00:00:00' "
                     "AND data <= '2016-01-31 00:00:00' AND " + condition);
      count.Open();
      return static_cast<std::size_t>(count.AsInteger("n"));
    };
    const auto count_lines = [&result](const std::string& line) {
      std::size_t n = 0;
      for (const auto& l : result.lines()) n += TrimBlanks(l) == line;
      return n;
    };
    EXPECT_EQ(count_lines("<Invoice>"), count_rows("doc IN ('TK','VD','FA','NC','FS','FT') AND pagamento <> 6"));
    EXPECT_EQ(count_lines("<WorkDocument>"), count_rows("doc = 'CM' AND pagamento <> 6"));
    EXPECT_EQ(count_lines("<Payment>"), count_rows("doc = 'RC'"));
    EXPECT_GT(count_lines("<Payment>"), 0u);
  }
  EXPECT_GT(summary.documents, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoExportSchema, ::testing::Values(2016u, 7u));

}  // namespace
}  // namespace varnel
