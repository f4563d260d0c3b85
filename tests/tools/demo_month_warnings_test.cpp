// The demo month as a newcomer first exports it (November 2026, 300
// documents, seed 2016, 1.04_01 with the demo's validation codes): its
// verification finds no error and no warning that the generator's own data
// causes. The one warning left comes from the point-of-sale database itself:
// it keeps no link from a credit note to the invoice it corrects, so the
// exporter can write no References on a credit note, which 1.04_01 asks for.
// (A sale's references to its table consultations, "CM /57" without the
// series letter, are only a note.) The same month written with the tickets
// of before 2013 is warned about the retired ticket type.
#include <gtest/gtest.h>

#include "settings/atcud_codes.h"
#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"

namespace varnel {
namespace {

std::vector<std::string> Warnings(bool legacy_tickets) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period = {demo::DayNumber({2026, 11, 1}), demo::DayNumber({2026, 11, 30})};
  options.documents = 300;
  options.seed = 2016;
  options.atcud_codes = true;
  options.legacy_tickets = legacy_tickets;
  demo::WriteDemoWorkingDirectory(dir.path(), options);
  ExportRequest request = testing::DefaultRequest();
  request.datai = DateTime::FromDate(2026, 11, 1);
  request.dataf = DateTime::FromDate(2026, 11, 30);
  request.fserienum = SeriesIndex(1);
  request.saftVersion = SaftVersion::k1_04_01;
  request.atcudCodes = AtcudCodes(dir.path()).Load();
  PosDatabase connection;
  const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
  EXPECT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_TRUE(result.observer.verification.has_value());
  std::vector<std::string> warnings;
  if (!result.observer.verification) return warnings;
  EXPECT_EQ(result.observer.verification->errors(), 0);
  for (const Finding& finding : result.observer.verification->findings) {
    if (finding.severity == FindingSeverity::Warning) warnings.push_back(finding.message);
  }
  return warnings;
}

TEST(DemoMonth, VerifiesWithoutWarningsOfItsOwnMaking) {
  for (const std::string& warning : Warnings(false)) {
    EXPECT_NE(warning.find("sem References em nenhuma linha"), std::string::npos) << warning;
  }
  bool retired = false;
  for (const std::string& warning : Warnings(true)) retired |= warning.find("do tipo TV") != std::string::npos;
  EXPECT_TRUE(retired);
}

}  // namespace
}  // namespace varnel
