// The whole audit file against the tax authority's schema: a demo period is
// generated, exported through the real run in both types and both versions,
// and validated with xmllint against the version's schema. The schema's key
// references check that every CustomerID and ProductCode used in documents is
// listed in MasterFiles and that document numbers are unique; the Resumido
// type lists product 0 and exactly the products the period sold.
#include <gtest/gtest.h>

#include "base/value_routines.h"
#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"

namespace varnel {
namespace {

class DemoExportSchema : public ::testing::TestWithParam<std::uint64_t> {};

std::size_t CountRows(PosDatabase& connection, const std::string& sql) {
  PosQuery count(connection, "count", "SELECT COUNT(*) AS n FROM (" + sql + ")");
  count.Open();
  return static_cast<std::size_t>(count.AsInteger("n"));
}

std::size_t CountLines(const testing::ExportResult& result, const std::string& line) {
  std::size_t n = 0;
  for (const auto& l : result.lines()) n += TrimBlanks(l) == line;
  return n;
}

// Every document of the period that the file should list.
void ExpectNothingLost(PosDatabase& connection, const testing::ExportResult& result) {
  const std::string period = "FROM documentos WHERE data >= '2016-01-01 00:00:00' AND data <= '2016-01-31 00:00:00' ";
  EXPECT_EQ(CountLines(result, "<Invoice>"),
            CountRows(connection,
                      "SELECT numero " + period + "AND doc IN ('TK','VD','FA','NC','FS','FT') AND pagamento <> 6"));
  EXPECT_EQ(CountLines(result, "<WorkDocument>"),
            CountRows(connection, "SELECT numero " + period + "AND doc = 'CM' AND pagamento <> 6"));
  EXPECT_EQ(CountLines(result, "<Payment>"), CountRows(connection, "SELECT numero " + period + "AND doc = 'RC'"));
  EXPECT_GT(CountLines(result, "<Payment>"), 0u);
}

// Product 0 and one Product per code the period sold, no other.
void ExpectTheProductsSold(PosDatabase& connection, const testing::ExportResult& result) {
  std::vector<std::string> listed;
  for (const auto& line : result.lines()) {
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.starts_with("<ProductCode>") && line.starts_with("      <")) listed.push_back(trimmed);
  }
  PosQuery sold(connection, "sold",
                "SELECT DISTINCT codigo FROM vendas WHERE codigo > 0 AND data >= '2016-01-01 00:00:00' "
                "AND data <= '2016-01-31 00:00:00' ORDER BY codigo");
  std::vector<std::string> expected{"<ProductCode>0</ProductCode>"};
  for (sold.Open(); !sold.Eof(); sold.Next()) {
    expected.push_back("<ProductCode>" + sold.AsText("codigo") + "</ProductCode>");
  }
  EXPECT_EQ(listed, expected);
}

TEST_P(DemoExportSchema, NormalAndSummarizedFilesValidate) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period.first_day = demo::DayNumber({2016, 1, 1});
  options.period.last_day = demo::DayNumber({2016, 1, 31});
  options.documents = 600;
  options.seed = GetParam();
  const demo::DemoDatabaseSummary summary = demo::WriteDemoWorkingDirectory(dir.path(), options);

  const struct {
    SaftVersion version;
    const char* schema;
  } versions[] = {{SaftVersion::k1_03_01, "third_party/reference/saftpt1.03_01.xsd"},
                  {SaftVersion::k1_04_01, "third_party/reference/saftpt1.04_01-2022-05-17-libxml.xsd"}};
  for (const auto& [version, schema] : versions) {
    for (const int type : {0, 1}) {
      SCOPED_TRACE(std::string(schema) + ", SAF-T type " + std::to_string(type));
      ExportRequest request = testing::DefaultRequest();
      request.saftType = SaftTypeOfIndex(type);
      request.saftVersion = version;
      request.fserienum = SeriesIndex(1);
      PosDatabase connection;
      const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
      ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.observer.calls.back();
      EXPECT_EQ(testing::XmlLintErrorsAgainst(dir / "out.xml", schema), "");
      ExpectNothingLost(connection, result);
      if (type == 1) ExpectTheProductsSold(connection, result);
    }
  }
  EXPECT_GT(summary.documents, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoExportSchema, ::testing::Values(2016u, 7u));

}  // namespace
}  // namespace varnel
